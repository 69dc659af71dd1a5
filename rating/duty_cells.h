// The duty in the design file: column A below the rule record (A16 ... A32),
// rows the file's own layout (A1 ... A14) does not use, so a file with a duty
// opens unchanged in every reader of that layout and an old file simply has
// none. (Column D holds the template's note in D1.) The template names each
// row in column B.
//
//   A34 P1 kW      A35 n1 r/min   A36 material-pair key (empty: μ typed)
//   A37 μ typed    A38 ta °C      A39 tlim °C    A40 αs W/(m²·°C)
//   A41 S m² (empty: the estimate)              A42 ηo
//   A43 the mark kDutyMark: the cells above hold a duty
//
// Every cell is a text cell holding the field's text as typed.
#pragma once

#include "documents/cell_maps.h"
#include "rating/rating.h"

#include <optional>

namespace tpworm::rating {

inline constexpr int kDutyColumn = 0; // A
inline constexpr int kDutyFirstRow = 33; // A34, counted from 0
inline const QString kDutyMark = QStringLiteral("tpworm-duty-1");

QList<documents::CellText> dutyCells(const DutyTexts& duty);
// The duty a file holds; none when D10 is not the mark (an old file).
std::optional<DutyTexts> readDutyCells(const documents::CellReader& get);

} // namespace tpworm::rating
