#include "scalemaps.h"

#include "imaging/mapfixtures.h"
#include "imaging/mapimage.h"

namespace {
constexpr int PictureWidth = 1098;
constexpr int PictureHeight = 760;
} // namespace

QImage paint_server_map(const Colouring &colouring)
{
    const ExtractRectangle area = ServerMapArea;
    const int width = area.Right - area.Left;
    const int height = area.Bottom - area.Top;
    QImage picture(PictureWidth, PictureHeight, QImage::Format_ARGB32);
    picture.fill(MapBackground);
    for (int y = 0; y < height; ++y) {
        // -1 at the top edge, 1 at the bottom one.
        const double down = (y + 0.5) / height * 2 - 1;
        const double latitude = -90 * down;
        const double half = width / 2.0 * (1 - 0.47 * down * down);
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(area.Top + y)) + area.Left;
        for (int x = 0; x < width; ++x) {
            const double across = x + 0.5 - width / 2.0;
            if (std::abs(across) <= half)
                row[x] = colouring(latitude, across / half * 180);
        }
    }
    return picture;
}

QImage globe_texture(const QImage &serverMap)
{
    return make_sphere_texture(serverMap).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

QRgb cell_colour(const QList<QRgb> &cells, const QList<double> &lowerBounds, double value)
{
    qsizetype cell = 0;
    while (cell + 1 < lowerBounds.size() && value >= lowerBounds[cell + 1])
        ++cell;
    return cells.value(cell);
}
