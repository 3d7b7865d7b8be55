#include "common/selfsigned.h"
#include "common/testsupport.h"
#include "maps/downloadfixture.h"

#include <QSignalSpy>
#include <QSslSocket>

using Answer = TestMapServer::Answer;

class TestTls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void trustedCertificate();
    void untrustedCertificate();
    void redirectNeverLeavesHttps();

private:
    QTemporaryDir m_keys;
    QString m_cert, m_key;
};

void TestTls::initTestCase()
{
    QVERIFY(QSslSocket::supportsSsl());
    m_cert = m_keys.filePath(QStringLiteral("cert.pem"));
    m_key = m_keys.filePath(QStringLiteral("key.pem"));
    // A throwaway self-signed certificate for 127.0.0.1.
    QVERIFY(write_self_signed_certificate(m_cert, m_key));
    QCOMPARE(QSslCertificate::fromPath(m_cert).size(), 1);
}

namespace {
// The next result of a downloader talking to `server`.
MapDownloadResult fetch(MapDownloader &downloader, ViewKind kind)
{
    MapDownloadResult result;
    QObject::connect(&downloader, &MapDownloader::finished,
                     [&result](const MapDownloadResult &r) { result = r; });
    QSignalSpy spy(&downloader, &MapDownloader::finished);
    downloader.load_from_internet(kind);
    spy.wait(20000);
    return result;
}
} // namespace

void TestTls::trustedCertificate()
{
    TestMapServer tls(m_cert, m_key);
    tls.answer(Paths::TempsToday, Answer{200, map_png(0xFF20A060)});
    FixedClock clock(TestNow);
    MapDownloader downloader(clock, tls.baseUrl());
    downloader.addCaCertificates(QSslCertificate::fromPath(m_cert));
    const MapDownloadResult r = fetch(downloader, View::Temperature);
    QCOMPARE(tls.requestedPaths(), QStringList{Paths::TempsToday});
    QCOMPARE(r.error, QString());
    QCOMPARE(r.texture.pixel(500, 300), 0xFF20A060);
}

void TestTls::untrustedCertificate()
{
    TestMapServer tls(m_cert, m_key);
    tls.answerEverything(Answer{200, map_png(0xFF20A060)});
    FixedClock clock(TestNow);
    MapDownloader downloader(clock, tls.baseUrl());
    const MapDownloadResult r = fetch(downloader, View::Temperature);
    // The handshake fails before any request is made.
    QVERIFY(tls.requests().isEmpty());
    QCOMPARE(r.error, QStringLiteral("Cannot Connect to Internet"));
    QVERIFY(r.texture.isNull());
}

void TestTls::redirectNeverLeavesHttps()
{
    TestMapServer plain; // where the redirect points
    plain.answerEverything(Answer{200, map_png(0xFF20A060)});
    TestMapServer tls(m_cert, m_key);
    Answer redirect{302, {}};
    redirect.location = (plain.baseUrl() + Paths::PressureStatic).toLatin1();
    tls.answer(Paths::PressureStatic, redirect);
    FixedClock clock(TestNow);
    MapDownloader downloader(clock, tls.baseUrl());
    downloader.addCaCertificates(QSslCertificate::fromPath(m_cert));
    const MapDownloadResult r = fetch(downloader, View::Pressure);
    QCOMPARE(tls.requestedPaths(), QStringList{Paths::PressureStatic});
    QVERIFY(plain.requests().isEmpty());
    QVERIFY(!r.fetched);
    QVERIFY(r.texture.isNull());
}

SKYLOOM_TEST_MAIN(TestTls)
#include "tst_tls.moc"
