#include "calc/form_adapter.h"

#include "app/tform1.h"
#include "documents/cell_maps.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm::calc {

namespace {

using core::Field;

const QColor kEditingColour(0, 0, 0);
const QColor kLockedColour(128, 128, 128);
// The line of findings under the result groups; the client area grows by it
// while there is something to say, so a sound design keeps the window as it
// always was.
constexpr int kClientHeight = 589;
constexpr int kWarningsHeight = 20;

std::array<QLineEdit*, core::kFieldCount> edits(TForm1& f)
{
    return {f.Edit1, f.Edit2, f.Edit3, f.Edit4, f.Edit5, f.Edit6, f.Edit7,
            f.Edit8, f.Edit9, f.Edit10, f.Edit11, f.Edit12, f.Edit13};
}

rules::RulesTable& tableFor(TForm1& f, const QString& name)
{
    if (name == QLatin1String("xiuyuan"))
        return f.ADOTable4;
    if (name == QLatin1String("xiuyuanchangdu"))
        return f.ADOTable3;
    return f.ADOTable2; // the grade tables
}

// What the window showed before the command, to write back only what changed.
struct Before {
    std::array<QString, core::kFieldCount> texts;
    int gradeIndex;
    bool standardBacklash, wholeTeeth;
    core::DesignForm::ControlStates states;
    QString mainBaseHint, referenceHint, gradeTable;
    int calculationsRun, completedCalculations;
};

void copyIn(TForm1& f, core::DesignForm& m)
{
    const auto fields = edits(f);
    for (int k = 0; k < core::kFieldCount; ++k)
        m.assignText(Field(k), fields[k]->text());
    m.assignGradeIndex(f.ComboBox1->currentIndex());
    m.assignStandardBacklash(f.CheckBox2->isChecked());
    m.assignWholeTeeth(f.CheckBox1->isChecked());
    m.assignBacklashBeforeEdit(f.Design.BacklashBeforeEdit);
    m.assignGradeTable(f.ADOTable2.TableName());
    m.assignHints(f.Label46->text(), f.Label47->text());
    m.assignControlStates({f.Edit1->isEnabled(), f.SpeedButton2->isEnabled(), f.SpeedButton3->isEnabled(),
                           f.SpeedButton4->isEnabled(), f.GroupBox5->isEnabled(), !f.GroupBox1->isHidden(),
                           !f.CheckBox1->isHidden(), f.ToolButton5->isEnabled()});
    m.design() = static_cast<const DesignValues&>(f.Design);
}

Before snapshot(const core::DesignForm& m)
{
    return {m.texts(),         m.gradeIndex(),    m.standardBacklash(), m.wholeTeeth(),
            m.controlStates(), m.mainBaseHint(),  m.referenceHint(),    m.gradeTable(),
            m.calculationsRun(), m.completedCalculations()};
}

void showWarnings(TForm1& f, const QStringList& warnings)
{
    QWidget* client = f.centralWidget();
    if (!f.WarningsLine) {
        f.WarningsLine = new QLabel(client);
        f.WarningsLine->setObjectName(QStringLiteral("WarningsLine"));
        f.WarningsLine->setTextFormat(Qt::PlainText);
        f.WarningsLine->setGeometry(8, kClientHeight, client->width() - 16, kWarningsHeight - 4);
        QPalette p = f.WarningsLine->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        f.WarningsLine->setPalette(p);
        f.WarningsLine->hide();
    }
    const bool any = !warnings.isEmpty();
    f.WarningsLine->setText(warnings.join(QStringLiteral("；")));
    f.WarningsLine->setToolTip(warnings.join(QLatin1Char('\n')));
    f.WarningsLine->setVisible(any);
    client->setFixedHeight(kClientHeight + (any ? kWarningsHeight : 0));
}

void copyOut(TForm1& f, core::DesignForm& m, const Before& b)
{
    const auto fields = edits(f);
    for (int k = 0; k < core::kFieldCount; ++k)
        if (m.text(Field(k)) != b.texts[k])
            fields[k]->setText(m.text(Field(k)));
    if (m.gradeIndex() != b.gradeIndex)
        f.ComboBox1->setCurrentIndex(m.gradeIndex());
    if (m.standardBacklash() != b.standardBacklash)
        f.CheckBox2->setChecked(m.standardBacklash());
    if (m.wholeTeeth() != b.wholeTeeth)
        f.CheckBox1->setChecked(m.wholeTeeth());

    const core::DesignForm::ControlStates s = m.controlStates();
    if (s.driveDataEnabled != b.states.driveDataEnabled)
        for (QLineEdit* edit : {f.Edit1, f.Edit3, f.Edit4})
            edit->setEnabled(s.driveDataEnabled);
    if (s.calculateEnabled != b.states.calculateEnabled)
        f.SpeedButton2->setEnabled(s.calculateEnabled);
    if (s.editEnabled != b.states.editEnabled)
        f.SpeedButton3->setEnabled(s.editEnabled);
    if (s.confirmEnabled != b.states.confirmEnabled)
        f.SpeedButton4->setEnabled(s.confirmEnabled);
    if (s.recommendedEditable != b.states.recommendedEditable) {
        f.GroupBox5->setEnabled(s.recommendedEditable);
        setGroupFontColour(f.GroupBox5, s.recommendedEditable ? kEditingColour : kLockedColour);
    }
    if (s.resultsShown != b.states.resultsShown)
        for (QGroupBox* group : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
            group->setVisible(s.resultsShown);
    if (s.wholeTeethShown != b.states.wholeTeethShown)
        f.CheckBox1->setVisible(s.wholeTeethShown);
    if (s.exportsEnabled != b.states.exportsEnabled) {
        for (QToolButton* button : {f.ToolButton5, f.ToolButton4, f.ToolButton1, f.ToolButton11})
            button->setEnabled(s.exportsEnabled);
        for (QAction* item : {f.N3, f.N4, f.N5, f.N14})
            item->setEnabled(s.exportsEnabled);
    }
    if (m.mainBaseHint() != b.mainBaseHint)
        f.Label46->setText(m.mainBaseHint());
    if (m.referenceHint() != b.referenceHint)
        f.Label47->setText(m.referenceHint());

    if (m.calculationsRun() != b.calculationsRun) {
        // The captions the last calculation wrote; a run that faulted part-way
        // leaves the later ones as they were.
        const auto rows = core::resultLabels();
        for (int k = 0; k < m.results().written; ++k) {
            QLabel* label = f.findChild<QLabel*>(QStringLiteral("Label%1").arg(rows[k].label));
            const core::LabelState& state = m.label(rows[k].label);
            if (rows[k].red)
                setWarning(label, state.red);
            setResultCaption(label, state.caption);
        }
        showWarnings(f, m.warnings());
    }

    static_cast<DesignValues&>(f.Design) = m.design();
    f.Design.BacklashBeforeEdit = m.backlashBeforeEdit();
    if (m.gradeTable() != b.gradeTable)
        f.ADOTable2.SetTableName(m.gradeTable());
    if (m.completedCalculations() != b.completedCalculations)
        f.Design.DesignSaved = false;
}

} // namespace

void runFormCommand(TForm1& f, const FormCommand& command)
{
    if (f.ModelDepth > 0)
        return;
    core::DesignForm& m = f.DesignModel;
    rules::ConnectionRules rules(
        f.ADOConnection1, [&f](const QString& name) -> rules::RulesTable& { return tableFor(f, name); },
        [&f] { return rules::connectionString(f.Design.ConnectionPrefix, f.rulesDatabasePath()); });
    copyIn(f, m);
    const Before before = snapshot(m);
    m.useRules(&rules);
    auto finish = [&] {
        m.useRules(nullptr);
        ++f.ModelDepth;
        try {
            copyOut(f, m, before);
        } catch (...) {
            --f.ModelDepth;
            throw;
        }
        --f.ModelDepth;
        for (const QString& text : m.takeMessages())
            f.showMessage(text);
    };
    try {
        command(m, rules);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void restoreDesignFile(TForm1& f, const documents::DesignFileContent& content)
{
    runFormCommand(f, [&content](core::DesignForm& m, rules::RulesSource& rules) {
        m.restoreDesignFile(content.edits, content.gradeIndex(), content.standardBacklash, content.wholeTeeth(),
                            rules);
    });
}

} // namespace tpworm::calc
