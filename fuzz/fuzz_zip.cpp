// The zip reader: any bytes as an archive, extracted into a scratch folder that holds a link to a
// folder outside it. Nothing may be written outside the destination, no link may be made, and a
// link already there is never written through.
#include "FuzzCheck.h"
#include "ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>

using pallstone::ZipArchive;

namespace {

QTemporaryDir* scratch = nullptr;

QStringList below(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    return found;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scratch = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QDir root(scratch->path());
    const QString archive = root.filePath(QStringLiteral("in.zip"));
    const QString destination = root.filePath(QStringLiteral("dest"));
    const QString outside = root.filePath(QStringLiteral("outside"));
    QDir(destination).removeRecursively();
    QDir(outside).removeRecursively();
    FUZZ_CHECK(root.mkpath(QStringLiteral("dest")) && root.mkpath(QStringLiteral("outside")));
    FUZZ_CHECK(QFile::link(outside, destination + QStringLiteral("/link")));
    {
        QFile f(archive);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) &&
                   f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    ZipArchive::entryNames(archive);
    ZipArchive::isPasswordValidForArchiveAtPath(archive, QStringLiteral("pw"));
    ZipArchive::unzipFileAtPath(archive, destination, true, QStringLiteral("pw"), {}, {});

    FUZZ_CHECK(QDir(outside).isEmpty());
    const QStringList top =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    FUZZ_CHECK(top == QStringList({QStringLiteral("dest"), QStringLiteral("in.zip"),
                                   QStringLiteral("outside")}));
    for (const QString& path : below(destination)) {
        const QFileInfo info(path);
        // The link put there beforehand may stay or be replaced by an entry, nothing more.
        if (info.isSymLink())
            FUZZ_CHECK(path == destination + QStringLiteral("/link"));
        FUZZ_CHECK(!info.isSymLink() || info.symLinkTarget() == outside);
    }
    return 0;
}
