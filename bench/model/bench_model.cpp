// The worm's and the wheel's surfaces of the 250/45/2 design (centre distance
// 250, 45 teeth, 2 starts, the rules database's recommendations) at the
// default sampling, as the solid modeller asks for them.
#include "model/surfaces.h"

#include "core/design_form.h"
#include "rules/rules_memory.h"

#include <benchmark/benchmark.h>

using namespace tpworm;

namespace {

const DesignValues& design()
{
    static const DesignValues d = [] {
        const rules::RulesData rules = rules::readRulesData(QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb"));
        core::DesignRequest request;
        request.centreDistance = QStringLiteral("250");
        request.teeth = QStringLiteral("45");
        request.starts = QStringLiteral("2");
        return core::runDesign(request, rules).design();
    }();
    return d;
}

void wormSurfaces250(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(model::wormSurfaces(design()));
}
BENCHMARK(wormSurfaces250)->Unit(benchmark::kMillisecond);

void wheelSurfaces250(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(model::wheelSurfaces(design()));
}
BENCHMARK(wheelSurfaces250)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
