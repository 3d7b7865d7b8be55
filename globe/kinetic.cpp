#include "globe/kinetic.h"

#include <cmath>

namespace {
// Faster than a frame the speed of a few moves cannot be measured: count at least one.
constexpr qint64 MinSpanMs = 16;
} // namespace

void KineticTurn::press(qint64 timeMs)
{
    stop();
    m_samples.clear();
    m_lastTime = timeMs;
}

void KineticTurn::move(float dYaw, float dPitch, qint64 timeMs)
{
    m_samples.push_back({dYaw, dPitch, timeMs});
    forgetBefore(timeMs - SampleWindowMs);
}

void KineticTurn::forgetBefore(qint64 timeMs)
{
    while (!m_samples.empty() && m_samples.front().time < timeMs)
        m_samples.pop_front();
}

bool KineticTurn::release(qint64 timeMs)
{
    forgetBefore(timeMs - SampleWindowMs);
    float yaw = 0;
    float pitch = 0;
    for (const Sample &s : m_samples) {
        yaw += s.dYaw;
        pitch += s.dPitch;
    }
    const qint64 span = m_samples.empty() ? 0 : qMax(MinSpanMs, timeMs - m_samples.front().time);
    m_samples.clear();
    if (span == 0)
        return false;
    m_yawSpeed = qBound(-MaxSpeed, yaw * 1000 / float(span), MaxSpeed);
    m_pitchSpeed = qBound(-MaxSpeed, pitch * 1000 / float(span), MaxSpeed);
    m_spinning = std::hypot(m_yawSpeed, m_pitchSpeed) >= StopSpeed;
    if (!m_spinning)
        stop();
    m_lastTime = timeMs;
    return m_spinning;
}

void KineticTurn::stop()
{
    m_spinning = false;
    m_yawSpeed = 0;
    m_pitchSpeed = 0;
}

KineticTurn::Step KineticTurn::step(qint64 timeMs)
{
    if (!m_spinning)
        return {};
    const qint64 dt = qBound(qint64(0), timeMs - m_lastTime, MaxStepMs);
    m_lastTime = timeMs;
    const float seconds = float(dt) / 1000;
    // Exponential slowing: the same curve whatever the frame rate.
    const float keep = std::pow(DecayPerSecond, seconds);
    const Step s{m_yawSpeed * seconds, m_pitchSpeed * seconds};
    m_yawSpeed *= keep;
    m_pitchSpeed *= keep;
    if (std::hypot(m_yawSpeed, m_pitchSpeed) < StopSpeed)
        stop();
    return s;
}
