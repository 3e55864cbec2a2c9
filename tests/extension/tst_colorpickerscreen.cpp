// The magnifier with the real windows on a virtual X11 screen without the portal: the root window
// painted one colour, the pointer moved and clicked by xdotool, the colour read from the alert the
// transcript records.
#include "Defaults.h"
#include "MenuStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestColorPickerScreen : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QProcess m_xvfb;
    QString m_display;

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, path(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, path(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, path(u".cache"_s));
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        env.insert(u"DISPLAY"_s, m_display);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        // No session bus, so no portal: the magnifier it is.
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + path(u"no-bus"_s));
        // Qt 6.8 leaks its portal watcher when the portal's bus cannot be reached.
        env.insert(u"QT_NO_XDG_DESKTOP_PORTAL"_s, u"1"_s);
        return env;
    }

    bool tool(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, args);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    QList<QJsonObject> events(const QString& file, const QString& kind) const
    {
        QList<QJsonObject> out;
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                const QJsonObject e = QJsonDocument::fromJson(line).object();
                if (e.value(u"event"_s).toString() == kind)
                    out.append(e);
            }
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* program : {"Xvfb", "xdotool", "xsetroot"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
                QSKIP(qPrintable(
                    u"%1 is not installed (scripts/deps.sh)"_s.arg(QString::fromLatin1(program))));
        }
        QVERIFY(m_home.isValid());
        const int number = 200 + int(::getpid() % 700);
        m_display = u":"_s + QString::number(number);
        m_xvfb.start(u"Xvfb"_s,
                     {m_display, u"-screen"_s, u"0"_s, u"320x240x24"_s, u"-nolisten"_s, u"tcp"_s,
                      // Without it the server resets when xsetroot leaves, and the
                      // root window turns black again.
                      u"-noreset"_s});
        QVERIFY(m_xvfb.waitForStarted());
        const QString socket = u"/tmp/.X11-unix/X"_s + QString::number(number);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);

        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(u".config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u".local/share"_s)));
        QProcess setup;
        QProcessEnvironment env = environment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        setup.setProcessEnvironment(env);
        setup.start(QStringLiteral(PALLSTONE_APP), {u"setup"_s});
        QVERIFY(setup.waitForFinished(60000));
        QCOMPARE(setup.exitCode(), 0);
        pallstone::MenuStore::sharedDefaults().setObject(pallstone::Value(true),
                                                         pallstone::StoreKey::isReviewed);
        // The one-time notice is a window of its own; the scripted tests cover it.
        pallstone::Defaults own(
            pallstone::MenuStore::programStorePath(pallstone::MenuStore::Program::Extension));
        QVERIFY(own.setObject(pallstone::Value(true), u"Screen Record Tip"_s));
    }

    void cleanupTestCase()
    {
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            if (!m_xvfb.waitForFinished(5000)) {
                m_xvfb.kill();
                m_xvfb.waitForFinished();
            }
        }
    }

    // The entry's tag in the background menu.
    qint64 colorPickerTag()
    {
        QProcess menu;
        menu.setProcessEnvironment(environment());
        menu.start(QStringLiteral(PALLSTONE_EXTENSION),
                   {u"menu"_s, u"--kind"_s, u"background"_s, u"--target"_s, m_home.path()});
        if (!menu.waitForFinished(60000))
            return 0;
        for (const QJsonValue& v : QJsonDocument::fromJson(menu.readAllStandardOutput()).array()) {
            if (v.toObject().value(u"key"_s).toString() == u"Color Picker")
                return v.toObject().value(u"tag"_s).toInteger();
        }
        return 0;
    }

    // Starts the entry with the real windows; true once the magnifier is up and holds the grabs.
    bool startPicker(QProcess& picker, const QString& transcript)
    {
        const qint64 tag = colorPickerTag();
        if (tag <= 0)
            return false;
        QFile::remove(transcript);
        picker.setProcessEnvironment(environment());
        picker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        picker.start(QStringLiteral(PALLSTONE_EXTENSION),
                     {u"run"_s, u"--tag"_s, QString::number(tag), u"--transcript"_s, transcript,
                      u"--kind"_s, u"background"_s, u"--target"_s, m_home.path()});
        if (!picker.waitForStarted())
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            for (const QJsonObject& e : events(transcript, u"panel"_s)) {
                if (e.value(u"picker"_s).toString() == u"magnifier") {
                    // The grabs follow the window's mapping.
                    QTest::qWait(500);
                    return true;
                }
            }
            QTest::qWait(50);
        }
        return false;
    }

    void aClickPicksThePaintedScreenColour()
    {
        QVERIFY(tool(u"xsetroot"_s, {u"-solid"_s, u"#3366CC"_s}));
        QVERIFY(tool(u"xdotool"_s, {u"mousemove"_s, u"40"_s, u"40"_s}));
        const QString transcript = path(u"transcript.jsonl"_s);
        QProcess picker;
        // The alert at the end waits for a button nobody presses here.
        const auto stop = qScopeGuard([&picker] {
            picker.kill();
            picker.waitForFinished();
        });
        QVERIFY(startPicker(picker, transcript));
        // Moved away from where the window first stood, then clicked.
        QVERIFY(tool(u"xdotool"_s, {u"mousemove"_s, u"150"_s, u"120"_s}));
        QTest::qWait(200);
        QVERIFY(tool(u"xdotool"_s, {u"click"_s, u"1"_s}));

        QTRY_COMPARE_WITH_TIMEOUT(events(transcript, u"alert"_s).size(), 1, 20000);
        const QString shown =
            events(transcript, u"alert"_s).first().value(u"informative"_s).toString();
        QVERIFY2(shown.startsWith(u"HEX\uFF1A3366CC\n\nRGB\uFF1A51,102,204"_s), qPrintable(shown));
    }

    void escapeEndsThePickWithoutAColour()
    {
        const QString transcript = path(u"escape.jsonl"_s);
        QProcess picker;
        const auto stop = qScopeGuard([&picker] {
            picker.kill();
            picker.waitForFinished();
        });
        QVERIFY(startPicker(picker, transcript));
        QVERIFY(tool(u"xdotool"_s, {u"key"_s, u"Escape"_s}));
        QVERIFY(picker.waitForFinished(20000));
        QCOMPARE(picker.exitCode(), 0);
        QCOMPARE(events(transcript, u"alert"_s).size(), 0);
        const QList<QJsonObject> picks = events(transcript, u"color"_s);
        QCOMPARE(picks.size(), 2); // the desktop's picker was not there, the magnifier gave up
        QCOMPARE(picks.last().value(u"status"_s).toString(), u"cancelled"_s);
    }
};

QTEST_GUILESS_MAIN(TestColorPickerScreen)
#include "tst_colorpickerscreen.moc"
