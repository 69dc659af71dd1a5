// The drive data as it is typed: the grade look-up and the basis hints follow
// the centre distance, the ratio follows teeth and starts (the sequences are
// the core's).
#include "app/tform1.h"

#include "calc/form_adapter.h"

namespace tpworm {

void TForm1::Edit1Change()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource& rules) { m.Edit1Change(rules); });
}

void TForm1::Edit3Change()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource&) { m.Edit3Change(); });
}

void TForm1::Edit4Change()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource&) { m.Edit4Change(); });
}

} // namespace tpworm
