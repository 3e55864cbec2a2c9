#include "PaletteShortcut.h"

#include "Localizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <gio/gio.h>

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

QString PaletteShortcut::accelerator(const QKeySequence& keys)
{
    if (keys.isEmpty())
        return {};
    const QKeyCombination chord = keys[0];
    QString text;
    const Qt::KeyboardModifiers mods = chord.keyboardModifiers();
    if (mods & Qt::ControlModifier)
        text += QStringLiteral("<Control>");
    if (mods & Qt::AltModifier)
        text += QStringLiteral("<Alt>");
    if (mods & Qt::ShiftModifier)
        text += QStringLiteral("<Shift>");
    if (mods & Qt::MetaModifier)
        text += QStringLiteral("<Super>");
    const QString key = QKeySequence(chord.key()).toString(QKeySequence::PortableText);
    // GTK spells the keys by their X names; Qt's portable names agree for letters, digits and
    // F-keys, and these differ.
    static const QHash<QString, QString> names = {
        {QStringLiteral("Space"), QStringLiteral("space")},
        {QStringLiteral("Return"), QStringLiteral("Return")},
        {QStringLiteral("Esc"), QStringLiteral("Escape")},
        {QStringLiteral("PgUp"), QStringLiteral("Page_Up")},
        {QStringLiteral("PgDown"), QStringLiteral("Page_Down")},
        {QStringLiteral("Del"), QStringLiteral("Delete")},
        {QStringLiteral("Ins"), QStringLiteral("Insert")},
        {QStringLiteral("."), QStringLiteral("period")},
        {QStringLiteral(","), QStringLiteral("comma")},
        {QStringLiteral("/"), QStringLiteral("slash")},
        {QStringLiteral(";"), QStringLiteral("semicolon")},
    };
    return text + names.value(key, key.size() == 1 ? key.toLower() : key);
}

PaletteShortcut::Outcome PaletteShortcut::apply(const QKeySequence& keys)
{
    Outcome outcome;
    outcome.desktop = desktop();
    const QString accel = accelerator(keys);
    if (outcome.desktop == Desktop::Other) {
        outcome.message = keys.isEmpty() ? QString() : byHand(accel);
        return outcome;
    }
    writeBinding(*bindingOf(outcome.desktop), accel);
    outcome.registered = true;
    outcome.message =
        Localizer::text(keys.isEmpty() ? QStringLiteral("Palette Shortcut Removed")
                                       : QStringLiteral("Palette Shortcut Registered"))
            .arg(keys.toString(QKeySequence::NativeText));
    return outcome;
}

} // namespace pallstone
