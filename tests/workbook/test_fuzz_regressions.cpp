// Replays every input kept from fuzzing, and the corpus (valid and bad),
// through the workloads the fuzz targets run: the engine's load and its save
// cycle, the design-file open and the rules database reader.
#include "corpus.h"

#include "rules/rules_db.h"
#include "workbook/fuzz/fuzz_workload.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

const QString kKept = QStringLiteral(TPWORM_SOURCE_DIR "/workbook/fuzz/regressions");

QStringList filesIn(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QStringList workbookInputs()
{
    QStringList paths = filesIn(kKept + QStringLiteral("/workbook")) + filesIn(kKept + QStringLiteral("/design"));
    for (const QString& name : validCorpusFiles())
        paths << corpusDir() + u'/' + name;
    return paths + badCorpusFiles();
}

template <class Workload>
void replay(const QStringList& paths, Workload workload)
{
    ASSERT_FALSE(paths.isEmpty());
    for (const QString& path : paths) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(workload(file.readAll()).toStdString(), "") << path.toStdString();
    }
}

TEST(FuzzRegressions, KeptInputsAndTheCorpusPassTheLoadAndTheWholeCycle)
{
    replay(workbookInputs(), fuzz::runLoad);
    replay(workbookInputs(), fuzz::runCycle);
}

TEST(FuzzRegressions, KeptInputsAndTheCorpusPassTheDesignFileOpen)
{
    replay(workbookInputs(), fuzz::runDesignOpen);
}

TEST(FuzzRegressions, KeptDatabasesAndTheShippedOnePassTheRulesReader)
{
    // The shipped database passes the check, so its replay reaches every read.
    EXPECT_NO_THROW(tpworm::rules::CheckRulesDatabase(QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb")));
    replay(filesIn(kKept + QStringLiteral("/rules")) << QStringLiteral(TPWORM_PROGRAM_DIR "/db1.mdb"),
           fuzz::runRulesDatabase);
}

} // namespace
