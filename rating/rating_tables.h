// The two tables of the rules database the drive check reads: friction
// (μ against sliding speed by material pair) and rated_power (the user's
// rated input powers; shipped empty). Their layout is documented in
// data/rules/db1.sql and in the manual.
#pragma once

#include "rating/rating.h"

namespace tpworm::rating {

inline const QString kFrictionTable = QStringLiteral("friction");
inline const QString kRatedPowerTable = QStringLiteral("rated_power");

struct RatingTables {
    QList<FrictionCurve> friction;  // in the order of their first rows
    QList<RatedPowerRow> ratedPower; // empty: no strength rating
    // A rules file from before these tables has neither; the check still runs
    // with a typed μ and says that the strength rating is not computed.
    bool frictionTableFound = false;
    bool ratedPowerTableFound = false;
};

// Reads both tables from the database file, read-only. RatingError for a
// file that cannot be opened and for a row that is not usable (the message
// names the table and the row): a speed that is not above the previous one
// of its material, a μ or a power that is not positive.
RatingTables loadRatingTables(const QString& databasePath);

} // namespace tpworm::rating
