#pragma once

#include "MenuEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pallstone {

// One entry of a menu that can be chosen (not a separator, not a submenu), named by the path
// that leads to it: the titles the user sees and the stored keys, one per menu level.
struct EntryPath
{
    qint64 tag = 0;
    QStringList titles;
    QStringList keys;
    MenuIcon icon;

    // The levels joined with "/", each escaped (EntryPaths::escape).
    QString titlePath() const;
    QString keyPath() const;
    // The title path, a tab and the key path, as valid Unicode (FileName::display): the line
    // `menu --list` prints.
    QString line() const;
    // What forgiving matching looks at: the titles and the keys of every level.
    QStringList names() const { return titles + keys; }
};

// The entries of a built menu by name, for people and scripts who name an entry instead of
// clicking it. A name is a path of levels joined with "/"; in a level, "\/" stands for a "/" of
// the title or key itself (favourite folders are keyed by their path), "\\" for a backslash, "\t"
// and "\n" for a tab and a line break. Each level of a name may give the title or the key of its
// entry, so "New File/txt" names the same entry in every language.
class EntryPaths final
{
public:
    explicit EntryPaths(const BuiltMenu& menu);

    const QList<EntryPath>& entries() const { return m_entries; }

    struct Lookup
    {
        // The one entry the name names; null when it names none or several.
        const EntryPath* entry = nullptr;
        // Several entries (ambiguous): all of them. None: the nearest by forgiving matching,
        // best first.
        QList<const EntryPath*> candidates;
        bool ambiguous = false;
    };
    // The entry a name names: exactly, else ignoring case.
    Lookup find(const QString& name) const;
    // The entries a forgiving query finds, best first (TextMatcher); all of them, in menu order,
    // for a blank query.
    QList<const EntryPath*> filter(const QString& query, qsizetype limit = -1) const;

    static QString escape(const QString& level);
    static QString join(const QStringList& levels);
    static QStringList split(const QString& path);

private:
    QList<EntryPath> m_entries;
};

} // namespace pallstone
