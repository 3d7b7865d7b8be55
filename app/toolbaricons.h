#pragma once

#include <QIcon>

// White tool-bar symbols drawn in code, sharp at any pixel ratio on the dark tool bars.

// The drawer button's symbol: three strokes, 2 thick, in a 30 x 20 box.
QIcon menu_icon(qreal dpr);
// The back button's symbol: a left arrow in a 20 x 20 box.
QIcon back_arrow_icon(qreal dpr);
