#include "app/cli.h"

#include <cstdio>

namespace tpworm::cli {

int run(const QStringList& arguments)
{
    (void)arguments;
    std::fputs("usage: tpworm-cli calc|design|open|export|workbook ...\n", stderr);
    return 2;
}

} // namespace tpworm::cli
