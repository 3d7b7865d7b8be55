#include "maps/mapcache.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

MapCache::MapCache(QString dataDir, const Clock &clock)
    : m_dataDir(std::move(dataDir))
    , m_clock(clock)
{}

QString MapCache::cache_file_name(ViewKind kind) const
{
    static const char *const stems[] = {"temps", "rain", "wind", "anomoly", "pressure"};
    const QString stem = View::isMap(kind) ? QLatin1String(stems[kind]) : QString();
    return m_dataDir + stem + QLatin1String(".png");
}

bool MapCache::exists(ViewKind kind) const { return QFileInfo::exists(cache_file_name(kind)); }

QDateTime MapCache::fileTime(ViewKind kind) const
{
    const QFileInfo file(cache_file_name(kind));
    return file.exists() ? file.lastModified() : QDateTime();
}

bool MapCache::cache_is_fresh(ViewKind kind) const
{
    const QDateTime written = fileTime(kind);
    if (!written.isValid())
        return false;
    const QDateTime now = m_clock.nowUtc();
    const QDateTime utc = written.toUTC();
    return utc > now.addSecs(-CacheFreshMinutes * 60) &&
           utc <= now.addSecs(CacheFutureSlackSeconds);
}

QImage MapCache::load(ViewKind kind) const
{
    const QString name = cache_file_name(kind);
    if (!QFileInfo::exists(name))
        return {};
    QImage image = read_map_file(name);
    if (image.isNull())
        QFile::remove(name);
    return image;
}

QString MapCache::save(ViewKind kind, const QByteArray &png) const
{
    const QString path = cache_file_name(kind);
    QSaveFile file(path);
    const bool saved = !png.isEmpty() && file.open(QIODevice::WriteOnly) &&
                       file.write(png) == png.size() && file.commit();
    if (saved) {
        // Dated by the clock that judges freshness, so the two can never disagree.
        QFile written(path);
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(m_clock.nowUtc(), QFileDevice::FileModificationTime);
        return {};
    }
    return QStringLiteral("Map shown, but it could not be saved in ") +
           QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

QImage read_map_file(const QString &path)
{
    QImageReader reader(path);
    reader.setAllocationLimit(256); // MB: far above any real map
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray encode_map_png(const QImage &texture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Quality 85 is zlib level 1 in Qt's PNG writer: about six times faster than the default
    // level, for a slightly larger file.
    if (!texture.save(&buffer, "PNG", 85))
        return {};
    return png;
}
