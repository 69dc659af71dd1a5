// The duty options of the commands that check a design under a duty (rate,
// report, batch, sweep): --power --speed --material --friction --ambient --oil-limit
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

// The one reader of the duty options: reads the option at arguments[k] (and
// its value, advancing k) into duty when it is one of them (each replaces the
// value it names; a material pair takes the table again after a --friction);
// false for any other argument. --material-pair KEY names the pair for every
// command. UsageError for an option without its value.
bool parseDutyOption(const QStringList& arguments, int& k, rating::DutyTexts& duty, MaterialOption material);

// Takes the duty options out of arguments into duty, as parseDutyOption
// reads them. True when any was given.
bool takeDutyOptions(QStringList& arguments, rating::DutyTexts& duty, MaterialOption material);

// The duty a design file holds, as the window saved it; none when it holds
// none or cannot be read (opening the design reports that).
std::optional<rating::DutyTexts> dutyInFile(const QString& file);

} // namespace tpworm::cli
