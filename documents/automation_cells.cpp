#include "documents/automation_cells.h"

#include "core/cell_address.h"
#include "core/numeric.h"

#include <stdexcept>

namespace tpworm::documents {

namespace {

// The value forms of the parameter tables.
QString number(long double value) { return FloatToStr(value); }
QString number3(double value) { return FloatToStr(RoundTo(value, -3)); }

// The hand is printed as the fixed text "右" in these tables.
const QString RightHand = QStringLiteral("右");

// C2 to C9 are the same in the three tables apart from C5 ... C9.
QList<AutomationCell> head(const DesignRecord& d, const MenuFieldTexts& f)
{
    return {cellAt("C2", f.Edit4), cellAt("C3", f.Edit3), cellAt("C4", number(d.TransverseModule))};
}

} // namespace

AutomationCell cellAt(const QString& a1, const QString& text)
{
    const std::optional<CellAddress> cell = CellAddress::parse(a1);
    if (!cell)
        throw std::invalid_argument("malformed cell name " + a1.toStdString());
    // The automation server counts from 1.
    return {cell->row + 1, cell->column + 1, text};
}

QList<AutomationCell> menuWormCells(const DesignRecord& d, const MenuFieldTexts& f)
{
    return head(d, f) + QList<AutomationCell>{
        cellAt("C5", number(d.EnclosedTeeth)),
        cellAt("C6", d.GeneratingPlaneTiltText),
        cellAt("C7", number(d.WorkingHalfAngle)),
        cellAt("C8", number(d.ThroatLeadAngle)),
        cellAt("C9", number(d.ProfileAngle)),
        cellAt("B10", RightHand),
        cellAt("B11", f.Edit9),
        cellAt("C12", number(d.WormNormalChordalThickness)),
        cellAt("C13", number(d.WormNormalChordalHeight)),
        cellAt("C14", f.Edit11),
        cellAt("C15", f.Edit12),
        cellAt("C17", f.Edit13),
        cellAt("C18", number3(d.ModifiedCentreDistance)),
        cellAt("C19", number(d.ModifiedRatio)),
        cellAt("C20", number3(d.ModifiedMainBaseDiameter)),
        cellAt("C21", number3(d.ModifiedGeneratingPlaneTilt)),
    };
}

QList<AutomationCell> menuWheelCells(const DesignRecord& d, const MenuFieldTexts& f)
{
    return head(d, f) + QList<AutomationCell>{
        cellAt("C5", number(d.ThroatLeadAngle)),
        cellAt("C6", number(d.ProfileAngle)),
        cellAt("C7", number(d.WorkingHalfAngle)),
        cellAt("C8", number(static_cast<long double>(d.ProfileAngle) - d.WorkingHalfAngle)),
        cellAt("C9", d.GeneratingPlaneTiltText),
        cellAt("B10", RightHand),
        cellAt("C11", number(d.EnclosedTeeth)),
        cellAt("C12", number(d.Backlash)),
        cellAt("C13", number(d.WheelNormalChordalHeight)),
        cellAt("C14", number(d.WheelNormalChordalThickness)),
        cellAt("C15", f.Edit1),
        cellAt("C16", QString()),
        cellAt("C17", number(d.MainBaseDiameter)),
    };
}

QList<AutomationCell> menuHobCells(const DesignRecord& d, const MenuFieldTexts& f)
{
    return head(d, f) + QList<AutomationCell>{
        cellAt("C5", number(d.HobEnclosedTeeth)),
        cellAt("C6", d.GeneratingPlaneTiltText),
        cellAt("C7", number(d.WorkingHalfAngle)),
        cellAt("C8", number(d.ThroatLeadAngle)),
        cellAt("C9", number(d.ProfileAngle)),
        cellAt("B10", RightHand),
        cellAt("B11", f.Edit10),
        cellAt("C12", number(static_cast<long double>(d.WormNormalChordalThickness) + d.Backlash)),
        cellAt("C13", number(d.HobNormalChordalHeight)),
    };
}

} // namespace tpworm::documents
