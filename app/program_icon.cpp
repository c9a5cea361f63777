#include "program_icon.h"

QIcon ProgramIcon() {
    // Drawn at these sizes; a larger one is scaled down from 64 where asked.
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64}) i.addFile(QStringLiteral(":/icons/markwise_%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}
