// `tpworm-cli export --automation`: the "文件" menu exports without the window,
// through the spreadsheet application, for one or more (table, design file,
// output) triples in one process. The export sequence and the cells are the
// menu commands' own (documents/automation_cells.h); only the save dialog is
// replaced by the output name and the progress window by nothing.
#include "app/cli_commands.h"
#include "app/cli.h"
#include "app/cli_design.h"

#include "core/design_form.h"
#include "core/program_paths.h"
#include "documents/automation.h"
#include "documents/automation_cells.h"
#include "documents/cell_maps.h"
#include "rules/rules_memory.h"
#include "rules/rules_messages.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <optional>

namespace tpworm::cli {

namespace {

const QString kExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

void printLine(const QString& line) { std::fprintf(stderr, "%s\n", line.toUtf8().constData()); }

std::optional<documents::ParameterTable> tableNamed(const QString& name)
{
    if (name == QLatin1String("worm"))
        return documents::ParameterTable::Worm;
    if (name == QLatin1String("wheel"))
        return documents::ParameterTable::Wheel;
    if (name == QLatin1String("hob"))
        return documents::ParameterTable::Hob;
    return std::nullopt;
}

struct AutomationOptions {
    QString rules;
    std::optional<rules::Coefficients> coefficients;
    bool wholeTeeth = false;
    QStringList triples;
};

AutomationOptions parseAutomation(const QStringList& arguments)
{
    AutomationOptions o;
    for (int k = 1; k < arguments.size(); ++k) {
        const QString& a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        if (a == QLatin1String("--automation")) continue;
        else if (a == QLatin1String("--rules")) o.rules = value();
        else if (a == QLatin1String("--coefficients")) o.coefficients = parseCoefficients(value());
        else if (a == QLatin1String("--whole-teeth")) o.wholeTeeth = true;
        else if (a.startsWith(QLatin1String("--"))) throw UsageError("unknown option " + a.toStdString());
        else o.triples << a;
    }
    bool triples = !o.triples.isEmpty() && o.triples.size() % 3 == 0;
    for (int k = 0; triples && k < o.triples.size(); k += 3)
        triples = tableNamed(o.triples[k]).has_value();
    if (!triples)
        throw UsageError("export --automation takes worm|wheel|hob DESIGN-FILE OUTPUT.xls, one or more times");
    return o;
}

QString programDir() { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

// One triple: the design file opened and calculated as the open command does,
// then the menu export with the output name for the save dialog's answer.
bool exportOne(const AutomationOptions& o, const rules::RulesData& rules, std::shared_ptr<automation::Object>& app,
               documents::ParameterTable table, const QString& file, const QString& output)
{
    core::DesignForm form;
    if (!core::startForm(form, rules, o.coefficients)) {
        printLine(rules::kLoadFailureMessage);
        return false;
    }
    const bool opened = openDesignFile(form, file, rules);
    if (opened && o.wholeTeeth)
        form.setWholeTeeth(true);
    for (const QString& message : form.messages())
        printLine(message);
    if (!opened)
        return false;
    if (!form.exportsEnabled()) {
        printLine(QStringLiteral("the design could not be calculated; nothing exported"));
        return false;
    }
    DesignRecord record;
    static_cast<DesignValues&>(record) = form.design();
    documents::FieldTexts fields;
    fields.edits = form.texts();
    fields.wholeTeeth = form.wholeTeeth();

    documents::MenuExportHooks hooks;
    hooks.chooseTarget = [&output]() -> std::optional<QString> { return output; };
    const documents::MenuExportResult result =
        documents::runMenuExport(app, programDir() + documents::automationTableFiles(table).templateName,
                                 documents::automationCells(table, record, fields), hooks);
    if (result.outcome == documents::MenuExportOutcome::Saved)
        return true;
    printLine(kExportFailed);
    if (!result.detail.isEmpty())
        printLine(result.detail);
    return false;
}

int runExportAutomation(const QStringList& arguments)
{
    const AutomationOptions o = parseAutomation(arguments);
    // The application object of the run, as the window keeps AutomationApp:
    // the server starts now, while the rules are read and the first design
    // is calculated, and serves every triple.
    std::shared_ptr<automation::Object> app =
        automation::platformRegistry().startEarly(QStringLiteral("Excel.Application"));
    const QString rulesFile = o.rules.isEmpty() ? rulesDatabaseFor(programDir()) : o.rules;
    const rules::RulesData rules = rules::readRulesData(rulesFile);
    int status = 0;
    for (int k = 0; k < o.triples.size(); k += 3)
        if (!exportOne(o, rules, app, *tableNamed(o.triples[k]), o.triples[k + 1], o.triples[k + 2]))
            status = 1;
    return status;
}

} // namespace

int runExportCommand(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--automation")))
        return runExportAutomation(arguments);
    return run(arguments);
}

} // namespace tpworm::cli
