#include "app/tform1.h"
#include "app/variants_window.h"

#include "app/drawing_commands.h"
#include "app/model_commands.h"

#include "app/appearance.h"
#include "app/conveniences.h"
#include "app/design_state.h"
#include "app/desktop.h"
#include "app/icons.h"
#include "app/tform_rating.h"
#include "app/version.h"
#include "rules/rules_notice.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QValidator>

namespace tpworm {

namespace {

const QColor kGrey(128, 128, 128);

// The tool bar as the program lays it out: buttons of 39 × 38 side by side
// from the left edge, separators 8 pixels wide, the notice label filling the
// right end.
constexpr int kToolBarHeight = 46;
constexpr int kToolButtonWidth = 39;
constexpr int kToolButtonHeight = 38;
constexpr int kToolButtonTop = (kToolBarHeight - kToolButtonHeight) / 2;
constexpr int kSeparatorWidth = 8;
constexpr int kNoticeWidth = 406;

// Limits what the user types, as a maximum length would, while a text set by
// the program is kept whole.
class MaxLengthValidator final : public QValidator {
public:
    MaxLengthValidator(int maxLength, QObject* parent) : QValidator(parent), maxLength_(maxLength) {}
    State validate(QString& input, int&) const override { return input.size() <= maxLength_ ? Acceptable : Invalid; }

private:
    int maxLength_;
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width = -1)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    if (width < 0)
        label->move(left, top), label->adjustSize();
    else
        label->setGeometry(left, top, width, 13);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& text, int left, int top, int width, int maxLength = 0)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setGeometry(left, top, width, 21);
    if (maxLength > 0)
        edit->setValidator(new MaxLengthValidator(maxLength, edit));
    return edit;
}

QGroupBox* makeGroup(QWidget* parent, const QString& name, const QString& title, int left, int top, int width, int height)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setGeometry(left, top, width, height);
    return group;
}

QIcon pictureIcon(const QPixmap& picture)
{
    QIcon icon;
    icon.addPixmap(picture);
    return icon;
}

// Fixed single border with system menu and minimise button only; the window
// takes exactly the size of its client area and menu bar.
void setUpFrame(QMainWindow& window)
{
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.setWindowIcon(pictureIcon(icons::programPicture()));
    // The menu bar takes its height from the style only once polished.
    window.ensurePolished();
    window.adjustSize();
}

} // namespace

TForm1::TForm1(const ProgramContext& context)
    : ADOTable1(ADOConnection1, QStringLiteral("nzhi"))
    , ADOTable2(ADOConnection1, QStringLiteral("7ji"))
    , ADOTable3(ADOConnection1, QStringLiteral("xiuyuanchangdu"))
    , ADOTable4(ADOConnection1, QStringLiteral("xiuyuan"))
    , context_(context)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(productCaption());
    createLayout();
    createToolBar();
    createMenus();
    installVariants(*this);
    connectHandlers();
    Tracker = new DesignTracker(*this);
    addConveniences(*this);
    installRatingCommands(*this);
    setUpFrame(*this);

    SaveDialog1 = {QStringLiteral("SaveDialog1"), FileDialog::Kind::Save, QStringLiteral(".xls"), QString()};
    OpenDialog1 = {QStringLiteral("OpenDialog1"), FileDialog::Kind::Open, QStringLiteral("*.wpx|*.wpx"), QString()};
    SaveDialog2 = {QStringLiteral("SaveDialog2"), FileDialog::Kind::Save, QStringLiteral("*.wpx|*.wpx"), QString()};
    OpenDialog2 = {QStringLiteral("OpenDialog2"), FileDialog::Kind::Open, QStringLiteral("*.wrx|*.wrx"), QString()};
    SaveDialog3 = {QStringLiteral("SaveDialog3"), FileDialog::Kind::Save, QStringLiteral("*.wrx|*.wrx"), QString()};

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    rules::createRulesNotice(*this);
}

TForm1::~TForm1() = default;

void TForm1::createLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(920, 589);
    setSkyBlueBackground(*client);
    setCentralWidget(client);

    // Drive data.
    Label1 = makeLabel(client, "Label1", "中  心  距：", 16, 64);
    Edit1 = makeEdit(client, "Edit1", QString(), 96, 56, 145, 5);
    Label3 = makeLabel(client, "Label3", "蜗轮齿数：", 16, 104);
    Edit3 = makeEdit(client, "Edit3", QString(), 96, 96, 145, 3);
    Label4 = makeLabel(client, "Label4", "蜗杆头数：", 16, 144);
    Edit4 = makeEdit(client, "Edit4", "1", 96, 136, 145, 1);
    Label2 = makeLabel(client, "Label2", "实际速比：", 16, 184);
    Edit2 = makeEdit(client, "Edit2", QString(), 96, 176, 145);
    Edit2->setEnabled(false);

    SpeedButton2 = new QToolButton(client);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setGeometry(256, 176, 65, 65);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setToolTip("计算");
    SpeedButton2->setIconSize(QSize(48, 48));
    SpeedButton2->setIcon(pictureIcon(icons::calculatePicture()));

    Label30 = makeLabel(client, "Label30", "精度等级：", 16, 224);
    ComboBox1 = new QComboBox(client);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(96, 216, 41, 21);
    ComboBox1->addItems({"6", "7", "8"});
    ComboBox1->setCurrentIndex(1);
    CheckBox2 = new QCheckBox("标准侧隙", client);
    CheckBox2->setObjectName("CheckBox2");
    CheckBox2->move(144, 218);
    CheckBox2->adjustSize();
    CheckBox2->setChecked(true);
    Edit9 = makeEdit(client, "Edit9", "7级(GB/T16445-1996)", 96, 240, 145);
    Edit9->setEnabled(false);

    Label50 = makeLabel(client, "Label50", "注意：默认计算法则已被修改...", 376, 256, 217);
    {
        QPalette p = Label50->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        Label50->setPalette(p);
    }
    Label50->hide();

    Button1 = new QPushButton("计   算", client);
    Button1->setObjectName("Button1");
    Button1->setGeometry(200, 608, 49, 33);
    Button1->setEnabled(false);

    GroupBox5 = makeGroup(client, "GroupBox5", " 推荐参数  ", 376, 64, 537, 185);
    GroupBox5->setEnabled(false);
    setGroupFontColour(GroupBox5, kGrey);
    Label5 = makeLabel(GroupBox5, "Label5", "主  基  圆：", 8, 28);
    Edit5 = makeEdit(GroupBox5, "Edit5", QString(), 88, 24, 137);
    Label46 = makeLabel(GroupBox5, "Label46", "↑0.65 * A", 88, 48, 137);
    Label6 = makeLabel(GroupBox5, "Label6", "齿顶偏心：", 8, 68);
    Edit6 = makeEdit(GroupBox5, "Edit6", "0", 88, 64, 137);
    Label7 = makeLabel(GroupBox5, "Label7", "杆分度圆：", 8, 108);
    Edit7 = makeEdit(GroupBox5, "Edit7", QString(), 88, 104, 137);
    Label47 = makeLabel(GroupBox5, "Label47", QString(), 88, 128, 137);
    Label15 = makeLabel(GroupBox5, "Label15", "侧         隙：", 8, 148);
    Edit8 = makeEdit(GroupBox5, "Edit8", "0", 88, 144, 137);
    Label36 = makeLabel(GroupBox5, "Label36", "入口修缘：", 232, 28);
    Edit11 = makeEdit(GroupBox5, "Edit11", "0", 312, 24, 177);
    Label37 = makeLabel(GroupBox5, "Label37", "出口修缘：", 232, 68);
    Edit12 = makeEdit(GroupBox5, "Edit12", "0", 312, 64, 177);
    Label38 = makeLabel(GroupBox5, "Label38", "磨齿增量：", 232, 108);
    Edit13 = makeEdit(GroupBox5, "Edit13", "0", 312, 104, 177);
    Label31 = makeLabel(GroupBox5, "Label31", "旋         向：", 232, 148);
    Edit10 = makeEdit(GroupBox5, "Edit10", "右旋", 312, 144, 177);

    Panel1 = new QFrame(client);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(816, 200, 89, 41);
    Panel1->setFrameShape(QFrame::NoFrame);
    setSkyBlueBackground(*Panel1);
    SpeedButton3 = new QToolButton(Panel1);
    SpeedButton3->setObjectName("SpeedButton3");
    SpeedButton3->setGeometry(4, 4, 40, 33);
    SpeedButton3->setAutoRaise(true);
    SpeedButton3->setToolTip("编辑");
    SpeedButton3->setIconSize(QSize(28, 28));
    SpeedButton3->setIcon(pictureIcon(icons::editPicture()));
    SpeedButton3->setEnabled(false);
    SpeedButton4 = new QToolButton(Panel1);
    SpeedButton4->setObjectName("SpeedButton4");
    SpeedButton4->setGeometry(45, 4, 40, 33);
    SpeedButton4->setAutoRaise(true);
    SpeedButton4->setToolTip("确定");
    SpeedButton4->setIconSize(QSize(28, 28));
    SpeedButton4->setIcon(pictureIcon(icons::confirmPicture()));
    SpeedButton4->setEnabled(false);

    // Result groups: labels 24 pixels apart from the top, fixed width; the
    // captions before a calculation come from the core's table of results.
    GroupBox6 = makeGroup(client, "GroupBox6", " 传动特性  ", 8, 272, 153, 313);
    Label12 = makeLabel(GroupBox6, "Label12", core::initialCaption(12), 8, 24, 137);
    Label13 = makeLabel(GroupBox6, "Label13", core::initialCaption(13), 8, 48, 137);
    Label25 = makeLabel(GroupBox6, "Label25", core::initialCaption(25), 8, 72, 137);
    Label27 = makeLabel(GroupBox6, "Label27", core::initialCaption(27), 8, 96, 137);
    Label14 = makeLabel(GroupBox6, "Label14", core::initialCaption(14), 8, 120, 137);
    GroupBox1 = makeGroup(client, "GroupBox1", "  蜗杆参数  ", 168, 272, 201, 313);
    Label24 = makeLabel(GroupBox1, "Label24", core::initialCaption(24), 8, 24, 185);
    Label8 = makeLabel(GroupBox1, "Label8", core::initialCaption(8), 8, 48, 185);
    Label10 = makeLabel(GroupBox1, "Label10", core::initialCaption(10), 8, 72, 185);
    Label9 = makeLabel(GroupBox1, "Label9", core::initialCaption(9), 8, 96, 185);
    Label11 = makeLabel(GroupBox1, "Label11", core::initialCaption(11), 8, 120, 185);
    Label26 = makeLabel(GroupBox1, "Label26", core::initialCaption(26), 8, 144, 113);
    Label28 = makeLabel(GroupBox1, "Label28", core::initialCaption(28), 8, 168, 185);
    Label48 = makeLabel(GroupBox1, "Label48", core::initialCaption(48), 8, 192, 185);
    Label43 = makeLabel(GroupBox1, "Label43", core::initialCaption(43), 8, 216, 185);
    Label53 = makeLabel(GroupBox1, "Label53", core::initialCaption(53), 8, 240, 185);
    Label16 = makeLabel(GroupBox1, "Label16", core::initialCaption(16), 8, 264, 185);
    Label17 = makeLabel(GroupBox1, "Label17", core::initialCaption(17), 8, 288, 185);
    CheckBox1 = new QCheckBox("取整数", GroupBox1);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->move(120, 144);
    CheckBox1->adjustSize();
    CheckBox1->hide();
    GroupBox3 = makeGroup(client, "GroupBox3", "  蜗轮参数  ", 376, 272, 169, 313);
    Label33 = makeLabel(GroupBox3, "Label33", core::initialCaption(33), 8, 24, 153);
    Label35 = makeLabel(GroupBox3, "Label35", core::initialCaption(35), 8, 48, 153);
    Label34 = makeLabel(GroupBox3, "Label34", core::initialCaption(34), 8, 72, 153);
    Label40 = makeLabel(GroupBox3, "Label40", core::initialCaption(40), 8, 96, 153);
    Label23 = makeLabel(GroupBox3, "Label23", core::initialCaption(23), 8, 120, 153);
    Label44 = makeLabel(GroupBox3, "Label44", core::initialCaption(44), 8, 144, 153);
    Label45 = makeLabel(GroupBox3, "Label45", core::initialCaption(45), 8, 168, 153);
    GroupBox2 = makeGroup(client, "GroupBox2", "  滚刀参数  ", 552, 272, 185, 313);
    Label18 = makeLabel(GroupBox2, "Label18", core::initialCaption(18), 8, 24, 169);
    Label19 = makeLabel(GroupBox2, "Label19", core::initialCaption(19), 8, 48, 169);
    Label20 = makeLabel(GroupBox2, "Label20", core::initialCaption(20), 8, 72, 169);
    Label29 = makeLabel(GroupBox2, "Label29", core::initialCaption(29), 8, 96, 169);
    Label49 = makeLabel(GroupBox2, "Label49", core::initialCaption(49), 8, 120, 169);
    Label21 = makeLabel(GroupBox2, "Label21", core::initialCaption(21), 8, 144, 169);
    Label22 = makeLabel(GroupBox2, "Label22", core::initialCaption(22), 8, 168, 169);
    GroupBox4 = makeGroup(client, "GroupBox4", " 一般型传动修形参数   ", 744, 272, 169, 313);
    Label41 = makeLabel(GroupBox4, "Label41", core::initialCaption(41), 8, 24, 153);
    Label42 = makeLabel(GroupBox4, "Label42", core::initialCaption(42), 8, 48, 153);
    Label51 = makeLabel(GroupBox4, "Label51", core::initialCaption(51), 8, 72, 153);
    Label52 = makeLabel(GroupBox4, "Label52", core::initialCaption(52), 8, 96, 153);
    for (QLabel* label : {Label14, Label28, Label53})
        label->setAutoFillBackground(true), setWarning(label, false);
}

void TForm1::createToolBar()
{
    ToolBar1 = new QToolBar(centralWidget());
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setGeometry(0, 0, 920, kToolBarHeight);
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(icons::kToolBarPictureSize, icons::kToolBarPictureSize));

    // The buttons are placed by hand rather than by the tool bar's layout,
    // whose margins and spacing come from the style and would move them.
    const QList<QPixmap> imageList1 = icons::imageList1();
    int left = 0;
    auto add = [&](QToolButton*& button, const char* name, int picture, const char* hint) {
        button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, kToolButtonTop, kToolButtonWidth, kToolButtonHeight);
        button->setAutoRaise(true);
        button->setIconSize(QSize(icons::kToolBarPictureSize, icons::kToolBarPictureSize));
        button->setIcon(pictureIcon(imageList1.value(picture)));
        if (*hint)
            button->setToolTip(QString::fromUtf8(hint));
        left += kToolButtonWidth;
    };
    auto separator = [&](const char* name) {
        auto* line = new QFrame(ToolBar1);
        line->setObjectName(QString::fromLatin1(name));
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(left + (kSeparatorWidth - 2) / 2, kToolButtonTop + 2, 2, kToolButtonHeight - 4);
        left += kSeparatorWidth;
    };
    add(ToolButton15, "ToolButton15", icons::NewDesign, "");
    add(ToolButton3, "ToolButton3", icons::Open, "打开文件");
    add(ToolButton11, "ToolButton11", icons::Save, "保存");
    separator("ToolButton2");
    add(ToolButton5, "ToolButton5", icons::WormTable, "导出蜗杆参数表");
    add(ToolButton1, "ToolButton1", icons::WheelTable, "导出蜗轮参数表");
    add(ToolButton4, "ToolButton4", icons::HobTable, "导出滚刀参数表");
    separator("ToolButton6");
    add(ToolButton7, "ToolButton7", icons::TechnicalManual, "技术资料");
    add(ToolButton8, "ToolButton8", icons::RecommendedParameters, "推荐参数");
    add(ToolButton9, "ToolButton9", icons::AccuracyGrade, "精度等级");
    add(ToolButton10, "ToolButton10", icons::DrawingExamples, "绘图示例");
    add(ToolButton12, "ToolButton12", icons::ModificationPrinciple, "修形原理");
    separator("ToolButton14");
    add(ToolButton13, "ToolButton13", icons::Close, "关闭");
    for (QToolButton* b : {ToolButton11, ToolButton5, ToolButton1, ToolButton4})
        b->setEnabled(false);

    // The notice text of the update check fills the right end of the bar,
    // its last line on the buttons' bottom edge.
    Label32 = new QLabel(ToolBar1);
    Label32->setObjectName("Label32");
    Label32->setTextFormat(Qt::PlainText);
    Label32->setGeometry(920 - kNoticeWidth, kToolButtonTop, kNoticeWidth, kToolButtonHeight);
    Label32->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    Label32->setContentsMargins(0, 0, 4, 0);
    // Inside the tool bar a label would take the bar's button text colour.
    Label32->setForegroundRole(QPalette::WindowText);
    QPalette p = Label32->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    Label32->setPalette(p);
}

void TForm1::createMenus()
{
    auto item = [this](QMenu* menu, QAction*& action, const char* name, const char* caption) {
        action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
    };
    N1 = menuBar()->addMenu("文件");
    N1->setObjectName("N1");
    item(N1, N11, "N11", "打开");
    item(N1, N12, "N12", "-----------");
    item(N1, N3, "N3", "导出蜗杆参数");
    item(N1, N14, "N14", "导出蜗轮参数");
    item(N1, N4, "N4", "导出滚刀参数");
    item(N1, N5, "N5", "保存");
    item(N1, N6, "N6", "退出");
    for (QAction* a : {N3, N14, N4, N5})
        a->setEnabled(false);

    N7 = menuBar()->addMenu("设置");
    N7->setObjectName("N7");
    item(N7, N13, "N13", "计算法则参数设置");
    item(N7, N15, "N15", "还原默认设置");
    item(N7, N16, "N16", "加载用户设置");
    item(N7, N17, "N17", "另存用户设置");

    df1 = menuBar()->addMenu("更新");
    df1->setObjectName("df1");
    item(df1, N18, "N18", "在线升级");

    N19 = menuBar()->addMenu("设计手册");
    N19->setObjectName("N19");
    item(N19, N20, "N20", "推荐参数");
    item(N19, N21, "N21", "技术资料");
    item(N19, N22, "N22", "传动精度");
    item(N19, N23, "N23", "制图示例");
    item(N19, N24, "N24", "修形原理");

    N25 = menuBar()->addMenu("帮助");
    N25->setObjectName("N25");
    item(N25, N26, "N26", "关于本软件");
    item(N25, N2, "N2", "帮助");

    createDrawingCommands(*this);
    createModelCommands(*this);
}

void TForm1::showEvent(QShowEvent* event)
{
    // A restore from the task bar is no showing of the window.
    if (!event->spontaneous()) {
        // Centred now that the window system has told the frame's size.
        centreOnScreen(*this);
    }
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm1::FormCreate()
{
    Design.ConnectionPrefix = rules::kConnectionPrefix;
    Design.SavedCaption = windowTitle();
    Design.DesignSaved = true;
    if (!context_.arguments.isEmpty() && !context_.arguments.first().isEmpty())
        N11Click();
}

void TForm1::FormShow()
{
    LoadRuleCoefficients();
    if (context_.coefficientOverride)
        Design.RuleCoefficients = *context_.coefficientOverride;
    // Results of the rules that were in force are calculated again.
    Tracker->rulesReloaded();
    // A showing during creation (the command-line open) comes before the
    // notice window of the update check exists; that path never checks.
    if (!Design.UpdateCheckSuppressed && Form7)
        RunUpdateCheck();
}

void TForm1::ToolButton15Click()
{
    // A new design is a fresh start of the program. The new instance is
    // started first so that a failed start leaves this one running instead of
    // leaving the user with nothing.
    if (!confirmLeavingDesign())
        return;
    if (!desktop().startProgram(context_.executablePath, {})) {
        showMessage(QStringLiteral("无法启动新的设计：程序文件 %1 不能运行。\n请检查该文件是否存在，或重新安装本软件。")
                        .arg(QDir::toNativeSeparators(context_.executablePath)));
        return;
    }
    Tracker->setLeaveConfirmed();
    desktop().terminate();
}

void TForm1::N6Click() { close(); }

QString TForm1::programDir() const
{
    QString dir = QDir::fromNativeSeparators(context_.programDir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString TForm1::programFile(const QString& name) const { return programDir() + name; }

QString TForm1::userFile(const QString& name) const
{
    if (context_.userDir.isEmpty())
        return programFile(name);
    return QDir(context_.userDir).filePath(name);
}

QString TForm1::rulesDatabasePath() const
{
    return context_.rulesOverride.isEmpty() ? userFile(QStringLiteral("db1.mdb")) : context_.rulesOverride;
}

void TForm1::showMessage(const QString& text, const QString& caption)
{
    MessageBox box;
    box.text = text;
    box.caption = caption;
    dialogs().message(this, box);
}

bool TForm1::askYesNo(const QString& text)
{
    MessageBox box;
    box.text = text;
    box.buttons = MessageBox::Buttons::YesNo;
    box.icon = MessageBox::Icon::Warning;
    return dialogs().message(this, box) == Answer::Yes;
}

void setResultCaption(QLabel* label, const QString& caption) { label->setText(caption); }

void setWarning(QLabel* label, bool warn)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, warn ? QColor(255, 0, 0) : kSkyBlue);
    label->setPalette(p);
}

bool TForm1::isWarning(const QLabel* label) { return label->palette().color(QPalette::Window) == QColor(255, 0, 0); }

void setGroupFontColour(QGroupBox* group, const QColor& colour)
{
    QPalette p = group->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(g, r, colour);
    group->setPalette(p);
}

} // namespace tpworm
