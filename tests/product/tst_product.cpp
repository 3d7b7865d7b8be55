#include "common/testsupport.h"

#include "product/productinfo.h"
#include "product/verinfo.h"

#include <QDir>
#include <QTemporaryDir>

class TestProduct : public QObject
{
    Q_OBJECT

private slots:
    void dataDir_data();
    void dataDir();
    void versionMajor_data();
    void versionMajor();
    void versionBlockOfTheApp();
    void bareNameIsLookedUpBesideTheProgram();
    void noVersionBlock();
};

void TestProduct::dataDir_data()
{
    QTest::addColumn<bool>("shared");         // the platform reports a shared data folder
    QTest::addColumn<bool>("sharedSubdirs");  // Brightwell/Skyloom exists under it
    QTest::addColumn<QString>("systemValue"); // "" none, "dir" an existing folder, "gone"
    QTest::addColumn<QString>("expected");    // "shared", "system" or "exe"
    QTest::addColumn<bool>("systemRead");
    QTest::newRow("shared folder with sub-folders") << true << true << "dir"
                                                    << "shared" << false;
    QTest::newRow("shared folder without them") << true << false << "dir"
                                                << "exe" << false;
    QTest::newRow("no shared folder: system value") << false << false << "dir"
                                                    << "system" << true;
    QTest::newRow("system value without sub-folders") << false << false << "gone"
                                                      << "exe" << true;
    QTest::newRow("no shared folder, no value") << false << false << ""
                                                << "exe" << true;
}

void TestProduct::dataDir()
{
    QFETCH(bool, shared);
    QFETCH(bool, sharedSubdirs);
    QFETCH(QString, systemValue);
    QFETCH(QString, expected);
    QFETCH(bool, systemRead);
    QTemporaryDir root;
    const QString sharedDir = root.filePath("share"), systemDir = root.filePath("system"),
                  exeDir = root.filePath("bin");
    QVERIFY(QDir().mkpath(exeDir));
    QVERIFY(QDir().mkpath(sharedDir));
    QVERIFY(QDir().mkpath(systemDir + "/Brightwell/Skyloom"));
    if (sharedSubdirs)
        QVERIFY(QDir().mkpath(sharedDir + "/Brightwell/Skyloom"));

    bool read = false;
    DataDirSources sources;
    sources.sharedDataLocation = shared ? sharedDir : QString();
    sources.readSystemValue = [&] {
        read = true;
        return systemValue == "dir"    ? systemDir
               : systemValue == "gone" ? root.filePath("gone")
                                       : QString();
    };
    sources.executableFolder = exeDir;
    const QString result =
        resolve_data_dir("Brightwell Software", "Skyloom", "Brightwell", sources);

    const QString want = expected == "shared"   ? sharedDir + "/Brightwell/Skyloom/"
                         : expected == "system" ? systemDir + "/Brightwell/Skyloom/"
                                                : exeDir + "/";
    QCOMPARE(result, want);
    QCOMPARE(read, systemRead);
    // Looked up, never created.
    QCOMPARE(QDir(root.filePath("gone")).exists(), false);
    if (!sharedSubdirs)
        QCOMPARE(QDir(sharedDir + "/Brightwell").exists(), false);
}

void TestProduct::versionMajor_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("major");
    QTest::newRow("1.0.7.0") << "1.0.7.0"
                             << "1.0";
    QTest::newRow("7") << "7"
                       << "7";
    QTest::newRow("empty") << ""
                           << "";
}

void TestProduct::versionMajor()
{
    QFETCH(QString, version);
    QFETCH(QString, major);
    QCOMPARE(version_major(version), major);
}

void TestProduct::versionBlockOfTheApp()
{
    TEPInfoExe info;
    QCOMPARE(info.FLangId, QStringLiteral("0409"));
    info.FExeName = QStringLiteral(SKYLOOM_APP_PATH);
    info.Execute();
    QCOMPARE(info.FFileVersion, QStringLiteral("1.0.7.0"));
    QCOMPARE(info.FCompanyName, QStringLiteral("Brightwell Software"));
    QCOMPARE(info.FProductName, QStringLiteral("Skyloom"));
    QCOMPARE(info.property("FileVersion").toString(), QStringLiteral("1.0.7.0"));
    // Keys the block lacks stay empty, never the previous key's value.
    QCOMPARE(info.FLegalTradeMarks, QString());
    QCOMPARE(info.FComments, QString());
    QCOMPARE(info.FOriginalFilename, QString());
    QCOMPARE(info.FProductVersion, QString());
    // Another language reads nothing.
    TEPInfoExe german;
    german.FLangId = QStringLiteral("0407");
    german.FExeName = QStringLiteral(SKYLOOM_APP_PATH);
    german.Execute();
    QCOMPARE(german.FFileVersion, QString());
}

void TestProduct::bareNameIsLookedUpBesideTheProgram()
{
    const QString copy =
        QCoreApplication::applicationDirPath() + QStringLiteral("/skyloom-versioned");
    QFile::remove(copy);
    QVERIFY(QFile::copy(QStringLiteral(SKYLOOM_APP_PATH), copy));
    TEPInfoExe info;
    info.FExeName = QStringLiteral("skyloom-versioned");
    info.Execute();
    QFile::remove(copy);
    QCOMPARE(info.FFileVersion, QStringLiteral("1.0.7.0"));
}

void TestProduct::noVersionBlock()
{
    // This test program carries no block: load_product_info reads its own executable.
    const ProductInfo product = load_product_info();
    QCOMPARE(product.fileVersion, QString());
    QCOMPARE(product.versionMajor, QString());
    QCOMPARE(product.buildDate, QStringLiteral("9/22/2023"));
    QVERIFY(product.dataDir.endsWith(QLatin1Char('/')));
    TEPInfoExe missing;
    missing.FExeName = QStringLiteral("no-such-program");
    missing.Execute();
    QCOMPARE(missing.FFileVersion, QString());
}

SKYLOOM_TEST_MAIN(TestProduct)
#include "tst_product.moc"
