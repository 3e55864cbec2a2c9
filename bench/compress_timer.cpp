// Times one compression job of the archive service: compress_timer ARCHIVE [--password PW] PATH...
// Prints the wall time in seconds; exits non-zero when the job fails. Run by bench_compress.sh.
#include "ZipArchive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString password;
    const qsizetype flag = args.indexOf(QStringLiteral("--password"));
    if (flag >= 0 && flag + 1 < args.size()) {
        password = args.at(flag + 1);
        args.remove(flag, 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: compress_timer ARCHIVE [--password PW] PATH...\n");
        return 2;
    }
    pallstone::ZipArchive job;
    job.setSavePath(args.takeFirst());
    qint64 items = 0;
    QElapsedTimer timer;
    timer.start();
    const bool ok =
        job.startCompressWithPaths(args, password, [&items](qint64 done, qint64) { items = done; });
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!ok) {
        std::fprintf(stderr, "compress_timer: the job failed after %lld items\n",
                     static_cast<long long>(items));
        return 1;
    }
    std::printf("%.2f\n", seconds);
    return 0;
}
