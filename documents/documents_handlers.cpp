// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::N11Click() {}
void TForm1::ToolButton3Click() {}
void TForm1::N5Click() {}
void TForm1::ToolButton11Click() {}
void TForm1::ToolButton13Click() {}
void TForm1::ToolButton5Click() {}
void TForm1::ToolButton1Click() {}
void TForm1::ToolButton4Click() {}

} // namespace tpworm
