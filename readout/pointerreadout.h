#pragma once

#include "core/globetypes.h"
#include "core/unitflags.h"
#include "globe/globepick.h"

#include <QDateTime>
#include <QLocale>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>

class GlobeScene;

// What the globe shows under the pointer.
struct PointerReadout
{
    // Nothing when the pointer is off the globe.
    std::optional<GlobePoint> point;
    QString position;
    // The map's value there, or the solar time in the Day/Night view; empty where the map's
    // colour stands for nothing on its legend.
    QString detail;

    // The position, and the detail under it when there is one.
    QString text() const;
    // The same for a screen reader, without the signs it would read out as symbols.
    QString spokenText() const;
};

// Reads the shown view's globe at a pointer position in a view of `viewSize`: the sphere's
// point under it, and for a map view the legend value of the map's texel there.
PointerReadout read_pointer(const GlobeScene &scene, ViewKind shown, QSizeF viewSize, QPointF pos,
                            const UnitFlags &units, const QDateTime &utc, const QLocale &locale);
