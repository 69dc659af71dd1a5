// One design through the core, as `tpworm-cli design` runs it, against the
// shipped rules read once: the recommendation, the look-ups, the calculation
// and, separately, its JSON document.
#include "core/design_form.h"
#include "rules/rules_memory.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tpworm;

const rules::RulesData& shippedRules()
{
    static const rules::RulesData rules = rules::readRulesData(QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb"));
    return rules;
}

core::DesignRequest request(int k)
{
    core::DesignRequest r;
    r.centreDistance = QString::number(100 + k % 400);
    r.teeth = QString::number(30 + k % 30);
    r.starts = QString::number(1 + k % 3);
    return r;
}

void RunDesign(benchmark::State& state)
{
    int k = 0;
    for (auto _ : state) {
        core::DesignForm form = core::runDesign(request(k++), shippedRules());
        benchmark::DoNotOptimize(form.calculated());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RunDesign);

void RunDesignAndJson(benchmark::State& state)
{
    int k = 0;
    for (auto _ : state) {
        const QByteArray json = core::designJson(core::runDesign(request(k++), shippedRules()));
        benchmark::DoNotOptimize(json.size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RunDesignAndJson);

void ReadRulesOnce(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(rules::readRulesData(QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb")).coefficientsLoaded);
}
BENCHMARK(ReadRulesOnce);

} // namespace

BENCHMARK_MAIN();
