// tpworm-cli drawing and report (app/cli_drawing.cpp).
#pragma once

#include <QStringList>

namespace tpworm::cli {

int runDrawing(const QStringList& arguments);
int runReport(const QStringList& arguments);

} // namespace tpworm::cli
