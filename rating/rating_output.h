// The drive check as the command line writes it: the `rating` object of
// `tpworm-cli rate --json`, and the short set of columns a table of designs
// shows per design (efficiency, output torque, oil temperature, thermal
// verdict), so that `rate`, `batch`, `sweep` and the variants window all
// write the same keys from one place.
#pragma once

#include "rating/rating.h"

#include <QJsonObject>
#include <QStringList>

#include <string>

namespace tpworm::rating {

// Every key of the `rating` object, numbers unrounded (see docs/cli.md).
QJsonObject ratingJson(const DriveValues& design, const Rating& rating);

// The same object written as QJsonDocument writes it compact, appended to
// out: a batch writes one per design.
void appendRatingJson(std::string& out, const DriveValues& design, const Rating& rating);
// A number as QJsonDocument writes a QJsonValue holding it.
void appendJsonNumber(std::string& out, double value);

// The columns of a design table under a duty, in order: efficiency,
// output_torque, oil_temperature, thermal_ok, self_locking, service_factor.
QStringList ratingColumnNames();
// Their values as text for CSV: numbers in full (FloatToStr), "yes"/"no",
// an empty text for a service factor not computed.
QStringList ratingColumnTexts(const Rating& rating);

} // namespace tpworm::rating
