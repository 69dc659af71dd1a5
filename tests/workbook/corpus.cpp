#include "corpus.h"

#include "core/numeric.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace tpworm::workbook::testing {

QString corpusDir()
{
    return QStringLiteral(TPWORM_CORPUS_DIR "");
}

QStringList validCorpusFiles()
{
    return QDir(corpusDir()).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name);
}

QStringList badCorpusFiles()
{
    QStringList paths;
    const QDir bad(corpusDir() + QStringLiteral("/bad"));
    for (const QString& name : bad.entryList(QDir::Files, QDir::Name))
        paths << bad.filePath(name);
    return paths;
}

const QJsonObject& expectedSheets()
{
    static const QJsonObject sheets = [] {
        QFile file(corpusDir() + QStringLiteral("/expected-sheet0.json"));
        if (!file.open(QIODevice::ReadOnly)) return QJsonObject();
        return QJsonDocument::fromJson(file.readAll()).object();
    }();
    return sheets;
}

QString textOfXlrdCell(const QJsonObject& cell)
{
    const QString type = cell.value(QStringLiteral("type")).toString();
    const QJsonValue value = cell.value(QStringLiteral("value"));
    if (type == QStringLiteral("number") || type == QStringLiteral("date"))
        return FloatToStr(value.toDouble());
    if (type == QStringLiteral("bool"))
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return value.toString(); // text, error
}

QMap<QString, QString> expectedTexts(const QString& fileName)
{
    QMap<QString, QString> texts;
    const QJsonObject cells = expectedSheets().value(fileName).toObject().value(QStringLiteral("cells")).toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QString text = textOfXlrdCell(it.value().toObject());
        if (!text.isEmpty()) texts.insert(it.key(), text);
    }
    return texts;
}

} // namespace tpworm::workbook::testing
