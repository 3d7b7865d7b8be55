#include "globe/cameracontrol.h"

#include "globe/globescene.h"

namespace {
constexpr float TurnPerPixel = CameraTurnPerPixel;
// The start-up distance, in globe sizes.
constexpr float HomeDistance = 2.25f;

void set_camera_z(GlobeScene &scene, float z) { scene.Camera1.position = QVector3D(0, 0, z); }
} // namespace

void camera_mouse_down(CameraHandlerState &state, float x, float y)
{
    state.down.X = x;
    state.down.Y = y;
}

void camera_mouse_move(GlobeScene &scene, CameraHandlerState &state, bool leftButton, float x,
                       float y)
{
    if (!leftButton)
        return;
    camera_turn(scene, (x - state.down.X) * TurnPerPixel, -(y - state.down.Y) * TurnPerPixel);
    state.FYCameraAngle = scene.CameraY.rotationY();
    state.FXCameraAngle = scene.CameraX.rotationX();
    state.down.X = x;
    state.down.Y = y;
}

bool camera_turn(GlobeScene &scene, float dYaw, float dPitch)
{
    const float from = scene.CameraX.rotationX();
    const float yawBefore = scene.CameraY.rotationY();
    float p = from + dPitch;
    // The catch bands are tested before the angle is reduced into [0, 360).
    if (p > 270 && p < 300)
        p = 300;
    if (p > 60 && p < 90)
        p = 60;
    // The bands only catch a slow drag. A fast one could jump them, or carry the camera over
    // a pole and back into range upside down, so a pitch within 60 degrees of the equator is
    // followed unreduced and stopped at the limit it would pass.
    if (from <= 60 || from >= 300) {
        const float limit = from <= 60 ? 60 : 420; // 60 degrees up, unreduced
        if (p > limit)
            p = 60;
        else if (p < limit - 120)
            p = 300;
    }
    scene.CameraX.setRotationX(p);
    scene.CameraY.setRotationY(yawBefore + dYaw);
    const bool moved = scene.CameraY.rotationY() != yawBefore || scene.CameraX.rotationX() != from;
    if (moved)
        scene.notifyChanged();
    return moved;
}

void camera_mouse_wheel(GlobeScene &scene, int delta)
{
    const float before = scene.Camera1.position.z();
    const float step = float(delta) / 100;
    if (scene.Camera1.position.z() < -10 && delta > 0)
        set_camera_z(scene, scene.Camera1.position.z() + step);
    if (scene.Camera1.position.z() > -25 && delta < 0)
        set_camera_z(scene, scene.Camera1.position.z() + step);
    // Resting just beyond a bound blocks further steps that way only.
    if (scene.Camera1.position.z() < -25)
        set_camera_z(scene, -25.001f);
    if (scene.Camera1.position.z() > -10)
        set_camera_z(scene, -9.999f);
    if (scene.Camera1.position.z() != before)
        scene.notifyChanged();
}

void camera_home(GlobeScene &scene, CameraHandlerState &state)
{
    scene.CameraX.setRotationX(0);
    scene.CameraY.setRotationY(0);
    scene.Camera1.position = QVector3D(0, 0, -(scene.ClimateSphere.size.x() * HomeDistance));
    state.FXCameraAngle = 0;
    state.FYCameraAngle = 0;
    scene.notifyChanged();
}

void camera_gesture(GlobeScene &scene, CameraHandlerState &state, const GestureInfo &info,
                    bool &handled)
{
    handled = true;
    if (info.id != GestureInfo::ZoomGesture)
        return;
    if (!(info.flags & (GestureInfo::Begin | GestureInfo::End))) {
        float z = scene.Camera1.position.z() + float(info.distance - state.FLastDistance) * 0.1f;
        z = qBound(-30.0f, z, -10.0f);
        if (z != scene.Camera1.position.z()) {
            scene.Camera1.position.setZ(z);
            scene.notifyChanged();
        }
    }
    state.FLastDistance = info.distance;
}
