#include "tst_settings.h"

#include "settings/inifile.h"

#include <QTest>

void TestSettings::iniWriteChangesOneLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");
    const QString sky = QStringLiteral("Skyloom"), last = QStringLiteral("LastSphere");
    // The parser reads up to the first NUL; the key goes where it reads, the rest stays.
    QTest::newRow("NUL ends what is read")
        << QByteArray("[Skyloom]\nZoom=1\n\0[Skyloom]\nLastSphere=1\n", 41) << sky << last
        << QByteArray("[Skyloom]\nZoom=1\nLastSphere=5\n\0[Skyloom]\nLastSphere=1\n", 54);
    // A '[' that never closes would take the new section's line as its name.
    QTest::newRow("trailing open bracket") << QByteArray("Zoom=1\n[\n") << sky << last
                                           << QByteArray("Zoom=1\n[Skyloom]\nLastSphere=5\n[\n");
    QTest::newRow("spacing kept")
        << QByteArray("[Display]\nScale = 2\n\tWidth\t=\t3  \n[Skyloom]\n  LastSphere =  1  \n"
                      "Zoom =4\n")
        << sky << last
        << QByteArray("[Display]\nScale = 2\n\tWidth\t=\t3  \n[Skyloom]\n  LastSphere =  5  \n"
                      "Zoom =4\n");
    QTest::newRow("blank lines kept")
        << QByteArray("\n[Skyloom]\n\nLastSphere=1\n\n\n[Other]\n\nA=1\n\n") << sky << last
        << QByteArray("\n[Skyloom]\n\nLastSphere=5\n\n\n[Other]\n\nA=1\n\n");
    QTest::newRow("comments kept")
        << QByteArray("; top\n[Skyloom] ; the app\n# the view\nLastSphere=1 ; not a comment\n"
                      "  ;end\n#last")
        << sky << last
        << QByteArray("; top\n[Skyloom] ; the app\n# the view\nLastSphere=5\n  ;end\n#last");
    QTest::newRow("key missing")
        << QByteArray("[Skyloom]\nZoom = 4\n\n; other things\n[Other]\nA=1\n") << sky << last
        << QByteArray("[Skyloom]\nZoom = 4\nLastSphere=5\n\n; other things\n[Other]\nA=1\n");
    QTest::newRow("key missing, section empty")
        << QByteArray("[Skyloom]\n\n[Other]\nLastSphere=1\n") << sky << last
        << QByteArray("[Skyloom]\nLastSphere=5\n\n[Other]\nLastSphere=1\n");
    QTest::newRow("key missing, no final line break")
        << QByteArray("[Skyloom]\nZoom=4") << sky << last
        << QByteArray("[Skyloom]\nZoom=4\nLastSphere=5\n");
    QTest::newRow("section missing")
        << QByteArray("[Other]\nLastSphere = 1\n\n; bye\n") << sky << last
        << QByteArray("[Other]\nLastSphere = 1\n\n; bye\n[Skyloom]\nLastSphere=5\n");
    QTest::newRow("section missing, no final line break")
        << QByteArray("[Other]\nA=1") << sky << last
        << QByteArray("[Other]\nA=1\n[Skyloom]\nLastSphere=5\n");
    QTest::newRow("no file") << QByteArray() << sky << last
                             << QByteArray("[Skyloom]\nLastSphere=5\n");
    QTest::newRow("CRLF file")
        << QByteArray("[Other]\r\nA = 1\r\n\r\n[Skyloom]\r\nLastSphere=1\r\nZoom=4\r\n") << sky
        << last << QByteArray("[Other]\r\nA = 1\r\n\r\n[Skyloom]\r\nLastSphere=5\r\nZoom=4\r\n");
    QTest::newRow("CRLF file, key missing")
        << QByteArray("[Skyloom]\r\nZoom=4\r\n\r\n") << sky << last
        << QByteArray("[Skyloom]\r\nZoom=4\r\nLastSphere=5\r\n\r\n");
    QTest::newRow("CRLF file, section missing")
        << QByteArray("[Other]\r\nA=1") << sky << last
        << QByteArray("[Other]\r\nA=1\r\n[Skyloom]\r\nLastSphere=5\r\n");
    QTest::newRow("repeated keys folded")
        << QByteArray("[Skyloom]\nLastSphere=1\nZoom=4\nlastsphere = 2\n[Other]\nLastSphere=3\n"
                      "[skyloom]\nLASTSPHERE=4")
        << sky << last
        << QByteArray("[Skyloom]\nLastSphere=5\nZoom=4\n[Other]\nLastSphere=3\n[skyloom]\n");
    QTest::newRow("names without regard to case")
        << QByteArray("[ SKYLOOM ]\n lastSPHERE=1\n") << sky << last
        << QByteArray("[ SKYLOOM ]\n lastSPHERE=5\n");
    QTest::newRow("key in the section's second part")
        << QByteArray("[Skyloom]\nZoom=4\n[Other]\nA=1\n[Skyloom]\nLastSphere=1\n") << sky << last
        << QByteArray("[Skyloom]\nZoom=4\n[Other]\nA=1\n[Skyloom]\nLastSphere=5\n");
    QTest::newRow("same key in other sections and in values")
        << QByteArray("LastSphere=0\n[Other]\nLastSphere=1\nName=LastSphere=2\n[Skyloom]\n"
                      "Name=LastSphere=3\n")
        << sky << last
        << QByteArray("LastSphere=0\n[Other]\nLastSphere=1\nName=LastSphere=2\n[Skyloom]\n"
                      "Name=LastSphere=3\nLastSphere=5\n");
    QTest::newRow("UTF-8 mark kept") << QByteArray("\xEF\xBB\xBF[Skyloom]\nLastSphere=1\n") << sky
                                     << last << QByteArray("\xEF\xBB\xBF[Skyloom]\nLastSphere=5\n");
    QTest::newRow("empty value") << QByteArray("[Skyloom]\nLastSphere =\nZoom=4\n") << sky << last
                                 << QByteArray("[Skyloom]\nLastSphere =5\nZoom=4\n");
    // To the parser only spaces, tabs and CR are white space: a key or section name that
    // starts with a vertical tab or a form feed is another one, and keeps its line.
    QTest::newRow("vertical tab before a key")
        << QByteArray("[Skyloom]\n\vLastSphere=4\n") << sky << last
        << QByteArray("[Skyloom]\n\vLastSphere=4\nLastSphere=5\n");
    QTest::newRow("form feed in a section name")
        << QByteArray("[Skyloom\f]\nLastSphere=4\n") << sky << last
        << QByteArray("[Skyloom\f]\nLastSphere=4\n[Skyloom]\nLastSphere=5\n");
}

// Real files in the test's folder, written and read through IniFile.
void TestSettings::iniWriteChangesOneLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeIni(before);
    IniFile ini(iniPath());
    QVERIFY(ini.writeInteger(section, key, 5));
    QCOMPARE(readIni(), after);
    QCOMPARE(ini.readInteger(section, key, -1), 5);
    // The same value again leaves every byte where it is.
    QVERIFY(ini.writeInteger(section, key, 5));
    QCOMPARE(readIni(), after);
}
