// Runs one conversion the way "Convert to" does: convert_timer jpeg SOURCE OUTPUT, or
// convert_timer ios SOURCE BASE (the iOS icon set beside BASE). Exits non-zero when it fails.
// Run by bench_convert.sh, which measures the time and peak memory of the whole process.
#include "convert/IconSetWriter.h"
#include "convert/ImageConverter.h"

#include <QStringList>

#include <cstdio>

using pallstone::IconSetWriter;
using pallstone::ImageConverter;

int main(int argc, char** argv)
{
    // No application object: a conversion needs none, and the service has its own.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.size() != 3 || (args.at(0) != u"jpeg" && args.at(0) != u"ios")) {
        std::fprintf(stderr, "usage: convert_timer jpeg|ios SOURCE OUTPUT\n");
        return 2;
    }
    ImageConverter::initialise();
    QString error;
    if (args.at(0) == u"jpeg") {
        const ImageConverter::Loaded loaded = ImageConverter::open(args.at(1), true);
        if (loaded.status != ImageConverter::Status::Loaded ||
            !ImageConverter::save(loaded.image, ImageConverter::FileType::Jpeg, args.at(2),
                                  &error)) {
            std::fprintf(stderr, "convert_timer: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    const ImageConverter::Loaded loaded = ImageConverter::decode(args.at(1), 1024);
    if (loaded.status != ImageConverter::Status::Loaded)
        return 1;
    const IconSetWriter::Result result =
        IconSetWriter::write(loaded.image, args.at(2), IconSetWriter::Target::Ios);
    if (result.outcome != IconSetWriter::Outcome::Written) {
        std::fprintf(stderr, "convert_timer: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}
