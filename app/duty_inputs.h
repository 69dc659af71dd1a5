// The duty inputs the drive check window and the variants window both carry.
// Each window owns its fields (their object names are its own); this binds
// them so that filling the material list, reading the duty and writing it
// back happen one way in both windows.
#pragma once

#include "rating/rating.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace tpworm {

struct DutyInputs {
    QLineEdit* power = nullptr;
    QLineEdit* speed = nullptr;
    QComboBox* material = nullptr;
    QLineEdit* friction = nullptr;
    QLineEdit* ambient = nullptr;
    QLineEdit* oilLimit = nullptr;
    // Only the drive check window carries these; the variants window takes
    // them from that window.
    QLineEdit* heatTransfer = nullptr;
    QLineEdit* housingArea = nullptr;
    QLineEdit* otherEfficiency = nullptr;

    // Refills the material list from the rules database, keeping the pair
    // chosen before (the first pair of the table on the first fill), with
    // "typed μ" last. Returns why the table could not be read, or an empty
    // text; μ can still be typed then.
    QString reloadMaterials(const QString& rulesDatabasePath) const;
    // μ can be typed only when no material pair is chosen.
    void materialChanged() const;
    void write(const rating::DutyTexts& duty) const;
    // The fields carried here over `base`.
    rating::DutyTexts read(rating::DutyTexts base = {}) const;
};

} // namespace tpworm
