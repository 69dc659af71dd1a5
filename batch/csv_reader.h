// An incremental reader of comma-separated values as RFC 4180 describes them:
// UTF-8 with an optional byte-order mark, LF or CRLF line ends, fields in
// double quotes that may hold commas, quotes ("") and line breaks.
//
// It holds one block of input and one record at a time, so a file of ten
// million rows is read in the same memory as a file of ten. A field longer
// than kFieldLimit is cut there and reported: no sensible value of a design
// is that long, and an unclosed quote must not swallow the rest of a large
// file into memory.
#pragma once

#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace tpworm::batch {

class CsvReader {
public:
    static constexpr std::size_t kFieldLimit = 64 * 1024;
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // A fault of one record: the column is 0-based, -1 for the whole record.
    struct Problem {
        int column = -1;
        QString text;
    };

    // Reads from the stream, which stays open and owned by the caller.
    explicit CsvReader(std::FILE* input);

    // Reads the next record into fields (one text per field). Lines that are
    // entirely empty are skipped: a trailing newline or a blank line is not a
    // record. Returns false at the end of the input or on a read error.
    bool next(std::vector<QString>& fields);

    // Faults of the record just read (empty when it is sound).
    const std::vector<Problem>& problems() const { return problems_; }
    // The physical line (1-based) on which the record just read starts.
    long long line() const { return recordLine_; }
    // A read error of the stream (not a fault of the data).
    bool readError() const { return readError_; }

private:
    int get(); // next byte, or -1 at the end
    int peek();
    bool fill();
    void append(std::string& field, char c);
    void finishField(std::vector<QString>& fields, std::string& field);

    std::FILE* input_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool readError_ = false;
    bool started_ = false;
    long long lineNo_ = 1;
    long long recordLine_ = 0;
    bool fieldCut_ = false;
    std::string field_;
    std::vector<Problem> problems_;
};

} // namespace tpworm::batch
