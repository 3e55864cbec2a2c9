#include "PallstoneFileItemAction.h"

#include "pallstone-bridge.h"

#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <KUrlNavigator>

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <vector>

K_PLUGIN_CLASS_WITH_JSON(PallstoneFileItemAction, "pallstone-dolphin.json")

namespace {

using MenuRef = std::shared_ptr<PallstoneMenu>;

QUrl folderUrl(const QUrl& url)
{
    return url.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
}

bool windowShows(QWidget* window, const QUrl& folder)
{
    if (!window)
        return false;
    const QList<KUrlNavigator*> navigators = window->findChildren<KUrlNavigator*>();
    for (const KUrlNavigator* navigator : navigators) {
        if (navigator->isVisibleTo(window) &&
            folderUrl(navigator->locationUrl()) == folderUrl(folder))
            return true;
    }
    return false;
}

// Qt reads an ampersand in an action's text as a mnemonic; titles are shown as they are.
QString actionText(const char* title)
{
    return QString::fromUtf8(title).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QIcon rowIcon(const char* icon)
{
    if (!icon)
        return {};
    const QString name = QString::fromUtf8(icon);
    return name.startsWith(QLatin1Char('/')) ? QIcon(name) : QIcon::fromTheme(name);
}

} // namespace

PallstoneFileItemAction::PallstoneFileItemAction(QObject* parent, const QVariantList& args)
    : KAbstractFileItemActionPlugin(parent)
{
    Q_UNUSED(args);
    pallstone_bridge_init("dolphin");
}

PallstoneFileItemAction::~PallstoneFileItemAction()
{
    for (const QPointer<QObject>& object : std::as_const(m_shown))
        delete object.data();
}

QList<QAction*> PallstoneFileItemAction::actions(const KFileItemListProperties& fileItemInfos,
                                                 QWidget* parentWidget)
{
    for (const QPointer<QObject>& object : std::as_const(m_shown)) {
        if (object)
            object->deleteLater();
    }
    m_shown.clear();

    const KFileItemList items = fileItemInfos.items();
    if (items.isEmpty())
        return {};
    QList<QByteArray> uris;
    for (const KFileItem& item : items) {
        const QUrl url = item.mostLocalUrl();
        if (!url.isLocalFile())
            return {};
        uris.append(url.toEncoded());
    }

    PallstoneMenu* reply = nullptr;
    const KFileItem& first = items.first();
    if (items.size() == 1 && first.isDir() &&
        (first.name() == u"." || windowShows(parentWidget, first.mostLocalUrl()))) {
        const char* none[] = {nullptr};
        reply = pallstone_bridge_menu(PALLSTONE_KIND_BACKGROUND, none, uris.first().constData());
    } else {
        std::vector<const char*> list;
        for (const QByteArray& uri : std::as_const(uris))
            list.push_back(uri.constData());
        list.push_back(nullptr);
        const QByteArray target = folderUrl(first.mostLocalUrl())
                                      .adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash)
                                      .toEncoded();
        reply = pallstone_bridge_menu(PALLSTONE_KIND_ITEMS, list.data(), target.constData());
    }
    if (!reply)
        return {};
    const MenuRef menu(reply, pallstone_menu_unref);

    QList<QAction*> top;
    std::vector<QAction*> made(menu->n_rows, nullptr);
    for (guint i = 0; i < menu->n_rows; ++i) {
        const PallstoneRow& row = menu->rows[i];
        if (row.parent >= 0 && !made[guint(row.parent)])
            continue;
        auto* action = new QAction(this);
        char* name = pallstone_row_name(&row);
        action->setObjectName(QString::fromUtf8(name));
        g_free(name);
        if (row.separator && !*row.title) {
            action->setSeparator(true);
        } else {
            action->setText(actionText(row.title));
            action->setIcon(rowIcon(row.icon));
            // A separator with text stays as an entry that cannot be chosen, so its text shows.
            action->setEnabled(!row.separator);
        }
        if (!row.separator && !row.opens_submenu) {
            connect(action, &QAction::triggered, this,
                    [menu, i] { pallstone_menu_activate(menu.get(), i); });
        }
        made[i] = action;
        m_shown.append(action);
        if (row.parent < 0) {
            top.append(action);
            continue;
        }
        QAction* parentAction = made[guint(row.parent)];
        QMenu* submenu = parentAction->menu();
        if (!submenu) {
            submenu = new QMenu(parentWidget);
            m_shown.append(submenu);
            parentAction->setMenu(submenu);
        }
        submenu->addAction(action);
    }
    return top;
}

#include "PallstoneFileItemAction.moc"
