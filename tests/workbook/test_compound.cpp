// The compound document: the engine's own writer against libgsf (the engine's
// reader), python3-xlrd's reader and LibreOffice, for a workbook stream in the
// mini stream, one in ordinary sectors and one so large that the FAT needs
// DIFAT sectors; and the workbook stream read as a view of the file against
// xlrd's reading of it.
#include "corpus.h"

#include "workbook/container.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tpworm::workbook;
using namespace tpworm::workbook::testing;

namespace {

std::uint32_t headerU32(const QByteArray& file, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(file.constData() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// xlrd's own compound-document reader writes each file's root Workbook stream to FILE.stream.
bool xlrdStreams(const QStringList& files)
{
    QProcess python;
    python.start(QStringLiteral(TPWORM_PYTHON3),
                 QStringList{QStringLiteral("-c"), QStringLiteral(
                     "import sys, xlrd.compdoc as c\n"
                     "for p in sys.argv[1:]:\n"
                     "    d = c.CompDoc(open(p, 'rb').read(), logfile=open('/dev/null', 'w'))\n"
                     "    open(p + '.stream', 'wb').write(d.get_named_stream('Workbook'))\n")}
                     + files);
    return python.waitForFinished(600000) && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
}

QJsonObject xlrdDump(const QStringList& files)
{
    QProcess python;
    python.start(QStringLiteral(TPWORM_PYTHON3),
                 QStringList{QStringLiteral(TPWORM_SOURCE_DIR "/tests/workbook/dump_sheets.py")} + files);
    if (!python.waitForFinished(600000)) return {};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

TEST(CompoundFile, TheWorkbookStreamIsReadAsXlrdReadsItWhetherAViewOfTheFileOrACopy)
{
    QTemporaryDir dir;
    QStringList files;
    for (const QString& name : validCorpusFiles()) {
        const QString copy = dir.filePath(name);
        ASSERT_TRUE(QFile::copy(corpusDir() + u'/' + name, copy));
        files << copy;
    }
    ASSERT_TRUE(xlrdStreams(files));
    int views = 0, copies = 0;
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray file = readAll(path); // the stream may be a view of it
        const container::Document document = container::readDocument(file);
        EXPECT_TRUE(document.workbookStream == readAll(path + QStringLiteral(".stream")));
        (document.workbookIsView ? views : copies)++;
    }
    // The corpus has both: streams in consecutive sectors, and streams in
    // pieces (or in the mini stream) that are copied.
    EXPECT_GE(views, 20);
    EXPECT_GE(copies, 5);
}

struct Saved {
    const char* label;
    QString path;
    QMap<QString, QString> cells; // the first sheet, as every reader must see it
};

TEST(CompoundFile, SavedDocumentsOfEverySizeReadBackInLibgsfXlrdAndLibreOffice)
{
    QTemporaryDir dir;
    std::vector<Saved> saved;

    // A workbook stream of 2,628 bytes, below the 4,096-byte cutoff: it goes
    // into the mini stream.
    {
        Workbook book;
        book.SetFileName(corpusDir() + QStringLiteral("/poi-countblankExamples-lo.xls"));
        book.Load();
        const QByteArray bytes = book.SaveToBuffer();
        EXPECT_GT(headerU32(bytes, 64), 0u) << "no mini FAT";
        saved.push_back({"mini stream", dir.filePath(QStringLiteral("mini.xls")),
                         expectedTexts(QStringLiteral("poi-countblankExamples-lo.xls"))});
        book.SetFileName(saved.back().path);
        book.Save();
    }
    // A few cells: a stream just past the cutoff, in ordinary sectors.
    {
        Workbook book;
        book.SetFileName(corpusDir() + QStringLiteral("/poi-Simple.xls"));
        book.Load();
        QMap<QString, QString> cells = expectedTexts(QStringLiteral("poi-Simple.xls"));
        for (int row = 1; row < 12; ++row) {
            const QString text = QStringLiteral("蜗杆 %1 worm").arg(row);
            book.SetCellText(1, row, text);
            cells.insert(CellName(1, row), text);
        }
        saved.push_back({"ordinary sectors", dir.filePath(QStringLiteral("ordinary.xls")), cells});
        book.SetFileName(saved.back().path);
        book.Save();
    }
    // 150 texts of 30,000 CJK characters: a 9 MB stream, whose FAT of more
    // than 109 sectors is listed in DIFAT sectors.
    {
        Workbook book;
        book.SetFileName(corpusDir() + QStringLiteral("/poi-Simple.xls"));
        book.Load();
        QMap<QString, QString> cells = expectedTexts(QStringLiteral("poi-Simple.xls"));
        for (int k = 0; k < 150; ++k) {
            const QString text = QStringLiteral("%1 ").arg(k) + QString(30000, QChar(0x8717 + k % 7));
            book.SetCellText(k % 5, 1 + k / 5, text);
            cells.insert(CellName(k % 5, 1 + k / 5), text);
        }
        const QByteArray bytes = book.SaveToBuffer();
        EXPECT_GT(headerU32(bytes, 44), 109u) << "FAT sectors";
        EXPECT_GT(headerU32(bytes, 72), 0u) << "DIFAT sectors";
        saved.push_back({"DIFAT", dir.filePath(QStringLiteral("difat.xls")), cells});
        book.SetFileName(saved.back().path);
        book.Save();
    }

    QStringList paths;
    for (const Saved& s : saved) paths << s.path;
    const QJsonObject dump = xlrdDump(paths);
    ASSERT_FALSE(dump.isEmpty()) << "python3-xlrd did not run";

    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty());
    const QString csvDir = dir.filePath(QStringLiteral("csv"));
    QProcess soffice;
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                              QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                              QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"),
                              QStringLiteral("--outdir"), csvDir}
                  + paths);
    ASSERT_TRUE(soffice.waitForFinished(900000));

    for (const Saved& s : saved) {
        SCOPED_TRACE(s.label);
        // libgsf, through the engine.
        Workbook again;
        again.SetFileName(s.path);
        ASSERT_NO_THROW(again.Load());
        QMap<QString, QString> engine;
        for (const CellText& cell : again.NonEmptyCells()) engine.insert(CellName(cell.column, cell.row), cell.text);
        EXPECT_TRUE(engine == s.cells);

        // xlrd: every text cell as set, and no other cells than there were.
        const QJsonObject book = dump.value(s.path).toObject();
        ASSERT_FALSE(book.contains(QStringLiteral("error"))) << book.value(QStringLiteral("error")).toString().toStdString();
        const QJsonObject cells = book.value(QStringLiteral("sheets")).toArray().first().toObject()
                                      .value(QStringLiteral("cells")).toObject();
        EXPECT_EQ(cells.size(), s.cells.size());
        QStringList texts; // the cells xlrd reads as text
        for (auto it = s.cells.begin(); it != s.cells.end(); ++it) {
            const QJsonArray cell = cells.value(it.key()).toArray();
            static const char* const types[] = {"empty", "text", "number", "date", "bool", "error"};
            const int type = cell.at(0).toInt();
            ASSERT_TRUE(type >= 1 && type <= 5) << it.key().toStdString();
            if (type == 5) continue; // error codes: the corpus test compares those
            if (type == 1) texts << it.value();
            EXPECT_EQ(textOfXlrdCell(QJsonObject{{QStringLiteral("type"), QLatin1String(types[type])},
                                                 {QStringLiteral("value"),
                                                  type == 4 ? QJsonValue(cell.at(1).toInt() != 0) : cell.at(1)}})
                          .toStdString(),
                      it.value().toStdString())
                << it.key().toStdString();
        }
        ASSERT_FALSE(texts.isEmpty());

        // LibreOffice: the first sheet's CSV holds every text.
        const QString base = QFileInfo(s.path).completeBaseName();
        const QByteArray csv = readAll(csvDir + u'/' + base + QStringLiteral(".csv"));
        ASSERT_FALSE(csv.isEmpty()) << "LibreOffice did not convert it";
        const QString text = QString::fromUtf8(csv);
        // (A sample of the 150 long texts: each search runs over 9 MB.)
        for (qsizetype k = 0; k < texts.size(); k += texts.size() > 20 ? 37 : 1)
            EXPECT_TRUE(text.contains(texts[k])) << texts[k].left(40).toStdString();
    }
}

} // namespace
