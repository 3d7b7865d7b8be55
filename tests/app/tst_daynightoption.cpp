#include "common/testsupport.h"

#include "app/windowfixture.h"
#include "globe/daynight.h"
#include "globe/globeview.h"

#include <QFile>
#include <QMenu>

namespace {
QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QAction *menu_action(TMainForm &form, const QString &text)
{
    emit form.viewport()->customContextMenuRequested(QPoint(100, 100));
    QMenu *menu = form.globeMenu();
    if (!menu)
        return nullptr;
    menu->close();
    for (QAction *a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}
} // namespace

class TestDayNightOption : public QObject
{
    Q_OBJECT

private slots:
    void menuActionSwitchesAndIsRemembered_data();
    void menuActionSwitchesAndIsRemembered();
};

void TestDayNightOption::menuActionSwitchesAndIsRemembered_data()
{
    QTest::addColumn<int>("view");
    QTest::newRow("chosen in Day/Night") << View::DayNight;
    QTest::newRow("chosen in a map view") << View::Temperature;
}

// The globe menu's check switches Day/Night to the true terminator and back, and the
// next start finds it as it was left; the view's own section is untouched.
void TestDayNightOption::menuActionSwitchesAndIsRemembered()
{
    QFETCH(int, view);
    WindowFixture f(false);
    TMainForm &form = *f.form;
    const QImage pristine = form.scene().nightTexture.image().copy();
    // Chosen before the window shows, so its first activation starts no other view.
    f.choose(View::DayNight);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    GlobeScene band;
    band.nightTexture.setImage(pristine.copy());
    update_day_night(band, pristine, f.clock.nowUtc());
    QCOMPARE(form.scene().nightTexture.image(), band.nightTexture.image());
    if (view != View::DayNight) {
        f.choose(view);
        QVERIFY(f.waitIdle());
    }

    QAction *action = menu_action(form, QStringLiteral("Realistic day and night"));
    QVERIFY(action);
    QVERIFY(action->isCheckable());
    QVERIFY(!action->isChecked());
    QVERIFY(!form.scene().sunDirection);
    action->trigger();
    QVERIFY(form.realisticDayNight());
    f.choose(View::DayNight);
    QVERIFY(form.scene().sunDirection);
    QCOMPARE(form.scene().nightTexture.image(), pristine);
    QCOMPARE(form.scene().EarthSphere.rotationY(), band.EarthSphere.rotationY());
    QVERIFY(form.close());

    const QString iniPath = f.dir.filePath(QStringLiteral("Skyloom.ini"));
    const QList<QByteArray> sections = read_file(iniPath).split('[');
    QCOMPARE(sections.size(), 4);
    QCOMPARE(sections.at(1).trimmed(),
             QByteArray("Skyloom]\nFarenheit=0\nMPH=0\nIPH=0\nUTC=0\nLastSphere=5"));
    QCOMPARE(sections.at(2).trimmed(), QByteArray("DayNight]\nRealistic=1"));
    QVERIFY(sections.at(3).startsWith("Window]\nGeometry="));

    f.form.reset();
    const std::unique_ptr<TMainForm> again = f.nextStart();
    QTRY_VERIFY_WITH_TIMEOUT(!again->loadingImages(), 20000);
    QAction *checked = menu_action(*again, QStringLiteral("Realistic day and night"));
    QVERIFY(checked);
    QVERIFY(checked->isChecked());
    again->DayNightButtonClick();
    QVERIFY(again->scene().sunDirection);
    // Off again: the band and turn exactly as before the option was ever on.
    checked->trigger();
    QVERIFY(!again->realisticDayNight());
    QVERIFY(!again->scene().sunDirection);
    QCOMPARE(again->scene().nightTexture.image(), band.nightTexture.image());
    QCOMPARE(again->scene().EarthSphere.rotationY(), band.EarthSphere.rotationY());
    QCOMPARE(again->scene().Light1.rotationX(), band.Light1.rotationX());
    QVERIFY(again->close());
    QVERIFY(read_file(iniPath).contains("[DayNight]\nRealistic=0\n"));
}

SKYLOOM_TEST_MAIN(TestDayNightOption)
#include "tst_daynightoption.moc"
