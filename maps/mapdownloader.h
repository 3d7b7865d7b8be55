#pragma once

#include "core/datetime.h"
#include "core/globetypes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>

#include <map>
#include <memory>

template <typename Receiver> class PoolMailbox;

class QNetworkAccessManager;
class QNetworkReply;

extern const char *const MapUserAgent;

// What one download hands back to its owner: everything the completion applies, and
// nothing the owner has to look up elsewhere.
struct MapDownloadResult
{
    ViewKind kind = View::Temperature;
    // The attempt that answered 200, or the last one tried.
    MapSourceKind source = Source::TodayFrame;
    // An attempt answered 200.
    bool fetched = false;
    // What the status line shows for this download; empty after a good map.
    QString error;
    // The network layer's own words for the last attempt that got no answer.
    QString networkError;
    // When this download last computed a frame date: its start, or its previous-day attempt.
    DateTimeDays utcStamp = 0;
    // The stretched map and its cache file; null unless a fetched body was a usable image.
    QImage texture;
    QByteArray png;
};

// What a fetched body becomes on a pool thread: the texture and its PNG bytes, both null
// when the body is no usable image.
struct PreparedMap
{
    QImage texture;
    QByteArray png;
};
PreparedMap prepare_map(const QByteArray &body);

// Fetches map views from the map server: today's frame, then the previous day's, then the
// static map, stopping at the first answer with status 200. Requests run on the owner's
// event loop through one QNetworkAccessManager; only decoding and encoding run on the
// global thread pool, and their result comes back here as a value.
class MapDownloader : public QObject
{
    Q_OBJECT

public:
    static constexpr int TransferTimeoutMs = 6000;
    // On top of the transfer time-out: a server that trickles a byte now and then must not
    // hold an attempt for ever.
    static constexpr int AttemptDeadlineMs = 30000;
    static constexpr qint64 DefaultMaxBodySize = 64 * 1024 * 1024;

    MapDownloader(const Clock &clock, QString server, QObject *parent = nullptr);
    ~MapDownloader() override;

    const QString &server() const { return m_server; }
    void setTransferTimeout(int ms) { m_transferTimeout = ms; }
    void setAttemptDeadline(int ms) { m_attemptDeadline = ms; }
    void setMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    void addCaCertificates(const QList<QSslCertificate> &certificates);

    // Starts the download of a map view and returns at once. Starts nothing, and answers
    // false, while that view's download runs or when the kind is no map view.
    bool load_from_internet(ViewKind kind);
    bool isRunning(ViewKind kind) const { return m_downloads.count(kind) != 0; }
    bool isBusy() const { return !m_downloads.empty(); }

signals:
    // Once for every started download, on the owner's thread; never after destruction.
    void finished(const MapDownloadResult &result);

private:
    struct Download;

    // Sends the next attempt that has a URL, or ends the download when none is left.
    void attempt(Download &download);
    void attemptFinished(Download &download);
    void prepared(ViewKind kind, PreparedMap map);
    void finish(ViewKind kind);

    const Clock &m_clock;
    QString m_server;
    int m_transferTimeout = TransferTimeoutMs;
    int m_attemptDeadline = AttemptDeadlineMs;
    qint64 m_maxBodySize = DefaultMaxBodySize;
    QList<QSslCertificate> m_extraCaCertificates;
    QNetworkAccessManager *m_manager;
    std::map<ViewKind, std::unique_ptr<Download>> m_downloads;
    std::shared_ptr<PoolMailbox<MapDownloader>> m_mailbox;
};
