// The 3D models of the worked example (centre distance 250, 45 teeth, 2
// starts): the worm's and the wheel's STEP file, surfaces to bytes, timed on
// one core with CPU time reported beside wall time (the machine may be busy).
//
//   build/bench/model/bench_model [worm|wheel|pair]
#include "core/design_form.h"
#include "core/rules_data.h"
#include "model/occt/model_files.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "tests/core/core_rules.h"

int main(int argc, char** argv)
{
    using namespace tpworm;
    core::DesignRequest request;
    request.centreDistance = QStringLiteral("250");
    request.teeth = QStringLiteral("45");
    request.starts = QStringLiteral("2");
    const core::DesignForm form = core::runDesign(request, coretest::exampleRules());
    const std::string which = argc > 1 ? argv[1] : "worm";
    const std::optional<model::SolidPart> part = model::solidPartFromWord(QString::fromStdString(which));
    if (!part || !form.calculated()) {
        std::fprintf(stderr, "usage: bench_model worm|wheel|pair\n");
        return 2;
    }
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    const QByteArray bytes = model::solidModelStep(*part, form.design());
    const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    std::printf("%s 250/45/2: %.2f s CPU, %.2f s wall, %lld bytes of STEP\n", which.c_str(), cpuSeconds, wallSeconds,
                static_cast<long long>(bytes.size()));
    return 0;
}
