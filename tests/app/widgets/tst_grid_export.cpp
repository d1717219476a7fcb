#include "app/widgets/grid_export.h"
#include "app/widgets/list_window.h"
#include "app/widgets/record_table_model.h"
#include "scripted_prompter.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<RecordTableModel::Column> partnerColumns()
{
    return {
        {"bh", "编号", RecordTableModel::Text, true},
        {"mc", "名称", RecordTableModel::Text, true},
        {"bz", "备注", RecordTableModel::Text, true},
        {"qk", "欠款", RecordTableModel::Amount, true},
        {"lx", "联系人", RecordTableModel::Text, true},
    };
}

// The sheet as xlsx2csv reads it back, one list of cells per row.
QList<QStringList> readBack(const QString &path)
{
    QProcess p;
    p.start("xlsx2csv", {path});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        rows << line.split(',');
    return rows;
}

QStringList folderEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestGridExport : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (QStandardPaths::findExecutable("xlsx2csv").isEmpty()) QSKIP("xlsx2csv is not installed");
        GridExport::setOpener([this](const QString &path) { opened << path; return openerAnswers; });
        opened.clear();
        openerAnswers = true;
    }
    void cleanup() { GridExport::setOpener({}); }

    void hiddenColumnLeavesItsColumnEmpty()
    {
        QTemporaryDir dir;
        RecordTableModel m(partnerColumns());
        m.appendRow({QString("00123"), QString(" 建材商行 "), QString("x"), Decimal::parseOr0(u"1500"), QString("王")});
        m.appendRow({QString("007"), QString("五金店"), QString("y"), Decimal::parseOr0(u"-20.5"), QString()});
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        grid.setColumnHidden(2, true);
        const QString path = dir.filePath("供应商.xlsx");
        ScriptedPrompter p;
        QVERIFY(GridExport::exportGridToFile(&grid, "供应商资料", path));
        QCOMPARE(opened, QStringList{path});
        QVERIFY(p.messages().isEmpty());
        const auto rows = readBack(path);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], QStringList({"编号", "名称", "", "欠款", "联系人"}));
        QCOMPARE(rows[1], QStringList({"00123", "建材商行", "", "1500.00", "王"}));   // trimmed, zeros kept
        QCOMPARE(rows[2], QStringList({"007", "五金店", "", "-20.50", ""}));
        QCOMPARE(folderEntries(dir.path()), QStringList{"供应商.xlsx"});   // no work file left
    }

    void movedColumnsExportAtTheirGridPositions()
    {
        RecordTableModel m(partnerColumns());
        m.appendRow({QString("1"), QString("a"), QString("b"), Decimal(2), QString("c")});
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        grid.horizontalHeader()->moveSection(4, 0);   // 联系人 first
        QCOMPARE(GridExport::gridColumns(&grid), QList<int>({4, 0, 1, 2, 3}));
    }

    void emptyListWritesTitlesOnly()
    {
        QTemporaryDir dir;
        RecordTableModel m(partnerColumns());
        const QString path = dir.filePath("empty.xlsx");
        const auto r = GridExport::exportModelToXlsx(&m, {0, 1, -1, 3, 4}, path);
        QVERIFY2(r.written(), qPrintable(r.error));
        const auto rows = readBack(path);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], QStringList({"编号", "名称", "", "欠款", "联系人"}));
    }

    void failureSaysSoAndLeavesNothing_data()
    {
        QTest::addColumn<QString>("target");   // relative to a fresh folder
        QTest::newRow("folder cannot be made") << "afile/sub/x.xlsx";
        QTest::newRow("name taken by a folder") << "adir";
    }
    void failureSaysSoAndLeavesNothing()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QFile blocker(dir.filePath("afile"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(QDir(dir.path()).mkdir("adir"));
        RecordTableModel m(partnerColumns());
        m.appendRow({QString("1"), QString("a")});
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        ScriptedPrompter p;
        QVERIFY(!GridExport::exportGridToFile(&grid, "客户资料", dir.filePath(target)));
        QCOMPARE(p.texts(), QStringList{"数据导出失败！"});
        QCOMPARE(p.lastKind(), QString("info"));
        QVERIFY(opened.isEmpty());
        QCOMPARE(folderEntries(dir.path()), QStringList({"adir", "afile"}));
        QVERIFY(folderEntries(dir.filePath("adir")).isEmpty());
    }

    void cancelLeavesOlderFileUntouched()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.xlsx");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older export");
        old.close();
        RecordTableModel m(partnerColumns());
        for (int i = 0; i < 1000; ++i) m.appendRow({QString::number(i)});
        int calls = 0;
        const auto r = GridExport::exportModelToXlsx(&m, {0, 1}, path, "x", [&](int done, int total) {
            ++calls;
            return done < total / 2;
        });
        QCOMPARE(r.outcome, GridExport::Outcome::Cancelled);
        QVERIFY(calls > 1);
        QCOMPARE(folderEntries(dir.path()), QStringList{"list.xlsx"});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("older export"));
    }

    void withoutSpreadsheetProgramTellsWhereTheFileIs()
    {
        QTemporaryDir dir;
        openerAnswers = false;
        RecordTableModel m(partnerColumns());
        QTableView grid;
        ListWindow::setupGrid(&grid, &m);
        const QString path = dir.filePath("a.xlsx");
        ScriptedPrompter p;
        QVERIFY(GridExport::exportGridToFile(&grid, "商品资料", path));
        QCOMPARE(p.lastKind(), QString("info"));
        QVERIFY(p.last().contains(QDir::toNativeSeparators(path)));
    }

    void defaultName()
    {
        QCOMPARE(GridExport::defaultFileName("商品/资料", QDateTime(QDate(2024, 3, 5), QTime(15, 30, 7))),
                 QString("商品_资料_20240305_153007.xlsx"));
        QCOMPARE(GridExport::defaultFolder("/data"), QString("/data/导出"));
    }

private:
    QStringList opened;
    bool openerAnswers = true;
};

MARVODA_TEST(TestGridExport)
#include "tst_grid_export.moc"
