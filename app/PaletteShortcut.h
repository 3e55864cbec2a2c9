#pragma once

#include <QKeySequence>
#include <QString>

namespace pallstone {

// The key that opens the palette, registered with the desktop as a custom key binding in its own
// settings (GSettings): GNOME's media-keys custom bindings, Cinnamon's custom key bindings, MATE's
// key bindings. The desktop runs `pallstone-extension palette` when the key is pressed. Elsewhere
// nothing is registered, and the outcome says what to do by hand.
class PaletteShortcut final
{
public:
    enum class Desktop
    {
        Gnome,
        Cinnamon,
        Mate,
        Other,
    };

    struct Outcome
    {
        bool registered = false;
        Desktop desktop = Desktop::Other;
        // For the person: where the key was registered, or why not and what to do instead.
        QString message;
    };

    // Registers the key (replacing an earlier one of ours); an empty sequence removes it.
    static Outcome apply(const QKeySequence& keys);

    // The desktop of this session, by XDG_CURRENT_DESKTOP; one whose settings schema is missing
    // counts as Other.
    static Desktop desktop();
    // A key sequence (its first chord) as the desktops write it: "<Super>space".
    static QString accelerator(const QKeySequence& keys);
    // What the desktop runs.
    static QString command();

private:
    PaletteShortcut() = delete;
};

} // namespace pallstone
