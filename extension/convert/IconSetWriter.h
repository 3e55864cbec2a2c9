#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <vips/vips8>

#include <optional>

namespace pallstone {

// Writes the application icon sets of "Convert to" from one square image: the icon file
// "AppIcon.icns" beside the item, or an asset folder "<name>(OSX|iOS|iWatch|Android)" holding
// "AppIcon.appiconset" with the PNGs and their "Contents.json".
class IconSetWriter final
{
public:
    // The values are the icon types the menu's positions stand for.
    enum class Target
    {
        IconFile = -1,
        Mac = 0,
        Ios = 1,
        Watch = 2,
        Android = 3
    };

    struct Icon
    {
        QString fileName;
        int pixels = 0;
        double points = 0; // the size in the name
        double scale = 1;
    };

    enum class Outcome
    {
        Written,
        NotSquare,
        Failed
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        QString path; // the icon file, or the set's folder
        QString error;
    };

    // "AppIcon.icns", "OSX AppIconset", "iOS AppIconset", "iWatch AppIconset",
    // "Android AppIconset".
    static std::optional<Target> targetForKey(const QString& key);
    // The files of a set in the order they are written.
    static QList<Icon> icons(Target target);
    // "(OSX)", "(iOS)", "(iWatch)", "(Android)"; empty for the icon file.
    static QString folderSuffix(Target target);

    // basePath is the item's path without its extension. Nothing is written for a source that is
    // not square; a set that fails half-way is removed again, so no partial set is left to be
    // mistaken for a finished one.
    static Result write(const vips::VImage& source, const QString& basePath, Target target);

    // The description of an asset folder holding these files.
    static QJsonObject contents(const QStringList& fileNames, Target target);

private:
    IconSetWriter() = delete;
};

} // namespace pallstone
