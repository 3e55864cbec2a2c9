#pragma once

#include <QString>
#include <QStringList>

namespace pallstone {

// Forgiving matching of what a person types against the names of a menu entry: the words of the
// query in any order, each found as part of a word, as the initials of words in their order or with
// one letter wrong, case and accents ignored. An entry is known by several names (its titles in the
// language shown and its stable keys), and a query word may be found in any of them.
class TextMatcher final
{
public:
    explicit TextMatcher(const QString& query);

    bool isEmpty() const { return m_words.isEmpty(); }
    // 0 when some word of the query is found in none of the names; otherwise higher for closer
    // matches (whole words, word starts, initials), so that results can be ranked.
    int score(const QStringList& names) const;
    // The indexes of the candidates (each known by its names) the query finds, best first (of
    // equal scores the shorter names first, then the given order); every index, in order, for an
    // empty query.
    QList<qsizetype> rank(const QList<QStringList>& candidates) const;

    // Lower case, accents and other combining marks taken off, every run of characters that are
    // neither letters nor digits turned into one space.
    static QString fold(const QString& text);

private:
    QStringList m_words;
};

} // namespace pallstone
