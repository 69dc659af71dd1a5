// The calculate command: recommended parameters from the typed drive data,
// the tip reliefs from the relief tables, the first calculation and the lock
// of the drive data once it calculated (the sequence is the core's).
#include "app/tform1.h"

#include "calc/form_adapter.h"

namespace tpworm {

void TForm1::SpeedButton2Click()
{
    calc::runFormCommand(*this, [](core::DesignForm& m, rules::RulesSource& rules) { m.SpeedButton2Click(rules); });
}

} // namespace tpworm
