// The arguments of a menu call over the bus: a kind, selected URIs and a target URI, taken apart
// from any bytes. An accepted request holds only absolute, clean paths, and a path's bytes come
// back from its URI unchanged.
#include "DBusAdaptor.h"
#include "FileName.h"
#include "FuzzCheck.h"

#include <QUrl>

#include <cstdint>

using namespace pallstone;

namespace {

bool isCleanAbsolute(const QString& path)
{
    if (!path.startsWith(u'/') || path.contains(QChar(0)))
        return false;
    if (path == u"/")
        return true;
    if (path.endsWith(u'/'))
        return false;
    for (const QString& part : path.mid(1).split(u'/')) {
        if (part.isEmpty() || part == u"." || part == u"..")
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // First byte: the kind; the rest: URIs separated by newlines, the last one the target.
    const uint kind = data[0] % 6;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QStringList uris;
    for (const QByteArray& line : rest.split('\n'))
        uris.append(QString::fromUtf8(line));
    const QString target = uris.takeLast();

    for (const QString& uri : uris) {
        const std::optional<QString> path = DBusAdaptor::localPath(uri);
        if (!path)
            continue;
        FUZZ_CHECK(isCleanAbsolute(*path));
        // The bytes of the path survive the way back to a URI and in again.
        const QByteArray bytes = FileName::encode(*path);
        FUZZ_CHECK(FileName::decode(bytes) == *path);
        const QString again =
            QString::fromLatin1("file://" + bytes.toPercentEncoding("/!$&'()*+,;=:@~-._"));
        const std::optional<QString> back = DBusAdaptor::localPath(again);
        FUZZ_CHECK(back && *back == *path);
    }

    QString error;
    const std::optional<MenuRequest> request = DBusAdaptor::requestFor(kind, uris, target, &error);
    FUZZ_CHECK(request.has_value() == error.isEmpty());
    if (!request)
        return 0;
    FUZZ_CHECK(kind <= 3);
    FUZZ_CHECK(request->selectedPaths.size() == uris.size());
    for (const QString& path : request->selectedPaths)
        FUZZ_CHECK(isCleanAbsolute(path));
    if (!request->targetPath.isEmpty())
        FUZZ_CHECK(isCleanAbsolute(request->targetPath));
    return 0;
}
