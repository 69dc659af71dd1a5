// What the window shows of a design that cannot be right: a drive that does
// not calculate stays editable, and the findings of a calculated design are
// listed in red under the result groups while the labels keep their colours.
#include "calcflow_fixture.h"

#include <QGroupBox>
#include <QLabel>

using tpworm::TForm1;
using tpworm::testing::CalcFlowTest;

namespace {

const QString kCalculationMessage = QStringLiteral("只能输入合法数字，且不能为空");

bool locked(const TForm1& f)
{
    return !f.Edit1->isEnabled() && !f.Edit3->isEnabled() && !f.Edit4->isEnabled() && !f.SpeedButton2->isEnabled();
}

class Findings : public CalcFlowTest {};

TEST_F(Findings, AZeroCentreDistanceLeavesTheDriveDataEditableForTheNextTry)
{
    TForm1& f = start();
    calculate(f, "0", "30", "3");
    EXPECT_EQ(messages(), QStringList{kCalculationMessage});
    EXPECT_FALSE(locked(f)) << "nothing calculated, nothing locked";
    EXPECT_TRUE(f.Edit1->isEnabled() && f.SpeedButton2->isEnabled());
    EXPECT_EQ(f.Edit7->text(), "0") << "the recommended fields stay as the command wrote them";
    EXPECT_FALSE(f.ToolButton11->isEnabled());

    // Corrected and calculated again: now the drive data are fixed.
    program->dialogs.messages.clear();
    calculate(f, "160", "30", "3");
    EXPECT_EQ(messages(), QStringList());
    EXPECT_TRUE(locked(f));
    EXPECT_TRUE(f.GroupBox1->isVisible());
}

TEST_F(Findings, FindingsAreListedInRedUnderTheResultsAndTheLabelsKeepTheirColours)
{
    TForm1& f = start();
    // The recommended 160/30/3 leaves the hob no tip on these rules.
    calculate(f, "160", "30", "3");
    ASSERT_TRUE(f.GroupBox1->isVisible());
    ASSERT_NE(f.WarningsLine, nullptr);
    EXPECT_FALSE(f.WarningsLine->isHidden());
    EXPECT_TRUE(f.WarningsLine->text().startsWith("滚刀齿顶宽为负（-")) << f.WarningsLine->text().toStdString();
    EXPECT_EQ(f.WarningsLine->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_GE(f.WarningsLine->y(), f.GroupBox1->geometry().bottom()) << "under the result groups";
    EXPECT_EQ(f.centralWidget()->height(), 589 + 20);
    EXPECT_FALSE(TForm1::isWarning(f.Label49)) << "the finding is no label colour";

    // A smaller main base circle: a sound design, and the window as always.
    press(f.SpeedButton3);
    type(f.Edit5, "70");
    press(f.SpeedButton4);
    ASSERT_TRUE(f.GroupBox1->isVisible()) << messages().join('|').toStdString();
    EXPECT_TRUE(f.WarningsLine->isHidden()) << f.WarningsLine->text().toStdString();
    EXPECT_EQ(f.centralWidget()->height(), 589);
    const bool red14 = TForm1::isWarning(f.Label14), red28 = TForm1::isWarning(f.Label28),
               red53 = TForm1::isWarning(f.Label53);

    press(f.SpeedButton3);
    type(f.Edit8, "-0.2");
    press(f.SpeedButton4);
    EXPECT_FALSE(f.WarningsLine->isHidden());
    EXPECT_TRUE(f.WarningsLine->text().contains("侧隙为负（-0.2）")) << f.WarningsLine->text().toStdString();
    EXPECT_EQ(TForm1::isWarning(f.Label14), red14);
    EXPECT_EQ(TForm1::isWarning(f.Label28), red28);
    EXPECT_EQ(TForm1::isWarning(f.Label53), red53);
    EXPECT_TRUE(f.ToolButton5->isEnabled()) << "a finding warns; it does not stop the design";
}

} // namespace
