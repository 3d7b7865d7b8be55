#include "mapfixtures.h"

#include "core/globetypes.h"
#include "imaging/mapimage.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QtEndian>

#include <cmath>

QRgb column_colour(int column) { return qRgba(column & 0xFF, (column >> 8) & 0xFF, 0x5A, 0xFF); }

int colour_column(QRgb colour)
{
    if (colour == 0)
        return -1;
    return qRed(colour) | (qGreen(colour) << 8);
}

QImage content_crop(const QList<int> &firsts, int width, int height)
{
    QImage crop = filled_image(width, height, MapBackground);
    for (int y = 0; y < height; ++y) {
        const int first = firsts.at(y % firsts.size());
        if (first < 0)
            continue;
        for (int x = first; x < width - first; ++x)
            crop.setPixel(x, y, column_colour(x));
    }
    return crop;
}

QImage filled_image(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

void reference_stretch(const QImage &crop, QImage &output)
{
    const int width = crop.width();
    const int outW = output.width();
    for (int y = 0; y < qMin(crop.height(), output.height()); ++y) {
        int first = 0;
        while (first < width && crop.pixel(first, y) == 0xFFFFFFFFu)
            ++first;
        if (first == width)
            continue;
        const int start = first + 2;
        const int end = width - first - 2;
        if (end <= start)
            continue;
        for (int j = start; j <= end; ++j) {
            const QRgb c = crop.pixel(j, y);
            const int xo =
                round_half_even(map_range(float(j), float(start), float(end), 0.f, float(outW)));
            if (xo < outW - 2) {
                output.setPixel(xo, y, c);
                output.setPixel(xo + 1, y, c);
                output.setPixel(xo + 2, y, c);
            } else if (xo < outW) {
                output.setPixel(xo, y, c);
            }
        }
    }
}

QImage reference_crop(const QImage &orig, const ExtractRectangle &rect)
{
    QImage crop = filled_image(rect.Right - rect.Left, rect.Bottom - rect.Top, 0);
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x)
            if (orig.valid(x, y))
                crop.setPixel(x - rect.Left, y - rect.Top, orig.pixel(x, y));
    return crop;
}

QImage server_like_map(int width, int height, quint32 seed, MapShape shape)
{
    QRandomGenerator random(seed);
    const ExtractRectangle r = ServerMapArea;
    QImage map = filled_image(width, height, MapBackground);
    const double half = (r.Bottom - r.Top) / 2.0;
    for (int y = r.Top; y < qMin(r.Bottom, height); ++y) {
        const double latitude = (y - r.Top + 0.5 - half) / half;
        const double share = shape == MapShape::Ellipse ? std::sqrt(1 - latitude * latitude)
                                                        : 1 - 0.47 * latitude * latitude;
        const int margin = int(std::lround(544 * (1 - share)));
        for (int x = r.Left + margin; x < qMin(r.Right - margin, width); ++x)
            map.setPixel(x, y, random.generate() | 0xFF000000u);
    }
    return map;
}

QByteArray png_bytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray big_endian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    return big_endian(quint32(data.size())) + typed + big_endian(crc32(typed));
}

} // namespace

QByteArray png_header_only(quint32 width, quint32 height)
{
    // 8-bit RGBA, no interlace.
    const QByteArray header =
        big_endian(width) + big_endian(height) + QByteArray("\x08\x06\0\0\0", 5);
    // An empty zlib stream as image data, so readers get past the header.
    const QByteArray data("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", data) +
           chunk("IEND", {});
}

int count_in_row(const QImage &image, int row, QRgb colour)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixel(x, row) == colour;
    return count;
}
