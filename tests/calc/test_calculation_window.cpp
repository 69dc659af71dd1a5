// The calculation driven through the real main window.
#include "common/gui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using tpworm::testing::ProgramFixture;

namespace {

void enterWorkedExample(tpworm::TForm1& f)
{
    f.Design.RuleCoefficients = {0.875, 1.2, 1, 0.5, 0, 0.55, 2, 0, 0.15, 0.5, 0.5, 1, 0.5, 1, 0.9, 9};
    const QList<QPair<QLineEdit*, QString>> texts = {
        {f.Edit1, "250"}, {f.Edit3, "45"}, {f.Edit4, "2"}, {f.Edit2, "22.5"}, {f.Edit5, "160"},
        {f.Edit6, "2"}, {f.Edit7, "90"}, {f.Edit8, "0.3"}, {f.Edit13, "0.5"}};
    for (const auto& [edit, text] : texts)
        edit->setText(text);
}

bool resultsShown(tpworm::TForm1& f)
{
    for (QGroupBox* g : {f.GroupBox1, f.GroupBox2, f.GroupBox3, f.GroupBox4, f.GroupBox6})
        if (g->isHidden())
            return false;
    return !f.CheckBox1->isHidden();
}

bool commandsEnabled(tpworm::TForm1& f)
{
    bool all = true;
    for (QToolButton* b : {f.ToolButton5, f.ToolButton4, f.ToolButton1, f.ToolButton11})
        all = all && b->isEnabled();
    for (QAction* a : {f.N3, f.N4, f.N5, f.N14})
        all = all && a->isEnabled();
    return all;
}

TEST(CalculationWindow, CalculationFailureAndRecovery)
{
    ProgramFixture fx;
    tpworm::TForm1& f = fx.start();
    enterWorkedExample(f);
    fx.dialogs.messages.clear();

    f.Button1Click();
    EXPECT_TRUE(resultsShown(f));
    EXPECT_TRUE(commandsEnabled(f));
    EXPECT_FALSE(f.Design.DesignSaved);
    EXPECT_EQ(f.Label8->text(), "215.933-----蜗杆齿根圆弧半径");
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());

    // A failure hides everything again and keeps the saved flag as it was.
    f.Design.DesignSaved = true;
    f.Edit5->setText("");
    f.Button1Click();
    EXPECT_FALSE(resultsShown(f));
    EXPECT_FALSE(commandsEnabled(f));
    EXPECT_TRUE(f.Design.DesignSaved);
    ASSERT_EQ(fx.dialogs.messages.size(), 1);
    EXPECT_EQ(fx.dialogs.messages[0].text, "只能输入合法数字，且不能为空");

    f.Edit2->setText("20");
    f.Button1Click();
    ASSERT_EQ(fx.dialogs.messages.size(), 2);
    EXPECT_EQ(fx.dialogs.messages[1].text, "输入参数不正确......（速比=齿数/头数）");

    // The next good run shows all results again.
    f.Edit2->setText("22.5");
    f.Edit5->setText("160");
    f.Button1Click();
    EXPECT_TRUE(resultsShown(f));
    EXPECT_TRUE(commandsEnabled(f));
    EXPECT_EQ(fx.dialogs.messages.size(), 2);
}

TEST(CalculationWindow, WarningColours)
{
    ProgramFixture fx;
    tpworm::TForm1& f = fx.start();
    enterWorkedExample(f);
    f.Edit7->setText("30");
    f.Edit5->setText("200");
    f.Button1Click();
    EXPECT_TRUE(tpworm::TForm1::isWarning(f.Label28));
    EXPECT_TRUE(tpworm::TForm1::isWarning(f.Label53));
    EXPECT_EQ(f.Label28->palette().color(QPalette::Window), QColor(255, 0, 0));

    f.Edit7->setText("90");
    f.Edit5->setText("160");
    f.Button1Click();
    for (QLabel* l : {f.Label14, f.Label28, f.Label53})
        EXPECT_EQ(l->palette().color(QPalette::Window), QColor(166, 202, 240)) << l->objectName().toStdString();
}

} // namespace
