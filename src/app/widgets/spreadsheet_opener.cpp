#include "app/widgets/spreadsheet_opener.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <langinfo.h>

bool openInSpreadsheet(const QString &path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    // The desktop's opener starts even when no program takes the file, so ask it first.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
        QProcess q;
        q.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(path).name()});
        if (q.waitForFinished(3000) && !q.readAllStandardOutput().trimmed().isEmpty()) return QDesktopServices::openUrl(url);
    }
    for (const char *name : {"libreoffice", "localc", "soffice", "gnumeric"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (exe.isEmpty()) continue;
        QStringList args;
        if (QLatin1String(name) != QLatin1String("gnumeric")) args << QStringLiteral("--calc");
        args << path;
        QProcess p;
        p.setProgram(exe);
        p.setArguments(args);
        // Without a UTF-8 locale the program would read the Chinese folder names as Latin-1.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("LC_ALL")) && QByteArray(nl_langinfo(CODESET)) != "UTF-8")
            env.insert(QStringLiteral("LC_CTYPE"), QStringLiteral("C.UTF-8"));
        p.setProcessEnvironment(env);
        return p.startDetached();
    }
    return false;
}
