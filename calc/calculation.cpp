// The geometry calculation's handler: reads the fields, runs the calculation
// and decides which results and commands are shown.
#include "app/design_state.h"
#include "app/tform1.h"

#include "calc/geometry.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace tpworm {

namespace {

class LabelSink final : public calc::ResultSink {
public:
    explicit LabelSink(TForm1& form) : form_(form) {}
    void caption(int label, const QString& text) override { setResultCaption(find(label), text); }
    void warning(int label, bool warn) override { setWarning(find(label), warn); }

private:
    QLabel* find(int label) const { return form_.findChild<QLabel*>(QStringLiteral("Label%1").arg(label)); }
    TForm1& form_;
};

} // namespace

void TForm1::Button1Click()
{
    Tracker->calculationStarted();
    for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox6})
        group->hide();
    for (QToolButton* button : {ToolButton5, ToolButton11, ToolButton4, ToolButton1})
        button->setEnabled(false);
    for (QAction* item : {N3, N4, N5, N14})
        item->setEnabled(false);
    CheckBox1->hide();

    calc::GeometryTexts texts;
    texts.centreDistance = Edit1->text();
    texts.ratio = Edit2->text();
    texts.wheelTeeth = Edit3->text();
    texts.wormStarts = Edit4->text();
    texts.mainBaseDiameter = Edit5->text();
    texts.tipEccentricity = Edit6->text();
    texts.wormReferenceDiameter = Edit7->text();
    texts.backlash = Edit8->text();
    texts.grindingIncrement = Edit13->text();
    texts.wholeTeeth = CheckBox1->isChecked();

    LabelSink sink(*this);
    switch (calc::calculateGeometry(texts, Design.RuleCoefficients, Design, sink)) {
    case calc::GeometryOutcome::RatioMismatch:
        showMessage(QStringLiteral("输入参数不正确......（速比=齿数/头数）"));
        return;
    case calc::GeometryOutcome::Fault:
        showMessage(QStringLiteral("只能输入合法数字，且不能为空"));
        return;
    case calc::GeometryOutcome::Completed:
        break;
    }

    for (QGroupBox* group : {GroupBox1, GroupBox2, GroupBox3, GroupBox4, GroupBox6})
        group->show();
    CheckBox1->show();
    for (QToolButton* button : {ToolButton5, ToolButton4, ToolButton1, ToolButton11})
        button->setEnabled(true);
    for (QAction* item : {N3, N4, N5, N14})
        item->setEnabled(true);
    Design.DesignSaved = false;
    Tracker->calculationCompleted();
}

} // namespace tpworm
