// tpworm-manual: generates the five documents of the design manual from the
// readable sources in data/manual, the rules database and the program's own
// calculation. Run at build time on the offscreen platform.
//
//   tpworm-manual --sources DIR --database db1.mdb --output DIR [document ...]
#include "drawings.h"
#include "example_design.h"
#include "manual_content.h"
#include "rules_snapshot.h"

#include "app/version.h"
#include "core/safe_file.h"
#include "drawing/pdf_book.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <cstdio>
#include <map>

namespace {

using namespace tpworm::manual;
using tpworm::drawing::DrawingPainter;
using tpworm::drawing::PdfBook;

struct Document {
    const char* name;  // file name without extension
    const char* title; // shown in every page header
};

const Document kDocuments[] = {
    {"canshu", "推荐参数"}, {"jishu", "技术资料"}, {"jingdu", "传动精度"}, {"tuzhi", "制图示例"}, {"xiuxing", "修形原理"},
};

QString readSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ManualError(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

DrawingPainter drawingOf(const QString& name, const ExampleDesign& design)
{
    using Draw = void (*)(QPainter&, const QRectF&, int, const ExampleDesign&);
    static const std::map<QString, Draw> drawings = {
        {"worm", drawWorm}, {"wheel", drawWheel}, {"hob", drawHob}, {"modification", drawModification}};
    const auto it = drawings.find(name);
    if (it == drawings.end())
        throw ManualError(QStringLiteral("unknown drawing {{drawing:%1}}").arg(name));
    const Draw draw = it->second;
    return [draw, &design](QPainter& p, const QRectF& area, int dpi) { draw(p, area, dpi, design); };
}

// Whether a piece of the source shows any text: the closing tags after the
// last drawing make no page of their own.
bool hasText(const QString& html)
{
    return !QTextDocumentFragment::fromHtml(html).toPlainText().trimmed().isEmpty();
}

// A source is HTML text with {{drawing:name}} marks where a drawing page of
// its own interrupts the text.
void generate(const Document& document, const QString& sources, const QString& output, const ContentData& data)
{
    const QString source = readSource(QDir(sources).filePath(QString::fromLatin1(document.name) + ".html"));
    PdfBook book(tpworm::kProductTitle + QStringLiteral("  设计手册"), QString::fromUtf8(document.title));
    static const QRegularExpression drawing(QStringLiteral(R"(\{\{drawing:([a-z]+)\}\})"));
    qsizetype last = 0;
    for (auto it = drawing.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString text = source.mid(last, m.capturedStart() - last);
        if (hasText(text))
            book.addText(fillPlaceholders(text, data));
        book.addDrawing(m.captured(1), drawingOf(m.captured(1), data.example));
        last = m.capturedEnd();
    }
    const QString rest = source.mid(last);
    if (hasText(rest))
        book.addText(fillPlaceholders(rest, data));
    const QString target = QDir(output).filePath(QString::fromLatin1(document.name) + ".pdf");
    const tpworm::WriteOutcome written = tpworm::writeFileAtomically(target, book.render());
    if (!written.ok())
        throw ManualError(QStringLiteral("cannot write %1: %2").arg(target, written.error));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"sources", "Folder of the readable sources.", "dir"});
    parser.addOption({"database", "The rules database.", "file"});
    parser.addOption({"output", "Folder the documents are written to.", "dir"});
    parser.addPositionalArgument("document", "canshu, jishu, jingdu, tuzhi, xiuxing (default: all).");
    parser.process(app);
    try {
        const QString sources = parser.value("sources"), output = parser.value("output");
        const RulesSnapshot rules = readRules(parser.value("database"));
        const ExampleDesign example = calculateExample(QDir(sources).filePath("example.ini"), rules);
        const ContentData data{rules, example};
        const QStringList only = parser.positionalArguments();
        for (const Document& document : kDocuments)
            if (only.isEmpty() || only.contains(QString::fromLatin1(document.name)))
                generate(document, sources, output, data);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tpworm-manual: %s\n", error.what());
        return 1;
    }
    return 0;
}
