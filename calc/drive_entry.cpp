// The drive data as it is typed: the grade look-up and the basis
// hints follow the centre distance, the ratio follows teeth and starts.
#include "app/tform1.h"

#include "core/numeric.h"
#include "calc/recommend.h"
#include "core/translation.h"

#include <QLabel>
#include <QLineEdit>

#include <exception>

namespace tpworm {

namespace {

const QString kCentreDistanceMessage = QStringLiteral("输入参数有误，请输入合法有效的数字.........");
const QString kTeethStartsMessage = QStringLiteral("参数输入不合法，请输入合法参数.........");

// teeth / starts, both read as decimal numbers (a teeth text of 40.5 still
// gives a ratio; the calculation rejects it later).
QString ratioText(const QString& teeth, const QString& starts)
{
    const long double z2 = StrToFloat(teeth);
    const long double z1 = StrToFloat(starts);
    ClearFaults();
    const long double ratio = z2 / z1;
    FaultCheck();
    return FloatToStr(ratio);
}

} // namespace

void TForm1::Edit1Change()
{
    ComboBox1Change();
    if (Edit1->text().isEmpty())
        return;
    try {
        const long double a = StrToFloat(Edit1->text());
        // Each hint is set as soon as it is known: a failure of the second
        // leaves the first showing the new basis.
        Label46->setText(uiText(recommend::kBasisPrefix) + IntToStr(recommend::mainBaseBasis(a)));
        Label47->setText(uiText(recommend::kBasisPrefix) + IntToStr(recommend::referenceBasis(a, Design.RuleCoefficients[0])));
    } catch (const std::exception&) {
        showMessage(kCentreDistanceMessage);
    }
}

void TForm1::Edit3Change()
{
    if (Edit3->text().isEmpty() || Edit4->text().isEmpty())
        return;
    try {
        Edit2->setText(ratioText(Edit3->text(), Edit4->text()));
    } catch (const std::exception&) {
        showMessage(kTeethStartsMessage);
        // Each clearing runs this handler again; those runs find an empty
        // field and stop, so the message is shown once.
        Edit3->setText(QString());
        Edit4->setText(QString());
    }
}

void TForm1::Edit4Change() { Edit3Change(); }

} // namespace tpworm
