#include "common/testsupport.h"

#include "app/appicon.h"

class TestAppIcon : public QObject
{
    Q_OBJECT

private slots:
    void everySizeIsDrawn_data();
    void everySizeIsDrawn();
};

void TestAppIcon::everySizeIsDrawn_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

void TestAppIcon::everySizeIsDrawn()
{
    QFETCH(int, size);
    const QIcon icon = application_icon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    // Drawn for this size, not scaled from another: a missing resource would give a null or
    // a scaled image.
    const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    QImage file(QStringLiteral(":/icons/skyloom-%1.png").arg(size));
    QCOMPARE(image.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             file.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // A round globe: solid in the middle, clear in the corners.
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

SKYLOOM_TEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
