// The accuracy grade: grade text, standard backlash and the six tolerance
// texts of the grade-table row whose centre-distance range holds the centre
// distance. The look-up runs on every keystroke of the centre distance and
// fails silently: a partial or unreadable centre distance, a missing table or
// a distance outside every range leaves everything as it was.
#include "app/tform1.h"

#include "core/numeric.h"
#include "calc/recommend.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <exception>

namespace tpworm {

void TForm1::ComboBox1Change()
{
    if (Edit1->text().isEmpty())
        return;
    ADOTable2.Close();
    // With no grade selected the table of the previous look-up stays.
    const QString table = recommend::gradeTableName(ComboBox1->currentText());
    if (!table.isEmpty())
        ADOTable2.SetTableName(table);
    try {
        ADOConnection1.Close();
        ADOConnection1.SetConnectionString(rules::connectionString(Design.ConnectionPrefix, rulesDatabasePath()));
        ADOConnection1.Open();
        ADOTable2.Open();
        const long double a = StrToFloat(Edit1->text());
        const int row = ADOTable2.RangeSearch(a);
        if (StrToFloat(ADOTable2.Text(row, 1)) < a && StrToFloat(ADOTable2.Text(row, 2)) >= a) {
            const QString grade = ComboBox1->currentText();
            if (CheckBox2->isChecked()) {
                Edit8->setText(ADOTable2.Text(row, 16));
                Edit9->setText(recommend::gradeText(grade, true));
            } else {
                Edit9->setText(recommend::gradeText(grade, false));
            }
            // In this order, so that a table with too few columns keeps the
            // texts read before the missing one.
            Design.GradeTolerance3 = ADOTable2.Text(row, 3);
            Design.GradeTolerance4 = ADOTable2.Text(row, 4);
            Design.GradeTolerance8 = ADOTable2.Text(row, 8);
            Design.GradeTolerance9 = ADOTable2.Text(row, 9);
            Design.GradeTolerance10 = ADOTable2.Text(row, 10);
            Design.GradeTolerance11 = ADOTable2.Text(row, 11);
        }
    } catch (const std::exception&) {
        // Silent by design: the centre-distance field reports its own errors.
    }
    ADOTable2.Close();
}

void TForm1::CheckBox2Click() { ComboBox1Change(); }

} // namespace tpworm
