#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace pallstone {

// Packs PNG images into an icon file (".icns": a big-endian container of typed chunks) and finds
// the largest PNG such a file holds. There is no iconset tool on Linux, so we write the container
// ourselves.
class IcnsWriter final
{
public:
    struct Entry
    {
        QByteArray type; // four characters, e.g. "ic10"
        QByteArray png;
    };

    // The chunk type for a PNG icon of `points` at `scale` (1 or 2); empty when the format has
    // none.
    static QByteArray typeFor(int points, int scale);
    static QByteArray pack(const QList<Entry>& entries);
    // The PNG payload with the most pixels; nothing when the file is malformed or holds no PNG.
    static std::optional<QByteArray> largestPngPayload(const QByteArray& icns);

private:
    IcnsWriter() = delete;
};

} // namespace pallstone
