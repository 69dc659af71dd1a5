// The accuracy grade: grade text, standard backlash and the six tolerance
// texts of the grade-table row whose centre-distance range holds the centre
// distance, looked up by the core through the window's per-use connection.
#include "app/tform1.h"

#include "calc/form_adapter.h"

namespace tpworm {

void TForm1::ComboBox1Change()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource& rules) { m.ComboBox1Change(rules); });
}

void TForm1::CheckBox2Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource& rules) { m.CheckBox2Click(rules); });
}

} // namespace tpworm
