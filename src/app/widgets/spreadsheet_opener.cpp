#include "app/widgets/spreadsheet_opener.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

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
        // As an encoded URL the Chinese folder names survive a desktop without a UTF-8 locale.
        args << QString::fromLatin1(url.toEncoded());
        return QProcess::startDetached(exe, args);
    }
    return false;
}
