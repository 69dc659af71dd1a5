// The window and the core run one sequence: the same design driven through the
// window's handlers (as tpworm-cli used to drive it) and run by the core
// against the same rules read once ends in the same fields, captions, colours,
// hints, tolerances and enabled states.
#include "calcflow_fixture.h"

#include "core/design_form.h"
#include "rules/rules_memory.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;
namespace core = tpworm::core;

namespace {

struct Case {
    const char* a;
    const char* teeth;
    const char* starts;
    const char* grade;
    bool standardBacklash;
    bool wholeTeeth;
    QList<QPair<core::Field, QString>> overrides;
};

class WindowAndCore : public CalcFlowTest {};

TEST_F(WindowAndCore, EveryDesignEndsTheSameInTheWindowAndInTheCore)
{
    using F = core::Field;
    const Case cases[] = {
        {"160", "30", "3", "7", true, false, {}},
        {"160", "30", "3", "6", false, true, {}},
        {"250", "45", "2", "8", true, false, {{F::MainBase, "160"}, {F::Backlash, "0.3"}, {F::GrindingIncrement, "0.5"}}},
        {"160", "30", "3", "7", true, false, {{F::MainBase, "1000"}}},
        {"160", "30", "3", "7", true, true, {{F::Backlash, "-0.2"}, {F::CentreDistance, "170"}}},
        {"0", "30", "3", "7", true, false, {}},
        {"x", "30", "3", "7", true, false, {}},
        {"", "30", "1", "7", true, false, {}},
        {"160", "0", "3", "7", true, false, {}},
        {"160", "30", "0", "7", true, false, {}},
        {"160", "30.5", "3", "7", true, false, {}},
        {"1001", "30", "3", "7", true, false, {}},
        {"100", "31", "4", "8", false, false, {{F::Ratio, "7"}}},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.a) + "/" + c.teeth + "/" + c.starts;
        TForm1& f = start();
        // As a user at the window: pick the grade, set the box, enter the
        // drive data, press the calculate command, edit and confirm.
        f.ComboBox1->setCurrentIndex(core::kGrades.indexOf(c.grade));
        f.ComboBox1Change();
        f.CheckBox2->setChecked(c.standardBacklash);
        f.Edit1->setText(c.a);
        f.Edit3->setText(c.teeth);
        f.Edit4->setText(c.starts);
        if (f.SpeedButton2->isEnabled())
            f.SpeedButton2Click();
        const std::array<QLineEdit*, 13> edits{f.Edit1, f.Edit2, f.Edit3, f.Edit4, f.Edit5, f.Edit6, f.Edit7,
                                               f.Edit8, f.Edit9, f.Edit10, f.Edit11, f.Edit12, f.Edit13};
        if (!c.overrides.isEmpty()) {
            f.SpeedButton3Click();
            for (const auto& [field, text] : c.overrides)
                edits[int(field)]->setText(text);
            f.SpeedButton4Click();
        }
        if (c.wholeTeeth)
            f.CheckBox1->setChecked(true);

        core::DesignRequest request;
        request.centreDistance = c.a;
        request.teeth = c.teeth;
        request.starts = c.starts;
        request.grade = c.grade;
        request.standardBacklash = c.standardBacklash;
        request.wholeTeeth = c.wholeTeeth;
        request.overrides = c.overrides;
        request.coefficients = tpworm::testing::kFixtureCoefficients;
        const core::DesignForm m = core::runDesign(request, tpworm::rules::readRulesData(program->path("db1.mdb")));

        for (int k = 0; k < core::kFieldCount; ++k)
            EXPECT_EQ(edits[k]->text(), m.text(core::Field(k))) << name << " Edit" << k + 1;
        for (const core::ResultLabel& row : core::resultLabels()) {
            const QLabel* label = f.findChild<QLabel*>(QStringLiteral("Label%1").arg(row.label));
            EXPECT_EQ(label->text(), m.label(row.label).caption) << name << " Label" << row.label;
            EXPECT_EQ(TForm1::isWarning(label), m.label(row.label).red) << name << " Label" << row.label;
        }
        EXPECT_EQ(f.Label46->text(), m.mainBaseHint()) << name;
        EXPECT_EQ(f.Label47->text(), m.referenceHint()) << name;
        EXPECT_EQ(f.Design.GradeTolerance3, m.design().GradeTolerance3) << name;
        EXPECT_EQ(f.Design.GradeTolerance11, m.design().GradeTolerance11) << name;
        EXPECT_EQ(f.CheckBox2->isChecked(), m.standardBacklash()) << name;
        EXPECT_EQ(f.CheckBox1->isChecked(), m.wholeTeeth()) << name;
        EXPECT_EQ(f.Edit1->isEnabled(), m.driveDataEnabled()) << name;
        EXPECT_EQ(f.SpeedButton2->isEnabled(), m.calculateEnabled()) << name;
        EXPECT_EQ(f.SpeedButton3->isEnabled(), m.editEnabled()) << name;
        EXPECT_EQ(f.ToolButton5->isEnabled(), m.exportsEnabled()) << name;
        EXPECT_EQ(!f.GroupBox1->isHidden(), m.resultsShown()) << name;
        EXPECT_EQ(f.WarningsLine && !f.WarningsLine->isHidden(), !m.warnings().isEmpty()) << name;
        EXPECT_EQ(messages(), m.messages()) << name;
        program->dialogs.messages.clear();
    }
}

} // namespace
