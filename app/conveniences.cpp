#include "app/conveniences.h"

#include "app/tform1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <map>

namespace tpworm {

namespace {

// What each input and result is and the unit it is in: lengths in
// millimetres and angles in degrees, as everywhere in the program; counts and
// ratios have none. The captions stay as they are; the tooltip says it.
const std::map<QString, QString>& tips()
{
    static const std::map<QString, QString> table{
        // Drive data and grade.
        {"Edit1", "中心距 a，单位 mm"},
        {"Edit2", "实际速比 i = 蜗轮齿数 ÷ 蜗杆头数，无单位"},
        {"Edit3", "蜗轮齿数 z2，无单位"},
        {"Edit4", "蜗杆头数 z1，无单位"},
        {"ComboBox1", "精度等级（GB/T16445-1996）"},
        {"Edit9", "精度等级（GB/T16445-1996）；第二字为 j 时为标准侧隙"},
        // Recommended parameters.
        {"Edit5", "主基圆直径 db，单位 mm"},
        {"Edit6", "齿顶偏心 e，单位 mm"},
        {"Edit7", "蜗杆分度圆直径 d1，单位 mm"},
        {"Edit8", "侧隙 j，单位 mm"},
        {"Edit10", "旋向"},
        {"Edit11", "入口修缘：修缘量（mm） * 修缘长度（°）"},
        {"Edit12", "出口修缘：修缘量（mm） * 修缘长度（°）"},
        {"Edit13", "磨齿增量 Δz，单位 齿"},
        // Drive characteristics.
        {"Label12", "主基圆直径，单位 mm"},
        {"Label13", "母平面倾斜角，单位 °"},
        {"Label25", "端面模数，单位 mm"},
        {"Label27", "工作半包角，单位 °"},
        {"Label14", "分度圆齿形角，单位 °"},
        // Worm.
        {"Label24", "蜗杆齿顶圆弧偏心量，单位 mm"},
        {"Label8", "蜗杆齿根圆弧半径，单位 mm"},
        {"Label10", "蜗杆工作长度，单位 mm"},
        {"Label9", "蜗杆齿顶圆弧半径，单位 mm"},
        {"Label11", "肩台，单位 mm"},
        {"Label26", "包围齿数，单位 齿"},
        {"Label28", "蜗杆喉部导程角，单位 °"},
        {"Label48", "蜗杆最大齿顶圆直径，单位 mm"},
        {"Label43", "蜗杆齿顶宽，单位 mm"},
        {"Label53", "蜗杆喉部齿根圆直径，单位 mm"},
        {"Label16", "蜗杆法向弦齿厚，单位 mm"},
        {"Label17", "蜗杆法向弦齿高，单位 mm"},
        // Wheel.
        {"Label33", "蜗轮最大外径，单位 mm"},
        {"Label35", "蜗轮喉径，单位 mm"},
        {"Label34", "齿圈工作宽度，单位 mm"},
        {"Label40", "蜗轮齿顶圆弧半径，单位 mm"},
        {"Label23", "蜗轮分度圆直径，单位 mm"},
        {"Label44", "蜗轮法向弦齿厚，单位 mm"},
        {"Label45", "蜗轮法向弦齿高，单位 mm"},
        // Hob.
        {"Label18", "滚刀齿顶圆弧半径，单位 mm"},
        {"Label19", "滚刀齿根圆弧半径，单位 mm"},
        {"Label20", "滚刀有效长度，单位 mm"},
        {"Label29", "滚刀包围齿数，单位 齿"},
        {"Label49", "滚刀齿顶宽，单位 mm"},
        {"Label21", "滚刀法向弦齿厚，单位 mm"},
        {"Label22", "滚刀法向弦齿高，单位 mm"},
        // Modification of the general-type drive.
        {"Label41", "修形母面倾斜角，单位 °"},
        {"Label42", "修形传动比，无单位"},
        {"Label51", "修形中心距，单位 mm"},
        {"Label52", "修形主基圆直径，单位 mm"},
    };
    return table;
}

// Enter in a recommended-parameter field while the group is open confirms,
// as "确定" does.
void confirmOnEnter(TForm1& form)
{
    for (QLineEdit* edit : {form.Edit5, form.Edit6, form.Edit7, form.Edit8, form.Edit10, form.Edit11, form.Edit12,
                            form.Edit13}) {
        QObject::connect(edit, &QLineEdit::returnPressed, &form, [&form] {
            if (form.SpeedButton4->isEnabled())
                form.SpeedButton4->click();
        });
    }
}

// The standard keys of the desktop for open, save and close; F9 calculates,
// as in spreadsheet programs; Ctrl+Enter confirms the edited parameters.
// A shortcut of a disabled command does nothing, like the command.
void addShortcuts(TForm1& form)
{
    form.N11->setShortcut(QKeySequence::Open);
    form.N5->setShortcut(QKeySequence::Save);
    form.N6->setShortcut(QKeySequence::Quit);
    form.ToolButton13->setShortcut(QKeySequence::Close);
    form.SpeedButton2->setShortcut(QKeySequence(Qt::Key_F9));
    form.SpeedButton4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
}

} // namespace

QString unitTip(const QString& objectName)
{
    const auto it = tips().find(objectName);
    return it == tips().end() ? QString() : it->second;
}

void addConveniences(TForm1& form)
{
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const QString tip = unitTip(widget->objectName());
        if (!tip.isEmpty())
            widget->setToolTip(tip);
    }
    confirmOnEnter(form);
    addShortcuts(form);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

} // namespace tpworm
