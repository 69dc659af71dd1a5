// The main window as it opens: frame, layout, captions, colours, tool bar,
// menus and the enabled state of every command.
#include "common/gui_fixture.h"

#include "app/appearance.h"
#include "app/icons.h"
#include "app/version.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <map>
#include <vector>

using tpworm::TForm1;
using tpworm::testing::ProgramFixture;

namespace {

const QColor kSkyBlue(166, 202, 240);

QWidget* control(TForm1& f, const char* name)
{
    return f.findChild<QWidget*>(QString::fromLatin1(name));
}

// The caption or text a control shows.
QString shownText(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* button = qobject_cast<QToolButton*>(w))
        return button->toolTip();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return QString();
}

struct Placed {
    const char* name;
    const char* parent; // the group (or panel) it sits in; nullptr: the client area
    int left, top;
    int width, height; // -1: not fixed by the layout
    const char* text;  // caption, initial text, or the hint of a picture button
};

// Positions are those of the layout tables, relative to the client area or to
// the group named.
const Placed kPlacements[] = {
    // Drive data.
    {"Label1", nullptr, 16, 64, -1, -1, "中  心  距："},
    {"Edit1", nullptr, 96, 56, -1, -1, ""},
    {"Label3", nullptr, 16, 104, -1, -1, "蜗轮齿数："},
    {"Edit3", nullptr, 96, 96, -1, -1, ""},
    {"Label4", nullptr, 16, 144, -1, -1, "蜗杆头数："},
    {"Edit4", nullptr, 96, 136, -1, -1, "1"},
    {"Label2", nullptr, 16, 184, -1, -1, "实际速比："},
    {"Edit2", nullptr, 96, 176, -1, -1, ""},
    {"SpeedButton2", nullptr, 256, 176, 65, 65, "计算"},
    {"Label30", nullptr, 16, 224, -1, -1, "精度等级："},
    {"ComboBox1", nullptr, 96, 216, 41, -1, "7"},
    {"CheckBox2", nullptr, 144, 218, -1, -1, "标准侧隙"},
    {"Edit9", nullptr, 96, 240, -1, -1, "7级(GB/T16445-1996)"},
    {"Label50", nullptr, 376, 256, 217, -1, "注意：默认计算法则已被修改..."},
    {"Button1", nullptr, 200, 608, 49, 33, "计   算"},
    // Recommended parameters: captions 80 pixels left of their fields.
    {"GroupBox5", nullptr, 376, 64, 537, 185, " 推荐参数  "},
    {"Label5", "GroupBox5", 8, -1, -1, -1, "主  基  圆："},
    {"Edit5", "GroupBox5", 88, 24, -1, -1, ""},
    {"Label46", "GroupBox5", 88, 48, -1, -1, "↑0.65 * A"},
    {"Label6", "GroupBox5", 8, -1, -1, -1, "齿顶偏心："},
    {"Edit6", "GroupBox5", 88, 64, -1, -1, "0"},
    {"Label7", "GroupBox5", 8, -1, -1, -1, "杆分度圆："},
    {"Edit7", "GroupBox5", 88, 104, -1, -1, ""},
    {"Label47", "GroupBox5", 88, 128, -1, -1, ""},
    {"Label15", "GroupBox5", 8, -1, -1, -1, "侧         隙："},
    {"Edit8", "GroupBox5", 88, 144, -1, -1, "0"},
    {"Label36", "GroupBox5", 232, -1, -1, -1, "入口修缘："},
    {"Edit11", "GroupBox5", 312, 24, -1, -1, "0"},
    {"Label37", "GroupBox5", 232, -1, -1, -1, "出口修缘："},
    {"Edit12", "GroupBox5", 312, 64, -1, -1, "0"},
    {"Label38", "GroupBox5", 232, -1, -1, -1, "磨齿增量："},
    {"Edit13", "GroupBox5", 312, 104, -1, -1, "0"},
    {"Label31", "GroupBox5", 232, -1, -1, -1, "旋         向："},
    {"Edit10", "GroupBox5", 312, 144, -1, -1, "右旋"},
    {"Panel1", nullptr, 816, 200, 89, 41, ""},
    {"SpeedButton3", "Panel1", -1, -1, -1, -1, "编辑"},
    {"SpeedButton4", "Panel1", -1, -1, -1, -1, "确定"},
    // Result groups.
    {"GroupBox6", nullptr, 8, 272, 153, 313, " 传动特性  "},
    {"GroupBox1", nullptr, 168, 272, 201, 313, "  蜗杆参数  "},
    {"GroupBox3", nullptr, 376, 272, 169, 313, "  蜗轮参数  "},
    {"GroupBox2", nullptr, 552, 272, 185, 313, "  滚刀参数  "},
    {"GroupBox4", nullptr, 744, 272, 169, 313, " 一般型传动修形参数   "},
    {"Label26", "GroupBox1", -1, 144, 113, 13, "包围齿数"},
    {"CheckBox1", "GroupBox1", 120, 144, -1, -1, "取整数"},
    // Tool bar.
    {"ToolBar1", nullptr, 0, 0, 920, 46, ""},
    // The notice fills the bar right of the last button, "传动校核" (a separator
    // and a 39-pixel button after "关闭").
    {"Label32", "ToolBar1", 492 + 8 + 39, -1, 920 - (492 + 8 + 39), -1, ""},
};

// Result labels per group, top to bottom, with their bare names.
const std::map<const char*, std::vector<std::pair<const char*, const char*>>> kResultLabels = {
    {"GroupBox6",
     {{"Label12", "主基圆直径"}, {"Label13", "母平面倾斜角"}, {"Label25", "端面模数"}, {"Label27", "工作半包角"},
      {"Label14", "分度圆齿形角"}}},
    {"GroupBox1",
     {{"Label24", "蜗杆齿顶圆弧偏心量"}, {"Label8", "蜗杆齿根圆弧半径"}, {"Label10", "蜗杆工作长度"},
      {"Label9", "蜗杆齿顶圆弧半径"}, {"Label11", "肩台"}, {"Label26", "包围齿数"}, {"Label28", "蜗杆喉部导程角"},
      {"Label48", "蜗杆最大齿顶圆直径"}, {"Label43", "蜗杆齿顶宽"}, {"Label53", "蜗杆喉部齿根圆直径"},
      {"Label16", "法向弦齿厚"}, {"Label17", "法向弦齿高"}}},
    {"GroupBox3",
     {{"Label33", "蜗轮最大外径"}, {"Label35", "蜗轮喉径"}, {"Label34", "齿圈工作宽度"}, {"Label40", "蜗轮齿顶圆弧半径"},
      {"Label23", "蜗轮分度圆直径"}, {"Label44", "蜗轮法向弦齿厚"}, {"Label45", "蜗轮法向弦齿高"}}},
    {"GroupBox2",
     {{"Label18", "滚刀齿顶圆弧半径"}, {"Label19", "滚刀齿根圆弧半径"}, {"Label20", "滚刀有效长度"},
      {"Label29", "滚刀包围齿数"}, {"Label49", "滚刀齿顶宽"}, {"Label21", "滚刀法向弦齿厚"}, {"Label22", "滚刀法向弦齿高"}}},
    {"GroupBox4", {{"Label41", "修形母面倾斜角"}, {"Label42", "修形传动比"}, {"Label51", "修形中心距"}, {"Label52", "修形主基圆直径"}}},
};

// The tool bar from left to right: button, picture of ImageList1, hint;
// nullptr marks a separator.
struct ToolBarEntry {
    const char* name;
    int picture;
    const char* hint;
    bool enabled;
};
const ToolBarEntry kToolBar[] = {
    {"ToolButton15", 0, "", true},
    {"ToolButton3", 11, "打开文件", true},
    {"ToolButton11", 1, "保存", false},
    {nullptr, 0, nullptr, false},
    {"ToolButton5", 2, "导出蜗杆参数表", false},
    {"ToolButton1", 3, "导出蜗轮参数表", false},
    {"ToolButton4", 4, "导出滚刀参数表", false},
    {nullptr, 0, nullptr, false},
    {"ToolButton7", 5, "技术资料", true},
    {"ToolButton8", 6, "推荐参数", true},
    {"ToolButton9", 7, "精度等级", true},
    {"ToolButton10", 8, "绘图示例", true},
    {"ToolButton12", 9, "修形原理", true},
    {nullptr, 0, nullptr, false},
    {"ToolButton13", 10, "关闭", true},
};

// The main menu: each menu with its items in order, their captions and
// whether they are enabled at start.
struct MenuEntry {
    const char* name;
    const char* caption;
    bool enabled;
};
const std::vector<std::pair<MenuEntry, std::vector<MenuEntry>>> kMenus = {
    {{"N1", "文件", true},
     {{"N11", "打开", true}, {"N12", "-----------", true}, {"N3", "导出蜗杆参数", false}, {"N14", "导出蜗轮参数", false},
      {"N4", "导出滚刀参数", false}, {"N5", "保存", false}, {"VariantsItem", "方案比较", true}, {"N6", "退出", true}}},
    {{"DrawingMenu", "图纸", true},
     {{"DrawingWorm", "蜗杆图", false}, {"DrawingWheel", "蜗轮图", false}, {"DrawingHob", "滚刀图", false},
      {"DrawingTitle", "标题栏...", true}, {"DesignReport", "设计报告", false}}},
    {{"ModelMenu", "三维模型", true},
     {{"ModelWorm", "蜗杆 STEP...", false}, {"ModelWheel", "蜗轮 STEP...", false}, {"ModelPair", "蜗杆副 STEP...", false}}},
    {{"N7", "设置", true},
     {{"N13", "计算法则参数设置", true}, {"N15", "还原默认设置", true}, {"N16", "加载用户设置", true},
      {"N17", "另存用户设置", true}}},
    {{"RatingMenu", "校核", true}, {{"RatingAction", "传动校核", false}}},
    {{"df1", "更新", true}, {{"N18", "在线升级", true}}},
    {{"N19", "设计手册", true},
     {{"N20", "推荐参数", true}, {"N21", "技术资料", true}, {"N22", "传动精度", true}, {"N23", "制图示例", true},
      {"N24", "修形原理", true}}},
    {{"N25", "帮助", true}, {{"N26", "关于本软件", true}, {"N2", "帮助", true}}},
};

QColor textColour(QWidget* w, QPalette::ColorGroup group = QPalette::Active)
{
    return w->palette().color(group, w->foregroundRole());
}

} // namespace

TEST(MainWindowLayout, FrameIsFixedCentredSkyBlueInTheProgramFont)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    EXPECT_EQ(f.windowTitle(), tpworm::productCaption());
    EXPECT_TRUE(f.windowTitle().contains(tpworm::kProductVersion));
    EXPECT_EQ(f.centralWidget()->size(), QSize(920, 589));
    EXPECT_EQ(f.centralWidget()->pos(), QPoint(0, f.menuBar()->height())) << "the menu bar stands above the client area";
    EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "the window cannot be resized";
    EXPECT_EQ(f.size(), QSize(920, 589 + f.menuBar()->height()));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(f.pos(), tpworm::centredTopLeft(f.frameGeometry().size(), f.screen()->availableGeometry()));
    EXPECT_EQ(f.centralWidget()->palette().color(QPalette::Window), kSkyBlue);
    EXPECT_TRUE(f.centralWidget()->autoFillBackground());
    EXPECT_EQ(f.font().pointSize(), 8);
    EXPECT_EQ(f.font().family(), "MS Sans Serif");
    const QString shown = QFontInfo(f.Label1->font()).family();
    EXPECT_TRUE(shown == "MS Sans Serif" || shown == "WenQuanYi Micro Hei") << shown.toStdString();
}

TEST(MainWindowLayout, ControlsStandWhereTheLayoutPutsThem)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    for (const Placed& p : kPlacements) {
        SCOPED_TRACE(p.name);
        QWidget* w = control(f, p.name);
        ASSERT_NE(w, nullptr);
        QWidget* parent = p.parent ? control(f, p.parent) : f.centralWidget();
        EXPECT_EQ(w->parentWidget(), parent);
        const QRect g = w->geometry();
        if (p.left >= 0) {
            EXPECT_EQ(g.left(), p.left);
        }
        if (p.top >= 0) {
            EXPECT_EQ(g.top(), p.top);
        }
        if (p.width >= 0) {
            EXPECT_EQ(g.width(), p.width);
        }
        if (p.height >= 0) {
            EXPECT_EQ(g.height(), p.height);
        }
        EXPECT_EQ(shownText(w), QString::fromUtf8(p.text));
    }
    // The recommended-parameter captions stand level with their fields.
    const std::pair<QWidget*, QWidget*> captions[] = {{f.Label5, f.Edit5},   {f.Label6, f.Edit6},  {f.Label7, f.Edit7},
                                                      {f.Label15, f.Edit8},  {f.Label36, f.Edit11}, {f.Label37, f.Edit12},
                                                      {f.Label38, f.Edit13}, {f.Label31, f.Edit10}};
    for (auto [label, edit] : captions) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(edit->x() - label->x(), 80);
        EXPECT_LE(std::abs(label->geometry().center().y() - edit->geometry().center().y()), 1);
    }
    // Button1 lies below the client area: nobody can press it.
    EXPECT_GE(f.Button1->y(), f.centralWidget()->height());
}

TEST(MainWindowLayout, ResultGroupsListTheirBareResultNames24PixelsApart)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    for (const auto& [groupName, labels] : kResultLabels) {
        auto* group = qobject_cast<QGroupBox*>(control(f, groupName));
        ASSERT_NE(group, nullptr) << groupName;
        EXPECT_TRUE(group->isVisible()) << groupName;
        int top = 24;
        for (const auto& [name, caption] : labels) {
            SCOPED_TRACE(name);
            auto* label = qobject_cast<QLabel*>(control(f, name));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->parentWidget(), group);
            EXPECT_EQ(label->text(), QString::fromUtf8(caption));
            EXPECT_EQ(label->y(), top);
            EXPECT_TRUE(label->x() == 8 || label->x() == 9);
            EXPECT_EQ(label->height(), 13);
            // Fixed width inside the group: a long value never pushes out.
            EXPECT_LE(label->geometry().right(), group->width() - 1);
            top += 24;
        }
    }
}

// With the CJK font that replaces MS Sans Serif, every caption shown at the
// start must fit its label whole.
TEST(MainWindowLayout, NoCaptionIsClipped)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const auto labels = f.findChildren<QLabel*>();
    ASSERT_GT(labels.size(), 50);
    for (QLabel* label : labels) {
        if (label->text().isEmpty() || label->window() != &f)
            continue;
        SCOPED_TRACE(label->objectName().toStdString() + " " + label->text().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->contentsRect().width(), metrics.horizontalAdvance(label->text()));
        EXPECT_GE(label->contentsRect().height(), metrics.height());
    }
    for (QCheckBox* box : {f.CheckBox2, f.CheckBox1}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_GE(box->width(), box->sizeHint().width());
        EXPECT_GE(box->height(), QFontMetrics(box->font()).height());
    }
    EXPECT_GE(f.Button1->width(), QFontMetrics(f.Button1->font()).horizontalAdvance(f.Button1->text()) + 8);
    for (QLineEdit* edit : f.findChildren<QLineEdit*>()) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_GE(edit->width(), QFontMetrics(edit->font()).horizontalAdvance(edit->text()) + 6);
    }
}

TEST(MainWindowLayout, ColoursAndAlignment)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    // The notice label of the update check: red, right and bottom aligned,
    // filling the right end of the tool bar.
    EXPECT_EQ(textColour(f.Label32), QColor(255, 0, 0));
    EXPECT_EQ(f.Label32->alignment(), Qt::AlignRight | Qt::AlignBottom);
    EXPECT_EQ(f.Label32->geometry().right(), f.ToolBar1->width() - 1);
    EXPECT_EQ(textColour(f.Label50), QColor(255, 0, 0));
    // The recommended parameters are greyed, their fields with them.
    for (QWidget* w : std::initializer_list<QWidget*>{f.GroupBox5, f.Label5, f.Edit5, f.Edit10, f.Label31}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(textColour(w, QPalette::Disabled), QColor(128, 128, 128));
    }
    // The three warning labels are painted sky blue until a result is out
    // of bounds; the panel of the edit commands is sky blue too.
    for (QLabel* label : {f.Label14, f.Label28, f.Label53}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_EQ(label->palette().color(QPalette::Window), kSkyBlue);
        EXPECT_FALSE(TForm1::isWarning(label));
    }
    EXPECT_EQ(f.Panel1->palette().color(QPalette::Window), kSkyBlue);
    EXPECT_EQ(f.Panel1->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(f.SpeedButton2->autoRaise());
    EXPECT_TRUE(f.SpeedButton3->autoRaise());
    EXPECT_TRUE(f.SpeedButton4->autoRaise());
}

TEST(MainWindowLayout, ToolBarButtonsPicturesHintsAndSeparators)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QList<QPixmap> imageList1 = tpworm::icons::imageList1();
    ASSERT_EQ(imageList1.size(), 12);
    EXPECT_EQ(f.ToolBar1->height(), 46);
    int right = 0; // right edge of the previous button
    int separatorsSince = 0;
    for (const ToolBarEntry& e : kToolBar) {
        if (!e.name) {
            ++separatorsSince;
            continue;
        }
        SCOPED_TRACE(e.name);
        auto* button = f.findChild<QToolButton*>(QString::fromLatin1(e.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parentWidget(), f.ToolBar1);
        EXPECT_EQ(button->size(), QSize(39, 38));
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_TRUE(button->autoRaise()) << "flat";
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(e.hint));
        EXPECT_EQ(button->isEnabled(), e.enabled);
        EXPECT_EQ(button->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  imageList1[e.picture].toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << "picture " << e.picture;
        // Side by side, with a gap exactly where a separator stands.
        EXPECT_EQ(button->x(), right + 8 * separatorsSince);
        if (separatorsSince > 0) {
            const auto lines = f.ToolBar1->findChildren<QFrame*>();
            const bool found = std::any_of(lines.begin(), lines.end(), [&](QFrame* line) {
                return line->frameShape() == QFrame::VLine && line->x() >= right && line->geometry().right() < button->x();
            });
            EXPECT_TRUE(found) << "a separator before " << e.name;
        }
        right = button->geometry().right() + 1;
        separatorsSince = 0;
    }
    EXPECT_LT(right, f.Label32->x()) << "the notice label leaves the buttons free";
}

TEST(MainWindowLayout, MenusInOrderWithCaptionsAndStartStates)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const QList<QAction*> bar = f.menuBar()->actions();
    ASSERT_EQ(bar.size(), int(kMenus.size()));
    for (size_t m = 0; m < kMenus.size(); ++m) {
        const auto& [menu, items] = kMenus[m];
        SCOPED_TRACE(menu.name);
        QMenu* shown = bar[int(m)]->menu();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->objectName(), menu.name);
        EXPECT_EQ(shown->title(), QString::fromUtf8(menu.caption));
        const QList<QAction*> actions = shown->actions();
        ASSERT_EQ(actions.size(), int(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i].name);
            EXPECT_EQ(actions[int(i)]->objectName(), items[i].name);
            EXPECT_EQ(actions[int(i)]->text(), QString::fromUtf8(items[i].caption));
            EXPECT_EQ(actions[int(i)]->isEnabled(), items[i].enabled);
            EXPECT_FALSE(actions[int(i)]->isSeparator());
        }
    }
}

TEST(MainWindowLayout, StartStateOfFieldsAndBoxes)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    struct State {
        QWidget* w;
        bool enabled;
        bool visible;
    };
    const State states[] = {
        {f.Edit1, true, true},        {f.Edit3, true, true},        {f.Edit4, true, true},
        {f.Edit2, false, true},       {f.Edit9, false, true},       {f.ComboBox1, true, true},
        {f.CheckBox2, true, true},    {f.SpeedButton2, true, true}, {f.GroupBox5, false, true},
        {f.SpeedButton3, false, true}, {f.SpeedButton4, false, true}, {f.Panel1, true, true},
        {f.Label50, true, false},     {f.CheckBox1, true, false},   {f.Button1, false, true},
        {f.GroupBox1, true, true},    {f.GroupBox2, true, true},    {f.GroupBox3, true, true},
        {f.GroupBox4, true, true},    {f.GroupBox6, true, true},    {f.Label32, true, true},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.w->objectName().toStdString());
        EXPECT_EQ(s.w->isEnabled(), s.enabled);
        EXPECT_EQ(s.w->isVisible(), s.visible);
    }
    EXPECT_EQ(f.Label32->text(), "");
    EXPECT_EQ(f.ComboBox1->count(), 3);
    EXPECT_EQ(f.ComboBox1->itemText(0), "6");
    EXPECT_EQ(f.ComboBox1->itemText(2), "8");
    EXPECT_EQ(f.ComboBox1->currentIndex(), 1);
    EXPECT_TRUE(f.CheckBox2->isChecked());
    EXPECT_FALSE(f.CheckBox1->isChecked());
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_FALSE(f.Timer2->isActive());
    EXPECT_EQ(f.Timer1->interval(), 500);
    EXPECT_EQ(f.Timer2->interval(), 2000);
}

TEST(MainWindowLayout, TheLengthLimitsHoldForTypingOnly)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    const std::pair<QLineEdit*, int> limits[] = {{f.Edit1, 5}, {f.Edit3, 3}, {f.Edit4, 1}};
    for (auto [edit, limit] : limits) {
        SCOPED_TRACE(edit->objectName().toStdString());
        edit->clear();
        QTest::keyClicks(edit, "1234567");
        EXPECT_EQ(edit->text().size(), limit);
    }
}

TEST(CentredTopLeft, PlacesTheFrameInTheMiddleAndKeepsItsTitleOnScreen)
{
    struct Case {
        QSize frame;
        QRect available;
        QPoint expected;
    } cases[] = {
        {{926, 640}, {0, 0, 1280, 800}, {177, 80}},      // fits: centred
        {{926, 640}, {0, 30, 1280, 770}, {177, 95}},     // a panel above the work area
        {{926, 640}, {1280, 0, 1920, 1080}, {1777, 220}}, // second screen
        {{926, 640}, {0, 0, 800, 600}, {0, 0}},           // larger than the screen: title bar stays on it
        {{920, 100}, {0, 0, 921, 300}, {0, 100}},         // odd difference rounds toward the left
    };
    for (const Case& c : cases)
        EXPECT_EQ(tpworm::centredTopLeft(c.frame, c.available), c.expected)
            << c.frame.width() << "x" << c.frame.height() << " in " << c.available.width() << "x" << c.available.height();
}

// After a calculation every result label carries its value, dashes and name;
// in the CJK font these must still fit the fixed label widths, over the
// whole calculation range.
TEST(MainWindowLayout, ResultCaptionsFitTheirLabelsAfterACalculation)
{
    struct Design {
        const char* centreDistance;
        const char* wheelTeeth;
        const char* starts;
    } designs[] = {
        {"250", "45", "2"},  // an everyday drive
        {"71", "8", "1"},    // small centre distance, smallest ratio of the range
        {"1499", "149", "1"}, // largest centre distance and ratio
        {"630", "61", "4"},
    };
    for (const Design& d : designs) {
        SCOPED_TRACE(std::string(d.centreDistance) + "/" + d.wheelTeeth + "/" + d.starts);
        ProgramFixture fx;
        TForm1& f = fx.start();
        f.Edit1->setText(d.centreDistance);
        f.Edit3->setText(d.wheelTeeth);
        f.Edit4->setText(d.starts);
        f.SpeedButton2->click();
        QApplication::processEvents();
        ASSERT_TRUE(f.GroupBox1->isVisible()) << fx.dialogs.messageTexts().join('\n').toStdString();
        for (const auto& [groupName, labels] : kResultLabels) {
            for (const auto& [name, bare] : labels) {
                auto* label = qobject_cast<QLabel*>(control(f, name));
                ASSERT_NE(label, nullptr);
                SCOPED_TRACE(label->text().toStdString());
                EXPECT_NE(label->text(), QString::fromUtf8(bare)) << "shows a value";
                EXPECT_GE(label->contentsRect().width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
            }
        }
    }
}
