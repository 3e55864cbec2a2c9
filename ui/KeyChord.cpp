#include "KeyChord.h"

#include <QHash>

namespace pallstone {

namespace {

// The key without its modifiers by its X keysym name, the name GTK's accelerators and the XDG
// shortcuts specification (xkbcommon's names) both use. Qt's portable names agree for letters
// (in lower case), digits, F-keys and most named keys; these differ.
QString keysymName(const QKeyCombination& chord)
{
    const QString key = QKeySequence(chord.key()).toString(QKeySequence::PortableText);
    static const QHash<QString, QString> names = {
        {QStringLiteral("Space"), QStringLiteral("space")},
        {QStringLiteral("Esc"), QStringLiteral("Escape")},
        {QStringLiteral("Backspace"), QStringLiteral("BackSpace")},
        {QStringLiteral("Enter"), QStringLiteral("KP_Enter")},
        {QStringLiteral("PgUp"), QStringLiteral("Page_Up")},
        {QStringLiteral("PgDown"), QStringLiteral("Page_Down")},
        {QStringLiteral("Del"), QStringLiteral("Delete")},
        {QStringLiteral("Ins"), QStringLiteral("Insert")},
        {QStringLiteral("."), QStringLiteral("period")},
        {QStringLiteral(","), QStringLiteral("comma")},
        {QStringLiteral("/"), QStringLiteral("slash")},
        {QStringLiteral("\\"), QStringLiteral("backslash")},
        {QStringLiteral(";"), QStringLiteral("semicolon")},
        {QStringLiteral("'"), QStringLiteral("apostrophe")},
        {QStringLiteral("`"), QStringLiteral("grave")},
        {QStringLiteral("-"), QStringLiteral("minus")},
        {QStringLiteral("="), QStringLiteral("equal")},
        {QStringLiteral("["), QStringLiteral("bracketleft")},
        {QStringLiteral("]"), QStringLiteral("bracketright")},
    };
    return names.value(key, key.size() == 1 ? key.toLower() : key);
}

// The chord's modifiers in the order Qt writes them, each by the name given, and the key.
QString spelled(const QKeySequence& keys, const char* control, const char* alt, const char* shift,
                const char* logo, const char* separator)
{
    if (keys.isEmpty())
        return {};
    const QKeyCombination chord = keys[0];
    const Qt::KeyboardModifiers mods = chord.keyboardModifiers();
    QString text;
    const auto add = [&](Qt::KeyboardModifier mod, const char* name) {
        if (mods & mod)
            text += QLatin1StringView(name) + QLatin1StringView(separator);
    };
    add(Qt::ControlModifier, control);
    add(Qt::AltModifier, alt);
    add(Qt::ShiftModifier, shift);
    add(Qt::MetaModifier, logo);
    return text + keysymName(chord);
}

} // namespace

QString KeyChord::gtkAccelerator(const QKeySequence& keys)
{
    return spelled(keys, "<Control>", "<Alt>", "<Shift>", "<Super>", "");
}

QString KeyChord::xdgTrigger(const QKeySequence& keys)
{
    return spelled(keys, "CTRL", "ALT", "SHIFT", "LOGO", "+");
}

QString KeyChord::kdeShortcut(const QKeySequence& keys)
{
    if (keys.isEmpty())
        return {};
    return QKeySequence(keys[0]).toString(QKeySequence::PortableText);
}

} // namespace pallstone
