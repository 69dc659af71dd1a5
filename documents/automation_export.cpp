// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::N3Click() {}
void TForm1::N14Click() {}
void TForm1::N4Click() {}
void TForm1::Button6Click() {}
void TForm1::Button13Click() {}
void TForm1::Button11Click() {}

} // namespace tpworm
