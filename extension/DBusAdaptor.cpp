#include "DBusAdaptor.h"

#include "ContextMenuService.h"
#include "EntryPaths.h"
#include "FileName.h"
#include "Localizer.h"
#include "MenuIconResolver.h"
#include "Palette.h"
#include "Paths.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QTimer>
#include <QUrl>

namespace pallstone {

DBusAdaptor::DBusAdaptor(ContextMenuService& service, QObject* parent)
    : QObject(parent), m_service(service)
{
    m_clock.start();
}

std::optional<QString> DBusAdaptor::localPath(const QString& uri)
{
    const QUrl url = QUrl::fromEncoded(uri.toUtf8(), QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    if (!url.host().isEmpty() && url.host() != u"localhost")
        return std::nullopt;
    // QUrl would turn bytes that are no UTF-8 into replacement characters: another file's name.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
    const QString path = FileName::decode(bytes);
    if (!path.startsWith(u'/') || path.contains(QChar(0)))
        return std::nullopt;
    return Paths::standardizedPath(path);
}

std::optional<MenuRequest> DBusAdaptor::requestFor(uint kind, const QStringList& selectedUris,
                                                   const QString& targetUri, QString* error)
{
    auto refuse = [error](const QString& message) -> std::optional<MenuRequest> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (kind > uint(MenuKind::Toolbar))
        return refuse(QStringLiteral("unknown menu kind %1 (0 to 3)").arg(kind));
    QStringList selected;
    for (const QString& uri : selectedUris) {
        const std::optional<QString> path = localPath(uri);
        if (!path)
            return refuse(QStringLiteral("not a local file URI: %1").arg(uri));
        selected.append(*path);
    }
    QString target;
    if (!targetUri.isEmpty()) {
        const std::optional<QString> path = localPath(targetUri);
        if (!path)
            return refuse(QStringLiteral("not a local file URI: %1").arg(targetUri));
        target = *path;
    } else if (!selected.isEmpty()) {
        target = Paths::deletingLastPathComponent(selected.first());
    }
    return MenuRequest(MenuKind(kind), selected, target);
}

std::optional<MenuRequest> DBusAdaptor::request(uint kind, const QStringList& selectedUris,
                                                const QString& targetUri)
{
    QString error;
    std::optional<MenuRequest> result = requestFor(kind, selectedUris, targetUri, &error);
    if (!result && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, error);
    return result;
}

qulonglong DBusAdaptor::MenuForMenuKind(uint kind, const QStringList& selectedUris,
                                        const QString& targetUri, DBusMenu& entries)
{
    const std::optional<MenuRequest> r = request(kind, selectedUris, targetUri);
    if (!r)
        return 0;
    m_lastSelection.note(*r, m_clock.elapsed());
    const Menu menu = m_service.menuFor(*r);
    entries = DBusMenuEntry::flatten(menu.entries);
    return m_service.keep(*r, menu);
}

void DBusAdaptor::OnMenuItemAction(qulonglong menuId, qlonglong tag, const QString& key, uint kind,
                                   const QStringList& selectedUris, const QString& targetUri)
{
    if (tag <= 0) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("tag %1 names no entry").arg(tag));
        return;
    }
    const std::optional<MenuRequest> r = request(kind, selectedUris, targetUri);
    if (!r)
        return;
    // The action may show windows and wait for the user: the caller gets its answer first.
    QTimer::singleShot(0, this,
                       [this, menuId, tag, key, r = *r] { runAction(menuId, tag, key, r); });
}

void DBusAdaptor::runAction(quint64 menuId, qint64 tag, const QString& key,
                            const MenuRequest& request)
{
    struct Running
    {
        int& count;
        explicit Running(int& c) : count(c) { ++count; }
        ~Running() { --count; }
        Q_DISABLE_COPY_MOVE(Running)
    } running(m_running);

    if (m_service.performChosen(menuId, tag, key, request) == ContextMenuService::Outcome::NoEntry)
        qWarning("pallstone-extension: tag %lld is not an entry of the menu for this selection",
                 static_cast<long long>(tag));
}

std::optional<MenuRequest> DBusAdaptor::namedRequest(const QStringList& selectedUris,
                                                     const QString& targetUri)
{
    if (selectedUris.isEmpty() && targetUri.isEmpty()) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("no selected items and no target folder"));
        return std::nullopt;
    }
    return request(uint(selectedUris.isEmpty() ? MenuKind::Background : MenuKind::Items),
                   selectedUris, targetUri);
}

QStringList DBusAdaptor::ListEntries(const QStringList& selectedUris, const QString& targetUri)
{
    const std::optional<MenuRequest> r = namedRequest(selectedUris, targetUri);
    if (!r)
        return {};
    const EntryPaths paths(m_service.menuFor(*r).entries);
    QStringList lines;
    for (const EntryPath& entry : paths.entries())
        lines.append(entry.line());
    return lines;
}

QString DBusAdaptor::RunEntry(const QString& name, const QStringList& selectedUris,
                              const QString& targetUri)
{
    const std::optional<MenuRequest> r = namedRequest(selectedUris, targetUri);
    if (!r)
        return {};
    const Menu menu = m_service.menuFor(*r);
    const EntryPaths paths(menu.entries);
    const EntryPaths::Lookup found = paths.find(name);
    if (!found.entry) {
        QStringList lines = {
            found.ambiguous
                ? QStringLiteral("\"%1\" names more than one entry of this menu").arg(name)
                : QStringLiteral("\"%1\" is not an entry of this menu").arg(name)};
        for (const EntryPath* candidate : found.candidates)
            lines.append(candidate->line());
        sendErrorReply(
            QString::fromLatin1(found.ambiguous ? ambiguousEntryError : unknownEntryError),
            lines.join(u'\n'));
        return {};
    }
    const qint64 tag = found.entry->tag;
    // The action may show windows and wait for the user: the caller gets its answer first.
    QTimer::singleShot(0, this, [this, r = *r, menu, tag] { runNamed(r, menu, tag); });
    return FileName::display(found.entry->titlePath());
}

void DBusAdaptor::ShowPalette()
{
    std::optional<MenuRequest> r = m_lastSelection.request();
    QString note;
    if (!r) {
        r = MenuRequest(MenuKind::Background, {}, QDir::homePath());
        note = Localizer::text(QStringLiteral("Palette Nothing Reported"));
    }
    QTimer::singleShot(0, this, [this, r = *r, note] {
        ++m_running;
        Palette::open(r, m_service.menuFor(r), note);
        --m_running;
    });
}

void DBusAdaptor::runNamed(const MenuRequest& request, const Menu& menu, qint64 tag)
{
    ++m_running;
    ContextMenuService::perform(request, menu, tag);
    --m_running;
}

QString DBusAdaptor::ToolbarItem(QString& toolTip, QString& icon)
{
    toolTip = ContextMenuService::toolbarItemToolTip();
    icon = MenuIconResolver::resolve(
        {MenuIcon::Kind::Resource, ContextMenuService::toolbarItemImage()});
    return ContextMenuService::toolbarItemName();
}

} // namespace pallstone
