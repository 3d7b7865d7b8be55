#pragma once

#include "app/appstate.h"

#include <QByteArray>

class HttpClientCore;

extern const char *const MapUserAgent;

// Creates the program's HTTP client, owned by the main window.
HttpClient *create_http_client(TMainForm *owner);

// One GET into `body` (emptied first). Sets StatusError from the outcome; true on 200.
bool fetch_map(HttpClientCore &client, const QString &url, QByteArray &body);

// Starts the download of a map view in the background and returns at once.
void load_from_internet(ViewKind kind);

// What a download hands back to the UI thread.
struct DownloadResult
{
    ViewKind pic_type = View::Temperature;
    bool get_ok = false;
    QByteArray ms;
};

void download_completed(const DownloadResult &result);
void download_failed(const DownloadResult &result);
