#include "Value.h"

#include <QLocale>
#include <QStringDecoder>
#include <QTimeZone>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace pallstone {

namespace {

// The numeric value of the longest numeric prefix of a string ("12.9kg" reads 12.9), 0 when there
// is none; independent of the process's locale.
double leadingDouble(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

} // namespace

Value::Value(bool b) : m_kind(Kind::Boolean), m_bool(b) {}
Value::Value(int i) : m_kind(Kind::Integer), m_int(i) {}
Value::Value(qint64 i) : m_kind(Kind::Integer), m_int(i) {}
Value::Value(double d) : m_kind(Kind::Real), m_real(d) {}
Value::Value(const QString& s) : m_kind(s.isNull() ? Kind::Missing : Kind::String), m_string(s) {}
Value::Value(const QDateTime& d) : m_kind(d.isValid() ? Kind::Date : Kind::Missing), m_date(d) {}
Value::Value(const QByteArray& d) : m_kind(Kind::Data), m_data(d) {}

Value::Value(const List& list, bool isMutable)
    : m_kind(Kind::Array), m_mutable(isMutable), m_list(std::make_shared<List>(list))
{}

Value::Value(const Map& map, bool isMutable)
    : m_kind(Kind::Dictionary), m_mutable(isMutable), m_map(std::make_shared<Map>(map))
{}

Value::Value(const QStringList& list, bool isMutable)
    : m_kind(Kind::Array), m_mutable(isMutable), m_list(std::make_shared<List>())
{
    m_list->reserve(list.size());
    for (const QString& s : list)
        m_list->append(Value(s));
}

Value Value::null()
{
    Value v;
    v.m_kind = Kind::Null;
    return v;
}

Value Value::keyValues(std::initializer_list<Value> keysAndValues)
{
    Value result = dictionary();
    for (auto it = keysAndValues.begin(); it != keysAndValues.end(); ++it) {
        const Value& key = *it;
        if (!key.isString())
            break;
        if (++it == keysAndValues.end() || it->isMissing())
            break;
        result.setObjectAtPath(*it, key.string());
    }
    return result;
}

Value Value::immutableCopy() const
{
    Value v = *this;
    v.m_mutable = false;
    return v;
}

Value Value::mutableCopy() const
{
    Value v = *this;
    if (isArray() || isDictionary())
        v.m_mutable = true;
    return v;
}

bool Value::boolean() const
{
    switch (m_kind) {
    case Kind::Boolean:
        return m_bool;
    case Kind::Integer:
        return m_int != 0;
    case Kind::Real:
        return m_real != 0;
    default:
        return false;
    }
}

qint64 Value::integer() const
{
    switch (m_kind) {
    case Kind::Boolean:
        return m_bool ? 1 : 0;
    case Kind::Integer:
        return m_int;
    case Kind::Real:
        // Truncation towards zero, as an integer value of a floating-point number reads.
        if (!std::isfinite(m_real))
            return 0;
        if (m_real >= 9.2e18)
            return std::numeric_limits<qint64>::max();
        if (m_real <= -9.2e18)
            return std::numeric_limits<qint64>::min();
        return static_cast<qint64>(m_real);
    default:
        return 0;
    }
}

double Value::real() const
{
    switch (m_kind) {
    case Kind::Boolean:
        return m_bool ? 1 : 0;
    case Kind::Integer:
        return static_cast<double>(m_int);
    case Kind::Real:
        return m_real;
    default:
        return 0;
    }
}

const QString& Value::string() const
{
    static const QString none;
    return m_kind == Kind::String ? m_string : none;
}

const QDateTime& Value::date() const
{
    static const QDateTime none;
    return m_kind == Kind::Date ? m_date : none;
}

const QByteArray& Value::data() const
{
    static const QByteArray none;
    return m_kind == Kind::Data ? m_data : none;
}

const Value::List Value::list() const
{
    return m_kind == Kind::Array ? *m_list : List();
}

const Value::Map Value::map() const
{
    return m_kind == Kind::Dictionary ? *m_map : Map();
}

QStringList Value::stringList() const
{
    QStringList out;
    for (const Value& v : list()) {
        if (v.isString())
            out.append(v.string());
    }
    return out;
}

void Value::detach()
{
    if (m_list && m_list.use_count() > 1)
        m_list = std::make_shared<List>(*m_list);
    if (m_map && m_map.use_count() > 1)
        m_map = std::make_shared<Map>(*m_map);
}

Value::List& Value::listRef()
{
    Q_ASSERT(isArray());
    detach();
    return *m_list;
}

Value::Map& Value::mapRef()
{
    Q_ASSERT(isDictionary());
    detach();
    return *m_map;
}

qsizetype Value::count() const
{
    if (isArray())
        return m_list->size();
    if (isDictionary())
        return m_map->size();
    return 0;
}

Value Value::at(qsizetype i) const
{
    if (!isArray() || i < 0 || i >= m_list->size())
        return {};
    return m_list->at(i);
}

void Value::append(const Value& v)
{
    if (isArray() && v.isPresent())
        listRef().append(v);
}

void Value::insert(qsizetype i, const Value& v)
{
    if (!isArray() || v.isMissing())
        return;
    List& l = listRef();
    l.insert(std::clamp<qsizetype>(i, 0, l.size()), v);
}

void Value::removeAt(qsizetype i)
{
    if (isArray() && i >= 0 && i < m_list->size())
        listRef().removeAt(i);
}

void Value::replace(qsizetype i, const Value& v)
{
    if (!isArray() || i < 0 || i >= m_list->size())
        return;
    if (v.isMissing())
        listRef().removeAt(i);
    else
        listRef()[i] = v;
}

bool Value::contains(const QString& key) const
{
    return isDictionary() && m_map->contains(key);
}

Value Value::value(const QString& key) const
{
    if (!isDictionary())
        return {};
    return m_map->value(key);
}

QStringList Value::keys() const
{
    return isDictionary() ? m_map->keys() : QStringList();
}

void Value::insert(const QString& key, const Value& v)
{
    if (!isDictionary())
        return;
    if (v.isMissing())
        mapRef().remove(key);
    else
        mapRef().insert(key, v);
}

void Value::remove(const QString& key)
{
    if (contains(key))
        mapRef().remove(key);
}

QStringList Value::pathComponents(const QString& path, const QString& separator)
{
    if (separator.isEmpty()) {
        QString p = path;
        p.replace(u'.', u'/');
        return p.split(u'/');
    }
    return path.split(separator);
}

Value Value::objectAtPath(const QString& path, const QString& separator) const
{
    if (path.isEmpty() || !isDictionary())
        return {};
    const QStringList parts = pathComponents(path, separator);
    const Value* current = this;
    const Value* stepped = nullptr;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (part.isEmpty())
            continue;
        auto it = current->m_map->constFind(part);
        if (it == current->m_map->constEnd())
            return {};
        if (i == parts.size() - 1)
            return *it;
        if (!it->isDictionary())
            return {};
        current = &*it;
        stepped = current;
    }
    // The path ended in empty components: the last dictionary stepped into answers.
    return stepped ? *stepped : Value();
}

Value Value::objectAtPath(const QString& path, const Value& otherwise,
                          const QString& separator) const
{
    Value v = objectAtPath(path, separator);
    return v.isMissing() ? otherwise : v;
}

bool Value::boolAtPath(const QString& path, bool otherwise) const
{
    return objectAtPath(path).readBool(otherwise);
}

bool Value::readBool(bool otherwise) const
{
    switch (m_kind) {
    case Kind::Null:
        return false;
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Real:
        return integer() != 0;
    case Kind::String: {
        if (m_string == u"1")
            return true;
        if (m_string.isEmpty())
            return false;
        const QChar c = m_string.at(0);
        return c == u'y' || c == u'Y' || c == u'T' || c == u't';
    }
    default:
        return otherwise;
    }
}

Value Value::numberAtPath(const QString& path) const
{
    const Value v = objectAtPath(path);
    if (v.isNumber())
        return v;
    if (v.isString())
        return Value(leadingDouble(v.string()));
    return {};
}

Value Value::numberAtPath(const QString& path, const Value& otherwise) const
{
    Value v = numberAtPath(path);
    return v.isMissing() ? otherwise : v;
}

QString Value::stringAtPath(const QString& path) const
{
    const Value v = objectAtPath(path);
    if (v.isString())
        return v.string();
    if (v.isNumber())
        return QString::number(static_cast<int>(v.integer()));
    return {};
}

QString Value::stringAtPath(const QString& path, const QString& otherwise) const
{
    QString s = stringAtPath(path);
    return s.isNull() ? otherwise : s;
}

Value Value::arrayAtPath(const QString& path) const
{
    Value v = objectAtPath(path);
    return v.isArray() ? v : Value();
}

Value Value::arrayAtPath(const QString& path, const Value& otherwise) const
{
    Value v = arrayAtPath(path);
    return v.isMissing() ? otherwise : v;
}

Value Value::mutableArrayAtPath(const QString& path) const
{
    Value v = objectAtPath(path);
    return v.isMutableArray() ? v : Value();
}

Value Value::mutableArrayAtPath(const QString& path, const Value& otherwise) const
{
    Value v = mutableArrayAtPath(path);
    return v.isMissing() ? otherwise : v;
}

Value Value::dictAtPath(const QString& path) const
{
    Value v = objectAtPath(path);
    return v.isDictionary() ? v : Value();
}

Value Value::dictAtPath(const QString& path, const Value& otherwise) const
{
    Value v = dictAtPath(path);
    return v.isMissing() ? otherwise : v;
}

Value Value::mutableDictAtPath(const QString& path) const
{
    Value v = objectAtPath(path);
    return v.isMutableDictionary() ? v : Value();
}

Value Value::mutableDictAtPath(const QString& path, const Value& otherwise) const
{
    Value v = mutableDictAtPath(path);
    return v.isMissing() ? otherwise : v;
}

Value Value::objectOfAny(const QStringList& keys) const
{
    for (const QString& key : keys) {
        if (contains(key))
            return m_map->value(key);
    }
    return {};
}

QString Value::stringOfAny(const QStringList& keys) const
{
    return objectOfAny(keys).asText();
}

QString Value::stringOfAny(const QStringList& keys, bool removeAll)
{
    const QString s = stringOfAny(keys);
    if (removeAll) {
        for (const QString& key : keys)
            remove(key);
    }
    return s;
}

bool Value::setObjectAtPath(const Value& object, const QString& path, const QString& separator)
{
    if (path.isEmpty() || !isDictionary() || object.isMissing())
        return false;
    const QStringList parts = pathComponents(path, separator);
    Value* current = this;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (part.isEmpty())
            continue;
        Map& map = current->mapRef();
        if (i == parts.size() - 1) {
            map.insert(part, object);
            return true;
        }
        auto it = map.find(part);
        if (it == map.end()) {
            it = map.insert(part, dictionary());
        } else if (!it->isDictionary()) {
            return false;
        } else {
            it->m_mutable = true;
        }
        current = &*it;
    }
    // A trailing separator: the dictionaries on the way exist now, nothing is stored.
    return false;
}

Value Value::append(const QString& path, const Value& object) const
{
    if (path.isNull() || object.isMissing() || !isDictionary())
        return *this;
    Value target = isMutableDictionary() ? *this : mutableCopy();
    target.setObjectAtPath(object, path);
    return target;
}

Value& Value::APPEND(const QString& path, const Value& object)
{
    if (!path.isNull() && object.isPresent())
        setObjectAtPath(object, path);
    return *this;
}

Value Value::mutableDeepCopy() const
{
    if (!isDictionary())
        return {};
    Map copy;
    for (auto it = m_map->cbegin(); it != m_map->cend(); ++it) {
        const Value& v = it.value();
        if (v.isDictionary())
            copy.insert(it.key(), v.mutableDeepCopy());
        else if (v.isArray())
            copy.insert(it.key(), v.mutableCopy()); // one level: the elements are shared
        else
            copy.insert(it.key(), v);
    }
    return Value(copy, true);
}

Value Value::asNumber() const
{
    switch (m_kind) {
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Real:
        return *this;
    case Kind::String: {
        // The integer value of the string: its numeric prefix with the fraction dropped.
        bool ok = false;
        const qint64 whole = m_string.trimmed().toLongLong(&ok);
        if (ok)
            return Value(whole);
        return Value(Value(leadingDouble(m_string)).integer());
    }
    case Kind::Date:
        return Value(static_cast<double>(m_date.toMSecsSinceEpoch()) / 1000.0);
    case Kind::Null:
        return Value(0);
    default:
        return {};
    }
}

qint64 Value::asInteger() const
{
    return asNumber().integer();
}

double Value::asFloat() const
{
    return asNumber().real();
}

bool Value::asBool() const
{
    return asNumber().boolean();
}

QString Value::asText() const
{
    switch (m_kind) {
    case Kind::Missing:
    case Kind::Null:
        return {};
    case Kind::String:
        return m_string;
    case Kind::Data: {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = utf8.decode(m_data);
        if (!utf8.hasError())
            return s;
        return QString::fromLatin1(m_data);
    }
    default:
        return description();
    }
}

QDateTime Value::asDate() const
{
    static const QDateTime epoch = QDateTime::fromMSecsSinceEpoch(0, QTimeZone::utc());
    switch (m_kind) {
    case Kind::Missing:
        return {};
    case Kind::Boolean:
    case Kind::Integer:
    case Kind::Real:
        return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(real() * 1000.0),
                                              QTimeZone::utc());
    case Kind::String: {
        // Read as UTC wall-clock time; parsed in parts so that no local DST gap can reject it.
        const QString text = m_string.trimmed();
        const QTime midnight(0, 0);
        auto at = [&](const QString& datePattern, const QString& timePattern) {
            if (timePattern.isEmpty()) {
                const QDate day = QDate::fromString(text, datePattern);
                return day.isValid() ? QDateTime(day, midnight, QTimeZone::utc()) : QDateTime();
            }
            if (text.size() != 19 || text.at(10) != u' ')
                return QDateTime();
            const QDate day = QDate::fromString(text.left(10), datePattern);
            const QTime time = QTime::fromString(text.mid(11), timePattern);
            if (!day.isValid() || !time.isValid())
                return QDateTime();
            return QDateTime(day, time, QTimeZone::utc());
        };
        const QString hms = QStringLiteral("HH:mm:ss");
        for (const QDateTime& d :
             {at(QStringLiteral("yyyy-MM-dd"), hms), at(QStringLiteral("yyyy/MM/dd"), hms),
              at(QStringLiteral("yyyy-MM-dd"), QString())}) {
            if (d.isValid())
                return d;
        }
        return {};
    }
    case Kind::Date:
        return m_date;
    default:
        return epoch;
    }
}

Value Value::asData() const
{
    switch (m_kind) {
    case Kind::String:
        return Value(m_string.toUtf8());
    case Kind::Data:
        return *this;
    default:
        return {};
    }
}

Value Value::asArray() const
{
    if (isMissing())
        return {};
    if (isArray())
        return *this;
    return Value(List{*this}, false);
}

Value Value::asMutableArray() const
{
    return isMutableArray() ? *this : Value();
}

Value Value::asDictionary() const
{
    return isDictionary() ? *this : Value();
}

Value Value::asMutableDictionary() const
{
    if (!isDictionary())
        return {};
    return isMutableDictionary() ? *this : mutableCopy();
}

QString Value::description() const
{
    switch (m_kind) {
    case Kind::Missing:
        return {};
    case Kind::Null:
        return QStringLiteral("<null>");
    case Kind::Boolean:
        return m_bool ? QStringLiteral("1") : QStringLiteral("0");
    case Kind::Integer:
        return QString::number(m_int);
    case Kind::Real:
        return QString::number(m_real, 'g', 17);
    case Kind::String:
        return m_string;
    case Kind::Date:
        return m_date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"));
    case Kind::Data:
        return u'<' + QString::fromLatin1(m_data.toHex(' ')) + u'>';
    case Kind::Array: {
        QStringList parts;
        for (const Value& v : *m_list)
            parts.append(v.description());
        return u'(' + parts.join(QStringLiteral(", ")) + u')';
    }
    case Kind::Dictionary: {
        QStringList parts;
        for (auto it = m_map->cbegin(); it != m_map->cend(); ++it)
            parts.append(it.key() + QStringLiteral(" = ") + it.value().description());
        return u'{' + parts.join(QStringLiteral("; ")) + u'}';
    }
    }
    return {};
}

bool Value::operator==(const Value& other) const
{
    if (isNumber() && other.isNumber()) {
        if (m_kind == Kind::Real || other.m_kind == Kind::Real)
            return real() == other.real();
        return integer() == other.integer();
    }
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case Kind::Missing:
    case Kind::Null:
        return true;
    case Kind::String:
        return m_string == other.m_string;
    case Kind::Date:
        return m_date == other.m_date;
    case Kind::Data:
        return m_data == other.m_data;
    case Kind::Array:
        return m_list == other.m_list || *m_list == *other.m_list;
    case Kind::Dictionary:
        return m_map == other.m_map || *m_map == *other.m_map;
    default:
        return false;
    }
}

} // namespace pallstone
