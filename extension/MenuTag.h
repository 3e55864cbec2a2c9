#pragma once

#include <QList>
#include <QString>

namespace pallstone {

// Menu tags: two decimal digits per menu level, each the 1-based index of the entry in its level's
// model list, the main level first (the third child of the second main entry is 203).
class MenuTag final
{
public:
    // A level addresses at most this many entries; a 100th would read back as the 1st.
    static constexpr int kMaxPerLevel = 99;

    // The digit string of a main entry at 0-based index i ("%02ld" of i + 1).
    static QString mainTag(qsizetype index);
    // The digit string of the child at 0-based index j below the parent's digit string.
    static QString childTag(const QString& parentTag, qsizetype index);
    static qint64 value(const QString& tag) { return tag.toLongLong(); }

    // The 1-based indices a tag holds, main level first; empty for a tag that is not positive.
    static QList<int> decode(qint64 tag);

private:
    MenuTag() = delete;
};

} // namespace pallstone
