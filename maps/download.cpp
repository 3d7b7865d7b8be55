#include "maps/download.h"

#include "app/busyindicator.h"
#include "app/handoff.h"
#include "app/mainform.h"
#include "app/showview.h"
#include "imaging/mapimage.h"
#include "legend/statusline.h"
#include "maps/frameurls.h"
#include "maps/httpclient.h"
#include "maps/mapcache.h"

#include <QThreadPool>

const char *const MapUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/116.0.0.0 Safari/537.36 Edg/116.0.1938.76";

namespace {
// Downloads may overlap: the indicator runs until the last one is handled.
void busy_started(HttpClient &client)
{
    ++client.downloadsInFlight;
    if (TMainForm *form = app().MainForm) {
        form->busyIndicator()->setEnabled(true);
        form->busyIndicator()->show();
    }
}

void busy_finished()
{
    AppState &state = app();
    HttpClient *client = state.HttpClientObject;
    if (client)
        client->downloadsInFlight = qMax(0, client->downloadsInFlight - 1);
    if (state.MainForm && (!client || client->downloadsInFlight == 0)) {
        state.MainForm->busyIndicator()->setEnabled(false);
        state.MainForm->busyIndicator()->hide();
    }
}

// Decode, crop and stretch of a downloaded body; null when it is no usable image.
QImage texture_from_body(const QByteArray &body)
{
    QImage decoded;
    if (!decode_map(body, decoded))
        return {};
    try {
        return make_sphere_texture(decoded);
    } catch (...) {
        // An allocation failing inside the stretch must not take the program down.
        return {};
    }
}

DownloadResult run_download(HttpClientCore &client, ViewKind kind, const FrameDate &today)
{
    AppState &state = app();
    DownloadResult result;
    result.pic_type = kind;
    state.MapSource = Source::TodayFrame;
    client.UserAgent = QString::fromLatin1(MapUserAgent);
    result.get_ok = fetch_map(client, get_frame_url(kind, today), result.ms);
    if (!result.get_ok && !client.isShuttingDown()) {
        state.MapSource = Source::PreviousFrame;
        const FrameDate yesterday = set_yesterday_vars();
        result.get_ok = fetch_map(client, get_frame_url(kind, yesterday), result.ms);
    }
    if (!result.get_ok && !client.isShuttingDown()) {
        state.MapSource = Source::StaticMap;
        result.get_ok = fetch_map(client, get_static_url(kind), result.ms);
    }
    return result;
}
} // namespace

HttpClient *create_http_client(TMainForm *owner)
{
    auto *client = new HttpClient(owner);
    client->core()->ConnectionTimeout = 6000;
    client->core()->ResponseTimeout = 6000;
    client->setRequestErrorHandler(
        [owner](const QString &text) { owner->NetHTTPClient1RequestError(text); });
    return client;
}

bool fetch_map(HttpClientCore &client, const QString &url, QByteArray &body)
{
    AppState &state = app();
    if (url.isEmpty())
        return false;
    // Each attempt starts from an empty body: no tail of an earlier answer survives.
    body.clear();
    const HttpResponse response = client.get(url);
    if (!response.responded) {
        client.reportRequestError(response.error);
        state.StatusError = response.tooLarge ? QStringLiteral("Internet File Too Large")
                                              : QStringLiteral("Cannot Connect to Internet");
        return false;
    }
    body = response.body;
    if (response.status == 200) {
        state.StatusError = QString();
        return true;
    }
    state.StatusError = response.status == 404 ? QStringLiteral("Internet File Not Found")
                                               : QString::number(response.status);
    return false;
}

void load_from_internet(ViewKind kind, const FrameDate &today)
{
    AppState &state = app();
    HttpClient *client = state.HttpClientObject;
    if (!client)
        return;
    clear_status();
    busy_started(*client);

    // The task keeps the client's shared core, so it never outlives what it uses, and its
    // completion is queued to the client, so none runs after the window is gone.
    std::shared_ptr<HttpClientCore> core = client->core();
    core->taskStarted();
    QThreadPool::globalInstance()->start(hand_over([core, kind, today] {
        DownloadResult result;
        bool failed = false;
        try {
            result = run_download(*core, kind, today);
            if (result.get_ok)
                prepare_map(result);
        } catch (...) {
            failed = true;
            result.pic_type = kind;
        }
        core->post(
            [result, failed] { failed ? download_failed(result) : download_completed(result); });
        core->taskFinished();
    }));
}

void prepare_map(DownloadResult &result)
{
    result.texture = texture_from_body(result.ms);
    if (!result.texture.isNull())
        result.png = encode_map_png(result.texture);
}

void download_completed(const DownloadResult &result)
{
    AppState &state = app();
    TMainForm *form = state.MainForm;
    if (!form)
        return;
    if (!result.get_ok) {
        busy_finished();
        load_cached_map(state.CurrentView);
        show_status_error();
        return;
    }
    const QImage &texture = result.texture;
    busy_finished();
    if (texture.isNull()) {
        state.StatusError = QStringLiteral("Image Error");
        show_status_error();
        return;
    }
    GlobeScene &scene = form->scene();
    scene.climateTexture.setImage(texture);
    scene.EarthSphere.visible = false;
    scene.ClimateSphere.visible = true;
    save_cached_map(result.pic_type, result.png);
    ShowView(result.pic_type);
    show_status_error();
}

void download_failed(const DownloadResult &)
{
    AppState &state = app();
    busy_finished();
    load_cached_map(state.CurrentView);
    show_file_date_status(state.CurrentView);
    show_status_error();
}
