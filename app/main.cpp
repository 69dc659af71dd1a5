// tpworm: the window program.
#include "app/appearance.h"
#include "app/desktop.h"
#include "app/dialog_seam.h"
#include "core/numeric.h"
#include "app/program.h"
#include "app/tform1.h"
#include "app/translations.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tpworm::applyProgramLook(app);
    tpworm::installQtTranslations(app, QCoreApplication::applicationDirPath());
    tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());

    tpworm::QtDialogs dialogs;
    tpworm::SystemDesktop desktop;
    tpworm::ProgramContext context;
    context.programDir = QCoreApplication::applicationDirPath();
    context.executablePath = QCoreApplication::applicationFilePath();
    context.arguments = QCoreApplication::arguments().mid(1);
    context.dialogs = &dialogs;
    context.desktop = &desktop;
    context.updateAddress = qEnvironmentVariable("TPWORM_UPDATE_ADDRESS");

    auto form1 = tpworm::createWindows(context);
    if (!form1->isVisible())
        form1->show();
    return app.exec();
}
