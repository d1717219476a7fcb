#include "app/data/database.h"
#include "master/spreadsheet_import.h"
#include "master/workbook_reader.h"
#include "test_book.h"
#include "test_main.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const QString &name)
{
    return QDir(qEnvironmentVariable("MARVODA_SOURCE_DIR")).filePath(QStringLiteral("tests/master/fixtures/") + name);
}

// A workbook as a spreadsheet program's user would make it: strings as text cells (so codes keep
// their leading zeros), doubles as number cells. A string starting with "=" is a formula whose
// stored result follows after "|" ("=H2*I2|1250").
void writeXlsx(const QString &path, const QString &sheet, const QList<QVariantList> &rows, bool constantMemory = false)
{
    lxw_workbook_options opt = {};
    opt.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *wb = workbook_new_opt(QFile::encodeName(path).constData(), &opt);
    QVERIFY(wb);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Notes");
    ws = workbook_add_worksheet(wb, sheet.toUtf8().constData());
    lxw_format *dateFormat = workbook_add_format(wb);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const QVariant &v = rows[r][c];
            if (v.typeId() == QMetaType::Double) {
                worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v.toDouble(), nullptr);
            } else if (v.typeId() == QMetaType::QDate) {
                const QDate d = v.toDate();
                lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(ws, lxw_row_t(r), lxw_col_t(c), &dt, dateFormat);
            } else if (v.toString().startsWith(u'=')) {
                const QStringList f = v.toString().split(u'|');
                worksheet_write_formula_num(ws, lxw_row_t(r), lxw_col_t(c), f[0].toUtf8().constData(), nullptr, f[1].toDouble());
            } else if (!v.toString().isEmpty()) {
                worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), v.toString().toUtf8().constData(), nullptr);
            }
        }
    }
    QCOMPARE(int(workbook_close(wb)), int(LXW_NO_ERROR));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QList<QVariantList> withHeadings(ImportTarget t, const QList<QVariantList> &rows)
{
    QVariantList head;
    for (const QString &h : spreadsheet_import::headings(t)) head << h;
    return QList<QVariantList>{head} + rows;
}

int count(Database &db, const QString &table)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return q.next() ? q.value(0).toInt() : -1;
}

// One goods row as stored, in the template's column order (numbers as the Decimal raw count).
QStringList goodsRow(Database &db, const QString &where, std::initializer_list<QVariant> values)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT lb,txm,ppgg,dw,jj,xjpf,xjls,kcsl,kcjg,kcje,slt,jet,ms,bz,ck FROM sp WHERE ") + where, values);
    QStringList out;
    if (q.next())
        for (int c = 0; c < 15; ++c) out << (q.isNull(c) ? QStringLiteral("NULL") : q.value(c).toString());
    return out;
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    // Made once by LibreOffice from import_goods_source.csv, the code and text columns typed Text.
    void savedByLibreOffice_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("xls") << "import_goods.xls";
        QTest::newRow("xlsx") << "import_goods.xlsx";
    }
    void savedByLibreOffice()
    {
        QFETCH(QString, file);
        TestBook book;
        const ImportResult r = importFile(book.db(), ImportTarget::Goods, fixture(file));
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.message(), QString("批量导入成功!"));
        QCOMPARE(r.inserted, 2);
        QCOMPARE(goodsRow(book.db(), "txm = ?", {"000123"}),
                 QStringList({"钢材", "000123", "镀锌钢管 DN20", "根", "125000", "140000", "168000", "1000000", "125000",
                              "12500000", "5000", "0", "含\"国标\"<认证>&Co", "50%_off", "主仓库"}));
        // Empty cells: number columns 0, text columns empty text rather than NULL, so the row
        // is still found by the lists' containment searches.
        QCOMPARE(goodsRow(book.db(), "txm = ?", {"0456"}),
                 QStringList({"水泥", "0456", "水泥 P.O42.5", "袋", "234500", "0", "300000", "35000", "234500", "820750",
                              "0", "12000", "", "", "主仓库"}));
        QSqlQuery q = book.db().exec("SELECT COUNT(*) FROM sp WHERE " + book.db().containsCondition("ms") + " AND " +
                                         book.db().containsCondition("bz"),
                                     {Database::containsPattern(""), Database::containsPattern("")});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        q = book.db().exec("SELECT txm FROM sp WHERE " + book.db().containsCondition("bz"), {Database::containsPattern("%_")});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("000123"));
        QVERIFY(!q.next());
    }

    // FreeXL leaves formula cells empty; their stored results must arrive instead of 0.
    // Damaged workbooks the program walks itself for formula results (tools/fuzz.sh replays
    // them under the address checker): read quietly within the file's size, at once.
    void damagedXlsIsReadWithinItsOwnBytes_data()
    {
        QTest::addColumn<QString>("file");
        // An allocation chain that loops on itself and claims 100,000 sectors (once gigabytes).
        QTest::newRow("looping chain") << "fuzz/difat-loop.xls";
        // A sheet record that runs past the end of the stream (once read beyond it).
        QTest::newRow("record past the end") << "fuzz/sheet-record-past-end.xls";
    }
    void damagedXlsIsReadWithinItsOwnBytes()
    {
        QFETCH(QString, file);
        QFile f(fixture(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(workbook::xlsFormulaResults(f.readAll(), "Sheet1").empty());
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    }

    void xlsFormulasGiveTheirResults()
    {
        TestBook book;
        const ImportResult r = importFile(book.db(), ImportTarget::Goods, fixture("import_goods_formulas.xls"));
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(goodsRow(book.db(), "txm = ?", {"000123"}),
                 QStringList({"钢材", "000123", "镀锌钢管", "根", "0", "0", "40125", "120000", "26750", "321000", "0", "0",
                              "", "", "主仓库"}));
    }

    void xlsxSavedByLibxlsxwriter_data()
    {
        QTest::addColumn<bool>("constantMemory");
        QTest::newRow("shared strings") << false;
        QTest::newRow("inline strings") << true;
    }
    void xlsxSavedByLibxlsxwriter()
    {
        QFETCH(bool, constantMemory);
        TestBook book;
        QTemporaryDir dir;
        const QString path = dir.filePath("商品.xlsx");
        // Headings in another order, with a column the import does not know and a blank row.
        const QVariantList head = {"备注", "编码", "商品名称", "类别", "单位", "仓库", "采购单价", "批发单价", "零售单价",
                                   "库存数量", "库存单价", "库存金额", "数量提成", "金额提成", "商品描述", "录入人"};
        writeXlsx(path, "Sheet1",
                  {head,
                   {QDate(2024, 3, 5), "000789", "PVC管 Φ20", "管材", "米", "二号库", 2.675, 0.1 + 0.2, 3.0, 12.0, 2.675,
                    "=J2*K2|32.1", 0.00005, 0.00015, "灰色", "张三"},
                   {},
                   {"", "0010", "铜线", "电线", "卷", "二号库", 100.0, 110.0, 130.0, 5.0, 100.0, 500.0}},
                  constantMemory);
        const ImportResult r = importFile(book.db(), ImportTarget::Goods, path);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.inserted, 2);
        // Half to even at the fifth decimal: 0.00005 → 0, 0.00015 → 0.0002.
        QCOMPARE(goodsRow(book.db(), "txm = ?", {"000789"}),
                 QStringList({"管材", "000789", "PVC管 Φ20", "米", "26750", "3000", "30000", "120000", "26750", "321000", "0",
                              "2", "灰色", "2024-03-05", "二号库"}));
        QCOMPARE(goodsRow(book.db(), "txm = ?", {"0010"}).value(12), QString(""));
    }

    void richTextRunsAreOneValue()
    {
        TestBook book;
        QTemporaryDir dir;
        const QString path = dir.filePath("厂商.xlsx");
        lxw_workbook *wb = workbook_new(QFile::encodeName(path).constData());
        lxw_worksheet *ws = workbook_add_worksheet(wb, "Sheet1");
        lxw_format *bold = workbook_add_format(wb);
        format_set_bold(bold);
        const QStringList head = spreadsheet_import::headings(ImportTarget::Suppliers);
        for (int c = 0; c < head.size(); ++c) worksheet_write_string(ws, 0, lxw_col_t(c), head[c].toUtf8().constData(), nullptr);
        QByteArray a = QString("华东").toUtf8(), b = QString("建材").toUtf8(), c = QString("公司").toUtf8();
        lxw_rich_string_tuple f1 = {nullptr, a.data()}, f2 = {bold, b.data()}, f3 = {nullptr, c.data()};
        lxw_rich_string_tuple *parts[] = {&f1, &f2, &f3, nullptr};
        worksheet_write_rich_string(ws, 1, 0, parts, nullptr);
        QCOMPARE(int(workbook_close(wb)), int(LXW_NO_ERROR));
        QVERIFY(importFile(book.db(), ImportTarget::Suppliers, path).ok);
        QVERIFY(book.db().exists("SELECT id FROM ghs WHERE mc = ?", {"华东建材公司"}));
    }

    void csvInUtf8OrGbk_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral(
            "名称,联系人,联系电话,传真号码,联系地址,邮政编码,开户银行,银行帐号,备注\r\n"
            "\"O'Neil \"\"老王\"\" 建材\",王五,010-1234,,\"北京市, 海淀区\n中关村\",012345,工商银行,0200001,100%_真\r\n"
            "李记五金,,,,,,,,\r\n");
        QTest::newRow("utf-8") << text.toUtf8();
        QTest::newRow("utf-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QStringEncoder gbk("GBK");
        QTest::newRow("gbk") << QByteArray(gbk.encode(text));
    }
    void csvInUtf8OrGbk()
    {
        QFETCH(QByteArray, bytes);
        TestBook book;
        QTemporaryDir dir;
        writeFile(dir.filePath("厂商.csv"), bytes);
        const ImportResult r = importFile(book.db(), ImportTarget::Suppliers, dir.filePath("厂商.csv"));
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.inserted, 2);
        QSqlQuery q = book.db().exec("SELECT mc, lxr, lxdz, yb, yhzh, bz, lxcz FROM ghs ORDER BY id");
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("O'Neil \"老王\" 建材"));
        QCOMPARE(q.value(2).toString(), QString("北京市, 海淀区\n中关村"));
        QCOMPARE(q.value(3).toString(), QString("012345"));
        QCOMPARE(q.value(4).toString(), QString("0200001"));
        QCOMPARE(q.value(5).toString(), QString("100%_真"));
        QVERIFY(!q.isNull(6));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QString("李记五金"));
    }

    void textInNoKnownEncodingFails()
    {
        TestBook book;
        QTemporaryDir dir;
        writeFile(dir.filePath("x.csv"), QByteArray("\xFF\xFE\xFF,\x81\x20\r\n"));
        const ImportResult r = importFile(book.db(), ImportTarget::Suppliers, dir.filePath("x.csv"));
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains("GBK"), qPrintable(r.reason));
    }

    // The name is a partner's identity: a second import, a repeat inside the file and a row
    // without a name add nothing. Goods have no such test.
    void importingTwice_data()
    {
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("nameColumn");
        QTest::addColumn<int>("firstAdds");
        QTest::addColumn<int>("secondAdds");
        QTest::newRow("suppliers") << ImportTarget::Suppliers << "ghs" << "mc" << 3 << 0;
        QTest::newRow("customers") << ImportTarget::Customers << "kh" << "mc" << 3 << 0;
        QTest::newRow("employees") << ImportTarget::Employees << "yg" << "xm" << 3 << 0;
        QTest::newRow("goods") << ImportTarget::Goods << "sp" << "ppgg" << 6 << 6;
    }
    void importingTwice()
    {
        QFETCH(ImportTarget, target);
        QFETCH(QString, table);
        QFETCH(QString, nameColumn);
        QFETCH(int, firstAdds);
        QFETCH(int, secondAdds);
        TestBook book;
        const qint64 existing = book.db().insert(table, {{nameColumn, "甲"}});
        QTemporaryDir dir;
        const QString path = dir.filePath("in.xlsx");
        // 甲 is in the book already, 乙 comes twice, one row has no name.
        writeXlsx(path, "Sheet1",
                  withHeadings(target, {{"甲"}, {"乙"}, {"乙"}, {"", "某人"}, {"丙'%_"}, {"丁"}}));
        ImportResult r = importFile(book.db(), target, path);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.inserted, firstAdds);
        QCOMPARE(count(book.db(), table), 1 + firstAdds);
        QSqlQuery q = book.db().exec(QStringLiteral("SELECT MIN(id) FROM %1 WHERE id <> ?").arg(table), {existing});
        QVERIFY(q.next());
        QVERIFY(q.value(0).toLongLong() > existing);
        if (target != ImportTarget::Goods) {
            QVERIFY(book.db().exists(QStringLiteral("SELECT id FROM %1 WHERE %2 = ?").arg(table, nameColumn), {"丙'%_"}));
            QCOMPARE(r.skipped, 3);
        }

        r = importFile(book.db(), target, path);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.message(), QString("批量导入成功!"));
        QCOMPARE(r.inserted, secondAdds);
        QCOMPARE(count(book.db(), table), 1 + firstAdds + secondAdds);
    }

    void badFilesInsertNothing_data()
    {
        QTest::addColumn<QString>("file");   // a fixture, or one the test writes
        QTest::addColumn<QString>("reason");
        QTest::newRow("xls without Sheet1") << "fixture:import_goods_other_sheet.xls" << "Sheet1";
        QTest::newRow("xlsx without Sheet1") << "other-sheet.xlsx" << "Sheet1";
        QTest::newRow("heading missing") << "no-code.xlsx" << "缺少列标题：编码";
        QTest::newRow("not a number on row 3") << "bad-number.xlsx" << "第3行“库存数量”不是有效的数字：十";
        QTest::newRow("not a number in a csv") << "bad-number.csv" << "第3行“库存单价”不是有效的数字：1,5";
        QTest::newRow("empty sheet") << "empty.xlsx" << "没有标题行";
        QTest::newRow("missing file") << "missing.xls" << "找不到文件";
        QTest::newRow("not a workbook") << "text.xls" << "不是Excel工作簿";
        QTest::newRow("broken zip") << "broken.xlsx" << "不是可读取的Excel工作簿";
        // Found by fuzzing the readers: FreeXL reads outside its buffers while opening it.
        QTest::newRow("xls that overruns FreeXL") << "fixture:fuzz/freexl-open-overrun.xls" << "工作簿内容损坏";
        // A looping allocation chain: FreeXL follows it until its memory runs out.
        QTest::newRow("xls whose chain loops") << "fixture:fuzz/difat-loop.xls" << "工作簿";
    }
    void badFilesInsertNothing()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        TestBook book;
        book.db().insert("sp", {{"ppgg", "已有商品"}});
        QTemporaryDir dir;
        QString path = dir.filePath(file);
        const QList<QVariantList> good = {{"钢材", "001", "钢管", "根", 1.0, 1.0, 1.0, 1.0, 1.0, 1.0}};
        if (file.startsWith("fixture:")) path = fixture(file.mid(8));
        else if (file == "other-sheet.xlsx") writeXlsx(path, "商品", withHeadings(ImportTarget::Goods, good));
        else if (file == "no-code.xlsx") {
            QList<QVariantList> rows = withHeadings(ImportTarget::Goods, good);
            rows[0][1] = "商品编码";
            writeXlsx(path, "Sheet1", rows);
        } else if (file == "bad-number.xlsx") {
            writeXlsx(path, "Sheet1",
                      withHeadings(ImportTarget::Goods, good + QList<QVariantList>{{"钢材", "002", "钢板", "张", 1.0, 1.0, 1.0, "十"}}));
        } else if (file == "bad-number.csv") {
            writeFile(path, QString("编码,商品名称,类别,单位,仓库,采购单价,批发单价,零售单价,库存数量,库存单价,库存金额,数量提成,金额提成,商品描述,备注\n"
                                    "1,钢管,钢材,根,主仓库,1,1,1,1,1,1,0,0,,\n"
                                    "2,钢板,钢材,张,主仓库,1,1,1,1,\"1,5\",1,0,0,,\n").toUtf8());
        } else if (file == "empty.xlsx") writeXlsx(path, "Sheet1", {});
        else if (file == "text.xls") writeFile(path, "类别,编码\n");
        else if (file == "broken.xlsx") writeFile(path, QByteArray("PK\x03\x04 not really a zip", 24));

        const ImportResult r = importFile(book.db(), ImportTarget::Goods, path);
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains(reason), qPrintable(r.reason));
        QVERIFY(r.message().startsWith("批量导入失败!\n"));
        QCOMPARE(r.inserted, 0);
        QCOMPARE(count(book.db(), "sp"), 1);
    }

    // A refusal by the database in a late batch takes back the rows of the earlier batches.
    void refusalByTheBookRollsBackEverything()
    {
        TestBook book;
        if (TestBook::onPostgres()) {
            book.db().exec("CREATE FUNCTION refuse_bad() RETURNS trigger AS $$ BEGIN IF NEW.mc = '坏' THEN "
                           "RAISE EXCEPTION '拒绝'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
            book.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON ghs FOR EACH ROW EXECUTE FUNCTION refuse_bad()");
        } else {
            book.db().exec("CREATE TRIGGER refuse BEFORE INSERT ON ghs WHEN NEW.mc = '坏' BEGIN SELECT RAISE(ABORT, '拒绝'); END");
        }
        QList<QVariantList> rows;
        for (int i = 0; i < 500; ++i) rows << QVariantList{QStringLiteral("厂商%1").arg(i)};
        rows << QVariantList{"坏"};
        QTemporaryDir dir;
        writeXlsx(dir.filePath("in.xlsx"), "Sheet1", withHeadings(ImportTarget::Suppliers, rows));
        const ImportResult r = importFile(book.db(), ImportTarget::Suppliers, dir.filePath("in.xlsx"));
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains("拒绝"), qPrintable(r.reason));
        QCOMPARE(count(book.db(), "ghs"), 0);
        // The connection is usable afterwards.
        book.db().insert("ghs", {{"mc", "好"}});
        QCOMPARE(count(book.db(), "ghs"), 1);
    }

    // The committed templates read with this importer: the right headings and no rows.
    void templatesMatchTheImport_data()
    {
        QTest::addColumn<ImportTarget>("target");
        QTest::addColumn<QString>("suffix");
        for (const char *s : {".xls", ".xlsx"}) {
            QTest::addRow("goods %s", s) << ImportTarget::Goods << s;
            QTest::addRow("suppliers %s", s) << ImportTarget::Suppliers << s;
            QTest::addRow("customers %s", s) << ImportTarget::Customers << s;
            QTest::addRow("employees %s", s) << ImportTarget::Employees << s;
        }
    }
    void templatesMatchTheImport()
    {
        QFETCH(ImportTarget, target);
        QFETCH(QString, suffix);
        QString path = QDir(qEnvironmentVariable("MARVODA_SOURCE_DIR"))
                           .filePath("assets/" + spreadsheet_import::TemplateFolder + u'/' + spreadsheet_import::templateFile(target));
        path.replace(QStringLiteral(".xls"), suffix);
        QStringList heading;
        workbook::readSheet(path, "Sheet1", [&](int row, const QStringList &cells) {
            QCOMPARE(row, 1);
            heading = cells;
        });
        QCOMPARE(heading, spreadsheet_import::headings(target));
        TestBook book;
        const ImportResult r = importFile(book.db(), target, path);
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(r.inserted, 0);
    }

    void numbersAsSpreadsheetsShowThem_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("telephone") << 13800138000.0 << "13800138000";
        QTest::newRow("small") << 0.00005 << "0.00005";
        QTest::newRow("negative") << -2.675 << "-2.675";
        QTest::newRow("large with fraction") << 123456789.125 << "123456789.125";
        QTest::newRow("zero") << -0.0 << "0";
    }
    void numbersAsSpreadsheetsShowThem()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(workbook::numberText(value), text);
    }
};

MARVODA_TEST(TestImport)
#include "tst_import.moc"
