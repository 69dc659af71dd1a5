#include "rating/duty_cells.h"

namespace tpworm::rating {

namespace {

// A34 ... A42 in order.
std::array<QString DutyTexts::*, 9> members()
{
    return {&DutyTexts::inputPower, &DutyTexts::wormSpeed,    &DutyTexts::material,
            &DutyTexts::friction,   &DutyTexts::ambient,      &DutyTexts::oilLimit,
            &DutyTexts::heatTransfer, &DutyTexts::housingArea, &DutyTexts::otherEfficiency};
}

} // namespace

QList<documents::CellText> dutyCells(const DutyTexts& duty)
{
    QList<documents::CellText> cells;
    int row = kDutyFirstRow;
    for (QString DutyTexts::*member : members())
        cells.append({kDutyColumn, row++, duty.*member});
    cells.append({kDutyColumn, row, kDutyMark});
    return cells;
}

std::optional<DutyTexts> readDutyCells(const documents::CellReader& get)
{
    if (get(kDutyColumn, kDutyFirstRow + 9) != kDutyMark)
        return std::nullopt;
    DutyTexts duty;
    int row = kDutyFirstRow;
    for (QString DutyTexts::*member : members())
        duty.*member = get(kDutyColumn, row++);
    return duty;
}

} // namespace tpworm::rating
