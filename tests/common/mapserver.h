#pragma once

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace httplib {
class Server;
}

// A map server on 127.0.0.1 for tests: answers each path as told (404 by default) and
// records every request it gets.
class TestMapServer
{
public:
    struct Answer
    {
        Answer(int status = 404, QByteArray body = {}, int delayMs = 0, bool hang = false)
            : status(status)
            , body(std::move(body))
            , delayMs(delayMs)
            , hang(hang)
        {}
        int status;
        QByteArray body;
        int delayMs;
        bool hang;           // never answers until the server stops
        QByteArray location; // sent as a Location header when set
        int trickleMs = 0;   // sends the headers, then one byte this often until it stops
    };
    struct Request
    {
        QString path;
        QString userAgent;
        QStringList headerNames;
    };

    // Plain HTTP, or HTTPS with the given certificate and key files.
    TestMapServer();
    TestMapServer(const QString &certFile, const QString &keyFile);
    ~TestMapServer();

    QString baseUrl() const;
    void answer(const QString &path, Answer answer);
    void answerEverything(Answer answer);
    QList<Request> requests() const;
    QStringList requestedPaths() const;

private:
    void start();

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    bool m_tls = false;
    mutable QMutex m_mutex;
    QMap<QString, Answer> m_answers;
    Answer m_default;
    QList<Request> m_requests;
    std::mutex m_hangMutex;
    std::condition_variable m_hangWake;
    bool m_stopping = false;
};
