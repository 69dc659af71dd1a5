#include "common/gui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using tpworm::testing::ProgramFixture;

TEST(MainWindow, StartsInTheSpecifyingState)
{
    ProgramFixture fx;
    tpworm::TForm1& f = fx.start();
    EXPECT_EQ(f.centralWidget()->size(), QSize(920, 589));
    EXPECT_EQ(f.Edit4->text(), "1");
    EXPECT_EQ(f.Edit9->text(), "7级(GB/T16445-1996)");
    EXPECT_EQ(f.ComboBox1->currentText(), "7");
    EXPECT_TRUE(f.CheckBox2->isChecked());
    EXPECT_FALSE(f.CheckBox1->isVisible());
    EXPECT_FALSE(f.GroupBox5->isEnabled());
    for (QToolButton* b : {f.ToolButton11, f.ToolButton5, f.ToolButton1, f.ToolButton4, f.SpeedButton3, f.SpeedButton4})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    for (QAction* a : {f.N3, f.N14, f.N4, f.N5})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(f.Design.DesignSaved);
    EXPECT_EQ(f.Design.SavedCaption, f.windowTitle());
}
