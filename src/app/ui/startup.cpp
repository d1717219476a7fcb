#include "app/ui/startup.h"

#include "app/book_folders.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/ui/application.h"
#include "app/ui/chinese_fonts.h"
#include "app/ui/message_box_prompter.h"
#include "app/ui/pictures.h"
#include "app/ui/tfdl1.h"
#include "app/ui/tfmain1.h"
#include "app/ui/tfqd1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <memory>

namespace startup {

namespace {

// Settles the data folder for the whole run (backups, exports, templates follow it) and says
// where the book is.
BookLocation locationOf(const Options &o)
{
    book_folders::setCurrent(book_folders::resolve(book_folders::facts(o.dataDir)));
    if (!o.postgres.isEmpty()) return BookLocation::postgres(o.postgres);
    return BookLocation::sqlite(book_folders::current().bookFile());
}

TakeOver &takeOverHooks()
{
    static TakeOver hooks;
    return hooks;
}

void wait(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

std::optional<Options> parse(const QStringList &args, QString *why)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString &into) {
            if (i + 1 >= args.size()) {
                if (why) *why = a + QStringLiteral(" 缺少参数");
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == u"--data-dir") {
            if (!value(o.dataDir)) return std::nullopt;
        } else if (a == u"--postgres") {
            if (!value(o.postgres)) return std::nullopt;
        } else if (a == u"--admin-password") {
            if (!value(o.adminPassword)) return std::nullopt;
        } else if (a == u"--take-over") {
            if (!value(o.takeOver)) return std::nullopt;
        } else if (a == u"--create-database") {
            o.createDatabase = true;
        } else {
            if (why) *why = QStringLiteral("不认识的参数：") + a;
            return std::nullopt;
        }
    }
    return o;
}

void setTakeOver(TakeOver t) { takeOverHooks() = std::move(t); }

int createDatabase(const Options &o)
{
    const BookLocation where = locationOf(o);
    QString why;
    if (!createBook(where, o.adminPassword, &why)) {
        std::fprintf(stderr, "%s\n", qPrintable(QStringLiteral("创建账套失败：") + why));
        return 1;
    }
    std::printf("%s\n", qPrintable(QStringLiteral("已创建账套：") + where.describe()));
    return 0;
}

void installChineseLook()
{
    static QTranslator qt;
    if (qt.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    installChineseFonts();
}

int run(const QStringList &args, const Wiring &wire)
{
    QString why;
    const std::optional<Options> parsed = parse(args, &why);
    if (!parsed) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    const Options &o = *parsed;

    installChineseLook();
    QApplication::setWindowIcon(pictures::programIcon());
    auto splash = std::make_unique<TFqd1>();
    splash->show();
    splash->repaint();
    wait(o.splashMs);
    QCoreApplication::setApplicationName(QStringLiteral("QuorinMarvoda建材行业版"));

    auto dm = std::make_unique<DM1>(locationOf(o));
    if (takeOverHooks().offer && !QFileInfo::exists(dm->db().location().file)) {
        splash.reset();
        takeOverHooks().offer(locationOf(o));
    }
    if (!dm->open(&why)) {
        splash.reset();
        prompt().error(DM1::MissingBookMessage);
        return 1;
    }
    DM1::setCurrent(dm.get());
    struct Release {
        ~Release() { DM1::setCurrent(nullptr); }
    } release;

    auto main = std::make_unique<TFmain1>();
    if (!main->formCreate()) {
        splash.reset();
        prompt().error(DM1::MissingBookMessage);
        return 1;
    }
    main->showNavigation();
    if (wire) wire(*main);
    splash.reset();

    QString operatorName;
    {
        TFdl1 login(dm->db());
        if (!login.formShow()) return 1;
        if (login.exec() != QDialog::Accepted) return 0;
        operatorName = login.operatorName();
    }
    main->showMaximized();
    main->activateWindow();   // the keyboard passes from the login to the main window
    main->formShow(operatorName);
    return QApplication::exec();
}

int main(int argc, char **argv, const Wiring &wire)
{
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.contains(QStringLiteral("--create-database")) || args.contains(QStringLiteral("--take-over"))) {
        // Making a book needs no display: it must work on a machine without one.
        QCoreApplication app(argc, argv);
        QString why;
        const std::optional<Options> o = parse(args, &why);
        if (!o) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 2;
        }
        if (!o->takeOver.isEmpty() && takeOverHooks().command) return takeOverHooks().command(o->takeOver, locationOf(*o));
        return createDatabase(*o);
    }
    Application app(argc, argv);
    MessageBoxPrompter prompter;
    Prompter::install(&prompter);
    const int rc = run(QCoreApplication::arguments(), wire);
    Prompter::install(nullptr);
    return rc;
}

} // namespace startup
