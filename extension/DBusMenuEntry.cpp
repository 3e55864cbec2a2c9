#include "DBusMenuEntry.h"

#include "FileName.h"
#include "MenuIconResolver.h"

#include <QDBusMetaType>

namespace pallstone {

namespace {

void append(const QList<MenuEntry>& entries, int parentId, DBusMenu& rows)
{
    for (const MenuEntry& entry : entries) {
        DBusMenuEntry row;
        row.id = int(rows.size());
        row.parentId = parentId;
        row.isSeparator = entry.separator;
        row.tag = entry.separator ? 0 : entry.tag;
        // D-Bus strings are UTF-8: a name that is not shows with replacement characters.
        row.key = FileName::display(entry.key);
        row.title = FileName::display(entry.title);
        if (!entry.separator)
            row.icon = MenuIconResolver::resolve(entry.icon);
        rows.append(row);
        if (!entry.separator && entry.hasSubmenu)
            append(entry.children, row.id, rows);
    }
}

} // namespace

DBusMenu DBusMenuEntry::flatten(const BuiltMenu& menu)
{
    DBusMenu rows;
    append(menu, -1, rows);
    return rows;
}

void DBusMenuEntry::registerMetaType()
{
    qDBusRegisterMetaType<DBusMenuEntry>();
    qDBusRegisterMetaType<DBusMenu>();
    // Qt D-Bus finds the type of an output argument by the name the method declares.
    qRegisterMetaType<DBusMenu>("pallstone::DBusMenu");
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEntry& entry)
{
    argument.beginStructure();
    argument << entry.id << entry.parentId << entry.tag << entry.key << entry.title << entry.icon
             << entry.isSeparator;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEntry& entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.parentId >> entry.tag >> entry.key >> entry.title >> entry.icon >>
        entry.isSeparator;
    argument.endStructure();
    return argument;
}

} // namespace pallstone
