// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::SpeedButton3Click() {}
void TForm1::SpeedButton4Click() {}
void TForm1::CheckBox1Click() {}

} // namespace tpworm
