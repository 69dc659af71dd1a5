// The words of the 3D models, the same with or without OpenCASCADE.
#include "model/occt/model_files.h"

#include <QStringList>

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

QString solidReferenceText(const SolidReferenceValues& values)
{
    QStringList parts;
    if (values.stubLength > 0)
        parts << QStringLiteral("shaft stubs %1 mm long").arg(values.stubLength, 0, 'f', 0);
    if (values.shoulderDiameter > 0)
        parts << QStringLiteral("shoulder diameter %1 mm").arg(values.shoulderDiameter, 0, 'f', 3);
    if (values.rimBore > 0)
        parts << QStringLiteral("rim bore %1 mm").arg(values.rimBore, 0, 'f', 3);
    return parts.isEmpty() ? QString()
                           : QStringLiteral("reference values, not from the design: %1").arg(parts.join(QLatin1String("; ")));
}

QString solidModelsUnavailableText()
{
    return QStringLiteral("三维模型需要 OpenCASCADE：本程序编译时未带 OpenCASCADE，无法生成 STEP 文件。");
}

} // namespace tpworm::model
