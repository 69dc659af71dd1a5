// Editing the recommended parameters and calculating again. Nothing is
// derived here: the calculation reads the fields as the user left them.
#include "app/design_state.h"
#include "app/tform1.h"

#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm {

namespace {

const QColor kEditingColour(0, 0, 0);
const QColor kLockedColour(128, 128, 128);

} // namespace

void TForm1::SpeedButton3Click()
{
    GroupBox5->setEnabled(true);
    setGroupFontColour(GroupBox5, kEditingColour);
    Design.BacklashBeforeEdit = Edit8->text();
    for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox6})
        group->hide();
    SpeedButton4->setEnabled(true);
    Tracker->editingStarted();
}

void TForm1::SpeedButton4Click()
{
    Tracker->editingEnded();
    // A backlash typed by the user is no longer the standard one. Unchecking
    // runs the grade look-up first, so the calculation sees the grade text of
    // an unchecked box.
    if (Edit8->text() != Design.BacklashBeforeEdit)
        CheckBox2->setChecked(false);
    Button1Click();
    GroupBox5->setEnabled(false);
    setGroupFontColour(GroupBox5, kLockedColour);
    SpeedButton4->setEnabled(false);
}

void TForm1::CheckBox1Click() { Button1Click(); }

} // namespace tpworm
