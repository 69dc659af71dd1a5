// The shared corpus of real workbooks and what an independent reader sees in them.
#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tpworm::workbook::testing {

QString corpusDir();
// The valid workbooks (file names) and the refused ones (paths).
QStringList validCorpusFiles();
QStringList badCorpusFiles();
// expected-sheet0.json, keyed by file name.
const QJsonObject& expectedSheets();
// The text the engine must give for each cell of the first sheet, by A1 name,
// empty texts left out.
QMap<QString, QString> expectedTexts(const QString& fileName);
// The text of an xlrd cell {"type", "value"} as the engine shows it.
QString textOfXlrdCell(const QJsonObject& cell);

} // namespace tpworm::workbook::testing
