// Editing the recommended parameters and calculating again. Nothing is
// derived here: the calculation reads the fields as the user left them.
#include "app/tform1.h"

#include "calc/form_adapter.h"

namespace tpworm {

void TForm1::SpeedButton3Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource&) { m.SpeedButton3Click(); });
}

void TForm1::SpeedButton4Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource& rules) { m.SpeedButton4Click(rules); });
}

void TForm1::CheckBox1Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource&) { m.CheckBox1Click(); });
}

} // namespace tpworm
