#include "documents/cell_maps.h"

#include "core/cell_address.h"
#include "core/numeric.h"

#include <QRegularExpression>

namespace tpworm::documents {

DocumentError::DocumentError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString cellName(int column, int row) { return CellAddress{column, row}.name(); }

CellText parseCellName(const QString& name)
{
    const std::optional<CellAddress> cell = CellAddress::parse(name);
    if (!cell)
        throw DocumentError(QStringLiteral("“%1” is not a cell name such as C2").arg(name));
    return {cell->column, cell->row, QString()};
}

QList<CellText> designFileCells(const FieldTexts& fields)
{
    QList<CellText> cells;
    for (int i = 0; i < 13; ++i)
        cells.append({0, i, fields.edits[i]});
    cells.append({0, 13, fields.wholeTeeth ? kWholeTeethMark : QString()});
    return cells;
}

DesignFileContent readDesignFile(const CellReader& get)
{
    DesignFileContent content;
    for (int i = 0; i < 13; ++i)
        content.edits[i] = get(0, i);
    content.wholeTeethCell = get(0, 13);

    // The grade is the leading digit of the grade text; a file whose A9 starts
    // otherwise was not written by this program and is refused before any
    // field changes.
    const QString& gradeText = content.edits[8];
    try {
        if (gradeText.isEmpty())
            throw ConvertError(gradeText);
        content.grade = StrToInt(gradeText.left(1));
    } catch (const ConvertError&) {
        throw DocumentError(QStringLiteral("cell A9 holds “%1”, which does not begin with the grade digit").arg(gradeText));
    }
    content.standardBacklash = gradeText.size() >= 2 && gradeText[1] == u'j';
    return content;
}

QString proposedDesignName(const QString& centreDistance, const QString& ratio)
{
    return centreDistance + QLatin1Char('-') + ratio;
}

QString designFileTarget(const QString& chosen) { return chosen + QStringLiteral(".wpx"); }

QString commandLineDesignFile(const QStringList& arguments)
{
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts << arguments.value(i);
    return parts.join(QLatin1Char(' ')).trimmed();
}

QString numberText(long double value) { return FloatToStr(value); }

QString number3Text(double value) { return FloatToStr(RoundTo(value, -3)); }

namespace {

// One row of a cell map: where, and how the text is made from the design.
struct CellRule {
    const char* cell;
    std::function<QString(const DesignRecord&, const FieldTexts&)> text;
};

using Rules = QList<CellRule>;

QList<CellText> apply(const Rules& rules, const DesignRecord& design, const FieldTexts& fields)
{
    QList<CellText> cells;
    for (const CellRule& rule : rules) {
        CellText cell = parseCellName(QString::fromLatin1(rule.cell));
        cell.text = rule.text(design, fields);
        cells.append(cell);
    }
    return cells;
}

// Value forms, as cell-rule makers.
auto field(int number)
{
    return [number](const DesignRecord&, const FieldTexts& f) { return f.edit(number); };
}
auto number(double DesignRecord::*member)
{
    return [member](const DesignRecord& d, const FieldTexts&) { return numberText(d.*member); };
}
auto number3(double DesignRecord::*member)
{
    return [member](const DesignRecord& d, const FieldTexts&) { return number3Text(d.*member); };
}
auto stored(QString DesignRecord::*member)
{
    return [member](const DesignRecord& d, const FieldTexts&) { return d.*member; };
}
auto signedStored(char sign, QString DesignRecord::*member)
{
    return [sign, member](const DesignRecord& d, const FieldTexts&) { return QChar::fromLatin1(sign) + d.*member; };
}
// The sum and difference are formed in extended precision, as every formula
// is, and only then written in the general format.
QString profileMinusHalfAngle(const DesignRecord& d, const FieldTexts&)
{
    return numberText(static_cast<long double>(d.ProfileAngle) - static_cast<long double>(d.WorkingHalfAngle));
}
QString hobChordalThickness(const DesignRecord& d, const FieldTexts&)
{
    return numberText(static_cast<long double>(d.WormNormalChordalThickness) + static_cast<long double>(d.Backlash));
}

using R = DesignRecord;

// C2 ... C9 of the worm table, shared by both exports.
Rules wormHead()
{
    return {
        {"C2", field(4)},
        {"C3", field(3)},
        {"C4", number(&R::TransverseModule)},
        {"C5", number(&R::EnclosedTeeth)},
        {"C6", stored(&R::GeneratingPlaneTiltText)},
        {"C7", number(&R::WorkingHalfAngle)},
        {"C8", number(&R::ThroatLeadAngle)},
        {"C9", number(&R::ProfileAngle)},
    };
}

Rules wheelHead()
{
    return {
        {"C2", field(4)},
        {"C3", field(3)},
        {"C4", number(&R::TransverseModule)},
        {"C5", number(&R::ThroatLeadAngle)},
        {"C6", number(&R::ProfileAngle)},
        {"C7", number(&R::WorkingHalfAngle)},
        {"C8", profileMinusHalfAngle},
        {"C9", stored(&R::GeneratingPlaneTiltText)},
    };
}

Rules hobHead()
{
    return {
        {"C2", field(4)},
        {"C3", field(3)},
        {"C4", number(&R::TransverseModule)},
        {"C5", number(&R::HobEnclosedTeeth)},
        {"C6", stored(&R::GeneratingPlaneTiltText)},
        {"C7", number(&R::WorkingHalfAngle)},
        {"C8", number(&R::ThroatLeadAngle)},
        {"C9", number(&R::ProfileAngle)},
    };
}

Rules tableRules(ParameterTable table)
{
    switch (table) {
    case ParameterTable::Worm:
        return wormHead() + Rules{
            {"B10", field(10)},
            {"B11", field(9)},
            {"C12", number(&R::WormNormalChordalThickness)},
            {"D13", signedStored('-', &R::GradeTolerance8)},
            {"C14", number(&R::WormNormalChordalHeight)},
            {"C15", field(11)},
            {"C16", field(12)},
            {"C17", stored(&R::GradeTolerance3)},
            {"C18", stored(&R::GradeTolerance4)},
            {"C20", field(13)},
            {"C21", number3(&R::ModifiedCentreDistance)},
            {"C22", number(&R::ModifiedRatio)},
            {"C23", number3(&R::ModifiedMainBaseDiameter)},
            {"C24", number3(&R::ModifiedGeneratingPlaneTilt)},
        };
    case ParameterTable::Wheel:
        return wheelHead() + Rules{
            {"B10", field(10)},
            {"C11", number(&R::EnclosedTeeth)},
            {"C12", number(&R::Backlash)},
            {"C13", number(&R::WheelNormalChordalHeight)},
            {"C14", number(&R::WheelNormalChordalThickness)},
            {"D15", signedStored('-', &R::GradeTolerance11)},
            {"C16", field(1)},
            {"C17", stored(&R::GradeTolerance9)},
            {"C18", stored(&R::GradeTolerance10)},
        };
    case ParameterTable::Hob:
        return hobHead() + Rules{
            {"B10", field(10)},
            {"C11", hobChordalThickness},
            {"D11", signedStored('+', &R::GradeTolerance11)},
            {"C13", number(&R::HobNormalChordalHeight)},
        };
    }
    return {};
}

} // namespace

TableFiles tableFiles(ParameterTable table)
{
    switch (table) {
    case ParameterTable::Worm: return {QStringLiteral("1.xls"), QStringLiteral("wogan.xls")};
    case ParameterTable::Wheel: return {QStringLiteral("1111.xls"), QStringLiteral("wolun.xls")};
    case ParameterTable::Hob: return {QStringLiteral("11.xls"), QStringLiteral("gundao.xls")};
    }
    return {};
}

TableFiles automationTableFiles(ParameterTable table)
{
    TableFiles files = tableFiles(table);
    files.proposedName.chop(4); // the menu exports propose the bare name
    return files;
}

QList<CellText> tableCells(ParameterTable table, const DesignRecord& design, const FieldTexts& fields)
{
    return apply(tableRules(table), design, fields);
}

} // namespace tpworm::documents
