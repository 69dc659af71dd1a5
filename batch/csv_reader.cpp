#include "batch/csv_reader.h"

namespace tpworm::batch {

namespace {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF), so that a file in another encoding is named as
// such instead of being read as replacement characters.
bool validUtf8(const std::string& s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        unsigned min = 0;
        unsigned code = 0;
        if ((c & 0xE0) == 0xC0) extra = 1, min = 0x80, code = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) extra = 2, min = 0x800, code = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) extra = 3, min = 0x10000, code = c & 0x07;
        else return false;
        if (end - p <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[k] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

bool ascii(const std::string& s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

CsvReader::CsvReader(std::FILE* input) : input_(input), block_(kBlockSize) {}

bool CsvReader::fill()
{
    if (eof_)
        return false;
    end_ = std::fread(block_.data(), 1, block_.size(), input_);
    pos_ = 0;
    if (end_ == 0) {
        eof_ = true;
        readError_ = std::ferror(input_) != 0;
        return false;
    }
    return true;
}

int CsvReader::peek()
{
    if (pos_ == end_ && !fill())
        return -1;
    return static_cast<unsigned char>(block_[pos_]);
}

int CsvReader::get()
{
    const int c = peek();
    if (c >= 0)
        ++pos_;
    return c;
}

void CsvReader::append(std::string& field, char c)
{
    if (field.size() < kFieldLimit)
        field.push_back(c);
    else
        fieldCut_ = true;
}

void CsvReader::finishField(std::vector<QString>& fields, std::string& field)
{
    const int column = static_cast<int>(fields.size());
    if (fieldCut_) {
        problems_.push_back({column, QStringLiteral("the field is longer than %1 bytes").arg(kFieldLimit)});
        // Nothing of a cut field is used: only its fault is reported.
        field.clear();
    } else if (!ascii(field) && !validUtf8(field)) {
        problems_.push_back({column, QStringLiteral("the field is not UTF-8 text")});
        field.clear();
    }
    fields.push_back(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
    field.clear();
    fieldCut_ = false;
}

bool CsvReader::next(std::vector<QString>& fields)
{
    fields.clear();
    problems_.clear();
    if (!started_) {
        started_ = true;
        // A byte-order mark is a property of the file, not part of the first
        // field. fread fills the first block up to its size or the end of the
        // input, so a mark is never split across blocks.
        if (peek() >= 0 && end_ >= 3 && static_cast<unsigned char>(block_[0]) == 0xEF
            && static_cast<unsigned char>(block_[1]) == 0xBB && static_cast<unsigned char>(block_[2]) == 0xBF) {
            pos_ = 3;
        }
    }
    // Blank lines between records are not records.
    for (;;) {
        const int c = peek();
        if (c == '\n') {
            ++pos_;
            ++lineNo_;
        } else if (c == '\r') {
            ++pos_;
            if (peek() == '\n')
                ++pos_;
            ++lineNo_;
        } else {
            break;
        }
    }
    if (peek() < 0)
        return false;
    recordLine_ = lineNo_;

    std::string& field = field_;
    field.clear();
    fieldCut_ = false;
    for (;;) {
        int c = get();
        if (c == '"') {
            // A quoted field: everything up to the lone closing quote.
            bool closed = false;
            for (;;) {
                c = get();
                if (c < 0)
                    break;
                if (c == '"') {
                    if (peek() == '"') {
                        ++pos_;
                        append(field, '"');
                        continue;
                    }
                    closed = true;
                    break;
                }
                if (c == '\n')
                    ++lineNo_;
                else if (c == '\r' && peek() != '\n')
                    ++lineNo_;
                append(field, static_cast<char>(c));
            }
            if (!closed) {
                problems_.push_back({static_cast<int>(fields.size()),
                                     QStringLiteral("the quoted field is not closed before the end of the input")});
                finishField(fields, field);
                return true;
            }
            c = get();
            if (c >= 0 && c != ',' && c != '\n' && c != '\r') {
                problems_.push_back({static_cast<int>(fields.size()), QStringLiteral("text after the closing quote")});
                while (c >= 0 && c != ',' && c != '\n' && c != '\r')
                    c = get();
            }
        } else {
            bool strayQuote = false;
            while (c >= 0 && c != ',' && c != '\n' && c != '\r') {
                if (c == '"')
                    strayQuote = true;
                append(field, static_cast<char>(c));
                c = get();
            }
            if (strayQuote)
                problems_.push_back({static_cast<int>(fields.size()),
                                     QStringLiteral("a quote inside a field that does not start with one")});
        }
        finishField(fields, field);
        if (c == ',')
            continue;
        if (c == '\r' && peek() == '\n')
            ++pos_;
        if (c >= 0)
            ++lineNo_;
        return true;
    }
}

} // namespace tpworm::batch
