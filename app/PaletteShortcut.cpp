#include "PaletteShortcut.h"

#include "ExtensionManager.h"
#include "GlobalShortcutPortal.h"
#include "KeyChord.h"
#include "Localizer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <gio/gio.h>

#include <algorithm>
#include <memory>

namespace pallstone {

namespace {

// Where each desktop's settings daemon reads a custom binding from: the relocatable schema of one
// binding, our path for it, the key of its command, whether the binding is a list of
// accelerators; and the list of bindings the daemon looks at, if it keeps one.
struct DesktopBinding
{
    const char* schema;
    const char* path;
    const char* commandKey;
    bool bindingIsList;
    const char* listSchema; // null: the daemon finds every binding under its folder
    const char* listKey;
    const char* listEntry;
};

constexpr DesktopBinding kGnome = {
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding",
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette/",
    "command",
    false,
    "org.gnome.settings-daemon.plugins.media-keys",
    "custom-keybindings",
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette/"};
constexpr DesktopBinding kCinnamon = {
    "org.cinnamon.desktop.keybindings.custom-keybinding",
    "/org/cinnamon/desktop/keybindings/custom-keybindings/pallstone-palette/",
    "command",
    true,
    "org.cinnamon.desktop.keybindings",
    "custom-list",
    "pallstone-palette"};
constexpr DesktopBinding kMate = {"org.mate.control-center.keybinding",
                                  "/org/mate/desktop/keybindings/pallstone-palette/",
                                  "action",
                                  false,
                                  nullptr,
                                  nullptr,
                                  nullptr};

struct SettingsDeleter
{
    void operator()(GSettings* settings) const { g_object_unref(settings); }
};
using Settings = std::unique_ptr<GSettings, SettingsDeleter>;

bool hasSchema(const char* id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
    if (!schema)
        return false;
    g_settings_schema_unref(schema);
    return true;
}

QStringList strv(GSettings* settings, const char* key)
{
    QStringList list;
    gchar** values = g_settings_get_strv(settings, key);
    for (gchar** v = values; v && *v; ++v)
        list.append(QString::fromUtf8(*v));
    g_strfreev(values);
    return list;
}

void setStrv(GSettings* settings, const char* key, const QStringList& list)
{
    std::vector<QByteArray> bytes;
    for (const QString& s : list)
        bytes.push_back(s.toUtf8());
    std::vector<const gchar*> values;
    for (const QByteArray& b : bytes)
        values.push_back(b.constData());
    values.push_back(nullptr);
    g_settings_set_strv(settings, key, values.data());
}

// Adds or removes one entry of a desktop's list of custom bindings.
void listEntry(const char* schema, const char* key, const QString& entry, bool present)
{
    const Settings list(g_settings_new(schema));
    QStringList entries = strv(list.get(), key);
    if (present == entries.contains(entry))
        return;
    if (present)
        entries.append(entry);
    else
        entries.removeAll(entry);
    setStrv(list.get(), key, entries);
}

const DesktopBinding* bindingOf(PaletteShortcut::Desktop desktop)
{
    switch (desktop) {
    case PaletteShortcut::Desktop::Gnome:
        return &kGnome;
    case PaletteShortcut::Desktop::Cinnamon:
        return &kCinnamon;
    case PaletteShortcut::Desktop::Mate:
        return &kMate;
    case PaletteShortcut::Desktop::Plasma5:
    case PaletteShortcut::Desktop::Other:
        break;
    }
    return nullptr;
}

bool hasSchemas(const DesktopBinding& binding)
{
    return hasSchema(binding.schema) && (!binding.listSchema || hasSchema(binding.listSchema));
}

void writeBinding(const DesktopBinding& desktop, const QString& accelerator)
{
    const bool present = !accelerator.isEmpty();
    const Settings settings(g_settings_new_with_path(desktop.schema, desktop.path));
    if (present) {
        g_settings_set_string(settings.get(), "name", "Pallstone palette");
        g_settings_set_string(settings.get(), desktop.commandKey,
                              PaletteShortcut::command().toUtf8().constData());
        if (desktop.bindingIsList)
            setStrv(settings.get(), "binding", {accelerator});
        else
            g_settings_set_string(settings.get(), "binding", accelerator.toUtf8().constData());
    } else {
        for (const char* key : {"name", desktop.commandKey, "binding"})
            g_settings_reset(settings.get(), key);
    }
    if (desktop.listSchema)
        listEntry(desktop.listSchema, desktop.listKey, QString::fromLatin1(desktop.listEntry),
                  present);
    g_settings_sync();
}

QString byHand(const QString& accelerator)
{
    return Localizer::text(QStringLiteral("Palette Shortcut By Hand"))
        .arg(accelerator, PaletteShortcut::command());
}

// A portal that is running answers within milliseconds; one being started by the bus may take
// longer, and the window waits no longer than this.
constexpr int kPortalProbeMs = 2000;

// The service binds the key with the portal and holds it; a running one reads the stored key
// again when told. To bind a new key, a service that is not running is started; to drop one, not.
void tellService(bool start)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        ExtensionManager::kServiceName, QStringLiteral("/com/tolvane/pallstone/ContextMenu"),
        QStringLiteral("com.tolvane.pallstone.ContextMenu"),
        QStringLiteral("PaletteShortcutChanged"));
    call.setAutoStartService(start);
    QDBusConnection::sessionBus().send(call);
}

// A value of a desktop entry's Exec key: the program quoted as freedesktop.org's Desktop Entry
// rules ask when it holds a reserved character, then escaped as every string value is.
QString execValue(const QString& command)
{
    const qsizetype space = command.lastIndexOf(u' ');
    const QString program = command.left(space);
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString exec = program;
    if (std::any_of(program.begin(), program.end(), [](QChar c) { return reserved.contains(c); })) {
        exec.clear();
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                exec += u'\\';
            exec += c;
        }
        exec = u'"' + exec + u'"';
    }
    exec += command.mid(space);
    return exec.replace(u'\\', QStringLiteral("\\\\"));
}

// Plasma 5's shortcut daemon (kglobalaccel) reads the desktop entries in the kglobalaccel folders
// when it starts, each one's X-KDE-Shortcuts as the key that runs it, and skips those marked
// NoDisplay. Outside the applications folders, the entry shows in no menu.
bool writeDesktopEntry(const QString& kdeShortcut)
{
    const QString path = PaletteShortcut::desktopEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Pallstone palette\n"
                                        "Name[zh_CN]=Pallstone 命令面板\n"
                                        "Exec=%1\n"
                                        "Icon=pallstone\n"
                                        "StartupNotify=false\n"
                                        "X-KDE-Shortcuts=%2\n")
                             .arg(execValue(PaletteShortcut::command()), kdeShortcut);
    file.write(text.toUtf8());
    return file.commit();
}

bool removeDesktopEntry()
{
    return QFile::remove(PaletteShortcut::desktopEntryPath());
}

} // namespace

PaletteShortcut::Desktop PaletteShortcut::desktop()
{
    const QStringList names =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    for (const QString& name : names) {
        if ((name == u"gnome" || name == u"unity" || name == u"budgie") && hasSchemas(kGnome))
            return Desktop::Gnome;
        if ((name == u"x-cinnamon" || name == u"cinnamon") && hasSchemas(kCinnamon))
            return Desktop::Cinnamon;
        if (name == u"mate" && hasSchemas(kMate))
            return Desktop::Mate;
    }
    if (GlobalShortcutPortal::isPlasma5Session())
        return Desktop::Plasma5;
    return Desktop::Other;
}

QString PaletteShortcut::command()
{
    // The service's program beside this one when installed together, else the one on PATH.
    const QString beside =
        QCoreApplication::applicationDirPath() + QStringLiteral("/pallstone-extension");
    const QString program = QFileInfo(beside).isExecutable() && !beside.contains(u' ')
                                ? beside
                                : QStringLiteral("pallstone-extension");
    return program + QStringLiteral(" palette");
}

QString PaletteShortcut::desktopEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kglobalaccel/pallstone-palette.desktop");
}

PaletteShortcut::Outcome PaletteShortcut::apply(const QKeySequence& keys)
{
    Outcome outcome;
    outcome.desktop = desktop();
    const DesktopBinding* settings = bindingOf(outcome.desktop);
    const bool portal =
        outcome.desktop != Desktop::Plasma5 &&
        GlobalShortcutPortal::offeredVersion(QDBusConnection::sessionBus(), kPortalProbeMs) > 0;

    if (keys.isEmpty()) {
        // Whichever way the key went before, it goes.
        if (settings)
            writeBinding(*settings, QString());
        const bool hadEntry = removeDesktopEntry();
        tellService(false);
        outcome.registered = settings || portal || hadEntry;
        if (outcome.registered)
            outcome.message = Localizer::text(QStringLiteral("Palette Shortcut Removed"));
        return outcome;
    }

    const QString shown = keys.toString(QKeySequence::NativeText);
    if (outcome.desktop == Desktop::Plasma5) {
        outcome.route = Route::DesktopEntry;
        outcome.registered = writeDesktopEntry(KeyChord::kdeShortcut(keys));
        outcome.message = outcome.registered
                              ? Localizer::text(QStringLiteral("Palette Shortcut Plasma 5"))
                                    .arg(shown, PaletteShortcut::desktopEntryPath())
                              : byHand(KeyChord::kdeShortcut(keys));
        return outcome;
    }
    if (portal) {
        // The key would otherwise be bound twice: by the portal, and by the desktop's settings or
        // (Plasma 6 reads the same folder) the entry written under Plasma 5.
        if (settings)
            writeBinding(*settings, QString());
        removeDesktopEntry();
        tellService(true);
        outcome.route = Route::Portal;
        outcome.registered = true;
        outcome.message =
            Localizer::text(QStringLiteral("Palette Shortcut Portal Registered")).arg(shown);
        return outcome;
    }
    const QString accel = KeyChord::gtkAccelerator(keys);
    if (!settings) {
        outcome.message = byHand(accel);
        return outcome;
    }
    writeBinding(*settings, accel);
    outcome.route = Route::Settings;
    outcome.registered = true;
    outcome.message = Localizer::text(QStringLiteral("Palette Shortcut Registered")).arg(shown);
    return outcome;
}

} // namespace pallstone
