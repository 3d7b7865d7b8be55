#pragma once

#include <QtGlobal>

#include <deque>

// The spin a drag leaves behind: it remembers the last moments of a drag, and after a release
// while still moving it hands out turns that slow to a stop within about a second. Times are
// milliseconds from any steady clock; angles are degrees.
class KineticTurn
{
public:
    // Only this much of the drag's end decides the speed, so a pause before the release
    // leaves nothing behind.
    static constexpr qint64 SampleWindowMs = 100;
    static constexpr float MaxSpeed = 720;          // degrees per second
    static constexpr float StopSpeed = 6;           // slower than this is still
    static constexpr float DecayPerSecond = 0.005f; // the speed left after one second
    // A stalled frame must not jump across a pitch band: 720 x 0.032 stays under 30 degrees.
    static constexpr qint64 MaxStepMs = 32;

    // A press: any spin stops at once and a new drag starts.
    void press(qint64 timeMs);
    void move(float dYaw, float dPitch, qint64 timeMs);
    // Starts spinning when the drag was still moving; answers whether it did.
    bool release(qint64 timeMs);
    void stop();

    bool isSpinning() const { return m_spinning; }
    float yawSpeed() const { return m_yawSpeed; }
    float pitchSpeed() const { return m_pitchSpeed; }

    struct Step
    {
        float dYaw = 0;
        float dPitch = 0;
    };
    // The turn for the time since the previous step (or the release), slowing down; the
    // last one leaves isSpinning() false.
    Step step(qint64 timeMs);

private:
    struct Sample
    {
        float dYaw;
        float dPitch;
        qint64 time;
    };
    void forgetBefore(qint64 timeMs);

    std::deque<Sample> m_samples;
    qint64 m_lastTime = 0;
    float m_yawSpeed = 0;
    float m_pitchSpeed = 0;
    bool m_spinning = false;
};
