#pragma once

#include <QtGlobal>

class GlobeScene;

// What the camera handlers remember between events.
struct CameraHandlerState
{
    struct
    {
        float X = 0;
        float Y = 0;
    } down;
    qint32 FLastDistance = 0;
    float FYCameraAngle = 0;
    float FXCameraAngle = 0;
};

// A pinch as the zoom handler sees it: the gesture's identifier, its flags and the
// distance between the two fingers in pixels.
struct GestureInfo
{
    static constexpr int ZoomGesture = 259;
    enum Flag { Begin = 1, Inertia = 2, End = 4 };
    int id = ZoomGesture;
    int flags = 0;
    qint32 distance = 0;
};

constexpr float CameraTurnPerPixel = 0.3f;

void camera_mouse_down(CameraHandlerState &state, float x, float y);
// Turns the rig by 0.3 degree per pixel while the left button is down.
void camera_mouse_move(GlobeScene &scene, CameraHandlerState &state, bool leftButton, float x,
                       float y);
// Turns the rig by the given degrees, the pitch kept out of the bands a drag cannot enter
// (it stays within [0, 60] and [300, 360) for small steps). True when anything moved.
bool camera_turn(GlobeScene &scene, float dYaw, float dPitch);
// Back to the start-up camera: no yaw or pitch, the default distance.
void camera_home(GlobeScene &scene, CameraHandlerState &state);
// Moves the camera by delta / 100, kept between about -25 and -10.
void camera_mouse_wheel(GlobeScene &scene, int delta);
// Zooms by 0.1 per pixel of change in finger distance, within -30 .. -10. Every gesture
// is marked handled.
void camera_gesture(GlobeScene &scene, CameraHandlerState &state, const GestureInfo &info,
                    bool &handled);
