// The menu-tag decoder: any 64-bit tag against a menu of three levels. A tag names an entry
// exactly when it is that entry's own tag; any other leads nowhere.
#include "FuzzCheck.h"
#include "MenuBuilder.h"
#include "MenuTag.h"

#include <cstdint>
#include <cstring>

using namespace pallstone;

namespace {

// Level sizes chosen so that full levels of 99, short ones and entries without a submenu all
// occur on every level.
int childCount(int depth, int index)
{
    if (depth >= 3 || index % 3 == 2)
        return 0;
    if (depth == 1)
        return index % 2 ? 99 : 4;
    return index == 0 || index == 98 ? 99 : 2;
}

MenuItemList makeLevel(int size, int depth)
{
    MenuItemList level;
    for (int i = 0; i < size; ++i) {
        MenuItemPtr entry = MenuItem::create();
        entry->key = QStringLiteral("e%1.%2").arg(depth).arg(i);
        entry->children = makeLevel(childCount(depth, i), depth + 1);
        level.append(entry);
    }
    return level;
}

// The entry's own tag, from its position.
QString tagOf(const MenuItemList& model, const MenuItemPtr& wanted, const QString& prefix)
{
    for (qsizetype i = 0; i < model.size(); ++i) {
        const QString tag = prefix.isEmpty() ? MenuTag::mainTag(i) : MenuTag::childTag(prefix, i);
        if (model.at(i) == wanted)
            return tag;
        const QString below = tagOf(model.at(i)->children, wanted, tag);
        if (!below.isEmpty())
            return below;
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Menu menu = [] {
        Menu m;
        m.model = makeLevel(12, 1);
        return m;
    }();
    qint64 tag = 0;
    std::memcpy(&tag, data, std::min(size, sizeof tag));

    const QList<int> pieces = MenuTag::decode(tag);
    FUZZ_CHECK(pieces.isEmpty() == (tag <= 0));
    for (int piece : pieces)
        FUZZ_CHECK(piece >= 0 && piece <= MenuTag::kMaxPerLevel);

    const MenuItemPtr entry = menu.entryForTag(tag);
    if (entry)
        FUZZ_CHECK(MenuTag::value(tagOf(menu.model, entry, QString())) == tag);

    // Every piece in range of its level: the tag must find its entry.
    MenuItemList level = menu.model;
    bool reachable = !pieces.isEmpty() && pieces.size() <= 3;
    for (int piece : pieces) {
        if (!reachable || piece < 1 || piece > level.size()) {
            reachable = false;
            break;
        }
        level = level.at(piece - 1)->children;
    }
    FUZZ_CHECK(reachable == bool(entry));
    return 0;
}
