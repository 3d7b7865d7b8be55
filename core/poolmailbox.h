#pragma once

#include "core/handoff.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>

#include <utility>

// Where pool threads post results for an object that lives on the UI thread. The receiver
// closes it when it goes, under the same lock, so nothing is ever posted to a destroyed
// object; what was posted before is dropped by Qt with the object. Pool jobs hold it by
// shared pointer, so it outlives its receiver.
template <typename Receiver> class PoolMailbox
{
public:
    explicit PoolMailbox(Receiver *receiver)
        : m_receiver(receiver)
    {}

    void close()
    {
        QMutexLocker lock(&m_mutex);
        m_receiver = nullptr;
    }

    // Runs deliver(receiver) on the receiver's thread, unless it has gone by then.
    template <typename Deliver> void post(Deliver deliver)
    {
        QMutexLocker lock(&m_mutex);
        if (!m_receiver)
            return;
        Receiver *receiver = m_receiver;
        QMetaObject::invokeMethod(
            receiver,
            hand_over([receiver, deliver = std::move(deliver)]() mutable { deliver(*receiver); }),
            Qt::QueuedConnection);
    }

private:
    QMutex m_mutex;
    Receiver *m_receiver;
};
