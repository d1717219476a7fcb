#include "app/text/hanzi_simple_code.h"
#include "test_main.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

class TestHanZiSimpleCode : public QObject {
    Q_OBJECT
private slots:
    void code_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("code");
        QTest::newRow("钢管") << u"钢管"_qs << 4 << 255 << u"GG"_qs;
        QTest::newRow("中国") << u"中国"_qs << 4 << 255 << u"ZG"_qs;
        QTest::newRow("latin and digits upper-cased") << u"pvc20"_qs << 0 << 255 << u"PVC20"_qs;
        QTest::newRow("keep all keeps the blank") << u"PVC管 20mm"_qs << 4 << 255 << u"PVCG 20MM"_qs;
        QTest::newRow("flags 0 drops the blank") << u"PVC管 20mm"_qs << 0 << 255 << u"PVCG20MM"_qs;
        QTest::newRow("ascii punctuation kept") << u"φ20*3.5"_qs << 4 << 255 << u"PH20*3.5"_qs;
        QTest::newRow("ascii punctuation dropped") << u"φ20*3.5"_qs << 0 << 255 << u"PH2035"_qs;
        QTest::newRow("circled one") << u"①"_qs << 4 << 255 << u"1"_qs;
        QTest::newRow("circled ten") << u"⑩"_qs << 0 << 255 << u"10"_qs;
        QTest::newRow("full stop twenty") << u"⒛"_qs << 4 << 255 << u"20"_qs;
        QTest::newRow("parenthesised ideograph") << u"㈢"_qs << 4 << 255 << u"3"_qs;
        QTest::newRow("roman twelve and small one") << u"Ⅻⅰ"_qs << 4 << 255 << u"121"_qs;
        QTest::newRow("full-width small letter stays small") << u"ａＢ１"_qs << 0 << 255 << u"aB1"_qs;
        QTest::newRow("full-width bracket with keep all") << u"（Ｍ）"_qs << 4 << 255 << u"(M)"_qs;
        QTest::newRow("full-width bracket without") << u"（Ｍ）"_qs << 0 << 255 << u"M"_qs;
        QTest::newRow("greek capital and small alike") << u"Φφ"_qs << 0 << 255 << u"PHPH"_qs;
        QTest::newRow("greek theta psi omega") << u"θΨω"_qs << 4 << 255 << u"THPSO"_qs;
        QTest::newRow("other row-A6 character") << u"︵"_qs << 4 << 255 << QString();
        QTest::newRow("other row-A6 character marked") << u"︵"_qs << 2 << 255 << u"?"_qs;
        QTest::newRow("whole syllables") << u"中国"_qs << 1 << 255 << u"ZHONGGUO"_qs;
        QTest::newRow("whole syllable, ü as v") << u"绿"_qs << 1 << 255 << u"LV"_qs;
        QTest::newRow("cut at maxLength") << u"镀锌钢管"_qs << 4 << 2 << u"DX"_qs;
        QTest::newRow("cut inside a syllable") << u"中国"_qs << 1 << 3 << u"ZHO"_qs;
        QTest::newRow("cut inside a number") << u"钢⑩"_qs << 4 << 2 << u"G1"_qs;
        QTest::newRow("maxLength 0") << u"钢管"_qs << 4 << 0 << QString();
        QTest::newRow("negative flags") << u"钢管"_qs << -1 << 255 << QString();
        QTest::newRow("empty name") << QString() << 4 << 255 << QString();
        QTest::newRow("only unreadable characters") << u"、。※々"_qs << 4 << 255 << QString();
        QTest::newRow("unreadable marked") << u"钢、管"_qs << 2 << 255 << u"G?G"_qs;
        QTest::newRow("euro sign is a single GBK byte") << u"€5"_qs << 4 << 255 << u"€5"_qs;
        QTest::newRow("euro sign dropped") << u"€5"_qs << 0 << 255 << u"5"_qs;
        QTest::newRow("outside GBK, extension A") << u"䶮"_qs << 4 << 255 << u"Y"_qs;
        QTest::newRow("outside GBK, after GBK's last") << u"鿏"_qs << 1 << 255 << u"MAI"_qs;
        QTest::newRow("outside GBK, extension B") << u"𠀀钢"_qs << 4 << 255 << u"HG"_qs;
        QTest::newRow("outside GBK, unreadable") << u"钢😀管"_qs << 6 << 255 << u"G?G"_qs;
        QTest::newRow("final sigma is not in GBK") << u"ς"_qs << 2 << 255 << u"?"_qs;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u"钢"_qs << 2 << 255 << u"?G"_qs;
    }
    void code()
    {
        QFETCH(QString, text);
        QFETCH(int, flags);
        QFETCH(int, maxLength);
        QFETCH(QString, code);
        QCOMPARE(HanZiSimpleCode(text, flags, maxLength), code);
    }

    // The byte walk itself, on GBK bytes no Unicode text encodes to.
    void gbkBytes_data()
    {
        QTest::addColumn<QByteArray>("gbk");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QByteArray>("code");
        QTest::newRow("钢管") << QByteArray("\xB8\xD6\xB9\xDC") << 4 << QByteArray("GG");
        QTest::newRow("lone lead byte at the end") << QByteArray("\xB8\xD6\xB9") << 0 << QByteArray("G");
        QTest::newRow("lone lead byte kept as a byte") << QByteArray("\xB8\xD6\xB9") << 4 << QByteArray("G\xB9");
        QTest::newRow("lead byte before a low byte") << QByteArray("\xB8" "1a") << 0 << QByteArray("1A");
        QTest::newRow("lead byte before a low byte, kept") << QByteArray("\xB8" "1") << 4 << QByteArray("\xB8" "1");
        QTest::newRow("trail 0xFF on the last row") << QByteArray("\xFE\xFF") << 2 << QByteArray("?");
        QTest::newRow("trail 0xFF then a letter") << QByteArray("\xB8\xFF" "a") << 0 << QByteArray("A");
        QTest::newRow("row A2 below A1 marked") << QByteArray("\xA2\x50") << 2 << QByteArray("?");
        QTest::newRow("row A2 empty trail") << QByteArray("\xA2\xA0\xA2\xE3\xA2\xB1") << 6 << QByteArray("?1");
        QTest::newRow("row A3 no NUL or control") << QByteArray("\xA3\x80\xA3\x41\xA3\xFF") << 4 << QByteArray();
        QTest::newRow("row A3 odd trail marked") << QByteArray("\xA3\x80") << 6 << QByteArray("?");
        QTest::newRow("row A6 outside the letters") << QByteArray("\xA6\xB9\xA6\xD9") << 2 << QByteArray("??");
        QTest::newRow("not a character") << QByteArray("\x81\x7F") << 2 << QByteArray("?");
        QTest::newRow("cut") << QByteArray("\xD6\xD0\xB9\xFA") << 1 << QByteArray("ZHONGG");
    }
    void gbkBytes()
    {
        QFETCH(QByteArray, gbk);
        QFETCH(int, flags);
        QFETCH(QByteArray, code);
        const int maxLength = QByteArray(QTest::currentDataTag()) == "cut" ? 6 : 255;
        QCOMPARE(HanZiSimpleCodeGbk(gbk, flags, maxLength), code);
    }

    // Every character GBK encodes, and every GBK code, gives the same code both ways, under
    // every flag; and no Chinese character of GBK is left without a reading.
    void unicodeAgreesWithGbkWalk()
    {
        const int flagSets[] = {0, 1, 2, 4, 7};
        // Fresh converters each time: resetState() keeps an earlier error and its bytes.
        auto decode = [](const QByteArray &gbk) { return QString(QStringDecoder("GBK").decode(gbk)); };
        int checked = 0;
        for (char32_t cp = 1; cp < 0x10000; ++cp) {
            if (QChar::isSurrogate(cp)) continue;
            const QString ch{QChar(char16_t(cp))};
            QStringEncoder encoder("GBK");
            const QByteArray gbk = encoder.encode(ch);
            if (encoder.hasError()) continue;
            ++checked;
            for (int flags : flagSets) {
                const QString viaGbk = decode(HanZiSimpleCodeGbk(gbk, flags, 255));
                if (HanZiSimpleCode(ch, flags, 255) != viaGbk)
                    QFAIL(qPrintable(QString("U+%1 flags %2: %3 vs %4").arg(unsigned(cp), 4, 16, QChar('0'))
                                         .arg(flags).arg(HanZiSimpleCode(ch, flags, 255), viaGbk)));
            }
        }
        QVERIFY2(checked > 21000, qPrintable(QString::number(checked)));

        // Han characters of GBK that have no Mandarin reading of their own: the iteration
        // mark, the Hangzhou numerals and Japanese-only ideographs.
        const QSet<char16_t> unread = {0x3005, 0x3021, 0x3022, 0x3023, 0x3024, 0x3025, 0x3026,
                                       0x3027, 0x3028, 0x3029, 0x685B, 0x70EA, 0x74FC, 0xFA0E,
                                       0xFA0F, 0xFA11, 0xFA13, 0xFA14, 0xFA1F, 0xFA21, 0xFA23,
                                       0xFA24, 0xFA27, 0xFA28, 0xFA29};
        int chinese = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFF; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                const QByteArray gbk(bytes, 2);
                QStringDecoder codeDecoder("GBK");
                const QString ch = codeDecoder.decode(gbk);
                if (codeDecoder.hasError() || ch.size() != 1) continue;
                for (int flags : flagSets) {
                    if (HanZiSimpleCode(ch, flags, 255) != decode(HanZiSimpleCodeGbk(gbk, flags, 255)))
                        QFAIL(qPrintable(QString("GBK %1 flags %2").arg(lead << 8 | trail, 4, 16).arg(flags)));
                }
                if (ch.at(0).script() != QChar::Script_Han) continue;
                ++chinese;
                const QByteArray initial = HanZiSimpleCodeGbk(gbk, 0, 255);
                const bool read = initial.size() == 1 && initial.at(0) >= 'A' && initial.at(0) <= 'Z';
                if (!read && !unread.contains(ch.at(0).unicode()))
                    QFAIL(qPrintable(QString("%1 (GBK %2) has no reading").arg(ch).arg(lead << 8 | trail, 4, 16)));
            }
        }
        QVERIFY2(chinese > 20900, qPrintable(QString::number(chinese)));
    }

    // Readings as goods names use them, including the characters ICU reads otherwise.
    void commonGoodsNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("镀锌钢管") << u"镀锌钢管"_qs << u"DXGG"_qs;
        QTest::newRow("长度") << u"长度"_qs << u"CD"_qs;
        QTest::newRow("重量") << u"重量"_qs << u"ZL"_qs;
        QTest::newRow("螺纹钢") << u"螺纹钢"_qs << u"LWG"_qs;
        QTest::newRow("水泥") << u"水泥"_qs << u"SN"_qs;
        QTest::newRow("瓷砖") << u"瓷砖"_qs << u"CZ"_qs;
        QTest::newRow("给水管") << u"给水管"_qs << u"JSG"_qs;
        QTest::newRow("调节阀") << u"调节阀"_qs << u"TJF"_qs;
        QTest::newRow("弹簧") << u"弹簧"_qs << u"TH"_qs;
        QTest::newRow("冷轧板") << u"冷轧板"_qs << u"LZB"_qs;
        QTest::newRow("刨花板") << u"刨花板"_qs << u"BHB"_qs;
        QTest::newRow("铝合金角码") << u"铝合金角码"_qs << u"LHJJM"_qs;
        QTest::newRow("不锈钢膨胀螺栓 M8*80") << u"不锈钢膨胀螺栓 M8*80"_qs << u"BXGPZLS M8*80"_qs;
        QTest::newRow("PPR热水管 Φ25") << u"PPR热水管 Φ25"_qs << u"PPRRSG PH25"_qs;
    }
    void commonGoodsNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QCOMPARE(HanZiSimpleCode(name, SimpleCodeFlag::KeepAll, 255), code);
    }
};

MARVODA_TEST(TestHanZiSimpleCode)
#include "tst_hanzi_simple_code.moc"
