// Load + 25 SetCellText + Save on a template-sized workbook and on generated
// workbooks of 1,000, 10,000 and 100,000 text cells.
//
//   workbook_bench                    runs the benchmarks
//   workbook_bench --write-inputs DIR writes the generated workbooks (for compare.sh)
#include "workbook/workbook.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <map>

using tpworm::workbook::Workbook;

namespace {

const QString kBase = QStringLiteral(TPWORM_CORPUS_DIR "/poi-Simple.xls");

// A workbook with cells text cells in rows of ten columns, every text distinct,
// a third of them Chinese; 0 gives the template-sized sheet of a design file
// (a caption column and a value column, 30 rows).
QByteArray generate(int cells)
{
    Workbook book;
    book.SetFileName(kBase);
    book.Load();
    if (cells == 0) {
        for (int row = 0; row < 30; ++row) {
            book.SetCellText(0, row, QStringLiteral("参数 %1 蜗杆传动").arg(row));
            book.SetCellText(1, row, QString::number(100.25 + row));
        }
    } else {
        for (int i = 0; i < cells; ++i)
            book.SetCellText(i % 10, i / 10,
                             i % 3 == 0 ? QStringLiteral("蜗轮 %1").arg(i) : QStringLiteral("cell %1").arg(i));
    }
    return book.SaveToBuffer();
}

const QByteArray& input(int cells)
{
    static std::map<int, QByteArray> made;
    auto it = made.find(cells);
    if (it == made.end()) it = made.emplace(cells, generate(cells)).first;
    return it->second;
}

void LoadSet25Save(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in.xls"));
    const QString target = dir.filePath(QStringLiteral("out.xls"));
    {
        QFile file(source);
        file.open(QIODevice::WriteOnly);
        file.write(input(cells));
    }
    for (auto _ : state) {
        Workbook book;
        book.SetFileName(source);
        book.Load();
        for (int k = 0; k < 25; ++k)
            book.SetCellText(k % 3, 2 + k, QStringLiteral("%1.%2 设计").arg(k).arg(cells));
        book.SetFileName(target);
        book.Save();
    }
    state.counters["file_bytes"] = static_cast<double>(input(cells).size());
    state.SetComplexityN(std::max(cells, 60));
}

BENCHMARK(LoadSet25Save)->Arg(0)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

int writeInputs(const QString& dirName)
{
    QDir().mkpath(dirName);
    for (int cells : {0, 1000, 10000, 100000}) {
        QFile file(QDir(dirName).filePath(cells == 0 ? QStringLiteral("template.xls")
                                                     : QStringLiteral("cells-%1.xls").arg(cells)));
        if (!file.open(QIODevice::WriteOnly) || file.write(input(cells)) < 0) return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-inputs") == 0)
        return writeInputs(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
