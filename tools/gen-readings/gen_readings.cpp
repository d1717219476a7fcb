// gen-readings: writes the reading table of the pinyin simple code from Debian's ICU.
//
//   gen-readings-tool OUTPUT.cpp
//
// Every Han code point that ICU's "Han-Latin" can read gets one toneless syllable ("ü" as "v");
// the GBK symbols the simple code translates itself (numbered symbols, full-width ASCII, Greek
// letters, the euro sign) get their GBK code, so that the Unicode routine never needs an encoder.
// ICU reads each character on its own and picks one reading; where that reading is not the one
// goods names use, the override list below wins.
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Characters common in building-materials names whose usual reading there is not ICU's choice.
const std::map<char32_t, std::string> kOverrides = {
    {U'长', "chang"}, // 长度, 加长: ICU reads zhang
    {U'调', "tiao"},  // 调节阀, 空调: ICU reads diao
    {U'弹', "tan"},   // 弹簧, 弹性涂料: ICU reads dan
    {U'给', "ji"},    // 给水管, 给排水: ICU reads gei
    {U'轧', "zha"},   // 冷轧板, 热轧钢: ICU reads ya
    {U'刨', "bao"},   // 刨花板, 电刨: ICU reads pao
};

// Old one-character units of GBK that ICU leaves unread; their first syllable.
const std::map<char32_t, std::string> kUnread = {
    {U'兙', "shi"}, // 十克
    {U'兡', "bai"}, // 百克
    {U'嗧', "jia"}, // 加仑
    {U'瓧', "shi"}, // 十瓦
    {U'瓰', "fen"}, // 分瓦
    {U'瓱', "mao"}, // 毫瓦 (毛瓦)
    {U'甅', "li"},  // 厘瓦
};

constexpr char32_t kLimit = 0x32400;   // past the last Han block ICU knows (extension H)
constexpr int kChunk = 64;

// First syllable of ICU's reading, tones removed, "ü" as "v"; empty when ICU has no reading.
std::string toneless(const icu::UnicodeString &latin)
{
    UErrorCode st = U_ZERO_ERROR;
    const icu::Normalizer2 *nfd = icu::Normalizer2::getNFDInstance(st);
    icu::UnicodeString d = nfd->normalize(latin, st);
    if (U_FAILURE(st)) return {};
    std::string out;
    for (int32_t i = 0; i < d.length(); ++i) {
        const char16_t ch = d.charAt(i);
        if (ch >= u'a' && ch <= u'z') out += char(ch);
        else if (ch >= u'A' && ch <= u'Z') out += char(ch - u'A' + u'a');
        else if (ch == 0x0308 && !out.empty() && out.back() == 'u') out.back() = 'v';
        else if (ch >= 0x0300 && ch <= 0x036F) continue;       // tone marks
        else if (ch == u' ' && !out.empty()) break;             // several syllables: the first
        else return {};                                          // not read: ICU left the character
    }
    return out;
}

struct Gbk {
    UConverter *cnv = nullptr;
    Gbk()
    {
        UErrorCode st = U_ZERO_ERROR;
        cnv = ucnv_open("GBK", &st);
        ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &st);
        ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &st);
        if (U_FAILURE(st)) { std::fprintf(stderr, "GBK converter: %s\n", u_errorName(st)); std::exit(1); }
    }
    ~Gbk() { ucnv_close(cnv); }
    // GBK bytes of one BMP character, empty when GBK cannot encode it.
    std::string encode(char32_t cp)
    {
        char16_t u = char16_t(cp);
        char buf[8];
        UErrorCode st = U_ZERO_ERROR;
        ucnv_reset(cnv);
        int32_t n = ucnv_fromUChars(cnv, buf, sizeof buf, &u, 1, &st);
        return U_SUCCESS(st) ? std::string(buf, size_t(n)) : std::string();
    }
    // The one character a GBK code decodes to, or 0.
    char32_t decode(const std::string &bytes)
    {
        char16_t out[4];
        UErrorCode st = U_ZERO_ERROR;
        ucnv_reset(cnv);
        int32_t n = ucnv_toUChars(cnv, out, 4, bytes.data(), int32_t(bytes.size()), &st);
        return U_SUCCESS(st) && n == 1 ? out[0] : 0;
    }
};

bool isHan(char32_t cp)
{
    UErrorCode st = U_ZERO_ERROR;
    return uscript_getScript(UChar32(cp), &st) == USCRIPT_HAN;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) { std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]); return 2; }
    UErrorCode st = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> tr(
        icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, st));
    if (U_FAILURE(st)) { std::fprintf(stderr, "Han-Latin: %s\n", u_errorName(st)); return 1; }

    // Readings of every Han code point.
    std::map<char32_t, std::string> reading;
    for (char32_t cp = 0; cp < kLimit; ++cp) {
        if (!isHan(cp)) continue;
        if (auto o = kOverrides.find(cp); o != kOverrides.end()) { reading[cp] = o->second; continue; }
        icu::UnicodeString u{UChar32(cp)};
        tr->transliterate(u);
        std::string s = toneless(u);
        if (auto m = kUnread.find(cp); s.empty() && m != kUnread.end()) s = m->second;
        if (s.empty()) continue;
        if (s.size() > 6) { std::fprintf(stderr, "U+%04X: reading %s too long\n", unsigned(cp), s.c_str()); return 1; }
        reading[cp] = s;
    }

    // Syllables sorted, numbered from 1.
    std::set<std::string> sylSet;
    for (auto &[cp, s] : reading) sylSet.insert(s);
    std::vector<std::string> syllables(sylSet.begin(), sylSet.end());
    std::map<std::string, unsigned> sylNo;
    for (size_t i = 0; i < syllables.size(); ++i) sylNo[syllables[i]] = unsigned(i + 1);
    if (syllables.size() >= 0x200) { std::fprintf(stderr, "too many syllables\n"); return 1; }

    // Entries. A character GBK can encode takes the entry of what its GBK code decodes to, so
    // the Unicode routine and the GBK byte walk agree even where GBK folds two characters.
    Gbk gbk;
    std::map<char32_t, unsigned> entry;
    auto readingEntry = [&](char32_t cp) -> unsigned {
        auto r = reading.find(cp);
        return r == reading.end() ? 0 : sylNo[r->second];
    };
    int gbkHan = 0, gbkHanRead = 0, outside = 0;
    for (char32_t cp = 0x80; cp < kLimit; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        std::string b = cp < 0x10000 ? gbk.encode(cp) : std::string();
        unsigned e = 0;
        if (b.size() == 1) {
            e = 0xFF00u | uint8_t(b[0]);
            if (gbk.decode(b) != cp) { std::fprintf(stderr, "U+%04X: single byte does not round-trip\n", unsigned(cp)); return 1; }
        } else if (b.size() == 2) {
            const uint8_t lead = uint8_t(b[0]), trail = uint8_t(b[1]);
            if (lead == 0xA2 || lead == 0xA3 || lead == 0xA6) e = unsigned(lead) << 8 | trail;
            else if (char32_t back = gbk.decode(b)) e = readingEntry(back);
            if (isHan(cp)) { ++gbkHan; gbkHanRead += e != 0; }
        } else if (b.empty()) {
            e = readingEntry(cp);
            outside += e != 0;
        }
        if (e) entry[cp] = e;
    }

    // Rank layout: one presence mask per 64 code points, the index of the chunk's first entry,
    // and the entries of present code points in order.
    const size_t chunks = kLimit / kChunk;
    std::vector<uint64_t> mask(chunks, 0);
    std::vector<uint16_t> first(chunks, 0);
    std::vector<uint16_t> values;
    for (size_t c = 0; c < chunks; ++c) {
        if (values.size() > 0xFFFF) { std::fprintf(stderr, "too many entries\n"); return 1; }
        first[c] = uint16_t(values.size());
        for (int i = 0; i < kChunk; ++i) {
            auto it = entry.find(char32_t(c * kChunk + size_t(i)));
            if (it == entry.end()) continue;
            mask[c] |= uint64_t(1) << i;
            values.push_back(uint16_t(it->second));
        }
    }

    FILE *f = std::fopen(argv[1], "w");
    if (!f) { std::perror(argv[1]); return 1; }
    std::fprintf(f,
        "// Reading table of the pinyin simple code. Generated, do not edit: regenerate with\n"
        "//   cmake --build build --target gen-readings\n"
        "// which runs tools/gen-readings against the installed ICU (%s, \"Han-Latin\", tones\n"
        "// removed, \"u\" with diaeresis as \"v\", the tool's override list applied).\n"
        "// %zu syllables; %zu code points with an entry (%d of GBK's %d Chinese characters read,\n"
        "// %d characters outside GBK read).\n"
        "#include \"app/text/hanzi_readings.h\"\n\nnamespace hanzi_readings {\n\n",
        U_ICU_VERSION, syllables.size(), values.size(), gbkHanRead, gbkHan, outside);
    std::fprintf(f, "const int syllableCount = %zu;\n\n", syllables.size());
    std::fprintf(f, "const char syllables[][7] = {\n    \"\",");
    for (size_t i = 0; i < syllables.size(); ++i)
        std::fprintf(f, "%s\"%s\",", i % 12 == 11 ? "\n    " : " ", syllables[i].c_str());
    std::fprintf(f, "\n};\n\nconst std::uint64_t present[%zu] = {", chunks);
    for (size_t c = 0; c < chunks; ++c) {
        if (c % 4 == 0) std::fprintf(f, "\n   ");
        if (mask[c] == 0) std::fprintf(f, " 0,");
        else if (mask[c] == ~uint64_t(0)) std::fprintf(f, " ~0ull,");
        else std::fprintf(f, " 0x%llxull,", static_cast<unsigned long long>(mask[c]));
    }
    std::fprintf(f, "\n};\n\nconst std::uint16_t firstEntry[%zu] = {", chunks);
    for (size_t c = 0; c < chunks; ++c)
        std::fprintf(f, "%s%u,", c % 24 == 0 ? "\n" : "", unsigned(first[c]));
    std::fprintf(f, "\n};\n\nconst std::uint16_t entries[%zu] = {", values.size());
    for (size_t i = 0; i < values.size(); ++i)
        std::fprintf(f, "%s%u,", i % 32 == 0 ? "\n" : "", unsigned(values[i]));
    std::fprintf(f, "\n};\n\n} // namespace hanzi_readings\n");
    std::fclose(f);
    std::fprintf(stderr, "%zu syllables, %zu entries, GBK Chinese %d/%d read, outside GBK %d read\n",
                 syllables.size(), values.size(), gbkHanRead, gbkHan, outside);
    return 0;
}
