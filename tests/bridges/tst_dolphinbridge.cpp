// The Dolphin bridge, found and loaded the way Dolphin does it: KIO's KFileItemActions looks up
// the file-item action plugins in the Qt plugin path (kf6/ or kf5/kfileitemaction, filtered by the
// JSON metadata's MIME types), instantiates ours and adds its actions to a context menu. The window
// has a location bar showing the folder, as Dolphin's has.
#include "bridgeharness.h"

#include <KFileItem>
#include <KFileItemActions>
#include <KFileItemListProperties>
#include <KUrlNavigator>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

namespace {

QWidget* window = nullptr;
KUrlNavigator* locationBar = nullptr;
KFileItemActions* fileItemActions = nullptr;
QMenu* contextMenu = nullptr;

void load()
{
    const QString plugins = QDir::homePath() + QStringLiteral("/plugins");
    const QString folder = plugins + QStringLiteral("/" PALLSTONE_KF_PLUGINS "/kfileitemaction");
    QDir().mkpath(folder);
    QFile::link(QStringLiteral(PALLSTONE_BRIDGE_MODULE),
                folder + QStringLiteral("/pallstone-dolphin.so"));
    QCoreApplication::addLibraryPath(plugins);
    window = new QWidget;
    locationBar = new KUrlNavigator(window);
    fileItemActions = new KFileItemActions(window);
    fileItemActions->setParentWidget(window);
    contextMenu = new QMenu(window);
    // Dolphin loads its plugins at the first context menu.
    contextMenu->clear();
    fileItemActions->setItemListProperties(KFileItemListProperties(KFileItemList{KFileItem(
        QUrl::fromLocalFile(QDir::homePath()), QStringLiteral("inode/directory"), S_IFDIR)}));
    fileItemActions->addActionsTo(contextMenu);
}

GPtrArray* nodes(const QList<QAction*>& actions)
{
    GPtrArray* list = g_ptr_array_new_with_free_func(harness_node_free);
    for (QAction* action : actions) {
        HarnessNode* node = harness_node_new();
        node->name = g_strdup(action->objectName().toUtf8().constData());
        node->label = g_strdup(action->text().toUtf8().constData());
        node->separator = action->isSeparator();
        node->sensitive = action->isEnabled();
        if (action->menu())
            node->children = nodes(action->menu()->actions());
        node->native = action;
        g_ptr_array_add(list, node);
    }
    return list;
}

// What the plugin added to a context menu for these items (the menu also holds KIO's own).
GPtrArray* menuFor(const KFileItem& item)
{
    contextMenu->clear();
    fileItemActions->setItemListProperties(KFileItemListProperties(KFileItemList{item}));
    fileItemActions->addActionsTo(contextMenu);
    QList<QAction*> ours;
    const QList<QAction*> all = contextMenu->actions();
    for (QAction* action : all) {
        if (action->objectName().startsWith(QStringLiteral("Pallstone::")))
            ours.append(action);
    }
    return ours.isEmpty() ? nullptr : nodes(ours);
}

GPtrArray* fileItems(const char* uri)
{
    // Another folder is shown: the item is a selected one.
    locationBar->setLocationUrl(QUrl::fromLocalFile(QDir::homePath()));
    return menuFor(KFileItem(QUrl(QString::fromUtf8(uri)), QStringLiteral("text/plain"), S_IFREG));
}

GPtrArray* backgroundItems(const char* folderUri)
{
    const QUrl folder(QString::fromUtf8(folderUri));
    locationBar->setLocationUrl(folder);
    return menuFor(KFileItem(folder, QStringLiteral("inode/directory"), S_IFDIR));
}

void activate(HarnessNode* node)
{
    static_cast<QAction*>(node->native)->trigger();
}

char* actionLabel(const char* title)
{
    return g_strdup(QString::fromUtf8(title)
                        .replace(QLatin1Char('&'), QStringLiteral("&&"))
                        .toUtf8()
                        .constData());
}

} // namespace

int main(int argc, char** argv)
{
    // Qt 5's offscreen platform leaves its screen behind at exit, which LeakSanitizer reports;
    // menus need no painting. (The service still gets the offscreen platform.)
    qputenv("QT_QPA_PLATFORM", "minimal");
    QApplication app(argc, argv);
    BridgeAdapter adapter = {};
    adapter.file_manager = "dolphin";
    adapter.real_separators = TRUE;
    adapter.icon_names = FALSE; // a QAction keeps the icon, not its name
    adapter.load = load;
    adapter.file_items = fileItems;
    adapter.background_items = backgroundItems;
    adapter.activate = activate;
    adapter.label = actionLabel;
    const int result = harness_main(argc, argv, &adapter);
    // The location bar checks each folder it is shown with a KIO stat job, which outlives the
    // window; one still running at exit is left behind. The last one ends in this time.
    QEventLoop drain;
    QTimer::singleShot(500, &drain, &QEventLoop::quit);
    drain.exec();
    delete window;
    return result;
}
