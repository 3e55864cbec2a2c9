#include "MenuTag.h"

namespace pallstone {

QString MenuTag::mainTag(qsizetype index)
{
    return QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

QString MenuTag::childTag(const QString& parentTag, qsizetype index)
{
    return parentTag + QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

QList<int> MenuTag::decode(qint64 tag)
{
    QList<int> pieces;
    if (tag <= 0)
        return pieces;
    QString digits = QString::number(tag);
    if (digits.size() % 2 != 0)
        digits.prepend(u'0');
    for (qsizetype i = 0; i < digits.size(); i += 2)
        pieces.append(digits.mid(i, 2).toInt());
    return pieces;
}

} // namespace pallstone
