#include "readers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include "core/cell_address.h"

namespace tpworm::testing {

namespace {

QString cellName(int column, int row) { return CellAddress{column, row}.name(); }

bool run(const QString& program, const QStringList& arguments, int timeoutMs, QByteArray* output, QString* error)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        *error = program + QStringLiteral(" did not start: ") + process.errorString();
        return false;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = program + QStringLiteral(" did not finish in time");
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAllStandardError());
        return false;
    }
    return true;
}

// The text of a cell of flat OpenDocument: its paragraphs joined by line
// breaks, <text:s/> standing for blanks.
QString readCellText(QXmlStreamReader& xml)
{
    QStringList paragraphs;
    QString current;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == u"p")
                current.clear();
            else if (xml.name() == u"s")
                current += QString(xml.attributes().value(QStringLiteral("text:c")).toInt() > 0 ? xml.attributes().value(QStringLiteral("text:c")).toInt() : 1, u' ');
            else if (xml.name() == u"tab")
                current += u'\t';
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == u"p")
                paragraphs << current;
        } else if (xml.isCharacters()) {
            current += xml.text();
        }
    }
    return paragraphs.join(u'\n');
}

void readTable(QXmlStreamReader& xml, ReadSheet& sheet)
{
    int row = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"table")
            return;
        if (!xml.isStartElement() || xml.name() != u"table-row")
            continue;
        const int rowRepeat = qMax(1, xml.attributes().value(QStringLiteral("table:number-rows-repeated")).toInt());
        int column = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"table-row")
                break;
            if (!xml.isStartElement())
                continue;
            const bool covered = xml.name() == u"covered-table-cell";
            if (!covered && xml.name() != u"table-cell")
                continue;
            const QXmlStreamAttributes a = xml.attributes();
            const int repeat = qMax(1, a.value(QStringLiteral("table:number-columns-repeated")).toInt());
            const QString type = a.value(QStringLiteral("office:value-type")).toString();
            const int columnsSpanned = a.value(QStringLiteral("table:number-columns-spanned")).toInt();
            const int rowsSpanned = a.value(QStringLiteral("table:number-rows-spanned")).toInt();
            const QString text = readCellText(xml);
            if (!covered && (columnsSpanned > 1 || rowsSpanned > 1))
                sheet.merged.append({row, row + qMax(1, rowsSpanned) - 1, column, column + qMax(1, columnsSpanned) - 1});
            // Empty cells may repeat across the whole sheet; only cells with
            // content are kept.
            if (!covered && (!type.isEmpty() || !text.isEmpty()))
                for (int r = 0; r < rowRepeat && r < 64; ++r)
                    for (int c = 0; c < repeat && c < 64; ++c)
                        sheet.cells.insert(cellName(column + c, row + r), {type, text, QString()});
            column += repeat;
        }
        row += rowRepeat;
    }
}

ReadBook readFlatOds(const QString& path)
{
    ReadBook book;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        book.error = QStringLiteral("LibreOffice wrote no ") + path;
        return book;
    }
    QXmlStreamReader xml(&file);
    bool firstLayout = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"page-layout-properties" && firstLayout) {
            const QXmlStreamAttributes a = xml.attributes();
            book.fitsOnePage = a.value(QStringLiteral("style:scale-to-pages")) == u"1"
                || (a.value(QStringLiteral("style:scale-to-X")) == u"1" && a.value(QStringLiteral("style:scale-to-Y")) == u"1");
            firstLayout = false;
        } else if (xml.name() == u"table" && xml.namespaceUri().endsWith(u"table:1.0")) {
            ReadSheet sheet;
            sheet.name = xml.attributes().value(QStringLiteral("table:name")).toString();
            readTable(xml, sheet);
            book.sheets.append(sheet);
        }
    }
    if (xml.hasError())
        book.error = path + QStringLiteral(": ") + xml.errorString();
    return book;
}

QString libreOfficeProgram()
{
    return QStringLiteral(TPWORM_SOFFICE);
}

QStringList libreOfficeArguments(const QString& profileDir)
{
    return {QStringLiteral("--headless"), QStringLiteral("--norestore"),
            QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profileDir).toString()};
}

} // namespace

bool runTestScript(const QString& script, const QStringList& arguments, QByteArray* output, QString* error)
{
    return run(QStringLiteral(TPWORM_PYTHON3), QStringList{QStringLiteral(TPWORM_TEST_SCRIPTS "/") + script} + arguments,
               60000, output, error);
}

ReadBook readWithXlrd(const QString& path)
{
    ReadBook book;
    QByteArray output;
    if (!runTestScript(QStringLiteral("xlrd_dump.py"), {path}, &output, &book.error))
        return book;
    const QJsonObject root = QJsonDocument::fromJson(output).object();
    if (root.value(u"biff").toInt() != 80)
        book.error = QStringLiteral("xlrd reads BIFF version %1, not 80").arg(root.value(u"biff").toInt());
    for (const QJsonValue& s : root.value(u"sheets").toArray()) {
        ReadSheet sheet;
        sheet.name = s[u"name"].toString();
        const QJsonObject cells = s[u"cells"].toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonObject c = it.value().toObject();
            const QJsonValue v = c.value(u"value");
            const QString text = v.isString() ? v.toString() : QString::number(v.toDouble(), 'g', 17);
            sheet.cells.insert(it.key(), {c.value(u"type").toString(), text, c.value(u"format").toString()});
        }
        for (const QJsonValue& m : s[u"merged"].toArray()) {
            const QJsonArray r = m.toArray();
            // xlrd gives half-open ranges: rlo, rhi, clo, chi.
            sheet.merged.append({r[0].toInt(), r[1].toInt() - 1, r[2].toInt(), r[3].toInt() - 1});
        }
        book.sheets.append(sheet);
    }
    return book;
}

QString convertWithLibreOffice(const QString& path, const QString& filter, const QString& extension,
                               const QString& outputDir, QString* error)
{
    QTemporaryDir profile;
    const QStringList arguments = libreOfficeArguments(profile.path())
        + QStringList{QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outputDir, path};
    if (!run(libreOfficeProgram(), arguments, 180000, nullptr, error))
        return QString();
    const QString output = QDir(outputDir).filePath(QFileInfo(path).completeBaseName() + QLatin1Char('.') + extension);
    if (!QFile::exists(output)) {
        *error = QStringLiteral("LibreOffice wrote no ") + output;
        return QString();
    }
    return output;
}

QList<ReadBook> readWithLibreOffice(const QStringList& paths)
{
    QTemporaryDir profile;
    QTemporaryDir out;
    QList<ReadBook> books;
    QString error;
    const QStringList arguments = libreOfficeArguments(profile.path())
        + QStringList{QStringLiteral("--convert-to"), QStringLiteral("fods"), QStringLiteral("--outdir"), out.path()} + paths;
    const bool converted = run(libreOfficeProgram(), arguments, 300000, nullptr, &error);
    for (const QString& path : paths) {
        if (!converted) {
            books.append(ReadBook{{}, false, error});
            continue;
        }
        books.append(readFlatOds(QDir(out.path()).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".fods"))));
    }
    return books;
}

} // namespace tpworm::testing
