#include "app/appicon.h"

QIcon application_icon()
{
    // Rendered PNGs rather than the SVG: no SVG image plugin is needed at run time.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/skyloom-%1.png").arg(size), QSize(size, size));
    return icon;
}
