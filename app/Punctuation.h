#pragma once

#include <QString>
#include <QStringList>

namespace pallstone {

// Texts put together from several translated parts, with the punctuation of the language shown:
// Chinese takes full-width brackets, commas and colons, English the ASCII ones.
class Punctuation final
{
public:
    // "Name (hint, hint)".
    static QString withHints(const QString& text, const QStringList& hints);
    // "Name:" in front of a field.
    static QString label(const QString& text);

private:
    Punctuation() = delete;
};

} // namespace pallstone
