// tpworm-cli rules: the tables of the rules database without a window. Only
// Qt Core and Qt SQL are needed; import checks the file as the settings
// dialog's tables page does and writes nothing unless every row is sound.
#include "app/cli_rules.h"
#include "core/program_paths.h"

#include "app/cli_commands.h"
#include "core/numeric.h"
#include "core/safe_file.h"
#include "rules/rules_db.h"
#include "rules/rules_sources.h"
#include "rules/rules_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace tpworm::cli {

namespace {

struct RulesOptions {
    QString action;
    QStringList positional;
    QString database;
    std::optional<QString> source;
    std::optional<long double> coversAbove, coversUpto;
};

long double parseNumber(const QString& option, const QString& text)
{
    try {
        return StrToFloat(text);
    } catch (const ConvertError&) {
        throw UsageError((option + " takes a number, not '" + text + "'").toStdString());
    }
}

RulesOptions parseRules(const QStringList& arguments)
{
    RulesOptions o;
    o.database = rulesDatabaseFor(runningProgramPaths().programDir);
    for (int k = 1; k < arguments.size(); ++k) {
        const QString a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        if (a == "--rules") o.database = value();
        else if (a == "--source") o.source = value();
        else if (a == "--covers-above") o.coversAbove = parseNumber(a, value());
        else if (a == "--covers-upto") o.coversUpto = parseNumber(a, value());
        else if (a.startsWith("--")) throw UsageError("unknown option " + a.toStdString());
        else if (o.action.isEmpty()) o.action = a;
        else o.positional << a;
    }
    const bool importing = o.action == "import";
    if ((o.source || o.coversAbove || o.coversUpto) && !importing)
        throw UsageError("--source, --covers-above and --covers-upto belong to rules import");
    if (o.action == "show" && o.positional.isEmpty())
        return o;
    if ((o.action == "export" || importing) && o.positional.size() == 2)
        return o;
    throw UsageError("rules show, rules export TABLE OUT.csv, or rules import TABLE IN.csv");
}

rules::TableLayout layoutOf(const RulesOptions& o, const QString& table)
{
    if (!rules::editableTables().contains(table))
        throw rules::RulesError(QStringLiteral("%1 不是可导入导出的数据表；可用的有：%2")
                                    .arg(table, rules::editableTables().join(QStringLiteral(", "))));
    return rules::readTableLayout(o.database, table);
}

int show(const RulesOptions& o, QTextStream& out)
{
    // Fails loudly here, where rulesSourcesText would only say so.
    rules::readSources(o.database);
    out << rules::rulesSourcesText(o.database) << Qt::endl;
    return 0;
}

int exportTable(const RulesOptions& o, QTextStream& out, QTextStream& err)
{
    const rules::TableLayout layout = layoutOf(o, o.positional[0]);
    const rules::TableTexts data = rules::readTable(o.database, layout);
    const WriteOutcome written = writeFileAtomically(o.positional[1], rules::tableToCsv(layout, data));
    if (!written.ok()) {
        err << QStringLiteral("tpworm-cli: 表格没有导出：%1").arg(written.error) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("数据表 %1 的 %2 行已导出到 %3")
               .arg(layout.name)
               .arg(data.rows.size())
               .arg(QDir::toNativeSeparators(o.positional[1]))
        << Qt::endl;
    return 0;
}

int importTable(const RulesOptions& o, QTextStream& out, QTextStream& err)
{
    const rules::TableLayout layout = layoutOf(o, o.positional[0]);
    const QString file = o.positional[1];
    QList<rules::Problem> problems;
    const rules::TableTexts data = rules::readCsvFile(file, layout, problems);
    if (problems.isEmpty()) {
        rules::SourceUpdate source;
        source.source = o.source ? *o.source : QStringLiteral("用户导入：%1").arg(QFileInfo(file).fileName());
        source.coversAbove = o.coversAbove;
        source.coversUpto = o.coversUpto;
        problems = rules::writeTable(o.database, layout, data, source);
    }
    if (!problems.isEmpty()) {
        err << QStringLiteral("tpworm-cli: 文件 %1 不能导入数据表 %2，计算法则数据库没有改变（行号从标题行的下一行数起）：")
                   .arg(QDir::toNativeSeparators(file), layout.name)
            << Qt::endl;
        for (const rules::Problem& problem : problems)
            err << QStringLiteral("  ") << problem.text() << Qt::endl;
        return 1;
    }
    out << QStringLiteral("已把 %1 行导入数据表 %2（%3）")
               .arg(data.rows.size())
               .arg(layout.name, QDir::toNativeSeparators(o.database))
        << Qt::endl;
    return 0;
}

} // namespace

int runRules(const QStringList& arguments)
{
    const RulesOptions o = parseRules(arguments);
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        if (o.action == "show")
            return show(o, out);
        if (o.action == "export")
            return exportTable(o, out, err);
        return importTable(o, out, err);
    } catch (const rules::RulesError& error) {
        err << QStringLiteral("tpworm-cli: ") << QString::fromStdString(error.what()) << Qt::endl;
        return 1;
    }
}

} // namespace tpworm::cli
