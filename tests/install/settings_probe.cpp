// Runs the settings dialog of the program as it is installed under the
// executable folder given (e.g. /usr/bin), offscreen, and sets coefficient
// N[1] to the value given: the package test calls it as a user who is not
// root and then looks at which database changed.
//   install_settings_probe EXECUTABLE-DIR VALUE
#include "app/desktop.h"
#include "app/dialog_seam.h"
#include "app/program.h"
#include "app/tform1.h"
#include "core/numeric.h"
#include "core/program_paths.h"
#include "rules/tform5.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

class NoDesktop final : public tpworm::Desktop {
public:
    bool openDocument(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void terminate() override {}
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tpworm"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: install_settings_probe EXECUTABLE-DIR VALUE\n");
        return 2;
    }
    const QString value = QString::fromLocal8Bit(argv[2]);
    const tpworm::ProgramPaths paths = tpworm::resolveProgramPaths(
        QString::fromLocal8Bit(argv[1]), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!paths.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", paths.error.toLocal8Bit().constData());
        return 1;
    }
    tpworm::ScriptedDialogs dialogs;
    dialogs.onMessage = [](const tpworm::MessageBox& box) { std::fprintf(stderr, "%s\n", box.text.toUtf8().constData()); };
    NoDesktop desktop;
    tpworm::ProgramContext context;
    context.programDir = paths.programDir;
    context.userDir = paths.userDir;
    context.dialogs = &dialogs;
    context.desktop = &desktop;
    context.updateAddress = QStringLiteral("http://127.0.0.1:1");
    auto form = tpworm::createWindows(context);
    form->Design.UpdateCheckSuppressed = true;
    form->show();

    QTimer::singleShot(0, form.get(), [&] {
        tpworm::TForm5& d = *form->Form5;
        const QRect cell = d.DBGrid1->visualRect(d.ADOTable1->index(1, 1));
        QTest::mouseClick(d.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        d.DBEdit1->selectAll();
        QTest::keyClick(d.DBEdit1, Qt::Key_Backspace);
        QTest::keyClicks(d.DBEdit1, value);
        d.Button1->click();
        if (d.isVisible())
            d.Button2->click();
    });
    form->N13Click();
    const double loaded = form->Design.RuleCoefficients[1];
    std::printf("%s\n", tpworm::FloatToStr(loaded).toUtf8().constData());
    return loaded == static_cast<double>(tpworm::StrToFloat(value)) ? 0 : 1;
}
