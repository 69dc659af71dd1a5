// The duty in the design file: column D of the first sheet, which the
// file's own layout (A1 ... A14) does not use, so a file with a duty opens
// unchanged in every reader of that layout and an old file simply has none.
//
//   D1 P1 kW      D2 n1 r/min   D3 material-pair key (empty: μ typed)
//   D4 μ typed    D5 ta °C      D6 tlim °C    D7 αs W/(m²·°C)
//   D8 S m² (empty: the estimate)             D9 ηo
//   D10 the mark kDutyMark: the cells above hold a duty
//
// Every cell is a text cell holding the field's text as typed.
#pragma once

#include "documents/cell_maps.h"
#include "rating/rating.h"

#include <optional>

namespace tpworm::rating {

inline constexpr int kDutyColumn = 3; // D
inline const QString kDutyMark = QStringLiteral("tpworm-duty-1");

QList<documents::CellText> dutyCells(const DutyTexts& duty);
// The duty a file holds; none when D10 is not the mark (an old file).
std::optional<DutyTexts> readDutyCells(const documents::CellReader& get);

} // namespace tpworm::rating
