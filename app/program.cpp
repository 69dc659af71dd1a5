#include "app/program.h"

#include "app/tform1.h"
#include "app/tform6.h"
#include "documents/tform2.h"
#include "rules/tform5.h"
#include "support/tform7.h"

namespace tpworm {

std::unique_ptr<TForm1> createWindows(const ProgramContext& context)
{
    auto form1 = std::make_unique<TForm1>(context);
    form1->FormCreate();
    form1->createSecondaryWindows();
    return form1;
}

void TForm1::createSecondaryWindows()
{
    Form2 = new TForm2(this);
    Form5 = new TForm5(*this, this);
    Form6 = new TForm6(this);
    Form7 = new TForm7(this);
}

} // namespace tpworm
