#include "rating/duty_cells.h"

namespace tpworm::rating {

namespace {

// D1 ... D9 in order.
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
    int row = 0;
    for (QString DutyTexts::*member : members())
        cells.append({kDutyColumn, row++, duty.*member});
    cells.append({kDutyColumn, row, kDutyMark});
    return cells;
}

std::optional<DutyTexts> readDutyCells(const documents::CellReader& get)
{
    if (get(kDutyColumn, 9) != kDutyMark)
        return std::nullopt;
    DutyTexts duty;
    int row = 0;
    for (QString DutyTexts::*member : members())
        duty.*member = get(kDutyColumn, row++);
    return duty;
}

} // namespace tpworm::rating
