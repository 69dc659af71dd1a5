// tpworm-cli's design commands on the core: the same sequences as the main
// window's handlers, with no window and no QApplication.
#include "app/cli.h"

#include "app/cli_commands.h"
#include "app/cli_design.h"

#include "core/design_form.h"
#include "core/numeric.h"
#include "documents/cell_maps.h"
#include "rules/rules_memory.h"
#include "workbook/cli_workbook.h"
#include "workbook/workbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace tpworm::cli {

namespace {

const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");
const QString kExportFailed = QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........");

struct Options {
    QString command;
    QString rules;
    std::optional<rules::Coefficients> coefficients;
    bool wholeTeeth = false;
    bool json = false;
    QString save; // --save FILE.wpx (calc, design)
    QList<QPair<core::Field, QString>> fields; // in the order given
    QStringList positional;
    // design
    QString centreDistance, teeth, starts = QStringLiteral("1"), grade = QStringLiteral("7");
    bool centreGiven = false, teethGiven = false, standardBacklash = true;
};

const QStringList kTables = {QStringLiteral("worm"), QStringLiteral("wheel"), QStringLiteral("hob")};

Options parse(const QStringList& arguments)
{
    if (arguments.isEmpty())
        throw UsageError("no command");
    Options o;
    o.command = arguments.first();
    for (int k = 1; k < arguments.size(); ++k) {
        const QString a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        const bool designs = o.command == "calc" || o.command == "design";
        if (a == "--rules") o.rules = value();
        else if (a == "--coefficients") o.coefficients = parseCoefficients(value());
        else if (a == "--whole-teeth") o.wholeTeeth = true;
        else if (a == "--json") o.json = true;
        else if (designs && a == "--save") o.save = value();
        else if (o.command == "design" && a == "--centre-distance") o.centreDistance = value(), o.centreGiven = true;
        else if (o.command == "design" && a == "--teeth") o.teeth = value(), o.teethGiven = true;
        else if (o.command == "design" && a == "--starts") o.starts = value();
        else if (o.command == "design" && a == "--grade") o.grade = parseGrade(value());
        else if (o.command == "design" && a == "--no-standard-backlash") o.standardBacklash = false;
        else if (a.startsWith("--")) throw UsageError("unknown option " + a.toStdString());
        else if (designs && a.contains(QLatin1Char('='))) o.fields.append(parseFieldText(a));
        else o.positional << a;
    }
    if (o.command == "calc" && !o.positional.isEmpty())
        throw UsageError("calc takes FIELD=TEXT pairs only");
    if (o.command == "design" && (!o.centreGiven || !o.teethGiven || !o.positional.isEmpty()))
        throw UsageError("design needs --centre-distance and --teeth");
    if (o.command == "open" && o.positional.size() != 1)
        throw UsageError("open takes one design file");
    if (o.command == "export") {
        bool triples = !o.positional.isEmpty() && o.positional.size() % 3 == 0;
        for (int k = 0; triples && k < o.positional.size(); k += 3)
            triples = kTables.contains(o.positional[k]);
        if (!triples)
            throw UsageError("export takes worm|wheel|hob DESIGN-FILE OUTPUT.xls, one or more times");
    }
    if (!QStringList{"calc", "design", "open", "export"}.contains(o.command))
        throw UsageError("unknown command " + o.command.toStdString());
    return o;
}

QString programDir() { return QCoreApplication::applicationDirPath() + QLatin1Char('/'); }

QString rulesPath(const QString& rules) { return rules.isEmpty() ? programDir() + QStringLiteral("db1.mdb") : rules; }

// Message boxes become lines on standard error, in the order shown.
void printMessages(const QStringList& messages, int from = 0)
{
    for (int k = from; k < messages.size(); ++k)
        std::fprintf(stderr, "%s\n", messages[k].toUtf8().constData());
}

void print(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

int report(const core::DesignForm& form, const Options& o, bool succeeded)
{
    print(o.json ? core::designJson(form) : core::designListing(form));
    return succeeded ? 0 : 1;
}

DesignRecord recordOf(const core::DesignForm& form)
{
    DesignRecord record;
    static_cast<DesignValues&>(record) = form.design();
    return record;
}

documents::FieldTexts fieldTextsOf(const core::DesignForm& form)
{
    documents::FieldTexts fields;
    fields.edits = form.texts();
    fields.wholeTeeth = form.wholeTeeth();
    return fields;
}

// The save command without its dialog: the design file template filled with
// the field texts and written under the given name. Only a calculated design
// can be saved, as at the window.
bool saveDesign(core::DesignForm& form, const QString& target)
{
    if (!form.calculated()) {
        std::fprintf(stderr, "the design could not be calculated; nothing saved\n");
        return false;
    }
    try {
        workbook::Workbook book;
        book.SetFileName(programDir() + QStringLiteral("111.xls"));
        book.Load();
        for (const documents::CellText& cell : documents::designFileCells(fieldTextsOf(form)))
            book.SetCellText(cell.column, cell.row, cell.text);
        book.SetFileName(target);
        book.Save();
    } catch (const std::exception&) {
        form.addMessage(kSaveFailed);
        printMessages({kSaveFailed});
        return false;
    }
    return true;
}

int finish(core::DesignForm& form, const Options& o)
{
    printMessages(form.messages());
    bool succeeded = form.calculated();
    if (succeeded && !o.save.isEmpty())
        succeeded = saveDesign(form, o.save);
    return report(form, o, succeeded);
}

int runCalc(const Options& o)
{
    core::CalcRequest request;
    request.fields = o.fields;
    request.wholeTeeth = o.wholeTeeth;
    request.coefficients = o.coefficients;
    core::DesignForm form = core::runCalc(request, rules::readRulesData(rulesPath(o.rules)));
    return finish(form, o);
}

int runDesign(const Options& o)
{
    core::DesignRequest request;
    request.centreDistance = o.centreDistance;
    request.teeth = o.teeth;
    request.starts = o.starts;
    request.grade = o.grade;
    request.standardBacklash = o.standardBacklash;
    request.wholeTeeth = o.wholeTeeth;
    request.overrides = o.fields;
    request.coefficients = o.coefficients;
    core::DesignForm form = core::runDesign(request, rules::readRulesData(rulesPath(o.rules)));
    return finish(form, o);
}

// Opens the design file into a started form, as the open command of the
// command line does; false when the file could not be read (its message is in
// the form).
bool openInto(core::DesignForm& form, const QString& file, const rules::RulesData& rules)
{
    return openDesignFile(form, file, rules);
}

// One design file opened, optionally exported; the exit status.
int openAndExport(const Options& o, const rules::RulesData& rules, const QString& file, const QString& table = {},
                  const QString& output = {})
{
    core::DesignForm form;
    if (!core::startForm(form, rules, o.coefficients)) {
        form.addMessage(rules::kLoadFailureMessage);
        printMessages(form.messages());
        return report(form, o, false);
    }
    if (!openInto(form, file, rules)) {
        printMessages(form.messages());
        return report(form, o, false);
    }
    if (o.wholeTeeth)
        form.setWholeTeeth(true);
    printMessages(form.messages());
    if (table.isEmpty())
        return report(form, o, form.calculated());

    if (!form.exportsEnabled()) {
        std::fprintf(stderr, "the design could not be calculated; nothing exported\n");
        return 1;
    }
    bool exported = true;
    try {
        const auto kind = table == "worm" ? documents::ParameterTable::Worm
                                          : (table == "wheel" ? documents::ParameterTable::Wheel
                                                              : documents::ParameterTable::Hob);
        workbook::Workbook book;
        book.SetFileName(programDir() + documents::tableFiles(kind).templateName);
        book.Load();
        for (const documents::CellText& cell : documents::tableCells(kind, recordOf(form), fieldTextsOf(form)))
            book.SetCellText(cell.column, cell.row, cell.text);
        // The name is used exactly as given; the engine replaces the target
        // through a temporary file renamed over it.
        book.SetFileName(output);
        book.Save();
    } catch (const std::exception&) {
        form.addMessage(kExportFailed);
        printMessages({kExportFailed});
        exported = false;
    }
    if (o.json)
        return report(form, o, exported);
    return exported ? 0 : 1;
}

int runOpen(const Options& o)
{
    return openAndExport(o, rules::readRulesData(rulesPath(o.rules)), o.positional[0]);
}

int runExport(const Options& o)
{
    // One read of the rules serves every triple; each triple runs as the
    // command with that one triple would.
    const rules::RulesData rules = rules::readRulesData(rulesPath(o.rules));
    int status = 0;
    for (int k = 0; k < o.positional.size(); k += 3)
        status = std::max(status, openAndExport(o, rules, o.positional[k + 1], o.positional[k], o.positional[k + 2]));
    return status;
}

int runWorkbook(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() == 3 && arguments[1] == "cat")
        return workbook::workbookCat(arguments[2], out, err);
    if (arguments.size() >= 4 && arguments[1] == "set")
        return workbook::workbookSet(arguments[2], arguments[3], arguments.mid(4), out, err);
    throw UsageError("workbook cat FILE, or workbook set FILE OUTPUT CELL=TEXT ...");
}

} // namespace

int run(const QStringList& arguments)
{
    if (!arguments.isEmpty() && arguments.first() == "workbook")
        return runWorkbook(arguments);
    const Options o = parse(arguments);
    if (o.command == "calc")
        return runCalc(o);
    if (o.command == "design")
        return runDesign(o);
    if (o.command == "open")
        return runOpen(o);
    return runExport(o);
}

} // namespace tpworm::cli
