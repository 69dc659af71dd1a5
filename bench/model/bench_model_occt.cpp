// The 3D models of the worked example (centre distance 250, 45 teeth, 2
// starts): the worm's and the wheel's STEP file, surfaces to bytes, timed on
// one core with CPU time reported beside wall time (the machine may be busy).
// The wheel also by its stages: the tooth surfaces, the solid (fitting,
// cutting, turning and sewing), the STEP file.
//
//   build/bench/model/bench_model [worm|wheel|pair] [centre distance teeth starts]
#include "core/design_form.h"
#include "core/rules_data.h"
#include "model/occt/model_files.h"
#include "model/occt/solids.h"
#include "model/occt/step_file.h"
#include "model/surfaces.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "tests/core/core_rules.h"

namespace {

double cpuNow() { return double(std::clock()) / CLOCKS_PER_SEC; }

// The wheel's stages, each timed in CPU seconds: the same steps as
// solidModelStep's, one after the other.
QByteArray wheelStages(const tpworm::DesignValues& d)
{
    using namespace tpworm;
    double t = cpuNow();
    auto lap = [&t]() {
        const double n = cpuNow(), seconds = n - t;
        t = n;
        return seconds;
    };
    const model::WheelSurfaces surfaces = model::wheelSurfaces(d);
    std::printf("  surfaces %.2f s (%d of %d nodes continued)\n", lap(), surfaces.extrapolatedNodes,
                surfaces.space.left.rows * surfaces.space.left.cols);
    const long double bore = model::occt::rimInnerDiameter(surfaces, d.WheelReferenceDiameter, d.TransverseModule);
    const model::occt::WheelModel wheel = model::occt::wheelModel(surfaces, bore);
    std::printf("  solid %.2f s (flanks of %d x %d poles)\n", lap(), wheel.flanks.left->NbUPoles(),
                wheel.flanks.left->NbVPoles());
    const QByteArray bytes = model::occt::stepFile({{wheel.solid, "wheel", {}}}, "");
    std::printf("  STEP %.2f s\n", lap());
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace tpworm;
    core::DesignRequest request;
    request.centreDistance = QString::fromLocal8Bit(argc > 4 ? argv[2] : "250");
    request.teeth = QString::fromLocal8Bit(argc > 4 ? argv[3] : "45");
    request.starts = QString::fromLocal8Bit(argc > 4 ? argv[4] : "2");
    const core::DesignForm form = core::runDesign(request, coretest::exampleRules());
    const std::string which = argc > 1 ? argv[1] : "worm";
    const std::optional<model::SolidPart> part = model::solidPartFromWord(QString::fromStdString(which));
    if (!part || !form.calculated() || argc == 3 || argc == 4) {
        std::fprintf(stderr, "usage: bench_model worm|wheel|pair [centre distance, teeth, starts]\n");
        return 2;
    }
    const std::string design = request.centreDistance.toStdString() + "/" + request.teeth.toStdString() + "/"
                               + request.starts.toStdString();
    const auto wall = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    const QByteArray bytes
        = *part == model::SolidPart::Wheel ? wheelStages(form.design()) : model::solidModelStep(*part, form.design());
    const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    std::printf("%s %s: %.2f s CPU, %.2f s wall, %lld bytes of STEP\n", which.c_str(), design.c_str(), cpuSeconds,
                wallSeconds, static_cast<long long>(bytes.size()));
    return 0;
}
