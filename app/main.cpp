#include "AboutDialog.h"
#include "AppDelegate.h"
#include "ConfigChangeRelay.h"
#include "ConfigManagerWindow.h"
#include "ExtensionManagementWindow.h"
#include "FileName.h"
#include "FolderIconDesigner.h"
#include "FolderIconPage.h"
#include "Localizer.h"
#include "MainMenuPage.h"
#include "MainWindow.h"
#include "NewFilePage.h"
#include "PreferencesPage.h"
#include "ProfileCommand.h"
#include "ReorderTable.h"
#include "Seams.h"
#include "SetupCommand.h"
#include "TemplateDialog.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QListView>
#include <QStackedWidget>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kBusName = QStringLiteral("com.tolvane.pallstone");
const QString kObjectPath = QStringLiteral("/com/tolvane/pallstone/App");

void describeProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("pallstone"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("tolvane.com"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PALLSTONE_VERSION));
}

int usage(QTextStream& stream, int code)
{
    stream << "usage: pallstone                 open the settings window\n"
              "       pallstone setup           create or upgrade the configuration and show what "
              "it holds\n"
              "       pallstone --screenshot FILE --screenshot-tab N [--size WxH] [--designer]\n"
              "                                 save an image of one tab of the window (or of the\n"
              "                                 folder icon designer) and exit\n"
              "       pallstone --screenshot FILE --screenshot-profiles [--size WxH]\n"
              "                                 save an image of the profiles window and exit\n"
              "       pallstone --screenshot FILE --screenshot-window NAME\n"
              "                                 save an image of one window and exit: template\n"
              "                                 (the new file type), alert, about, extensions\n";
    pallstone::ProfileCommand::describe(stream);
    return code;
}

// The commands that need no window run without a display.
int runHeadless(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    describeProgram();
    pallstone::Localizer::install(QStringLiteral("pallstone"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = pallstone::FileName::arguments(argc, argv);
    if (args.value(0) == u"setup")
        return pallstone::SetupCommand::run(out, err);
    if (args.value(0) == u"profile")
        return pallstone::ProfileCommand::run(args.mid(1), out, err);
    if (args.value(0) == u"--version") {
        out << "pallstone " << PALLSTONE_VERSION << '\n';
        return 0;
    }
    // Asked for, the help is the answer and goes where answers go; after a wrong command it
    // explains the error.
    if (args.value(0) == u"--help" || args.value(0) == u"-h")
        return usage(out, 0);
    return usage(err, 2);
}

int takeScreenshot(pallstone::AppDelegate& delegate, const QStringList& args, QTextStream& err)
{
    const QString file = args.value(args.indexOf(u"--screenshot"_s) + 1);
    const bool profiles = args.contains(u"--screenshot-profiles"_s);
    const QString window = args.contains(u"--screenshot-window"_s)
                               ? args.value(args.indexOf(u"--screenshot-window"_s) + 1)
                               : QString();
    const QStringList windows = {u"template"_s, u"alert"_s, u"about"_s, u"extensions"_s};
    if (!window.isEmpty() && !windows.contains(window))
        return usage(err, 2);
    bool ok = profiles || !window.isEmpty();
    const int tab = profiles                  ? int(pallstone::AppDelegate::PreferencesTab)
                    : window == u"template"_s ? int(pallstone::AppDelegate::NewFileTab)
                    : !window.isEmpty()
                        ? int(pallstone::AppDelegate::GeneralTab)
                        : args.value(args.indexOf(u"--screenshot-tab"_s) + 1).toInt(&ok);
    if (file.isEmpty() || !ok || tab < 0 || tab >= pallstone::AppDelegate::TabCount)
        return usage(err, 2);
    QSize size(1280, 800);
    if (args.contains(u"--size"_s)) {
        const QStringList parts = args.value(args.indexOf(u"--size"_s) + 1).split(u'x');
        size = QSize(parts.value(0).toInt(), parts.value(1).toInt());
        if (size.isEmpty())
            return usage(err, 2);
    }
    delegate.setChecksExtension(false);
    delegate.selectTab(tab);
    delegate.window()->resize(size);
    delegate.openWindow();
    QWidget* shown = delegate.window();
    // The alert is modal: it is found once it is up.
    std::function<QWidget*()> find;
    if (window == u"template"_s) {
        delegate.newFileViewCtl()->onAdd();
        shown = delegate.newFileViewCtl()->addFileWinCtl();
    } else if (window == u"about"_s) {
        delegate.onAbout();
        shown = delegate.aboutDialog();
    } else if (window == u"extensions"_s) {
        delegate.showExtensionManagementInterface();
        shown = delegate.extensionManagementWindow();
    } else if (window == u"alert"_s) {
        QTimer::singleShot(0, &delegate, [&delegate] { delegate.generalViewCtl()->onRecover(); });
        find = [] {
            const auto widgets = QApplication::topLevelWidgets();
            for (QWidget* widget : widgets) {
                if (widget->isVisible() && widget->objectName() == u"alert")
                    return widget;
            }
            return static_cast<QWidget*>(nullptr);
        };
    }
    if (window.isEmpty() && tab == pallstone::AppDelegate::GeneralTab) {
        // A selected row, as the person sees it while working.
        delegate.generalViewCtl()->selectRow(1);
        delegate.generalViewCtl()->tableView()->setFocus();
    }
    if (profiles) {
        shown = delegate.preferenceViewCtl()->onConfigManager();
        shown->resize(size);
    } else if (args.contains(u"--designer"_s)) {
        pallstone::FolderIconPage* page = delegate.folderIconViewCtl();
        page->onAddMake();
        pallstone::FolderIconDesigner* designer = page->addIconWinCtl();
        // Something to see: a tint, and a symbol (the star where the font names one).
        designer->setFolderColor(pallstone::FolderIconDesigner::swatches().at(5).tint);
        const pallstone::GlyphModel* glyphs = designer->glyphModel();
        int row = 0;
        for (int i = 0; i < glyphs->rowCount(); ++i) {
            if (glyphs->font().glyphName(glyphs->glyphAt(i)) == u"star") {
                row = i;
                break;
            }
        }
        designer->collectionView()->setCurrentIndex(glyphs->index(row));
        shown = designer;
    }
    // Let the window get its size and paint before it is grabbed.
    QTimer::singleShot(600, &delegate, [shown, find, file, &err] {
        QWidget* target = find ? find() : shown;
        if (!target || !target->grab().save(file, "PNG")) {
            err << "pallstone: cannot write " << file << '\n';
            QCoreApplication::exit(1);
            return;
        }
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

bool hasPlugin(const QString& relative)
{
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + u'/' + relative);
}

// The desktop's own look and dialogs. A desktop session: the desktop's file dialogs through the
// XDG desktop portal where its Qt theme is installed and the desktop does not bring a Qt theme of
// its own (Plasma does). A plain X session names no desktop and has no portal: the GTK theme's
// colours, fonts and icons where Qt's GTK theme is installed (qt6-gtk-platformtheme), else Breeze
// where it is installed, rather than Qt's own Fusion. A theme or style the person chose is left
// alone.
void followTheDesktop()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME"))
        return;
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (desktop.contains(u"KDE"_s, Qt::CaseInsensitive))
        return;
    if (desktop.isEmpty()) {
        if (hasPlugin(u"platformthemes/libqgtk3.so"_s))
            qputenv("QT_QPA_PLATFORMTHEME", "gtk3");
        else if (qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE") &&
                 hasPlugin(u"styles/breeze6.so"_s))
            qputenv("QT_STYLE_OVERRIDE", "Breeze");
        return;
    }
    if (hasPlugin(u"platformthemes/libqxdgdesktopportal.so"_s))
        qputenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal");
}

} // namespace

int main(int argc, char* argv[])
{
    const bool windowed = argc < 2 || std::strncmp(argv[1], "--screenshot", 12) == 0;
    if (!windowed)
        return runHeadless(argc, argv);
    if (argc < 2)
        followTheDesktop();

    QApplication app(argc, argv);
    describeProgram();
    pallstone::Localizer::install(QStringLiteral("pallstone"));
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const std::unique_ptr<pallstone::Seams> seams = pallstone::Seams::installReal();

    if (!args.isEmpty()) {
        pallstone::AppDelegate delegate;
        return takeScreenshot(delegate, args, err);
    }

    // One settings application per session: a second start brings the first one's window up.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && !bus.registerService(kBusName)) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kBusName, kObjectPath, QStringLiteral("com.tolvane.pallstone.App"),
            QStringLiteral("openWindow"));
        if (bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage)
            return 0;
    }
    pallstone::AppDelegate delegate;
    pallstone::ConfigChangeRelay relay;
    if (bus.isConnected()) {
        bus.registerObject(kObjectPath, &delegate, QDBusConnection::ExportScriptableSlots);
        bus.registerObject(pallstone::ConfigChangeRelay::kObjectPath, &relay,
                           QDBusConnection::ExportScriptableSlots);
    }
    delegate.openWindow();
    return QApplication::exec();
}
