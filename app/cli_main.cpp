// tpworm-cli: the program's commands without a screen. The command's row in
// the table says how much of Qt it needs, and only that much is started.
#include "app/cli_commands.h"

#include "core/numeric.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
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
// the services): a command never pays for the toolkit's windows, fonts or
// display, so every command's row says Core.
std::unique_ptr<QCoreApplication> makeApplication(tpworm::cli::Needs needs, int& argc, char** argv)
{
    if (needs != tpworm::cli::Needs::Core)
        throw std::runtime_error("this command needs Qt Gui, which tpworm-cli does not link");
    return std::make_unique<QCoreApplication>(argc, argv);
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
    if (argc < 2)
        return usage("no command");
    const tpworm::cli::Command* command = tpworm::cli::findCommand(QString::fromLocal8Bit(argv[1]));
    if (!command)
        return usage((std::string("unknown command ") + argv[1]).c_str());
    try {
        const auto app = makeApplication(command->needs, argc, argv);
        tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());
        return command->run(QCoreApplication::arguments().mid(1));
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
