// The palette's key registered with each desktop's own settings, on a private schema folder and
// GSettings' keyfile backend, read back from the file the desktop's daemon would read.
#include "AppFixture.h"
#include "PaletteShortcut.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;
using pallstone::PaletteShortcut;

class TestPaletteShortcut : public QObject
{
    Q_OBJECT

private:
    AppFixture m_fixture;
    QTemporaryDir m_schemas;

    QString keyfile() const
    {
        QFile f(
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(u"glib-2.0/settings/keyfile"_s));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QStringLiteral(PALLSTONE_TEST_DATA) +
                                u"/schemas/desktop-keybindings.gschema.xml"_s,
                            m_schemas.filePath(u"desktop-keybindings.gschema.xml"_s)));
        QCOMPARE(QProcess::execute(u"glib-compile-schemas"_s, {m_schemas.path()}), 0);
        // Before GIO reads either.
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(m_schemas.path()));
        qputenv("GSETTINGS_BACKEND", "keyfile");
    }

    void theKeyIsRegisteredWhereTheDesktopReadsItAndRemovedAgain_data()
    {
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("binding");
        QTest::addColumn<QString>("listed");
        QTest::newRow("GNOME")
            << QByteArray("ubuntu:GNOME")
            << u"[org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette]"_s
            << u"binding='<Super>space'"_s
            << u"custom-keybindings=['/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/pallstone-palette/']"_s;
        QTest::newRow("Cinnamon")
            << QByteArray("X-Cinnamon")
            << u"[org/cinnamon/desktop/keybindings/custom-keybindings/pallstone-palette]"_s
            << u"binding=['<Super>space']"_s << u"custom-list=['pallstone-palette']"_s;
        QTest::newRow("MATE") << QByteArray("MATE")
                              << u"[org/mate/desktop/keybindings/pallstone-palette]"_s
                              << u"binding='<Super>space'"_s << QString();
    }
    void theKeyIsRegisteredWhereTheDesktopReadsItAndRemovedAgain()
    {
        QFETCH(QByteArray, desktop);
        QFETCH(QString, section);
        QFETCH(QString, binding);
        QFETCH(QString, listed);
        qputenv("XDG_CURRENT_DESKTOP", desktop);

        PaletteShortcut::Outcome outcome =
            PaletteShortcut::apply(QKeySequence(Qt::META | Qt::Key_Space));
        QVERIFY2(outcome.registered, qPrintable(outcome.message));
        QString file = keyfile();
        const QString ours = file.mid(file.indexOf(section));
        QVERIFY2(file.contains(section), qPrintable(file));
        QVERIFY(ours.contains(binding));
        QVERIFY(ours.contains(u"pallstone-extension palette'"_s));
        if (!listed.isEmpty())
            QVERIFY2(file.contains(listed), qPrintable(file));

        outcome = PaletteShortcut::apply({});
        QVERIFY(outcome.registered);
        file = keyfile();
        QVERIFY(!file.contains(binding));
        if (!listed.isEmpty())
            QVERIFY(!file.contains(listed));
    }

    void elsewhereNothingIsRegisteredAndThePersonIsToldWhatToDo()
    {
        const QString before = keyfile();
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        const PaletteShortcut::Outcome outcome =
            PaletteShortcut::apply(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
        QVERIFY(!outcome.registered);
        QVERIFY(outcome.message.contains(u"<Control><Alt>p"_s));
        QVERIFY(outcome.message.contains(PaletteShortcut::command()));
        QCOMPARE(keyfile(), before);
    }
};

QTEST_MAIN(TestPaletteShortcut)
#include "tst_paletteshortcut.moc"
