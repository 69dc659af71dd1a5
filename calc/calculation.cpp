// The geometry calculation's handler: the core runs the calculation and
// decides which results and commands are shown.
#include "app/tform1.h"

#include "calc/form_adapter.h"

namespace tpworm {

void TForm1::Button1Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource&) { m.Button1Click(); });
}

} // namespace tpworm
