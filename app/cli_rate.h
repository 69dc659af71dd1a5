// tpworm-cli rate: the drive check from the command line.
#pragma once

#include <QStringList>

namespace tpworm::cli {

// arguments[0] is "rate"; returns the exit status (0 when the design
// calculated and the duty was checked, 1 otherwise); UsageError for a wrong
// option.
int runRate(const QStringList& arguments);

} // namespace tpworm::cli
