// Comma-separated text files, as spreadsheet programs save them.
#include "master/workbook_reader.h"

#include <QFile>
#include <QStringDecoder>

namespace workbook {

QString decodeText(const QByteArray &bytes)
{
    // A fresh decoder each time: an ICU-backed decoder keeps its error state between calls.
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
            return text;
        }
    }
    QStringDecoder gbk("GBK");
    if (gbk.isValid()) {
        QString text = gbk.decode(bytes);
        if (!gbk.hasError()) return text;
    }
    throw WorkbookError(QStringLiteral("文件既不是UTF-8编码也不是GBK编码的文本"));
}

void parseCsv(const QString &text, const RowHandler &onRow)
{
    QStringList fields;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool any = false;         // the record has begun
    int record = 0;
    auto endField = [&] {
        fields << field;
        field.clear();
    };
    auto endRecord = [&] {
        ++record;
        endField();
        while (!fields.isEmpty() && fields.last().isEmpty()) fields.removeLast();
        if (!fields.isEmpty()) onRow(record, fields);
        fields.clear();
        any = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            any = true;
        } else if (c == u',') {
            endField();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            endRecord();
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.isEmpty() || !fields.isEmpty()) endRecord();
}

void readCsv(const QString &path, const RowHandler &onRow)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw WorkbookError(QStringLiteral("文件无法读取：") + path);
    parseCsv(decodeText(f.readAll()), onRow);
}

} // namespace workbook
