#include "app/tform6.h"

#include "app/appearance.h"
#include "app/version.h"
#include "core/translation.h"

#include <QPlainTextEdit>
#include <QShowEvent>

namespace tpworm {

namespace {

constexpr int kClientWidth = 723;
constexpr int kClientHeight = 329;
constexpr int kMemoWidth = 705;
constexpr int kMemoHeight = 305;

const char* const kUsageNotes = R"(一、用途
本软件用于平面二次包络环面蜗杆传动的几何设计计算：按中心距、蜗轮齿数、蜗杆头数和精度等级（GB/T16445-1996 的 6、7、8 级）给出推荐参数，并算出传动特性、蜗杆、滚刀、蜗轮参数以及一般型传动的修形参数。长度单位为 mm，角度单位为度。

二、计算范围
本软件的计算法则适用于：中心距大于 70 mm 且小于 1500 mm，传动比大于 7.5 且小于 150。程序不拦截超出此范围的输入，照样给出结果；范围以外的设计请设计者自行校核，必要时按试验修正。

三、使用方法
1. 输入基本参数：在"中  心  距："、"蜗轮齿数："、"蜗杆头数："中输入数值，"实际速比："随即显示蜗轮齿数与蜗杆头数之比。在"精度等级："中选择 6、7 或 8 级；勾选"标准侧隙"时，侧隙取该精度等级的标准侧隙。
2. 计算：按"计算"按钮，程序按计算法则写出推荐参数（主基圆、杆分度圆、齿顶偏心、磨齿增量、入口修缘、出口修缘，侧隙取自精度等级），并计算全部几何参数。计算以后基本参数不能再改；要做另一个设计，请按工具栏最左边的"新设计"按钮，程序重新启动，当前设计不保存。
3. 自定义参数：推荐参数可以改为自己的数值。按推荐参数栏右下方的"编辑"按钮，栏内各项即可修改（结果暂时隐藏），主基圆和杆分度圆下方的提示可作参考；改好后按"确定"，程序按所填数值重新计算。修改了侧隙时，"标准侧隙"自动取消。
4. 取整数：计算后"包围齿数"旁出现"取整数"，勾选后包围齿数取整数并重新计算。
5. 红底结果：分度圆齿形角不在 20.5°～24.5° 之间、蜗杆喉部导程角大于 25°、蜗杆喉部齿根圆直径小于 30 mm 时，该项以红底显示，提醒设计者调整推荐参数。

四、设计文件与参数表
1. 保存：工具栏"保存"或"文件"→"保存"把本设计的输入数值存为设计文件（*.wpx）；"打开文件"读入设计文件并重新计算。也可在命令行（或双击）给出设计文件直接打开。
2. 导出参数表：工具栏"导出蜗杆参数表"、"导出蜗轮参数表"、"导出滚刀参数表"把参数表存为 Excel 97-2003 工作簿（*.xls），可供绘图软件（如 AutoCAD 等）制图时直接引用；"文件"菜单中的"导出蜗杆参数"、"导出蜗轮参数"、"导出滚刀参数"通过本机的电子表格程序（Excel）导出同样的参数表。
3. "关闭"在设计尚未保存时询问是否保存；"文件"→"退出"和窗口的关闭按钮直接退出，不作询问。

五、计算法则
"设置"→"计算法则参数设置"可查看和修改计算法则的十六个系数；"另存用户设置"、"加载用户设置"保存和读入法则文件（*.wrx），"还原默认设置"恢复出厂法则。默认法则被修改后，主窗口显示红色提示。

六、设计手册
"设计手册"菜单和工具栏可打开推荐参数、技术资料、传动精度、制图示例和修形原理五份资料（PDF），"帮助"→"帮助"打开帮助页。
)";

const char* const kVersionHistory = R"(七、版本历史
V%1
  - 首次发布。
  - 平面二次包络环面蜗杆传动几何计算：推荐参数、传动特性、蜗杆、滚刀、蜗轮及一般型传动修形参数。
  - 精度等级 6、7、8 级（GB/T16445-1996）的公差与标准侧隙，入口、出口修缘表。
  - 推荐参数的编辑与重新计算，包围齿数取整数。
  - 设计文件（*.wpx）的保存与打开，命令行打开设计文件。
  - 蜗杆、蜗轮、滚刀参数表导出（Excel 97-2003 工作簿）。
  - 计算法则参数设置，法则文件的保存、加载与还原。
  - 设计手册、帮助页、启动时检查新版本和在线升级。
)";

} // namespace

QString aboutText()
{
    return uiText(kProductTitle) + QStringLiteral(" V") + kProductVersion + QStringLiteral("\n\n") + uiText(kUsageNotes)
        + QStringLiteral("\n") + uiText(kVersionHistory).arg(kProductVersion);
}

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    createFrame();
    createMemo();
}

// A fixed dialog with system menu and minimise button, sky blue like the
// main window.
void TForm6::createFrame()
{
    setObjectName("Form6");
    setWindowTitle("关于");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setSkyBlueBackground(*this);
}

void TForm6::createMemo()
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setGeometry((kClientWidth - kMemoWidth) / 2, (kClientHeight - kMemoHeight) / 2, kMemoWidth, kMemoHeight);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setPlainText(aboutText());
}

void TForm6::setRulesSources(const QString& text)
{
    Memo1->setPlainText(aboutText() + QStringLiteral("\n八、计算法则数据库\n") + text + QLatin1Char('\n'));
}

void TForm6::showEvent(QShowEvent* event)
{
    // Opens in the middle of the screen, not over its parent.
    if (!event->spontaneous()) {
        centreOnScreen(*this);
        Memo1->moveCursor(QTextCursor::Start);
    }
    QDialog::showEvent(event);
}

} // namespace tpworm
