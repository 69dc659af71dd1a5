// libFuzzer entry point of one fuzz target; TPWORM_FUZZ_WORKLOAD names its
// workload. Any violated promise is a crash.
#include "workbook/fuzz/fuzz_workload.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt SQL finds its drivers through the application, as the program does.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString failure = tpworm::workbook::fuzz::TPWORM_FUZZ_WORKLOAD(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", QT_STRINGIFY(TPWORM_FUZZ_WORKLOAD), failure.toUtf8().constData());
        std::abort();
    }
    return 0;
}
