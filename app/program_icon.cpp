#include "program_icon.h"

#include "png_image.h"

#include <QPixmap>

QIcon ProgramIcon() {
    // Drawn at these sizes; larger ones are scaled from 64 where a desktop asks.
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64}) {
            const QImage image = ReadPngFile(QStringLiteral(":/icons/markwise_%1.png").arg(size));
            if (!image.isNull()) i.addPixmap(QPixmap::fromImage(image));
        }
        return i;
    }();
    return icon;
}
