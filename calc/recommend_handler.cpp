// The calculate command: recommended parameters from the typed drive data,
// the tip reliefs from the relief tables, the lock of the drive data and the
// first calculation.
#include "app/tform1.h"

#include "core/numeric.h"
#include "calc/recommend.h"

#include <QLineEdit>
#include <QToolButton>

#include <exception>

namespace tpworm {

namespace {

const QString kCalculateMessage = QStringLiteral("您输入的内容不符合要求,请输入合法数字且不能为空...");
const QString kReliefSeparator = QStringLiteral(" * ");

// Reads a diameter field back as an integer and writes it snapped.
void snapField(QLineEdit* field)
{
    field->setText(IntToStr(recommend::snapToFive(StrToInt(field->text()))));
}

// Worm reference circle, main base circle, grinding increment and tip
// eccentricity, written in that order. Returns the ratio the relief choice
// uses: 0 when the centre distance or the ratio is missing and nothing is
// recommended.
double writeRecommendedValues(TForm1& f)
{
    if (f.Edit1->text().isEmpty() || f.Edit2->text().isEmpty())
        return 0.0;
    ClearFaults();
    const double i = static_cast<double>(StrToFloat(f.Edit2->text()));
    FaultCheck();
    const long double a = StrToFloat(f.Edit1->text());
    const double n0 = f.Design.RuleCoefficients[0];

    f.Edit7->setText(IntToStr(recommend::referenceDiameter(a, i, n0)));
    snapField(f.Edit7);
    f.Edit5->setText(IntToStr(recommend::mainBaseDiameter(a, i)));
    snapField(f.Edit5);
    f.Edit13->setText(FloatToStr(recommend::grindingIncrement(StrToFloat(f.Edit3->text()))));
    f.Edit6->setText(recommend::tipEccentricityText(StrToFloat(f.Edit5->text()), i));
    return i;
}

// Entry and exit relief: the amounts from xiuyuan by centre distance and
// ratio, then the lengths from xiuyuanchangdu by wheel teeth.
void writeReliefs(TForm1& f, double ratio)
{
    f.ADOConnection1.Close();
    f.ADOConnection1.SetConnectionString(rules::connectionString(f.Design.ConnectionPrefix, f.rulesDatabasePath()));
    f.ADOConnection1.Open();

    f.ADOTable4.Open();
    const int amountRow = recommend::coveringRow(f.ADOTable4.Data(), StrToFloat(f.Edit1->text()));
    f.Edit11->setText(f.ADOTable4.Text(amountRow, recommend::entryReliefColumn(ratio)));
    f.ADOTable4.Close();
    f.Edit12->setText(FloatToStr(recommend::exitReliefAmount(StrToFloat(f.Edit11->text()))));

    f.ADOTable3.Open();
    const int lengthRow = recommend::coveringRow(f.ADOTable3.Data(), StrToInt(f.Edit3->text()));
    f.Edit11->setText(f.Edit11->text() + kReliefSeparator + f.ADOTable3.Text(lengthRow, 3));
    f.Edit12->setText(f.Edit12->text() + kReliefSeparator + f.ADOTable3.Text(lengthRow, 4));
    f.ADOTable3.Close();
}

// From here on the drive data of this design stays as it is; a new
// design starts the program afresh.
void lockDriveData(TForm1& f)
{
    f.Edit1->setEnabled(false);
    f.Edit3->setEnabled(false);
    f.Edit4->setEnabled(false);
    f.SpeedButton2->setEnabled(false);
}

} // namespace

void TForm1::SpeedButton2Click()
{
    try {
        const double ratio = writeRecommendedValues(*this);
        writeReliefs(*this, ratio);
        // Last, so that any failure above leaves the drive data editable.
        lockDriveData(*this);
    } catch (const std::exception&) {
        showMessage(kCalculateMessage);
        return;
    }
    // The calculation reports its own errors; editing is offered either way.
    Button1Click();
    SpeedButton3->setEnabled(true);
}

} // namespace tpworm
