#include "master/workbook_reader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace workbook {

std::optional<Format> detectFormat(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(8);
        if (head.startsWith("PK\x03\x04")) return Format::Xlsx;
        if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return Format::Xls;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv" || suffix == u"txt") return Format::Csv;
    return std::nullopt;
}

void readSheet(const QString &path, const QString &sheet, const RowHandler &onRow)
{
    const QFileInfo info(path);
    if (!info.isFile()) throw WorkbookError(QStringLiteral("找不到文件：") + path);
    if (!info.isReadable()) throw WorkbookError(QStringLiteral("文件无法读取：") + path);
    const auto format = detectFormat(path);
    if (!format)
        throw WorkbookError(QStringLiteral("文件不是Excel工作簿（.xls、.xlsx）或CSV文本（.csv）：") + path);
    switch (*format) {
    case Format::Xls: readXls(path, sheet, onRow); break;
    case Format::Xlsx: readXlsx(path, sheet, onRow); break;
    case Format::Csv: readCsv(path, onRow); break;
    }
}

QString numberText(double v)
{
    if (!std::isfinite(v)) return QString();
    if (v == 0) return QStringLiteral("0");
    const double mag = std::fabs(v);
    if (std::floor(v) == v && mag < 9007199254740992.0) return QString::number(qint64(v));
    // Spreadsheets keep and show 15 significant digits; more would only show binary noise.
    const int digitsBeforePoint = int(std::floor(std::log10(mag))) + 1;
    const int decimals = std::clamp(15 - digitsBeforePoint, 0, 40);
    QString s = QString::number(v, 'f', decimals);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0')) s.chop(1);
        if (s.endsWith(u'.')) s.chop(1);
    }
    if (s == u"-0") s = QStringLiteral("0");
    return s;
}

} // namespace workbook
