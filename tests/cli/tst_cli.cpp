#include "common/testsupport.h"

#include "app/commandline.h"

#include <QRegularExpression>

namespace {
// Where a finished command line's message goes.
enum class Stream { None, Out, Err };
} // namespace

Q_DECLARE_METATYPE(Stream)

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void usageNamesTheProgramAndEveryOption();
    void versionIsTheProjectVersion();
};

void TestCli::parse_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program name
    QTest::addColumn<int>("status");            // -1: the app goes on
    QTest::addColumn<Stream>("stream");
    QTest::addColumn<QString>("says");    // the message holds this
    QTest::addColumn<int>("view");        // -1: none given
    QTest::addColumn<QString>("dataDir"); // "": none given
    QTest::addColumn<QString>("mapServer");

    const QString none;
    QTest::newRow("nothing") << QStringList() << -1 << Stream::None << none << -1 << none << none;
    QTest::newRow("help") << QStringList{"--help"} << 0 << Stream::Out << "Usage: skyloom" << -1
                          << none << none;
    QTest::newRow("-h") << QStringList{"-h"} << 0 << Stream::Out << "--map-server <URL>" << -1
                        << none << none;
    QTest::newRow("help wins over version")
        << QStringList{"--version", "--help"} << 0 << Stream::Out << "Usage:" << -1 << none << none;
    QTest::newRow("version") << QStringList{"--version"} << 0 << Stream::Out << "Skyloom" << -1
                             << none << none;
    QTest::newRow("temperature") << QStringList{"--view", "temperature"} << -1 << Stream::None
                                 << none << 0 << none << none;
    QTest::newRow("rain") << QStringList{"--view=rain"} << -1 << Stream::None << none << 1 << none
                          << none;
    QTest::newRow("wind") << QStringList{"--view", "wind"} << -1 << Stream::None << none << 2
                          << none << none;
    QTest::newRow("change") << QStringList{"--view", "change"} << -1 << Stream::None << none << 3
                            << none << none;
    QTest::newRow("day/night is view 5, not 4")
        << QStringList{"--view", "daynight"} << -1 << Stream::None << none << 5 << none << none;
    QTest::newRow("view name in capitals")
        << QStringList{"--view", "Wind"} << -1 << Stream::None << none << 2 << none << none;
    QTest::newRow("the pressure map is no view of its own")
        << QStringList{"--view", "pressure"} << 2 << Stream::Err << "unknown view 'pressure'" << -1
        << none << none;
    QTest::newRow("view by number")
        << QStringList{"--view", "1"} << 2 << Stream::Err << "Usage: skyloom" << -1 << none << none;
    QTest::newRow("view without a name") << QStringList{"--view"} << 2 << Stream::Err
                                         << "Missing value after '--view'" << -1 << none << none;
    QTest::newRow("unknown option") << QStringList{"--fullscreen"} << 2 << Stream::Err
                                    << "Unknown option 'fullscreen'" << -1 << none << none;
    QTest::newRow("unknown option prints usage")
        << QStringList{"--fullscreen"} << 2 << Stream::Err << "--view <NAME>" << -1 << none << none;
    QTest::newRow("stray argument") << QStringList{"rain"} << 2 << Stream::Err
                                    << "unexpected argument 'rain'" << -1 << none << none;
    QTest::newRow("data folder") << QStringList{"--data-dir", "/tmp/sky loom"} << -1 << Stream::None
                                 << none << -1 << "/tmp/sky loom" << none;
    QTest::newRow("empty data folder") << QStringList{"--data-dir="} << 2 << Stream::Err
                                       << "--data-dir needs a folder" << -1 << none << none;
    QTest::newRow("https map server")
        << QStringList{"--map-server", "https://maps.example.org:8443/daily/"} << -1 << Stream::None
        << none << -1 << none << "https://maps.example.org:8443/daily/";
    QTest::newRow("http map server")
        << QStringList{"--map-server", "http://maps.example.org/"} << 2 << Stream::Err
        << "needs an https:// URL" << -1 << none << none;
    QTest::newRow("no scheme") << QStringList{"--map-server", "maps.example.org"} << 2
                               << Stream::Err << "'maps.example.org'" << -1 << none << none;
    QTest::newRow("no host") << QStringList{"--map-server", "https:///daily"} << 2 << Stream::Err
                             << "needs an https:// URL" << -1 << none << none;
    QTest::newRow("malformed URL") << QStringList{"--map-server", "https://exa mple.org/"} << 2
                                   << Stream::Err << "needs an https:// URL" << -1 << none << none;
    QTest::newRow("ftp map server") << QStringList{"--map-server", "ftp://maps.example.org/"} << 2
                                    << Stream::Err << "needs an https:// URL" << -1 << none << none;
    QTest::newRow("everything at once")
        << QStringList{"--view", "change", "--data-dir", "d", "--map-server", "https://m.example/"}
        << -1 << Stream::None << none << 3 << "d"
        << "https://m.example/";
    QTest::newRow("Qt's own options are left to Qt")
        << QStringList{"-platform", "offscreen",         "--style", "fusion",
                       "-reverse",  "-stylesheet=x.qss", "--view",  "wind"}
        << -1 << Stream::None << none << 2 << none << none;
    QTest::newRow("a Qt option does not hide an error")
        << QStringList{"-style", "fusion", "--bogus"} << 2 << Stream::Err
        << "Unknown option 'bogus'" << -1 << none << none;
    QTest::newRow("after -- nothing is an option")
        << QStringList{"--", "--help"} << 2 << Stream::Err << "unexpected argument '--help'" << -1
        << none << none;
}

void TestCli::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(Stream, stream);
    QFETCH(QString, says);
    QFETCH(int, view);
    QFETCH(QString, dataDir);
    QFETCH(QString, mapServer);

    const CommandLine result =
        parse_command_line(QStringList{QStringLiteral("/usr/bin/skyloom")} + arguments);

    QCOMPARE(result.exitNow, status >= 0);
    if (result.exitNow) {
        QCOMPARE(result.exitStatus, status);
        QCOMPARE(result.exitStatus == 0 ? Stream::Out : Stream::Err, stream);
        QVERIFY2(result.message.contains(says), qPrintable(result.message));
        QVERIFY(result.message.endsWith(QLatin1Char('\n')));
        return;
    }
    QCOMPARE(stream, Stream::None);
    QVERIFY(result.message.isEmpty());
    QCOMPARE(result.startView.has_value(), view >= 0);
    if (view >= 0)
        QCOMPARE(*result.startView, view);
    QCOMPARE(result.dataDir.value_or(QString()), dataDir);
    QCOMPARE(result.mapServer.value_or(QUrl()).toString(), mapServer);
}

void TestCli::usageNamesTheProgramAndEveryOption()
{
    // Before QApplication exists, as main() calls it.
    const CommandLine result = parse_command_line({QStringLiteral("./build/skyloom"), "--help"});
    QVERIFY(result.message.startsWith(QStringLiteral("Usage: skyloom [options]\n")));
    for (const char *option :
         {"--help", "--version", "--view <NAME>", "--data-dir <DIR>", "--map-server <URL>",
          "temperature", "rain", "wind", "change", "daynight"})
        QVERIFY2(result.message.contains(QLatin1String(option)), option);
}

void TestCli::versionIsTheProjectVersion()
{
    const CommandLine result = parse_command_line({QStringLiteral("skyloom"), "--version"});
    QCOMPARE(result.message, QStringLiteral("Skyloom " SKYLOOM_VERSION "\n"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                .match(QStringLiteral(SKYLOOM_VERSION))
                .hasMatch());
}

SKYLOOM_TEST_MAIN(TestCli)
#include "tst_cli.moc"
