#include "core/cell_address.h"

namespace tpworm {

std::optional<CellAddress> CellAddress::parse(QStringView name)
{
    qsizetype i = 0;
    int column = 0;
    for (; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const char16_t upper = (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
        if (upper < u'A' || upper > u'Z') break;
        column = column * 26 + (upper - u'A' + 1);
        if (column > kSheetColumns) return std::nullopt;
    }
    if (i == 0 || i == name.size() || name[i] == u'0') return std::nullopt;
    int row = 0;
    for (; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        row = row * 10 + (c - u'0');
        if (row > kSheetRows) return std::nullopt;
    }
    return CellAddress{column - 1, row - 1};
}

QString CellAddress::name() const
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(char16_t(u'A' + (c - 1) % 26)));
    return letters + QString::number(row + 1);
}

} // namespace tpworm
