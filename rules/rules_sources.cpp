#include "rules/rules_sources.h"

#include "core/numeric.h"
#include "rules/rules_db.h"
#include "rules/rules_tables.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace tpworm::rules {

namespace {

QString unitText(const QString& keyUnit) { return keyUnit == QLatin1String("teeth") ? QStringLiteral("齿") : keyUnit; }

QString keyName(const QString& keyUnit)
{
    return keyUnit == QLatin1String("teeth") ? QStringLiteral("蜗轮齿数") : QStringLiteral("中心距");
}

// "至 1250 mm", "大于 80 mm 至 1250 mm"; empty when the source sets no limit.
QString coveredRange(const TableSource& s)
{
    QStringList parts;
    if (s.coversAbove)
        parts << QStringLiteral("大于 %1 %2").arg(FloatToStr(*s.coversAbove), unitText(s.keyUnit));
    if (s.coversUpto)
        parts << QStringLiteral("至 %1 %2").arg(FloatToStr(*s.coversUpto), unitText(s.keyUnit));
    return parts.join(QLatin1Char(' '));
}

QString oneLine(const QString& text, int limit)
{
    QString line = text.simplified();
    if (line.size() > limit)
        line = line.left(limit - 1) + QStringLiteral("…");
    return line;
}

QString tableLabel(const TableSource& s) { return QStringLiteral("%1（%2）").arg(s.table, s.title); }

std::optional<long double> number(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

QList<TableSource> readSources(const QString& databasePath)
{
    QList<TableSource> sources;
    for (const QString& table : editableTables()) {
        TableLayout layout;
        try {
            layout = readTableLayout(databasePath, table);
        } catch (const RulesError&) {
            // A table the database does not hold is simply not offered; a
            // database that cannot be opened fails below.
            if (!QFileInfo(databasePath).isFile())
                throw;
            continue;
        }
        TableSource s;
        s.table = table;
        s.title = layout.title;
        s.keyUnit = layout.keyUnit;
        s.rowCount = int(readTable(databasePath, layout).rows.size());
        sources << s;
    }
    static QAtomicInt counter;
    const QString name = QStringLiteral("tpworm-sources-%1").arg(counter.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            // Missing in rule sets older than the table: nothing is recorded.
            if (query.exec(QStringLiteral("SELECT table_name, source, changed, reference_values, key_unit, "
                                          "covers_above, covers_upto FROM %1")
                               .arg(kSourcesTable))) {
                while (query.next()) {
                    for (TableSource& s : sources) {
                        if (s.table != query.value(0).toString())
                            continue;
                        s.recorded = true;
                        s.source = query.value(1).toString();
                        s.changed = query.value(2).toString();
                        s.referenceValues = query.value(3).toInt() != 0;
                        if (!query.value(4).isNull())
                            s.keyUnit = query.value(4).toString();
                        s.coversAbove = number(query.value(5));
                        s.coversUpto = number(query.value(6));
                    }
                }
            }
            query.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return sources;
}

std::optional<TableSource> findSource(const QList<TableSource>& sources, const QString& table)
{
    for (const TableSource& s : sources)
        if (s.table == table)
            return s;
    return std::nullopt;
}

Notice referenceNotice(const QList<TableSource>& sources)
{
    QStringList reference, unrecorded;
    for (const TableSource& s : sources) {
        if (!s.recorded)
            unrecorded << QStringLiteral("  %1：来源未记录").arg(tableLabel(s));
        else if (s.referenceValues)
            reference << QStringLiteral("  %1：%2（%3）").arg(tableLabel(s), s.source, s.changed);
    }
    if (reference.isEmpty() && unrecorded.isEmpty())
        return {};
    Notice notice;
    notice.line = QStringLiteral("表格数据为参考值");
    QStringList details;
    if (!reference.isEmpty())
        details << QStringLiteral("下列计算法则表仍是随程序提供的参考值，不是标准表中的数值：") << reference;
    if (!unrecorded.isEmpty())
        details << QStringLiteral("下列计算法则表没有记录来源：") << unrecorded;
    details << QStringLiteral("请在“设置”→“计算法则参数设置”的“表格”页中换用所依据标准或本厂标准的数值（可导入 CSV 文件），并写明来源。");
    notice.details = details.join(QLatin1Char('\n'));
    return notice;
}

Notice rangeWarning(const TableSource& gradeTable, long double centreDistance)
{
    const bool below = gradeTable.coversAbove && !(centreDistance > *gradeTable.coversAbove);
    const bool above = gradeTable.coversUpto && centreDistance > *gradeTable.coversUpto;
    if (!below && !above)
        return {};
    const QString range = coveredRange(gradeTable);
    Notice notice;
    notice.line = QStringLiteral("超出精度表来源范围");
    notice.details =
        QStringLiteral("中心距 %1 mm 在精度表 %2的来源所覆盖的范围（%3）以外：\n%4\n"
                       "所显示的公差与标准侧隙是表中的数值，来源并未给出，请自行核定。计算照常进行。")
            .arg(FloatToStr(centreDistance), tableLabel(gradeTable), range, gradeTable.source);
    return notice;
}

QString provenanceSummary(const QString& databasePath)
{
    const QString file = QFileInfo(databasePath).fileName();
    QList<TableSource> sources;
    try {
        sources = readSources(databasePath);
    } catch (const std::exception& error) {
        return QStringLiteral("计算法则数据库 %1 无法读取：%2").arg(file, QString::fromStdString(error.what()));
    }
    QStringList reference, unrecorded, own;
    for (const TableSource& s : sources) {
        if (!s.recorded)
            unrecorded << s.table;
        else if (s.referenceValues)
            reference << s.table;
        else
            own << QStringLiteral("%1 来源“%2”（%3）").arg(s.table, oneLine(s.source, 40), s.changed);
    }
    QStringList parts = own;
    if (!reference.isEmpty())
        parts << reference.join(QStringLiteral("、")) + QStringLiteral(" 为随程序提供的参考值");
    if (!unrecorded.isEmpty())
        parts << unrecorded.join(QStringLiteral("、")) + QStringLiteral(" 来源未记录");
    return QStringLiteral("计算法则数据库 %1：%2").arg(file, parts.join(QStringLiteral("；")));
}

QString rulesSourcesText(const QString& databasePath)
{
    QStringList lines;
    lines << QStringLiteral("计算法则数据库：%1").arg(QDir::toNativeSeparators(databasePath));
    QList<TableSource> sources;
    try {
        sources = readSources(databasePath);
    } catch (const std::exception& error) {
        lines << QStringLiteral("  无法读取：%1").arg(QString::fromStdString(error.what()));
        return lines.join(QLatin1Char('\n'));
    }
    for (const TableSource& s : sources) {
        lines << QStringLiteral("  %1，%2 行%3").arg(tableLabel(s)).arg(s.rowCount)
                     .arg(s.recorded ? QStringLiteral("，修改于 %1").arg(s.changed) : QString());
        lines << QStringLiteral("    来源：%1").arg(s.recorded ? s.source.simplified() : QStringLiteral("未记录"));
        if (s.recorded && s.referenceValues)
            lines << QStringLiteral("    （仍为随程序提供的参考值）");
        const QString range = coveredRange(s);
        if (!range.isEmpty())
            lines << QStringLiteral("    来源覆盖的%1：%2").arg(keyName(s.keyUnit), range);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace tpworm::rules
