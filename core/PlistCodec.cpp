#include "PlistCodec.h"

#include <QTimeZone>

#include <plist/plist.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <type_traits>

namespace pallstone {

namespace {

// Property-list dates count from 2001-01-01 00:00 UTC.
constexpr qint64 kReferenceDateMSecs = 978307200000LL;

struct PlistDeleter
{
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

struct MallocDeleter
{
    void operator()(char* p) const { std::free(p); }
};
using CString = std::unique_ptr<char, MallocDeleter>;

// Dates, the one place that knows which of libplist's date calls this release has: from 2.4 on,
// whole seconds since 1970 (the calls that count from 2001 are deprecated in 2.7; a fraction of a
// second in a date read from elsewhere is dropped there); before, seconds and microseconds since
// 2001.
QDateTime dateOf(plist_t node)
{
#ifdef PALLSTONE_PLIST_UNIX_DATE
    int64_t sec = 0;
    plist_get_unix_date_val(node, &sec);
    return QDateTime::fromSecsSinceEpoch(qint64(sec), QTimeZone::utc());
#else
    int32_t sec = 0;
    int32_t usec = 0;
    plist_get_date_val(node, &sec, &usec);
    return QDateTime::fromMSecsSinceEpoch(kReferenceDateMSecs + qint64(sec) * 1000 + usec / 1000,
                                          QTimeZone::utc());
#endif
}

plist_t newDate(const QDateTime& date)
{
#ifdef PALLSTONE_PLIST_UNIX_DATE
    const qint64 ms = date.toMSecsSinceEpoch();
    return plist_new_unix_date(int64_t(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000)));
#else
    const qint64 ms = date.toMSecsSinceEpoch() - kReferenceDateMSecs;
    qint64 sec = ms / 1000;
    qint64 rest = ms % 1000;
    if (rest < 0) {
        rest += 1000;
        --sec;
    }
    return plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(rest * 1000));
#endif
}

Value fromNode(plist_t node, int depth)
{
    // Deeply nested input is refused rather than recursed into without bound.
    if (!node || depth > 256)
        return {};
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        // Negative integers are kept in their two's-complement form.
        return Value(static_cast<qint64>(u));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_STRING: {
        // Read in place: libplist's copying getter aborts the program on a string that holds a
        // zero byte. A string ends at its first zero byte, as it does when it is written back.
        uint64_t length = 0;
        const char* raw = plist_get_string_ptr(node, &length);
        if (!raw || length > static_cast<uint64_t>(std::numeric_limits<int>::max()))
            return {};
        return Value(QString::fromUtf8(raw, qsizetype(qstrnlen(raw, size_t(length)))));
    }
    case PLIST_KEY: {
        char* raw = nullptr;
        plist_get_key_val(node, &raw);
        CString s(raw);
        return Value(QString::fromUtf8(s ? s.get() : ""));
    }
    case PLIST_DATA: {
        char* raw = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &raw, &length);
        CString d(raw);
        if (length > static_cast<uint64_t>(std::numeric_limits<int>::max()))
            return {};
        return Value(QByteArray(d ? d.get() : "", static_cast<qsizetype>(length)));
    }
    case PLIST_DATE:
        return Value(dateOf(node));
    case PLIST_ARRAY: {
        Value::List list;
        const uint32_t n = plist_array_get_size(node);
        list.reserve(n);
        for (uint32_t i = 0; i < n; ++i) {
            Value v = fromNode(plist_array_get_item(node, i), depth + 1);
            if (v.isPresent())
                list.append(v);
        }
        return Value(list, false);
    }
    case PLIST_DICT: {
        Value::Map map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it)
            return Value(map, false);
        for (;;) {
            char* rawKey = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &rawKey, &item);
            CString key(rawKey);
            if (!item)
                break;
            Value v = fromNode(item, depth + 1);
            if (key && v.isPresent())
                map.insert(QString::fromUtf8(key.get()), v);
        }
        std::free(it);
        return Value(map, false);
    }
    default:
        return {};
    }
}

plist_t toNode(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Boolean:
        return plist_new_bool(value.boolean() ? 1 : 0);
    case Value::Kind::Integer:
        return plist_new_uint(static_cast<uint64_t>(value.integer()));
    case Value::Kind::Real:
        return plist_new_real(value.real());
    case Value::Kind::String:
        return plist_new_string(value.string().toUtf8().constData());
    case Value::Kind::Data:
        return plist_new_data(value.data().constData(), static_cast<uint64_t>(value.data().size()));
    case Value::Kind::Date:
        return newDate(value.date());
    case Value::Kind::Array: {
        plist_t array = plist_new_array();
        for (const Value& v : value.list()) {
            if (plist_t child = toNode(v))
                plist_array_append_item(array, child);
        }
        return array;
    }
    case Value::Kind::Dictionary: {
        plist_t dict = plist_new_dict();
        const Value::Map& map = value.map();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (plist_t child = toNode(it.value()))
                plist_dict_set_item(dict, it.key().toUtf8().constData(), child);
        }
        return dict;
    }
    default:
        return nullptr;
    }
}

quint64 readBigEndian(const uchar* at, int size)
{
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | at[i];
    return value;
}

// A binary property list may hold UTF-16 strings with a zero code unit, and libplist aborts the
// program when it hands such a string back (a dictionary key in particular). Each zero becomes
// U+FFFD before libplist sees it: the same size, so every offset in the file stays right.
QByteArray withoutZeroCharacters(const QByteArray& bytes)
{
    constexpr qsizetype kTrailer = 32;
    if (!bytes.startsWith("bplist00") || bytes.size() < 8 + kTrailer)
        return bytes;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const quint64 end = quint64(bytes.size() - kTrailer);
    const int offsetSize = data[end + 6];
    const quint64 count = readBigEndian(data + end + 8, 8);
    const quint64 table = readBigEndian(data + end + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || table > end || count > (end - table) / offsetSize)
        return bytes;
    QByteArray cleaned = bytes;
    for (quint64 i = 0; i < count; ++i) {
        quint64 at = readBigEndian(data + table + i * quint64(offsetSize), offsetSize);
        if (at >= end || (data[at] & 0xf0) != 0x60)
            continue;
        quint64 units = data[at] & 0x0f;
        ++at;
        if (units == 0x0f) {
            // The length follows as an integer object.
            if (at >= end || (data[at] & 0xf0) != 0x10 || (data[at] & 0x0f) > 3)
                continue;
            const int size = 1 << (data[at] & 0x0f);
            if (at + 1 + quint64(size) > end)
                continue;
            units = readBigEndian(data + at + 1, size);
            at += 1 + quint64(size);
        }
        for (quint64 k = 0; k < units && at + 2 * k + 1 < end; ++k) {
            if (data[at + 2 * k] == 0 && data[at + 2 * k + 1] == 0) {
                cleaned[qsizetype(at + 2 * k)] = char(0xff);
                cleaned[qsizetype(at + 2 * k + 1)] = char(0xfd);
            }
        }
    }
    return cleaned;
}

// libplist 2.6 added an out-parameter for the format it found; older releases take three
// arguments. The only place that tells the two apart.
template <typename FromMemory>
void parseMemory(FromMemory fromMemory, const char* data, uint32_t size, plist_t* root)
{
    if constexpr (std::is_invocable_v<FromMemory, const char*, uint32_t, plist_t*>)
        fromMemory(data, size, root);
    else
        fromMemory(data, size, root, nullptr);
}

} // namespace

Value PlistCodec::parse(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<int32_t>::max())
        return {};
    plist_t root = nullptr;
    const QByteArray safe = withoutZeroCharacters(bytes);
    parseMemory(&plist_from_memory, safe.constData(), static_cast<uint32_t>(safe.size()), &root);
    PlistPtr owner(root);
    return fromNode(root, 0);
}

QByteArray PlistCodec::toXml(const Value& value)
{
    PlistPtr root(toNode(value));
    if (!root)
        return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(root.get()), &xml, &length);
    CString owner(xml);
    return QByteArray(xml ? xml : "", static_cast<qsizetype>(length));
}

} // namespace pallstone
