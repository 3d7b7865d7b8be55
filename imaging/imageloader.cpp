#include "imaging/imageloader.h"

#include "core/handoff.h"
#include "core/poolmailbox.h"

#include <QThreadPool>

ImageLoader::ImageLoader(QObject *parent)
    : QObject(parent)
    , m_mailbox(std::make_shared<PoolMailbox<ImageLoader>>(this))
{}

ImageLoader::~ImageLoader() { m_mailbox->close(); }

void ImageLoader::load(int job, Read read)
{
    ++m_pending;
    QThreadPool::globalInstance()->start(
        hand_over([mailbox = m_mailbox, job, read = std::move(read)] {
            mailbox->post([job, image = read()](ImageLoader &loader) {
                --loader.m_pending;
                emit loader.loaded(job, image);
            });
        }));
}
