#pragma once

#include <QKeySequence>
#include <QString>

namespace pallstone {

// The first chord of a key sequence as each desktop writes a key it binds: GTK's accelerators
// (GNOME, Cinnamon and MATE settings), the XDG shortcuts specification's triggers (the desktop
// portal) and KDE's shortcuts (desktop entries). Empty for an empty sequence.
class KeyChord final
{
public:
    // "<Control><Alt>p", "<Super>space".
    static QString gtkAccelerator(const QKeySequence& keys);
    // "CTRL+ALT+p", "LOGO+space".
    static QString xdgTrigger(const QKeySequence& keys);
    // "Ctrl+Alt+P", "Meta+Space".
    static QString kdeShortcut(const QKeySequence& keys);

private:
    KeyChord() = delete;
};

} // namespace pallstone
