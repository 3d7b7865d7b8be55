#include "maps/mapdownloader.h"

#include "core/handoff.h"
#include "core/poolmailbox.h"
#include "imaging/mapimage.h"
#include "maps/frameurls.h"
#include "maps/mapcache.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QThreadPool>
#include <QTimer>

const char *const MapUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/116.0.0.0 Safari/537.36 Edg/116.0.1938.76";

PreparedMap prepare_map(const QByteArray &body)
{
    PreparedMap map;
    QImage decoded;
    if (!decode_map(body, decoded))
        return map;
    try {
        map.texture = make_sphere_texture(decoded);
    } catch (...) {
        // An allocation failing inside the stretch must not take the program down.
        return map;
    }
    if (!map.texture.isNull())
        map.png = encode_map_png(map.texture);
    return map;
}

struct MapDownloader::Download
{
    MapDownloadResult result;
    QDateTime started;
    QNetworkReply *reply = nullptr;
    QByteArray body;
    bool tooLarge = false;
    bool overDeadline = false;
};

MapDownloader::MapDownloader(const Clock &clock, QString server, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_server(std::move(server))
    , m_manager(new QNetworkAccessManager(this))
    , m_mailbox(std::make_shared<PoolMailbox<MapDownloader>>(this))
{}

MapDownloader::~MapDownloader()
{
    m_mailbox->close();
    for (auto &[kind, download] : m_downloads) {
        if (QNetworkReply *reply = download->reply) {
            disconnect(reply, nullptr, this, nullptr);
            reply->abort();
            delete reply;
        }
    }
}

void MapDownloader::addCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_extraCaCertificates += certificates;
}

bool MapDownloader::load_from_internet(ViewKind kind)
{
    if (!View::isMap(kind) || isRunning(kind))
        return false;
    auto download = std::make_unique<Download>();
    download->started = m_clock.nowUtc();
    download->result.kind = kind;
    download->result.source = Source::TodayFrame;
    download->result.utcStamp = to_days(download->started);
    Download &d = *download;
    m_downloads.emplace(kind, std::move(download));
    attempt(d);
    return true;
}

void MapDownloader::attempt(Download &d)
{
    const ViewKind kind = d.result.kind;
    QString url;
    for (;;) {
        switch (d.result.source) {
        case Source::TodayFrame:
            url = get_frame_url(m_server, kind, today_frame_date(d.started));
            break;
        case Source::PreviousFrame: {
            const QDateTime now = m_clock.nowUtc();
            d.result.utcStamp = to_days(now);
            url = get_frame_url(m_server, kind, yesterday_frame_date(now));
            break;
        }
        default:
            url = get_static_url(m_server, kind);
            break;
        }
        // The Pressure view has no frames: its frame attempts send nothing and say nothing.
        if (!url.isEmpty())
            break;
        if (d.result.source >= Source::StaticMap) {
            finish(kind);
            return;
        }
        ++d.result.source;
    }

    QNetworkRequest request{QUrl(url)};
    // Plain GET: the user agent is the only header we add.
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(MapUserAgent));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // No data for this long, while connecting or while waiting for the answer, fails it.
    request.setTransferTimeout(m_transferTimeout);
    if (!m_extraCaCertificates.isEmpty()) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificates(m_extraCaCertificates);
        request.setSslConfiguration(ssl);
    }

    // Each attempt starts from an empty body: no tail of an earlier answer survives.
    d.body.clear();
    d.tooLarge = false;
    d.overDeadline = false;
    QNetworkReply *reply = m_manager->get(request);
    d.reply = reply;
    Download *download = &d;
    connect(reply, &QNetworkReply::readyRead, this, [this, download, reply] {
        if (reply->bytesAvailable() + download->body.size() > m_maxBodySize) {
            download->tooLarge = true;
            reply->abort();
            return;
        }
        download->body += reply->readAll();
    });
    connect(reply, &QNetworkReply::finished, this,
            [this, download] { attemptFinished(*download); });
    // The reply is the context: a deadline outliving its reply never fires, and while the
    // reply runs its download is there.
    QTimer::singleShot(m_attemptDeadline, reply, [download, reply] {
        if (reply->isFinished())
            return;
        download->overDeadline = true;
        reply->abort();
    });
}

void MapDownloader::attemptFinished(Download &d)
{
    QNetworkReply *reply = std::exchange(d.reply, nullptr);
    reply->deleteLater();
    MapDownloadResult &result = d.result;

    // An HTTP error status (4xx, 5xx) is still an answer, whichever code Qt files it under
    // (400 is a protocol error, 407 a proxy one); a network or proxy failure means none came.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError code = reply->error();
    const bool transportFailure = code != QNetworkReply::ProxyAuthenticationRequiredError &&
                                  code < QNetworkReply::ContentAccessDenied;
    const bool httpError = status.toInt() >= 400 && !transportFailure;
    const bool answered = !d.tooLarge && !d.overDeadline && status.isValid() &&
                          (code == QNetworkReply::NoError || httpError);
    if (answered) {
        if (status.toInt() == 200) {
            result.fetched = true;
            result.error.clear();
            QByteArray body = std::move(d.body);
            body += reply->readAll();
            const ViewKind kind = result.kind;
            QThreadPool::globalInstance()->start(
                hand_over([mailbox = m_mailbox, kind, body = std::move(body)] {
                    mailbox->post([kind, map = prepare_map(body)](MapDownloader &receiver) mutable {
                        receiver.prepared(kind, std::move(map));
                    });
                }));
            return;
        }
        result.error = status.toInt() == 404 ? QStringLiteral("Internet File Not Found")
                                             : QString::number(status.toInt());
    } else {
        result.networkError =
            d.overDeadline ? QStringLiteral("The answer took too long") : reply->errorString();
        result.error = d.tooLarge ? QStringLiteral("Internet File Too Large")
                                  : QStringLiteral("Cannot Connect to Internet");
    }
    d.body.clear();
    if (result.source >= Source::StaticMap) {
        finish(result.kind);
        return;
    }
    ++result.source;
    attempt(d);
}

void MapDownloader::prepared(ViewKind kind, PreparedMap map)
{
    const auto it = m_downloads.find(kind);
    if (it == m_downloads.end())
        return;
    MapDownloadResult &result = it->second->result;
    result.texture = std::move(map.texture);
    result.png = std::move(map.png);
    if (result.texture.isNull())
        result.error = QStringLiteral("Image Error");
    finish(kind);
}

void MapDownloader::finish(ViewKind kind)
{
    auto node = m_downloads.extract(kind);
    if (node.empty())
        return;
    // Out of the running set before anyone hears of it, so the owner sees itself idle and
    // may start the same view again.
    const MapDownloadResult result = std::move(node.mapped()->result);
    node = {};
    emit finished(result);
}
