// tpworm-cli: the program's commands without a screen. The command's row in
// the table says how much of Qt it needs, and only that much is started.
#include "app/cli_commands.h"

#include "core/numeric.h"
#include "core/program_paths.h"
#include "core/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#ifdef TPWORM_CLI_GUI
#include <QGuiApplication>
#endif
#include <QLocale>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <strings.h>
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
    if (needs == tpworm::cli::Needs::Plain)
        return nullptr;
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
        // The painting commands live in the program beside this one.
        const std::string helper
            = QFile::encodeName(QDir(tpworm::executableDir()).filePath(QStringLiteral("tpworm-cli-gui"))).toStdString();
        execv(helper.c_str(), argv);
        throw std::runtime_error("cannot start " + helper + ": " + std::strerror(errno));
    }
    if (needs == tpworm::cli::Needs::Plain)
        return nullptr;
    return std::make_unique<QCoreApplication>(argc, argv);
}
#endif

// Without an application object, the C library's locale as the application
// object would set it (QCoreApplication on Unix): the environment's, with a
// UTF-8 character type, so that every command behaves alike with or without
// one.
void setLocaleAsQtDoes()
{
    std::setlocale(LC_ALL, "");
    const std::string encoding = nl_langinfo(CODESET);
    if (strcasecmp(encoding.c_str(), "UTF-8") == 0 || strcasecmp(encoding.c_str(), "utf8") == 0)
        return;
    std::string locale = std::setlocale(LC_CTYPE, nullptr);
    locale = locale.substr(0, locale.find_first_of(".@")) + ".UTF-8";
    if (!std::setlocale(LC_CTYPE, locale.c_str()) && !std::setlocale(LC_CTYPE, "C.UTF-8"))
        std::setlocale(LC_CTYPE, "C.utf8");
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
        const auto app = makeApplication(tpworm::cli::needsOf(*command, arguments), argc, argv);
        if (!app)
            setLocaleAsQtDoes();
        // Names the user's data folder (~/.local/share/tpworm).
        QCoreApplication::setApplicationName(QStringLiteral("tpworm"));
        tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());
        // Captions and messages follow the language; the JSON keys stay English.
        const QString programDir = tpworm::resolveProgramDir(tpworm::executableDir());
        if (app)
            tpworm::installTranslations(*app, language.language, programDir);
        else
            tpworm::installTranslations(language.language, programDir);
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
