// tpworm-cli: runs the main window's handlers on the offscreen platform.
#include "app/cli.h"

#include <cstdio>
#include <cstdlib>

#include "app/numeric.h"

#include <QApplication>
#include <QLocale>

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

} // namespace

int main(int argc, char** argv)
{
    // The windows exist but are never put on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    tpworm::setDecimalSeparator(QLocale::system().decimalPoint().front());
    return tpworm::cli::run(QCoreApplication::arguments().mid(1));
}
