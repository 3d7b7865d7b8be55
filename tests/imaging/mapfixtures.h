#pragma once

#include "imaging/mapimage.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

// Width of the crop and of the texture the map server's pictures give.
// Where the server draws its map area, written out rather than taken from the program.
constexpr ExtractRectangle ServerMapArea{5, 60, 1093, 727};
constexpr int CropWidth = 1088;
constexpr int CropHeight = 667;

// An opaque colour that says which source column it came from, never white.
QRgb column_colour(int column);
// The source column of a column_colour, or -1 for a transparent (unwritten) pixel.
int colour_column(QRgb colour);

// A crop whose row y has white margins of firsts[y % size] columns on both sides and
// column_colour content between them; a first of -1 makes an all-white row.
QImage content_crop(const QList<int> &firsts, int width = CropWidth, int height = CropHeight);

// A new Format_ARGB32 image of one colour.
QImage filled_image(int width, int height, QRgb colour);

// The stretch done the slow, plain way: pixel() and setPixel(), map_range and round_half_even
// for every pixel. A span of one pixel leaves its row unwritten.
void reference_stretch(const QImage &crop, QImage &output);

// A crop the slow, plain way.
QImage reference_crop(const QImage &orig, const ExtractRectangle &rect);

// A map picture like the server's: white margins, rows of content of varying width centred
// in the crop area, random colours.
// Rows of random colours, narrowing toward the poles as an ellipse does, or as a
// Robinson-like world map does, which keeps a long line at each pole.
enum class MapShape { Ellipse, Robinson };
QImage server_like_map(int width, int height, quint32 seed, MapShape shape = MapShape::Ellipse);

QByteArray png_bytes(const QImage &image);

// A PNG that claims the given size and holds no pixel data.
QByteArray png_header_only(quint32 width, quint32 height);

// Number of pixels of `row` of `image` equal to `colour`.
int count_in_row(const QImage &image, int row, QRgb colour);
