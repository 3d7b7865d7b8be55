#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>

// A rectangle of a map image; Right and Bottom are exclusive.
struct ExtractRectangle
{
    int Left;
    int Top;
    int Right;
    int Bottom;
};

// Where the map area lies in the server's images, and its size.
constexpr ExtractRectangle MapExtractRect{5, 60, 1093, 727};
constexpr int OrigWidth = 1088;
constexpr int OrigHeight = 667;

// Size of the climate texture made from a map.
constexpr int SphereWidth = 1112;
constexpr int SphereHeight = 667;

// The background of a map image; every other value, transparent ones included, is content.
constexpr QRgb MapBackground = 0xFFFFFFFFu;

// Largest image a body may decode to; a header can claim any size, and the decoder would
// try to allocate it.
constexpr int MaxDecodeSide = 16384;
constexpr qint64 MaxDecodeBytes = 256ll * 1024 * 1024;

// Widest output stretch_rows writes; wider outputs are left as they are.
constexpr int MaxStretchWidth = 1 << 22;

// Decodes a downloaded body into a Format_ARGB32 image. Returns false (and leaves `image`
// null) when the body is empty, is not a decodable image, or claims a size beyond the limits
// above. Bytes after the end of the image are ignored.
bool decode_map(const QByteArray &body, QImage &image);

// The map area `rect` (Right and Bottom exclusive) of `orig`, as a Format_ARGB32 image of the
// rectangle's size; where the rectangle reaches beyond `orig`, pixels stay 0x00000000.
QImage crop_map(const QImage &orig, const ExtractRectangle &rect);

// Stretches the content of each row of `crop` over the full width of the same row of `output`
// (Format_ARGB32, made by the caller). Rows with no content, and output pixels the stretch
// does not reach, keep what `output` held. Rows below the shorter of the two are not touched.
void stretch_rows(const QImage &crop, QImage &output);

// The image itself when it is Format_ARGB32 (shared, not copied), else a converted copy.
inline QImage as_argb32(const QImage &image)
{
    return image.format() == QImage::Format_ARGB32 ? image
                                                   : image.convertToFormat(QImage::Format_ARGB32);
}

// Writes `colour` at columns x, x + 1 and x + 2 of `row`.
inline void set_pixel3(QRgb *row, int x, QRgb colour)
{
    row[x] = colour;
    row[x + 1] = colour;
    row[x + 2] = colour;
}

// The climate texture of a decoded map: crop by MapExtractRect, then stretch into a new
// transparent SphereWidth x SphereHeight image.
QImage make_sphere_texture(const QImage &decoded);
