#include "batch/batch_run.h"

#include "batch/csv_reader.h"
#include "core/design_form.h"
#include "core/results.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QFile>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>

namespace tpworm::batch {

namespace {

// Collects output and hands it to the stream in large pieces.
class Output {
public:
    explicit Output(std::FILE* stream) : stream_(stream) { buffer_.reserve(kSize * 2); }
    ~Output() { flush(); }
    void add(const QByteArray& bytes)
    {
        buffer_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (buffer_.size() >= kSize)
            flush();
    }
    void add(char c) { buffer_.push_back(c); }
    void flush()
    {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
            failed_ = true;
        buffer_.clear();
    }
    bool failed() const { return failed_ || std::ferror(stream_); }

private:
    static constexpr std::size_t kSize = 64 * 1024;
    std::FILE* stream_;
    std::string buffer_;
    bool failed_ = false;
};

// One record of the output: the request as run, and the form it ended in
// (none for a row that could not be run).
struct Record {
    long long row = 0;
    const RowRequest* request = nullptr;
    const core::DesignForm* form = nullptr;
    QStringList messages; // the row's own problems, when form is null
};

QString yesNo(bool on) { return on ? QStringLiteral("yes") : QStringLiteral("no"); }

// One column of --format csv. Later columns (ratings, ...) are added as rows
// of the table in csvColumns().
struct CsvColumn {
    QString name;
    std::function<QString(const Record&)> value;
};

QString fieldText(const Record& r, core::Field field) { return r.form ? r.form->text(field) : QString(); }

const std::vector<CsvColumn>& csvColumns()
{
    static const std::vector<CsvColumn> columns = [] {
        using core::Field;
        std::vector<CsvColumn> c = {
            {"row", [](const Record& r) { return QString::number(r.row); }},
            {"centre_distance", [](const Record& r) { return r.request->centreDistance; }},
            {"teeth", [](const Record& r) { return r.request->teeth; }},
            {"starts", [](const Record& r) { return r.request->starts; }},
            {"grade", [](const Record& r) { return r.request->grade; }},
            {"standard_backlash", [](const Record& r) { return yesNo(r.request->standardBacklash); }},
            {"whole_teeth", [](const Record& r) { return yesNo(r.request->wholeTeeth); }},
            {"calculated", [](const Record& r) { return yesNo(r.form && r.form->calculated()); }},
        };
        // The fields as the design ends with them: the ratio and the
        // recommended parameters, overrides included.
        // named as the input columns of the overrides, so that an output can
        // be edited and fed back as input.
        std::vector<std::pair<QString, Field>> fields = {{QStringLiteral("ratio"), Field::Ratio}};
        for (int n = int(Field::MainBase); n < core::kFieldCount; ++n)
            fields.push_back({core::fieldControlName(Field(n)), Field(n)});
        for (const auto& [name, field] : fields)
            c.push_back({name, [field](const Record& r) { return fieldText(r, field); }});
        // Every result, by the core's name; empty unless the design calculated.
        for (const core::ResultLabel& result : core::resultLabels()) {
            const core::ResultLabel* row = &result;
            c.push_back({QString::fromUtf8(result.name), [row](const Record& r) {
                             return r.form && r.form->calculated() ? core::resultText(r.form->results(), *row) : QString();
                         }});
        }
        c.push_back({"red_labels", [](const Record& r) {
                         QStringList red;
                         if (r.form && r.form->calculated())
                             for (const core::ResultLabel& result : core::resultLabels())
                                 if (r.form->label(result.label).red)
                                     red << QString::fromUtf8(result.name);
                         return red.join(QLatin1Char(' '));
                     }});
        c.push_back({"messages", [](const Record& r) {
                         return (r.form ? r.form->messages() : r.messages).join(QStringLiteral(" | "));
                     }});
        return c;
    }();
    return columns;
}

void addCsvField(Output& out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r')) {
        out.add(bytes);
        return;
    }
    QByteArray q = bytes;
    q.replace("\"", "\"\"");
    out.add('"');
    out.add(q);
    out.add('"');
}

void writeCsvHeader(Output& out)
{
    const auto& columns = csvColumns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k)
            out.add(',');
        out.add(columns[k].name.toUtf8());
    }
    out.add('\n');
}

void writeRecord(Output& out, const Record& r, Format format)
{
    if (format == Format::Jsonl) {
        if (r.form) {
            out.add(core::designJsonLine(*r.form, r.row));
        } else {
            QJsonObject o{{"row", r.row}, {"calculated", false}, {"messages", QJsonArray::fromStringList(r.messages)}};
            out.add(QJsonDocument(o).toJson(QJsonDocument::Compact));
        }
        out.add('\n');
        return;
    }
    const auto& columns = csvColumns();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k)
            out.add(',');
        addCsvField(out, columns[k].value(r));
    }
    out.add('\n');
}

core::DesignRequest designRequest(const RowRequest& row, const BatchOptions& options)
{
    core::DesignRequest d;
    d.centreDistance = row.centreDistance;
    d.teeth = row.teeth;
    d.starts = row.starts;
    d.grade = row.grade;
    d.standardBacklash = row.standardBacklash;
    d.wholeTeeth = row.wholeTeeth;
    for (const auto& [name, text] : row.fields)
        d.overrides.append({*core::fieldOfControlName(name), text});
    d.coefficients = options.coefficients;
    return d;
}

// "row 1234" on standard error a few times a second, overwritten in place.
class Progress {
public:
    Progress(std::FILE* stream, bool on) : stream_(stream), on_(on) {}
    void tick(long long rows)
    {
        if (!on_ || (rows & 1023) != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(250))
            return;
        last_ = now;
        std::fprintf(stream_, "\rrow %lld", rows);
        std::fflush(stream_);
        shown_ = true;
    }
    ~Progress()
    {
        if (shown_)
            std::fputs("\r\033[K", stream_);
    }

private:
    std::FILE* stream_;
    bool on_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

void report(std::FILE* errors, const QString& text) { std::fprintf(errors, "tpworm-cli: %s\n", text.toUtf8().constData()); }

// Runs and writes one row; a row with problems is written with them instead.
// True when it calculated.
bool writeRow(Output& out, std::FILE* errors, long long row, const RowRequest& request, const QStringList& problems,
              const rules::RulesData& rules, const BatchOptions& options)
{
    Record record;
    record.row = row;
    record.request = &request;
    if (!problems.isEmpty()) {
        for (const QString& p : problems)
            report(errors, p);
        record.messages = problems;
        writeRecord(out, record, options.format);
        return false;
    }
    const core::DesignForm form = core::runDesign(designRequest(request, options), rules);
    record.form = &form;
    writeRecord(out, record, options.format);
    return form.calculated();
}

} // namespace

QStringList csvColumnNames()
{
    QStringList names;
    for (const CsvColumn& c : csvColumns())
        names << c.name;
    return names;
}

int runBatch(std::FILE* input, std::FILE* output, std::FILE* errors, const rules::RulesData& rules,
             const BatchOptions& options)
{
    CsvReader reader(input);
    std::vector<QString> fields;
    if (!reader.next(fields)) {
        report(errors, reader.readError() ? QStringLiteral("the input could not be read")
                                          : QStringLiteral("the input is empty: a header row naming the columns is needed (%1)")
                                                .arg(InputLayout::knownColumns().join(QLatin1Char(','))));
        return 1;
    }
    if (!reader.problems().empty()) {
        report(errors, QStringLiteral("header, column %1: %2").arg(reader.problems().front().column + 1).arg(reader.problems().front().text));
        return 1;
    }
    InputLayout layout;
    try {
        layout = InputLayout::fromHeader(fields);
    } catch (const HeaderError& e) {
        report(errors, QString::fromStdString(e.what()));
        return 1;
    }
    Output out(output);
    if (options.format == Format::Csv)
        writeCsvHeader(out);

    Progress progress(errors, options.progress);
    long long row = 0;
    bool allCalculated = true;
    RowRequest request;
    while (reader.next(fields)) {
        ++row;
        QStringList problems;
        for (const CsvReader::Problem& p : reader.problems())
            problems << rowPlace(row, reader.line(), p.column >= 0 && p.column < layout.names().size()
                                                      ? layout.names()[p.column] : QString::number(p.column + 1))
                            + p.text;
        const bool mapped = layout.map(fields, row, reader.line(), request, problems) && problems.isEmpty();
        allCalculated = writeRow(out, errors, row, request, mapped ? QStringList() : problems, rules, options) && allCalculated;
        progress.tick(row);
    }
    if (reader.readError()) {
        report(errors, QStringLiteral("reading the input failed after row %1").arg(row));
        allCalculated = false;
    }
    if (row == 0)
        report(errors, QStringLiteral("the input has a header but no rows"));
    out.flush();
    if (out.failed()) {
        report(errors, QStringLiteral("writing the output failed"));
        return 1;
    }
    return allCalculated ? 0 : 1;
}

int runSweep(const SweepOptions& sweep, std::FILE* output, std::FILE* errors, const rules::RulesData& rules,
             const BatchOptions& options)
{
    Output out(output);
    if (options.format == Format::Csv)
        writeCsvHeader(out);
    Progress progress(errors, options.progress);
    long long row = 0;
    bool allCalculated = true;
    for (const QString& a : sweep.centreDistances) {
        for (const QString& starts : sweep.starts) {
            RowRequest request;
            request.centreDistance = a;
            request.starts = starts;
            request.standardBacklash = sweep.standardBacklash;
            request.wholeTeeth = sweep.wholeTeeth;
            request.fields = sweep.fields;
            if (!sweep.ratio.isEmpty()) {
                // teeth = ratio x starts, where that is a whole number of teeth.
                const long double teeth = sweep.ratio.toDouble() * starts.toDouble();
                if (teeth < 1.0L || std::fabs(teeth - std::round(teeth)) > 1e-9L) {
                    if (a == sweep.centreDistances.front())
                        report(errors, QStringLiteral("ratio %1 with %2 starts gives no whole number of teeth; skipped")
                                           .arg(sweep.ratio, starts));
                    continue;
                }
                request.teeth = QString::number(static_cast<long long>(std::round(teeth)));
            } else {
                request.teeth = sweep.teeth;
            }
            for (const QString& grade : sweep.grades) {
                request.grade = grade;
                ++row;
                allCalculated = writeRow(out, errors, row, request, QStringList(), rules, options) && allCalculated;
                progress.tick(row);
            }
        }
    }
    out.flush();
    if (out.failed()) {
        report(errors, QStringLiteral("writing the output failed"));
        return 1;
    }
    return allCalculated ? 0 : 1;
}

QStringList readSeries(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(QStringLiteral("cannot read the centre-distance series %1").arg(path).toStdString());
    QStringList values;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            values << line;
    }
    return values;
}

} // namespace tpworm::batch
