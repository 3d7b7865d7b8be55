#pragma once

#include "common/mapserver.h"
#include "common/servedmaps.h"

#include "maps/mapdownloader.h"

#include <QList>
#include <QTest>

#include <memory>

// A clock that moves on by a minute at every reading, so each frame-date computation of a
// download has its own instant.
class SteppingClock final : public Clock
{
public:
    explicit SteppingClock(QDateTime start)
        : m_next(start)
    {}
    QDateTime nowUtc() const override
    {
        const QDateTime now = m_next;
        m_next = m_next.addSecs(60);
        ++m_readings;
        return now;
    }
    int readings() const { return m_readings; }

private:
    mutable QDateTime m_next;
    mutable int m_readings = 0;
};

// A downloader talking to a local map server, with a fixed clock, and every result it hands
// back.
struct DownloadFixture
{
    explicit DownloadFixture(const Clock &clock)
        : server(std::make_unique<TestMapServer>())
        , downloader(std::make_unique<MapDownloader>(clock, server->baseUrl()))
    {
        QObject::connect(downloader.get(), &MapDownloader::finished,
                         [this](const MapDownloadResult &r) { results << r; });
    }
    // The next result, waiting for it.
    MapDownloadResult next(int timeoutMs = 20000)
    {
        const int want = taken + 1;
        if (!QTest::qWaitFor([&] { return results.size() >= want; }, timeoutMs))
            return {};
        return results.at(taken++);
    }

    std::unique_ptr<TestMapServer> server;
    std::unique_ptr<MapDownloader> downloader;
    QList<MapDownloadResult> results;
    int taken = 0;
};
