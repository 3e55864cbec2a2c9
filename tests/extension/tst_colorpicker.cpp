// The colour picker, driven from outside through `pallstone-extension run --answers --transcript`:
// the scripted picks stand for the desktop's picker and the magnifier, the alert and the clipboard
// are read from the transcript.
#include "Defaults.h"
#include "MenuStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int code = -1;
    QByteArray out;
    QString err;
};

const QString kKey = u"Color Picker"_s;

QJsonObject button(int number)
{
    return {{u"button"_s, number}};
}

QJsonObject unavailable()
{
    return {{u"unavailable"_s, true}};
}

QJsonObject hex(const QString& color)
{
    return {{u"color"_s, color}};
}

QString informative(const QString& hexText, const QString& rgbText)
{
    return u"HEX\uFF1A"_s + hexText + u"\n\nRGB\uFF1A"_s + rgbText;
}

} // namespace

class TestColorPicker : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    Result run(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, path(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, path(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, path(u".cache"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(QStringLiteral(PALLSTONE_EXTENSION), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        return {p.exitCode(), p.readAllStandardOutput(),
                QString::fromUtf8(p.readAllStandardError())};
    }

    qint64 tagIn(const QStringList& menuArgs)
    {
        const QJsonArray menu =
            QJsonDocument::fromJson(run(QStringList{u"menu"_s} + menuArgs).out).array();
        for (const QJsonValue& v : menu) {
            if (v.toObject().value(u"key"_s).toString() == kKey)
                return v.toObject().value(u"tag"_s).toInteger();
        }
        return 0;
    }

    // Chooses the entry on the folder background with the scripted answers; the transcript.
    QList<QJsonObject> pick(const QJsonArray& answers)
    {
        const QStringList background{u"--kind"_s, u"background"_s, u"--target"_s, m_home.path()};
        const qint64 tag = tagIn(background);
        if (tag <= 0) {
            QTest::qFail("no colour picker in the background menu", __FILE__, __LINE__);
            return {};
        }
        const QString answerFile = path(u"answers.json"_s);
        QFile file(answerFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the answers");
        file.write(QJsonDocument(answers).toJson());
        file.close();
        const QString log = path(u"transcript.jsonl"_s);
        QFile::remove(log);
        const Result r = run(QStringList{u"run"_s, u"--tag"_s, QString::number(tag), u"--answers"_s,
                                         answerFile, u"--transcript"_s, log} +
                             background);
        if (r.code != 0)
            QTest::qFail(qPrintable(u"exit code %1: %2"_s.arg(r.code).arg(r.err)), __FILE__,
                         __LINE__);
        QFile transcript(log);
        QList<QJsonObject> events;
        if (transcript.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : transcript.readAll().split('\n')) {
                if (!line.trimmed().isEmpty())
                    events.append(QJsonDocument::fromJson(line).object());
            }
        }
        return events;
    }

    static QList<QJsonObject> only(const QList<QJsonObject>& events, const QString& kind)
    {
        QList<QJsonObject> picked;
        for (const QJsonObject& e : events) {
            if (e.value(u"event"_s).toString() == kind)
                picked.append(e);
        }
        return picked;
    }

    static QStringList clipboard(const QList<QJsonObject>& events)
    {
        QStringList texts;
        for (const QJsonObject& e : only(events, u"clipboard"_s))
            texts.append(e.value(u"text"_s).toString());
        return texts;
    }

    void setHashPrefix(bool on)
    {
        QVERIFY(pallstone::MenuStore::sharedDefaults().setObject(
            pallstone::Value(on), pallstone::StoreKey::prefCheck(6)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(u".config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u".local/share"_s)));
        QProcess setup;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        setup.setProcessEnvironment(env);
        setup.start(QStringLiteral(PALLSTONE_APP), {u"setup"_s});
        QVERIFY(setup.waitForFinished(60000));
        QCOMPARE(setup.exitCode(), 0);
        // The invitation to review, due on the third use, is not what these tests are about.
        pallstone::MenuStore::sharedDefaults().setObject(pallstone::Value(true),
                                                         pallstone::StoreKey::isReviewed);
    }

    void theEntryIsOnlyInTheBackgroundMenu()
    {
        QFile file(path(u"a.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(tagIn({u"--kind"_s, u"background"_s, u"--target"_s, m_home.path()}) > 0);
        QCOMPARE(tagIn({path(u"a.txt"_s)}), 0);
        // Nothing selected on the background of "/" still has it.
        QVERIFY(tagIn({u"--kind"_s, u"background"_s, u"--target"_s, u"/"_s}) > 0);
    }

    void theCopyButtonsCopyTheHexOrTheRgbTextWithThePrefixPreference()
    {
        setHashPrefix(false);
        QList<QJsonObject> events = pick({hex(u"#FF0000"_s), button(1000)});
        QList<QJsonObject> alerts = only(events, u"alert"_s);
        // The desktop's picker needs no notice.
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().value(u"message"_s).toString(), QString());
        QCOMPARE(alerts.first().value(u"informative"_s).toString(),
                 informative(u"FF0000"_s, u"255,0,0"_s));
        QCOMPARE(alerts.first().value(u"buttons"_s).toArray(),
                 (QJsonArray{u"Copy HEX"_s, u"Copy RGB"_s}));
        QCOMPARE(clipboard(events), QStringList{u"FF0000"_s});

        setHashPrefix(true);
        events = pick({hex(u"#FF0000"_s), button(1001)});
        QCOMPARE(only(events, u"alert"_s).first().value(u"informative"_s).toString(),
                 informative(u"#FF0000"_s, u"255,0,0"_s));
        QCOMPARE(clipboard(events), QStringList{u"255,0,0"_s});

        events = pick({hex(u"#FF0000"_s), button(1000)});
        QCOMPARE(clipboard(events), QStringList{u"#FF0000"_s});

        // Closed without a button: the clipboard keeps what the person had on it.
        events = pick({hex(u"#FF0000"_s), QJsonObject{{u"cancel"_s, true}}});
        QCOMPARE(only(events, u"alert"_s).size(), 1);
        QCOMPARE(clipboard(events), QStringList());
        setHashPrefix(false);
    }

    void hexTruncatesAndRgbRounds_data()
    {
        QTest::addColumn<QJsonArray>("rgb");
        QTest::addColumn<QString>("hexText");
        QTest::addColumn<QString>("rgbText");
        QTest::newRow("half") << QJsonArray{0.5, 0.5, 0.5} << u"7F7F7F"_s << u"128,128,128"_s;
        // k/255 must give k back in both, not k - 1 after truncation.
        QTest::newRow("whole steps of 255")
            << QJsonArray{51.0 / 255, 1.0 / 255, 254.0 / 255} << u"3301FE"_s << u"51,1,254"_s;
        QTest::newRow("none and all") << QJsonArray{0, 1, 0} << u"00FF00"_s << u"0,255,0"_s;
    }

    void hexTruncatesAndRgbRounds()
    {
        QFETCH(QJsonArray, rgb);
        QFETCH(QString, hexText);
        QFETCH(QString, rgbText);
        const QList<QJsonObject> events = pick({QJsonObject{{u"rgb"_s, rgb}}, button(1001)});
        const QList<QJsonObject> alerts = only(events, u"alert"_s);
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().value(u"informative"_s).toString(), informative(hexText, rgbText));
        QCOMPARE(clipboard(events), QStringList{rgbText});
    }

    void withNeitherPickerThePersonIsToldAndNoNoticeIsUsedUp()
    {
        const QList<QJsonObject> events = pick({unavailable(), unavailable(), button(1000)});
        const QList<QJsonObject> alerts = only(events, u"alert"_s);
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().value(u"message"_s).toString(), u"Tip"_s);
        QVERIFY2(alerts.first().value(u"informative"_s).toString().contains(u"X11"_s),
                 qPrintable(alerts.first().value(u"informative"_s).toString()));
        QCOMPARE(clipboard(events), QStringList());
    }

    void theMagnifierNoticeIsShownBeforeTheFirstMagnifierOnly()
    {
        const QString tipKey = u"Screen Record Tip"_s;
        QList<QJsonObject> events =
            pick({unavailable(), button(1000), hex(u"#00FF00"_s), button(1000)});
        QList<QJsonObject> alerts = only(events, u"alert"_s);
        QCOMPARE(alerts.size(), 2);
        QCOMPARE(alerts.first().value(u"message"_s).toString(), u"Tip"_s);
        QVERIFY(alerts.first().value(u"informative"_s).toString().contains(u"Escape"_s));
        QCOMPARE(clipboard(events), QStringList{u"00FF00"_s});
        // Kept in the service's own defaults, not in the configuration the profiles carry.
        pallstone::Defaults own(
            pallstone::MenuStore::programStorePath(pallstone::MenuStore::Program::Extension));
        QVERIFY(own.boolForKey(tipKey));
        QVERIFY(!pallstone::MenuStore::sharedDefaults().boolForKey(tipKey));

        events = pick({unavailable(), hex(u"#00FF00"_s), button(1001)});
        alerts = only(events, u"alert"_s);
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(clipboard(events), QStringList{u"0,255,0"_s});
    }
};

QTEST_GUILESS_MAIN(TestColorPicker)
#include "tst_colorpicker.moc"
