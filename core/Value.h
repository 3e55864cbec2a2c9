#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringBuilder>
#include <QStringList>

#include <initializer_list>
#include <memory>

namespace pallstone {

// A property-list value: what the configuration, the menu records and the profiles are made of.
//
// "Missing" (no value at all) is distinct from the null marker (an explicit nothing). Arrays and
// dictionaries remember whether they are the mutable form, because readers such as
// mutableDictAtPath() only answer for that form. Containers are shared until written (copy on
// write), so copying a Value is cheap.
class Value final
{
public:
    enum class Kind : quint8
    {
        Missing,
        Null,
        Boolean,
        Integer,
        Real,
        String,
        Date,
        Data,
        Array,
        Dictionary,
    };

    using List = QList<Value>;
    using Map = QMap<QString, Value>;

    Value() = default; // missing
    Value(bool b);
    Value(int i);
    Value(qint64 i);
    Value(double d);
    Value(const QString& s);
    Value(const char16_t* s) : Value(QString::fromUtf16(s)) {}
    Value(QLatin1StringView s) : Value(QString(s)) {}
    template <typename A, typename B> Value(const QStringBuilder<A, B>& s) : Value(QString(s)) {}
    Value(const QDateTime& d);
    Value(const QByteArray& d);
    Value(const List& list, bool isMutable = true);
    Value(const Map& map, bool isMutable = true);
    Value(const QStringList& list, bool isMutable = true);

    static Value null();
    static Value array(const List& list = {}, bool isMutable = true)
    {
        return Value(list, isMutable);
    }
    static Value dictionary(const Map& map = {}, bool isMutable = true)
    {
        return Value(map, isMutable);
    }

    // Builds a dictionary from key, value pairs as setObjectAtPath() would; the walk stops at the
    // first key that is not a string or the first missing value, keeping what it stored so far.
    static Value keyValues(std::initializer_list<Value> keysAndValues);

    Kind kind() const { return m_kind; }
    bool isMissing() const { return m_kind == Kind::Missing; }
    bool isPresent() const { return m_kind != Kind::Missing; }
    bool isNull() const { return m_kind == Kind::Null; }
    bool isNumber() const
    {
        return m_kind == Kind::Boolean || m_kind == Kind::Integer || m_kind == Kind::Real;
    }
    bool isString() const { return m_kind == Kind::String; }
    bool isArray() const { return m_kind == Kind::Array; }
    bool isDictionary() const { return m_kind == Kind::Dictionary; }
    bool isMutableArray() const { return isArray() && m_mutable; }
    bool isMutableDictionary() const { return isDictionary() && m_mutable; }

    // Immutable and mutable forms of the same container (a copy; contents are shared).
    Value immutableCopy() const;
    Value mutableCopy() const;

    // Raw accessors; each answers a neutral value for another kind.
    bool boolean() const;
    qint64 integer() const;
    double real() const;
    const QString& string() const;
    const QDateTime& date() const;
    const QByteArray& data() const;
    // By value (a shared copy) so that iterating over a temporary's list is safe; const so that
    // iterating does not detach it.
    const List list() const;
    const Map map() const;
    QStringList stringList() const; // the string elements of an array, in order

    // Arrays.
    qsizetype count() const; // elements of an array, entries of a dictionary, else 0
    Value at(qsizetype i) const;
    void append(const Value& v);
    void insert(qsizetype i, const Value& v);
    void removeAt(qsizetype i);
    void replace(qsizetype i, const Value& v);

    // Dictionaries.
    bool contains(const QString& key) const;
    Value value(const QString& key) const;
    QStringList keys() const;
    void insert(const QString& key, const Value& v); // a missing value removes the key
    void remove(const QString& key);

    // Key paths: "." is read as "/" unless an explicit separator is given; empty components are
    // skipped.
    Value objectAtPath(const QString& path, const QString& separator = {}) const;
    Value objectAtPath(const QString& path, const Value& otherwise,
                       const QString& separator = {}) const;
    bool boolAtPath(const QString& path, bool otherwise = false) const;
    // The boolean reading of this value itself: null false, numbers by their integer value,
    // strings beginning with y/Y/t/T or equal to "1" true, anything else the fallback.
    bool readBool(bool otherwise = false) const;
    Value numberAtPath(const QString& path) const;
    Value numberAtPath(const QString& path, const Value& otherwise) const;
    QString stringAtPath(const QString& path) const; // a null QString when missing
    QString stringAtPath(const QString& path, const QString& otherwise) const;
    Value arrayAtPath(const QString& path) const;
    Value arrayAtPath(const QString& path, const Value& otherwise) const;
    Value mutableArrayAtPath(const QString& path) const;
    Value mutableArrayAtPath(const QString& path, const Value& otherwise) const;
    Value dictAtPath(const QString& path) const;
    Value dictAtPath(const QString& path, const Value& otherwise) const;
    Value mutableDictAtPath(const QString& path) const;
    Value mutableDictAtPath(const QString& path, const Value& otherwise) const;

    // The value of the first of the keys (plain keys, not paths) that is present.
    Value objectOfAny(const QStringList& keys) const;
    QString stringOfAny(const QStringList& keys) const;
    // As stringOfAny(); with removeAll, every listed key is removed afterwards.
    QString stringOfAny(const QStringList& keys, bool removeAll);

    // Stores at a key path, creating or making mutable the dictionaries on the way. Fails, and
    // changes nothing at that level, when an intermediate value is not a dictionary.
    bool setObjectAtPath(const Value& object, const QString& path, const QString& separator = {});
    // This dictionary with the value stored at the path: itself when mutable, a mutable copy
    // otherwise. A missing path or value gives the dictionary unchanged.
    Value append(const QString& path, const Value& object) const;
    // Stores the value at the path in this dictionary when both are present.
    Value& APPEND(const QString& path, const Value& object);

    Value mutableDeepCopy() const;

    // Coercions; a missing receiver gives missing, 0 or false.
    Value asNumber() const;
    qint64 asInteger() const;
    double asFloat() const;
    bool asBool() const;
    QString asText() const;   // null QString for missing
    QDateTime asDate() const; // invalid for missing
    Value asData() const;
    Value asArray() const;
    Value asMutableArray() const;
    Value asDictionary() const;
    Value asMutableDictionary() const;

    // The textual description a number, date or container gives of itself.
    QString description() const;

    // Deep equality; the mutable flag does not take part, numbers compare by value.
    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    void detach();
    List& listRef();
    Map& mapRef();
    static QStringList pathComponents(const QString& path, const QString& separator);

    Kind m_kind = Kind::Missing;
    bool m_mutable = false;
    bool m_bool = false;
    qint64 m_int = 0;
    double m_real = 0;
    QString m_string;
    QDateTime m_date;
    QByteArray m_data;
    // Behind pointers because Value is incomplete here; shared until written.
    std::shared_ptr<List> m_list;
    std::shared_ptr<Map> m_map;
};

} // namespace pallstone
