#include "imaging/mapimage.h"

#include <QBuffer>
#include <QImageReader>
#include <QRect>

#include <cstring>

bool decode_map(const QByteArray &body, QImage &image)
{
    image = QImage();
    if (body.isEmpty())
        return false;

    QBuffer buffer;
    buffer.setData(body);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    QImageReader reader(&buffer);
    reader.setAllocationLimit(int(MaxDecodeBytes / (1024 * 1024)));
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxDecodeSide || size.height() > MaxDecodeSide ||
        qint64(size.width()) * size.height() * 4 > MaxDecodeBytes)
        return false;

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return false;
    // Opaque pixels are stored the same way in both: a relabel, not a pass over the pixels.
    if (decoded.format() == QImage::Format_RGB32)
        decoded.reinterpretAsFormat(QImage::Format_ARGB32);
    if (decoded.format() != QImage::Format_ARGB32) {
        decoded.convertTo(QImage::Format_ARGB32);
        if (decoded.format() != QImage::Format_ARGB32)
            return false;
    }
    image = std::move(decoded);
    return true;
}

QImage crop_map(const QImage &orig, const ExtractRectangle &rect)
{
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    if (width <= 0 || height <= 0)
        return QImage();
    QImage crop(width, height, QImage::Format_ARGB32);
    if (crop.isNull())
        return crop;
    crop.fill(0u);

    const QImage source = as_argb32(orig);
    const QRect covered = QRect(rect.Left, rect.Top, width, height) & source.rect();
    if (covered.isEmpty())
        return crop;

    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype cropStride = crop.bytesPerLine();
    const uchar *from = source.constBits() + covered.top() * sourceStride +
                        covered.left() * qsizetype(sizeof(QRgb));
    uchar *to = crop.bits() + (covered.top() - rect.Top) * cropStride +
                (covered.left() - rect.Left) * qsizetype(sizeof(QRgb));
    const size_t rowBytes = size_t(covered.width()) * sizeof(QRgb);
    for (int y = 0; y < covered.height(); ++y, from += sourceStride, to += cropStride)
        std::memcpy(to, from, rowBytes);
    return crop;
}

QImage make_sphere_texture(const QImage &decoded)
{
    const ExtractRectangle r = MapExtractRect;
    const QRect area(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    // A map area inside the image is read where it lies, with no copy; only a smaller image
    // needs the transparent border crop_map gives it.
    const QImage crop =
        decoded.format() == QImage::Format_ARGB32 && decoded.rect().contains(area)
            ? QImage(decoded.constScanLine(area.top()) + area.left() * qsizetype(sizeof(QRgb)),
                     area.width(), area.height(), decoded.bytesPerLine(), QImage::Format_ARGB32)
            : crop_map(decoded, r);
    QImage sphere(SphereWidth, SphereHeight, QImage::Format_ARGB32);
    sphere.fill(0u);
    stretch_rows(crop, sphere);
    return sphere;
}
