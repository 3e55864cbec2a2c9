// "Convert to": every output read back by an independent reader (libvips, Qt, poppler), and the
// faults a person would notice driven through `pallstone-extension run`.
#include "FileName.h"
#include "MenuStore.h"
#include "Paths.h"
#include "convert/IcnsWriter.h"
#include "convert/IconSetWriter.h"
#include "convert/ImageConverter.h"
#include "convert/PdfMerger.h"
#include "convert/PdfPageRenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <vips/vips8>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using pallstone::IconSetWriter;
using pallstone::ImageConverter;

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

bool hasTool(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// A w x h RGBA image: a colour gradient, so a stretched or blank result shows.
vips::VImage picture(int width, int height)
{
    const vips::VImage xy = vips::VImage::xyz(width, height);
    const vips::VImage x = xy.extract_band(0) * (255.0 / std::max(1, width - 1));
    const vips::VImage y = xy.extract_band(1) * (255.0 / std::max(1, height - 1));
    return x.bandjoin(y)
        .bandjoin(vips::VImage::black(width, height) + 128)
        .bandjoin(vips::VImage::black(width, height) + 200)
        .cast(VIPS_FORMAT_UCHAR)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

void writePicture(const QString& path, int width, int height, bool alpha = true)
{
    vips::VImage image = picture(width, height);
    if (!alpha)
        image = image.extract_band(0, vips::VImage::option()->set("n", 3));
    image.write_to_file(QFile::encodeName(path).constData());
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray be32(quint32 v)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(v, bytes.data());
    return bytes;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    return be32(quint32(data.size())) + type + data + be32(crc32(type + data));
}

// A few dozen bytes claiming 100,000 x 100,000 RGBA pixels.
QByteArray decoderBomb()
{
    const QByteArray ihdr = be32(100000) + be32(100000) + QByteArray("\x08\x06\x00\x00\x00", 5);
    const QByteArray idat("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) + pngChunk("IDAT", idat) +
           pngChunk("IEND", {});
}

// An A4 document with the text "Page N" on each page.
void writeDocument(const QString& path, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    QFont font = painter.font();
    font.setPointSize(24);
    painter.setFont(font);
    for (int i = 1; i <= pages; ++i) {
        if (i > 1)
            writer.newPage();
        painter.drawText(QPointF(72, 144), u"Page %1"_s.arg(i));
    }
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Spaces, quotes, a command substitution and a non-ASCII letter: a name is never more than a name.
const QString kIconName = QStringLiteral("my ic\u00f6n $(touch x) 'q'");

} // namespace

class TestConvert : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QJsonArray m_convertChildren;
    qint64 m_convertTag = 0;

    QString path(const QString& relative) const { return m_home.filePath(relative); }

    QString mkdir(const QString& relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, path(u".config"_s));
        env.insert(u"XDG_DATA_HOME"_s, path(u".local/share"_s));
        env.insert(u"XDG_CACHE_HOME"_s, path(u".cache"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"LANG"_s, u"C.UTF-8"_s);
        return env;
    }

    Run run(const QString& program, const QStringList& args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.setWorkingDirectory(m_home.path());
        p.start(program, args);
        if (!p.waitForFinished(120000))
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    // The tag of the "Convert to" child with this key in the menu built for selection.
    qint64 childTag(const QStringList& selection, const QString& key) const
    {
        const Run menu =
            run(QStringLiteral(PALLSTONE_EXTENSION), QStringList{u"menu"_s} + selection);
        for (const QJsonValue& v : QJsonDocument::fromJson(menu.out.toUtf8()).array()) {
            if (v.toObject().value(u"key"_s).toString() != u"Convert to")
                continue;
            for (const QJsonValue& c : v.toObject().value(u"children"_s).toArray()) {
                if (c.toObject().value(u"key"_s).toString() == key)
                    return c.toObject().value(u"tag"_s).toInteger();
            }
        }
        return 0;
    }

    // Chooses "Convert to > key" for the selection; the alerts shown come back.
    // wrapper: a program and its arguments that run the service's command line given after them.
    QStringList convert(const QStringList& selection, const QString& key, const QJsonArray& answers,
                        const QStringList& wrapper = {})
    {
        const qint64 tag = childTag(selection, key);
        if (tag <= 0)
            return {u"no entry "_s + key};
        const QString answersFile = path(u"answers.json"_s);
        QFile a(answersFile);
        if (!a.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(a.fileName()));
        a.write(QJsonDocument(answers).toJson(QJsonDocument::Compact));
        a.close();
        const QString log = path(u"transcript.jsonl"_s);
        QFile::remove(log);
        QStringList command = wrapper +
                              QStringList{QStringLiteral(PALLSTONE_EXTENSION),
                                          u"run"_s,
                                          u"--tag"_s,
                                          QString::number(tag),
                                          u"--answers"_s,
                                          answersFile,
                                          u"--transcript"_s,
                                          log} +
                              selection;
        const QString program = command.takeFirst();
        const Run r = run(program, command);
        QStringList shown;
        if (r.code != 0)
            shown.append(u"exit "_s + QString::number(r.code) + u' ' + r.err);
        QStringList states;
        for (const QByteArray& line : readAll(log).split('\n')) {
            const QJsonObject e = QJsonDocument::fromJson(line).object();
            if (e.value(u"event"_s).toString() == u"alert")
                shown.append(e.value(u"informative"_s).toString());
            if (e.value(u"event"_s).toString() == u"progress")
                states.append(e.value(u"state"_s).toString());
        }
        // Every job opens its window and closes it, whatever happened in between.
        if (states.value(0) != u"open" || states.value(states.size() - 1) != u"close")
            shown.append(u"progress "_s + states.join(u','));
        // Said here too: a comparison of lists that differ in size shows only the sizes.
        if (r.code != 0 || shown.size() > 1)
            qWarning("%s", qPrintable(shown.join(u"\n---\n")));
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        ImageConverter::initialise();
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(u".config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(u".local/share"_s)));
        QCOMPARE(run(QStringLiteral(PALLSTONE_APP), {u"setup"_s}).code, 0);
        // The review invitation would take an answer meant for the action.
        pallstone::MenuStore::sharedDefaults().setObject(true, pallstone::StoreKey::isReviewed);
    }

    void everyFormatOfTheTableIsWrittenAsThatFormatReplacingAnOldFile_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("loader"); // what an independent reader recognises
        QTest::newRow("PNG") << u"PNG"_s << u"pngload"_s;
        QTest::newRow("JPEG") << u"JPEG"_s << u"jpegload"_s;
        QTest::newRow("JP2") << u"JP2"_s << u"jp2kload"_s;
        QTest::newRow("TIFF") << u"TIFF"_s << u"tiffload"_s;
        QTest::newRow("GIF") << u"GIF"_s << u"gifload"_s;
        QTest::newRow("BMP") << u"BMP"_s << u"bmp"_s;
        QTest::newRow("other keys") << u"WEBP"_s << u"pngload"_s;
    }
    void everyFormatOfTheTableIsWrittenAsThatFormatReplacingAnOldFile()
    {
        QFETCH(QString, key);
        QFETCH(QString, loader);
        const QString source = path(u"formats/source.png"_s);
        mkdir(u"formats"_s);
        writePicture(source, 40, 30);
        const QString output = path(u"formats/photo."_s) + key.toLower();
        QFile old(output);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file of the same name");
        old.close();

        const ImageConverter::Loaded loaded = ImageConverter::open(source, true);
        QCOMPARE(int(loaded.status), int(ImageConverter::Status::Loaded));
        QVERIFY(ImageConverter::saveWithExtension(loaded.image, key, output));

        if (loader == u"bmp") {
            // libvips reads BMP only through ImageMagick; Qt reads it natively.
            QCOMPARE(readAll(output).left(2), QByteArray("BM"));
            const QImage image(output, "BMP");
            QCOMPARE(image.size(), QSize(40, 30));
            // Rows come back in order and left to right: the gradient grows down and across.
            QVERIFY(qGreen(image.pixel(0, 0)) < qGreen(image.pixel(0, 29)));
            QVERIFY(qRed(image.pixel(0, 0)) < qRed(image.pixel(39, 0)));
        } else {
            const vips::VImage back =
                vips::VImage::new_from_file(QFile::encodeName(output).constData());
            QCOMPARE(QString::fromStdString(back.get_string("vips-loader")), loader);
            QCOMPARE(back.width(), 40);
            QCOMPARE(back.height(), 30);
        }
        // Nothing but the output is left behind (no temporary files).
        QCOMPARE(QDir(path(u"formats"_s)).entryList(QDir::Files | QDir::Hidden).size(), 2);
        if (hasTool(u"vipsheader"_s) && loader != u"bmp") {
            const Run header = runTool(u"vipsheader"_s, {output});
            QVERIFY2(header.out.contains(u"40x30"_s), qPrintable(header.out));
        }
        QFile::remove(output);
    }

    void iconSetsHaveTheirFilesAtTheirSizesAndDescribeThem_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("folder");
        QTest::newRow("OSX") << u"OSX AppIconset"_s << 8 << kIconName + u"(OSX)"_s;
        QTest::newRow("iOS") << u"iOS AppIconset"_s << 18 << kIconName + u"(iOS)"_s;
        QTest::newRow("iWatch") << u"iWatch AppIconset"_s << 8 << kIconName + u"(iWatch)"_s;
        QTest::newRow("Android") << u"Android AppIconset"_s << 4 << kIconName + u"(Android)"_s;
        // The first one exists: the set goes beside it, nothing of it is touched.
        QTest::newRow("iOS again") << u"iOS AppIconset"_s << 18 << kIconName + u"(iOS)-1"_s;
    }
    void iconSetsHaveTheirFilesAtTheirSizesAndDescribeThem()
    {
        QFETCH(QString, key);
        QFETCH(int, files);
        QFETCH(QString, folder);
        mkdir(u"icons"_s);
        const QString source = path(u"icons/"_s + kIconName + u".png"_s);
        if (!QFile::exists(source))
            writePicture(source, 300, 300);
        const ImageConverter::Loaded loaded = ImageConverter::decode(source);
        const auto target = IconSetWriter::targetForKey(key);
        QVERIFY(target);
        const IconSetWriter::Result result =
            IconSetWriter::write(loaded.image, path(u"icons/"_s + kIconName), *target);
        QCOMPARE(int(result.outcome), int(IconSetWriter::Outcome::Written));
        QCOMPARE(result.path, path(u"icons/"_s + folder));

        const QDir assets(result.path + u"/AppIcon.appiconset"_s);
        const QStringList pngs = assets.entryList({u"*.png"_s}, QDir::Files);
        QCOMPARE(pngs.size(), files);
        QCOMPARE(IconSetWriter::icons(*target).size(), files);
        for (const IconSetWriter::Icon& icon : IconSetWriter::icons(*target)) {
            const vips::VImage back = vips::VImage::new_from_file(
                QFile::encodeName(assets.filePath(icon.fileName)).constData());
            QCOMPARE(back.width(), icon.pixels);
            QCOMPARE(back.height(), icon.pixels);
        }

        QJsonParseError error;
        const QJsonObject contents =
            QJsonDocument::fromJson(readAll(assets.filePath(u"Contents.json"_s)), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray images = contents.value(u"images"_s).toArray();
        QCOMPARE(images.size(), files);
        QStringList described;
        for (const QJsonValue& v : images)
            described.append(v.toObject().value(u"filename"_s).toString());
        described.sort();
        QCOMPARE(described, pngs);
        QCOMPARE(contents.value(u"info"_s).toObject(),
                 (QJsonObject{{u"version"_s, 1}, {u"author"_s, u"xcode"_s}}));
    }

    void iconSetDescriptionsFollowTheNameRules_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QJsonObject>("entry");
        QTest::newRow("iPad") << 1 << u"iPadProApp_83.5x83.5@2x.png"_s
                              << QJsonObject{{u"size"_s, u"83.5x83.5"_s},
                                             {u"filename"_s, u"iPadProApp_83.5x83.5@2x.png"_s},
                                             {u"scale"_s, u"2x"_s},
                                             {u"idiom"_s, u"ipad"_s}};
        QTest::newRow("store") << 1 << u"store_1024x1024.png"_s
                               << QJsonObject{{u"size"_s, u"1024x1024"_s},
                                              {u"filename"_s, u"store_1024x1024.png"_s},
                                              {u"scale"_s, u"1x"_s},
                                              {u"idiom"_s, u"ios-marketing"_s}};
        QTest::newRow("watch 42mm")
            << 2 << u"notificationCenter_27.5x27.5@2x.png"_s
            << QJsonObject{{u"size"_s, u"27.5x27.5"_s},
                           {u"filename"_s, u"notificationCenter_27.5x27.5@2x.png"_s},
                           {u"scale"_s, u"2x"_s},
                           {u"idiom"_s, u"watch"_s},
                           {u"role"_s, u"notificationCenter"_s},
                           {u"subtype"_s, u"42mm"_s}};
        QTest::newRow("watch companion")
            << 2 << u"companion_29x29@3x.png"_s
            << QJsonObject{{u"size"_s, u"29x29"_s},
                           {u"filename"_s, u"companion_29x29@3x.png"_s},
                           {u"scale"_s, u"3x"_s},
                           {u"idiom"_s, u"watch"_s},
                           {u"role"_s, u"companionSettings"_s}};
        QTest::newRow("android mdpi")
            << 3 << u"AndroidIcon_36x36@1.3x.png"_s
            << QJsonObject{{u"size"_s, u"36x36"_s},
                           {u"filename"_s, u"AndroidIcon_36x36@1.3x.png"_s},
                           {u"idiom"_s, u"android"_s},
                           {u"resolution"_s, u"mdpi 48pt"_s}};
    }
    void iconSetDescriptionsFollowTheNameRules()
    {
        QFETCH(int, target);
        QFETCH(QString, fileName);
        QFETCH(QJsonObject, entry);
        // Its own description file and hidden files are never described.
        const QJsonArray images =
            IconSetWriter::contents({u".DS_Store"_s, fileName, u"Contents.json"_s},
                                    IconSetWriter::Target(target))
                .value(u"images"_s)
                .toArray();
        QCOMPARE(images.size(), 1);
        QCOMPARE(images.at(0).toObject(), entry);
    }

    void theIconFileHoldsEveryIconOfTheMacSet()
    {
        mkdir(u"icns"_s);
        const QString source = path(u"icns/logo.svg"_s);
        // A small vector source is drawn at the biggest icon's size, not blown up from 64 pixels.
        QFile svg(source);
        QVERIFY(svg.open(QIODevice::WriteOnly));
        svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'>"
                  "<circle cx='32' cy='32' r='30' fill='#c33'/></svg>");
        svg.close();
        const ImageConverter::Loaded loaded = ImageConverter::decode(source, 1024);
        QCOMPARE(int(loaded.status), int(ImageConverter::Status::Loaded));
        QCOMPARE(loaded.image.width(), 1024);
        const IconSetWriter::Result result = IconSetWriter::write(
            loaded.image, path(u"icns/logo"_s), IconSetWriter::Target::IconFile);
        QCOMPARE(int(result.outcome), int(IconSetWriter::Outcome::Written));
        QCOMPARE(result.path, path(u"icns/AppIcon.icns"_s));

        const QByteArray icns = readAll(result.path);
        QCOMPARE(icns.left(4), QByteArray("icns"));
        QCOMPARE(qFromBigEndian<quint32>(icns.constData() + 4), quint32(icns.size()));
        for (const char* type : {"ic10", "ic09", "ic14", "ic08", "ic13", "ic07", "ic11", "icp4"})
            QVERIFY2(icns.contains(type), type);
        // Read back as a source, the icon file gives its largest image.
        const ImageConverter::Loaded back = ImageConverter::open(result.path);
        QCOMPARE(int(back.status), int(ImageConverter::Status::Loaded));
        QCOMPARE(back.image.width(), 1024);
        if (hasTool(u"icns2png"_s)) {
            const Run list = runTool(u"icns2png"_s, {u"-l"_s, result.path});
            // This libicns predates the newer types: it lists them without their sizes.
            QVERIFY2(list.out.contains(u"8 elements total"_s) &&
                         list.out.contains(u"'ic10' 1024x1024"_s),
                     qPrintable(list.out + list.err));
        }
        // No stray iconset folder is left beside the item.
        QCOMPARE(
            QDir(path(u"icns"_s)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{u"AppIcon.icns"_s, u"logo.svg"_s}));
    }

    void mergingADocumentAndImagesKeepsTheTextAndGivesEachImageItsPixelSize()
    {
        mkdir(u"merge"_s);
        const QString document = path(u"merge/report.pdf"_s);
        writeDocument(document, 3);
        const QString jpeg = path(u"merge/photo.jpg"_s);
        writePicture(jpeg, 320, 240, false);
        const QString png = path(u"merge/shot.png"_s);
        writePicture(png, 200, 100);
        const QString untitled = path(u"merge/Untitled.pdf"_s);
        QFile existing(untitled);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("mine");
        existing.close();

        const pallstone::PdfMerger::Result result = pallstone::PdfMerger::merge(
            {document, jpeg, png, path(u"merge/missing.png"_s)}, u"Untitled"_s);
        QVERIFY(result.written);
        QCOMPARE(result.pageCount, 5);
        QCOMPARE(result.path, path(u"merge/Untitled-1.pdf"_s));
        QCOMPARE(readAll(untitled), QByteArray("mine"));

        const QByteArray merged = readAll(result.path);
        // The JPEG's own bytes, not a re-encoding of it.
        QVERIFY(merged.contains(readAll(jpeg)));
        const QByteArray name = QFile::encodeName(result.path);
        const vips::VImage first = vips::VImage::pdfload(name.constData());
        QCOMPARE(first.get_int(VIPS_META_N_PAGES), 5);
        const vips::VImage photoPage =
            vips::VImage::pdfload(name.constData(), vips::VImage::option()->set("page", 3));
        QCOMPARE(QSize(photoPage.width(), photoPage.height()), QSize(320, 240));
        const vips::VImage shotPage =
            vips::VImage::pdfload(name.constData(), vips::VImage::option()->set("page", 4));
        QCOMPARE(QSize(shotPage.width(), shotPage.height()), QSize(200, 100));

        if (hasTool(u"qpdf"_s))
            QCOMPARE(runTool(u"qpdf"_s, {u"--check"_s, result.path}).code, 0);
        if (hasTool(u"pdftotext"_s)) {
            const Run text = runTool(u"pdftotext"_s, {result.path, u"-"_s});
            QVERIFY2(text.out.contains(u"Page 2"_s), qPrintable(text.out));
        }

        // One image alone becomes the document of its own name.
        const pallstone::PdfMerger::Result single =
            pallstone::PdfMerger::merge({png}, u"Untitled"_s);
        QCOMPARE(single.path, path(u"merge/shot.pdf"_s));
        QCOMPARE(single.pageCount, 1);
    }

    void renderingADocumentWritesNumberedPagesIntoAFreshFolder()
    {
        mkdir(u"render/doc"_s);
        const QString document = path(u"render/doc.pdf"_s);
        writeDocument(document, 3);
        QList<int> done;
        const pallstone::PdfPageRenderer::Result result =
            pallstone::PdfPageRenderer::render(document, u"PNG"_s, [&](int total, int page) {
                QCOMPARE(total, 3);
                done.append(page);
            });
        QCOMPARE(int(result.outcome), int(pallstone::PdfPageRenderer::Outcome::Written));
        QCOMPARE(result.folder, path(u"render/doc-1"_s));
        QCOMPARE(done, (QList<int>{1, 2, 3}));
        QCOMPARE(QDir(result.folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"1.png"_s, u"2.png"_s, u"3.png"_s}));
        const vips::VImage page =
            vips::VImage::new_from_file(QFile::encodeName(result.folder + u"/2.png"_s).constData());
        // A4 at 150 dpi.
        QCOMPARE(QSize(page.width(), page.height()), QSize(1240, 1754));
        QVERIFY(QDir(path(u"render/doc"_s)).isEmpty());

        // A file that is not a document: nothing, not even the folder.
        QFile fake(path(u"render/fake.pdf"_s));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("not a pdf");
        fake.close();
        done.clear();
        const auto none = pallstone::PdfPageRenderer::render(path(u"render/fake.pdf"_s), u"PNG"_s,
                                                             [&](int total, int shown) {
                                                                 QCOMPARE(total, 0);
                                                                 QCOMPARE(shown, 0);
                                                                 done.append(shown);
                                                             });
        QCOMPARE(int(none.outcome), int(pallstone::PdfPageRenderer::Outcome::Unopenable));
        QCOMPARE(done.size(), 1);
        QVERIFY(!QFile::exists(path(u"render/fake"_s)));
    }

    void anItemIsNeverWrittenOverItselfAndUpperCaseExtensionsAreLeftAlone()
    {
        mkdir(u"self"_s);
        const QString a = path(u"self/a.png"_s);
        writePicture(a, 30, 20);
        // An animated GIF: converting it to "GIF" would keep only its first frame.
        const QString b = path(u"self/b.gif"_s);
        vips::VImage frames = picture(30, 20).copy();
        frames.set("page-height", 10);
        frames.write_to_file(QFile::encodeName(b).constData());
        const QByteArray before = readAll(b);
        const QString upper = path(u"self/PHOTO.PNG"_s);
        writePicture(upper, 30, 20);

        QCOMPARE(convert({a, b, upper}, u"GIF"_s, {}), QStringList());
        QVERIFY(QFile::exists(path(u"self/a.gif"_s)));
        QCOMPARE(readAll(b), before);
        QVERIFY(!QFile::exists(path(u"self/PHOTO.gif"_s)));

        // An icon file chosen as the source of its own icon file keeps all its images.
        const QString icns = path(u"self/AppIcon.icns"_s);
        const QByteArray packed =
            pallstone::IcnsWriter::pack({{"icp6", *ImageConverter::encodePng(picture(64, 64))},
                                         {"ic07", *ImageConverter::encodePng(picture(128, 128))}});
        QFile icon(icns);
        QVERIFY(icon.open(QIODevice::WriteOnly));
        icon.write(packed);
        icon.close();
        QCOMPARE(convert({icns}, u"AppIcon.icns"_s, {}), QStringList());
        QCOMPARE(readAll(icns), packed);
    }

    void aNonSquareImageForAnIconSetSaysItsSizeAndWritesNothing()
    {
        mkdir(u"square"_s);
        const QString source = path(u"square/tall.png"_s);
        writePicture(source, 100, 120);
        const QStringList shown =
            convert({source}, u"iOS AppIconset"_s, {QJsonObject{{u"button"_s, 1000}}});
        QVERIFY2(shown.size() == 1, qPrintable(shown.join(u" | ")));
        QVERIFY2(shown.first().contains(u"100") && shown.first().contains(u"120"),
                 qPrintable(shown.first()));
        QCOMPARE(QDir(path(u"square"_s))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"tall.png"_s});
    }

    void aDecoderBombOrACutOffImageIsReportedAsAFailedConversion()
    {
        mkdir(u"bomb"_s);
        const QString bomb = path(u"bomb/huge.png"_s);
        QFile f(bomb);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(decoderBomb());
        f.close();
        // A download that stopped half-way: a valid header, half the pixels.
        const QString whole = path(u"bomb/whole.png"_s);
        vips::VImage::gaussnoise(300, 200)
            .cast(VIPS_FORMAT_UCHAR)
            .write_to_file(QFile::encodeName(whole).constData());
        const QString cut = path(u"bomb/cut.png"_s);
        QFile c(cut);
        QVERIFY(c.open(QIODevice::WriteOnly));
        const QByteArray bytes = readAll(whole);
        c.write(bytes.left(bytes.size() / 2));
        c.close();
        QFile::remove(whole);
        QCOMPARE(convert({bomb, cut}, u"JPEG"_s, {QJsonObject{{u"button"_s, 1000}}}),
                 QStringList{u"The conversion failed.\n"
                             "huge.png: It has more than 200 million pixels.\n"
                             "cut.png: It cannot be read: it is damaged or of a kind that cannot "
                             "be converted."_s});
        QCOMPARE(
            QDir(path(u"bomb"_s)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList{u"cut.png"_s, u"huge.png"_s}));
    }

    void aWriteThatFailsIsReportedAndLeavesNothingBehind()
    {
        // A folder where the output would go: the write fails whoever runs the test.
        const QString folder = mkdir(u"blocked"_s);
        const QString source = path(u"blocked/photo.png"_s);
        writePicture(source, 20, 20);
        mkdir(u"blocked/photo.jpeg/kept"_s);
        QCOMPARE(convert({source}, u"JPEG"_s, {QJsonObject{{u"button"_s, 1000}}}),
                 QStringList{u"The conversion failed.\nphoto.jpeg: It could not be written: Is a "
                             "directory"_s});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{u"photo.jpeg"_s, u"photo.png"_s}));
        QVERIFY(QFileInfo(path(u"blocked/photo.jpeg/kept"_s)).isDir());
    }

    void bmpIcoAndWbmpSourcesAreConverted()
    {
        mkdir(u"qtread"_s);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(QColor(200, 40, 40));
        QStringList sources;
        for (const QString& type : {u"bmp"_s, u"ico"_s, u"wbmp"_s}) {
            sources.append(path(u"qtread/a-"_s + type + u'.' + type));
            QVERIFY(picture.save(sources.last(), type.toLatin1().constData()));
        }
        QCOMPARE(convert(sources, u"PNG"_s, {}), QStringList());
        for (const QString& source : std::as_const(sources)) {
            const QImage back(source.left(source.lastIndexOf(u'.')) + u".png"_s);
            QVERIFY2(back.size() == QSize(40, 30), qPrintable(source));
        }
    }

    void aMergeNamesEveryItemItLeavesOutWithWhyAndMergesTheRest()
    {
        if (!hasTool(u"qpdf"_s))
            QSKIP("qpdf is needed to lock a document");
        mkdir(u"partial"_s);
        const QString good = path(u"partial/a-good.png"_s);
        writePicture(good, 30, 20);
        const QString cut = path(u"partial/b-cut.png"_s);
        vips::VImage::gaussnoise(300, 200)
            .cast(VIPS_FORMAT_UCHAR)
            .write_to_file(QFile::encodeName(cut).constData());
        const QByteArray whole = readAll(cut);
        QFile c(cut);
        QVERIFY(c.open(QIODevice::WriteOnly | QIODevice::Truncate));
        c.write(whole.left(whole.size() / 2));
        c.close();
        const QString huge = path(u"partial/c-huge.png"_s);
        QFile h(huge);
        QVERIFY(h.open(QIODevice::WriteOnly));
        h.write(decoderBomb());
        h.close();
        const QString open = path(u"partial/open.pdf"_s);
        writeDocument(open, 1);
        const QString locked = path(u"partial/d-locked.pdf"_s);
        QCOMPARE(runTool(u"qpdf"_s,
                         {u"--encrypt"_s, u"user"_s, u"owner"_s, u"256"_s, u"--"_s, open, locked})
                     .code,
                 0);
        QFile::remove(open);
        const QString last = path(u"partial/e-last.jpg"_s);
        writePicture(last, 20, 30, false);
        const QStringList shown =
            convert({good, cut, huge, locked, last}, u"PDF"_s, {QJsonObject{{u"button"_s, 1000}}});
        QCOMPARE(shown, QStringList{u"The conversion failed.\n"
                                    "b-cut.png: It cannot be read: it is damaged or of a kind "
                                    "that cannot be converted.\n"
                                    "c-huge.png: It has more than 200 million pixels.\n"
                                    "d-locked.pdf: It is protected by a password."_s});
        const QByteArray merged = QFile::encodeName(path(u"partial/Untitled.pdf"_s));
        QCOMPARE(vips::VImage::pdfload(merged.constData()).get_int(VIPS_META_N_PAGES), 2);
    }

    void anIconSetOfASourceNamedInLatin1IsMadeWhole()
    {
        const QByteArray folder = QFile::encodeName(mkdir(u"latin"_s));
        const QByteArray source = folder + "/ic\xf4ne.png";
        writePicture(QFile::decodeName(folder) + u"/tmp.png"_s, 64, 64);
        QVERIFY(::rename(QByteArray(folder + "/tmp.png").constData(), source.constData()) == 0);
        // As a file manager hands it over: a URI with the bytes percent-encoded.
        const QString uri = u"file://"_s + QString::fromLatin1(source.toPercentEncoding("/"));
        QCOMPARE(convert({uri}, u"iOS AppIconset"_s, {}), QStringList());
        const QByteArray contents = folder + "/ic\xf4ne(iOS)/AppIcon.appiconset/Contents.json";
        struct stat st;
        QVERIFY(::stat(contents.constData(), &st) == 0 && st.st_size > 0);
        // The source and the set, nothing else (Qt's listings leave out names that are not UTF-8).
        QCOMPARE(pallstone::Paths::entryNames(pallstone::FileName::decode(folder)).size(), 2);
    }

    void anAnswerNoWindowTookFailsTheRunAndNamesTheProgressForm()
    {
        mkdir(u"answers"_s);
        const QString source = path(u"answers/photo.png"_s);
        writePicture(source, 20, 20);
        const QStringList shown = convert({source}, u"JPEG"_s, {QJsonObject{{u"cancel"_s, true}}});
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(u"exit 3 "_s) &&
                     shown.first().contains(u"{\"progress\": \"cancel\"}"_s),
                 qPrintable(shown.first()));
    }

    void aMergeOnAFullDiskSaysWhyAndLeavesNoTruncatedDocument()
    {
        // The items sit on a small file system of their own, mounted in a namespace of the
        // program's run, with room for them and not for the document made of them.
        const QString folder = mkdir(u"fulldisk"_s);
        const QString hold = mkdir(u"fulldisk-hold"_s);
        const QString a = path(u"fulldisk/a.png"_s);
        const QString b = path(u"fulldisk/b.png"_s);
        const auto noise = [] {
            return vips::VImage::gaussnoise(220, 220).cast(VIPS_FORMAT_UCHAR);
        };
        for (const QString& p : {a, b})
            noise()
                .bandjoin(noise())
                .bandjoin(noise())
                .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                .write_to_file(QFile::encodeName(p).constData());
        const qint64 room = QFileInfo(a).size() + QFileInfo(b).size() + 64 * 1024;
        const QString listing = path(u"fulldisk-listing"_s);
        const QString script =
            u"cp -a \"$1\"/. \"$2\"/ && mount -t tmpfs -o size=%1 tmpfs \"$1\" && "
            "cp -a \"$2\"/. \"$1\"/ || exit 77; d=$1 l=$3; shift 3; \"$@\"; r=$?; "
            "ls -A \"$d\" > \"$l\"; exit $r"_s.arg(room);
        const QStringList wrapper{u"unshare"_s, u"-rm"_s, u"sh"_s, u"-c"_s, script,
                                  u"sh"_s,      folder,   hold,    listing};
        if (!hasTool(u"unshare"_s) || run(u"unshare"_s, {u"-rm"_s, u"true"_s}).code != 0)
            QSKIP("no mount namespace here for a small file system");
        const QStringList shown =
            convert({a, b}, u"PDF"_s, {QJsonObject{{u"button"_s, 1000}}}, wrapper);
        QCOMPARE(shown, QStringList{u"The conversion failed.\nUntitled.pdf: It could not be "
                                    "written: No space left on device"_s});
        QCOMPARE(QString::fromUtf8(readAll(listing)).split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{u"a.png"_s, u"b.png"_s}));
    }

    void anOutputNameThatIsALinkIsReplacedNotWrittenThrough()
    {
        const QString folder = mkdir(u"linked"_s);
        mkdir(u"elsewhere"_s);
        const QString source = path(u"linked/photo.png"_s);
        writePicture(source, 32, 32);
        const QString victim = path(u"elsewhere/victim"_s);
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("someone else's file");
        v.close();
        QVERIFY(QFile::link(victim, path(u"linked/photo.jpeg"_s)));
        QVERIFY(QFile::link(victim, path(u"linked/AppIcon.icns"_s)));
        QCOMPARE(convert({source}, u"JPEG"_s, {}), QStringList());
        QCOMPARE(convert({source}, u"AppIcon.icns"_s, {}), QStringList());
        QCOMPARE(readAll(victim), QByteArray("someone else's file"));
        for (const QString& name : {u"photo.jpeg"_s, u"AppIcon.icns"_s}) {
            const QFileInfo output(folder + u'/' + name);
            QVERIFY2(!output.isSymLink() && output.size() > 0, qPrintable(name));
        }
    }

    void aMergeThroughTheMenuWritesOneDocumentBesideTheFirstItem()
    {
        mkdir(u"menumerge"_s);
        const QString a = path(u"menumerge/a.png"_s);
        const QString b = path(u"menumerge/b.jpg"_s);
        writePicture(a, 50, 40);
        writePicture(b, 60, 30, false);
        QCOMPARE(convert({a, b}, u"PDF"_s, {}), QStringList());
        const QByteArray name = QFile::encodeName(path(u"menumerge/Untitled.pdf"_s));
        QVERIFY(QFile::exists(path(u"menumerge/Untitled.pdf"_s)));
        QCOMPARE(vips::VImage::pdfload(name.constData()).get_int(VIPS_META_N_PAGES), 2);
    }
};

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"
