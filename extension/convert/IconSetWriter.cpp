#include "IconSetWriter.h"

#include "FileName.h"
#include "IcnsWriter.h"
#include "ImageConverter.h"
#include "OutputFile.h"
#include "Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace pallstone {

namespace {

const QString kAssetFolder = QStringLiteral("AppIcon.appiconset");
const QString kContentsFile = QStringLiteral("Contents.json");
const QString kIconFile = QStringLiteral("AppIcon.icns");

QString sizeText(double points)
{
    return QString::number(points, 'g', 6);
}

// prefix + "<size>x<size><suffix>.png" at size x scale pixels.
IconSetWriter::Icon icon(const QString& prefix, double points, double scale, const QString& suffix,
                         int pixels = 0)
{
    const QString size = sizeText(points);
    IconSetWriter::Icon out;
    out.fileName = prefix + size + u'x' + size + suffix + QStringLiteral(".png");
    out.pixels = pixels > 0 ? pixels : int(std::lround(points * scale));
    out.points = points;
    out.scale = scale;
    return out;
}

void add1x(QList<IconSetWriter::Icon>& list, const QString& prefix, double points)
{
    list.append(icon(prefix, points, 1, QString()));
}

// The @2x file and, unless only, the 1x file after it.
void add2x(QList<IconSetWriter::Icon>& list, const QString& prefix, double points, bool only)
{
    list.append(icon(prefix, points, 2, QStringLiteral("@2x")));
    if (!only)
        add1x(list, prefix, points);
}

// The @3x file and, unless only, the @2x file (that one alone) after it.
void add3x(QList<IconSetWriter::Icon>& list, const QString& prefix, double points, bool only)
{
    list.append(icon(prefix, points, 3, QStringLiteral("@3x")));
    if (!only)
        list.append(icon(prefix, points, 2, QStringLiteral("@2x")));
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    OutputFile output(path);
    if (!output.open(error))
        return false;
    if (!OutputFile::writeAll(output.descriptor(), bytes, error))
        return false;
    return output.commit(error);
}

QString watchSubtype(const QString& fileName)
{
    static const std::pair<const char16_t*, const char16_t*> kSubtypes[] = {
        {u"notificationCenter_24", u"38mm"}, {u"notificationCenter_27", u"42mm"},
        {u"appLauncher_40", u"38mm"},        {u"longLook_44", u"42mm"},
        {u"shortLook_86", u"38mm"},          {u"shortLook_98", u"42mm"},
    };
    for (const auto& [start, subtype] : kSubtypes) {
        if (fileName.startsWith(QStringView(start)))
            return QString::fromUtf16(subtype);
    }
    return {};
}

// Every size from one image: a large source is shrunk once to the biggest icon and each icon made
// from that, one pass over the source instead of one per icon. Sizes several icons share (the
// 40-pixel one is three files of the iOS set) are encoded once, and the encodes run side by side.
std::optional<QHash<int, QByteArray>>
renderPngs(const vips::VImage& source, const QList<IconSetWriter::Icon>& icons, QString* error)
{
    QList<int> sizes;
    for (const IconSetWriter::Icon& i : icons) {
        if (!sizes.contains(i.pixels))
            sizes.append(i.pixels);
    }
    vips::VImage base = source;
    const int largest = *std::max_element(sizes.cbegin(), sizes.cend());
    if (source.width() > largest)
        base = ImageConverter::resized(source, largest, largest).copy_memory();

    QList<std::optional<QByteArray>> encoded(sizes.size());
    QList<QString> errors(sizes.size());
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype k = next++; k < sizes.size(); k = next++) {
            try {
                encoded[k] = ImageConverter::encodePng(
                    ImageConverter::resized(base, sizes.at(k), sizes.at(k)), &errors[k]);
            } catch (const vips::VError& e) {
                errors[k] = QString::fromUtf8(e.what());
                vips_error_clear();
            }
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();

    QHash<int, QByteArray> pngs;
    for (qsizetype k = 0; k < sizes.size(); ++k) {
        if (!encoded.at(k)) {
            if (error)
                *error = errors.at(k);
            return std::nullopt;
        }
        pngs.insert(sizes.at(k), *encoded.at(k));
    }
    return pngs;
}

IconSetWriter::Result writeIconFile(const vips::VImage& source, const QString& basePath)
{
    IconSetWriter::Result result;
    result.path = QFileInfo(basePath).absolutePath() + u'/' + kIconFile;
    const QList<IconSetWriter::Icon> list = IconSetWriter::icons(IconSetWriter::Target::IconFile);
    QList<IcnsWriter::Entry> entries;
    std::optional<QHash<int, QByteArray>> pngs;
    try {
        pngs = renderPngs(source, list, &result.error);
    } catch (const vips::VError& e) {
        result.error = QString::fromUtf8(e.what());
        vips_error_clear();
    }
    if (!pngs)
        return result;
    for (const IconSetWriter::Icon& i : list)
        entries.append({IcnsWriter::typeFor(int(i.points), int(i.scale)), pngs->value(i.pixels)});
    // The name is fixed, not made unique: an older icon file is replaced whole.
    if (writeFile(result.path, IcnsWriter::pack(entries), &result.error))
        result.outcome = IconSetWriter::Outcome::Written;
    return result;
}

IconSetWriter::Result writeAssetFolder(const vips::VImage& source, const QString& basePath,
                                       IconSetWriter::Target target)
{
    IconSetWriter::Result result;
    const std::optional<QString> folder = OutputFile::createUniqueFolder(
        basePath + IconSetWriter::folderSuffix(target), &result.error);
    if (!folder)
        return result;
    result.path = *folder;
    const QString assets = result.path + u'/' + kAssetFolder;
    const auto fail = [&](const QString& error) {
        // The folder was made by this call: nothing of the user's is in it.
        Paths::remove(result.path);
        result.outcome = IconSetWriter::Outcome::Failed;
        if (result.error.isEmpty())
            result.error = error;
        return result;
    };
    // By the name's bytes, as every step of a set: Qt's folder calls would make another name of
    // a source name that is not UTF-8, and leave the set's folder behind empty.
    if (::mkdir(FileName::encode(assets).constData(), 0777) != 0)
        return fail(QStringLiteral("cannot create %1").arg(assets));

    const QList<IconSetWriter::Icon> list = IconSetWriter::icons(target);
    QStringList names;
    std::optional<QHash<int, QByteArray>> pngs;
    try {
        pngs = renderPngs(source, list, &result.error);
    } catch (const vips::VError& e) {
        vips_error_clear();
        return fail(QString::fromUtf8(e.what()));
    }
    if (!pngs)
        return fail(QString());
    for (const IconSetWriter::Icon& i : list) {
        if (!writeFile(assets + u'/' + i.fileName, pngs->value(i.pixels), &result.error))
            return fail(QString());
        names.append(i.fileName);
    }
    const QByteArray json =
        QJsonDocument(IconSetWriter::contents(names, target)).toJson(QJsonDocument::Indented);
    if (!writeFile(assets + u'/' + kContentsFile, json, &result.error))
        return fail(QString());
    result.outcome = IconSetWriter::Outcome::Written;
    return result;
}

} // namespace

std::optional<IconSetWriter::Target> IconSetWriter::targetForKey(const QString& key)
{
    if (key == u"AppIcon.icns")
        return Target::IconFile;
    if (key == u"OSX AppIconset")
        return Target::Mac;
    if (key == u"iOS AppIconset")
        return Target::Ios;
    if (key == u"iWatch AppIconset")
        return Target::Watch;
    if (key == u"Android AppIconset")
        return Target::Android;
    return std::nullopt;
}

QString IconSetWriter::folderSuffix(Target target)
{
    switch (target) {
    case Target::IconFile:
        return {};
    case Target::Mac:
        return QStringLiteral("(OSX)");
    case Target::Ios:
        return QStringLiteral("(iOS)");
    case Target::Watch:
        return QStringLiteral("(iWatch)");
    case Target::Android:
        break;
    }
    return QStringLiteral("(Android)");
}

QList<IconSetWriter::Icon> IconSetWriter::icons(Target target)
{
    QList<Icon> list;
    switch (target) {
    case Target::IconFile:
    case Target::Mac:
        // There is no 32 x 32 entry.
        for (const double size : {512.0, 256.0, 128.0, 16.0})
            add2x(list, QStringLiteral("icon_"), size, false);
        break;
    case Target::Ios:
        add2x(list, QStringLiteral("iPadApp_"), 76, false);
        add2x(list, QStringLiteral("iPadNotifications_"), 20, false);
        add2x(list, QStringLiteral("iPadSpootlight5_"), 29, false);
        add2x(list, QStringLiteral("iPadSpootlight7_"), 40, false);
        add2x(list, QStringLiteral("iPadProApp_"), 83.5, true);
        add3x(list, QStringLiteral("iPhoneApp_"), 60, false);
        add3x(list, QStringLiteral("iPhoneNotification_"), 20, false);
        add3x(list, QStringLiteral("iPhoneSpootlight5_"), 29, false);
        add3x(list, QStringLiteral("iPhoneSpootlight7_"), 40, false);
        add1x(list, QStringLiteral("store_"), 1024);
        break;
    case Target::Watch:
        add2x(list, QStringLiteral("appLauncher_"), 40, true);
        add2x(list, QStringLiteral("companion_"), 29, true);
        add3x(list, QStringLiteral("companion_"), 29, true);
        add2x(list, QStringLiteral("longLook_"), 44, true);
        add2x(list, QStringLiteral("notificationCenter_"), 24, true);
        add2x(list, QStringLiteral("notificationCenter_"), 27.5, true);
        add2x(list, QStringLiteral("shortLook_"), 86, true);
        add2x(list, QStringLiteral("shortLook_"), 98, true);
        break;
    case Target::Android:
        add2x(list, QStringLiteral("AndroidIcon_"), 36, false);
        list.append(icon(QStringLiteral("AndroidIcon_"), 36, 1.3, QStringLiteral("@1.3x"), 48));
        list.append(icon(QStringLiteral("AndroidIcon_"), 36, 2.7, QStringLiteral("@2.7x"), 96));
        break;
    }
    return list;
}

IconSetWriter::Result IconSetWriter::write(const vips::VImage& source, const QString& basePath,
                                           Target target)
{
    if (source.width() != source.height()) {
        Result result;
        result.outcome = Outcome::NotSquare;
        return result;
    }
    if (target == Target::IconFile)
        return writeIconFile(source, basePath);
    return writeAssetFolder(source, basePath, target);
}

QJsonObject IconSetWriter::contents(const QStringList& fileNames, Target target)
{
    QJsonArray images;
    for (const QString& fileName : fileNames) {
        if (fileName.startsWith(u'.'))
            continue;
        const QStringList parts = QFileInfo(fileName).completeBaseName().split(u'_');
        if (parts.size() != 2)
            continue;
        const QString& prefix = parts.at(0);
        const QStringList sizeAndScale = parts.at(1).split(u'@');
        const QString scale = sizeAndScale.size() == 2 ? sizeAndScale.at(1) : QStringLiteral("1x");
        QJsonObject entry{{QStringLiteral("size"), sizeAndScale.at(0)},
                          {QStringLiteral("filename"), fileName}};
        switch (target) {
        case Target::IconFile:
        case Target::Mac:
            entry.insert(QStringLiteral("scale"), scale);
            entry.insert(QStringLiteral("idiom"), QStringLiteral("mac"));
            break;
        case Target::Ios: {
            entry.insert(QStringLiteral("scale"), scale);
            QString idiom = QStringLiteral("iphone");
            if (fileName.toLower().contains(u"ipad"))
                idiom = QStringLiteral("ipad");
            else if (fileName.contains(u"store"))
                idiom = QStringLiteral("ios-marketing");
            entry.insert(QStringLiteral("idiom"), idiom);
            break;
        }
        case Target::Watch: {
            entry.insert(QStringLiteral("scale"), scale);
            entry.insert(QStringLiteral("idiom"), QStringLiteral("watch"));
            QString role = prefix;
            if (prefix.startsWith(u"companion"))
                role = QStringLiteral("companionSettings");
            else if (prefix.startsWith(u"shortLook"))
                role = QStringLiteral("quickLook");
            entry.insert(QStringLiteral("role"), role);
            const QString subtype = watchSubtype(fileName);
            if (!subtype.isEmpty())
                entry.insert(QStringLiteral("subtype"), subtype);
            break;
        }
        case Target::Android: {
            entry.insert(QStringLiteral("idiom"), QStringLiteral("android"));
            QString resolution = QStringLiteral("ldpi 36pt");
            if (fileName.contains(u"36@1.3x"))
                resolution = QStringLiteral("mdpi 48pt");
            else if (fileName.contains(u"36@2x"))
                resolution = QStringLiteral("hdpi 72pt");
            else if (fileName.contains(u"36@2.7x"))
                resolution = QStringLiteral("xhdpi 96pt");
            entry.insert(QStringLiteral("resolution"), resolution);
            break;
        }
        }
        images.append(entry);
    }
    return {
        {QStringLiteral("images"), images},
        {QStringLiteral("info"), QJsonObject{{QStringLiteral("version"), 1},
                                             {QStringLiteral("author"), QStringLiteral("xcode")}}}};
}

} // namespace pallstone
