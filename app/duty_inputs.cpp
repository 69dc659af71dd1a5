#include "app/duty_inputs.h"

#include "rating/rating_tables.h"

#include <QComboBox>
#include <QLineEdit>

namespace tpworm {

namespace {
// The last item of the material list: μ typed in its own field.
const QString kTypedFriction = QStringLiteral("直接输入摩擦系数 μ");
}

QString DutyInputs::reloadMaterials(const QString& rulesDatabasePath) const
{
    const QVariant current = material->count() > 0 ? material->currentData() : QVariant();
    QString problem;
    material->blockSignals(true);
    material->clear();
    try {
        for (const rating::FrictionCurve& c : rating::loadRatingTables(rulesDatabasePath).friction)
            material->addItem(c.name, c.key);
    } catch (const rating::RatingError& e) {
        problem = e.message();
    }
    material->addItem(kTypedFriction, QString());
    const int again = current.isValid() ? material->findData(current) : -1;
    material->setCurrentIndex(again >= 0 ? again : 0);
    material->blockSignals(false);
    materialChanged();
    return problem;
}

void DutyInputs::materialChanged() const { friction->setEnabled(material->currentData().toString().isEmpty()); }

void DutyInputs::write(const rating::DutyTexts& d) const
{
    power->setText(d.inputPower);
    speed->setText(d.wormSpeed);
    const int index = material->findData(d.friction.isEmpty() ? d.material : QString());
    if (index >= 0)
        material->setCurrentIndex(index);
    friction->setText(d.friction);
    ambient->setText(d.ambient);
    oilLimit->setText(d.oilLimit);
    if (heatTransfer)
        heatTransfer->setText(d.heatTransfer);
    if (housingArea)
        housingArea->setText(d.housingArea);
    if (otherEfficiency)
        otherEfficiency->setText(d.otherEfficiency);
    materialChanged();
}

rating::DutyTexts DutyInputs::read(rating::DutyTexts d) const
{
    d.inputPower = power->text();
    d.wormSpeed = speed->text();
    d.material = material->currentData().toString();
    d.friction = d.material.isEmpty() ? friction->text() : QString();
    d.ambient = ambient->text();
    d.oilLimit = oilLimit->text();
    if (heatTransfer)
        d.heatTransfer = heatTransfer->text();
    if (housingArea)
        d.housingArea = housingArea->text();
    if (otherEfficiency)
        d.otherEfficiency = otherEfficiency->text();
    return d;
}

} // namespace tpworm
