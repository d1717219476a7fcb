#include "app/text/hanzi_simple_code.h"

#include "app/text/hanzi_readings.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

using namespace hanzi_readings;
using namespace SimpleCodeFlag;

// Writes the code into a buffer sized for maxLength; once it is full the rest of the name
// cannot change the code, so the walks stop there.
template <class Ch>
struct Sink {
    Ch *p;
    Ch *end;
    bool full() const { return p == end; }
    void put(Ch c)
    {
        if (p != end) *p++ = c;
    }
    void putAscii(char c) { put(Ch(static_cast<unsigned char>(c))); }
};

bool isAsciiAlnum(unsigned c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

unsigned asciiUpper(unsigned c)
{
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

// Row 0xA2 holds numbered symbols (⒈, ⑴, ①, ㈠, Ⅰ, ⅰ ...) in runs that each count from 1; the
// code is the number. 0 for trail bytes of the row that hold no number.
unsigned numberedSymbol(unsigned trail)
{
    struct Run {
        unsigned first, last;
    };
    static constexpr Run runs[] = {{0xA1, 0xAA}, {0xB1, 0xC4}, {0xC5, 0xD8},
                                   {0xD9, 0xE2}, {0xE5, 0xEE}, {0xF1, 0xFC}};
    for (const Run &r : runs)
        if (trail >= r.first && trail <= r.last) return trail - r.first + 1;
    return 0;
}

// Latin transliteration of the 24 Greek letters of row 0xA6, capitals from 0xA1, small from 0xC1.
constexpr const char *greek[24] = {"a", "b", "g", "d", "e", "z", "e", "th", "i", "k", "l", "m",
                                   "n", "x", "o", "p", "r", "s", "t", "u", "ph", "kh", "ps", "o"};

template <class Ch>
void putUpper(const char *s, int most, Sink<Ch> &out)
{
    for (int i = 0; i < most && s[i]; ++i) out.putAscii(char(asciiUpper(static_cast<unsigned char>(s[i]))));
}

// The piece of one double-byte character, given its table entry (see hanzi_readings.h).
template <class Ch>
void putPiece(std::uint16_t entry, int flags, Sink<Ch> &out)
{
    const unsigned row = entry >> 8;
    const unsigned trail = entry & 0xFF;
    bool unmapped = entry == 0;
    if (row == 0xA2) {
        if (trail > 0xA0) {
            if (unsigned n = numberedSymbol(trail)) {
                if (n >= 10) out.putAscii(char('0' + n / 10));
                out.putAscii(char('0' + n % 10));
            }
            return;
        }
        unmapped = true;
    } else if (row == 0xA3) {
        // Full-width ASCII, given as its half-width form and not upper-cased. Only trail bytes
        // 0xA1-0xFE hold such characters; any other would yield a control character or NUL.
        if (trail >= 0xA1 && trail <= 0xFE) {
            const unsigned c = trail - 0x80;
            if ((flags & KeepAll) || isAsciiAlnum(c)) out.putAscii(char(c));
            return;
        }
        unmapped = true;
    } else if (row == 0xA6) {
        if (trail >= 0xA1 && trail <= 0xB8) return putUpper(greek[trail - 0xA1], 2, out);
        if (trail >= 0xC1 && trail <= 0xD8) return putUpper(greek[trail - 0xC1], 2, out);
        unmapped = true;
    }
    if (unmapped) {
        if (flags & MarkUnmapped) out.putAscii('?');
        return;
    }
    putUpper(syllables[entry], (flags & WholeSyllable) ? 6 : 1, out);
}

constexpr int trailsPerLead = 191;   // trail bytes 0x40-0xFE

// Syllable of every double-byte GBK code, index (lead - 0x81) * 191 + (trail - 0x40), taken
// from the reading table through the same GBK decoder the program reads GBK text with. Built
// once, on first use.
const std::uint16_t *gbkSyllables()
{
    static const std::unique_ptr<std::uint16_t[]> table = [] {
        auto t = std::make_unique<std::uint16_t[]>(126 * trailsPerLead);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                // A fresh decoder each time: resetState() leaves ICU's converter holding the
                // bytes of an invalid sequence.
                QStringDecoder decoder("GBK");
                const QString ch = decoder.decode(QByteArrayView(bytes, 2));
                std::uint16_t e = 0;
                if (ch.size() == 1) e = entryOf(ch.at(0).unicode());
                // Only readings: symbol-row codes belong to rows 0xA2, 0xA3, 0xA6 alone.
                t[(lead - 0x81) * trailsPerLead + (trail - 0x40)] = e <= syllableCount ? e : 0;
            }
        }
        return t;
    }();
    return table.get();
}

} // namespace

QByteArray HanZiSimpleCodeGbk(QByteArrayView gbk, int flags, int maxLength)
{
    if (flags < 0 || maxLength <= 0 || gbk.isEmpty()) return {};
    const bool keepAll = flags & KeepAll;
    // A byte gives at most one character, a double-byte character at most six.
    const qsizetype cap = std::min<qsizetype>(maxLength, gbk.size() * ((flags & WholeSyllable) ? 3 : 1));
    QByteArray code(cap, Qt::Uninitialized);
    Sink<char> out{code.data(), code.data() + cap};
    const auto *bytes = reinterpret_cast<const unsigned char *>(gbk.data());
    const qsizetype n = gbk.size();
    const std::uint16_t *table = nullptr;
    for (qsizetype i = 0; i < n && !out.full();) {
        const unsigned c = bytes[i];
        const unsigned t = i + 1 < n ? bytes[i + 1] : 0;
        if (c < 0x81 || t < 0x40) {   // single byte, also a lead byte with no trail after it
            if (keepAll || isAsciiAlnum(c)) out.put(char(asciiUpper(c)));
            ++i;
            continue;
        }
        std::uint16_t entry = 0;
        if (c == 0xA2 || c == 0xA3 || c == 0xA6) {
            entry = std::uint16_t(c << 8 | t);
        } else if (t != 0xFF) {   // no GBK code ends in 0xFF; it has no place in the table
            if (!table) table = gbkSyllables();
            entry = table[(c - 0x81) * trailsPerLead + (t - 0x40)];
        }
        putPiece(entry, flags, out);
        i += 2;
    }
    code.truncate(out.p - code.data());
    return code;
}

QString HanZiSimpleCode(QStringView text, int flags, int maxLength)
{
    if (flags < 0 || maxLength <= 0 || text.isEmpty()) return {};
    const bool keepAll = flags & KeepAll;
    // A UTF-16 unit gives at most two characters (⑩ "10", θ "TH"), or six with whole syllables.
    const qsizetype cap = std::min<qsizetype>(maxLength, text.size() * ((flags & WholeSyllable) ? 6 : 2));
    QString code(cap, Qt::Uninitialized);
    auto *begin = reinterpret_cast<char16_t *>(code.data());
    Sink<char16_t> out{begin, begin + cap};
    const char16_t *units = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n && !out.full();) {
        char32_t cp = units[i++];
        if (QChar::isHighSurrogate(cp) && i < n && QChar::isLowSurrogate(units[i]))
            cp = QChar::surrogateToUcs4(char16_t(cp), units[i++]);
        if (cp < 0x80) {
            if (keepAll || isAsciiAlnum(cp)) out.put(char16_t(asciiUpper(cp)));
            continue;
        }
        const std::uint16_t entry = entryOf(cp);
        if ((entry & RowMask) == SingleByte) {   // a non-ASCII single GBK byte: the euro sign
            if (keepAll) out.put(char16_t(cp));
            continue;
        }
        putPiece(entry, flags, out);
    }
    code.truncate(out.p - begin);
    return code;
}
