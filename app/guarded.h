#pragma once

#include <QMutex>
#include <QMutexLocker>

// A value shared between the UI thread and download workers: every read is a whole copy
// taken under the lock, so no reader ever sees a half-written text.
template <typename T> class Guarded
{
public:
    Guarded() = default;
    explicit Guarded(T value)
        : m_value(std::move(value))
    {}
    Guarded(const Guarded &) = delete;
    Guarded &operator=(const Guarded &) = delete;

    T load() const
    {
        QMutexLocker lock(&m_mutex);
        return m_value;
    }
    void store(T value)
    {
        QMutexLocker lock(&m_mutex);
        m_value = std::move(value);
    }
    operator T() const { return load(); }
    Guarded &operator=(T value)
    {
        store(std::move(value));
        return *this;
    }

private:
    mutable QMutex m_mutex;
    T m_value{};
};
