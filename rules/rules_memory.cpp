#include "rules/rules_memory.h"

namespace tpworm::rules {

namespace {

QString reason(const std::exception& error) { return QString::fromStdString(error.what()); }

} // namespace

RulesData readRulesData(const QString& path)
{
    RulesData rules;
    const QString names[] = {QStringLiteral("6ji"), QStringLiteral("7ji"), QStringLiteral("8ji"),
                             QStringLiteral("xiuyuan"), QStringLiteral("xiuyuanchangdu")};
    LoadedTable* tables[] = {&rules.grade6, &rules.grade7, &rules.grade8, &rules.reliefAmounts, &rules.reliefLengths};
    for (int k = 0; k < 5; ++k)
        tables[k]->data.name = names[k];

    RulesConnection connection;
    // A run only reads: the file is never written, not even a journal.
    connection.SetReadOnly(true);
    connection.SetConnectionString(connectionString(kConnectionPrefix, path));
    try {
        connection.Open();
        RulesTable nzhi(connection, QStringLiteral("nzhi"));
        nzhi.Open();
        loadCoefficients(nzhi.Data(), rules.coefficients, rules.anyDiffers);
        rules.coefficientsLoaded = true;
    } catch (const std::exception& error) {
        rules.loadError = reason(error);
    }
    for (int k = 0; k < 5; ++k) {
        try {
            if (!connection.IsOpen())
                connection.Open();
            RulesTable table(connection, names[k]);
            table.Open();
            tables[k]->data = table.Data();
            // Looked up for every design of the run.
            tables[k]->data.prepare();
        } catch (const std::exception& error) {
            tables[k]->error = reason(error);
        }
    }
    connection.Close();
    return rules;
}

const TableData& ConnectionRules::table(const QString& name)
{
    RulesTable& table = tableFor_(name);
    table.Close();
    table.SetTableName(name);
    connection_.Close();
    connection_.SetConnectionString(connectionString_());
    connection_.Open();
    try {
        table.Open();
        data_ = table.Data();
    } catch (...) {
        table.Close();
        throw;
    }
    table.Close();
    return data_;
}

} // namespace tpworm::rules
