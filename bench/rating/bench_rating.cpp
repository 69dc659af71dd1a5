// What the drive check adds to a design: one check of a calculated design
// under a duty, with the tables read once (as a batch run would), and one
// design with its check. The batch target (≥ 40,000 designs/s with a duty)
// is measured on the batch command itself once it takes a duty.
#include "core/design_form.h"
#include "rating/rating.h"
#include "rating/rating_tables.h"
#include "rules/rules_memory.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tpworm;

const QString kDatabase = QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb");

const rating::RatingTables& tables()
{
    static const rating::RatingTables t = rating::loadRatingTables(kDatabase);
    return t;
}

void CheckOneDesign(benchmark::State& state)
{
    const rating::DriveValues design{250, 22.5L, 90, 410, 11.446L, 22.97L};
    rating::DutyTexts texts;
    texts.inputPower = "15";
    int k = 0;
    for (auto _ : state) {
        texts.wormSpeed = QString::number(500 + k++ % 2000);
        const rating::Rating r = rating::rate(design, rating::parseDuty(texts), tables().friction, tables().ratedPower);
        benchmark::DoNotOptimize(r.oilTemperature);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CheckOneDesign);

void DesignAndCheck(benchmark::State& state)
{
    static const rules::RulesData rules = rules::readRulesData(kDatabase);
    rating::DutyTexts texts;
    texts.inputPower = "15";
    texts.wormSpeed = "1450";
    const rating::Duty duty = rating::parseDuty(texts);
    int k = 0;
    for (auto _ : state) {
        core::DesignRequest request;
        request.centreDistance = QString::number(100 + k % 400);
        request.teeth = QString::number(30 + k % 30);
        request.starts = QString::number(1 + k++ % 3);
        const core::DesignForm form = core::runDesign(request, rules);
        if (form.calculated()) {
            const rating::Rating r = rating::rate(rating::driveValues(form.design()), duty, tables().friction,
                                                  tables().ratedPower);
            benchmark::DoNotOptimize(r.oilTemperature);
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DesignAndCheck);

} // namespace

BENCHMARK_MAIN();
