// Texts written into UTF-8 output: one writer for the JSON documents of the
// commands and the CSV of the batch. Both append to a std::string that a
// caller fills with many texts (a batch writes millions), so they write
// straight into its storage instead of one byte at a time.
#pragma once

#include <QStringView>

#include <string>

namespace tpworm::core {

// The text in UTF-8 at the end of out, byte for byte as QString::toUtf8
// writes it.
void appendUtf8(std::string& out, QStringView text);

// The text as a JSON string holds it between its quotes, in UTF-8, with the
// escapes QJsonDocument writes: \" \\ \b \f \n \r \t, other control
// characters and lone surrogates as \u and four hex digits.
void appendJsonText(std::string& out, QStringView text);

} // namespace tpworm::core
