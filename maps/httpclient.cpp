#include "maps/httpclient.h"

#include "app/handoff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSemaphore>
#include <QSslConfiguration>
#include <QThread>
#include <QTimer>

HttpResponse HttpClientCore::get(const QString &url)
{
    HttpResponse response;
    if (isShuttingDown()) {
        response.error = QStringLiteral("Operation canceled");
        return response;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    // Plain GET: the user agent is the only header we add.
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent.load());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // No data for this long, while connecting or while waiting for the answer, fails it.
    request.setTransferTimeout(qMax(ConnectionTimeout.load(), ResponseTimeout.load()));
    const QList<QSslCertificate> extra = ExtraCaCertificates.load();
    if (!extra.isEmpty()) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificates(extra);
        request.setSslConfiguration(ssl);
    }

    QNetworkReply *reply = manager.get(request);
    QEventLoop loop;
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (reply->bytesAvailable() + response.body.size() > MaxBodySize.load()) {
            tooLarge = true;
            reply->abort();
            return;
        }
        response.body += reply->readAll();
    });
    QTimer shutdownPoll;
    QObject::connect(&shutdownPoll, &QTimer::timeout, &loop, [&] {
        if (isShuttingDown())
            reply->abort();
    });
    shutdownPoll.start(50);
    if (!reply->isFinished())
        loop.exec();
    shutdownPoll.stop();

    // An HTTP error status (4xx, 5xx) is still an answer, whichever code Qt files it under
    // (400 is a protocol error, 407 a proxy one); a network or proxy failure means none came.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError code = reply->error();
    const bool transportFailure = code != QNetworkReply::ProxyAuthenticationRequiredError &&
                                  code < QNetworkReply::ContentAccessDenied;
    const bool httpError = status.toInt() >= 400 && !transportFailure;
    response.tooLarge = tooLarge;
    if (!tooLarge && status.isValid() && (code == QNetworkReply::NoError || httpError)) {
        response.responded = true;
        response.status = status.toInt();
        response.body += reply->readAll();
    } else {
        response.body.clear();
        response.error = reply->errorString();
    }
    delete reply;
    return response;
}

bool HttpClientCore::post(std::function<void()> fn)
{
    QMutexLocker lock(&m_receiverMutex);
    if (!m_receiver || isShuttingDown())
        return false;
    QMetaObject::invokeMethod(m_receiver, hand_over(std::move(fn)), Qt::QueuedConnection);
    return true;
}

void HttpClientCore::reportRequestError(const QString &text)
{
    auto done = std::make_shared<QSemaphore>(0);
    auto handler = m_onRequestError.load();
    const bool queued = post([handler, text, done] {
        if (handler)
            handler(text);
        done->release();
    });
    if (!queued)
        return;
    while (!done->tryAcquire(1, 20)) {
        if (isShuttingDown())
            return;
    }
}

HttpClient::HttpClient(QObject *owner)
    : QObject(owner)
    , m_core(std::make_shared<HttpClientCore>())
{
    m_core->m_receiver = this;
}

HttpClient::~HttpClient() { shutdown(); }

void HttpClient::setRequestErrorHandler(std::function<void(const QString &)> handler)
{
    m_core->m_onRequestError.store(std::move(handler));
}

void HttpClient::shutdown(int waitMs)
{
    m_core->m_shuttingDown = true;
    {
        // After this no completion can be queued to an object about to go.
        QMutexLocker lock(&m_core->m_receiverMutex);
        m_core->m_receiver = nullptr;
    }
    QElapsedTimer timer;
    timer.start();
    // Never QFuture::waitForFinished here: it would run a queued task inline.
    while (m_core->runningTasks() > 0 && timer.elapsed() < waitMs)
        QThread::msleep(5);
}
