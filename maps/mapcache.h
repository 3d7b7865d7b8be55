#pragma once

#include "core/datetime.h"
#include "core/globetypes.h"

#include <QByteArray>
#include <QImage>
#include <QString>

constexpr int CacheFreshMinutes = 360;
// A file dated further ahead than this (a clock set back, a file from another machine) is
// stale, so it cannot stay fresh until that date.
constexpr int CacheFutureSlackSeconds = 60;

// The maps kept in the data folder, one PNG per view, each fresh for 360 minutes by its
// last-write time.
class MapCache
{
public:
    MapCache(QString dataDir, const Clock &clock);

    const QString &dataDir() const { return m_dataDir; }

    // dataDir + "temps", "rain", "wind", "anomoly" or "pressure" + ".png"; other kinds give
    // dataDir + ".png", which is never written.
    QString cache_file_name(ViewKind kind) const;
    bool exists(ViewKind kind) const;
    bool cache_is_fresh(ViewKind kind) const;
    // The file's last-write instant; invalid when there is no file.
    QDateTime fileTime(ViewKind kind) const;

    // The view's map. A file that is no sane map is deleted, so that the view is downloaded
    // again; the result is then null, as it is when there is no file.
    QImage load(ViewKind kind) const;
    // Writes a map's PNG bytes as the view's file in one rename, so a crash or a full disk
    // leaves the old map or the new one. Empty on success, else the text to show.
    QString save(ViewKind kind, const QByteArray &png) const;

private:
    QString m_dataDir;
    const Clock &m_clock;
};

// Decodes a map file; a null image when it is not a sane image.
QImage read_map_file(const QString &path);
// The PNG bytes of a texture, as they go into the cache file.
QByteArray encode_map_png(const QImage &texture);
