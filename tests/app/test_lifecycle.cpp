// Start, new design, the ways out, the dashes item and the About window.
#include "common/gui_fixture.h"

#include "app/appearance.h"
#include "app/tform6.h"
#include "app/version.h"
#include "documents/tform2.h"
#include "rules/tform5.h"
#include "support/tform7.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

#include <functional>
#include <QToolButton>

using tpworm::TForm1;
using tpworm::testing::ProgramFixture;

namespace {

// Everything a command could change that the user sees, one line per
// control, and the program's own state.
QStringList visibleState(TForm1& f, const ProgramFixture& fx)
{
    QStringList state;
    for (QWidget* w : f.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            text = edit->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text() + (button->isChecked() ? "[x]" : "[ ]");
        state << QStringLiteral("%1 %2 %3 %4").arg(w->objectName(), text).arg(w->isEnabled()).arg(w->isVisible());
    }
    for (QAction* a : f.findChildren<QAction*>())
        state << QStringLiteral("%1 %2 %3").arg(a->objectName(), a->text()).arg(a->isEnabled());
    state << f.windowTitle() << QString::number(f.isVisible()) << QString::number(f.Design.DesignSaved)
          << QString::number(fx.dialogs.messages.size()) << QString::number(fx.dialogs.fileDialogs.size())
          << fx.desktop.opened.join(',') << fx.desktop.started.join(',') << QString::number(fx.desktop.terminations);
    return state;
}

} // namespace

TEST(Lifecycle, StartCreatesTheWindowsInOrderAndPreparesTheRecord)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    EXPECT_TRUE(f.isVisible());
    // The start of the program's own connection description (SQLite here,
    // where the Jet provider does not exist).
    EXPECT_EQ(f.Design.ConnectionPrefix, tpworm::rules::kConnectionPrefix);
    EXPECT_TRUE(f.Design.ConnectionPrefix.endsWith("Data Source="));
    EXPECT_EQ(f.Design.SavedCaption, tpworm::productCaption());
    EXPECT_TRUE(f.Design.DesignSaved);
    // Without an argument no design is opened: no dialog, the command line
    // still unread.
    EXPECT_FALSE(f.Design.CommandLineConsumed);
    EXPECT_TRUE(fx.dialogs.fileDialogs.isEmpty());
    EXPECT_TRUE(f.Design.DesignFileName.isEmpty());

    const QObjectList children = f.children();
    QList<qsizetype> order;
    for (QObject* window : std::initializer_list<QObject*>{f.Form2, f.Form5, f.Form6, f.Form7}) {
        ASSERT_NE(window, nullptr);
        order << children.indexOf(window);
        EXPECT_FALSE(static_cast<QWidget*>(window)->isVisible()) << window->objectName().toStdString();
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << "TForm2, TForm5, TForm6, TForm7 in that order";
    EXPECT_EQ(f.Form2->windowTitle(), "导出文件");
    EXPECT_EQ(f.Form5->windowTitle(), "计算设置");
    EXPECT_EQ(f.Form6->windowTitle(), "关于");
}

// A new design asks about an unsaved one (Yes / No / Cancel); No starts the
// program again without saving, Cancel keeps the design.
TEST(Lifecycle, NewDesignStartsTheProgramAgainAfterTheSaveQuestion)
{
    struct Case {
        const char* why;
        bool saved;
        tpworm::Answer answer;
        bool asked, restarts;
    } cases[] = {
        {"saved", true, tpworm::Answer::No, false, true},
        {"unsaved, No", false, tpworm::Answer::No, true, true},
        {"unsaved, Cancel", false, tpworm::Answer::Cancel, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ProgramFixture fx;
        TForm1& f = fx.start();
        f.Design.DesignSaved = c.saved;
        f.Edit1->setText("250");
        fx.dialogs.answers << c.answer;
        QTest::mouseClick(f.ToolButton15, Qt::LeftButton);
        EXPECT_EQ(fx.desktop.started, c.restarts ? QStringList{fx.context.executablePath} : QStringList())
            << "the own executable, no arguments";
        EXPECT_EQ(fx.desktop.terminations, c.restarts ? 1 : 0);
        EXPECT_EQ(fx.dialogs.messageTexts(), c.asked ? QStringList{"数据尚未保存，是否保存？"} : QStringList());
        EXPECT_TRUE(fx.dialogs.fileDialogs.isEmpty()) << "nothing is saved";
        EXPECT_EQ(f.Edit1->text(), "250");
    }
}

// When the new instance cannot start, ending this one would leave the user
// with no window at all: the program says so and stays.
TEST(Lifecycle, NewDesignThatCannotStartKeepsTheDesignOnScreen)
{
    ProgramFixture fx;
    fx.desktop.programsStart = false;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.ToolButton15Click();
    EXPECT_EQ(fx.desktop.terminations, 0);
    ASSERT_EQ(fx.dialogs.messages.size(), 1);
    EXPECT_TRUE(fx.dialogs.messages[0].text.contains(QDir::toNativeSeparators(fx.context.executablePath)))
        << fx.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Edit1->text(), "250");
}

// Runs the application's event loop with a command queued into it; true
// when the program ended by itself within a few seconds.
bool programEndsAfter(const std::function<void()>& command)
{
    QTimer::singleShot(0, command);
    QTimer::singleShot(3000, [] { QApplication::exit(99); });
    return QApplication::exec() == 0;
}

// "退出" and the close box ask about an unsaved design like "关闭"; No ends
// the program without writing anything, Cancel keeps it running.
TEST(Lifecycle, ExitAndTheCloseBoxAskAboutAnUnsavedDesign)
{
    struct Way {
        const char* name;
        void (*close)(TForm1&);
    } ways[] = {
        {"退出", [](TForm1& f) { f.N6->trigger(); }},
        // What the window system delivers when the close box is clicked.
        {"close box", [](TForm1& f) { f.windowHandle()->close(); }},
    };
    for (const Way& way : ways) {
        for (const bool saved : {true, false}) {
            SCOPED_TRACE(std::string(way.name) + (saved ? " saved" : " unsaved"));
            ProgramFixture fx;
            TForm1& f = fx.start();
            f.Design.DesignSaved = saved;
            fx.dialogs.answers << tpworm::Answer::No;
            EXPECT_TRUE(programEndsAfter([&] { way.close(f); }));
            EXPECT_FALSE(f.isVisible());
            EXPECT_EQ(fx.dialogs.messageTexts(), saved ? QStringList() : QStringList{"数据尚未保存，是否保存？"});
            EXPECT_TRUE(fx.dialogs.fileDialogs.isEmpty());
            EXPECT_EQ(f.Design.DesignSaved, saved) << "nothing is written at exit";
        }
        SCOPED_TRACE(std::string(way.name) + " unsaved, Cancel");
        ProgramFixture fx;
        TForm1& f = fx.start();
        f.Design.DesignSaved = false;
        fx.dialogs.answers << tpworm::Answer::Cancel;
        EXPECT_FALSE(programEndsAfter([&] { way.close(f); }));
        EXPECT_TRUE(f.isVisible());
    }
}

// The real desktop's termination ends the program's event loop.
TEST(Lifecycle, TerminationEndsTheEventLoop)
{
    tpworm::SystemDesktop desktop;
    EXPECT_TRUE(programEndsAfter([&] { desktop.terminate(); }));
}

TEST(Lifecycle, TheDashesItemDoesNothing)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    f.Edit1->setText("250");
    f.Edit3->setText("45");
    const QStringList before = visibleState(f, fx);
    ASSERT_TRUE(f.N12->isEnabled());
    f.N12->trigger();
    QApplication::processEvents();
    EXPECT_EQ(visibleState(f, fx), before);
}

TEST(AboutWindow, ShowsTheUsageNotesModallyInTheMiddleOfTheScreen)
{
    ProgramFixture fx;
    TForm1& f = fx.start();
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_EQ(modal, f.Form6);
        inspected = true;
        tpworm::TForm6& about = *f.Form6;
        EXPECT_EQ(about.size(), QSize(723, 329));
        EXPECT_EQ(about.minimumSize(), about.maximumSize());
        EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(about.windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(about.pos(), tpworm::centredTopLeft(about.frameGeometry().size(), about.screen()->availableGeometry()));
        QPlainTextEdit* memo = about.Memo1;
        EXPECT_EQ(memo->size(), QSize(705, 305));
        EXPECT_TRUE(about.rect().contains(memo->geometry()));
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
        EXPECT_GT(memo->verticalScrollBar()->maximum(), 0) << "the notes are longer than the window";
        EXPECT_EQ(memo->verticalScrollBar()->value(), 0) << "opens at the top";
        // Typing does not change the notes.
        const QString text = memo->toPlainText();
        QTest::keyClicks(memo, "abc");
        EXPECT_EQ(memo->toPlainText(), text);
        about.accept();
    });
    f.N26->trigger();
    EXPECT_TRUE(inspected) << "N26 shows the About window modally";
    EXPECT_FALSE(f.Form6->isVisible());
    EXPECT_TRUE(fx.dialogs.messages.isEmpty());
}

TEST(AboutWindow, TextTellsTheRangeOwnValuesExportsAndTheVersionHistory)
{
    const QString text = tpworm::aboutText();
    const char* const required[] = {
        "中心距大于 70 mm 且小于 1500 mm",
        "传动比大于 7.5 且小于 150",
        "程序不拦截超出此范围的输入", // the range is advice: nothing enforces it
        "自定义参数",
        "编辑",
        "确定",
        "绘图软件",
        "版本历史",
        "导出蜗杆参数表",
    };
    for (const char* phrase : required)
        EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << phrase;
    EXPECT_TRUE(text.startsWith(tpworm::productCaption()));
    EXPECT_TRUE(text.contains(QStringLiteral("V") + tpworm::kProductVersion + QLatin1Char('\n')))
        << "the history has an entry for this version";
}
