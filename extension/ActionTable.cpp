#include "ActionTable.h"

#include <QtGlobal>

namespace pallstone {

ActionTable& ActionTable::instance()
{
    static ActionTable table;
    return table;
}

bool ActionTable::add(ActionRow row)
{
    ActionTable& table = instance();
    for (const ActionRow& existing : table.m_rows) {
        for (const QString& key : row.keys) {
            if (existing.keys.contains(key))
                qFatal("pallstone: two action rows serve the entry \"%s\"", qPrintable(key));
        }
    }
    table.m_rows.append(std::move(row));
    return true;
}

const ActionRow* ActionTable::rowFor(const MenuItem& entry) const
{
    for (const ActionRow& row : m_rows) {
        if (row.keys.contains(entry.key))
            return &row;
    }
    for (const ActionRow& row : m_rows) {
        if (row.matches && row.matches(entry))
            return &row;
    }
    return nullptr;
}

bool ActionTable::run(const MenuItem& item, const ActionCall& call) const
{
    const ActionRow* row = rowFor(item);
    if (!row || !row->run)
        return false;
    row->run(call);
    return true;
}

ActionRow* ActionTable::find(const QString& rowName)
{
    for (ActionRow& row : m_rows) {
        if (row.name == rowName)
            return &row;
    }
    return nullptr;
}

ActionTable::Override::Override(const QString& rowName, std::function<void(const ActionCall&)> run)
    : m_name(rowName)
{
    ActionRow* row = instance().find(rowName);
    Q_ASSERT(row);
    if (row) {
        m_saved = std::move(row->run);
        row->run = std::move(run);
    }
}

ActionTable::Override::~Override()
{
    if (ActionRow* row = instance().find(m_name))
        row->run = std::move(m_saved);
}

} // namespace pallstone
