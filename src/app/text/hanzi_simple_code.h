// The goods simple code (sp.txm): the pinyin initials of a goods name, with Latin letters and
// digits passed through in capitals, so users find goods by typing a few letters.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Flags of the simple code.
namespace SimpleCodeFlag {
constexpr int WholeSyllable = 1;   // the whole syllable ("ZHONGGUO") instead of its initial
constexpr int MarkUnmapped = 2;    // a character without reading gives "?" instead of nothing
constexpr int KeepAll = 4;         // keep blanks and punctuation, not only letters and digits
} // namespace SimpleCodeFlag

// The code of a goods name, cut to maxLength characters. The goods dialog and the batch
// command pass flags KeepAll and maxLength 255. A negative flags value gives the empty code.
// For text GBK can encode the result is the one HanZiSimpleCodeGbk gives on its GBK bytes;
// Chinese characters outside GBK give their reading too, other characters outside GBK count as
// characters without reading.
QString HanZiSimpleCode(QStringView text, int flags, int maxLength);

// The same on GBK bytes, the system's historic text encoding: a lead byte 0x81-0xFE followed
// by a byte of at least 0x40 is one double-byte character, any other byte a single-byte one.
QByteArray HanZiSimpleCodeGbk(QByteArrayView gbk, int flags, int maxLength);
