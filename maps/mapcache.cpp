#include "maps/mapcache.h"

#include "app/appstate.h"
#include "app/mainform.h"
#include "app/showview.h"
#include "legend/statusline.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

QString cache_file_name(ViewKind kind)
{
    static const char *const stems[] = {"temps", "rain", "wind", "anomoly", "pressure"};
    const QString stem = View::isMap(kind) ? QLatin1String(stems[kind]) : QString();
    return app().DataDir + stem + QLatin1String(".png");
}

bool cache_is_fresh(ViewKind kind)
{
    const QFileInfo file(cache_file_name(kind));
    if (!file.exists())
        return false;
    const QDateTime limit = utc_now_datetime().addSecs(-CacheFreshMinutes * 60);
    return file.lastModified().toUTC() > limit;
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

void load_cached_map(ViewKind kind)
{
    AppState &state = app();
    clear_status();
    const QString name = cache_file_name(kind);
    if (!QFileInfo::exists(name)) {
        state.StatusError = QStringLiteral("Cannot Open File");
        show_status_error();
        return;
    }
    const QImage image = read_map_file(name);
    if (!image.isNull()) {
        if (state.MainForm)
            state.MainForm->scene().climateTexture.setImage(image);
        state.MapSource = Source::Cache;
    } else {
        QFile::remove(name);
    }
    ShowView(kind);
    show_file_date_status(kind);
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

void save_cached_map(ViewKind kind, const QByteArray &png)
{
    const QString path = cache_file_name(kind);
    // Written next to the old file and renamed over it, so a crash or a full disk leaves
    // the old map or the new one, never half of one.
    QSaveFile file(path);
    const bool saved = !png.isEmpty() && file.open(QIODevice::WriteOnly) &&
                       file.write(png) == png.size() && file.commit();
    if (!saved)
        app().StatusError = QStringLiteral("Map shown, but it could not be saved in ") +
                            QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}
