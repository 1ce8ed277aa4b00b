// Writes the program's icon, the drawn runner of the window icon, as PNG
// files for the desktop's icon theme: makeicons <directory> <name> <size>...
// gives <directory>/<size>x<size>/apps/<name>.png for each size.

#include "classic/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: makeicons <directory> <name> <size>...\n", stderr);
        return 2;
    }
    const QString& name = arguments.at(2);
    for (const QString& sizeText : arguments.mid(3)) {
        const int size = sizeText.toInt();
        const QString directory = arguments.at(1) + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = directory + QLatin1Char('/') + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(directory) ||
            !kadrix::programIconPixmap(size).save(file, "PNG")) {
            std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
