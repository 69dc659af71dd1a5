// Lets GoogleTest print Qt texts readably in failure messages; included into
// every test source by the build.
#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '[';
    for (qsizetype k = 0; k < texts.size(); ++k)
        *os << (k ? ", \"" : "\"") << texts[k].toStdString() << '"';
    *os << ']';
}
