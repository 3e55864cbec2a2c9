#pragma once

#include "MenuEntry.h"

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace pallstone {

// One row of the menu as it travels over D-Bus, signature (iixsssb): the tree is sent flat, in
// display order, each row naming the row whose submenu holds it.
struct DBusMenuEntry
{
    int id = 0;
    int parentId = -1; // -1 on the top level
    qint64 tag = 0;    // 0 for separators
    QString key;
    QString title;
    QString icon; // a theme icon name or an absolute image path; empty for none
    bool isSeparator = false;

    bool operator==(const DBusMenuEntry&) const = default;

    // The built menu as rows: ids count from 0 in display order, a submenu follows its entry.
    static QList<DBusMenuEntry> flatten(const BuiltMenu& menu);
    // Makes the row type known to Qt's D-Bus marshalling; call once before serving or calling.
    static void registerMetaType();
};

using DBusMenu = QList<DBusMenuEntry>;

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEntry& entry);

} // namespace pallstone

Q_DECLARE_METATYPE(pallstone::DBusMenuEntry)
