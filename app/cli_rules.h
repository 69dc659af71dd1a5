// tpworm-cli rules: show, export and import the tables of the rules database.
#pragma once

#include <QStringList>

namespace tpworm::cli {

// arguments[0] is "rules"; returns the exit status.
int runRules(const QStringList& arguments);

} // namespace tpworm::cli
