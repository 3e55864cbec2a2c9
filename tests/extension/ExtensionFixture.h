#pragma once

#include "ActionHandlers.h"
#include "FinderSync.h"
#include "FinderSyncController.h"
#include "Launcher.h"
#include "Localizer.h"
#include "Prompter.h"
#include "Services.h"
#include "TQDefaultData.h"
#include "TQMenuManager.h"

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
        pallstone::Localizer::install(QStringLiteral("pallstone-extension"),
                                      QLocale(QLocale::English));
        pallstone::Prompter::setInstance(&prompter);
        pallstone::Services::setLauncher(&launcher);
    }
    ~ExtensionFixture()
    {
        pallstone::Prompter::setInstance(nullptr);
        pallstone::Services::setLauncher(nullptr);
    }

    // The default configuration, as a first run of the settings application leaves it.
    void reset()
    {
        QFile::remove(pallstone::TQMenuManager::sharedStorePath());
        pallstone::TQMenuManager::sharedDefaults().reload();
        pallstone::TQMenuManager::setProgram(pallstone::TQMenuManager::Program::Settings);
        pallstone::TQDefaultData::setup();
        pallstone::TQMenuManager::setProgram(pallstone::TQMenuManager::Program::Extension);
        prompter.alerts.clear();
        prompter.openPanels.clear();
        prompter.nextPaths.reset();
        launcher.settingsLaunches = 0;
    }

    QString mkdir(const QString& relative)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(path);
        return path;
    }
    QString touch(const QString& relative)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
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
        std::optional<QColor> pickColor() override { return std::nullopt; }
        void progress(const pallstone::ProgressEvent&) override {}
    } prompter;

    struct Launches final : pallstone::Launcher
    {
        int settingsLaunches = 0;
        QList<QUrl> opened;
        bool openWithApplication(const QString&, const QStringList&) override { return false; }
        bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
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

    QString home() const { return m_home.path(); }

    static void setCommonPaths(const QStringList& paths)
    {
        pallstone::Value list = pallstone::Value::array();
        for (const QString& p : paths) {
            pallstone::Value record = pallstone::Value::dictionary();
            record.insert(QStringLiteral("path"), p);
            list.append(record);
        }
        pallstone::TQMenuManager::sharedDefaults().setObject(list, pallstone::StoreKey::commonPath);
    }

private:
    QTemporaryDir m_home;
};

// Remembers which handler the dispatch called, with what.
struct RecordingActions final : pallstone::ActionHandlers
{
    struct Call
    {
        QString handler;
        QString key;  // the item handed over, if any
        QString path; // the path handed over, if any
        pallstone::ActionContextPtr context;
    };
    QList<Call> calls;

    void record(const QString& h, const pallstone::ActionContextPtr& c,
                const pallstone::TQMenuItemPtr& item = {}, const QString& path = {})
    {
        calls.append({h, item ? item->key : QString(), path, c});
    }
    void createFileWithItem(const pallstone::ActionContextPtr& c,
                            const pallstone::TQMenuItemPtr& i) override
    {
        record(QStringLiteral("createFileWithItem"), c, i);
    }
    void openCommonPath(const pallstone::ActionContextPtr& c, const QString& p,
                        const pallstone::TQMenuItemPtr& i) override
    {
        record(QStringLiteral("openCommonPath"), c, i, p);
    }
    void openWithApp(const pallstone::ActionContextPtr& c, const pallstone::TQMenuItemPtr& i,
                     const QString& p) override
    {
        record(QStringLiteral("openWithApp"), c, i, p);
    }
    void openServe(const pallstone::ActionContextPtr& c, const QString& serve,
                   const QString& p) override
    {
        calls.append({QStringLiteral("openServe"), serve, p, c});
    }
    void moveAndCopyItem(const pallstone::ActionContextPtr& c, const pallstone::TQMenuItemPtr& i,
                         bool isCopy) override
    {
        record(isCopy ? QStringLiteral("copy") : QStringLiteral("move"), c, i, i->path);
    }
    void copyPath(const pallstone::ActionContextPtr& c) override
    {
        record(QStringLiteral("copyPath"), c);
    }
    void copyfileInfo(const pallstone::ActionContextPtr& c,
                      const pallstone::TQMenuItemPtr& i) override
    {
        record(QStringLiteral("copyfileInfo"), c, i);
    }
};
