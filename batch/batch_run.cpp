#include "batch/batch_run.h"

#include "batch/csv_reader.h"
#include "core/design_form.h"
#include "core/results.h"

#include "rating/rating_output.h"

#include <QFile>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>

namespace tpworm::batch {

namespace {

// Collects output and hands it to the stream in large pieces. Records are
// written straight into its buffer.
class Output {
public:
    explicit Output(std::FILE* stream) : stream_(stream) { buffer_.reserve(kSize * 2); }
    ~Output() { flush(); }
    std::string& buffer() { return buffer_; }
    // After each record.
    void written()
    {
        if (buffer_.size() >= kSize)
            flush();
    }
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

// A text in UTF-8 at the end of out, as QString::toUtf8 writes it.
void appendUtf8(std::string& out, QStringView text)
{
    const char16_t* c = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t u = c[k];
        if (u < 0x80) {
            out += char(u);
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && k + 1 < n && QChar::isLowSurrogate(c[k + 1])) {
            const char32_t code = QChar::surrogateToUcs4(u, c[k + 1]);
            ++k;
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else if (QChar::isSurrogate(u)) {
            const QByteArray lone = QStringView(c + k, 1).toUtf8();
            out.append(lone.constData(), std::size_t(lone.size()));
        } else {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
}

// One record of the output: the request as run, and the form it ended in
// (none for a row that could not be run), with the drive check under a duty.
struct Record {
    long long row = 0;
    const RowRequest* request = nullptr;
    const core::DesignForm* form = nullptr;
    QStringList messages; // the row's own problems, when form is null
    const rating::Rating* rating = nullptr;
    const rating::DriveValues* driveValues = nullptr;
};

const QString kYes = QStringLiteral("yes");
const QString kNo = QStringLiteral("no");
QStringView yesNo(bool on) { return on ? kYes : kNo; }

// One column of --format csv: its name and its text for a record (a view
// of the record's own texts where it can be, else of the scratch text).
struct CsvColumn {
    QString name;
    std::function<QStringView(const Record&, QString& scratch)> value;
};

const std::vector<CsvColumn>& csvColumns()
{
    static const std::vector<CsvColumn> columns = [] {
        using core::Field;
        std::vector<CsvColumn> c = {
            {"row", [](const Record& r, QString& s) -> QStringView { return s = QString::number(r.row); }},
            {"centre_distance", [](const Record& r, QString&) -> QStringView { return r.request->centreDistance; }},
            {"teeth", [](const Record& r, QString&) -> QStringView { return r.request->teeth; }},
            {"starts", [](const Record& r, QString&) -> QStringView { return r.request->starts; }},
            {"grade", [](const Record& r, QString&) -> QStringView { return r.request->grade; }},
            {"standard_backlash", [](const Record& r, QString&) { return yesNo(r.request->standardBacklash); }},
            {"whole_teeth", [](const Record& r, QString&) { return yesNo(r.request->wholeTeeth); }},
            {"calculated", [](const Record& r, QString&) { return yesNo(r.form && r.form->calculated()); }},
        };
        // The fields as the design ends with them: the ratio and the
        // recommended parameters, overrides included, named as the input
        // columns of the overrides, so that an output can be edited and fed
        // back as input.
        std::vector<std::pair<QString, Field>> fields = {{QStringLiteral("ratio"), Field::Ratio}};
        for (int n = int(Field::MainBase); n < core::kFieldCount; ++n)
            fields.push_back({core::fieldControlName(Field(n)), Field(n)});
        for (const auto& [name, field] : fields)
            c.push_back({name, [field](const Record& r, QString&) -> QStringView {
                             return r.form ? QStringView(r.form->text(field)) : QStringView();
                         }});
        // Every result, by the core's name, as its label shows it without the
        // suffix; empty unless the design calculated.
        for (const core::ResultLabel& result : core::resultLabels()) {
            const core::ResultLabel* row = &result;
            c.push_back({QString::fromUtf8(result.name), [row](const Record& r, QString& s) -> QStringView {
                             if (!r.form || !r.form->calculated())
                                 return {};
                             const QStringView shown = core::resultValueText(r.form->label(row->label).caption, *row);
                             if (!shown.isEmpty())
                                 return shown;
                             return s = core::resultText(r.form->results(), *row);
                         }});
        }
        c.push_back({"red_labels", [](const Record& r, QString& s) -> QStringView {
                         s.resize(0);
                         if (r.form && r.form->calculated())
                             for (const core::ResultLabel& result : core::resultLabels())
                                 if (r.form->label(result.label).red) {
                                     if (!s.isEmpty())
                                         s += QLatin1Char(' ');
                                     s += QLatin1String(result.name);
                                 }
                         return s;
                     }});
        c.push_back({"messages", [](const Record& r, QString& s) -> QStringView {
                         const QStringList& m = r.form ? r.form->messages() : r.messages;
                         if (m.size() == 1)
                             return m.front();
                         return s = m.join(QStringLiteral(" | "));
                     }});
        return c;
    }();
    return columns;
}

void addCsvField(std::string& out, QStringView text)
{
    bool quote = false;
    for (const QChar c : text)
        if (c == u',' || c == u'"' || c == u'\n' || c == u'\r') {
            quote = true;
            break;
        }
    if (!quote) {
        appendUtf8(out, text);
        return;
    }
    out += '"';
    qsizetype plain = 0;
    for (qsizetype k = 0; k < text.size(); ++k)
        if (text[k] == u'"') {
            appendUtf8(out, text.mid(plain, k + 1 - plain));
            out += '"';
            plain = k + 1;
        }
    appendUtf8(out, text.mid(plain));
    out += '"';
}

void writeCsvHeader(Output& out, bool withDuty)
{
    const QStringList names = csvColumnNames(withDuty);
    std::string& b = out.buffer();
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (k)
            b += ',';
        appendUtf8(b, names[k]);
    }
    b += '\n';
}

void writeRecord(Output& out, const Record& r, const BatchOptions& options)
{
    std::string& b = out.buffer();
    const bool withDuty = options.duty.has_value();
    if (options.format == Format::Jsonl) {
        if (r.form) {
            if (withDuty) {
                std::string rating;
                if (r.rating)
                    rating::appendRatingJson(rating, *r.driveValues, *r.rating);
                else
                    rating = "null";
                core::appendDesignJsonLine(b, *r.form, r.row, "rating", rating);
            } else {
                core::appendDesignJsonLine(b, *r.form, r.row);
            }
        } else {
            // As QJsonDocument writes {"row", "calculated", "messages"} (and
            // "rating" under a duty): keys sorted.
            b += "{\"calculated\":false,\"messages\":[";
            for (qsizetype k = 0; k < r.messages.size(); ++k) {
                if (k)
                    b += ',';
                b += '"';
                core::appendJsonText(b, r.messages[k]);
                b += '"';
            }
            b += withDuty ? "],\"rating\":null,\"row\":" : "],\"row\":";
            b += std::to_string(r.row);
            b += '}';
        }
        b += '\n';
        out.written();
        return;
    }
    const auto& columns = csvColumns();
    QString scratch;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k)
            b += ',';
        addCsvField(b, columns[k].value(r, scratch));
    }
    if (withDuty) {
        // Empty cells for a design that was not checked.
        const QStringList texts = r.rating ? rating::ratingColumnTexts(*r.rating) : QStringList();
        for (qsizetype k = 0; k < rating::ratingColumnNames().size(); ++k) {
            b += ',';
            if (k < texts.size())
                addCsvField(b, texts[k]);
        }
    }
    b += '\n';
    out.written();
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
// True when it calculated (and, under a duty, was checked).
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
        writeRecord(out, record, options);
        return false;
    }
    core::DesignForm form = core::runDesign(designRequest(request, options), rules);
    record.form = &form;
    if (!options.duty) {
        writeRecord(out, record, options);
        return form.calculated();
    }
    // The drive check as `tpworm-cli rate` runs it on a calculated design;
    // its problem joins the design's messages.
    std::optional<rating::Rating> rated;
    rating::DriveValues values;
    if (form.calculated()) {
        try {
            if (!options.duty->tablesError.isEmpty())
                throw rating::RatingError(options.duty->tablesError);
            values = rating::driveValues(form.design());
            rated = rating::rate(values, options.duty->duty, options.duty->tables.friction,
                                 options.duty->tables.ratedPower);
            record.rating = &*rated;
            record.driveValues = &values;
        } catch (const rating::RatingError& e) {
            form.addMessage(e.message());
        }
    }
    writeRecord(out, record, options);
    return rated.has_value();
}

} // namespace

QStringList csvColumnNames() { return csvColumnNames(false); }

QStringList csvColumnNames(bool withDuty)
{
    QStringList names;
    for (const CsvColumn& c : csvColumns())
        names << c.name;
    if (withDuty)
        names << rating::ratingColumnNames();
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
        writeCsvHeader(out, options.duty.has_value());

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
        writeCsvHeader(out, options.duty.has_value());
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
