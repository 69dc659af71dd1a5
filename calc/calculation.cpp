// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::Button1Click() {}

} // namespace tpworm
