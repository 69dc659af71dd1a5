// The words of the 3D models, the same with or without OpenCASCADE.
#include "model/occt/model_files.h"

namespace tpworm::model {

std::optional<SolidPart> solidPartFromWord(const QString& word)
{
    if (word == QLatin1String("worm"))
        return SolidPart::Worm;
    if (word == QLatin1String("wheel"))
        return SolidPart::Wheel;
    if (word == QLatin1String("pair"))
        return SolidPart::Pair;
    return std::nullopt;
}

QString solidModelsUnavailableText()
{
    return QStringLiteral("三维模型需要 OpenCASCADE：本程序编译时未带 OpenCASCADE，无法生成 STEP 文件。");
}

} // namespace tpworm::model
