// The store's reader: any bytes, as a property list and as the store's file. The store must never
// crash, must keep a copy of a file it cannot read before it replaces it, and what it writes must
// read back as what it wrote.
#include "Defaults.h"
#include "FuzzCheck.h"
#include "PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

using pallstone::Defaults;
using pallstone::PlistCodec;
using pallstone::Value;

namespace {

QTemporaryDir* scratch = nullptr;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scratch = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // Whatever parses gives XML that reads back as the same XML.
    const Value value = PlistCodec::parse(bytes);
    if (!value.isMissing()) {
        const QByteArray xml = PlistCodec::toXml(value);
        const Value again = PlistCodec::parse(xml);
        FUZZ_CHECK(!again.isMissing() || xml.isEmpty());
        if (!again.isMissing())
            FUZZ_CHECK(PlistCodec::toXml(again) == xml);
    }

    // The same bytes as the store's file.
    QDir folder(scratch->path());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
    const QString path = folder.filePath(QStringLiteral("store.plist"));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    Defaults store(path);
    const Value root = store.dictionaryRepresentation();
    FUZZ_CHECK(root.isDictionary());
    const bool unreadable = store.isUnreadable();
    store.stringForKey(QStringLiteral("menuItems"));
    store.arrayForKey(QStringLiteral("menuItems"));
    store.integerForKey(QStringLiteral("version"));

    FUZZ_CHECK(store.setObject(Value(QStringLiteral("fuzz")), QStringLiteral("fuzz.key")));
    store.reload();
    FUZZ_CHECK(store.stringForKey(QStringLiteral("fuzz.key")) == QStringLiteral("fuzz"));
    FUZZ_CHECK(!store.isUnreadable());
    // A store that could not be read is kept, byte for byte, before it is replaced.
    if (unreadable) {
        FUZZ_CHECK(!store.lastBackupPath().isEmpty());
        FUZZ_CHECK(readAll(store.lastBackupPath()) == bytes);
    }
    return 0;
}
