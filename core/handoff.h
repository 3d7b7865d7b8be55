#pragma once

#include <type_traits>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define SKYLOOM_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define SKYLOOM_THREAD_SANITIZER 1
#endif
#endif

#ifdef SKYLOOM_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

// A function handed to another thread through Qt: to a pool thread by QThreadPool::start,
// or back to the UI thread as a queued call. Qt orders the hand-over with locks inside the
// Qt library, which ThreadSanitizer cannot see unless Qt itself was built with it; it would
// then take whatever the sender wrote before the hand-over as racing with the receiver.
// This wrapper states the ordering Qt guarantees: the sender's side ends where the function
// comes to rest in Qt's keeping (its last move), the receiver's side begins before the
// function runs or is destroyed. In other builds it is just the function.
template <typename F> class HandedOver
{
public:
    explicit HandedOver(F fn)
        : m_fn(std::move(fn))
    {
        released();
    }
    HandedOver(const HandedOver &other)
        : m_fn(other.m_fn)
    {
        released();
    }
    HandedOver(HandedOver &&other)
        : m_fn(std::move(other.m_fn))
    {
        released();
    }
    HandedOver &operator=(const HandedOver &) = delete;
    HandedOver &operator=(HandedOver &&) = delete;
    ~HandedOver() { acquired(); }

    decltype(auto) operator()()
    {
        acquired();
        return m_fn();
    }

private:
#ifdef SKYLOOM_THREAD_SANITIZER
    void released() { __tsan_release(this); }
    void acquired() { __tsan_acquire(this); }
#else
    void released() {}
    void acquired() {}
#endif

    F m_fn;
};

template <typename F> HandedOver<std::decay_t<F>> hand_over(F &&fn)
{
    return HandedOver<std::decay_t<F>>(std::forward<F>(fn));
}
