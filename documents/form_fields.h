// The field texts of the main window that the documents store and print.
#pragma once

#include "documents/cell_maps.h"

namespace tpworm {
class TForm1;
}

namespace tpworm::documents {

FieldTexts readFieldTexts(const TForm1& form);

} // namespace tpworm::documents
