#pragma once

#include "Value.h"

#include <QByteArray>

namespace pallstone {

// Reads and writes property lists (XML, and binary on input) through libplist.
class PlistCodec final
{
public:
    // The value the bytes hold; missing when they are not a property list. Containers read back in
    // their immutable form, as stored configuration is.
    static Value parse(const QByteArray& bytes);
    // An XML property list of the value. Null markers and missing values have no property-list form
    // and are left out; a date keeps whole microseconds.
    static QByteArray toXml(const Value& value);

private:
    PlistCodec() = delete;
};

} // namespace pallstone
