#include "common/testsupport.h"

#include "imaging/mapimage.h"
#include "mapfixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

using PixelList = QList<QPair<int, int>>; // output column, source column (-1: unwritten)

Q_DECLARE_METATYPE(MapShape)

class TestImaging : public QObject
{
    Q_OBJECT

private slots:

    void stretchWorkedRows_data();
    void stretchWorkedRows();
    void onlyOpaqueWhiteIsBackground_data();
    void onlyOpaqueWhiteIsBackground();
    void stretchMatchesPlainVersion_data();
    void stretchMatchesPlainVersion();
    void stretchWithoutCropWritesNothing();

    void cropClipsToDecodedImage_data();
    void cropClipsToDecodedImage();
    void uncoveredCropPixelsAreContent();

    void decodeRoundTrip_data();
    void decodeRoundTrip();
    void decodeFailures_data();
    void decodeFailures();
    void decodeSideLimit_data();
    void decodeSideLimit();
    void downloadedMapBecomesTexture_data();
    void downloadedMapBecomesTexture();
};

void TestImaging::stretchWorkedRows_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<PixelList>("pixels");
    QTest::addColumn<int>("unwritten"); // -1: at least one

    QTest::newRow("content from column 0: every column written, column 1086 dropped")
        << 0 << PixelList{{0, 2}, {1, 3}, {1111, 1085}} << 0;
    QTest::newRow("content from column 100: start 102, end 986")
        << 100 << PixelList{{0, 102}, {1, 103},    {2, 103},    {3, 104},
                            {4, 105}, {1109, 984}, {1110, 984}, {1111, 985}}
        << 0;
    QTest::newRow("content from column 356: steps still close") << 356 << PixelList{} << 0;
    QTest::newRow("content from column 357: first gaps") << 357 << PixelList{} << -1;
    QTest::newRow("content from column 400: 260 columns left") << 400 << PixelList{} << 260;
    QTest::newRow("content from column 541: three span pixels")
        << 541 << PixelList{{0, 543},   {1, 543},   {2, 543},   {3, -1},   {555, -1},
                            {556, 544}, {557, 544}, {558, 544}, {559, -1}, {1111, -1}}
        << 1106;
    QTest::newRow("content from column 542: span of one pixel") << 542 << PixelList{} << 1112;
    QTest::newRow("content from column 543: empty span") << 543 << PixelList{} << 1112;
    QTest::newRow("content in the last column only") << 1087 << PixelList{} << 1112;
    QTest::newRow("all-white row") << -1 << PixelList{} << 1112;
}

void TestImaging::stretchWorkedRows()
{
    QFETCH(int, first);
    QFETCH(PixelList, pixels);
    QFETCH(int, unwritten);

    // Every other row is all white, so neighbouring rows must not leak into each other.
    const QImage crop = content_crop({first, -1});
    QImage output = filled_image(SphereWidth, SphereHeight, 0);
    stretch_rows(crop, output);

    for (int y : {0, 2, 664, 666}) {
        for (const auto &[x, column] : pixels)
            QCOMPARE(colour_column(output.pixel(x, y)), column);
        const int count = count_in_row(output, y, 0);
        if (unwritten < 0)
            QVERIFY(count > 0);
        else
            QCOMPARE(count, unwritten);
        // Only span columns reach the output, and the last span column never does.
        for (int x = 0; x < SphereWidth; ++x) {
            const int column = colour_column(output.pixel(x, y));
            if (column >= 0)
                QVERIFY2(column >= first + 2 && column < CropWidth - first - 2,
                         qPrintable(QStringLiteral("column %1 at %2").arg(column).arg(x)));
        }
    }
    for (int y : {1, 3, 665})
        QCOMPARE(count_in_row(output, y, 0), SphereWidth);
}

void TestImaging::onlyOpaqueWhiteIsBackground_data()
{
    QTest::addColumn<QRgb>("value");
    QTest::addColumn<bool>("content");
    QTest::newRow("opaque white 0xFFFFFFFF") << QRgb(0xFFFFFFFFu) << false;
    QTest::newRow("almost white 0xFFFFFFFE") << QRgb(0xFFFFFFFEu) << true;
    QTest::newRow("almost opaque white 0xFEFFFFFF") << QRgb(0xFEFFFFFFu) << true;
    QTest::newRow("transparent white 0x00FFFFFF") << QRgb(0x00FFFFFFu) << true;
    QTest::newRow("transparent 0x00000000") << QRgb(0x00000000u) << true;
}

void TestImaging::onlyOpaqueWhiteIsBackground()
{
    QFETCH(QRgb, value);
    QFETCH(bool, content);

    // A white row with one pixel of `value` at column 10: if it is content, the white span
    // from column 12 is copied, white included, over the whole output row.
    QImage crop = filled_image(CropWidth, CropHeight, MapBackground);
    crop.setPixel(10, 5, value);
    QImage output = filled_image(SphereWidth, SphereHeight, 0);
    stretch_rows(crop, output);

    QCOMPARE(count_in_row(output, 5, MapBackground), content ? SphereWidth : 0);
    QCOMPARE(count_in_row(output, 4, 0), SphereWidth);
}

void TestImaging::stretchMatchesPlainVersion_data()
{
    QTest::addColumn<QSize>("cropSize");
    QTest::addColumn<QSize>("outputSize");
    QTest::addColumn<bool>("everyFirst");
    QTest::addColumn<QImage::Format>("format");

    const QSize crop(CropWidth, CropHeight);
    const QSize sphere(SphereWidth, SphereHeight);
    QTest::newRow("every first column, crop to texture")
        << crop << sphere << true << QImage::Format_ARGB32;
    QTest::newRow("random rows, crop to texture")
        << crop << sphere << false << QImage::Format_ARGB32;
    QTest::newRow("random rows, opaque RGB32 crop")
        << crop << sphere << false << QImage::Format_RGB32;
    QTest::newRow("odd widths") << QSize(1087, 300) << QSize(1111, 300) << true
                                << QImage::Format_ARGB32;
    QTest::newRow("narrow crop into a wide output")
        << QSize(60, 40) << QSize(700, 40) << true << QImage::Format_ARGB32;
    QTest::newRow("wide crop into a narrow output")
        << QSize(1088, 300) << QSize(300, 300) << false << QImage::Format_ARGB32;
    QTest::newRow("output two pixels wide")
        << QSize(40, 30) << QSize(2, 30) << true << QImage::Format_ARGB32;
    QTest::newRow("crop taller than output")
        << QSize(200, 50) << QSize(230, 20) << false << QImage::Format_ARGB32;
    QTest::newRow("output taller than crop")
        << QSize(200, 20) << QSize(230, 50) << false << QImage::Format_ARGB32;
}

void TestImaging::stretchMatchesPlainVersion()
{
    QFETCH(QSize, cropSize);
    QFETCH(QSize, outputSize);
    QFETCH(bool, everyFirst);
    QFETCH(QImage::Format, format);

    // Rows start at every possible column (and again, out of order), or at random ones with
    // runs of equal rows, all-white rows and any colour inside the span.
    QRandomGenerator random(quint32(cropSize.width() * 7919 + outputSize.width()));
    const int width = cropSize.width();
    QImage crop = filled_image(width, cropSize.height(), MapBackground);
    const QRgb palette[] = {0xFFFFFFFFu, 0xFFFFFFFEu, 0x00000000u, 0x80FF0000u, 0x00FFFFFFu};
    int first = 0;
    for (int y = 0; y < crop.height(); ++y) {
        if (everyFirst)
            first = (y * 3) % (width / 2 + 3);
        else if (random.bounded(4) != 0)
            first = random.bounded(-width / 8, width / 2 + 4);
        if (first < 0)
            continue;
        auto *line = reinterpret_cast<QRgb *>(crop.scanLine(y));
        for (int x = first; x < width; ++x) {
            const quint32 pick = random.bounded(10);
            line[x] = pick < 5 ? palette[pick] : random.generate();
        }
        if (line[first] == MapBackground)
            line[first] = 0xFF0000FFu;
    }
    crop = crop.convertToFormat(format);

    const QRgb marker = 0x12345678u;
    QImage expected = filled_image(outputSize.width(), outputSize.height(), marker);
    QImage output = expected;
    reference_stretch(crop, expected);
    stretch_rows(crop, output);

    QCOMPARE(output.format(), QImage::Format_ARGB32);
    for (int y = 0; y < output.height(); ++y)
        for (int x = 0; x < output.width(); ++x)
            if (output.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("(%1, %2): %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(output.pixel(x, y), 8, 16, QLatin1Char('0'))
                                     .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'))));
}

void TestImaging::stretchWithoutCropWritesNothing()
{
    QImage output = filled_image(SphereWidth, SphereHeight, 0xFF00FF00u);
    stretch_rows(QImage(), output);
    QCOMPARE(output, filled_image(SphereWidth, SphereHeight, 0xFF00FF00u));
}

void TestImaging::cropClipsToDecodedImage_data()
{
    QTest::addColumn<QSize>("decodedSize");
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("server size 1098 x 760") << QSize(1098, 760) << QImage::Format_ARGB32;
    QTest::newRow("exactly the map area's corner 1093 x 727")
        << QSize(1093, 727) << QImage::Format_ARGB32;
    QTest::newRow("one column short") << QSize(1092, 727) << QImage::Format_ARGB32;
    QTest::newRow("one row short") << QSize(1093, 726) << QImage::Format_ARGB32;
    QTest::newRow("smaller 600 x 400") << QSize(600, 400) << QImage::Format_ARGB32;
    QTest::newRow("ends before the map area") << QSize(5, 60) << QImage::Format_ARGB32;
    QTest::newRow("opaque RGB32") << QSize(1098, 760) << QImage::Format_RGB32;
    QTest::newRow("indexed colours") << QSize(700, 500) << QImage::Format_Indexed8;
}

void TestImaging::cropClipsToDecodedImage()
{
    QFETCH(QSize, decodedSize);
    QFETCH(QImage::Format, format);

    QImage decoded(decodedSize, QImage::Format_ARGB32);
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width(); ++x)
            decoded.setPixel(
                x, y, qRgba(x & 0xFF, y & 0xFF, (x >> 8) | (y >> 8) << 4, 0xC0 + (x & 0x3F)));
    decoded = decoded.convertToFormat(format);

    const QImage crop = crop_map(decoded, ServerMapArea);
    QCOMPARE(crop.size(), QSize(CropWidth, CropHeight));
    QCOMPARE(crop.format(), QImage::Format_ARGB32);
    for (int y = 0; y < CropHeight; ++y) {
        for (int x = 0; x < CropWidth; ++x) {
            const QPoint from(x + ServerMapArea.Left, y + ServerMapArea.Top);
            const QRgb expected = decoded.valid(from) ? decoded.pixel(from) : 0u;
            if (crop.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("crop (%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestImaging::uncoveredCropPixelsAreContent()
{
    // A small all-white picture: the crop is white where it is covered and transparent
    // beyond. The transparent pixels are content, so rows get stretched spans of
    // transparent pixels over a green output, while a fully covered white map writes nothing.
    const QImage small = crop_map(filled_image(400, 300, MapBackground), ServerMapArea);
    const QImage large = crop_map(filled_image(1098, 760, MapBackground), ServerMapArea);
    const QRgb green = 0xFF00FF00u;
    QImage fromSmall = filled_image(SphereWidth, SphereHeight, green);
    QImage fromLarge = fromSmall;
    stretch_rows(small, fromSmall);
    stretch_rows(large, fromLarge);

    QCOMPARE(fromLarge, filled_image(SphereWidth, SphereHeight, green));
    // Rows 0..239 are covered up to column 394: the span starts at 397, steps apart by
    // almost four columns and leaves green gaps.
    QCOMPARE(fromSmall.pixel(0, 0), 0u);
    QCOMPARE(fromSmall.pixel(3, 0), green);
    QVERIFY(count_in_row(fromSmall, 239, 0) > 0);
    QVERIFY(count_in_row(fromSmall, 239, green) > 0);
    // Rows 240 on are not covered at all: content from column 0 writes every column.
    QCOMPARE(count_in_row(fromSmall, 240, 0), SphereWidth);
    QCOMPARE(count_in_row(fromSmall, 666, 0), SphereWidth);
}

void TestImaging::decodeRoundTrip_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QByteArray>("trailer");
    QTest::newRow("RGBA with partial alpha") << QImage::Format_ARGB32 << QByteArray();
    QTest::newRow("RGB") << QImage::Format_RGB32 << QByteArray();
    QTest::newRow("palette") << QImage::Format_Indexed8 << QByteArray();
    QTest::newRow("grey") << QImage::Format_Grayscale8 << QByteArray();
    QTest::newRow("16 bits a channel") << QImage::Format_RGBA64 << QByteArray();
    QTest::newRow("left-over bytes of a longer body")
        << QImage::Format_ARGB32 << QByteArray(5000, '\x5A');
}

void TestImaging::decodeRoundTrip()
{
    QFETCH(QImage::Format, format);
    QFETCH(QByteArray, trailer);

    QImage picture(301, 97, QImage::Format_ARGB32);
    QRandomGenerator random(97);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, random.generate());
    picture = picture.convertToFormat(format);

    QImage decoded(5, 5, QImage::Format_RGB32);
    QVERIFY(decode_map(png_bytes(picture) + trailer, decoded));
    QCOMPARE(decoded.format(), QImage::Format_ARGB32);
    QCOMPARE(decoded, picture.convertToFormat(QImage::Format_ARGB32));
}

void TestImaging::decodeFailures_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QSize>("claimed"); // the size a reader finds in the header, if any
    const QByteArray valid = png_bytes(filled_image(64, 64, 0xFF336699u));
    QTest::newRow("empty body") << QByteArray() << QSize();
    QTest::newRow("error page text")
        << QByteArray("<html><body>502 Bad Gateway</body></html>") << QSize();
    QTest::newRow("zero bytes") << QByteArray(2048, '\0') << QSize();
    QTest::newRow("PNG signature only") << valid.left(8) << QSize();
    QTest::newRow("PNG cut in its header") << valid.left(20) << QSize();
    QTest::newRow("PNG cut in its data") << valid.left(valid.size() / 2) << QSize(64, 64);
    QTest::newRow("header claims 100000 x 100000")
        << png_header_only(100000, 100000) << QSize(100000, 100000);
    QTest::newRow("header claims 16384 x 16384, over 256 MB")
        << png_header_only(16384, 16384) << QSize(16384, 16384);
    QTest::newRow("header claims 16385 x 16") << png_header_only(16385, 16) << QSize(16385, 16);
}

void TestImaging::decodeFailures()
{
    QFETCH(QByteArray, body);
    QFETCH(QSize, claimed);
    if (claimed.isValid()) {
        QBuffer buffer(&body);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(QImageReader(&buffer).size(), claimed);
    }
    QImage image = filled_image(4, 4, 0xFF000000u);
    QVERIFY(!decode_map(body, image));
    QVERIFY(image.isNull());
}

void TestImaging::decodeSideLimit_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("decodes");
    QTest::newRow("16384 wide") << QSize(16384, 2) << true;
    QTest::newRow("16385 wide") << QSize(16385, 2) << false;
    QTest::newRow("16384 high") << QSize(2, 16384) << true;
    QTest::newRow("16385 high") << QSize(2, 16385) << false;
}

void TestImaging::decodeSideLimit()
{
    QFETCH(QSize, size);
    QFETCH(bool, decodes);
    QImage image;
    QCOMPARE(decode_map(png_bytes(filled_image(size.width(), size.height(), 0xFF102030u)), image),
             decodes);
    QCOMPARE(image.isNull(), !decodes);
    if (decodes)
        QCOMPARE(image.size(), size);
}

void TestImaging::downloadedMapBecomesTexture_data()
{
    QTest::addColumn<MapShape>("shape");
    QTest::newRow("elliptical map") << MapShape::Ellipse;
    QTest::newRow("Robinson-like map") << MapShape::Robinson;
}

void TestImaging::downloadedMapBecomesTexture()
{
    QFETCH(MapShape, shape);
    // The body goes through a real file, as a cached map would.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QImage map = server_like_map(1098, 760, 20240301, shape);
    QVERIFY(map.save(dir.filePath("temps.png")));
    QFile file(dir.filePath("temps.png"));
    QVERIFY(file.open(QIODevice::ReadOnly));

    QImage decoded;
    QVERIFY(decode_map(file.readAll(), decoded));
    QCOMPARE(decoded, map);
    const QImage texture = make_sphere_texture(decoded);
    QCOMPARE(texture.size(), QSize(SphereWidth, SphereHeight));
    QCOMPARE(texture.format(), QImage::Format_ARGB32);

    QImage expected = filled_image(SphereWidth, SphereHeight, 0);
    reference_stretch(reference_crop(map, ServerMapArea), expected);
    QCOMPARE(texture, expected);
    // The widest row fills the texture; the ellipse's narrow rows at the poles leave gaps.
    QCOMPARE(count_in_row(texture, 333, 0), 0);
    if (shape == MapShape::Ellipse)
        QVERIFY(count_in_row(texture, 0, 0) > 0);
}

SKYLOOM_TEST_MAIN(TestImaging)
#include "tst_imaging.moc"
