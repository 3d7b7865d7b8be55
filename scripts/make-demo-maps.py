#!/usr/bin/python3
"""Paints demo weather maps from real global fields and fills the app's map cache with them.

The build machine has no internet, so the README pictures cannot show a downloaded map.
Debian's libncarg-data package carries real global fields (1 January 2001 temperature and
humidity, winds, geopotential height, a sea-surface temperature difference, a land-sea mask);
this script colours them with the program's own legend scales (legend/legendimage.cpp) and
lays them out as the map server does: a white image of 1098 x 760 with the map area at
(5, 60)-(1093, 727), each row centred and narrower toward the poles.

It then does what the program does with a downloaded map: crop the map area, stretch each
row's span over 1112 columns (imaging/rowstretch.cpp), and save the 1112 x 667 texture in the
data folder as temps.png, rain.png, wind.png and anomoly.png (maps/mapcache.cpp). The stretch
here follows the program's column mapping; on these maps it gives the same pixels as the
program's make_sphere_texture (checked with a small program linked to skyloom_base).

Usage: scripts/make-demo-maps.py DATA_DIR [SERVER_MAPS_DIR]
Needs: apt-get install -y libncarg-data python3-netcdf4 python3-numpy python3-pil
(scripts/install-demo-map-deps.sh does that).
"""
import os
import sys

import numpy as np
import netCDF4
from PIL import Image, ImageDraw

NCARG = "/usr/share/ncarg/data/"
EARTH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "textures",
                     "earth.png")

IMAGE_W, IMAGE_H = 1098, 760
LEFT, TOP, RIGHT, BOTTOM = 5, 60, 1093, 727
AREA_W, AREA_H = RIGHT - LEFT, BOTTOM - TOP
SPHERE_W, SPHERE_H = 1112, 667

# Colour stops copied from legend/legendimage.cpp.
TEMPERATURE = [0xFFFFFF, 0xAF8DAE, 0x4F004B, 0xF300EE, 0x1F208C, 0x6BABF3, 0x9AE9D4,
               0x7CC142, 0xFBAE2A, 0xFD0100, 0x690000, 0xFEFFFF]          # -60..50 °C, ramp
RAIN = [0xC9F0C9, 0x00E100, 0x00C900, 0x00B200, 0x009900, 0x008100, 0xFFFF00,
        0xFFC100, 0xFF8100, 0xFF0000, 0x810000]                            # cells
SNOW = [0xD9FFFF, 0xA1E1F6, 0x81C1E9, 0x3E91D9, 0x1A60C9, 0x0000A1, 0xFFFF00,
        0xFFC100, 0xFF8100, 0xFF0000, 0x810000]                            # cells
WIND = [0xFFFFFF, 0xF0F0F0, 0xBEE6FC, 0x78AFEC, 0x3278DC, 0x00A010, 0x40D038,
        0x80FF60, 0xFFFCAC, 0xFFE280, 0xFFC850, 0xFF9000, 0xFF0000, 0xCD0000,
        0xA00000, 0xC86868, 0xD4948E, 0xE0C0B4, 0xFEECE0]                  # cells
CHANGE = [0xFFFFFF, 0xDCB6FE, 0x132297, 0xFFFFFF, 0x740000, 0xFA0000, 0xFFB2B1]  # -30..30, ramp

# Rain and snow cells start at these mm/h (the legend labels 0.1, 0.5, 2, 5, 15, 25 sit on
# every other cell); wind cells at these knots (labels 0, 8, 16, 25, ... on every other cell).
RAIN_MM = [0.1, 0.3, 0.5, 1.0, 2.0, 3.5, 5.0, 10.0, 15.0, 20.0, 25.0]
WIND_KNOTS = [0, 4, 8, 12, 16, 20, 25, 30, 35, 40, 45, 52, 60, 70, 80, 90, 100, 110, 120]

LAND_TINT = np.array([226, 222, 212], np.float32)   # no rain, over land
SEA_TINT = np.array([206, 218, 230], np.float32)    # no rain, over sea


def rgb(stops):
    return np.array([[(c >> 16) & 255, (c >> 8) & 255, c & 255] for c in stops], np.float32)


def ramp(values, low, step, stops):
    colours = rgb(stops)
    t = np.clip((values - low) / step, 0, len(stops) - 1)
    k = np.clip(np.floor(t).astype(int), 0, len(stops) - 2)
    f = (t - k)[..., None]
    return colours[k] * (1 - f) + colours[k + 1] * f


def cells(values, thresholds, stops):
    index = np.clip(np.searchsorted(thresholds, values, side="right") - 1, 0, len(stops) - 1)
    return rgb(stops)[index]


# ---- the server's layout -------------------------------------------------------------------

def layout():
    """Latitude and longitude of every map-area pixel, and which pixels lie inside the map."""
    y = (np.arange(AREA_H) + 0.5) / AREA_H * 2 - 1            # -1 at the top, 1 at the bottom
    half = AREA_W / 2 * (1 - 0.47 * y ** 2)
    x = np.arange(AREA_W) + 0.5 - AREA_W / 2
    inside = np.abs(x[None, :]) <= half[:, None]
    lon = np.clip(x[None, :] / half[:, None], -1, 1) * 180.0
    lat = np.repeat((-y * 90.0)[:, None], AREA_W, axis=1)
    return lat, lon, inside


def sample(field, lats, lons, lat, lon):
    """Bilinear sample of a global field on a regular grid (latitudes either way round,
    longitudes in any 360° range, wrapping)."""
    field = np.asarray(np.ma.filled(np.ma.asarray(field, dtype=np.float64), np.nan))
    lats = np.asarray(lats, np.float64)
    lons = np.asarray(lons, np.float64)
    if lats[0] > lats[-1]:
        lats = lats[::-1]
        field = field[::-1]
    order = np.argsort(np.mod(lons, 360))
    lons = np.mod(lons, 360)[order]
    field = field[:, order]
    # wrap one column each side
    lons = np.concatenate([[lons[-1] - 360], lons, [lons[0] + 360]])
    field = np.concatenate([field[:, -1:], field, field[:, :1]], axis=1)
    q = np.mod(lon, 360)
    i = np.clip(np.searchsorted(lons, q) - 1, 0, len(lons) - 2)
    fx = (q - lons[i]) / (lons[i + 1] - lons[i])
    la = np.clip(lat, lats[0], lats[-1])
    j = np.clip(np.searchsorted(lats, la) - 1, 0, len(lats) - 2)
    fy = (la - lats[j]) / (lats[j + 1] - lats[j])
    top = field[j, i] * (1 - fx) + field[j, i + 1] * fx
    bottom = field[j + 1, i] * (1 - fx) + field[j + 1, i + 1] * fx
    return top * (1 - fy) + bottom * fy


def land_fraction(lat, lon):
    """Land (1) or sea (0) per pixel, from cdf/landsea.nc, or the earth texture if unusable."""
    try:
        d = netCDF4.Dataset(NCARG + "cdf/landsea.nc")
        mask = np.asarray(d["LSMASK"][:], np.float64)
        land = ((mask == 1) | (mask == 3) | (mask == 4)).astype(np.float64)
        return sample(land, d["lat"][:], d["lon"][:], lat, lon), "cdf/landsea.nc"
    except Exception as error:  # fall back to the earth texture's colours
        print("landsea.nc unusable (%s): land from earth.png" % error, file=sys.stderr)
        tex = np.asarray(Image.open(EARTH).convert("RGB"), np.float32)
        h, w, _ = tex.shape
        r, g, b = tex[..., 0], tex[..., 1], tex[..., 2]
        land = ((b < r + 10) | (g > b + 5)).astype(np.float64)
        lats = 90 - (np.arange(h) + 0.5) * 180 / h
        lons = -180 + (np.arange(w) + 0.5) * 360 / w
        return sample(land, lats, lons, lat, lon), "earth.png"


def outline(is_land):
    """Pixels on land that touch sea: the coastline."""
    edge = np.zeros_like(is_land)
    edge[1:, :] |= is_land[1:, :] != is_land[:-1, :]
    edge[:, 1:] |= is_land[:, 1:] != is_land[:, :-1]
    return edge & is_land


def compose(colours, inside, coast, title):
    """The server's image: white, the map area's rows centred, coastlines dark."""
    colours = np.clip(np.rint(colours), 0, 255).astype(np.uint8)
    # pure white inside the map would read as margin to the row stretch
    white = np.all(colours == 255, axis=-1)
    colours[white] = (254, 254, 254)
    if coast is not None:
        colours[coast] = (40, 40, 40)
    area = np.full((AREA_H, AREA_W, 3), 255, np.uint8)
    area[inside] = colours[inside]
    image = np.full((IMAGE_H, IMAGE_W, 3), 255, np.uint8)
    image[TOP:BOTTOM, LEFT:RIGHT] = area
    picture = Image.fromarray(image, "RGB")
    ImageDraw.Draw(picture).text((LEFT + 8, 20), title, fill=(0, 0, 0))
    return picture


def span_owners(start, end, out_w):
    """For each output column, the span pixel (from start) that ends up in it, or -1: pixel k
    goes to column x = round_half_even(out_w * (k / (end - start))) in float arithmetic and
    fills x, x + 1 and x + 2 (only x near the right edge); later pixels overwrite earlier ones,
    as imaging/rowstretch.cpp does."""
    k = np.arange(end - start + 1, dtype=np.float32)
    columns = np.rint(np.float32(out_w) * (k / np.float32(end - start))).astype(int)
    owner = np.full(out_w, -1, int)
    for index, x in enumerate(columns):
        if x < out_w - 2:
            owner[x:x + 3] = index
        elif x < out_w:
            owner[x] = index
    return owner


def stretch(server_map):
    """Crop the map area and stretch each row's span over SPHERE_W columns, as the app does."""
    crop = np.asarray(server_map.convert("RGB"))[TOP:BOTTOM, LEFT:RIGHT]
    out = np.zeros((SPHERE_H, SPHERE_W, 4), np.uint8)
    width = crop.shape[1]
    plans = {}
    for y in range(min(SPHERE_H, crop.shape[0])):
        row = crop[y]
        content = np.nonzero(np.any(row != 255, axis=1))[0]
        if content.size == 0:
            continue
        first = int(content[0])
        start, end = first + 2, width - first - 2
        if end <= start:
            continue
        if first not in plans:
            plans[first] = span_owners(start, end, SPHERE_W)
        owner = plans[first]
        written = owner >= 0
        source = np.clip(start + owner[written], 0, width - 1)
        out[y, written, :3] = row[source]
        out[y, written, 3] = 255
    return Image.fromarray(out, "RGBA")


# ---- the fields ----------------------------------------------------------------------------

def temperature_field(lat, lon):
    try:
        d = netCDF4.Dataset(NCARG + "nug/rectilinear_grid_3D.nc")
        t = sample(d["t"][0, 0], d["lat"][:], d["lon"][:], lat, lon) - 273.15
        return t, "nug/rectilinear_grid_3D.nc t at 1000 hPa, 1 January 2001"
    except Exception as error:
        print("rectilinear_grid_3D.nc unusable (%s): temperature from latitude" % error,
              file=sys.stderr)
        # January: the south warm, the north cold
        return 27 - 0.004 * (lat + 10) ** 2 * 2.2 - np.where(lat > 0, lat * 0.25, 0), \
            "latitude and season (fallback)"


def precipitation_field(lat, lon):
    """mm/h of rain or snow from high relative humidity at 850 and 700 hPa."""
    d = netCDF4.Dataset(NCARG + "nug/rectilinear_grid_3D.nc")
    lats, lons = d["lat"][:], d["lon"][:]
    rh = np.minimum(np.asarray(d["rhumidity"][0, 2]), np.asarray(d["rhumidity"][0, 4]))
    rh_mean = (np.asarray(d["rhumidity"][0, 2]) + np.asarray(d["rhumidity"][0, 4])) / 2
    wet = np.clip((np.maximum(rh, rh_mean - 0.05) - 0.80) / 0.20, 0, None)
    rate = 5.0 * wet ** 2.5
    t850 = np.asarray(d["t"][0, 2]) - 273.15
    warm = np.asarray(d["t"][0, 0]) - 273.15
    rate = rate * np.clip((t850 + 25) / 25, 0.15, 1.6)  # cold air holds little water
    return (sample(rate, lats, lons, lat, lon), sample(warm, lats, lons, lat, lon),
            "nug/rectilinear_grid_3D.nc rhumidity at 850/700 hPa, t at 1000 hPa")


def wind_field(lat, lon):
    """Wind speed in knots at 850 hPa, above the surface's friction, from cdf/nc4uvt.nc
    (uv300.nc's jet, scaled down, as fallback)."""
    try:
        d = netCDF4.Dataset(NCARG + "cdf/nc4uvt.nc")
        level = int(np.argmin(np.abs(np.asarray(d["lev"][:]) - 850)))
        u, v = np.asarray(d["U"][0, level]), np.asarray(d["V"][0, level])
        name = "cdf/nc4uvt.nc U, V at %d hPa" % int(d["lev"][level])
    except Exception as error:
        print("nc4uvt.nc unusable (%s): uv300.nc scaled down" % error, file=sys.stderr)
        d = netCDF4.Dataset(NCARG + "cdf/uv300.nc")
        u, v = np.asarray(d["U"][0]) * 0.35, np.asarray(d["V"][0]) * 0.35
        name = "cdf/uv300.nc U, V scaled to the surface"
    speed = np.hypot(u, v) * 1.943844  # m/s to knots
    return sample(speed, d["lat"][:], d["lon"][:], lat, lon), name


def pressure_field(lat, lon):
    """A pressure-like field (hPa) from cdf/hgt.nc's heights, for isobars."""
    d = netCDF4.Dataset(NCARG + "cdf/hgt.nc")
    z = np.asarray(d["HGT"][0], np.float64)
    z = z - np.nanmean(z, axis=1, keepdims=True) * 0.6  # keep the waves, less of the pole-to-equator slope
    z = (z - np.nanmean(z)) / np.nanstd(z)
    return 1012 + 12 * sample(z, d["lat"][:], d["lon"][:], lat, lon), "cdf/hgt.nc HGT, month 1"


def fill_gaps(field):
    """Grows a field into its missing (NaN) cells from their neighbours, so that the sea's
    values reach the coasts and the poles."""
    field = field.copy()
    for _ in range(400):
        gaps = np.isnan(field)
        if not gaps.any():
            break
        known = np.where(gaps, 0.0, field)
        weight = (~gaps).astype(np.float64)
        total = np.zeros_like(field)
        count = np.zeros_like(field)
        for axis, shift in ((0, 1), (0, -1), (1, 1), (1, -1)):
            total += np.roll(known, shift, axis)
            count += np.roll(weight, shift, axis)
        grown = np.where(count > 0, total / np.maximum(count, 1), np.nan)
        field = np.where(gaps, grown, field)
    return np.where(np.isnan(field), 0.0, field)


def change_field(lat, lon, land, temperature):
    """Deviation in °C: the sea-surface temperature change of sstanom.robinsonproj.nc (sign
    turned to warming) over the sea, and over land the day's temperature against its own
    latitude's land mean, a stand-in for a baseline the package does not carry."""
    rows = np.arange(temperature.shape[0])
    is_land = land > 0.5
    land_mean = np.array([temperature[r][is_land[r]].mean() if is_land[r].any() else 0.0
                          for r in rows])
    # smooth the row means over about 10 degrees of latitude
    kernel = np.ones(37) / 37
    padded = np.pad(land_mean, 18, mode="edge")
    land_mean = np.convolve(padded, kernel, mode="valid")
    over_land = 0.8 * (temperature - land_mean[:, None])
    try:
        d = netCDF4.Dataset(NCARG + "cdf/sstanom.robinsonproj.nc")
        sst = -np.asarray(np.ma.filled(d["SST"][:], np.nan), np.float64)
        lats, lons = np.asarray(d["lat"][:]), np.asarray(d["lon"][:])
        # the latitudes are not evenly spaced: sample by index
        jf = np.interp(np.clip(lat, lats.min(), lats.max()), lats, np.arange(len(lats)))
        reg_lats = np.arange(len(lats), dtype=np.float64)
        sst = fill_gaps(sst)
        over_sea = sample(sst, reg_lats, lons, jf, lon)
        over_sea = np.where(np.isnan(over_sea), 0.0, over_sea)
        name = "cdf/sstanom.robinsonproj.nc SST (sign turned) over sea"
    except Exception as error:
        print("sstanom.robinsonproj.nc unusable (%s): sea from temperature" % error,
              file=sys.stderr)
        over_sea = 0.3 * over_land
        name = "temperature against its latitude's mean (fallback) over sea"
    return np.where(is_land, over_land, over_sea), name + "; land: t against its latitude's mean"


# ---- main ----------------------------------------------------------------------------------

def main():
    if len(sys.argv) < 2:
        print(__doc__.strip().splitlines()[0] + "\nUsage: %s DATA_DIR [SERVER_MAPS_DIR]"
              % sys.argv[0], file=sys.stderr)
        return 2
    data_dir = sys.argv[1]
    server_dir = sys.argv[2] if len(sys.argv) > 2 else None
    os.makedirs(data_dir, exist_ok=True)
    if server_dir:
        os.makedirs(server_dir, exist_ok=True)

    lat, lon, inside = layout()
    land, land_source = land_fraction(lat, lon)
    is_land = land > 0.5
    coast = outline(is_land)
    print("land and coastlines:", land_source)

    maps = {}
    temperature, source = temperature_field(lat, lon)
    print("temperature:", source)
    maps["temps"] = compose(ramp(temperature, -60, 10, TEMPERATURE), inside, coast,
                            "Temperature (1000 hPa)  1 Jan 2001 00 UTC")

    rate, warm, source = precipitation_field(lat, lon)
    print("rain/snow:", source)
    base = np.where(is_land[..., None], LAND_TINT, SEA_TINT)
    snow = warm < 0.5
    rain_colours = np.where(snow[..., None], cells(rate, RAIN_MM, SNOW), cells(rate, RAIN_MM, RAIN))
    colours = np.where((rate >= RAIN_MM[0])[..., None], rain_colours, base)
    maps["rain"] = compose(colours, inside, coast, "Rain/Snow  1 Jan 2001 00 UTC")

    speed, source = wind_field(lat, lon)
    print("wind:", source)
    colours = cells(speed, WIND_KNOTS, WIND)
    try:
        pressure, psource = pressure_field(lat, lon)
        print("isobars:", psource)
        band = np.floor(pressure / 4)
        isobar = np.zeros_like(inside)
        isobar[1:, :] |= band[1:, :] != band[:-1, :]
        isobar[:, 1:] |= band[:, 1:] != band[:, :-1]
        colours[isobar] = (90, 90, 90)
    except Exception as error:
        print("hgt.nc unusable (%s): no isobars" % error, file=sys.stderr)
    maps["wind"] = compose(colours, inside, coast, "Wind/Pressure  850 hPa")

    change, source = change_field(lat, lon, land, temperature)
    print("climate change:", source)
    maps["anomoly"] = compose(ramp(change, -30, 10, CHANGE), inside, coast,
                              "Temperature deviation")

    for stem, picture in maps.items():
        if server_dir:
            picture.save(os.path.join(server_dir, stem + ".png"), optimize=True)
        stretch(picture).save(os.path.join(data_dir, stem + ".png"), optimize=True)
        print("wrote", os.path.join(data_dir, stem + ".png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
