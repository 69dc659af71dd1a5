// libFuzzer entry point: any violated promise of the engine is a crash.
#include "workbook/fuzz/fuzz_workload.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString failure = tpworm::workbook::fuzz::runCycle(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "workbook engine: %s\n", failure.toUtf8().constData());
        std::abort();
    }
    return 0;
}
