#include "FinderSync.h"

#include "Dispatch.h"
#include "FinderSyncController.h"
#include "Localizer.h"
#include "MenuTag.h"
#include "Paths.h"
#include "Prompter.h"
#include "Strings.h"
#include "TQCheckPermit.h"
#include "TQFile.h"
#include "TQHelper.h"
#include "TQMenuManager.h"
#include "VolumeMonitor.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

namespace pallstone {

namespace {

const QString kCutPaths = QStringLiteral("cutPaths");

QString folderOf(const QString& path)
{
    return Paths::deletingLastPathComponent(path);
}

} // namespace

FinderSync::FinderSync(QObject* parent)
    : QObject(parent), m_actions(std::make_shared<ActionHandlers>())
{}

FinderSync::~FinderSync() = default;

void FinderSync::setActionHandlers(std::shared_ptr<ActionHandlers> handlers)
{
    m_actions = handlers ? std::move(handlers) : std::make_shared<ActionHandlers>();
}

void FinderSync::init()
{
    setupDirectoryURLs();
    Defaults& store = TQMenuManager::sharedDefaults();
    if (store.boolForKey(StoreKey::prefCheck(3))) {
        m_volumeMonitor = std::make_unique<VolumeMonitor>([this] { volumeChangeNoti(); });
    }
    m_loadingCount = 0;

    // Forget a pending cut. On a fresh install there is no main menu yet: writing one here would
    // store an empty list and the settings application would then never seed the defaults.
    bool hasCutRecord = false;
    const Value menu = store.object(StoreKey::rightMenu);
    for (const Value& record : menu.list()) {
        if (record.value(QStringLiteral("key")).string() == u"Cut Paste")
            hasCutRecord = true;
    }
    if (hasCutRecord) {
        TQMenuManager::updateMenuKey(StoreKey::rightMenu, QStringLiteral("Cut Paste"), kCutPaths,
                                     Value::array());
    }
}

void FinderSync::setupDirectoryURLs()
{
    QSet<QString> folders;
    if (TQMenuManager::sharedDefaults().boolForKey(StoreKey::prefCheck(3)))
        folders = VolumeMonitor::externalVolumes();
    folders.insert(QStringLiteral("/"));
    FinderSyncController::defaultController().setDirectoryURLs(folders);
}

void FinderSync::volumeChangeNoti()
{
    Dispatch::enterForegroundWithDelay(1, [this] { setupDirectoryURLs(); });
}

QString FinderSync::toolbarItemName() const
{
    return Localizer::displayName();
}

QString FinderSync::targetURL() const
{
    return FinderSyncController::defaultController().targetedURL();
}

QStringList FinderSync::selectURLs()
{
    if (m_selectURLs)
        return *m_selectURLs;
    const FinderSyncController& controller = FinderSyncController::defaultController();
    QStringList urls = controller.selectedItemURLs();
    if (urls.isEmpty() && Strings::isValid(controller.targetedURL()))
        urls = {controller.targetedURL()};
    urls.removeAll(QStringLiteral("/"));
    m_selectURLs = urls;
    return urls;
}

bool FinderSync::isSelectSingleURL()
{
    return m_isSelectURL && selectURLs().size() == 1;
}

BuiltMenu FinderSync::menuForMenuKind(uint kind)
{
    m_selectURLs.reset();
    const QStringList selection = selectURLs();
    const bool hasURL = !selection.isEmpty();

    BuiltMenu menu;
    // Items outside the watched folders get no menu.
    const FinderSyncController& controller = FinderSyncController::defaultController();
    const QString probe = hasURL ? selection.first() : controller.targetedURL();
    if (!probe.isEmpty() && !controller.isWatched(probe)) {
        m_rightMenuArray.clear();
        return menu;
    }

    if (hasURL)
        m_isSelectURL = kind == ContextualMenuForItems;
    const TQFile reference(hasURL ? selection.first() : QString());
    const QString refPath = reference.path();
    const QString refExt = refPath.isEmpty() ? QString() : reference.ext();
    const bool refIsFolder = !refPath.isEmpty() && reference.isFolder();

    m_rightMenuArray = TQMenuManager::menuItemArray();
    const Value store = TQMenuManager::sharedDefaults().dictionaryRepresentation();
    const bool hideMainIcons = store.value(StoreKey::prefCheck(1)).readBool(false);
    const bool hideSetItem = store.value(StoreKey::prefCheck(2)).readBool(false);
    const bool hideSubIcons = store.value(StoreKey::prefCheck(4)).readBool(false);
    const qint64 nextMenuMode = store.value(StoreKey::commonPathNextMenu).asInteger();
    const bool singleSelected = m_isSelectURL && selection.size() == 1;

    for (qsizetype i = 0; i < m_rightMenuArray.size() && i < MenuTag::kMaxPerLevel; ++i) {
        const TQMenuItemPtr& e = m_rightMenuArray.at(i);
        if (!hasURL && !e->isNotNeedURL)
            continue;
        if (m_isSelectURL && e->key == u"Hide All Files")
            continue;
        if (e->isConvert() && !e->formats.contains(refExt))
            continue;
        if (e->isFileInfo() && (refIsFolder || !singleSelected))
            continue;
        if (e->isCutPaste() && !m_isSelectURL && e->cutPaths.isEmpty())
            continue;
        if (e->isColorPicker() && m_isSelectURL)
            continue;
        if (!e->formats.isEmpty() && !e->formats.contains(refExt))
            continue;
        if (e->isNeedFolder && !refIsFolder)
            continue;
        if (e->isNeedSelectURL && !m_isSelectURL)
            continue;
        if (e->disabled || !e->isValidParent())
            continue;
        bool pasteMode = false;
        if (!m_isSelectURL && e->isCutPaste() && !e->cutPaths.isEmpty()) {
            // Pasting into the folder the items came from is not offered.
            if (refPath == folderOf(e->cutPaths.first()))
                continue;
            pasteMode = true;
        }

        MenuEntry entry;
        entry.key = e->key;
        entry.title = e->menuTitle();
        if (e->isCutPaste()) {
            entry.title =
                Localizer::text(pasteMode ? QStringLiteral("Paste") : QStringLiteral("Cut"));
            e->icon = pasteMode ? QStringLiteral("paste") : QStringLiteral("cut");
        } else if (e->isLockUnlock()) {
            const bool locked = !refPath.isEmpty() && Paths::isLocked(refPath);
            entry.title =
                Localizer::text(locked ? QStringLiteral("Unlock") : QStringLiteral("Lock"));
            e->icon = locked ? QStringLiteral("unlock") : QStringLiteral("lock");
        }
        if (!hideMainIcons)
            entry.icon = e->menuIcon();
        const QString tag = MenuTag::mainTag(i);
        entry.tag = MenuTag::value(tag);

        bool childrenBuilt = false;
        if (e->isFileInfo()) {
            e->children.clear();
            for (const QString& key :
                 {QStringLiteral("MD5"), QStringLiteral("SHA1"), QStringLiteral("SHA256"),
                  QStringLiteral("SHA512"), QStringLiteral("CRC32")})
                e->addChild(TQHelper::itemWithKey(key));
            childrenBuilt = true;
        } else if (e->isConvert()) {
            e->children.clear();
            const QString upperExt = refExt.toUpper();
            for (const QString& name :
                 {QStringLiteral("AppIcon.icns"), QStringLiteral("OSX AppIconset"),
                  QStringLiteral("iOS AppIconset"), QStringLiteral("iWatch AppIconset"),
                  QStringLiteral("Android AppIconset"), QStringLiteral("PNG"),
                  QStringLiteral("JPEG"), QStringLiteral("JP2"), QStringLiteral("TIFF"),
                  QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("PDF")}) {
                const bool merge = name == u"PDF" && selection.size() > 1;
                if (name.contains(upperExt) && !merge)
                    continue;
                TQMenuItemPtr child = TQHelper::itemWithKey(name);
                if (merge)
                    child->displayName = Localizer::text(QStringLiteral("Merge to PDF"));
                e->addChild(child);
            }
            childrenBuilt = true;
        }
        if (e->isCommonPath()) {
            e->children.clear();
            for (const TQMenuItemPtr& favourite : TQMenuManager::commonPathMenuArray()) {
                for (const TQMenuItemPtr& child :
                     TQHelper::commomPathNextMenuWithPath(favourite->path, nextMenuMode))
                    favourite->addChild(child);
                e->addChild(favourite);
            }
            childrenBuilt = true;
        } else if (e->isCommonApp()) {
            e->children.clear();
            for (const TQMenuItemPtr& app : TQMenuManager::commonAppMenuArray())
                e->addChild(app);
            childrenBuilt = true;
        } else if (e->isFolderIcon()) {
            e->children.clear();
            if (!refPath.isEmpty() && Paths::hasCustomIcon(refPath)) {
                TQMenuItemPtr recover = TQHelper::itemWithKey(QStringLiteral("Recover Icon"),
                                                              QStringLiteral("recover"));
                recover->displayName = Localizer::text(QStringLiteral("Recover"));
                e->addChild(recover);
            }
            for (const TQMenuItemPtr& icon : TQMenuManager::folderIconMenuArray())
                e->addChild(icon);
            childrenBuilt = true;
        }
        if (e->isMove() || e->isCopy() || e->isTerminalTo()) {
            e->children.clear();
            e->addChild(
                TQHelper::itemWithKey(QStringLiteral("Select Folder"), QStringLiteral("choose")));
            for (const TQMenuItemPtr& favourite : TQMenuManager::commonPathMenuArray()) {
                if (!e->isTerminalTo()) {
                    for (const TQMenuItemPtr& child :
                         TQHelper::commomPathChildFolderItemWithPath(favourite->path))
                        favourite->addChild(child);
                }
                e->addChild(favourite);
            }
            childrenBuilt = true;
        }
        if (e->isNewFile()) {
            e->children.clear();
            for (const TQMenuItemPtr& t : TQMenuManager::newFileTemplateMenuArray(false)) {
                if (hasURL || t->isNewFileFromWindow())
                    e->addChild(t);
            }
            if (m_isSelectURL && selection.size() == 1 && !refIsFolder)
                e->addChild(TQMenuItem::addToFileTemplate());
            childrenBuilt = true;
        }
        if (childrenBuilt || !e->children.isEmpty()) {
            if (!hideSetItem)
                e->addChild(TQMenuItem::setItem());
            entry.children = getSubMenuWithChildren(e->children, tag, hideSubIcons);
            entry.hasSubmenu = !entry.children.isEmpty();
        }
        menu.append(entry);
    }
    return menu;
}

QList<MenuEntry> FinderSync::getSubMenuWithChildren(const TQMenuItemList& children,
                                                    const QString& parentTag, bool hideIcons) const
{
    QList<MenuEntry> submenu;
    for (qsizetype j = 0; j < children.size() && j < MenuTag::kMaxPerLevel; ++j) {
        const TQMenuItemPtr& k = children.at(j);
        if (k->disabled || k->isAddToMainMenu)
            continue;
        MenuEntry entry;
        entry.key = k->key;
        entry.title = k->menuTitle();
        if (k->isSepLine()) {
            entry.separator = true;
            submenu.append(entry);
            continue;
        }
        if (!hideIcons)
            entry.icon = k->menuIcon();
        const QString tag = MenuTag::childTag(parentTag, j);
        entry.tag = MenuTag::value(tag);
        entry.children = getSubMenuWithChildren(k->children, tag, hideIcons);
        entry.hasSubmenu = !entry.children.isEmpty();
        submenu.append(entry);
    }
    return submenu;
}

bool FinderSync::onMenuItemAction(qint64 tag)
{
    auto context = std::make_shared<ActionContext>();
    context->rightMenuArray = m_rightMenuArray;
    context->selectPaths = selectURLs();
    context->isSelectURL = m_isSelectURL;
    context->targetPath = targetURL();
    m_rightMenuArray.clear();

    QList<int> pieces = MenuTag::decode(tag);
    if (pieces.isEmpty())
        return false;
    const int a = pieces.takeFirst();
    if (a < 1 || a > context->rightMenuArray.size())
        return false;
    const TQMenuItemPtr entry = context->rightMenuArray.at(a - 1);
    // Check the child indexes before asking for any permission: a tag that leads nowhere does
    // nothing.
    if (!entry->children.isEmpty()) {
        if (pieces.isEmpty() || pieces.first() < 1 || pieces.first() > entry->children.size())
            return false;
        const TQMenuItemPtr child = entry->children.at(pieces.first() - 1);
        if (pieces.size() > 1 && (pieces.at(1) < 1 || pieces.at(1) > child->children.size()))
            return false;
    } else if (!pieces.isEmpty()) {
        return false;
    }

    if (!entry->disabledAuth && !context->selectPaths.isEmpty()) {
        const QString folder = folderOf(context->selectPaths.first());
        TQCheckPermit::checkPermitWithPath(
            folder, [this, context, entry, pieces] { readyStart(context, entry, pieces); }, [] {});
    } else {
        readyStart(context, entry, pieces);
    }
    return true;
}

void FinderSync::readyStart(const ActionContextPtr& context, const TQMenuItemPtr& e,
                            QList<int> indexes)
{
    ActionHandlers& actions = *m_actions;
    if (!e->children.isEmpty()) {
        if (indexes.isEmpty())
            return;
        const int b = indexes.takeFirst();
        if (b < 1 || b > e->children.size())
            return;
        const TQMenuItemPtr c = e->children.at(b - 1);
        if (c->key == u"Go Set") {
            goSet();
            return;
        }
        const int o = indexes.isEmpty() ? -1 : indexes.first() - 1;
        const bool hasGrandchild = !c->children.isEmpty() && o >= 0 && o < c->children.size();
        const TQMenuItemPtr grandchild = hasGrandchild ? c->children.at(o) : TQMenuItemPtr();

        if (e->isNewFile()) {
            actions.createFileWithItem(context, c);
        } else if (e->isCommonPath()) {
            actions.openCommonPath(context, c->path, grandchild);
        } else if (e->isCommonApp()) {
            if (Strings::isValid(c->appName)) {
                c->tag = b - 1;
                actions.openWithApp(context, c, QString());
            }
        } else if (e->isFolderIcon()) {
            actions.setFolderIcon(context, c);
        } else if (e->isConvert()) {
            c->tag = b - 1;
            actions.convertItem(context, c, e);
        } else if (e->isFileInfo()) {
            c->tag = b - 1;
            actions.copyfileInfo(context, c);
        } else if (e->isCopy() || e->isMove()) {
            TQMenuItemPtr target = grandchild ? grandchild : c;
            if (!Strings::isValid(target->path))
                target = c;
            actions.moveAndCopyItem(context, target, e->isCopy());
        } else if (e->isTerminalTo()) {
            QString folder = c->path;
            if (grandchild)
                folder = Strings::isValid(grandchild->path) ? grandchild->path : c->path;
            if (!Strings::isValid(folder))
                folder = TQCheckPermit::selectFolderWithPrompt(QString()).value_or(QString());
            if (Strings::isValid(folder))
                actions.openServe(context, e->serve, folder);
        }
    } else if (Strings::isValid(e->appName)) {
        actions.openWithApp(context, e, QString());
    } else if (Strings::isValid(e->serve)) {
        actions.openServe(context, e->serve, QString());
    } else if (e->key == u"Delete") {
        actions.deletePath(context);
    } else if (e->key == u"Copy Path") {
        actions.copyPath(context);
    } else if (e->key == u"System Hide Files") {
        actions.showSystemFiles(context, e);
    } else if (e->isShowHideFile) {
        actions.hideAndShowFiles(context, e);
    } else if (e->isLockUnlock()) {
        actions.lockUnlockFiles(context, e);
    } else if (e->isCutPaste()) {
        actions.cutPasteItem(context, e);
    } else if (e->isMainMenuNewFile) {
        actions.createFileWithItem(context, e);
    } else if (e->isCompress()) {
        actions.encryptedCompress(context, e);
    } else if (e->isEmbedFolder()) {
        actions.embedFolder(context);
    } else if (e->isUnembedFolder()) {
        actions.unembedFolder(context);
    } else if (e->isColorPicker()) {
        actions.startColorPicker(context);
    } else if (e->isExecuteScript()) {
        actions.executeScript(context);
    } else if (e->isExtractIcon()) {
        actions.extractIcon(context);
    }
    _useSuccess(e);
}

void FinderSync::_useSuccess(const TQMenuItemPtr& entry)
{
    qint64 useCount = 0;
    bool reviewed = false;
    TQMenuManager::sharedDefaults().update([&](Value& root) {
        if (!entry->key.isEmpty())
            root.insert(entry->key, root.value(entry->key).asInteger() + 1);
        useCount = root.value(StoreKey::useCount).asInteger() + 1;
        root.insert(StoreKey::useCount, useCount);
        reviewed = root.value(StoreKey::isReviewed).readBool(false);
    });
    if (useCount % 30 == 3 && !reviewed)
        Dispatch::enterForegroundWithDelay(3, [this] { showReviewInvitation(); });
}

void FinderSync::showReviewInvitation()
{
    AlertRequest request;
    request.message = Localizer::text(QStringLiteral("Review Tip"));
    request.buttons = {Localizer::text(QStringLiteral("Go Review")),
                       Localizer::text(QStringLiteral("Next Time"))};
    if (Prompter::instance()->alert(request) == kAlertFirstButton)
        goReview();
}

void FinderSync::goSet()
{
    TQMenuManager::openMainApp();
}

void FinderSync::goReview()
{
    Strings::openURL(QUrl(QStringLiteral(PALLSTONE_HOMEPAGE)));
    TQMenuManager::sharedDefaults().setObject(true, StoreKey::isReviewed);
}

} // namespace pallstone
