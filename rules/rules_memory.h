// The rules database read into plain values, and the per-use look-up of the
// main window, both as sources of the core's look-ups.
#pragma once

#include "core/rules_data.h"
#include "rules/rules_db.h"

#include <functional>

namespace tpworm::rules {

// Reads the rules database at path once, read-only: the coefficient load as
// the window runs it, then the three grade tables and both relief tables. A
// failure of the load is kept in coefficientsLoaded/loadError; a table that
// cannot be read keeps its error for the look-up that needs it. Never throws
// for the database's content.
RulesData readRulesData(const QString& path);

// The window's look-ups: every use closes the connection, sets the
// connection string, opens it and reads the one table whole.
class ConnectionRules final : public RulesSource {
public:
    // tableFor gives the window's table object that reads a table of that
    // name; connectionString the connection string of each use.
    ConnectionRules(RulesConnection& connection, std::function<RulesTable&(const QString&)> tableFor,
                    std::function<QString()> connectionString)
        : connection_(connection), tableFor_(std::move(tableFor)), connectionString_(std::move(connectionString))
    {
    }
    const TableData& table(const QString& name) override;

private:
    RulesConnection& connection_;
    std::function<RulesTable&(const QString&)> tableFor_;
    std::function<QString()> connectionString_;
    TableData data_;
};

} // namespace tpworm::rules
