// Editing the recommended parameters: the three states of the window, the
// remembered backlash and the standard-backlash box on confirm.
#include "calcflow_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;

namespace {

enum class State { Entering, Calculated, Editing };

const char* name(State s)
{
    switch (s) {
    case State::Entering: return "entering";
    case State::Calculated: return "calculated";
    case State::Editing: return "editing";
    }
    return "?";
}

// Checks every control that the state fixes; the result groups only where
// the state fixes them without the calculation's say.
void expectState(const TForm1& f, State s)
{
    SCOPED_TRACE(name(s));
    const bool entering = s == State::Entering;
    const bool editing = s == State::Editing;
    for (const QWidget* w : std::initializer_list<const QWidget*>{f.Edit1, f.Edit3, f.Edit4, f.SpeedButton2})
        EXPECT_EQ(w->isEnabled(), entering) << w->objectName().toStdString();
    EXPECT_EQ(f.GroupBox5->isEnabled(), editing);
    const QColor colour = editing ? QColor(0, 0, 0) : QColor(128, 128, 128);
    EXPECT_EQ(f.GroupBox5->palette().color(QPalette::WindowText), colour);
    // The fields inside show their text in the group's colour.
    EXPECT_EQ(f.Edit5->palette().color(QPalette::Text), colour);
    EXPECT_EQ(f.Edit11->palette().color(QPalette::Text), colour);
    EXPECT_EQ(f.SpeedButton3->isEnabled(), !entering);
    EXPECT_EQ(f.SpeedButton4->isEnabled(), editing);
    if (editing) {
        for (const QGroupBox* g : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
            EXPECT_TRUE(g->isHidden()) << g->objectName().toStdString();
    }
}

bool resultsShown(const TForm1& f)
{
    for (const QWidget* g : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
        if (!g->isVisible())
            return false;
    return f.CheckBox1->isVisible();
}

const QString kCalculationMessage = QStringLiteral("只能输入合法数字，且不能为空");

} // namespace

class Editing : public CalcFlowTest {};

TEST_F(Editing, TheWindowPassesThroughItsThreeStates)
{
    TForm1& f = start();
    expectState(f, State::Entering);
    calculate(f, "160", "30", "3");
    expectState(f, State::Calculated);
    press(f.SpeedButton3);
    expectState(f, State::Editing);
    EXPECT_EQ(f.Design.BacklashBeforeEdit, "0.21");
    // The group is open for typing now.
    type(f.Edit5, "100");
    EXPECT_EQ(f.Edit5->text(), "100");
    press(f.SpeedButton4);
    expectState(f, State::Calculated);
    // Again and again: there is no way back to entering.
    press(f.SpeedButton3);
    expectState(f, State::Editing);
    press(f.SpeedButton4);
    expectState(f, State::Calculated);
}

TEST_F(Editing, ConfirmUnchecksTheStandardBacklashOnlyForAChangedText)
{
    struct Case {
        const char* what;
        bool standardAtStart;
        std::function<void(TForm1&)> edit; // between the edit command and confirm
        bool standardAfter;
        const char* gradeText;
    };
    const Case cases[] = {
        {"nothing changed", true, [](TForm1&) {}, true, "7j(GB/T16445-1996)"},
        // The texts differ although the numbers do not.
        {"0.21 retyped as 0.210", true, [](TForm1& f) { type(f.Edit8, "0.210"); }, false, "7级(GB/T16445-1996)"},
        {"changed and changed back", true,
         [](TForm1& f) {
             type(f.Edit8, "0.3");
             type(f.Edit8, "0.21");
         },
         true, "7j(GB/T16445-1996)"},
        // The second edit command remembers the changed text.
        {"changed, then edit pressed again", true,
         [](TForm1& f) {
             type(f.Edit8, "0.3");
             press(f.SpeedButton3);
         },
         true, "7j(GB/T16445-1996)"},
        {"already unchecked", false, [](TForm1& f) { type(f.Edit8, "0.3"); }, false, "7级(GB/T16445-1996)"},
        {"another field changed", true, [](TForm1& f) { type(f.Edit6, "20"); }, true, "7j(GB/T16445-1996)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm1& f = start();
        f.CheckBox2->setChecked(c.standardAtStart);
        calculate(f, "160", "30", "3");
        press(f.SpeedButton3);
        c.edit(f);
        const QString typed = f.Edit8->text();
        press(f.SpeedButton4);
        EXPECT_EQ(f.CheckBox2->isChecked(), c.standardAfter);
        EXPECT_EQ(f.Edit9->text(), QString::fromUtf8(c.gradeText));
        // Unchecking never brings the table's backlash back.
        EXPECT_EQ(f.Edit8->text(), typed);
        expectState(f, State::Calculated);
    }
}

TEST_F(Editing, TheLookUpOfTheUncheckedBoxRunsBeforeTheRecalculation)
{
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    press(f.SpeedButton3);
    type(f.Edit8, "0.3");
    // Connected after the window's own handler: sees the state it leaves.
    bool resultsHiddenAtUncheck = false;
    QString gradeTextAtUncheck;
    QObject::connect(f.CheckBox2, &QCheckBox::toggled, &f, [&] {
        resultsHiddenAtUncheck = f.GroupBox1->isHidden();
        gradeTextAtUncheck = f.Edit9->text();
    });
    press(f.SpeedButton4);
    EXPECT_TRUE(resultsHiddenAtUncheck) << "the calculation ran before the box was unchecked";
    EXPECT_EQ(gradeTextAtUncheck, "7级(GB/T16445-1996)");
    EXPECT_TRUE(resultsShown(f));
    EXPECT_EQ(f.Design.Backlash, 0.3);
}

// A grade picked after a calculation changes the backlash and the grade
// text; the results are calculated again at once, so that no table prints
// grade 8 with the grade-7 tooth thickness. The recommendation is not redone.
TEST_F(Editing, GradeChangesWhileCalculatedCalculateAgain)
{
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    const QString reference = f.Edit7->text();
    const QString rootRadius = f.Label8->text();
    const QString thickness = f.Label16->text();
    pickGrade(f.ComboBox1, "8");
    EXPECT_EQ(f.Edit8->text(), "0.26");
    EXPECT_EQ(f.Edit9->text(), "8j(GB/T16445-1996)");
    EXPECT_EQ(f.Edit7->text(), reference);
    EXPECT_EQ(f.Design.Backlash, 0.26);
    EXPECT_EQ(f.Label8->text(), rootRadius);
    EXPECT_NE(f.Label16->text(), thickness) << "the tooth thickness follows the grade's backlash";
    expectState(f, State::Calculated);
}

TEST_F(Editing, ConfirmRecalculatesFromTheFieldsAsTyped)
{
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    press(f.SpeedButton3);
    type(f.Edit5, "100");
    type(f.Edit11, "0.4 * 30"); // reliefs are texts for the documents only
    press(f.SpeedButton4);
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(f.Design.MainBaseDiameter, 100);
    EXPECT_EQ(f.Label12->text(), "100-----主基圆直径");
    EXPECT_EQ(f.Edit11->text(), "0.4 * 30");
    EXPECT_TRUE(resultsShown(f));
    expectState(f, State::Calculated);
}

TEST_F(Editing, AFailedRecalculationStillClosesTheGroup)
{
    TForm1& f = start();
    calculate(f, "160", "30", "3");
    press(f.SpeedButton3);
    type(f.Edit5, "");
    press(f.SpeedButton4);
    EXPECT_EQ(messages(), QStringList{kCalculationMessage});
    EXPECT_FALSE(resultsShown(f));
    expectState(f, State::Calculated);
    // The edit command is the way to correct it.
    press(f.SpeedButton3);
    type(f.Edit5, "95");
    press(f.SpeedButton4);
    EXPECT_TRUE(resultsShown(f));
    EXPECT_EQ(messages(), QStringList{kCalculationMessage});
}

TEST_F(Editing, WholeNumberBoxRecalculatesOnEveryChangeOfState)
{
    TForm1& f = start();
    calculate(f, "250", "45", "2"); // 45 teeth enclose 4.5
    ASSERT_EQ(f.Label26->text(), "4.5-----包围齿数");
    // Each run that completes marks the design unsaved again.
    f.Design.DesignSaved = true;
    f.CheckBox1->setChecked(true); // by the program
    EXPECT_EQ(f.Label26->text(), "4-----包围齿数");
    EXPECT_FALSE(f.Design.DesignSaved);
    f.Design.DesignSaved = true;
    f.CheckBox1->setChecked(true); // no change of state: no run
    EXPECT_TRUE(f.Design.DesignSaved);
    QTest::mouseClick(f.CheckBox1, Qt::LeftButton); // by the user
    EXPECT_FALSE(f.CheckBox1->isChecked());
    EXPECT_EQ(f.Label26->text(), "4.5-----包围齿数");
    EXPECT_FALSE(f.Design.DesignSaved);
    EXPECT_EQ(messages(), QStringList());
    expectState(f, State::Calculated);
}
