#include "app/ui/startup.h"

#include "app/book_folders.h"
#include "app/connection_settings.h"
#include "app/data/dm1.h"
#include "app/prompter.h"
#include "app/ui/application.h"
#include "app/ui/chinese_fonts.h"
#include "app/ui/message_box_prompter.h"
#include "app/ui/pictures.h"
#include "app/ui/tfdl1.h"
#include "app/ui/tfljsz1.h"
#include "app/ui/tfmain1.h"
#include "app/ui/tfqd1.h"
#include "app/ui/tfscqd1.h"

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
// where the book is: the one named on the command line, else the one this computer's user chose
// at the login (never for making a new book), else the one in the data folder.
BookLocation locationOf(const Options &o)
{
    book_folders::setCurrent(book_folders::resolve(book_folders::facts(o.dataDir)));
    if ((o.createDatabase || !o.takeOver.isEmpty()) && o.postgres.isEmpty())
        return BookLocation::sqlite(book_folders::current().bookFile());
    return ConnectionSettings::choose(o.dataDir, o.postgres, book_folders::current().data);
}

TakeOver &takeOverHooks()
{
    static TakeOver hooks;
    return hooks;
}

BookLoader &bookLoader()
{
    static BookLoader load;
    return load;
}

// The book this computer's user chose last time cannot be opened (the server is off, the
// folder gone): the connection settings are offered instead of ending, so the counter is never
// stuck. False when no choice was saved or the operator gives up.
bool chooseAnotherBook(const Options &o, DM1 &dm)
{
    if (!o.dataDir.isEmpty() || !o.postgres.isEmpty() || !ConnectionSettings::load()) return false;
    prompt().warn(ConnectionSettings::SavedBookUnavailableMessage);
    TFljsz1 settings(dm);
    return settings.exec() == QDialog::Accepted;
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
        } else if (a == u"--from-book") {
            if (!value(o.fromBook)) return std::nullopt;
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
void setBookLoader(BookLoader load) { bookLoader() = std::move(load); }

int createDatabase(const Options &o)
{
    const BookLocation where = locationOf(o);
    QString why;
    auto failed = [&] {
        std::fprintf(stderr, "%s\n", qPrintable(QStringLiteral("创建账套失败：") + why));
        return 1;
    };
    if (!o.fromBook.isEmpty() && (o.postgres.isEmpty() || !bookLoader())) {
        why = QStringLiteral("--from-book 只用于 --postgres 指定的服务器账套");
        return failed();
    }
    if (!createBook(where, o.adminPassword, &why)) return failed();
    if (!o.fromBook.isEmpty()) {
        DM1 dm(where);
        if (!dm.open(&why) || !bookLoader()(dm, o.fromBook, &why)) return failed();
        std::printf("%s\n", qPrintable(QStringLiteral("已转入账套：") + o.fromBook));
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
    const auto noBookHere = [&] {
        const BookLocation &where = dm->db().location();
        return where.engine == BookLocation::Engine::SQLite && !QFileInfo::exists(where.file);
    };
    if (takeOverHooks().offer && noBookHere()) {
        splash.reset();
        takeOverHooks().offer(dm->db().location());
    }
    if (!dm->open(&why) && !chooseAnotherBook(o, *dm)) {
        splash.reset();
        if (!noBookHere()) {
            prompt().error(DM1::MissingBookMessage);
            return 1;
        }
        // A new user meets a choice, not the fatal message: a new book, an Access book or the
        // shop's server.
        TFscqd1 first(*dm, takeOverHooks().run);
        if (first.exec() != QDialog::Accepted) return 0;
        if (!dm->db().isOpen() && !dm->open(&why)) {
            prompt().error(DM1::MissingBookMessage);
            return 1;
        }
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
    const QString opened = dm->db().location().describe();
    {
        TFdl1 login(dm->db());
        if (!login.formShow()) return 1;
        if (login.exec() != QDialog::Accepted) return 0;
        operatorName = login.operatorName();
    }
    // The login's connection settings may have moved to another book: its company heads the window.
    if (dm->db().location().describe() != opened && !main->formCreate()) {
        prompt().error(DM1::MissingBookMessage);
        return 1;
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
