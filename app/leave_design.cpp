// The question before a design is left: closing the window (close box,
// "退出", "关闭"), opening another design and starting a new one all ask it
// while the design on screen is unsaved. Only an answer the user gave, or a
// save that really wrote the file, lets the design go; Cancel, a cancelled
// save dialog and a failed save keep the program open with the design.
#include "app/design_state.h"
#include "app/tform1.h"

#include <QCloseEvent>
#include <QToolButton>

namespace tpworm {

namespace {

const QString kSaveQuestion = QStringLiteral("数据尚未保存，是否保存？");

} // namespace

bool TForm1::confirmLeavingDesign()
{
    if (Tracker->leaveConfirmed() || !Tracker->unsavedWork())
        return true;
    MessageBox box;
    box.text = kSaveQuestion;
    box.buttons = MessageBox::Buttons::YesNoCancel;
    box.icon = MessageBox::Icon::Warning;
    switch (dialogs().message(this, box)) {
    case Answer::No:
        return true;
    case Answer::Yes:
        break;
    case Answer::Ok:
    case Answer::Cancel:
        return false;
    }
    // Recommended parameters still open for editing are calculated first, so
    // that what is saved is a design that calculates; when it does not, the
    // calculation has said why and the user stays with the design.
    if (Tracker->editing()) {
        SpeedButton4Click();
        if (!Tracker->resultsCurrent())
            return false;
    }
    N5Click();
    return Design.DesignSaved;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!confirmLeavingDesign()) {
        event->ignore();
        return;
    }
    // Whatever ends the program after this (the application quitting closes
    // its windows again) does not ask a second time.
    Tracker->setLeaveConfirmed();
    QMainWindow::closeEvent(event);
}

} // namespace tpworm
