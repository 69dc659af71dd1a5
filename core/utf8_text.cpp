#include "core/utf8_text.h"

#include <QByteArray>
#include <QChar>

#include <cstring>

namespace tpworm::core {

namespace {

// One pass for both: room for the longest form is made first (three bytes a
// unit in UTF-8, six for a JSON escape), the bytes are written through a
// pointer, and the string is cut to what was written.
template <bool Json>
void appendText(std::string& out, QStringView text)
{
    constexpr std::size_t kRoom = Json ? 6 : 3;
    const char16_t* c = text.utf16();
    const qsizetype n = text.size();
    std::size_t at = out.size();
    out.resize(at + std::size_t(n) * kRoom);
    char* p = out.data() + at;
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t u = c[k];
        if (u < 0x80) {
            if (!Json || (u >= 0x20 && u != '"' && u != '\\')) {
                *p++ = char(u);
                continue;
            }
            char escape = 0;
            switch (u) {
            case '"': escape = '"'; break;
            case '\\': escape = '\\'; break;
            case '\b': escape = 'b'; break;
            case '\f': escape = 'f'; break;
            case '\n': escape = 'n'; break;
            case '\r': escape = 'r'; break;
            case '\t': escape = 't'; break;
            default: break;
            }
            if (escape) {
                *p++ = '\\';
                *p++ = escape;
                continue;
            }
        } else if (u < 0x800) {
            *p++ = char(0xC0 | (u >> 6));
            *p++ = char(0x80 | (u & 0x3F));
            continue;
        } else if (!QChar::isSurrogate(u)) {
            *p++ = char(0xE0 | (u >> 12));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
            continue;
        } else if (QChar::isHighSurrogate(u) && k + 1 < n && QChar::isLowSurrogate(c[k + 1])) {
            // A pair is written as the character it stands for (four bytes
            // for two units).
            const char32_t code = QChar::surrogateToUcs4(u, c[k + 1]);
            ++k;
            *p++ = char(0xF0 | (code >> 18));
            *p++ = char(0x80 | ((code >> 12) & 0x3F));
            *p++ = char(0x80 | ((code >> 6) & 0x3F));
            *p++ = char(0x80 | (code & 0x3F));
            continue;
        } else if (!Json) {
            // A lone surrogate: whatever toUtf8 makes of it, in the room
            // made again after it.
            const QByteArray lone = QStringView(c + k, 1).toUtf8();
            at = std::size_t(p - out.data());
            out.resize(at);
            out.append(lone.constData(), std::size_t(lone.size()));
            at = out.size();
            out.resize(at + std::size_t(n - k - 1) * kRoom);
            p = out.data() + at;
            continue;
        }
        // JSON: other control characters and lone surrogates, by number.
        static const char hex[] = "0123456789abcdef";
        *p++ = '\\';
        *p++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *p++ = hex[(u >> shift) & 0xf];
    }
    out.resize(std::size_t(p - out.data()));
}

} // namespace

void appendUtf8(std::string& out, QStringView text) { appendText<false>(out, text); }

void appendJsonText(std::string& out, QStringView text) { appendText<true>(out, text); }

} // namespace tpworm::core
