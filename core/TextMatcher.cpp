#include "TextMatcher.h"

#include <algorithm>

namespace pallstone {

namespace {

constexpr int kWholeWord = 8;
constexpr int kWordStart = 5;
constexpr int kInitials = 4;
constexpr int kScatteredInitials = 3;
constexpr int kTypo = 2;
constexpr int kInside = 1;
constexpr qsizetype kShortestTypoWord = 4;

// One letter wrong, missing, extra, or two neighbours swapped.
bool isOneTypoAway(const QString& a, const QString& b)
{
    if (qAbs(a.size() - b.size()) > 1 || a == b)
        return false;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    const QStringView restA = QStringView(a).mid(i);
    const QStringView restB = QStringView(b).mid(i);
    if (a.size() == b.size()) {
        if (restA.mid(1) == restB.mid(1))
            return true;
        return restA.size() >= 2 && restA.at(0) == restB.at(1) && restA.at(1) == restB.at(0) &&
               restA.mid(2) == restB.mid(2);
    }
    return a.size() > b.size() ? restA.mid(1) == restB : restA == restB.mid(1);
}

// Whether the letters of the query word are the first letters of words in their order ("ntd" for
// "new file text document"); of consecutive words ("cp" for "copy path") ranks higher.
int initialsScore(const QString& word, const QStringList& words)
{
    if (word.size() < 2 || word.size() > words.size())
        return 0;
    for (qsizetype first = 0; first + word.size() <= words.size(); ++first) {
        bool all = true;
        for (qsizetype i = 0; i < word.size() && all; ++i)
            all = words.at(first + i).startsWith(word.at(i));
        if (all)
            return kInitials;
    }
    qsizetype next = 0;
    for (const QString& w : words) {
        if (next < word.size() && w.startsWith(word.at(next)))
            ++next;
    }
    return next == word.size() ? kScatteredInitials : 0;
}

int wordScore(const QString& word, const QString& text, const QStringList& words)
{
    int best = 0;
    for (const QString& w : words) {
        if (w == word)
            return kWholeWord;
        if (w.startsWith(word))
            best = std::max(best, kWordStart);
    }
    if (best == 0)
        best = initialsScore(word, words);
    if (best == 0 && word.size() >= kShortestTypoWord) {
        for (const QString& w : words) {
            if (isOneTypoAway(word, w) ||
                (w.size() > word.size() && isOneTypoAway(word, w.left(word.size()))))
                best = kTypo;
        }
    }
    // Scripts without spaces between words (Chinese) are found anywhere in the text.
    if (best == 0 && text.contains(word))
        best = kInside;
    return best;
}

} // namespace

TextMatcher::TextMatcher(const QString& query)
    : m_words(fold(query).split(u' ', Qt::SkipEmptyParts))
{}

QString TextMatcher::fold(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    bool space = true;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing ||
            c.category() == QChar::Mark_SpacingCombining || c.category() == QChar::Mark_Enclosing)
            continue;
        if (c.isLetterOrNumber()) {
            folded.append(c.toCaseFolded());
            space = false;
        } else if (!space) {
            folded.append(u' ');
            space = true;
        }
    }
    if (folded.endsWith(u' '))
        folded.chop(1);
    return folded;
}

int TextMatcher::score(const QStringList& names) const
{
    if (m_words.isEmpty())
        return 0;
    QStringList texts;
    QList<QStringList> words;
    for (const QString& name : names) {
        texts.append(fold(name));
        words.append(texts.last().split(u' ', Qt::SkipEmptyParts));
    }
    int total = 0;
    for (const QString& word : m_words) {
        int best = 0;
        for (qsizetype i = 0; i < texts.size(); ++i)
            best = std::max(best, wordScore(word, texts.at(i), words.at(i)));
        if (best == 0)
            return 0;
        total += best;
    }
    return total;
}

QList<qsizetype> TextMatcher::rank(const QList<QStringList>& candidates) const
{
    struct Scored
    {
        int score;
        qsizetype length;
        qsizetype index;
    };
    QList<Scored> scored;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (m_words.isEmpty()) {
            scored.append({1, 0, i});
            continue;
        }
        const int s = score(candidates.at(i));
        if (s == 0)
            continue;
        qsizetype length = 0;
        for (const QString& name : candidates.at(i))
            length += name.size();
        scored.append({s, length, i});
    }
    // Of equal matches the shorter candidate first: "cp" means Copy Path sooner than an entry
    // somewhere under Common Path.
    std::stable_sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        return a.score != b.score ? a.score > b.score : a.length < b.length;
    });
    QList<qsizetype> found;
    found.reserve(scored.size());
    for (const Scored& s : scored)
        found.append(s.index);
    return found;
}

} // namespace pallstone
