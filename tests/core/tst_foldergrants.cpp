#include "Defaults.h"
#include "FolderGrants.h"
#include "StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pallstone;
using namespace Qt::StringLiterals;

namespace {

// A provider standing for another source of grants: every path it lists is granted.
class ListProvider final : public FolderGrantSource
{
public:
    explicit ListProvider(QStringList paths) : m_paths(std::move(paths)) {}
    QStringList availablePaths() override { return m_paths; }
    std::optional<QString> securityScopedURLForPath(const QString& path) override
    {
        return u"provided:"_s + path;
    }

private:
    QStringList m_paths;
};

} // namespace

class TestURLCache : public QObject
{
    Q_OBJECT

private:
    StoreFixture m_fixture;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root; // the temporary folder, symbolic links resolved

    // A suite of its own for every case, so that no case sees another's grants.
    static QString suite()
    {
        return u"tst-urlcache-"_s + QLatin1String(QTest::currentTestFunction());
    }

    QString folder(const QString& relative)
    {
        const QString path = m_root + u'/' + relative;
        if (!QDir().mkpath(path))
            qFatal("cannot make %s", qPrintable(path));
        return path;
    }

    // Puts another folder at the path, keeping the old one alive elsewhere meanwhile so that its
    // inode number cannot be handed to the new one.
    void replaceFolder(const QString& path)
    {
        const QString aside = path + u".old"_s;
        QVERIFY(QDir().rename(path, aside));
        QVERIFY(QDir().mkpath(path));
        QVERIFY(QDir(aside).removeRecursively());
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_root = QFileInfo(m_dir->path()).canonicalFilePath();
    }

    void coveringRule_data()
    {
        QTest::addColumn<QString>("granted");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("covered");
        QTest::newRow("the folder itself") << u"/Users/a"_s << u"/Users/a"_s << true;
        QTest::newRow("a path inside") << u"/Users/a"_s << u"/Users/a/b"_s << true;
        QTest::newRow("a sibling sharing the prefix") << u"/Users/a"_s << u"/Users/ab"_s << false;
        QTest::newRow("the parent") << u"/Users/a"_s << u"/Users"_s << false;
        QTest::newRow("root covers everything") << u"/"_s << u"/Users/ab"_s << true;
        QTest::newRow("root covers itself") << u"/"_s << u"/"_s << true;
        QTest::newRow("an empty grant covers nothing") << QString() << u"/Users/a"_s << false;
        QTest::newRow("a relative grant covers nothing") << u"Users"_s << u"Users/a"_s << false;
    }
    void coveringRule()
    {
        QFETCH(QString, granted);
        QFETCH(QString, path);
        QFETCH(bool, covered);
        QCOMPARE(FolderGrants::covers(granted, path), covered);
    }

    void grantCoversPathsInsideButNotSiblingsSharingItsName()
    {
        FolderGrants cache(suite());
        const QString projects = folder(u"Projects"_s);
        folder(u"Projects/x"_s);
        const QString old = folder(u"Projectsold"_s);
        QVERIFY(cache.saveSecurityURL(projects));

        QCOMPARE(cache.urlWithAllowAccessToPath(projects + u"/x/file.txt"_s), projects);
        QCOMPARE(cache.urlWithAllowAccessToPath(projects), projects);
        QCOMPARE(cache.urlWithAllowAccessToPath(old + u"/f"_s), std::nullopt);
        QCOMPARE(cache.urlWithAllowAccessToPath(m_root), std::nullopt);
        QCOMPARE(cache.urlWithAllowAccessToPath(QString()), std::nullopt);
        QCOMPARE(cache.urlWithAllowAccessToPath(u"Projects/x"_s), std::nullopt);
    }

    void grantReplacesOnlyTheGrantsInsideIt()
    {
        FolderGrants cache(suite());
        const QString projects = folder(u"Projects"_s);
        const QString old = folder(u"Projectsold"_s);
        QVERIFY(cache.saveSecurityURL(folder(u"Projects/x"_s)));
        QVERIFY(cache.saveSecurityURL(old));
        QVERIFY(cache.saveSecurityURL(projects));
        QCOMPARE(cache.cachedPaths(), QStringList({projects, old}));

        // The store holds the same grants, not only this process.
        FolderGrants reloaded(suite());
        QCOMPARE(reloaded.cachedPaths(), QStringList({projects, old}));
    }

    void grantingTheRootRemovesEveryOtherGrant()
    {
        FolderGrants cache(suite());
        QVERIFY(cache.saveSecurityURL(folder(u"a"_s)));
        QVERIFY(cache.saveSecurityURL(folder(u"b/c"_s)));
        QVERIFY(cache.saveSecurityURL(u"/"_s));
        QCOMPARE(cache.cachedPaths(), QStringList({u"/"_s}));
        QCOMPARE(cache.urlWithAllowAccessToPath(m_root + u"/b/c"_s), u"/"_s);
    }

    void grantingTheSameFolderAgainKeepsTheFirstGrant()
    {
        FolderGrants cache(suite());
        const QString a = folder(u"a"_s);
        const QString inner = folder(u"a/inner"_s);
        QVERIFY(cache.saveSecurityURL(a));
        QVERIFY(cache.saveSecurityURL(inner));    // stored beside the grant above it
        QVERIFY(cache.saveSecurityURL(a + u'/')); // the same folder: nothing changes
        QCOMPARE(cache.cachedPaths(), QStringList({a, inner}));
    }

    void pathThroughSymbolicLinkFindsTheGrantOfItsTarget()
    {
        FolderGrants cache(suite());
        const QString projects = folder(u"Projects"_s);
        folder(u"Projects/x"_s);
        const QString link = m_root + u"/link"_s;
        QVERIFY(QFile::link(projects, link));

        QVERIFY(cache.saveSecurityURL(projects));
        QCOMPARE(cache.urlWithAllowAccessToPath(link + u"/x/f.txt"_s), projects);
        QCOMPARE(cache.urlWithAllowAccessToPath(link + u"/x"_s), projects);

        // Granted through the link, the grant is kept under the real folder, where lookups
        // (which resolve links) can find it.
        cache.clearAllCached();
        QVERIFY(cache.saveSecurityURL(link));
        QCOMPARE(cache.cachedPaths(), QStringList({projects}));
        QCOMPARE(cache.urlWithAllowAccessToPath(projects + u"/x"_s), projects);
    }

    void replacedFolderDoesNotInheritTheGrant()
    {
        FolderGrants cache(suite());
        const QString gone = folder(u"gone"_s);
        QVERIFY(cache.saveSecurityURL(gone));
        QCOMPARE(cache.urlWithAllowAccessToPath(gone), gone);

        replaceFolder(gone);
        QCOMPARE(cache.urlWithAllowAccessToPath(gone), std::nullopt);
        QCOMPARE(FolderGrants(suite()).urlWithAllowAccessToPath(gone), std::nullopt);

        // The user choosing the new folder grants it: an outdated grant must not block that.
        QVERIFY(cache.saveSecurityURL(gone));
        QCOMPARE(cache.urlWithAllowAccessToPath(gone + u"/f"_s), gone);
        QCOMPARE(FolderGrants(suite()).urlWithAllowAccessToPath(gone), gone);
    }

    void deletedFolderLosesItsGrantAndCannotBeGranted()
    {
        FolderGrants cache(suite());
        const QString gone = folder(u"gone"_s);
        QVERIFY(cache.saveSecurityURL(gone));
        QVERIFY(QDir(gone).removeRecursively());
        QCOMPARE(cache.urlWithAllowAccessToPath(gone + u"/f"_s), std::nullopt);
        QVERIFY(!cache.saveSecurityURL(gone));
        QVERIFY(!cache.saveSecurityURL(m_root + u"/never"_s));
        QVERIFY(!cache.saveSecurityURL(QString()));
    }

    void outdatedCoveringGrantIsPassedOver()
    {
        FolderGrants cache(suite());
        const QString outer = folder(u"outer"_s);
        const QString inner = folder(u"outer/inner"_s);
        QVERIFY(cache.saveSecurityURL(outer));
        QVERIFY(cache.saveSecurityURL(inner));

        // A new "outer" around the very same "inner": the outer grant is outdated, the inner one
        // still holds and is found after it.
        const QString aside = m_root + u"/outer.old"_s;
        QVERIFY(QDir().rename(outer, aside));
        QVERIFY(QDir().mkpath(outer));
        QVERIFY(QDir().rename(aside + u"/inner"_s, inner));

        QCOMPARE(cache.cachedPaths(), QStringList({outer, inner}));
        QCOMPARE(cache.urlWithAllowAccessToPath(inner + u"/f"_s), inner);
        QCOMPARE(cache.urlWithAllowAccessToPath(outer + u"/f"_s), std::nullopt);
    }

    void providersAreAskedInRegistrationOrder()
    {
        FolderGrants cache(suite());
        const QString projects = folder(u"Projects"_s);
        const QString other = folder(u"Other"_s);
        QVERIFY(cache.saveSecurityURL(projects));
        ListProvider first({projects, other});
        ListProvider second({m_root});
        cache.addURLProvider(&first);
        cache.addURLProvider(&second);

        // The cache registered itself before any other provider.
        QCOMPARE(cache.urlWithAllowAccessToPath(projects + u"/x"_s), projects);
        QCOMPARE(cache.urlWithAllowAccessToPath(other), u"provided:"_s + other);
        QCOMPARE(cache.urlWithAllowAccessToPath(m_root + u"/else"_s), u"provided:"_s + m_root);

        cache.removeURLProvider(&first);
        QCOMPARE(cache.urlWithAllowAccessToPath(other), u"provided:"_s + m_root);
        cache.removeURLProvider(&second);
        QCOMPARE(cache.urlWithAllowAccessToPath(other), std::nullopt);
    }

    void removeCachedPathRemovesOneGrantAtOrBelowThePath()
    {
        FolderGrants cache(suite());
        const QString b = folder(u"a/b"_s);
        const QString c = folder(u"a/c"_s);
        const QString d = folder(u"d"_s);
        QVERIFY(cache.saveSecurityURL(b));
        QVERIFY(cache.saveSecurityURL(c));
        QVERIFY(cache.saveSecurityURL(d));

        QVERIFY(!cache.removeCachedPath(m_root + u"/a/bb"_s));
        QVERIFY(cache.removeCachedPath(m_root + u"/a"_s));
        QCOMPARE(cache.cachedPaths(), QStringList({c, d}));
        QCOMPARE(FolderGrants(suite()).cachedPaths(), QStringList({c, d}));

        // A grant whose folder is gone can still be removed by its path.
        QVERIFY(QDir(d).removeRecursively());
        QVERIFY(cache.removeCachedPath(d));
        QCOMPARE(cache.cachedPaths(), QStringList({c}));
    }

    void clearAllCachedEmptiesTheStore()
    {
        FolderGrants cache(suite());
        QVERIFY(cache.saveSecurityURL(folder(u"a"_s)));
        cache.clearAllCached();
        QVERIFY(cache.cachedPaths().isEmpty());
        QVERIFY(FolderGrants(suite()).cachedPaths().isEmpty());
        QCOMPARE(cache.urlWithAllowAccessToPath(m_root + u"/a"_s), std::nullopt);
    }

    void grantsAreStoredUnderTheirKeyInTheSuiteFile()
    {
        const QString configFolder =
            QFileInfo(MenuStore::programStorePath(MenuStore::Program::Extension)).absolutePath();
        FolderGrants cache(suite());
        QCOMPARE(cache.storePath(), configFolder + u'/' + suite() + u".plist"_s);
        const QString a = folder(u"a b $(x) \"q\""_s);
        QVERIFY(cache.saveSecurityURL(a));

        Defaults store(cache.storePath());
        const Value grants = store.object(u"tq cached urls"_s);
        QCOMPARE(grants.keys(), QStringList({a}));
        const Value token = grants.value(a);
        struct stat st = {};
        QCOMPARE(::stat(QFile::encodeName(a).constData(), &st), 0);
        QCOMPARE(token.value(u"dev"_s), Value(qint64(st.st_dev)));
        QCOMPARE(token.value(u"ino"_s), Value(qint64(st.st_ino)));
    }

    void unusableSuiteNameFallsBackToTheProgramsOwnStore_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << u"  "_s;
        QTest::newRow("climbing out") << u".."_s;
        QTest::newRow("with a separator") << u"../evil"_s;
    }
    void unusableSuiteNameFallsBackToTheProgramsOwnStore()
    {
        QFETCH(QString, name);
        FolderGrants cache(name);
        QCOMPARE(cache.storePath(), MenuStore::programStorePath(MenuStore::Program::Extension));
        QCOMPARE(FolderGrants::sharedInstance().storePath(), cache.storePath());
    }

    void switchingSuiteDoesNotCarryGrantsAcross()
    {
        FolderGrants cache(suite());
        const QString a = folder(u"a"_s);
        QVERIFY(cache.saveSecurityURL(a));
        cache.setSuiteName(suite() + u"-other"_s);
        QVERIFY(cache.cachedPaths().isEmpty());
        QVERIFY(cache.saveSecurityURL(folder(u"b"_s)));
        cache.setSuiteName(suite());
        QCOMPARE(cache.cachedPaths(), QStringList({a}));
        QCOMPARE(cache.urlWithAllowAccessToPath(a), a); // still registered as its own provider
    }

    void malformedStoredGrantsCoverNothingAndAreKept()
    {
        const QString a = folder(u"a"_s);
        {
            FolderGrants cache(suite());
            Defaults store(cache.storePath());
            Value grants = Value::dictionary();
            grants.insert(QString(), Value::dictionary());
            grants.insert(u"relative"_s, u"x"_s);
            grants.insert(a, u"not a token"_s);
            QVERIFY(store.setObject(grants, u"tq cached urls"_s));
        }
        FolderGrants cache(suite());
        QCOMPARE(cache.urlWithAllowAccessToPath(a + u"/f"_s), std::nullopt);
        QCOMPARE(cache.urlWithAllowAccessToPath(u"/"_s), std::nullopt);

        // A real grant for the same folder replaces the unreadable one; the others stay.
        const QString b = folder(u"b"_s);
        QVERIFY(cache.saveSecurityURL(a));
        QVERIFY(cache.saveSecurityURL(b));
        QCOMPARE(cache.urlWithAllowAccessToPath(a + u"/f"_s), a);
        QCOMPARE(FolderGrants(suite()).cachedPaths(),
                 QStringList({QString(), a, b, u"relative"_s}));
    }

    void startAccessingNeedsAnExistingFolder()
    {
        const QString a = folder(u"a"_s);
        QFile file(m_root + u"/file"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(FolderGrants::startAccessing(a));
        QVERIFY(!FolderGrants::startAccessing(file.fileName()));
        QVERIFY(!FolderGrants::startAccessing(m_root + u"/missing"_s));
        QVERIFY(!FolderGrants::startAccessing(QString()));
    }
};

QTEST_GUILESS_MAIN(TestURLCache)
#include "tst_foldergrants.moc"
