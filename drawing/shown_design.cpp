#include "drawing/shown_design.h"

#include "calc/geometry.h"
#include "core/numeric.h"

namespace tpworm::drawing {

const ShownResult* ShownDesign::result(int label) const
{
    for (const ShownGroup& group : groups)
        for (const ShownResult& r : group.results)
            if (r.label == label)
                return &r;
    return nullptr;
}

QString ShownDesign::value(int label) const
{
    const ShownResult* r = result(label);
    if (!r)
        return QString();
    const QString suffix = calc::resultSuffix(label);
    return !suffix.isEmpty() && r->caption.endsWith(suffix) ? r->caption.chopped(suffix.size()) : r->caption;
}

double ShownDesign::number(int label) const
{
    try {
        return double(StrToFloat(value(label)));
    } catch (const ConvertError&) {
        return 0;
    }
}

} // namespace tpworm::drawing
