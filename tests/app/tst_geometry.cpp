#include "common/testsupport.h"

#include "app/windowfixture.h"

#include <QFile>
#include <QScreen>

namespace {
QByteArray read_file(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write_file(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray geometry_of(const QRect &rect)
{
    QWidget window;
    window.setGeometry(rect);
    return window.saveGeometry();
}
} // namespace

class TestWindowGeometry : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void geometryThatFitsNoScreen_data();
    void geometryThatFitsNoScreen();
};

void TestWindowGeometry::roundTrip_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << int(Qt::WindowNoState);
    QTest::newRow("maximised") << int(Qt::WindowMaximized);
    QTest::newRow("full screen") << int(Qt::WindowFullScreen);
}

void TestWindowGeometry::roundTrip()
{
    QFETCH(int, state);
    WindowFixture f(false);
    const QRect placed(100, 120, 700, 500);
    f.form->setGeometry(placed);
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    f.form->setWindowState(Qt::WindowStates(state));
    QVERIFY(f.form->close());

    // The view's section keeps its five keys in their order; the window has its own.
    const QString iniPath = f.dir.filePath(QStringLiteral("Skyloom.ini"));
    const QByteArray ini = read_file(iniPath);
    const QList<QByteArray> sections = ini.split('[');
    QCOMPARE(sections.size(), 3);
    QCOMPARE(sections.at(1).trimmed(),
             QByteArray("Skyloom]\nFarenheit=0\nMPH=0\nIPH=0\nUTC=0\nLastSphere=0"));
    QVERIFY(sections.at(2).startsWith("Window]\nGeometry="));
    QCOMPARE(sections.at(2).trimmed().count('\n'), 1);

    const std::unique_ptr<TMainForm> again = f.nextStart();
    QCOMPARE(int(again->windowState()), state);
    QCOMPARE(again->normalGeometry(), placed);
    if (state == Qt::WindowNoState)
        QCOMPARE(again->geometry(), placed);
}

void TestWindowGeometry::geometryThatFitsNoScreen_data()
{
    QTest::addColumn<QByteArray>("geometry"); // base64
    QTest::newRow("right of every screen") << geometry_of(QRect(5000, 100, 700, 500)).toBase64();
    QTest::newRow("above every screen") << geometry_of(QRect(100, -3000, 700, 500)).toBase64();
    QTest::newRow("larger than any screen") << geometry_of(QRect(0, 0, 4000, 3000)).toBase64();
    QTest::newRow("not a geometry") << QByteArray("aGVsbG8gd29ybGQ=");
}

void TestWindowGeometry::geometryThatFitsNoScreen()
{
    QFETCH(QByteArray, geometry);
    WindowFixture f(false);
    f.form.reset();
    write_file(f.dir.filePath(QStringLiteral("Skyloom.ini")),
               "[Skyloom]\nLastSphere=5\n[Window]\nGeometry=" + geometry + "\n");
    const std::unique_ptr<TMainForm> form = f.nextStart();
    QCOMPARE(form->size(), QSize(640, 480));
    QCOMPARE(form->windowState(), Qt::WindowNoState);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(form->geometry().center(), screen.center());
}

SKYLOOM_TEST_MAIN(TestWindowGeometry)
#include "tst_geometry.moc"
