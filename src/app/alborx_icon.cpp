// Writes the application icon for installation: alborx.svg and PNG files of
// the usual sizes, drawn by the same code as the window's icon.
// Usage: alborx-icon FOLDER
#include "logo.h"

#include <QDir>
#include <QFile>

int main(int argc, char* argv[])
{
    if (argc < 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!alborx::ui::iconImage(size).save(
                folder.filePath(QStringLiteral("alborx-%1.png").arg(size))))
            return 1;
    }
    QFile svg(folder.filePath(QStringLiteral("alborx.svg")));
    if (!svg.open(QIODevice::WriteOnly))
        return 1;
    svg.write(alborx::ui::iconSvg().toUtf8());
    return svg.flush() ? 0 : 1;
}
