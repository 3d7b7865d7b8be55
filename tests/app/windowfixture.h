#pragma once

#include "common/mapserver.h"
#include "common/servedmaps.h"

#include "app/busyindicator.h"
#include "app/mainform.h"
#include "maps/mapcache.h"
#include "maps/mapdownloader.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A main window whose maps come from a local server (or from nowhere: a refused port), with
// the test clock at 14:30 UTC on 22 September 2023 and a data folder of its own.
struct WindowFixture
{
    explicit WindowFixture(bool withServer = true)
    {
        if (withServer)
            server = std::make_unique<TestMapServer>();
        start();
    }
    // A new main window on the same folder, server and clock, as at the next start of the
    // program. The window decodes images in the background; unless told not to, this waits
    // until they are in its scene.
    void start(bool waitForTextures = true)
    {
        form.reset();
        MainFormSetup setup;
        setup.clock = &clock;
        setup.mapServer = server ? server->baseUrl() : QStringLiteral("http://127.0.0.1:1");
        setup.dataDir = dir.path();
        form = std::make_unique<TMainForm>(setup);
        if (waitForTextures)
            QVERIFY(QTest::qWaitFor([this] { return !form->loadingImages(); }, 20000));
    }
    ~WindowFixture()
    {
        form.reset();
        server.reset();
    }

    void choose(ViewKind kind)
    {
        if (kind == View::DayNight)
            form->DayNightButtonClick();
        else
            form->TempsButtonClick(form->buttonForView(kind));
    }
    // Waits until every started download has been handled.
    bool waitIdle(int timeoutMs = 20000)
    {
        return QTest::qWaitFor([this] { return !form->downloader().isBusy(); }, timeoutMs);
    }
    // Another main window on the same folder and clock, with no server, as at the next start
    // of the program while this one may still be open.
    std::unique_ptr<TMainForm> nextStart()
    {
        MainFormSetup setup;
        setup.clock = &clock;
        setup.mapServer = QStringLiteral("http://127.0.0.1:1");
        setup.dataDir = dir.path();
        return std::make_unique<TMainForm>(setup);
    }
    QImage texture() const { return form->scene().climateTexture.image(); }
    bool busy() const { return !form->busyIndicator()->isHidden(); }
    QString cacheFile(ViewKind kind) const { return form->cache().cache_file_name(kind); }
    // The status line as drawn: its lines joined by '\n'.
    QString status() const { return form->statusLabel()->text(); }
    // A map file of one colour for the view, last written `age` seconds before the clock.
    void putCache(ViewKind kind, QRgb colour, int ageSeconds)
    {
        QImage map(1112, 667, QImage::Format_ARGB32);
        map.fill(colour);
        QVERIFY(map.save(cacheFile(kind)));
        set_file_time(cacheFile(kind), clock.nowUtc().addSecs(-ageSeconds));
    }

    QTemporaryDir dir;
    FixedClock clock{TestNow};
    std::unique_ptr<TestMapServer> server;
    std::unique_ptr<TMainForm> form;
};
