// Scaffold: the owner of this folder replaces these bodies.
#include "app/tform1.h"

namespace tpworm {

void TForm1::Edit1Change() {}
void TForm1::Edit3Change() {}
void TForm1::Edit4Change() {}
void TForm1::ComboBox1Change() {}
void TForm1::CheckBox2Click() {}
void TForm1::Button1Click() {}
void TForm1::SpeedButton2Click() {}
void TForm1::SpeedButton3Click() {}
void TForm1::SpeedButton4Click() {}
void TForm1::CheckBox1Click() {}

} // namespace tpworm
