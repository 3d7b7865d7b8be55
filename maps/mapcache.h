#pragma once

#include "app/globetypes.h"

#include <QImage>
#include <QString>

constexpr int CacheFreshMinutes = 360;

// DataDir + "temps", "rain", "wind", "anomoly" or "pressure" + ".png"; other kinds give
// DataDir + ".png", which is never written.
QString cache_file_name(ViewKind kind);
bool cache_is_fresh(ViewKind kind);
// Loads the view's file into the climate texture and shows the view with the file's date.
void load_cached_map(ViewKind kind);

// Decodes a map file; a null image when it is not a sane image.
QImage read_map_file(const QString &path);
// Writes a map's PNG bytes as the view's cache file, atomically; on failure says so in
// StatusError.
void save_cached_map(ViewKind kind, const QByteArray &png);
// The PNG bytes of a texture, as they go into the cache file.
QByteArray encode_map_png(const QImage &texture);
