// Lets GoogleTest print QString and QStringList values as text in its
// failure messages instead of as raw bytes.
#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '[';
    for (qsizetype k = 0; k < texts.size(); ++k)
        *os << (k ? ", \"" : "\"") << texts[k].toStdString() << '"';
    *os << ']';
}
