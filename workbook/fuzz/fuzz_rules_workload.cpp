#include "workbook/fuzz/fuzz_workload.h"

#include "rules/rules_db.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace tpworm::workbook::fuzz {

namespace {

// SQLite reads files, not buffers: the bytes go to one file in a private
// folder, in memory-backed /dev/shm where there is one, rewritten per input.
QString databaseFile()
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tpworm-rules-fuzz-XXXXXX")
                                                       : QDir::tempPath() + QStringLiteral("/tpworm-rules-fuzz-XXXXXX"));
    return dir.filePath(QStringLiteral("rules.wrx"));
}

} // namespace

QString runRulesDatabase(const QByteArray& input)
{
    const QString path = databaseFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(input) != input.size())
            return QStringLiteral("cannot write the database file for the run");
    }
    try {
        rules::CheckRulesDatabase(path);
    } catch (const rules::RulesError&) {
        return QString(); // refused with a message: what a hostile file must get
    }
    // A file that passed the check must serve every read the program makes.
    try {
        rules::RulesConnection connection;
        connection.SetReadOnly(true);
        rules::RulesTable nzhi(connection, QStringLiteral("nzhi"));
        rules::Coefficients coefficients{};
        bool anyDiffers = false;
        rules::LoadCoefficients(connection, nzhi, rules::connectionString(rules::kConnectionPrefix, path),
                                coefficients, anyDiffers);
        connection.Open();
        for (const char* name : {"6ji", "7ji", "8ji", "xiuyuan", "xiuyuanchangdu"}) {
            rules::RulesTable table(connection, QString::fromLatin1(name));
            table.Open();
            for (int row = 0; row < table.RowCount(); ++row)
                for (int column = 0; column < table.ColumnCount(); ++column)
                    (void)table.Text(row, column);
            // The check found column 2 numeric and ascending: every key
            // within the table's range finds its row (the first rows suffice:
            // each search walks the table).
            for (int row = 0; row < std::min(table.RowCount(), 64); ++row) {
                const int found = table.RangeSearch(table.Number(row, 2));
                if (found < 0 || found > row || table.Number(found, 2) < table.Number(row, 2))
                    return QStringLiteral("a range search answers the wrong row");
            }
        }
    } catch (const rules::RulesError& error) {
        return QStringLiteral("a database that passed the check fails a read: ") + QString::fromStdString(error.what());
    }
    return QString();
}

} // namespace tpworm::workbook::fuzz
