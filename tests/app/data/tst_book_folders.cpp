#include "app/book_folders.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using book_folders::Facts;
using book_folders::Folders;

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestBookFolders : public QObject {
    Q_OBJECT
private slots:
    // Paths are relative to a scratch folder; "prefix/bin" beside "prefix/share/marvoda" is an
    // installed program, any other folder a copied one.
    void dataFolder_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("holdsBook");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("copied, writable") << "copy" << true << false << "" << "xdg" << "copy";
        QTest::newRow("copied with its book, read-only") << "copy" << false << true << "" << "xdg" << "copy";
        QTest::newRow("copied, read-only, no book") << "copy" << false << false << "" << "xdg" << "xdg/marvoda";
        QTest::newRow("installed, read-only") << "prefix/bin" << false << false << "" << "xdg" << "xdg/marvoda";
        QTest::newRow("installed, run by root") << "prefix/bin" << true << false << "" << "xdg" << "xdg/marvoda";
        QTest::newRow("installed with a book beside it") << "prefix/bin" << false << true << "" << "xdg" << "prefix/bin";
        QTest::newRow("no XDG_DATA_HOME") << "prefix/bin" << false << false << "" << "" << "home/.local/share/marvoda";
        QTest::newRow("relative XDG_DATA_HOME is ignored") << "prefix/bin" << false << false << "" << "rel" << "home/.local/share/marvoda";
        QTest::newRow("--data-dir wins over a book beside") << "copy" << true << true << "mine/../mine2" << "xdg" << "mine2";
        QTest::newRow("--data-dir wins for installed") << "prefix/bin" << false << false << "mine" << "xdg" << "mine";
    }
    void dataFolder()
    {
        QFETCH(QString, program);
        QFETCH(bool, writable);
        QFETCH(bool, holdsBook);
        QFETCH(QString, option);
        QFETCH(QString, dataHome);
        QFETCH(QString, expected);
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        QDir().mkpath(root.filePath(program));
        QDir().mkpath(root.filePath("prefix/share/marvoda"));
        if (holdsBook) touch(root.filePath(program + "/KLVData1.db"));
        Facts f{root.filePath(program), writable, option.isEmpty() ? QString() : root.filePath(option),
                dataHome == "rel" ? QStringLiteral("rel/share") : dataHome.isEmpty() ? QString() : root.filePath(dataHome),
                root.filePath("home")};
        const Folders got = book_folders::resolve(f);
        const QString data = QDir::cleanPath(root.filePath(expected));
        QCOMPARE(got.data, data);
        QCOMPARE(got.bookFile(), data + "/KLVData1.db");
        QCOMPARE(got.backups(), data + "/数据备份库");
        QCOMPARE(got.exports(), data + "/导出");
    }

    void templatesAndHelpDocumentsOfAnInstalledProgram()
    {
        QTemporaryDir tmp;
        const QDir root(tmp.path());
        QDir().mkpath(root.filePath("prefix/bin"));
        QDir().mkpath(root.filePath("prefix/share/marvoda/数据导入模版"));
        const Folders f = book_folders::resolve({root.filePath("prefix/bin"), false, {}, root.filePath("xdg"), {}});
        const QString shared = root.filePath("prefix/share/marvoda");
        QCOMPARE(f.templates(), shared + "/数据导入模版");
        const QString manual = book_folders::ManualFile;
        QCOMPARE(f.documentPlaces(manual), (QStringList{root.filePath("prefix/bin/") + manual, shared + "/" + manual}));
        QVERIFY(f.findDocument(manual).isEmpty());
        const QString message = f.missingDocumentMessage(manual);
        QVERIFY2(message.startsWith("找不到说明文件Marvoda操作说明书.pdf！") && message.contains(shared + "/" + manual) &&
                     message.contains(root.filePath("prefix/bin/") + manual),
                 qPrintable(message));

        touch(shared + "/" + manual);
        QCOMPARE(f.findDocument(manual), shared + "/" + manual);
        // A copy beside the program (a folder the shop copied as it was) is preferred.
        touch(root.filePath("prefix/bin/") + manual);
        QCOMPARE(f.findDocument(manual), root.filePath("prefix/bin/") + manual);
        QDir().mkpath(root.filePath("prefix/bin/数据导入模版"));
        QCOMPARE(f.templates(), root.filePath("prefix/bin/数据导入模版"));
    }

    void copiedProgramKeepsEverythingBesideItself()
    {
        QTemporaryDir tmp;
        const Folders f = book_folders::resolve({tmp.path(), true, {}, {}, {}});
        QVERIFY(f.shared.isEmpty());
        QCOMPARE(f.templates(), tmp.path() + "/数据导入模版");
        QCOMPARE(f.documentPlaces(book_folders::QuestionsFile), QStringList{tmp.path() + "/Marvoda功能问答.txt"});
    }
};

MARVODA_TEST(TestBookFolders)
#include "tst_book_folders.moc"
