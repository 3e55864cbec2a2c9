#include "Punctuation.h"

#include "Localizer.h"

namespace pallstone {

QString Punctuation::withHints(const QString& text, const QStringList& hints)
{
    if (hints.isEmpty())
        return text;
    return Localizer::text(QStringLiteral("Hint Brackets"))
        .arg(text, hints.join(Localizer::text(QStringLiteral("Hint Separator"))));
}

QString Punctuation::label(const QString& text)
{
    return Localizer::text(QStringLiteral("Field Label")).arg(text);
}

} // namespace pallstone
