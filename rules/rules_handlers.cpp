// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::LoadRuleCoefficients() {}
void TForm1::N13Click() {}
void TForm1::N15Click() {}
void TForm1::N16Click() {}
void TForm1::N17Click() {}

} // namespace tpworm
