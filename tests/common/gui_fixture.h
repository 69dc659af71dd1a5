// One fixture for the tests that drive the real windows offscreen: a temporary
// program directory with its own copies of the data files, a scripted dialog
// seam, a desktop that launches nothing, and a watchdog that closes a modal
// window left open so that a test fails instead of hanging.
#pragma once

#include "app/desktop.h"
#include "app/dialog_seam.h"
#include "app/program.h"
#include "app/tform1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tpworm::testing {

class FakeDesktop final : public Desktop {
public:
    bool openDocument(const QString& path) override
    {
        opened << path;
        return documentsOpen && QFile::exists(path);
    }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments).join(QLatin1Char(' '));
        return programsStart && QFile::exists(program);
    }
    void terminate() override { ++terminations; }

    bool documentsOpen = true; // false: no viewer is installed
    bool programsStart = true;
    QStringList opened;
    QStringList started;
    int terminations = 0;
};

// Closes any modal window still open after a few seconds, and reports it.
class ModalWatchdog {
public:
    explicit ModalWatchdog(int milliseconds = 5000)
    {
        timer_.setInterval(milliseconds);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window was left open: " << modal->objectName().toStdString();
                modal->close();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

class ProgramFixture {
public:
    // The data files of the build's program directory that exist are copied.
    explicit ProgramFixture(const QStringList& files = defaultFiles())
    {
        for (const QString& name : files) {
            const QString source = QStringLiteral(TPWORM_PROGRAM_DIR "/") + name;
            if (QFile::exists(source))
                QFile::copy(source, dir.filePath(name));
        }
        context.programDir = dir.path();
        context.executablePath = QStringLiteral(TPWORM_PROGRAM_DIR "/tpworm");
        context.dialogs = &dialogs;
        context.desktop = &desktop;
        // Nothing listens there, so an update check fails at once.
        context.updateAddress = QStringLiteral("http://127.0.0.1:1");
    }

    static QStringList defaultFiles()
    {
        return {"db1.mdb", "db1.wrx", "111.xls", "1.xls", "1111.xls", "11.xls", "v.txt", "help.htm",
                "canshu.pdf", "jishu.pdf", "jingdu.pdf", "tuzhi.pdf", "xiuxing.pdf", "centre_distances.txt"};
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Creates the windows as the program does and shows the main window.
    TForm1& start(const QStringList& arguments = {})
    {
        context.arguments = arguments;
        form = createWindows(context);
        if (!form->isVisible())
            form->show();
        return *form;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FakeDesktop desktop;
    ProgramContext context;
    std::unique_ptr<TForm1> form;
    ModalWatchdog watchdog;
};

} // namespace tpworm::testing
