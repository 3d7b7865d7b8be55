#include "common/servedmaps.h"

#include "imaging/mapimage.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

QRgb row_colour(int y) { return qRgb(y & 0xFF, (y >> 8) & 0xFF, 0x80); }

QByteArray map_png(QRgb colour, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFF);
    QPainter p(&image);
    for (int y = 60; y < qMin(size.height(), 727); ++y) {
        const int inset = qAbs(y - 393) / 2;
        p.fillRect(5 + inset, y, 1088 - 2 * inset, 1,
                   QColor::fromRgba(colour ? colour : row_colour(y)));
    }
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QImage expected_texture(const QByteArray &png)
{
    QImage decoded;
    if (!decode_map(png, decoded))
        return {};
    return make_sphere_texture(decoded);
}

void set_file_time(const QString &path, const QDateTime &when)
{
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(when, QFileDevice::FileModificationTime);
}
