#include "common/testsupport.h"

#include "app/appstate.h"
#include "app/mainform.h"
#include "help/helpform.h"
#include "legend/statusline.h"
#include "maps/httpclient.h"
#include "settings/settingsform.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

// The whole start-up: main window, help window, settings window, with a data folder of
// our own and a map server that refuses every connection.
struct App
{
    explicit App(const QByteArray &ini = QByteArray())
    {
        reset_app_state();
        app().clock = &clock;
        // The main window resolves its data folder from XDG_DATA_HOME.
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QDir(dir.path()).mkpath(QStringLiteral("Brightwell/Skyloom"));
        if (!ini.isNull()) {
            QFile file(iniPath());
            file.open(QIODevice::WriteOnly);
            file.write(ini);
        }
        app().MapServer = QStringLiteral("http://127.0.0.1:1");
        main = std::make_unique<TMainForm>();
        help = std::make_unique<THelpForm>();
        settings = std::make_unique<TSettingsForm>();
    }
    ~App()
    {
        settings.reset();
        help.reset();
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
    std::unique_ptr<THelpForm> help;
    std::unique_ptr<TSettingsForm> settings;
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
    QTest::newRow("7 names no view") << QByteArray("[Skyloom]\nLastSphere=7\n") << 7 << false;
}

void TestAppFlow::startViewFromSettingsFile()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, view);
    QFETCH(bool, download);
    App a(ini);
    QCOMPARE(app().DataDir, a.dir.path() + QStringLiteral("/Brightwell/Skyloom/"));
    a.main->FormActivate();
    QCOMPARE(app().CurrentView.load(), view);
    QCOMPARE(app().HttpClientObject->downloadsInFlight > 0, download);
    GlobeScene &scene = a.main->scene();
    QCOMPARE(scene.ClimateSphere.visible, View::isMap(view));
    QCOMPARE(scene.EarthSphere.visible, view == View::DayNight);
    // The globe starts turned to the sun, map views included.
    QCOMPARE(scene.ClimateSphere.rotationY(), scene.EarthSphere.rotationY());
    QTRY_COMPARE(app().HttpClientObject->downloadsInFlight, 0);
    // What was read is saved again at close, out-of-range values included.
    a.main->FormClose();
    QVERIFY(a.ini().contains(QByteArray("LastSphere=") + QByteArray::number(view)));
}

void TestAppFlow::firstCloseWritesTheFile()
{
    App a;
    a.main->FormActivate();
    QVERIFY(app().SettingsChanged); // the rain/snow pair starts with neither radio checked
    a.main->FormClose();
    QCOMPARE(a.ini(), QByteArray("[Skyloom]\nFarenheit=0\nMPH=0\nIPH=0\nUTC=0\nLastSphere=0\n"));
}

void TestAppFlow::unchangedUnitsWriteOnlyTheView()
{
    App a("[Skyloom]\nIPH=1\n");
    QVERIFY(!app().SettingsChanged);
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
    // Shown and activated for real, with no window manager to give the focus back.
    App a;
    a.main->show();
    a.main->activateWindow();
    // Not qWaitForWindowActive: with no window manager it waits out its time for a frame.
    QTRY_VERIFY_WITH_TIMEOUT(a.main->isActiveWindow(), 20000);
    QTRY_VERIFY(!app().FirstActivation);
    // The first map's chain runs out (nothing listens); its last attempt was the static map.
    QTRY_COMPARE(app().HttpClientObject->downloadsInFlight, 0);
    QCOMPARE(a.label(app().TemperatureLabels, 0), QStringLiteral("-60"));
    a.main->SettingsButtonClick();
    QTRY_VERIFY_WITH_TIMEOUT(a.settings->isActiveWindow(), 20000);
    a.settings->RadioFareheit()->click();
    a.settings->RadioUTC()->click();
    QVERIFY(app().UseFahrenheit);
    a.settings->Button2Click();
    QTRY_COMPARE_WITH_TIMEOUT(a.label(app().TemperatureLabels, 0), QStringLiteral("-76"), 20000);
    QVERIFY(a.main->isActiveWindow());
    QCOMPARE(a.label(app().TemperatureLabels, 6), QStringLiteral("32°F"));
    QCOMPARE(status_text(), QStringLiteral("Global Temps\r9/22/2023 14:30 UTC,"));
}

void TestAppFlow::unwritableSettingsAreReportedOnce()
{
    App a;
    a.main->FormActivate();
    // A data folder that became a regular file: nothing can be written in it.
    app().DataDir = a.dir.filePath(QStringLiteral("blocked")) + QLatin1Char('/');
    QFile(a.dir.filePath(QStringLiteral("blocked"))).open(QIODevice::WriteOnly);
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
    QCOMPARE(messages.at(0), QStringLiteral("Unable to write to ") + app().DataDir + "Skyloom.ini");
    QVERIFY(!a.main->isVisible());
}

SKYLOOM_TEST_MAIN(TestAppFlow)
#include "tst_appflow.moc"
