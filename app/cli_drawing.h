// tpworm-cli drawing and report (app/cli_drawing.cpp).
#pragma once

#include <QStringList>

namespace tpworm::cli {

int runDrawing(const QStringList& arguments);
int runReport(const QStringList& arguments);
int runModel(const QStringList& arguments); // app/cli_model.cpp

} // namespace tpworm::cli
