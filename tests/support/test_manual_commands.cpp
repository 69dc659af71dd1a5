// The six commands that open the design manual and the help page through the
// desktop, from the menu and from the tool bar.
#include "common/gui_fixture.h"
#include "support/manual_viewer.h"

#include <QAction>
#include <QFile>
#include <QToolButton>

#include <functional>

using tpworm::testing::ProgramFixture;

namespace {

const QString kManualMissing = QStringLiteral("未安装PDF阅读器(Adobe Reader)或者技术资料丢失....");

struct Command {
    const char* what;
    std::function<void(tpworm::TForm1&)> run;
    QString document;
};

QList<Command> manualCommands()
{
    using F = tpworm::TForm1;
    return {
        {"menu 推荐参数", [](F& f) { f.N20->trigger(); }, "canshu.pdf"},
        {"tool button 推荐参数", [](F& f) { f.ToolButton8->click(); }, "canshu.pdf"},
        {"menu 技术资料", [](F& f) { f.N21->trigger(); }, "jishu.pdf"},
        {"tool button 技术资料", [](F& f) { f.ToolButton7->click(); }, "jishu.pdf"},
        {"menu 传动精度", [](F& f) { f.N22->trigger(); }, "jingdu.pdf"},
        {"tool button 精度等级", [](F& f) { f.ToolButton9->click(); }, "jingdu.pdf"},
        {"menu 制图示例", [](F& f) { f.N23->trigger(); }, "tuzhi.pdf"},
        {"tool button 绘图示例", [](F& f) { f.ToolButton10->click(); }, "tuzhi.pdf"},
        {"menu 修形原理", [](F& f) { f.N24->trigger(); }, "xiuxing.pdf"},
        {"tool button 修形原理", [](F& f) { f.ToolButton12->click(); }, "xiuxing.pdf"},
    };
}

void ensureFile(const QString& path)
{
    if (QFile::exists(path))
        return;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
}

} // namespace

TEST(ManualCommands, OpenTheirDocumentOrSayItIsMissing)
{
    enum class Situation { Present, Missing, NoViewer };
    for (Situation situation : {Situation::Present, Situation::Missing, Situation::NoViewer}) {
        for (const Command& command : manualCommands()) {
            SCOPED_TRACE(std::string(command.what) + (situation == Situation::Present   ? ", document present"
                                                      : situation == Situation::Missing ? ", document missing"
                                                                                        : ", no viewer"));
            ProgramFixture fx;
            const QString path = fx.path(command.document);
            if (situation == Situation::Missing)
                QFile::remove(path);
            else
                ensureFile(path);
            fx.desktop.documentsOpen = situation != Situation::NoViewer;
            tpworm::TForm1& f = fx.start();
            fx.desktop.opened.clear();
            command.run(f);
            EXPECT_EQ(fx.desktop.opened, QStringList{path});
            // Without a viewer the program's own shows the document; only a
            // missing document is reported.
            EXPECT_EQ(fx.dialogs.messageTexts(),
                      situation == Situation::Missing ? QStringList{kManualMissing} : QStringList());
            const QList<tpworm::ManualViewer*> viewers = f.findChildren<tpworm::ManualViewer*>();
            if (situation == Situation::NoViewer) {
                ASSERT_EQ(viewers.size(), 1);
                EXPECT_EQ(viewers.first()->documentPath(), path);
                EXPECT_GE(viewers.first()->pageCount(), 1);
                EXPECT_TRUE(viewers.first()->isVisible());
            } else {
                EXPECT_TRUE(viewers.isEmpty());
            }
            EXPECT_TRUE(f.isVisible()) << "the window stays usable";
        }
    }
}

TEST(ManualCommands, OneMissingDocumentLeavesTheOthersOpening)
{
    ProgramFixture fx;
    for (const Command& command : manualCommands())
        ensureFile(fx.path(command.document));
    QFile::remove(fx.path("jingdu.pdf"));
    tpworm::TForm1& f = fx.start();
    for (const Command& command : manualCommands()) {
        fx.dialogs.messages.clear();
        command.run(f);
        EXPECT_EQ(fx.dialogs.messages.size(), command.document == "jingdu.pdf" ? 1 : 0) << command.what;
    }
}

TEST(HelpCommand, OpensTheHelpPageAndNeverComplains)
{
    for (bool present : {true, false}) {
        for (bool viewer : {true, false}) {
            SCOPED_TRACE(std::string(present ? "page present" : "page missing") + (viewer ? ", browser" : ", no browser"));
            ProgramFixture fx;
            if (present)
                ensureFile(fx.path("help.htm"));
            else
                QFile::remove(fx.path("help.htm"));
            fx.desktop.documentsOpen = viewer;
            tpworm::TForm1& f = fx.start();
            fx.desktop.opened.clear();
            f.N2->trigger();
            EXPECT_EQ(fx.desktop.opened, QStringList{fx.path("help.htm")});
            EXPECT_TRUE(fx.dialogs.messages.isEmpty());
        }
    }
}
