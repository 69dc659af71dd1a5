// Lets GoogleTest print Qt texts readably in failure messages; included into
// every test source by the build.
#pragma once

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
