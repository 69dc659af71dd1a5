// The design report and the drawings of the worked design 250/45/2, from
// the calculated design to the bytes of the file (writing it is the safe
// file's business and not measured here). Targets: report ≤ 150 ms, DXF ≤ 20 ms.
#include "core/design_form.h"
#include "drawing/part_sheets.h"
#include "drawing/render.h"
#include "drawing/report.h"
#include "rules/rules_memory.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

using namespace tpworm;

namespace {

const drawing::ShownDesign& design()
{
    static const drawing::ShownDesign shown = [] {
        const rules::RulesData rules = rules::readRulesData(QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb"));
        core::DesignRequest request;
        request.centreDistance = QStringLiteral("250");
        request.teeth = QStringLiteral("45");
        request.starts = QStringLiteral("2");
        return drawing::shownDesign(core::runDesign(request, rules), QStringLiteral("db1.mdb"));
    }();
    return shown;
}

void Report(benchmark::State& state)
{
    const drawing::ReportInfo info{QStringLiteral("tpworm"), QStringLiteral("1.0"), QDate(2026, 1, 1)};
    for (auto _ : state)
        benchmark::DoNotOptimize(drawing::designReport(design(), {}, info));
}
BENCHMARK(Report)->Unit(benchmark::kMillisecond);

void Dxf(benchmark::State& state)
{
    const drawing::Part part = drawing::Part(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(drawing::sheetDxf(drawing::partSheet(part, design())));
}
BENCHMARK(Dxf)->Arg(int(drawing::Part::Worm))->Arg(int(drawing::Part::Wheel))->Arg(int(drawing::Part::Hob))->Unit(benchmark::kMillisecond);

void Pdf(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(drawing::sheetPdf(drawing::partSheet(drawing::Part::Worm, design())));
}
BENCHMARK(Pdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
