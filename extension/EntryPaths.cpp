#include "EntryPaths.h"

#include "FileName.h"
#include "TextMatcher.h"

#include <algorithm>

namespace pallstone {

namespace {

constexpr qsizetype kNearMatches = 5;

void collect(const BuiltMenu& menu, const EntryPath& parent, QList<EntryPath>& into)
{
    for (const MenuEntry& entry : menu) {
        if (entry.separator || entry.tag <= 0)
            continue;
        EntryPath path = parent;
        path.titles.append(entry.title);
        path.keys.append(entry.key);
        if (entry.hasSubmenu) {
            collect(entry.children, path, into);
            continue;
        }
        path.tag = entry.tag;
        path.icon = entry.icon;
        into.append(path);
    }
}

// A level of a name names an entry's level by its title or its key; names that are not UTF-8
// are also found by the text they show as.
bool levelMatches(const QString& level, const QString& title, const QString& key,
                  Qt::CaseSensitivity cs)
{
    for (const QString& name : {title, key}) {
        if (level.compare(name, cs) == 0 || level.compare(FileName::display(name), cs) == 0)
            return true;
    }
    return false;
}

} // namespace

QString EntryPath::titlePath() const
{
    return EntryPaths::join(titles);
}

QString EntryPath::keyPath() const
{
    return EntryPaths::join(keys);
}

QString EntryPath::line() const
{
    return FileName::display(titlePath()) + u'\t' + FileName::display(keyPath());
}

EntryPaths::EntryPaths(const BuiltMenu& menu)
{
    collect(menu, {}, m_entries);
}

QString EntryPaths::escape(const QString& level)
{
    QString escaped;
    escaped.reserve(level.size());
    for (const QChar c : level) {
        if (c == u'\\' || c == u'/')
            escaped.append(u'\\').append(c);
        else if (c == u'\t')
            escaped.append(u"\\t");
        else if (c == u'\n')
            escaped.append(u"\\n");
        else
            escaped.append(c);
    }
    return escaped;
}

QString EntryPaths::join(const QStringList& levels)
{
    QStringList escaped;
    for (const QString& level : levels)
        escaped.append(escape(level));
    return escaped.join(u'/');
}

QStringList EntryPaths::split(const QString& path)
{
    QStringList levels;
    QString level;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path.at(i);
        if (c == u'\\' && i + 1 < path.size()) {
            const QChar next = path.at(++i);
            level.append(next == u't' ? QChar(u'\t') : next == u'n' ? QChar(u'\n') : next);
        } else if (c == u'/') {
            levels.append(level);
            level.clear();
        } else {
            level.append(c);
        }
    }
    levels.append(level);
    return levels;
}

EntryPaths::Lookup EntryPaths::find(const QString& name) const
{
    const QStringList levels = split(name);
    Lookup lookup;
    for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const EntryPath& entry : m_entries) {
            if (entry.titles.size() != levels.size())
                continue;
            bool all = true;
            for (qsizetype i = 0; i < levels.size() && all; ++i)
                all = levelMatches(levels.at(i), entry.titles.at(i), entry.keys.at(i), cs);
            if (all)
                lookup.candidates.append(&entry);
        }
        if (!lookup.candidates.isEmpty())
            break;
    }
    if (lookup.candidates.size() == 1) {
        lookup.entry = lookup.candidates.first();
        lookup.candidates.clear();
    } else if (lookup.candidates.size() > 1) {
        lookup.ambiguous = true;
    } else {
        // Nothing near the whole name: what lies under the levels before the one mistyped.
        QStringList words = levels;
        while (lookup.candidates.isEmpty() && !words.isEmpty()) {
            lookup.candidates = filter(words.join(u' '), kNearMatches);
            words.removeLast();
        }
    }
    return lookup;
}

QList<const EntryPath*> EntryPaths::filter(const QString& query, qsizetype limit) const
{
    QList<QStringList> names;
    names.reserve(m_entries.size());
    for (const EntryPath& entry : m_entries)
        names.append(entry.names());
    QList<const EntryPath*> found;
    for (const qsizetype index : TextMatcher(query).rank(names)) {
        if (limit >= 0 && found.size() >= limit)
            break;
        found.append(&m_entries.at(index));
    }
    return found;
}

} // namespace pallstone
