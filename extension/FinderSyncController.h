#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace pallstone {

// What a file manager tells the service about the menu it wants: the selected items, the folder
// the menu refers to, and which folders the service watches. The bridges (and the headless CLI)
// feed it exactly as a file manager would.
class FinderSyncController final
{
public:
    static FinderSyncController& defaultController();

    // Absolute paths of the selected items, in the file manager's order.
    QStringList selectedItemURLs() const { return m_selected; }
    void setSelectedItemURLs(const QStringList& paths) { m_selected = paths; }
    // The folder the menu refers to; empty when there is none.
    QString targetedURL() const { return m_target; }
    void setTargetedURL(const QString& path) { m_target = path; }

    QSet<QString> directoryURLs() const { return m_directories; }
    void setDirectoryURLs(const QSet<QString>& paths) { m_directories = paths; }
    // True when the path lies in (or is) one of the watched folders.
    bool isWatched(const QString& path) const;

private:
    QStringList m_selected;
    QString m_target;
    QSet<QString> m_directories;
};

} // namespace pallstone
