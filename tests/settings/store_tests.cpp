#include "tst_settings.h"

#include "settings/inifile.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList non_blank_lines(const QByteArray &text)
{
    QStringList lines;
    for (const QByteArray &line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromUtf8(line);
    return lines;
}
} // namespace

void TestSettings::textToInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    // Default -9 tells a parsed value from a fallback.
    QTest::newRow("decimal") << "42" << 42;
    QTest::newRow("negative decimal") << "-3" << -3;
    QTest::newRow("hex, three characters") << "0x1" << 1;
    QTest::newRow("hex, capital X and mixed digits") << "0X1f" << 31;
    QTest::newRow("hex wraps to 32 bits") << "0xFFFFFFFF" << -1;
    QTest::newRow("hex too long for 32 bits") << "0x100000000" << -9;
    QTest::newRow("0x alone is two characters, not hex") << "0x" << -9;
    QTest::newRow("hex with a sign after the prefix") << "0x-1" << -9;
    QTest::newRow("not hex digits") << "0xG" << -9;
    QTest::newRow("word") << "yes" << -9;
    QTest::newRow("empty") << "" << -9;
    QTest::newRow("fraction") << "1.5" << -9;
    QTest::newRow("decimal beyond 32 bits") << "2147483648" << -9;
    QTest::newRow("largest decimal") << "2147483647" << 2147483647;
}

void TestSettings::textToInt()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(ini_text_to_int(text, -9), expected);
}

void TestSettings::readSettings_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<bool>("mph");
    QTest::addColumn<bool>("iph");
    QTest::addColumn<bool>("utc");
    QTest::addColumn<int>("lastSphere");

    QTest::newRow("no file") << QByteArray() << false << false << false << false << 0;
    QTest::newRow("only LastSphere 2")
        << QByteArray("[Skyloom]\nLastSphere=2\n") << false << false << false << false << 2;
    QTest::newRow("all four set") << QByteArray("[Skyloom]\nFarenheit=1\nMPH=1\nIPH=1\nUTC=1\n")
                                  << true << true << true << true << 0;
    QTest::newRow("0x1 is true") << QByteArray("[Skyloom]\nFarenheit=0x1\n") << true << false
                                 << false << false << 0;
    QTest::newRow("yes is false") << QByteArray("[Skyloom]\nFarenheit=yes\n") << false << false
                                  << false << false << 0;
    QTest::newRow("any non-zero is true")
        << QByteArray("[Skyloom]\nMPH=-1\nUTC=2\n") << false << true << false << true << 0;
    // A stored view that names none would start the program blank: Temperature instead.
    QTest::newRow("LastSphere 7 names no view")
        << QByteArray("[Skyloom]\nLastSphere=7\n") << false << false << false << false << 0;
    QTest::newRow("LastSphere 99")
        << QByteArray("[Skyloom]\nLastSphere=99\n") << false << false << false << false << 0;
    QTest::newRow("LastSphere -1")
        << QByteArray("[Skyloom]\nLastSphere=-1\n") << false << false << false << false << 0;
    QTest::newRow("LastSphere 10, not a view")
        << QByteArray("[Skyloom]\nLastSphere=10\n") << false << false << false << false << 0;
    QTest::newRow("LastSphere 5, the last view")
        << QByteArray("[Skyloom]\nLastSphere=5\n") << false << false << false << false << 5;
    QTest::newRow("LastSphere in hex")
        << QByteArray("[Skyloom]\nLastSphere=0x5\n") << false << false << false << false << 5;
    QTest::newRow("LastSphere not a number")
        << QByteArray("[Skyloom]\nLastSphere=two\n") << false << false << false << false << 0;
    QTest::newRow("names ignore case") << QByteArray("[skyloom]\nfarenheit=1\nlastsphere=3\n")
                                       << true << false << false << false << 3;
    QTest::newRow("spaces and Windows line ends")
        << QByteArray("[Skyloom]\r\nIPH = 1\r\nLastSphere = 4\r\n") << false << false << true
        << false << 4;
    QTest::newRow("keys of another section ignored")
        << QByteArray("[Other]\nFarenheit=1\nLastSphere=3\n[Skyloom]\nMPH=1\n") << false << true
        << false << false << 0;
    QTest::newRow("correct spelling is not the key")
        << QByteArray("[Skyloom]\nFahrenheit=1\n") << false << false << false << false << 0;
}

void TestSettings::readSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, fahrenheit);
    QFETCH(bool, mph);
    QFETCH(bool, iph);
    QFETCH(bool, utc);
    QFETCH(int, lastSphere);
    if (!file.isEmpty())
        writeIni(file);
    const UnitFlags flags = store().read_unit_flags();
    QCOMPARE(flags.fahrenheit, fahrenheit);
    QCOMPARE(flags.mph, mph);
    QCOMPARE(flags.inchesPerHour, iph);
    QCOMPARE(flags.utc, utc);
    QCOMPARE(store().read_last_sphere(), lastSphere);
    QCOMPARE(readIni(), file); // reading never writes
}

void TestSettings::readLastSphereLeavesNoFile()
{
    QCOMPARE(store().settings_file_path(), m_dataDir + QStringLiteral("Skyloom.ini"));
    QCOMPARE(store().read_last_sphere(), 0);
    QCOMPARE(store().read_unit_flags(), UnitFlags());
    QVERIFY(!QFile::exists(iniPath()));
}

void TestSettings::firstSaveWritesAllKeysInOrder()
{
    SettingsStore settings = store();
    const SaveResult flags = settings.save_unit_flags(settings.read_unit_flags());
    QVERIFY(flags.ok);
    QVERIFY(flags.error.isEmpty());
    QVERIFY(settings.save_last_sphere(View::Temperature).ok);

    QCOMPARE(readIni(), QByteArray("[Skyloom]\nFarenheit=0\nMPH=0\nIPH=0\nUTC=0\nLastSphere=0\n"));
}

void TestSettings::lastSphereRoundTrip_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("read");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("out of range 7") << QByteArray("7") << 0 << QByteArray("0");
    QTest::newRow("negative") << QByteArray("-2") << 0 << QByteArray("0");
    QTest::newRow("hex comes back decimal") << QByteArray("0x4") << 4 << QByteArray("4");
}

void TestSettings::lastSphereRoundTrip()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, read);
    QFETCH(QByteArray, written);
    writeIni("[Skyloom]\nLastSphere=" + stored + "\n");

    SettingsStore settings = store();
    const int view = settings.read_last_sphere();
    QCOMPARE(view, read);
    QVERIFY(settings.save_last_sphere(view).ok);
    QCOMPARE(readIni(), "[Skyloom]\nLastSphere=" + written + "\n");
}

void TestSettings::otherLinesSurviveSaves()
{
    const QByteArray original = "; written by hand\n"
                                "[Display]\n"
                                "Scale = 2\n"
                                "Scale=3\n"
                                "\n"
                                "; units\n"
                                "[Skyloom]\n"
                                "Name=Sky = blue ; not a comment\n"
                                "# the view\n"
                                "LastSphere=1\n"
                                "Zoom=4\n"
                                "[Empty]\n"
                                "; last words\n"
                                "# really last\n";
    writeIni(original);
    SettingsStore settings = store();
    QVERIFY(settings.save_unit_flags({}).ok);
    QVERIFY(settings.save_last_sphere(5).ok);

    const QStringList expected = {"; written by hand",
                                  "[Display]",
                                  "Scale = 2",
                                  "Scale=3",
                                  "; units",
                                  "[Skyloom]",
                                  "Name=Sky = blue ; not a comment",
                                  "# the view",
                                  "LastSphere=5",
                                  "Zoom=4",
                                  "Farenheit=0",
                                  "MPH=0",
                                  "IPH=0",
                                  "UTC=0",
                                  "[Empty]",
                                  "; last words",
                                  "# really last"};
    const QByteArray saved = readIni();
    QCOMPARE(non_blank_lines(saved), expected);

    // Saving again changes nothing: no comment repeated, no blank lines piling up.
    QVERIFY(settings.save_unit_flags({}).ok);
    QVERIFY(settings.save_last_sphere(5).ok);
    QCOMPARE(readIni(), saved);
}

void TestSettings::brokenSectionLineIsSkipped()
{
    // A section line without its ']' is no section: the keys below belong to the section
    // above, for reading and for saving alike, and the line itself stays as it was.
    writeIni("[Skyloom]\nUTC=1\n[Skyloom\nMPH=1\n[Other]\nkey=v\n");
    SettingsStore settings = store();
    const UnitFlags flags = settings.read_unit_flags();
    QVERIFY(flags.utc);
    QVERIFY(flags.mph);

    QVERIFY(settings.save_last_sphere(3).ok);
    const QByteArray saved = readIni();
    QCOMPARE(non_blank_lines(saved), QStringList({"[Skyloom]", "UTC=1", "[Skyloom", "MPH=1",
                                                  "LastSphere=3", "[Other]", "key=v"}));
    QVERIFY(settings.save_last_sphere(3).ok);
    QCOMPARE(readIni(), saved);
}

void TestSettings::keysAreNotTakenForComments_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved");
    // An old Mac line end: to a split at LF alone the last line is a comment, but after its
    // CR comes a key, for the editor as for the parser.
    QTest::newRow("lone CR ends a line")
        << QByteArray("[Display]\n;note\rScale=2\n")
        << QByteArray("[Display]\n;note\rScale=2\n[Skyloom]\nLastSphere=3\n");
    // Only spaces and tabs may come before a comment's ';'.
    QTest::newRow("vertical tab before ';'")
        << QByteArray("[Skyloom]\nZoom=1\n\v;x=1\n")
        << QByteArray("[Skyloom]\nZoom=1\n\v;x=1\nLastSphere=3\n");
    // The parser reads past a byte order mark, so the section line after it is broken too.
    QTest::newRow("byte order mark, broken section line")
        << QByteArray("\xEF\xBB\xBF[Skyloom\nZoom=1\n; last\n")
        << QByteArray("\xEF\xBB\xBF[Skyloom\nZoom=1\n; last\n[Skyloom]\nLastSphere=3\n");
    QTest::newRow("only comments")
        << QByteArray("; only a comment\n# and another\n")
        << QByteArray("; only a comment\n# and another\n[Skyloom]\nLastSphere=3\n");
    QTest::newRow("Windows line ends, comment last")
        << QByteArray("[Skyloom]\r\nZoom=1\r\n\t; last\r\n")
        << QByteArray("[Skyloom]\r\nZoom=1\r\nLastSphere=3\r\n\t; last\r\n");
}

void TestSettings::keysAreNotTakenForComments()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, saved);
    writeIni(original);
    SettingsStore settings = store();
    QVERIFY(settings.save_last_sphere(3).ok);
    QCOMPARE(readIni(), saved);
    // What was saved reads back, and a second save changes nothing.
    QCOMPARE(settings.read_last_sphere(), 3);
    QVERIFY(settings.save_last_sphere(3).ok);
    QCOMPARE(readIni(), saved);
}

void TestSettings::keyNameStartingWithMarkBytes()
{
    // Not at the start of the file, so not a byte order mark: part of the key's name, which
    // a save must not turn into a mark at the start of the file.
    const QString name = QChar(0xFEFF) + QStringLiteral("Name");
    writeIni("\n" + name.toUtf8() + "=2\n");
    QVERIFY(store().save_last_sphere(3).ok);
    const IniFile ini(iniPath());
    QCOMPARE(ini.readString(QString(), name), QStringLiteral("2"));
    QCOMPARE(ini.readString(QString(), QStringLiteral("Name")), std::nullopt);
    QCOMPARE(ini.readInteger(QStringLiteral("Skyloom"), QStringLiteral("LastSphere"), -1), 3);
}

void TestSettings::saveReplacesFileInOneStep()
{
    writeIni("[Skyloom]\nLastSphere=1\n");
    // A second name for the same file: rewriting in place would change what it shows,
    // replacing the file by a new one leaves it with the old text.
    const QByteArray oldName = QFile::encodeName(iniPath());
    const QByteArray link = QFile::encodeName(m_dir->filePath(QStringLiteral("before.ini")));
    QCOMPARE(::link(oldName.constData(), link.constData()), 0);

    QVERIFY(store().save_last_sphere(2).ok);

    QCOMPARE(readIni(), QByteArray("[Skyloom]\nLastSphere=2\n"));
    QFile before(QFile::decodeName(link));
    QVERIFY(before.open(QIODevice::ReadOnly));
    QCOMPARE(before.readAll(), QByteArray("[Skyloom]\nLastSphere=1\n"));
    // No temporary file left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({"Skyloom.ini", "before.ini"}));
}

void TestSettings::unwritableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder is a file") << "file";
    QTest::newRow("folder missing") << "missing";
    QTest::newRow("ini path is a folder") << "folder";
    QTest::newRow("read-only folder") << "readonly";
}

void TestSettings::unwritableFile()
{
    QFETCH(QString, kind);
    QDir dir(m_dir->path());
    const QByteArray oldText = "[Skyloom]\nLastSphere=1\n";
    if (kind == QLatin1String("file")) {
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        m_dataDir = plain.fileName() + QLatin1Char('/');
    } else if (kind == QLatin1String("missing")) {
        m_dataDir = dir.filePath(QStringLiteral("missing")) + QLatin1Char('/');
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(dir.mkpath(QStringLiteral("Skyloom.ini/inside")));
    } else {
        if (geteuid() == 0)
            QSKIP("Folder permissions do not stop the superuser from writing");
        writeIni(oldText);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    SettingsStore settings = store();
    const QString path = settings.settings_file_path();
    const QString error = QStringLiteral("Unable to write to ") + path;

    const SaveResult last = settings.save_last_sphere(4);
    const SaveResult flags = settings.save_unit_flags({true, false, true, false});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(!last.ok);
    QCOMPARE(last.error, error);
    QVERIFY(!flags.ok);
    QCOMPARE(flags.error, error);
    if (kind == QLatin1String("readonly"))
        QCOMPARE(readIni(), oldText);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
    else
        QVERIFY(!QFileInfo::exists(path));
    // Reading from the same place still gives the defaults.
    QCOMPARE(settings.read_last_sphere(), kind == QLatin1String("readonly") ? 1 : 0);
}

void TestSettings::windowGeometryHasASectionOfItsOwn()
{
    SettingsStore settings = store();
    QVERIFY(settings.read_window_geometry().isEmpty());
    QVERIFY(settings.save_unit_flags(settings.read_unit_flags()).ok);
    QVERIFY(settings.save_last_sphere(View::DayNight).ok);
    const QByteArray geometry("\x01\xD9\xD0\xCB geometry \x00\xFF", 17);
    QVERIFY(settings.save_window_geometry(geometry).ok);
    // Saving both again and again leaves the file as it was.
    const QByteArray once = readIni();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(settings.save_last_sphere(View::DayNight).ok);
        QVERIFY(settings.save_window_geometry(geometry).ok);
    }
    QCOMPARE(readIni(), once);
    // Line by line: how many blank lines part the sections is the writer's affair.
    QCOMPARE(non_blank_lines(readIni()),
             (QStringList{"[Skyloom]", "Farenheit=0", "MPH=0", "IPH=0", "UTC=0", "LastSphere=5",
                          "[Window]", "Geometry=" + QString::fromLatin1(geometry.toBase64())}));
    QCOMPARE(settings.read_window_geometry(), geometry);
    QCOMPARE(settings.read_last_sphere(), View::DayNight);
}

void TestSettings::realisticDayNightRoundTrip_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("stored"); // as read from `before`
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("after");
    const QByteArray skyloom("[Skyloom]\nFarenheit=1\nMPH=0\nIPH=1\nUTC=0\nLastSphere=5\n");
    const QByteArray window("[Window]\nGeometry=AdnQywAD\n");
    QTest::newRow("no file") << QByteArray() << false << true
                             << QByteArray("[DayNight]\nRealistic=1\n");
    QTest::newRow("after the other sections")
        << skyloom + "\n" + window << false << true
        << skyloom + "\n" + window + "[DayNight]\nRealistic=1\n";
    QTest::newRow("switched off in place")
        << skyloom + "[DayNight]\nRealistic=1\n" + window << true << false
        << skyloom + "[DayNight]\nRealistic=0\n" + window;
    QTest::newRow("a key of that name in the view's section is not it")
        << skyloom + "Realistic=1\n"
        << false << true << skyloom + "Realistic=1\n[DayNight]\nRealistic=1\n";
    QTest::newRow("hand-written, in other case and spacing")
        << QByteArray("[daynight]\nrealistic = 0x1  \n") << true << false
        << QByteArray("[daynight]\nrealistic = 0  \n");
}

// The choice lives in a section of its own: the view's section keeps its five keys, in
// their order, whatever is saved.
void TestSettings::realisticDayNightRoundTrip()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, stored);
    QFETCH(bool, saved);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeIni(before);
    SettingsStore settings = store();
    const UnitFlags units = settings.read_unit_flags();
    const ViewKind lastSphere = settings.read_last_sphere();
    QCOMPARE(settings.read_realistic_day_night(), stored);
    QVERIFY(settings.save_realistic_day_night(saved).ok);
    QCOMPARE(readIni(), after);
    QCOMPARE(settings.read_realistic_day_night(), saved);
    QCOMPARE(settings.read_unit_flags(), units);
    QCOMPARE(settings.read_last_sphere(), lastSphere);
}
