#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

#include <functional>

// The colour a generated map has at a latitude and longitude, in degrees.
using Colouring = std::function<QRgb(double latitude, double longitude)>;

// A picture as the map server draws one: white, 1098 x 760, the map area at (5, 60) to
// (1093, 727) holding one row of the world per pixel row, centred and narrower toward the
// poles as on the server's Robinson-like maps. Each pixel takes the colour of the place it
// stands for.
QImage paint_server_map(const Colouring &colouring);

// What the program puts on the globe from such a picture: the map area cropped, each row
// stretched over the texture's width, in the layout the renderer uploads.
QImage globe_texture(const QImage &serverMap);

// The colour of the cell a value falls in, the cells starting at the given values.
QRgb cell_colour(const QList<QRgb> &cells, const QList<double> &lowerBounds, double value);
