// Writes the program's icon as PNG files for the desktop: render_icon OUT_DIR SIDE...
// gives OUT_DIR/SIDExSIDE/apps/marvoda.png, the layout of an icon theme.
#include "app/ui/pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_icon OUT_DIR SIDE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int side = QByteArray(argv[i]).toInt();
        const QString dir = out.filePath(QStringLiteral("%1x%1/apps").arg(side));
        if (side <= 0 || !QDir().mkpath(dir) || !pictures::programIcon(side).save(dir + QStringLiteral("/marvoda.png"))) {
            std::fprintf(stderr, "cannot write the %s icon into %s\n", argv[i], qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
