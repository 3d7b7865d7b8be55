#include "maps/mapfixture.h"

#include "app/busyindicator.h"
#include "imaging/mapimage.h"
#include "maps/httpclient.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTest>

MapFixture::MapFixture()
{
    reset_app_state();
    app().clock = &clock;
    server = std::make_unique<TestMapServer>();
    form = std::make_unique<TMainForm>();
    app().DataDir = dir.path() + QLatin1Char('/');
    app().MapServer = server->baseUrl();
}

MapFixture::~MapFixture()
{
    form.reset();
    server.reset();
}

HttpClientCore &MapFixture::client() { return *app().HttpClientObject->core(); }

void MapFixture::choose(ViewKind kind) { form->TempsButtonClick(form->buttonForView(kind)); }

bool MapFixture::waitIdle(int timeoutMs)
{
    return QTest::qWaitFor([] { return app().HttpClientObject->downloadsInFlight == 0; },
                           timeoutMs);
}

QImage MapFixture::texture() const { return form->scene().climateTexture.image(); }

bool MapFixture::busy() const { return !form->busyIndicator()->isHidden(); }

QString MapFixture::cacheFile(ViewKind kind) const
{
    static const char *const stems[] = {"temps", "rain", "wind", "anomoly", "pressure"};
    return dir.path() + QLatin1Char('/') + QLatin1String(stems[kind]) + QLatin1String(".png");
}

QByteArray map_png(QRgb colour, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFF);
    QPainter p(&image);
    // Rows get narrower toward the poles, like the server's maps.
    for (int y = 60; y < qMin(size.height(), 727); ++y) {
        const int inset = qAbs(y - 393) / 2;
        p.fillRect(5 + inset, y, 1088 - 2 * inset, 1, QColor::fromRgba(colour));
    }
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QImage expected_texture(const QByteArray &png)
{
    QImage decoded;
    if (!decode_map(png, decoded))
        return {};
    return make_sphere_texture(decoded);
}

void set_file_time(const QString &path, const QDateTime &when)
{
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(when, QFileDevice::FileModificationTime);
}
