#pragma once

#include <QKeySequence>
#include <QString>

namespace pallstone {

// The key that opens the palette, registered with the desktop the way it takes one:
// - the desktop portal's global shortcuts where the portal offers them (KDE Plasma 6, GNOME 48 and
//   later): the service, which lives as long as the session, binds the key and opens the palette
//   when the portal reports it pressed; this side tells a running service the key changed;
// - on Plasma 5, a desktop entry that runs `pallstone-extension palette`, with the key as its KDE
//   shortcut, where the desktop's shortcut daemon reads it at its next start (the next login);
// - elsewhere a custom key binding in the desktop's own settings (GSettings): GNOME's media-keys
//   custom bindings, Cinnamon's custom key bindings, MATE's key bindings, running the same command.
// Where none of these exists nothing is registered, and the outcome says what to do by hand.
class PaletteShortcut final
{
public:
    enum class Desktop
    {
        Gnome,
        Cinnamon,
        Mate,
        Plasma5,
        Other,
    };

    enum class Route
    {
        Portal,
        DesktopEntry,
        Settings,
        None,
    };

    struct Outcome
    {
        bool registered = false;
        Desktop desktop = Desktop::Other;
        Route route = Route::None;
        // For the person: where the key was registered, or why not and what to do instead.
        QString message;
    };

    // Registers the key (replacing an earlier one of ours, by whichever route it went); an empty
    // sequence removes it. The key is in the shared store already.
    static Outcome apply(const QKeySequence& keys);

    // The desktop of this session, by XDG_CURRENT_DESKTOP (and KDE_SESSION_VERSION); one whose
    // settings schema is missing counts as Other.
    static Desktop desktop();
    // What the desktop runs.
    static QString command();
    // The desktop entry Plasma 5 takes the key from.
    static QString desktopEntryPath();

private:
    PaletteShortcut() = delete;
};

} // namespace pallstone
