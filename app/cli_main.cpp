// tpworm-cli: the program's commands without a screen. The command's row in
// the table says how much of Qt it needs, and only that much is started.
#include "app/cli_commands.h"

#include "core/numeric.h"
#include "core/program_paths.h"
#include "core/translation.h"

#include <QCoreApplication>
#ifdef TPWORM_CLI_GUI
#include <QGuiApplication>
#endif
#include <QLocale>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>

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

// tpworm-cli links Qt Core only (with Qt SQL and Qt Network for the rules and
// the services): a design command never maps the toolkit's display, font or
// painting libraries. The commands that paint (drawings, reports) need Qt Gui
// on the offscreen platform; they run in tpworm-cli-gui, the same commands
// built with Qt Gui, which tpworm-cli becomes for them (exec, so the exit
// status and the output are that program's own).
#ifdef TPWORM_CLI_GUI
std::unique_ptr<QCoreApplication> makeApplication(tpworm::cli::Needs needs, int& argc, char** argv)
{
    if (needs == tpworm::cli::Needs::Widgets)
        throw std::runtime_error("this command needs the widgets, which tpworm-cli does not link");
    if (needs == tpworm::cli::Needs::Gui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}
#else
std::unique_ptr<QCoreApplication> makeApplication(tpworm::cli::Needs needs, int& argc, char** argv)
{
    if (needs == tpworm::cli::Needs::Widgets)
        throw std::runtime_error("this command needs the widgets, which tpworm-cli does not link");
    if (needs == tpworm::cli::Needs::Gui) {
        // The program directory from the executable's own path, without Qt.
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0)
            throw std::runtime_error("cannot find the program directory for tpworm-cli-gui");
        self[length] = 0;
        std::string helper(self);
        helper = helper.substr(0, helper.rfind('/') + 1) + "tpworm-cli-gui";
        execv(helper.c_str(), argv);
        throw std::runtime_error("cannot start " + helper + ": " + std::strerror(errno));
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}
#endif

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
