// Writes the program's icon as PNG files in the layout of the desktop's icon
// theme: <folder>/hicolor/<n>x<n>/apps/glodrik.png for every installed size.
//
//   glodrik-icons <folder>

#include "programicon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glodrik-icons <folder>\n");
        return 2;
    }
    // Painting needs no display: the offscreen platform is enough.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString path = folder + QStringLiteral("/glodrik.png");
        if (!QDir().mkpath(folder) || !ProgramIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "glodrik-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
