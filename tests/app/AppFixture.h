#pragma once

#include "Clipboard.h"
#include "DefaultCatalogue.h"
#include "ExtensionManager.h"
#include "Launcher.h"
#include "Localizer.h"
#include "MenuStore.h"
#include "Prompter.h"
#include "Services.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>

// A private home with a fresh store, and seams that answer prompts from a script and record what
// was shown, launched or copied. Construct it before anything touches the store.
class AppFixture
{
public:
    AppFixture()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        qputenv("XDG_DATA_HOME",
                QFile::encodeName(m_home.filePath(QStringLiteral(".local/share"))));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".cache"))));
        pallstone::Localizer::install(QStringLiteral("pallstone"), QLocale(QLocale::English));
        pallstone::Prompter::setInstance(&prompter);
        pallstone::Services::setLauncher(&launcher);
        pallstone::Services::setClipboard(&clipboard);
        pallstone::ExtensionManager::setStateProbe([this] {
            using State = pallstone::ExtensionManager::State;
            if (extensionEnabled)
                return State::Active;
            return bridgeSwitchedOff ? State::SwitchedOff : State::NotInstalled;
        });
    }
    ~AppFixture()
    {
        pallstone::Prompter::setInstance(nullptr);
        pallstone::Services::setLauncher(nullptr);
        pallstone::Services::setClipboard(nullptr);
        pallstone::ExtensionManager::setStateProbe({});
    }

    // The default configuration, as the first start of the settings application leaves it.
    void reset()
    {
        QFile::remove(pallstone::MenuStore::sharedStorePath());
        pallstone::MenuStore::sharedDefaults().reload();
        pallstone::MenuStore::setProgram(pallstone::MenuStore::Program::Settings);
        pallstone::DefaultCatalogue::setup();
        prompter.alerts.clear();
        prompter.alertAnswers.clear();
        prompter.names.clear();
        prompter.paths.clear();
        prompter.nameRequests = 0;
        launcher.opened.clear();
        launcher.commands.clear();
        clipboard.texts.clear();
        extensionEnabled = true;
        bridgeSwitchedOff = false;
    }

    static pallstone::Value list(const QString& key)
    {
        return pallstone::MenuStore::sharedDefaults().object(key);
    }
    static QStringList keys(const QString& listKey)
    {
        QStringList result;
        for (const pallstone::Value& record : list(listKey).list())
            result.append(record.value(QStringLiteral("key")).string());
        return result;
    }
    static pallstone::Value record(const QString& listKey, const QString& key)
    {
        for (const pallstone::Value& r : list(listKey).list()) {
            if (r.value(QStringLiteral("key")).string() == key)
                return r;
        }
        return {};
    }

    QString home() const { return m_home.path(); }
    QString mkdir(const QString& relative)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(path);
        return path;
    }

    struct Prompts final : pallstone::Prompter
    {
        QList<pallstone::AlertRequest> alerts;
        std::deque<int> alertAnswers; // empty: the first button
        std::deque<std::optional<QString>> names;
        std::deque<std::optional<QStringList>> paths;
        int nameRequests = 0;

        QStringList informatives() const
        {
            QStringList texts;
            for (const pallstone::AlertRequest& a : alerts)
                texts.append(a.informative);
            return texts;
        }
        int alert(const pallstone::AlertRequest& r) override
        {
            alerts.append(r);
            if (alertAnswers.empty())
                return pallstone::kAlertFirstButton;
            const int answer = alertAnswers.front();
            alertAnswers.pop_front();
            return answer;
        }
        std::optional<pallstone::SavePanelResult>
        savePanel(const pallstone::SavePanelRequest&) override
        {
            return std::nullopt;
        }
        std::optional<QStringList> openPanel(const pallstone::OpenPanelRequest&) override
        {
            if (paths.empty())
                return std::nullopt;
            auto answer = paths.front();
            paths.pop_front();
            return answer;
        }
        std::optional<QString> askName(const pallstone::NameRequest&) override
        {
            ++nameRequests;
            if (names.empty())
                return std::nullopt;
            auto answer = names.front();
            names.pop_front();
            return answer;
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
        QList<QUrl> opened;
        QList<QStringList> commands;
        bool openWithApplication(const QString&, const QStringList&) override { return false; }
        bool openTerminal(const QString&, TerminalMode, bool) override { return false; }
        bool openDefault(const QUrl& url) override
        {
            opened.append(url);
            return true;
        }
        bool revealInFileManager(const QStringList&) override { return false; }
        bool runCommand(const QStringList& argv, const QString&) override
        {
            commands.append(argv);
            return true;
        }
        bool launchSettingsApplication() override { return false; }
    } launcher;

    struct Copies final : pallstone::Clipboard
    {
        QStringList texts;
        bool setText(const QString& text) override
        {
            texts.append(text);
            return true;
        }
        QString text() const override { return texts.value(texts.size() - 1); }
    } clipboard;

    bool extensionEnabled = true;
    bool bridgeSwitchedOff = false; // with extensionEnabled false: installed but switched off

private:
    QTemporaryDir m_home;
};
