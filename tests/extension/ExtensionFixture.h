#pragma once

#include "ActionTable.h"
#include "Clipboard.h"
#include "ContextMenuService.h"
#include "DefaultCatalogue.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "Services.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A private home with a seeded store, and seams that record instead of showing or launching.
class ExtensionFixture
{
public:
    ExtensionFixture()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME",
                QFile::encodeName(m_home.filePath(QStringLiteral(".local/share"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".cache"))));
        // Only the applications a test installs; the folder exists before GIO first looks, so
        // that its monitor sees an entry written later at once.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_home.filePath(QStringLiteral("system"))));
        QDir().mkpath(m_home.filePath(QStringLiteral(".local/share/applications")));
        pallstone::Localizer::install(QStringLiteral("pallstone-extension"),
                                      QLocale(QLocale::English));
        pallstone::Prompter::setInstance(&prompter);
        pallstone::Services::setLauncher(&launcher);
        pallstone::Services::setClipboard(&clipboard);
    }
    ~ExtensionFixture()
    {
        pallstone::Prompter::setInstance(nullptr);
        pallstone::Services::setLauncher(nullptr);
        pallstone::Services::setClipboard(nullptr);
    }

    // The default configuration, as a first run of the settings application leaves it.
    void reset()
    {
        QFile::remove(pallstone::MenuStore::sharedStorePath());
        pallstone::MenuStore::sharedDefaults().reload();
        pallstone::MenuStore::setProgram(pallstone::MenuStore::Program::Settings);
        pallstone::DefaultCatalogue::setup();
        pallstone::MenuStore::setProgram(pallstone::MenuStore::Program::Extension);
        prompter.alerts.clear();
        prompter.openPanels.clear();
        prompter.nextPaths.reset();
        launcher.settingsLaunches = 0;
        launcher.terminals.clear();
        launcher.terminalKinds.clear();
        clipboard.contents.clear();
    }

    QString mkdir(const QString& relative)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(path);
        return path;
    }
    // A desktop entry for the application, as a package would install it.
    void installApplication(const QString& id, const QString& name)
    {
        QFile f(m_home.filePath(QStringLiteral(".local/share/applications/") + id +
                                QStringLiteral(".desktop")));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write a desktop entry");
        f.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                "\nExec=/bin/true %F\n");
    }
    QString touch(const QString& relative)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return path;
    }

    struct Prompts final : pallstone::Prompter
    {
        QList<pallstone::AlertRequest> alerts;
        QList<pallstone::OpenPanelRequest> openPanels;
        int alertAnswer = pallstone::kAlertSecondButton;
        std::optional<QStringList> nextPaths;

        int alert(const pallstone::AlertRequest& r) override
        {
            alerts.append(r);
            return alertAnswer;
        }
        std::optional<pallstone::SavePanelResult>
        savePanel(const pallstone::SavePanelRequest&) override
        {
            return std::nullopt;
        }
        std::optional<QStringList> openPanel(const pallstone::OpenPanelRequest& r) override
        {
            openPanels.append(r);
            return nextPaths;
        }
        std::optional<QString> askName(const pallstone::NameRequest&) override
        {
            return std::nullopt;
        }
        std::optional<pallstone::EmbedResult> askEmbed(const pallstone::EmbedRequest&) override
        {
            return std::nullopt;
        }
        pallstone::ColorPick pickColor(const pallstone::ColorPickRequest&) override { return {}; }
        std::optional<qsizetype> choosePaletteRow(const pallstone::PaletteRequest&) override
        {
            return std::nullopt;
        }
        void progress(const pallstone::ProgressEvent&) override {}
    } prompter;

    struct Launches final : pallstone::Launcher
    {
        int settingsLaunches = 0;
        QList<QUrl> opened;
        QStringList terminals;     // the folders terminals were opened in
        QStringList terminalKinds; // "window" or "tab", then "second" for the second terminal
        bool openWithApplication(const QString&, const QStringList&) override { return false; }
        bool openTerminal(const QString& folder, TerminalMode mode, bool second) override
        {
            terminals.append(folder);
            terminalKinds.append(QString::fromLatin1(mode == TerminalMode::Tab ? "tab" : "window") +
                                 QString::fromLatin1(second ? " second" : ""));
            return true;
        }
        bool openDefault(const QUrl& url) override
        {
            opened.append(url);
            return true;
        }
        bool revealInFileManager(const QStringList&) override { return false; }
        bool runCommand(const QStringList&, const QString&) override { return false; }
        bool launchSettingsApplication() override
        {
            ++settingsLaunches;
            return true;
        }
    } launcher;

    struct Board final : pallstone::Clipboard
    {
        QString contents;
        bool setText(const QString& text) override
        {
            contents = text;
            return true;
        }
        QString text() const override { return contents; }
    } clipboard;

    QString home() const { return m_home.path(); }

    static void setCommonPaths(const QStringList& paths)
    {
        pallstone::Value list = pallstone::Value::array();
        for (const QString& p : paths) {
            pallstone::Value record = pallstone::Value::dictionary();
            record.insert(QStringLiteral("path"), p);
            list.append(record);
        }
        pallstone::MenuStore::sharedDefaults().setObject(list, pallstone::StoreKey::commonPath);
    }
    // The "Open With" list, by application name.
    static void setApplications(const QStringList& names)
    {
        pallstone::Value list = pallstone::Value::array();
        for (const QString& name : names) {
            pallstone::Value record = pallstone::Value::dictionary();
            record.insert(QStringLiteral("key"), name);
            list.append(record);
        }
        pallstone::MenuStore::sharedDefaults().setObject(list, pallstone::StoreKey::commonApp);
    }

private:
    QTemporaryDir m_home;
};

// Asks for menus as a file manager's bridge does, and keeps the last one to choose from.
struct MenuSession
{
    pallstone::ContextMenuService service;
    pallstone::MenuRequest request;
    pallstone::Menu menu;

    MenuSession() { service.setupDirectoryURLs(); }

    pallstone::BuiltMenu items(const QStringList& paths)
    {
        return ask({pallstone::MenuKind::Items, paths, QFileInfo(paths.first()).absolutePath()});
    }
    pallstone::BuiltMenu background(const QString& folder)
    {
        return ask({pallstone::MenuKind::Background, {}, folder});
    }
    pallstone::BuiltMenu ask(const pallstone::MenuRequest& r)
    {
        request = r;
        menu = service.menuFor(request);
        return menu.entries;
    }
    bool perform(qint64 tag) const
    {
        return pallstone::ContextMenuService::perform(request, menu, tag);
    }
};

// Records the contexts the "Copy Path" row is run with, instead of copying.
struct RecordedCopyPath
{
    QList<pallstone::ActionContextPtr> contexts;
    pallstone::ActionTable::Override override{
        QStringLiteral("Copy Path"),
        [this](const pallstone::ActionCall& call) { contexts.append(call.context); }};
};
