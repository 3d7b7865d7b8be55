#pragma once

#include <QImage>
#include <QObject>

#include <functional>
#include <memory>

template <typename Receiver> class PoolMailbox;

// Reads images on Qt's global thread pool and hands each back as a value, on the thread
// that owns the loader, so start-up decoding runs beside the window's own work. Nothing
// arrives after the loader is gone.
class ImageLoader : public QObject
{
    Q_OBJECT

public:
    using Read = std::function<QImage()>;

    explicit ImageLoader(QObject *parent = nullptr);
    ~ImageLoader() override;

    // Runs read() on the pool; loaded(job, its image) follows, once.
    void load(int job, Read read);
    // Jobs whose images have not been handed back yet.
    int pending() const { return m_pending; }

signals:
    void loaded(int job, const QImage &image);

private:
    std::shared_ptr<PoolMailbox<ImageLoader>> m_mailbox;
    int m_pending = 0;
};
