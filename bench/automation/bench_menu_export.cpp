// The worm table exported through "Excel.Application" exactly as the menu
// command makes its calls: create, Visible, WorkBooks.Open, every cell, SaveAs,
// Saved, WorkBooks.Close, Quit.
//
// FirstExportOfARun: the first export of a run, which starts the server with
// the profile an earlier run left in the cache folder (made once before the
// measurement); the server is ended after each iteration, outside the time, as
// the program ends it when it closes (end_s). LaterExport: every export after
// the first, on the server the first one started.
//
// ServerStartOnly: the floor under the first export, a server with the kept
// profile that does nothing but start, answer and end.
//
// WindowFirstExport/THINK: the first export as the window makes it. The
// window starts the server as soon as its File menu opens (TForm1::N1Popup),
// the user picks the table THINK ms later, the save dialog opens once the
// cells are written, and the user's OK begins the save. Counters:
// to_dialog_s, from the pick until the dialog opens; after_ok_s, from the OK
// until the export is done; from_menu_s, from the menu's opening until done
// (THINK included; the time the dialog is open is not).
//
// Counters: seconds of wall time per phase, and CPU seconds (user + system)
// per export of this process and of the LibreOffice server, which the machine
// may share with other work.
#include "documents/automation.h"
#include "documents/automation_cells.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

using namespace tpworm;

namespace {

// The shipped worm template, or a stand-in written by the tests' tool.
QString wormTemplate(const QTemporaryDir& scratch)
{
    const QString shipped = QStringLiteral(TPWORM_PROGRAM_DIR "/1.xls");
    if (QFileInfo::exists(shipped))
        return shipped;
    const QString made = scratch.filePath("1.xls");
    QProcess::execute(QStringLiteral(TPWORM_PYTHON3),
                      {QStringLiteral(TPWORM_SOURCE_DIR "/tests/automation/xls_tool.py"), "template", made});
    return made;
}

DesignRecord exampleDesign()
{
    DesignRecord d;
    d.TransverseModule = 9.111;
    d.EnclosedTeeth = 4.5;
    d.GeneratingPlaneTiltText = "13.758";
    d.WorkingHalfAngle = 16;
    d.ThroatLeadAngle = 11.446;
    d.ProfileAngle = 22.97;
    d.WormNormalChordalThickness = 12.33;
    d.WormNormalChordalHeight = 9.014;
    d.ModifiedCentreDistance = 252.2784;
    d.ModifiedRatio = 22.75;
    d.ModifiedMainBaseDiameter = 161.7779;
    d.ModifiedGeneratingPlaneTilt = 13.8041;
    return d;
}

// A cache folder of the benchmark's own, with a server profile made in it,
// so that the user's profile is neither used nor measured.
struct Setup {
    Setup()
    {
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        templatePath = wormTemplate(scratch);
        documents::FieldTexts fields;
        fields.edits = {"250", "22.5", "45", "2", "160", "2", "90", "0.3", "7级(GB/T16445-1996)", "右旋",
                        "2.5 * 30", "1.5 * 20", "0.5"};
        cells = documents::automationCells(documents::ParameterTable::Worm, exampleDesign(), fields);
        QElapsedTimer clock;
        clock.start();
        automation::platformRegistry().create("Excel.Application").reset();
        profileSetup = clock.nsecsElapsed() / 1e9;
    }
    QTemporaryDir cache;
    QTemporaryDir scratch;
    QString templatePath;
    QList<documents::AutomationCell> cells;
    double profileSetup = 0;
};

Setup& setup()
{
    static Setup s;
    return s;
}

double ownCpu()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of the running servers of the benchmark's cache folder.
double serverCpu()
{
    double seconds = 0;
    const QByteArray marker = setup().cache.path().toUtf8();
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!pid[0].isDigit() || !cmdline.open(QIODevice::ReadOnly) || !cmdline.readAll().contains(marker))
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        seconds += (fields.value(11).toDouble() + fields.value(12).toDouble()) / ::sysconf(_SC_CLK_TCK);
    }
    return seconds;
}

struct Phases {
    double start = 0, fill = 0, save = 0, end = 0;
};

void exportOnce(std::shared_ptr<automation::Object>& app, const QString& target, Phases& phases)
{
    QElapsedTimer clock;
    clock.start();
    std::shared_ptr<automation::Object> server = automation::platformRegistry().create("Excel.Application");
    app = server;
    phases.start += clock.nsecsElapsed() / 1e9;
    clock.restart();
    server->put("Visible", false);
    server->object("WorkBooks")->call("Open", {setup().templatePath});
    for (const documents::AutomationCell& c : setup().cells)
        server->object("Cells", {c.row, c.column})->put("Value", c.text);
    phases.fill += clock.nsecsElapsed() / 1e9;
    clock.restart();
    server->object("ActiveWorkBook")->call("Saveas", {target});
    phases.save += clock.nsecsElapsed() / 1e9;
    clock.restart();
    server->object("ActiveWorkBook")->put("Saved", true);
    server->object("WorkBooks")->call("Close");
    server->call("Quit");
    phases.end += clock.nsecsElapsed() / 1e9;
}

void report(benchmark::State& state, const Phases& p, double ownCpuSeconds, double serverCpuSeconds)
{
    const double n = static_cast<double>(state.iterations());
    state.counters["create_s"] = p.start / n;
    state.counters["open_fill_s"] = p.fill / n;
    state.counters["save_s"] = p.save / n;
    state.counters["quit_s"] = p.end / n;
    state.counters["cpu_own_s"] = ownCpuSeconds / n;
    state.counters["cpu_server_s"] = serverCpuSeconds / n;
    state.counters["profile_setup_s"] = setup().profileSetup;
}

void FirstExportOfARun(benchmark::State& state)
{
    const QString target = setup().scratch.filePath("wogan");
    Phases phases;
    double own = 0, server = 0, end = 0;
    for (auto _ : state) {
        std::shared_ptr<automation::Object> app;
        const double ownBefore = ownCpu();
        exportOnce(app, target, phases);
        own += ownCpu() - ownBefore;
        server += serverCpu(); // all of this server's life so far
        state.PauseTiming();
        QElapsedTimer clock;
        clock.start();
        app.reset();
        end += clock.nsecsElapsed() / 1e9;
        state.ResumeTiming();
    }
    report(state, phases, own, server);
    state.counters["end_s"] = end / static_cast<double>(state.iterations());
}

void LaterExport(benchmark::State& state)
{
    const QString target = setup().scratch.filePath("wogan");
    std::shared_ptr<automation::Object> app;
    Phases first;
    exportOnce(app, target, first);
    Phases phases;
    const double ownBefore = ownCpu();
    const double serverBefore = serverCpu();
    for (auto _ : state)
        exportOnce(app, target, phases);
    report(state, phases, ownCpu() - ownBefore, serverCpu() - serverBefore);
}

void ServerStartOnly(benchmark::State& state)
{
    setup(); // the profile is made before the measurement
    double server = 0, end = 0;
    for (auto _ : state) {
        std::shared_ptr<automation::Object> app = automation::platformRegistry().create("Excel.Application");
        server += serverCpu();
        QElapsedTimer clock;
        clock.start();
        app.reset();
        end += clock.nsecsElapsed() / 1e9;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["cpu_server_s"] = server / n;
    state.counters["end_s"] = end / n;
}

void WindowFirstExport(benchmark::State& state)
{
    const QString target = setup().scratch.filePath("wogan");
    double toDialog = 0, afterOk = 0, fromMenu = 0, serverSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer menu;
        menu.start();
        std::shared_ptr<automation::Object> app = automation::platformRegistry().startEarly("Excel.Application");
        QThread::msleep(static_cast<unsigned long>(state.range(0)));
        QElapsedTimer clock;
        clock.start();
        std::shared_ptr<automation::Object> server = automation::platformRegistry().create("Excel.Application");
        app = server;
        server->put("Visible", false);
        server->object("WorkBooks")->call("Open", {setup().templatePath});
        for (const documents::AutomationCell& c : setup().cells)
            server->object("Cells", {c.row, c.column})->put("Value", c.text);
        toDialog += clock.nsecsElapsed() / 1e9;
        const double beforeDialog = menu.nsecsElapsed() / 1e9;
        clock.restart();
        server->object("ActiveWorkBook")->call("Saveas", {target});
        server->object("ActiveWorkBook")->put("Saved", true);
        server->object("WorkBooks")->call("Close");
        server->call("Quit");
        afterOk += clock.nsecsElapsed() / 1e9;
        fromMenu += beforeDialog + clock.nsecsElapsed() / 1e9;
        serverSeconds += serverCpu();
        state.PauseTiming(); // the window ends its server when it closes
        server.reset();
        app.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["to_dialog_s"] = toDialog / n;
    state.counters["after_ok_s"] = afterOk / n;
    state.counters["from_menu_s"] = fromMenu / n;
    state.counters["cpu_server_s"] = serverSeconds / n;
}

BENCHMARK(ServerStartOnly)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(WindowFirstExport)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FirstExportOfARun)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(LaterExport)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
