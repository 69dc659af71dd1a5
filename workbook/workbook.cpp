// Placeholder until the engine lands: every operation reports that it cannot work.
#include "workbook.h"

namespace tpworm::workbook {

struct Workbook::Impl {
    QString fileName;
};

WorkbookError::WorkbookError(const QString& message) : std::runtime_error(message.toStdString()) {}

Workbook::Workbook() : d(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;
void Workbook::SetFileName(const QString& path) { d->fileName = path; }
QString Workbook::FileName() const { return d->fileName; }
void Workbook::Load() { throw WorkbookError(QStringLiteral("workbook engine not built yet")); }
void Workbook::LoadFromBuffer(const QByteArray&) { throw WorkbookError(QStringLiteral("workbook engine not built yet")); }
bool Workbook::IsLoaded() const { return false; }
QString Workbook::GetCellText(int, int) const { return QString(); }
void Workbook::SetCellText(int, int, const QString&) { throw WorkbookError(QStringLiteral("workbook engine not built yet")); }
void Workbook::Save() { throw WorkbookError(QStringLiteral("workbook engine not built yet")); }
QByteArray Workbook::SaveToBuffer() const { throw WorkbookError(QStringLiteral("workbook engine not built yet")); }

} // namespace tpworm::workbook
