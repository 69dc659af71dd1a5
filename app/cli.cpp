#include "app/cli.h"

#include "app/cli_commands.h"

#include "app/desktop.h"
#include "app/dialog_seam.h"
#include "core/numeric.h"
#include "app/program.h"
#include "app/tform1.h"
#include "core/program_paths.h"
#include "workbook/cli_workbook.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>
#include <optional>

namespace tpworm::cli {

namespace {

// Nothing is launched from the command line; an asked-for end is remembered.
class CliDesktop final : public Desktop {
public:
    bool openDocument(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void terminate() override { terminated = true; }
    bool terminated = false;
};

struct Options {
    QString command;
    QString rules;
    std::optional<std::array<double, 16>> coefficients;
    bool wholeTeeth = false;
    bool json = false;
    QList<QPair<QString, QString>> fields; // in the order given
    QStringList positional;
    // design
    QString centreDistance, teeth, starts = QStringLiteral("1"), grade = QStringLiteral("7");
    bool centreGiven = false, teethGiven = false, standardBacklash = true;
};

QString fieldName(const QString& name)
{
    static const QMap<QString, QString> aliases = {
        {"centre-distance", "Edit1"}, {"ratio", "Edit2"}, {"teeth", "Edit3"}, {"starts", "Edit4"},
        {"main-base", "Edit5"}, {"tip-eccentricity", "Edit6"}, {"reference-diameter", "Edit7"},
        {"backlash", "Edit8"}, {"grade-text", "Edit9"}, {"hand", "Edit10"}, {"entry-relief", "Edit11"},
        {"exit-relief", "Edit12"}, {"grinding", "Edit13"},
    };
    if (aliases.contains(name))
        return aliases.value(name);
    bool ok = false;
    const int n = name.startsWith(QLatin1String("Edit")) ? name.mid(4).toInt(&ok) : 0;
    if (!ok || n < 1 || n > 13)
        throw UsageError("unknown field " + name.toStdString());
    return QStringLiteral("Edit%1").arg(n);
}

std::array<double, 16> parseCoefficients(const QString& list)
{
    const QStringList parts = list.split(QLatin1Char(','));
    if (parts.size() != 16)
        throw UsageError("--coefficients takes sixteen numbers");
    std::array<double, 16> values{};
    for (int k = 0; k < 16; ++k) {
        try {
            values[k] = static_cast<double>(StrToFloat(parts[k].trimmed()));
        } catch (const ConvertError&) {
            throw UsageError("--coefficients: '" + parts[k].toStdString() + "' is not a number");
        }
    }
    return values;
}

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
        if (a == "--rules") o.rules = value();
        else if (a == "--coefficients") o.coefficients = parseCoefficients(value());
        else if (a == "--whole-teeth") o.wholeTeeth = true;
        else if (a == "--json") o.json = true;
        else if (o.command == "design" && a == "--centre-distance") o.centreDistance = value(), o.centreGiven = true;
        else if (o.command == "design" && a == "--teeth") o.teeth = value(), o.teethGiven = true;
        else if (o.command == "design" && a == "--starts") o.starts = value();
        else if (o.command == "design" && a == "--grade") {
            o.grade = value();
            if (o.grade != "6" && o.grade != "7" && o.grade != "8")
                throw UsageError("--grade takes 6, 7 or 8");
        } else if (o.command == "design" && a == "--no-standard-backlash") o.standardBacklash = false;
        else if (a.startsWith("--")) throw UsageError("unknown option " + a.toStdString());
        else if ((o.command == "calc" || o.command == "design") && a.contains(QLatin1Char('='))) {
            const int eq = a.indexOf(QLatin1Char('='));
            o.fields.append({fieldName(a.left(eq)), a.mid(eq + 1)});
        } else o.positional << a;
    }
    if (o.command == "calc" && !o.positional.isEmpty())
        throw UsageError("calc takes FIELD=TEXT pairs only");
    if (o.command == "design" && (!o.centreGiven || !o.teethGiven || !o.positional.isEmpty()))
        throw UsageError("design needs --centre-distance and --teeth");
    if (o.command == "open" && o.positional.size() != 1)
        throw UsageError("open takes one design file");
    if (o.command == "export"
        && (o.positional.size() != 3 || !QStringList{"worm", "wheel", "hob"}.contains(o.positional[0])))
        throw UsageError("export takes worm|wheel|hob DESIGN-FILE OUTPUT.xls");
    if (!QStringList{"calc", "design", "open", "export"}.contains(o.command))
        throw UsageError("unknown command " + o.command.toStdString());
    return o;
}

// One run of the program's windows on the offscreen platform.
class Session {
public:
    explicit Session(const Options& options) : options_(options)
    {
        dialogs_.onMessage = [](const MessageBox& box) {
            std::fprintf(stderr, "%s\n", box.text.toUtf8().constData());
        };
        const ProgramPaths paths = resolveProgramPaths(QCoreApplication::applicationDirPath(),
                                                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        context_.programDir = paths.programDir;
        context_.userDir = paths.userDir;
        context_.executablePath = QCoreApplication::applicationFilePath();
        context_.dialogs = &dialogs_;
        context_.desktop = &desktop_;
        context_.rulesOverride = options.rules;
        context_.coefficientOverride = options.coefficients;
    }

    // Starts the program; a design file given becomes its command line.
    TForm1& start(const QString& designFile = QString())
    {
        if (!designFile.isEmpty())
            context_.arguments = QStringList{designFile};
        form_ = createWindows(context_);
        // The command line never looks for updates.
        form_->Design.UpdateCheckSuppressed = true;
        if (!form_->isVisible() && !desktop_.terminated)
            form_->show();
        // A failed coefficient load closes the window from the event queue.
        QCoreApplication::processEvents();
        return *form_;
    }

    bool ended() const { return desktop_.terminated || !form_ || !form_->isVisible(); }
    ScriptedDialogs& dialogs() { return dialogs_; }

private:
    Options options_;
    ScriptedDialogs dialogs_;
    CliDesktop desktop_;
    ProgramContext context_;
    std::unique_ptr<TForm1> form_;
};

QLineEdit* field(TForm1& f, const QString& name) { return f.findChild<QLineEdit*>(name); }

void setFields(TForm1& f, const QList<QPair<QString, QString>>& fields)
{
    for (const auto& [name, text] : fields)
        field(f, name)->setText(text);
}

QList<QGroupBox*> resultGroups(TForm1& f) { return {f.GroupBox6, f.GroupBox1, f.GroupBox3, f.GroupBox2, f.GroupBox4}; }

bool calculated(TForm1& f) { return !f.GroupBox1->isHidden(); }

QJsonObject toJson(TForm1& f, const ScriptedDialogs& dialogs)
{
    QJsonObject fields;
    for (int k = 1; k <= 13; ++k)
        fields.insert(QStringLiteral("Edit%1").arg(k), field(f, QStringLiteral("Edit%1").arg(k))->text());
    QJsonObject labels;
    for (QGroupBox* group : resultGroups(f))
        for (QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            labels.insert(label->objectName(), QJsonObject{{"caption", label->text()}, {"red", TForm1::isWarning(label)}});
    const DesignRecord& d = f.Design;
    QJsonObject tolerances{{"3", d.GradeTolerance3}, {"4", d.GradeTolerance4}, {"8", d.GradeTolerance8},
                           {"9", d.GradeTolerance9}, {"10", d.GradeTolerance10}, {"11", d.GradeTolerance11}};
    QJsonArray messages;
    for (const QString& text : dialogs.messageTexts())
        messages.append(text);
    return QJsonObject{
        {"fields", fields},
        {"grade", f.ComboBox1->currentIndex() < 0 ? QString() : f.ComboBox1->currentText()},
        {"standardBacklash", f.CheckBox2->isChecked()},
        {"wholeTeeth", f.CheckBox1->isChecked()},
        {"gradeTolerances", tolerances},
        {"labels", labels},
        {"hints", QJsonObject{{"Label46", f.Label46->text()}, {"Label47", f.Label47->text()}}},
        {"rulesModified", !f.Label50->isHidden()},
        {"calculated", calculated(f)},
        {"messages", messages},
    };
}

void printListing(TForm1& f)
{
    QTextStream out(stdout);
    for (QGroupBox* group : resultGroups(f)) {
        out << "[" << group->title().trimmed() << "]\n";
        for (QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            out << (TForm1::isWarning(label) ? "! " : "  ") << label->text() << "\n";
    }
    out << "[" << f.GroupBox5->title().trimmed() << "]\n";
    const QList<QPair<QLabel*, QLineEdit*>> fields = {
        {f.Label5, f.Edit5}, {f.Label6, f.Edit6}, {f.Label7, f.Edit7}, {f.Label15, f.Edit8},
        {f.Label36, f.Edit11}, {f.Label37, f.Edit12}, {f.Label38, f.Edit13}, {f.Label31, f.Edit10},
    };
    for (const auto& [caption, edit] : fields)
        out << "  " << caption->text() << edit->text() << "\n";
    out << "  " << f.Label30->text() << f.Edit9->text() << "\n";
}

int report(TForm1& f, const Options& o, ScriptedDialogs& dialogs, bool succeeded)
{
    if (o.json) {
        QTextStream out(stdout);
        out << QJsonDocument(toJson(f, dialogs)).toJson(QJsonDocument::Indented);
    } else {
        printListing(f);
    }
    return succeeded ? 0 : 1;
}

int runCalc(const Options& o)
{
    Session session(o);
    TForm1& f = session.start();
    if (session.ended())
        return 1;
    setFields(f, o.fields);
    if (o.wholeTeeth && !f.CheckBox1->isChecked())
        f.CheckBox1->setChecked(true);
    else
        f.Button1Click();
    return report(f, o, session.dialogs(), calculated(f));
}

int runDesign(const Options& o)
{
    Session session(o);
    TForm1& f = session.start();
    if (session.ended())
        return 1;
    // As a user at the window: pick the grade, set the box, type the drive data.
    f.ComboBox1->setCurrentIndex(o.grade.toInt() - 6);
    f.ComboBox1Change();
    f.CheckBox2->setChecked(o.standardBacklash);
    f.Edit1->setText(o.centreDistance);
    f.Edit3->setText(o.teeth);
    f.Edit4->setText(o.starts);
    if (f.SpeedButton2->isEnabled())
        f.SpeedButton2Click();
    if (!o.fields.isEmpty()) {
        f.SpeedButton3Click();
        setFields(f, o.fields);
        f.SpeedButton4Click();
    }
    if (o.wholeTeeth && !f.CheckBox1->isChecked())
        f.CheckBox1->setChecked(true);
    return report(f, o, session.dialogs(), calculated(f));
}

int runOpen(const Options& o, const QString& file, const QString& table = QString(), const QString& output = QString())
{
    Session session(o);
    TForm1& f = session.start(file);
    if (session.ended())
        return report(f, o, session.dialogs(), false);
    if (o.wholeTeeth && !f.CheckBox1->isChecked())
        f.CheckBox1->setChecked(true);
    if (table.isEmpty())
        return report(f, o, session.dialogs(), calculated(f));

    QToolButton* command = table == "worm" ? f.ToolButton5 : (table == "wheel" ? f.ToolButton1 : f.ToolButton4);
    if (!command->isEnabled()) {
        std::fprintf(stderr, "the design could not be calculated; nothing exported\n");
        return 1;
    }
    const int before = session.dialogs().messages.size();
    session.dialogs().files.append(output);
    command->click();
    const bool exported = session.dialogs().messages.size() == before;
    if (o.json)
        return report(f, o, session.dialogs(), exported);
    return exported ? 0 : 1;
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
        return runOpen(o, o.positional[0]);
    return runOpen(o, o.positional[1], o.positional[0], o.positional[2]);
}

} // namespace tpworm::cli
