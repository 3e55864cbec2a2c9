#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

namespace pallstone {

// The pictures of the folder icon list: one PNG per entry in the container's folder icon folder,
// named after the entry's key. The extension applies them to folders, so they are written whole
// or not at all.
class FolderIconFile final
{
public:
    // The side of the square a stored picture fits in.
    static constexpr int kSize = 120;

    // The extensions of the picture files offered for an entry.
    static const QStringList& pictureTypes();
    // Asks for one picture file of those types; nothing when the user cancelled.
    static std::optional<QString> askForPicture();
    // Where the picture of the entry with this key is kept.
    static QString pathForKey(const QString& key);
    // The picture shrunk or grown to fit the square, its proportions kept; null when the file
    // cannot be read as a picture.
    static QImage readFitted(const QString& path);
    // Writes the picture as the key's PNG. Empty on success, otherwise what went wrong (and no
    // file was left).
    [[nodiscard]] static QString write(const QImage& image, const QString& key);

private:
    FolderIconFile() = delete;
};

} // namespace pallstone
