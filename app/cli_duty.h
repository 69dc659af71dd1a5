// The duty options of the commands that check a design under a duty (rate,
// report): --power --speed --material --friction --ambient --oil-limit
// --heat-transfer --housing-area --other-efficiency, and the duty a design
// file holds (A34 ... A43), so that every command reads them alike.
#pragma once

#include "rating/rating.h"

#include <QStringList>

#include <optional>

namespace tpworm::cli {

// Where --material names the material pair: rate; report has --material for
// the title block, so there the pair is only --material-pair.
enum class MaterialOption { MaterialPair, TitleBlock };

// Takes the duty options out of arguments into duty (each replaces the
// value it names; a material pair takes the table again after a --friction).
// --material-pair KEY names the pair for every command. True when any was
// given. UsageError for an option without its value.
bool takeDutyOptions(QStringList& arguments, rating::DutyTexts& duty, MaterialOption material);

// The duty a design file holds, as the window saved it; none when it holds
// none or cannot be read (opening the design reports that).
std::optional<rating::DutyTexts> dutyInFile(const QString& file);

} // namespace tpworm::cli
