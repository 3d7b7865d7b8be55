#include "common/testsupport.h"
#include "maps/mapfixture.h"

#include "legend/statusline.h"
#include "maps/selfsigned.h"

#include <QFile>
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

void TestTls::trustedCertificate()
{
    MapFixture f;
    TestMapServer tls(m_cert, m_key);
    const QByteArray served = map_png(0xFF20A060);
    tls.answer(Paths::TempsToday, Answer{200, served});
    app().MapServer = tls.baseUrl();
    f.client().ExtraCaCertificates = QSslCertificate::fromPath(m_cert);
    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    QCOMPARE(tls.requestedPaths(), QStringList{Paths::TempsToday});
    QCOMPARE(app().StatusError.load(), QString());
    QCOMPARE(f.texture(), expected_texture(served));
    f.form.reset(); // before the server it talks to
}

void TestTls::untrustedCertificate()
{
    MapFixture f;
    TestMapServer tls(m_cert, m_key);
    tls.answerEverything(Answer{200, map_png(0xFF20A060)});
    app().MapServer = tls.baseUrl();
    QVERIFY(expected_texture(map_png(0xFF00FF00)).save(f.cacheFile(View::Temperature)));
    set_file_time(f.cacheFile(View::Temperature), f.clock.nowUtc().addDays(-1));
    f.choose(View::Temperature);
    QVERIFY(f.waitIdle());
    // The handshake fails before any request is made.
    QVERIFY(tls.requests().isEmpty());
    QCOMPARE(status_text(), QStringLiteral("Cannot Connect to Internet"));
    f.form.reset();
}

void TestTls::redirectNeverLeavesHttps()
{
    MapFixture f; // its plain server is where the redirect points
    f.server->answerEverything(Answer{200, map_png(0xFF20A060)});
    TestMapServer tls(m_cert, m_key);
    Answer redirect{302, {}};
    redirect.location = (f.server->baseUrl() + Paths::PressureStatic).toLatin1();
    tls.answer(Paths::PressureStatic, redirect);
    app().MapServer = tls.baseUrl();
    f.client().ExtraCaCertificates = QSslCertificate::fromPath(m_cert);
    f.choose(View::Pressure);
    QVERIFY(f.waitIdle());
    QCOMPARE(tls.requestedPaths(), QStringList{Paths::PressureStatic});
    QVERIFY(f.server->requests().isEmpty());
    QVERIFY(!QFile::exists(f.cacheFile(View::Pressure)));
    f.form.reset();
}

SKYLOOM_TEST_MAIN(TestTls)
#include "tst_tls.moc"
