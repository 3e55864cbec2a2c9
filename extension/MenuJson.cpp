#include "MenuJson.h"

#include "FileName.h"
#include "MenuIconResolver.h"

#include <QJsonObject>

namespace pallstone {

QJsonArray MenuJson::toJson(const BuiltMenu& menu)
{
    QJsonArray array;
    for (const MenuEntry& entry : menu) {
        QJsonObject object;
        if (entry.separator) {
            object.insert(QStringLiteral("separator"), true);
            object.insert(QStringLiteral("title"), FileName::display(entry.title));
        } else {
            object.insert(QStringLiteral("tag"), entry.tag);
            object.insert(QStringLiteral("key"), FileName::display(entry.key));
            object.insert(QStringLiteral("title"), FileName::display(entry.title));
            object.insert(QStringLiteral("icon"), MenuIconResolver::resolve(entry.icon));
            if (entry.hasSubmenu)
                object.insert(QStringLiteral("children"), toJson(entry.children));
        }
        array.append(object);
    }
    return array;
}

bool MenuJson::containsTag(const BuiltMenu& menu, qint64 tag)
{
    for (const MenuEntry& entry : menu) {
        if (!entry.separator && entry.tag == tag)
            return true;
        if (containsTag(entry.children, tag))
            return true;
    }
    return false;
}

} // namespace pallstone
