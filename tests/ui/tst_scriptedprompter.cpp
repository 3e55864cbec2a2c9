#include "ScriptedPrompter.h"
#include "Seams.h"
#include "Transcript.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace pallstone;

namespace {

QJsonArray script(const char* json)
{
    return QJsonDocument::fromJson(QByteArray(json)).array();
}

} // namespace

class TestScriptedPrompter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    // Shows one prompt of the named kind and says whether it was answered (not cancelled).
    bool showPrompt(Prompter& prompter, const QString& kind)
    {
        if (kind == QLatin1String("alert"))
            return prompter.alert({AlertRequest::Style::Warning,
                                   QStringLiteral("Replace?"),
                                   {},
                                   {QStringLiteral("Replace"), QStringLiteral("Cancel")},
                                   {}}) != kAlertDismissed;
        if (kind == QLatin1String("save")) {
            SavePanelRequest request;
            return prompter.savePanel(request).has_value();
        }
        if (kind == QLatin1String("save-password")) {
            SavePanelRequest request;
            request.accessory = SavePanelRequest::Accessory::Password;
            return prompter.savePanel(request).has_value();
        }
        if (kind == QLatin1String("save-type")) {
            SavePanelRequest request;
            request.accessory = SavePanelRequest::Accessory::TypeChooser;
            request.types = {QStringLiteral("PNG"), QStringLiteral("JPEG")};
            return prompter.savePanel(request).has_value();
        }
        if (kind == QLatin1String("open")) {
            OpenPanelRequest request; // one file
            return prompter.openPanel(request).has_value();
        }
        if (kind == QLatin1String("name")) {
            NameRequest request;
            request.required = true;
            return prompter.askName(request).has_value();
        }
        if (kind == QLatin1String("embed"))
            return prompter.askEmbed({QStringLiteral("Folder"), 0}).has_value();
        if (kind == QLatin1String("color"))
            return prompter.pickColor({}).status == ColorPick::Status::Picked;
        qFatal("unknown prompt kind");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("notes.txt"));
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void answersAreTakenInOrderAndFitTheirPrompts()
    {
        Transcript transcript;
        const QString answers =
            QStringLiteral(R"([{"button": 1001}, {"path": "/tmp/x/../out.zip", "password": "p w"},
               {"type": 1, "path": "/tmp/a.jpg"}, {"paths": ["%1"]}, {"text": " name "},
               {"mode": 1}, {"color": "#12ab9F"}, {"cancel": true}])")
                .arg(m_file);
        ScriptedPrompter prompter(QJsonDocument::fromJson(answers.toUtf8()).array(), &transcript);

        QCOMPARE(prompter.alert({AlertRequest::Style::Critical,
                                 QStringLiteral("m"),
                                 {},
                                 {QStringLiteral("A"), QStringLiteral("B")},
                                 {}}),
                 kAlertSecondButton);
        SavePanelRequest zip;
        zip.accessory = SavePanelRequest::Accessory::Password;
        const auto saved = prompter.savePanel(zip);
        QVERIFY(saved);
        QCOMPARE(saved->path, QStringLiteral("/tmp/out.zip"));
        QCOMPARE(saved->password, QStringLiteral("p w"));
        SavePanelRequest image;
        image.accessory = SavePanelRequest::Accessory::TypeChooser;
        image.types = {QStringLiteral("PNG"), QStringLiteral("JPEG")};
        QCOMPARE(prompter.savePanel(image)->type, 1);
        QCOMPARE(prompter.openPanel({}), QStringList{m_file});
        QCOMPARE(prompter.askName({}), QStringLiteral(" name "));
        const auto embed = prompter.askEmbed({QStringLiteral("Proposed"), 0});
        QVERIFY(embed);
        QCOMPARE(embed->name, QStringLiteral("Proposed")); // left out: the proposal stays
        QCOMPARE(embed->mode, 1);
        QCOMPARE(prompter.pickColor({}).color, QColor(0x12, 0xab, 0x9f));
        QCOMPARE(prompter.alert({}), kAlertDismissed); // {"cancel": true}

        QVERIFY2(!prompter.hasError(), qPrintable(prompter.errors().join(u'\n')));
        QCOMPARE(prompter.remainingAnswers(), 0);
        QStringList kinds;
        const auto events = transcript.events();
        for (const QJsonObject& event : events)
            kinds << event.value(QStringLiteral("event")).toString() + u':' +
                         event.value(QStringLiteral("kind")).toString();
        QCOMPARE(kinds,
                 (QStringList{"alert:", "panel:save", "panel:save", "panel:open", "panel:name",
                              "panel:embed", "panel:color", "color:", "alert:"}));
    }

    void answerThatDoesNotFitIsAnErrorAndReadsAsCancel_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("reason");
        const QString file = m_file;
        QTest::newRow("keys of another window") << "alert"
                                                << R"({"paths": ["/tmp"]})"
                                                << "unexpected key";
        QTest::newRow("button not shown") << "alert"
                                          << R"({"button": 1002})"
                                          << "1000 to 1001";
        QTest::newRow("button below range") << "alert"
                                            << R"({"button": 0})"
                                            << "1000 to 1001";
        QTest::newRow("button as text") << "alert"
                                        << R"({"button": "1000"})"
                                        << "1000 to 1001";
        QTest::newRow("relative save path") << "save"
                                            << R"({"path": "out.zip"})"
                                            << "absolute";
        QTest::newRow("save panel without path") << "save"
                                                 << R"({})"
                                                 << "absolute";
        QTest::newRow("password without its field") << "save"
                                                    << R"({"path": "/tmp/a", "password": "x"})"
                                                    << "unexpected key";
        QTest::newRow("type on a password panel") << "save-password"
                                                  << R"({"path": "/tmp/a", "type": 0})"
                                                  << "unexpected key";
        QTest::newRow("type out of range") << "save-type"
                                           << R"({"path": "/tmp/a", "type": 2})"
                                           << "0 to 1";
        QTest::newRow("negative type") << "save-type"
                                       << R"({"path": "/tmp/a", "type": -1})"
                                       << "0 to 1";
        QTest::newRow("relative open path") << "open"
                                            << R"({"paths": ["notes.txt"]})"
                                            << "absolute";
        QTest::newRow("two items for a single choice")
            << "open" << QStringLiteral(R"({"paths": ["%1", "%1"]})").arg(file) << "one item";
        QTest::newRow("missing item") << "open"
                                      << R"({"paths": ["/nonexistent/x"]})"
                                      << "does not exist";
        QTest::newRow("folder for a file panel") << "open"
                                                 << R"({"paths": ["/tmp"]})"
                                                 << "folders";
        QTest::newRow("blank required name") << "name"
                                             << R"({"text": "  "})"
                                             << "blank";
        QTest::newRow("embed mode out of range") << "embed"
                                                 << R"({"mode": 2})"
                                                 << "0 or 1";
        QTest::newRow("embed blank name") << "embed"
                                          << R"({"name": ""})"
                                          << "blank";
        QTest::newRow("colour by name") << "color"
                                        << R"({"color": "red"})"
                                        << "#RRGGBB";
        QTest::newRow("colour component above 1") << "color"
                                                  << R"({"rgb": [1, 0.5, 1.5]})"
                                                  << "from 0 to 1";
        QTest::newRow("colour with two components") << "color"
                                                    << R"({"rgb": [1, 0.5]})"
                                                    << "three numbers";
        QTest::newRow("not an object") << "alert"
                                       << "1000"
                                       << "JSON object";
        QTest::newRow("cancel false") << "alert"
                                      << R"({"cancel": false})"
                                      << "cancel";
        QTest::newRow("progress cancel at a prompt") << "alert"
                                                     << R"({"progress": "cancel"})"
                                                     << "unexpected key";
    }

    void answerThatDoesNotFitIsAnErrorAndReadsAsCancel()
    {
        QFETCH(QString, kind);
        QFETCH(QString, answer);
        QFETCH(QString, reason);
        Transcript transcript;
        ScriptedPrompter prompter(
            QJsonDocument::fromJson(
                (u'[' + answer + QStringLiteral(", {\"button\": 1000}]")).toUtf8())
                .array(),
            &transcript);
        QVERIFY(!showPrompt(prompter, kind));
        QCOMPARE(prompter.errors().size(), 1);
        QVERIFY2(prompter.errors().constFirst().contains(reason),
                 qPrintable(prompter.errors().constFirst()));
        // The prompt was still shown, and the script, now out of step, answers nothing more.
        QCOMPARE(transcript.events().size(), 1);
        QVERIFY(!showPrompt(prompter, QStringLiteral("alert")));
        QCOMPARE(prompter.errors().size(), 1);
        QCOMPARE(prompter.remainingAnswers(), 1);
    }

    void everyPromptCanBeCancelledAndRunningOutIsAnError_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"alert", "save", "save-type", "open", "name", "embed", "color"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void everyPromptCanBeCancelledAndRunningOutIsAnError()
    {
        QFETCH(QString, kind);
        ScriptedPrompter prompter(script(R"([{"cancel": true}])"), nullptr);
        QVERIFY(!showPrompt(prompter, kind));
        QVERIFY(!prompter.hasError());
        QVERIFY(!showPrompt(prompter, kind));
        QCOMPARE(prompter.errors().size(), 1);
        QVERIFY(prompter.errors().constFirst().contains(QStringLiteral("no answer left")));
    }

    void transcriptLinesAreJsonWithTheShownFields()
    {
        const QString path = m_dir.filePath(QStringLiteral("transcript.jsonl"));
        Transcript transcript;
        QVERIFY(transcript.open(path));
        ScriptedPrompter prompter(script(R"([{"button": 1000}, {"path": "/tmp/a.png"}])"),
                                  &transcript);
        const QString odd = QStringLiteral("a \"quoted\"\nline $(x) `y`");
        prompter.alert({AlertRequest::Style::Critical, odd, QStringLiteral("info"), {}, {}});
        SavePanelRequest request;
        request.accessory = SavePanelRequest::Accessory::TypeChooser;
        request.types = {QStringLiteral("PNG")};
        request.fileName = QStringLiteral("a.png");
        prompter.savePanel(request);
        prompter.progress({ProgressEvent::State::Percent, 42.5, {}, {}, {}});
        transcript.recordLaunch({QStringLiteral("xterm")}, QStringLiteral("/tmp"));

        // Read back from the file while the transcript is still open: every line is on disk.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 5); // four lines and the final line break
        QCOMPARE(lines.last(), QByteArray());
        QList<QJsonObject> events;
        for (qsizetype i = 0; i < 4; ++i) {
            QJsonParseError error;
            events << QJsonDocument::fromJson(lines.at(i), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
        }
        QCOMPARE(events[0].value("event").toString(), QStringLiteral("alert"));
        QCOMPARE(events[0].value("style").toString(), QStringLiteral("critical"));
        QCOMPARE(events[0].value("message").toString(), odd);
        QCOMPARE(events[0].value("informative").toString(), QStringLiteral("info"));
        QCOMPARE(events[0].value("buttons").toArray(), QJsonArray());
        QCOMPARE(events[1].value("kind").toString(), QStringLiteral("save"));
        QCOMPARE(events[1].value("accessory").toString(), QStringLiteral("type"));
        QCOMPARE(events[1].value("types").toArray(), QJsonArray{QStringLiteral("PNG")});
        QCOMPARE(events[1].value("fileName").toString(), QStringLiteral("a.png"));
        QCOMPARE(events[2].value("state").toString(), QStringLiteral("percent"));
        QCOMPARE(events[2].value("percent").toDouble(), 42.5);
        QCOMPARE(events[3].value("argv").toArray(), QJsonArray{QStringLiteral("xterm")});
        QCOMPARE(events[3].value("cwd").toString(), QStringLiteral("/tmp"));
    }

    void progressCancelAnswerStopsTheRunningJob()
    {
        Transcript transcript;
        ScriptedPrompter prompter(
            script(R"([{"button": 1000}, {"progress": "cancel"}, {"button": 1000}])"), &transcript);
        int cancelled = 0;
        prompter.progress({ProgressEvent::State::Open,
                           0,
                           QStringLiteral("Working"),
                           [&cancelled] { ++cancelled; },
                           {}});
        // The next answer belongs to an alert: a percentage must not take it.
        prompter.progress({ProgressEvent::State::Percent, 10, {}, {}, {}});
        QCOMPARE(prompter.remainingAnswers(), 3);
        QCOMPARE(prompter.alert({}), kAlertFirstButton);
        prompter.progress({ProgressEvent::State::Percent, 20, {}, {}, {}});
        QCOMPARE(prompter.remainingAnswers(), 1);
        QTRY_COMPARE(cancelled, 1);
        // The handler runs once, however often the job reports afterwards.
        prompter.progress({ProgressEvent::State::Percent, 30, {}, {}, {}});
        QCOMPARE(prompter.alert({}), kAlertFirstButton);
        QTest::qWait(20);
        QCOMPARE(cancelled, 1);
        QVERIFY(!prompter.hasError());
        QCOMPARE(transcript.events().size(), 6);
    }

    void successRunsTheClosedHandler()
    {
        ScriptedPrompter prompter({}, nullptr);
        bool closed = false;
        prompter.progress({ProgressEvent::State::Success, 0, QStringLiteral("Done"), {}, [&closed] {
                               closed = true;
                           }});
        QTRY_VERIFY(closed);
    }

    void unreadableAnswersFileFailsEveryPrompt()
    {
        auto seams = Seams::installScripted(m_dir.filePath(QStringLiteral("missing.json")));
        QCOMPARE(seams->errors().size(), 1);
        QVERIFY(seams->errors().constFirst().contains(QStringLiteral("missing.json")));
        QCOMPARE(Prompter::instance(), seams->prompter());
        QCOMPARE(Prompter::instance()->alert({}), kAlertDismissed);
        QCOMPARE(seams->errors().size(), 2);
        QCOMPARE(seams->transcript().events().size(), 1);

        const QString bad = m_dir.filePath(QStringLiteral("object.json"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"button": 1000})");
        file.close();
        seams = Seams::installScripted(bad);
        QVERIFY(seams->errors().constFirst().contains(QStringLiteral("array")));
        seams.reset();
        QVERIFY(Prompter::instance() != nullptr);
    }
};

QTEST_GUILESS_MAIN(TestScriptedPrompter)
#include "tst_scriptedprompter.moc"
