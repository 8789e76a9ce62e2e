#include "LineprobeIcon.h"

// Q_INIT_RESOURCE must stand outside any namespace.
static void InitLineprobeResources()
{
    Q_INIT_RESOURCE(lineprobe);
}

QIcon LineprobeIcon()
{
    static const bool initialized = [] {
        InitLineprobeResources();
        return true;
    }();
    Q_UNUSED(initialized);
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/lineprobe/lineprobe-%1.png").arg(size), QSize(size, size));
    return icon;
}
