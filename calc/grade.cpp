// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::ComboBox1Change() {}
void TForm1::CheckBox2Click() {}

} // namespace tpworm
