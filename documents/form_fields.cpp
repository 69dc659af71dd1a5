#include "documents/form_fields.h"

#include "app/tform1.h"

#include <QCheckBox>
#include <QLineEdit>

namespace tpworm::documents {

FieldTexts readFieldTexts(const TForm1& form)
{
    const std::array<const QLineEdit*, 13> edits{form.Edit1, form.Edit2, form.Edit3, form.Edit4, form.Edit5,
                                                 form.Edit6, form.Edit7, form.Edit8, form.Edit9, form.Edit10,
                                                 form.Edit11, form.Edit12, form.Edit13};
    FieldTexts fields;
    for (std::size_t i = 0; i < edits.size(); ++i)
        fields.edits[i] = edits[i]->text();
    fields.wholeTeeth = form.CheckBox1->isChecked();
    return fields;
}

} // namespace tpworm::documents
