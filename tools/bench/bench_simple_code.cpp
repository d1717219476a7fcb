// Regenerating the simple codes of a whole goods catalogue ("批量生成拼音码").
#include "bench.h"

#include "app/text/hanzi_simple_code.h"

#include <QString>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Goods names of 20 characters from a fixed seed: building-materials words, sizes, brands.
std::vector<QString> goodsNames(int count)
{
    static const char16_t *const parts[] = {
        u"镀锌", u"钢管", u"螺纹钢", u"不锈钢", u"膨胀螺栓", u"水泥", u"瓷砖", u"地砖", u"PVC",
        u"PPR", u"给水管", u"排水管", u"弯头", u"三通", u"直接", u"内丝", u"外丝", u"阀门", u"角阀",
        u"球阀", u"铝合金", u"型材", u"乳胶漆", u"腻子粉", u"石膏板", u"龙骨", u"电线", u"开关",
        u"插座", u"防水涂料", u"密封胶", u"玻璃胶", u"冷轧板", u"槽钢", u"角钢", u"Φ20", u"Φ25",
        u"DN50", u"M8*80", u"2.5mm", u"4分", u"6分", u"白色", u"灰色", u" ", u"（国标）", u"①"};
    std::mt19937 rng(20240501);
    std::uniform_int_distribution<int> pick(0, int(std::size(parts)) - 1);
    std::vector<QString> names;
    names.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        QString name;
        while (name.size() < 20) name += QString::fromUtf16(parts[pick(rng)]);
        name.truncate(20);
        names.push_back(name);
    }
    return names;
}

void simpleCode100k(const bench::Options &opt)
{
    const int count = int(100000 * opt.scale);
    const std::vector<QString> names = goodsNames(count);
    std::vector<QString> codes(names.size());
    const double ours = bench::medianMs(5, [&] {
        for (size_t i = 0; i < names.size(); ++i)
            codes[i] = HanZiSimpleCode(names[i], SimpleCodeFlag::KeepAll, 255);
    });

    // Lower bound: one lookup per character in a flat 64K-entry table, nothing built.
    std::vector<std::uint16_t> table(0x10000);
    for (size_t i = 0; i < table.size(); ++i) table[i] = std::uint16_t(i * 2654435761u >> 23);
    volatile unsigned sink = 0;
    const double bound = bench::medianMs(5, [&] {
        unsigned sum = 0;
        for (const QString &name : names)
            for (QChar ch : name) sum += table[ch.unicode()];
        sink = sink + sum;
    });
    bench::report(QStringLiteral("simple code 100k names"), ours, bound,
                  QStringLiteral("< 200 ms; bound: one flat-table lookup per character"));
}

} // namespace

MARVODA_BENCH("simple code 100k names", simpleCode100k)
