// tpworm-cli: runs the main window's handlers on the offscreen platform.
#include "app/cli.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The windows exist but are never put on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return tpworm::cli::run(QCoreApplication::arguments().mid(1));
}
