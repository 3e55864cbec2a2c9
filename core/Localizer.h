#pragma once

#include <QLocale>
#include <QString>

namespace pallstone {

// The running program's localisation table: English keys in, user-facing text out. Menu keys and
// other built-in names are looked up here; a key without an entry shows as itself.
class Localizer final
{
public:
    // Loads ":/i18n/<program>_<language>.qm" for locale (any Simplified Chinese locale uses
    // zh_CN), with the English table behind it for keys the language's table lacks. Replaces
    // whatever an earlier call loaded. program is "pallstone" or "pallstone-extension".
    static void install(const QString& program, const QLocale& locale = QLocale());

    // The text behind key, or key itself when no loaded table has it.
    static QString text(const QString& key);

    // Whether a loaded table has an entry for key, so that text(key) is not merely key again.
    static bool hasTranslation(const QString& key);

    // The program's name as shown to the user.
    static QString displayName();

    // Which table answers first after install(): e.g. "zh_CN" or "en"; empty before install() or
    // when not even the English table was found.
    static QString language();

private:
    Localizer() = delete;
};

} // namespace pallstone
