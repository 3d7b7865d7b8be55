#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/globeview.h"

#include <QAction>
#include <QFileInfo>
#include <QSignalSpy>

namespace {
// Some pixel of the rows [top, bottom) is brighter than the dark window colours.
bool has_light_pixel(const QImage &image, int top, int bottom)
{
    for (int y = qMax(0, top); y < qMin(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 160)
                return true;
    return false;
}

bool all_black(const QImage &image, int top, int bottom)
{
    for (int y = qMax(0, top); y < qMin(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
    return true;
}
} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void suggestedName_data();
    void suggestedName();
    void savePicture_data();
    void savePicture();
};

void TestPicture::suggestedName_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("name");
    QTest::newRow("temperature") << View::Temperature << "skyloom-temperature-2023-09-22-1430.png";
    QTest::newRow("rain/snow") << View::RainSnow << "skyloom-rain-snow-2023-09-22-1430.png";
    QTest::newRow("wind/pressure") << View::Wind << "skyloom-wind-pressure-2023-09-22-1430.png";
    QTest::newRow("climate change")
        << View::ClimateChange << "skyloom-climate-change-2023-09-22-1430.png";
    QTest::newRow("day/night") << View::DayNight << "skyloom-day-night-2023-09-22-1430.png";
}

void TestPicture::suggestedName()
{
    QFETCH(int, view);
    QFETCH(QString, name);
    WindowFixture f(false);
    if (View::isMap(view))
        f.putCache(view, 0xFF00A0A0, 60);
    f.choose(view);
    QCOMPARE(f.form->shownView(), view);
    QCOMPARE(f.form->suggestedPictureName(), name);
}

void TestPicture::savePicture_data()
{
    QTest::addColumn<QString>("answer"); // what the dialog answers; "%1" is the data folder
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved") << "%1/globe.png" << true;
    QTest::newRow("folder missing") << "%1/missing/globe.png" << false;
    QTest::newRow("cancelled") << "" << false;
}

void TestPicture::savePicture()
{
    QFETCH(QString, answer);
    QFETCH(bool, saved);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    f.putCache(View::Temperature, 0xFF00A0A0, 60);
    QStringList suggestions;
    const QString path = answer.isEmpty() ? QString() : answer.arg(f.dir.path());
    form.setSavePathPrompt([&](const QString &suggested) {
        suggestions << suggested;
        return path;
    });
    form.show();
    form.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(form.isActiveWindow(), 20000);
    QTRY_COMPARE(form.shownView(), View::Temperature);
    QVERIFY(form.savePictureAction()->isEnabled());
    const QString status = f.status();
    QSignalSpy spy(&form, &TMainForm::pictureSaved);
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(suggestions, QStringList{"skyloom-temperature-2023-09-22-1430.png"});
    if (path.isEmpty()) {
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(f.status(), status);
        return;
    }
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), path);
    QCOMPARE(spy.at(0).at(1).toBool(), saved);
    QCOMPARE(QFileInfo::exists(path), saved);
    if (!saved) {
        QCOMPARE(f.status(), "Unable to save the picture to " + path);
        return;
    }
    const QImage picture(path);
    GlobeView *view = form.viewport();
    QCOMPARE(picture.size(), view->size() * view->devicePixelRatio());
    // The status text over the top, the legend bar along the bottom.
    QVERIFY(has_light_pixel(picture, 0, 39));
    QVERIFY(!all_black(picture, picture.height() - 50, picture.height()));
    QVERIFY(has_light_pixel(picture, picture.height() - 23, picture.height()));
}

SKYLOOM_TEST_MAIN(TestPicture)
#include "tst_picture.moc"
