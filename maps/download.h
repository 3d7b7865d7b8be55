#pragma once

#include "app/appstate.h"

#include <QByteArray>
#include <QImage>

class HttpClientCore;

extern const char *const MapUserAgent;

// Creates the program's HTTP client, owned by the main window.
HttpClient *create_http_client(TMainForm *owner);

// One GET into `body` (emptied first). Sets StatusError from the outcome; true on 200.
bool fetch_map(HttpClientCore &client, const QString &url, QByteArray &body);

// Starts the download of a map view in the background and returns at once; its first
// attempt asks for the frame of `today`.
void load_from_internet(ViewKind kind, const FrameDate &today);

// What a download hands back to the UI thread.
struct DownloadResult
{
    ViewKind pic_type = View::Temperature;
    bool get_ok = false;
    QByteArray ms;
    // The stretched texture and its cache file's bytes, made by prepare_map on the worker so
    // the UI thread only shows and writes them; a null texture when the body was no usable
    // image.
    QImage texture;
    QByteArray png;
};

// Makes the texture and the PNG of a good download.
void prepare_map(DownloadResult &result);

void download_completed(const DownloadResult &result);
void download_failed(const DownloadResult &result);
