#include "documents/design_rules.h"

#include "rules/rules_sources.h"

#include <QLocale>

namespace tpworm::documents {

QString coefficientText(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

QList<CellText> ruleRecordCells(const Coefficients& coefficients, const QString& provenance)
{
    QList<CellText> cells;
    for (int i = 0; i < 16; ++i)
        cells.append({kRuleRecordColumn, kRuleRecordFirstRow + i, coefficientText(coefficients[i])});
    cells.append({kRuleRecordColumn, kRuleProvenanceRow, provenance});
    return cells;
}

RuleRecord readRuleRecord(const CellReader& get)
{
    RuleRecord record;
    int empty = 0;
    bool readable = true;
    for (int i = 0; i < 16; ++i) {
        QString text = get(kRuleRecordColumn, kRuleRecordFirstRow + i).trimmed();
        if (text.isEmpty()) {
            ++empty;
            readable = false;
            continue;
        }
        // The program writes the C locale's point; a spreadsheet program that
        // saved the cell as a number gives it back with the desktop's
        // separator, which for these numbers can only be a comma.
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        record.coefficients[i] = QLocale::c().toDouble(text, &ok);
        readable = readable && ok;
    }
    record.provenance = get(kRuleRecordColumn, kRuleProvenanceRow);
    if (empty == 16)
        record.state = RuleRecord::State::Absent;
    else
        record.state = readable ? RuleRecord::State::Readable : RuleRecord::State::Unreadable;
    return record;
}

QString ruleRecordMessage(const RuleRecord& record, const Coefficients& inForce)
{
    if (record.state == RuleRecord::State::Absent)
        return {};
    QString text;
    if (record.state == RuleRecord::State::Unreadable) {
        text = QStringLiteral("此设计文件中记录的计算法则参数无法读取，本设计已按当前的计算法则计算。");
    } else {
        QStringList differences;
        for (int i = 0; i < 16; ++i) {
            if (record.coefficients[i] != inForce[i])
                differences << QStringLiteral("N[%1]：文件中 %2，当前 %3")
                                   .arg(i)
                                   .arg(coefficientText(record.coefficients[i]), coefficientText(inForce[i]));
        }
        if (differences.isEmpty())
            return {};
        text = QStringLiteral("此设计文件保存时的计算法则参数与当前的计算法则不同，本设计已按当前的计算法则计算。\n")
               + differences.join(QLatin1Char('\n'));
    }
    if (!record.provenance.isEmpty())
        text += QStringLiteral("\n文件记录的计算法则来源：") + record.provenance;
    return text;
}

QString rulesProvenance(const QString& databasePath)
{
    return rules::provenanceSummary(databasePath);
}

} // namespace tpworm::documents
