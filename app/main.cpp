// tpworm: the window program.
#include "app/appearance.h"
#include "app/desktop.h"
#include "app/dialog_seam.h"
#include "core/numeric.h"
#include "app/program.h"
#include "app/tform1.h"
#include "app/retranslate.h"
#include "core/program_paths.h"
#include "core/translation.h"
#include "app/translations.h"

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Names the user's data folder (~/.local/share/tpworm).
    QCoreApplication::setApplicationName(QStringLiteral("tpworm"));
    tpworm::applyProgramLook(app);
    tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());

    tpworm::QtDialogs dialogs;
    tpworm::SystemDesktop desktop;
    tpworm::ProgramContext context;
    const tpworm::ProgramPaths paths = tpworm::resolveProgramPaths(
        QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    context.programDir = paths.programDir;
    context.userDir = paths.userDir;
    context.executablePath = QCoreApplication::applicationFilePath();
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const tpworm::LanguageChoice language = tpworm::chooseLanguage(arguments);
    if (!language.error.isEmpty())
        std::fprintf(stderr, "tpworm: %s\n", language.error.toLocal8Bit().constData());
    if (!tpworm::installTranslations(app, language.language, paths.programDir))
        std::fprintf(stderr, "tpworm: the English translation tpworm_en.qm is missing; the interface stays Chinese\n");
    if (language.language == tpworm::Language::English)
        tpworm::translateWindowsAsShown(app);
    else
        tpworm::installQtTranslations(app, QCoreApplication::applicationDirPath());
    // A new design starts the program again: it speaks the same language.
    qputenv("LANGUAGE", language.language == tpworm::Language::English ? "en" : "zh_CN");
    context.arguments = arguments;
    context.dialogs = &dialogs;
    context.desktop = &desktop;
    context.updateAddress = qEnvironmentVariable("TPWORM_UPDATE_ADDRESS");

    auto form1 = tpworm::createWindows(context);
    if (!form1->isVisible())
        form1->show();
    return app.exec();
}
