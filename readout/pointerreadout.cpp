#include "readout/pointerreadout.h"

#include "globe/globescene.h"
#include "readout/readouttext.h"

QString PointerReadout::text() const
{
    return detail.isEmpty() ? position : position + QLatin1Char('\n') + detail;
}

QString PointerReadout::spokenText() const
{
    QString spoken = detail.isEmpty() ? position : position + QStringLiteral(", ") + detail;
    return spoken.replace(QStringLiteral("≈ "), QStringLiteral("about "))
        .replace(QStringLiteral("–"), QStringLiteral(" to "));
}

PointerReadout read_pointer(const GlobeScene &scene, ViewKind shown, QSizeF viewSize, QPointF pos,
                            const UnitFlags &units, const QDateTime &utc, const QLocale &locale)
{
    PointerReadout readout;
    // In Day/Night the earth sphere is the globe; the night sphere is only its lights.
    const SceneNode *sphere = scene.EarthSphere.visible     ? &scene.EarthSphere
                              : scene.ClimateSphere.visible ? &scene.ClimateSphere
                                                            : nullptr;
    if (!sphere)
        return readout;
    readout.point = pick_globe(scene, *sphere, viewSize, pos);
    if (!readout.point)
        return readout;
    readout.position = position_text(readout.point->latitude, readout.point->longitude);
    if (shown == View::DayNight) {
        readout.detail = solar_time_text(readout.point->longitude, utc, locale);
        return readout;
    }
    // Until its first map arrives a map view shows the bare earth, which has no values.
    const QImage &map = scene.climateTexture.image();
    if (!View::isMap(shown) || map.isNull())
        return readout;
    const QPoint texel = texel_at(map.size(), *readout.point);
    const QRgb colour = map.pixel(texel);
    // Transparent texels are rows the server's map left empty.
    if (qAlpha(colour) == 255)
        readout.detail = map_value_text(shown, colour, units);
    return readout;
}
