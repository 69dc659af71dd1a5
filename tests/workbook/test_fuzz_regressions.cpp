// Replays the inputs kept from fuzzing, and the shared corpus (valid and bad),
// through the same load / read / write / save / reload cycle the fuzz target runs.
#include "corpus.h"

#include "workbook/fuzz/fuzz_workload.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

void replay(const QStringList& paths)
{
    for (const QString& path : paths) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(fuzz::runCycle(file.readAll()).toStdString(), "") << path.toStdString();
    }
}

TEST(FuzzRegressions, KeptInputsAndTheCorpusPassTheWholeCycle)
{
    const QDir kept(QStringLiteral(TPWORM_SOURCE_DIR "/workbook/fuzz/regressions"));
    QStringList paths;
    for (const QString& name : kept.entryList(QDir::Files, QDir::Name))
        paths << kept.filePath(name);
    for (const QString& name : validCorpusFiles())
        paths << corpusDir() + u'/' + name;
    paths << badCorpusFiles();
    replay(paths);
}

} // namespace
