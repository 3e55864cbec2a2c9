#pragma once

#include <QString>
#include <QUrl>

namespace pallstone {

// Small string helpers the menu builder and the actions share. A null QString stands for a missing
// string. Formatting is left to QString::arg(): append() and line() take the finished text.
class Strings final
{
public:
    // Present, not blank, and not the text "(null)" that formatting a missing object produces.
    static bool isValid(const QString& text);
    // Empty after trimming white space and line breaks; a missing string counts as blank.
    static bool isBlank(const QString& text);
    static QString trim(const QString& text);
    // Exact, case-sensitive equality of two present strings; a missing string equals nothing.
    static bool is(const QString& text, const QString& other);
    // Strips one pair of matching double quotes or apostrophes around the whole string.
    static QString unwrap(const QString& text);
    // -1, 0 or +1. Components are split at "." and compared as integers, a component counting as
    // its leading integer ("3b" is 3, "beta" is 0) and a missing component as 0. A missing receiver
    // compares as 0 with anything.
    static int compareVersion(const QString& receiver, const QString& other);
    // A new random UUID, 36 characters, upper-case hexadecimal with hyphens.
    static QString uuid();

    // Puts the text on the clipboard without its final line break; true when the clipboard took it.
    // Only the line break goes: spaces at either end can belong to a file name, and a path that
    // lost them names another file.
    static bool copyToPasteboard(const QString& text);
    // The clipboard's plain text, or the empty string when it holds none.
    static QString paste();
    // Opens the URL the string spells (strict parsing) with the default handler.
    static bool openURL(const QString& url);
    static bool openURL(const QUrl& url);

    static QString append(const QString& receiver, const QString& text);
    // append(), then "\n"; with a missing text only the line break is added.
    static QString line(const QString& receiver, const QString& text = QString());
    // Every occurrence of target replaced; an empty target changes nothing.
    static QString replace(const QString& receiver, const QString& target,
                           const QString& replacement);

private:
    Strings() = delete;
};

} // namespace pallstone
