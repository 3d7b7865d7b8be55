#pragma once

#include "app/guarded.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSslCertificate>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

struct HttpResponse
{
    bool responded = false; // false: no answer at all (refused, timed out, TLS failure...)
    int status = 0;
    QByteArray body;
    QString error;         // the network layer's own text when there was no answer
    bool tooLarge = false; // the body passed MaxBodySize and was dropped
};

// What download workers share: settings, the shutdown flag and the count of running tasks.
// Workers hold it by shared pointer, so it outlives the window that owns the client.
class HttpClientCore
{
public:
    std::atomic<int> ConnectionTimeout{6000};
    std::atomic<int> ResponseTimeout{6000};
    std::atomic<qint64> MaxBodySize{64 * 1024 * 1024};
    Guarded<QString> UserAgent;
    Guarded<QList<QSslCertificate>> ExtraCaCertificates;

    // Runs on the worker's thread; blocks until the answer or a failure.
    HttpResponse get(const QString &url);

    bool isShuttingDown() const { return m_shuttingDown.load(); }
    // Hands the error text to the UI thread and waits until the handler ran there, or
    // until shutdown, so a UI thread that waits for the workers can never deadlock.
    void reportRequestError(const QString &text);

    // Queues fn to the UI thread unless the client is going away; true when queued.
    bool post(std::function<void()> fn);

    void taskStarted() { ++m_running; }
    void taskFinished() { --m_running; }
    int runningTasks() const { return m_running.load(); }

private:
    friend class HttpClient;
    std::atomic<bool> m_shuttingDown{false};
    std::atomic<int> m_running{0};
    QMutex m_receiverMutex;
    QObject *m_receiver = nullptr;
    // Set on the UI thread, read by the workers that report an error.
    Guarded<std::function<void(const QString &)>> m_onRequestError;
};

// The one HTTP client of the program, owned by the main window.
class HttpClient : public QObject
{
    Q_OBJECT

public:
    explicit HttpClient(QObject *owner);
    ~HttpClient() override;

    std::shared_ptr<HttpClientCore> core() const { return m_core; }
    void setRequestErrorHandler(std::function<void(const QString &)> handler);

    // Aborts running requests and waits, at most waitMs, for the workers to end.
    void shutdown(int waitMs = 3000);

    // Downloads started on the UI thread and not yet handled there.
    int downloadsInFlight = 0;

private:
    std::shared_ptr<HttpClientCore> m_core;
};
