// The worm table exported through "Excel.Application" exactly as the menu
// command makes its calls: create, Visible, WorkBooks.Open, every cell, SaveAs,
// Saved, WorkBooks.Close, Quit. Each iteration starts and ends its own server
// (a fresh profile each time, as in the program). The phases are reported as
// counters in seconds.
#include "documents/automation.h"
#include "documents/automation_cells.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

void MenuWormExport(benchmark::State& state)
{
    QTemporaryDir scratch;
    const QString templatePath = wormTemplate(scratch);
    documents::FieldTexts fields;
    fields.edits = {"250", "22.5", "45", "2", "160", "2", "90", "0.3", "7级(GB/T16445-1996)", "右旋", "2.5 * 30",
                    "1.5 * 20", "0.5"};
    const auto cells = documents::automationCells(documents::ParameterTable::Worm, exampleDesign(), fields);
    double start = 0, fill = 0, save = 0, end = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto app = automation::platformRegistry().create("Excel.Application");
        start += clock.nsecsElapsed() / 1e9;
        clock.restart();
        app->put("Visible", false);
        app->object("WorkBooks")->call("Open", {templatePath});
        for (const documents::AutomationCell& c : cells)
            app->object("Cells", {c.row, c.column})->put("Value", c.text);
        fill += clock.nsecsElapsed() / 1e9;
        clock.restart();
        app->object("ActiveWorkBook")->call("Saveas", {scratch.filePath("wogan")});
        save += clock.nsecsElapsed() / 1e9;
        clock.restart();
        app->object("ActiveWorkBook")->put("Saved", true);
        app->object("WorkBooks")->call("Close");
        app->call("Quit");
        end += clock.nsecsElapsed() / 1e9;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["start_s"] = start / n;
    state.counters["open_fill_s"] = fill / n;
    state.counters["save_s"] = save / n;
    state.counters["quit_s"] = end / n;
}

BENCHMARK(MenuWormExport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
