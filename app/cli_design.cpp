#include "app/cli_design.h"

#include "app/cli_commands.h"

#include "core/numeric.h"
#include "documents/cell_maps.h"
#include "rules/rules_memory.h"
#include "workbook/workbook.h"

#include <QMap>

namespace tpworm::cli {

namespace {

const QString kOpenFailed = QStringLiteral("文件打开错误,或者您还没安装EXCEL.........");

} // namespace

rules::Coefficients parseCoefficients(const QString& list)
{
    const QStringList parts = list.split(QLatin1Char(','));
    if (parts.size() != rules::kCoefficientCount)
        throw UsageError("--coefficients takes sixteen numbers");
    rules::Coefficients values{};
    for (int k = 0; k < rules::kCoefficientCount; ++k) {
        try {
            values[k] = static_cast<double>(StrToFloat(parts[k].trimmed()));
        } catch (const ConvertError&) {
            throw UsageError("--coefficients: '" + parts[k].toStdString() + "' is not a number");
        }
    }
    return values;
}

QString parseGrade(const QString& grade)
{
    if (!core::kGrades.contains(grade))
        throw UsageError("--grade takes 6, 7 or 8");
    return grade;
}

QPair<core::Field, QString> parseFieldText(const QString& pair)
{
    static const QMap<QString, QString> aliases = {
        {"centre-distance", "Edit1"}, {"ratio", "Edit2"}, {"teeth", "Edit3"}, {"starts", "Edit4"},
        {"main-base", "Edit5"}, {"tip-eccentricity", "Edit6"}, {"reference-diameter", "Edit7"},
        {"backlash", "Edit8"}, {"grade-text", "Edit9"}, {"hand", "Edit10"}, {"entry-relief", "Edit11"},
        {"exit-relief", "Edit12"}, {"grinding", "Edit13"},
    };
    const int eq = pair.indexOf(QLatin1Char('='));
    const QString name = pair.left(eq);
    const std::optional<core::Field> field = core::fieldOfControlName(aliases.value(name, name));
    if (eq < 0 || !field)
        throw UsageError("unknown field " + name.toStdString());
    return {*field, pair.mid(eq + 1)};
}

DesignOptions parseDesignOptions(const QStringList& arguments, QStringList& rest)
{
    DesignOptions o;
    for (int k = 0; k < arguments.size(); ++k) {
        const QString a = arguments[k];
        auto value = [&]() -> QString {
            if (k + 1 >= arguments.size())
                throw UsageError(a.toStdString() + " needs a value");
            return arguments[++k];
        };
        if (a == "--rules") o.rules = value();
        else if (a == "--coefficients") o.coefficients = parseCoefficients(value());
        else if (a == "--whole-teeth") o.wholeTeeth = true;
        else if (a == "--file") o.file = value();
        else if (a == "--centre-distance") o.request.centreDistance = value(), o.centreGiven = true;
        else if (a == "--teeth") o.request.teeth = value(), o.teethGiven = true;
        else if (a == "--starts") o.request.starts = value();
        else if (a == "--grade") o.request.grade = parseGrade(value());
        else if (a == "--no-standard-backlash") o.request.standardBacklash = false;
        else if (!a.startsWith("--") && a.contains(QLatin1Char('=')) && !a.startsWith(QLatin1Char('=')))
            o.request.overrides.append(parseFieldText(a));
        else rest << a;
    }
    const bool drive = o.centreGiven || o.teethGiven;
    if (!o.file.isEmpty() && (drive || !o.request.overrides.isEmpty()))
        throw UsageError("--file names the whole design: no drive data or FIELD=TEXT beside it");
    if (o.file.isEmpty() && !(o.centreGiven && o.teethGiven))
        throw UsageError("a design needs --centre-distance and --teeth, or --file DESIGN-FILE");
    o.request.wholeTeeth = o.wholeTeeth;
    o.request.coefficients = o.coefficients;
    return o;
}

bool openDesignFile(core::DesignForm& form, const QString& file, const rules::RulesData& rules)
{
    documents::DesignFileContent content;
    try {
        workbook::Workbook book;
        book.SetFileName(file);
        book.Load();
        content = documents::readDesignFile([&book](int column, int row) { return book.GetCellText(column, row); });
    } catch (const std::exception&) {
        form.addMessage(kOpenFailed);
        return false;
    }
    rules::MemoryRules source(rules);
    form.restoreDesignFile(content.edits, content.gradeIndex(), content.standardBacklash, content.wholeTeeth(),
                           source);
    return true;
}

core::DesignForm calculatedDesign(const DesignOptions& options, const QString& programDir)
{
    QString dir = programDir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    const rules::RulesData rules
        = rules::readRulesData(options.rules.isEmpty() ? dir + QStringLiteral("db1.mdb") : options.rules);
    if (options.file.isEmpty())
        return core::runDesign(options.request, rules);

    core::DesignForm form;
    if (!core::startForm(form, rules, options.coefficients)) {
        form.addMessage(rules::kLoadFailureMessage);
        return form;
    }
    if (!openDesignFile(form, options.file, rules))
        return form;
    if (options.wholeTeeth)
        form.setWholeTeeth(true);
    return form;
}

core::DesignForm designFromArguments(const QStringList& arguments, QStringList& rest, const QString& programDir)
{
    return calculatedDesign(parseDesignOptions(arguments, rest), programDir);
}

} // namespace tpworm::cli
