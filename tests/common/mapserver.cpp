#include "common/mapserver.h"

#include <httplib.h>

TestMapServer::TestMapServer()
    : m_server(std::make_unique<httplib::Server>())
{
    start();
}

TestMapServer::TestMapServer(const QString &certFile, const QString &keyFile)
    : m_server(std::make_unique<httplib::SSLServer>(certFile.toLocal8Bit().constData(),
                                                    keyFile.toLocal8Bit().constData()))
    , m_tls(true)
{
    start();
}

void TestMapServer::start()
{
    m_server->Get(R"(.*)", [this](const httplib::Request &req, httplib::Response &res) {
        Answer answer;
        {
            QMutexLocker lock(&m_mutex);
            Request r;
            r.path = QString::fromStdString(req.path);
            r.userAgent = QString::fromStdString(req.get_header_value("User-Agent"));
            for (const auto &h : req.headers)
                r.headerNames << QString::fromStdString(h.first);
            m_requests << r;
            answer = m_answers.value(r.path, m_default);
        }
        if (answer.hang || answer.delayMs > 0) {
            std::unique_lock<std::mutex> lock(m_hangMutex);
            auto stop = [this] { return m_stopping; };
            if (answer.hang)
                m_hangWake.wait(lock, stop);
            else
                m_hangWake.wait_for(lock, std::chrono::milliseconds(answer.delayMs), stop);
        }
        res.status = answer.status;
        if (answer.trickleMs > 0) {
            const int every = answer.trickleMs;
            res.set_chunked_content_provider(
                "image/png", [this, every](size_t, httplib::DataSink &sink) {
                    std::unique_lock<std::mutex> lock(m_hangMutex);
                    if (m_hangWake.wait_for(lock, std::chrono::milliseconds(every),
                                            [this] { return m_stopping; }))
                        return false;
                    return sink.write("x", 1);
                });
            return;
        }
        if (!answer.location.isEmpty())
            res.set_header("Location", answer.location.toStdString());
        res.set_content(answer.body.toStdString(), "image/png");
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestMapServer::~TestMapServer()
{
    {
        std::lock_guard<std::mutex> lock(m_hangMutex);
        m_stopping = true;
    }
    m_hangWake.notify_all();
    m_server->stop();
    m_thread.join();
}

QString TestMapServer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? "https" : "http").arg(m_port);
}

void TestMapServer::answer(const QString &path, Answer answer)
{
    QMutexLocker lock(&m_mutex);
    m_answers.insert(path, answer);
}

void TestMapServer::answerEverything(Answer answer)
{
    QMutexLocker lock(&m_mutex);
    m_default = answer;
}

QList<TestMapServer::Request> TestMapServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

QStringList TestMapServer::requestedPaths() const
{
    QStringList paths;
    for (const Request &r : requests())
        paths << r.path;
    return paths;
}
