// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::Edit1Change() {}
void TForm1::Edit3Change() {}
void TForm1::Edit4Change() {}

} // namespace tpworm
