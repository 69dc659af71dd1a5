// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::RunUpdateCheck() {}
void TForm1::N20Click() {}
void TForm1::N21Click() {}
void TForm1::N22Click() {}
void TForm1::N23Click() {}
void TForm1::N24Click() {}
void TForm1::N2Click() {}
void TForm1::N18Click() {}
void TForm1::Timer1Timer() {}
void TForm1::Timer2Timer() {}

} // namespace tpworm
