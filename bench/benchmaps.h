#pragma once

#include <QByteArray>

namespace bench {

enum Shape { Robinson, Ellipse };

// A map as the server draws it, 1098 x 760: white margins around a world of rows of
// varying width, in noisy colour bands, saved as an RGB PNG of about 1 MB. Made once per
// shape and kept.
const QByteArray &map_png(Shape shape);

} // namespace bench
