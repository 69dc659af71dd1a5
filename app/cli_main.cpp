// tpworm-cli: the program's commands without a screen. The command's row in
// the table says how much of Qt it needs, and only that much is started.
#include "app/cli_commands.h"

#include "core/numeric.h"
#include "core/program_paths.h"
#include "core/translation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>

namespace {

// Standard error carries the program's messages; the toolkit's own chatter
// about the offscreen platform stays out of it.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        abort();
    }
}

std::unique_ptr<QCoreApplication> makeApplication(tpworm::cli::Needs needs, int& argc, char** argv)
{
    using tpworm::cli::Needs;
    if (needs == Needs::Core)
        return std::make_unique<QCoreApplication>(argc, argv);
    // Painting and windows never go to a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (needs == Needs::Gui)
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

int usage(const char* reason)
{
    if (reason)
        std::fprintf(stderr, "tpworm-cli: %s\n", reason);
    std::fputs(tpworm::cli::usageText().toUtf8().constData(), stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietHandler);
    QStringList arguments;
    for (int k = 1; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    // "--lang" may stand anywhere, before the command too.
    const tpworm::LanguageChoice language = tpworm::chooseLanguage(arguments);
    if (!language.error.isEmpty())
        return usage(language.error.toLocal8Bit().constData());
    if (arguments.isEmpty())
        return usage("no command");
    const tpworm::cli::Command* command = tpworm::cli::findCommand(arguments.first());
    if (!command)
        return usage(("unknown command " + arguments.first().toStdString()).c_str());
    try {
        const auto app = makeApplication(command->needs, argc, argv);
        // Names the user's data folder (~/.local/share/tpworm).
        QCoreApplication::setApplicationName(QStringLiteral("tpworm"));
        tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());
        // Captions and messages follow the language; the JSON keys stay English.
        tpworm::installTranslations(*app, language.language,
                                    tpworm::resolveProgramDir(QCoreApplication::applicationDirPath()));
        return command->run(arguments);
    } catch (const tpworm::cli::UsageError& e) {
        return usage(e.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tpworm-cli: out of memory\n");
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tpworm-cli: %s\n", e.what());
        return 1;
    }
}
