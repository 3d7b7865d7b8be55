#include "common/testsupport.h"

#include "app/mainform.h"
#include "common/servedmaps.h"
#include "help/helpform.h"
#include "maps/mapdownloader.h"
#include "settings/settingsform.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

// The whole start-up: main window with its help and settings windows, with a data folder
// of our own, found as the program finds it, and a map server that refuses every connection.
struct App
{
    explicit App(const QByteArray &ini = QByteArray(), const QString &dataDir = QString(),
                 std::optional<ViewKind> startView = {})
    {
        // The main window resolves its data folder from XDG_DATA_HOME.
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QDir(dir.path()).mkpath(QStringLiteral("Brightwell/Skyloom"));
        if (!ini.isNull()) {
            QFile file(iniPath());
            file.open(QIODevice::WriteOnly);
            file.write(ini);
        }
        MainFormSetup setup;
        setup.clock = &clock;
        setup.mapServer = QStringLiteral("http://127.0.0.1:1");
        setup.dataDir = dataDir;
        setup.startView = startView;
        main = std::make_unique<TMainForm>(setup);
        help = main->helpForm();
        settings = main->settingsForm();
    }
    ~App()
    {
        main.reset();
        qputenv("XDG_DATA_HOME", savedDataHome);
    }
    QString iniPath() const
    {
        return dir.path() + QStringLiteral("/Brightwell/Skyloom/Skyloom.ini");
    }
    QByteArray ini() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString label(QList<QLabel *> &labels, int i) const { return labels.at(i)->text(); }

    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC)};
    std::unique_ptr<TMainForm> main;
    THelpForm *help = nullptr;
    TSettingsForm *settings = nullptr;
};

class TestAppFlow : public QObject
{
    Q_OBJECT

private slots:
    void startViewFromSettingsFile_data();
    void startViewFromSettingsFile();
    void firstCloseWritesTheFile();
    void unchangedUnitsWriteOnlyTheView();
    void helpWindowIsModalAndClosedByAMapView();
    void unitsShowWhenTheMainWindowIsBack();
    void unwritableSettingsAreReportedOnce();
    void timePairAloneWritesAllUnitKeys();
    void startViewLeavesTheStoredViewAlone();
};

void TestAppFlow::startViewFromSettingsFile_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("download");
    QTest::newRow("no file") << QByteArray() << 0 << true;
    QTest::newRow("LastSphere=2") << QByteArray("[Skyloom]\nLastSphere=2\n") << 2 << true;
    QTest::newRow("pressure, button hidden")
        << QByteArray("[Skyloom]\nLastSphere=4\n") << 4 << true;
    QTest::newRow("day/night") << QByteArray("[Skyloom]\nLastSphere=5\n") << 5 << false;
    QTest::newRow("7 names no view: Temperature")
        << QByteArray("[Skyloom]\nLastSphere=7\n") << 0 << true;
    QTest::newRow("99, Temperature") << QByteArray("[Skyloom]\nLastSphere=99\n") << 0 << true;
}

void TestAppFlow::startViewFromSettingsFile()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, view);
    QFETCH(bool, download);
    App a(ini);
    QCOMPARE(a.main->dataDir(), a.dir.path() + QStringLiteral("/Brightwell/Skyloom/"));
    a.main->FormActivate();
    QCOMPARE(a.main->currentView(), view);
    QCOMPARE(a.main->shownView(), view);
    QCOMPARE(a.main->downloader().isBusy(), download);
    GlobeScene &scene = a.main->scene();
    QCOMPARE(scene.ClimateSphere.visible, View::isMap(view));
    QCOMPARE(scene.EarthSphere.visible, view == View::DayNight);
    // The globe starts turned to the sun, map views included.
    QCOMPARE(scene.ClimateSphere.rotationY(), scene.EarthSphere.rotationY());
    QTRY_VERIFY(!a.main->downloader().isBusy());
    // What was read is saved again at close; a value that named no view is mended.
    a.main->FormClose();
    QVERIFY(a.ini().contains(QByteArray("LastSphere=") + QByteArray::number(view)));
}

void TestAppFlow::firstCloseWritesTheFile()
{
    App a;
    a.main->FormActivate();
    QVERIFY(a.main->settingsChanged()); // the rain/snow pair starts with neither radio checked
    a.main->FormClose();
    QCOMPARE(a.ini(), QByteArray("[Skyloom]\nFarenheit=0\nMPH=0\nIPH=0\nUTC=0\nLastSphere=0\n"));
}

void TestAppFlow::unchangedUnitsWriteOnlyTheView()
{
    App a("[Skyloom]\nIPH=1\n");
    QVERIFY(!a.main->settingsChanged());
    a.main->FormActivate();
    a.main->FormClose();
    QCOMPARE(a.ini(), QByteArray("[Skyloom]\nIPH=1\nLastSphere=0\n"));
}

void TestAppFlow::helpWindowIsModalAndClosedByAMapView()
{
    App a;
    a.main->show();
    a.main->HelpButtonClick();
    QVERIFY(a.help->isVisible());
    QCOMPARE(a.help->windowModality(), Qt::ApplicationModal);
    a.main->TempsButtonClick(a.main->buttonForView(View::Wind));
    QVERIFY(!a.help->isVisible());
    a.main->SettingsButtonClick();
    QVERIFY(a.settings->isVisible());
    a.main->DayNightButtonClick(); // leaves the other windows alone
    QVERIFY(a.settings->isVisible());
    a.main->TempsButtonClick(a.main->buttonForView(View::RainSnow));
    QVERIFY(!a.settings->isVisible());
}

void TestAppFlow::unitsShowWhenTheMainWindowIsBack()
{
    // Shown and activated for real, with no window manager to give the focus back. The first
    // map comes from a fresh file, so no network is needed.
    App a;
    QImage map(1112, 667, QImage::Format_ARGB32);
    map.fill(0xFF00A0A0);
    const QString file = a.dir.path() + QStringLiteral("/Brightwell/Skyloom/temps.png");
    QVERIFY(map.save(file));
    set_file_time(file, a.clock.nowUtc().addSecs(-60));
    a.main->show();
    a.main->activateWindow();
    // Not qWaitForWindowActive: with no window manager it waits out its time for a frame.
    QTRY_VERIFY_WITH_TIMEOUT(a.main->isActiveWindow(), 20000);
    QTRY_VERIFY(!a.main->firstActivation());
    QVERIFY(!a.main->downloader().isBusy());
    QCOMPARE(a.label(a.main->legendBars().TemperatureLabels, 0), QStringLiteral("-60"));
    a.main->SettingsButtonClick();
    QTRY_VERIFY_WITH_TIMEOUT(a.settings->isActiveWindow(), 20000);
    a.settings->RadioFareheit()->click();
    a.settings->RadioUTC()->click();
    QVERIFY(a.main->units().fahrenheit);
    a.settings->Button2Click();
    QList<QLabel *> &labels = a.main->legendBars().TemperatureLabels;
    QTRY_COMPARE_WITH_TIMEOUT(a.label(labels, 0), QStringLiteral("-76"), 20000);
    QVERIFY(a.main->isActiveWindow());
    QCOMPARE(a.label(labels, 6), QStringLiteral("32°F"));
    // Two lines as drawn; the stamp is that of the map's request, in UTC now.
    QCOMPARE(a.main->statusLabel()->text(), QStringLiteral("Global Temps\n9/22/2023 14:30 UTC.."));
}

void TestAppFlow::unwritableSettingsAreReportedOnce()
{
    // A data folder that is a regular file: nothing can be written in it.
    QTemporaryDir other;
    const QString blocked = other.filePath(QStringLiteral("blocked"));
    QFile(blocked).open(QIODevice::WriteOnly);
    App a({}, blocked);
    a.main->FormActivate();
    QStringList messages;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            messages << box->text();
            box->accept();
        }
    });
    poll.start(20);
    a.main->show();
    QVERIFY(a.main->close());
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.at(0), QStringLiteral("Unable to write to ") + blocked + "/Skyloom.ini");
    QVERIFY(!a.main->isVisible());
}

void TestAppFlow::timePairAloneWritesAllUnitKeys()
{
    App a("[Skyloom]\nIPH=1\nLastSphere=5\n");
    a.main->FormActivate();
    QVERIFY(!a.main->settingsChanged());
    a.settings->RadioUTC()->setChecked(true);
    QVERIFY(a.main->settingsChanged());
    QVERIFY(a.main->units().utc);
    a.main->FormClose();
    QCOMPARE(a.ini(), QByteArray("[Skyloom]\nIPH=1\nLastSphere=5\nFarenheit=0\nMPH=0\nUTC=1\n"));
    QVERIFY(!a.main->settingsChanged());
}

void TestAppFlow::startViewLeavesTheStoredViewAlone()
{
    App a("[Skyloom]\nLastSphere=5\n", {}, View::Wind);
    a.main->FormActivate();
    QCOMPARE(a.main->currentView(), View::Wind);
    QCOMPARE(a.main->shownView(), View::Wind);
    a.main->FormClose();
    QVERIFY(a.ini().contains("LastSphere=5\n"));
    // A view the user chooses is what is kept.
    a.main->TempsButtonClick(a.main->buttonForView(View::RainSnow));
    a.main->FormClose();
    QVERIFY(a.ini().contains("LastSphere=1\n"));
}

SKYLOOM_TEST_MAIN(TestAppFlow)
#include "tst_appflow.moc"
