#pragma once

#include "DBusMenuEntry.h"
#include "LastSelection.h"
#include "MenuBuilder.h"
#include "MenuRequest.h"

#include <QDBusContext>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <optional>

namespace pallstone {

class ContextMenuService;

// The service's face on the session bus: a file manager's bridge asks for the menu of a
// selection and hands back the entry the user chose. Nothing here blocks on a person: an action
// is started after the call has been answered.
class DBusAdaptor final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tolvane.pallstone.ContextMenu")

public:
    static constexpr const char* serviceName = "com.tolvane.pallstone.extension";
    static constexpr const char* objectPath = "/com/tolvane/pallstone/ContextMenu";
    static constexpr const char* interfaceName = "com.tolvane.pallstone.ContextMenu";
    // Errors of RunEntry; the message lists the entries meant, one "title path<TAB>key path" a
    // line.
    static constexpr const char* unknownEntryError = "com.tolvane.pallstone.Error.UnknownEntry";
    static constexpr const char* ambiguousEntryError = "com.tolvane.pallstone.Error.AmbiguousEntry";

    explicit DBusAdaptor(ContextMenuService& service, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(DBusAdaptor)

    // True while an action started here has not returned yet.
    bool isRunningAction() const { return m_running > 0; }

    // A file:// URI as a local path, its percent-decoded bytes kept as they are (FileName);
    // nothing for any other URI or one that does not name an absolute path.
    static std::optional<QString> localPath(const QString& uri);
    // A call's inputs as a request: the kind (0 to 3), the selection's and the target's URIs
    // (the target defaults to the folder of the first selected item). Nothing when an input is
    // refused, and error then says why.
    static std::optional<MenuRequest> requestFor(uint kind, const QStringList& selectedUris,
                                                 const QString& targetUri, QString* error);

public Q_SLOTS:
    // The menu for the selection, and the id under which the service keeps it for the click.
    Q_SCRIPTABLE qulonglong MenuForMenuKind(uint kind, const QStringList& selectedUris,
                                            const QString& targetUri, pallstone::DBusMenu& entries);
    // The entry the user chose: its tag and key in the menu kept under menuId.
    Q_SCRIPTABLE void OnMenuItemAction(qulonglong menuId, qlonglong tag, const QString& key,
                                       uint kind, const QStringList& selectedUris,
                                       const QString& targetUri);
    Q_SCRIPTABLE QString ToolbarItem(QString& toolTip, QString& icon);

    // For programs and scripts that name an entry rather than click it. The menu is the one of
    // the selected items when there are some, else the one of the target folder's background.
    // Every entry that can be chosen, as "title path<TAB>key path" (EntryPaths), as
    // `pallstone-extension menu --list` prints them.
    Q_SCRIPTABLE QStringList ListEntries(const QStringList& selectedUris, const QString& targetUri);
    // Runs the entry the name names (title path, key path, or a mix by level) once the call has
    // been answered, and answers its title path.
    Q_SCRIPTABLE QString RunEntry(const QString& name, const QStringList& selectedUris,
                                  const QString& targetUri);
    // Opens the palette over the menu of what a file manager last asked a menu for (the home
    // folder before any did), once the call has been answered.
    Q_SCRIPTABLE void ShowPalette();
    // The settings application stored another key for the palette (or none).
    Q_SCRIPTABLE void PaletteShortcutChanged() { Q_EMIT paletteShortcutChanged(); }

Q_SIGNALS:
    void paletteShortcutChanged();

private:
    // The call's inputs as a request, or an InvalidArgs error reply sent and nothing.
    std::optional<MenuRequest> request(uint kind, const QStringList& selectedUris,
                                       const QString& targetUri);
    std::optional<MenuRequest> namedRequest(const QStringList& selectedUris,
                                            const QString& targetUri);
    void runAction(quint64 menuId, qint64 tag, const QString& key, const MenuRequest& request);
    void runNamed(const MenuRequest& request, const Menu& menu, qint64 tag);

    ContextMenuService& m_service;
    int m_running = 0;
    LastSelection m_lastSelection;
    QElapsedTimer m_clock;
};

} // namespace pallstone
