#pragma once

#include "core/globetypes.h"
#include "globe/scenenode.h"

#include <QColor>
#include <QImage>

#include <functional>
#include <optional>
#include <utility>

// Image columns [begin, end), over the full height.
struct ColumnSpan
{
    int begin = 0;
    int end = 0;
    bool operator==(const ColumnSpan &) const = default;
};

// A texture image with a generation count, so the renderer uploads only what changed.
class SceneTexture
{
public:
    const QImage &image() const { return m_image; }
    quint64 generation() const { return m_generation; }
    void setImage(QImage image);
    // For in-place edits of image(): call after the pixels changed.
    QImage &edit() { return m_image; }
    void markChanged();
    // For in-place edits that touched these columns alone (none is fine): the renderer
    // then uploads only them.
    void markColumnsChanged(const QList<ColumnSpan> &columns);
    // The columns changed after `generation`, when every change since was marked by
    // column; nothing otherwise (then the whole image counts as changed).
    std::optional<QList<ColumnSpan>> columnsChangedSince(quint64 generation) const;

private:
    QImage m_image;
    quint64 m_generation = 0;
    // The latest column edits, oldest first, back to the last whole change.
    QList<std::pair<quint64, QList<ColumnSpan>>> m_columnEdits;
};

struct Material
{
    // How the sun of a true terminator shows on the sphere, when the scene has one.
    enum class SunShading {
        None,      // by the scene's light, as without a sun
        Daylight,  // lit by the sun's height, with a twilight band
        NightOnly, // seen only where the sun is down, faded in through the twilight
    };

    bool lit = true;
    QColor diffuse;
    QColor ambient;
    QColor emissive;
    QColor specular;
    float shininess = 0;
    SceneTexture *texture = nullptr;
    SunShading sunShading = SunShading::None;
};

// The globe's scene state, free of any GL: three concentric spheres, the camera rig
// CameraY > CameraX > Camera1 and one directional light.
class GlobeScene
{
public:
    GlobeScene();
    GlobeScene(const GlobeScene &) = delete;
    GlobeScene &operator=(const GlobeScene &) = delete;

    SceneNode NightSphere;
    SceneNode EarthSphere;
    SceneNode CameraY;
    SceneNode CameraX{&CameraY};
    SceneNode Camera1{&CameraX};
    SceneNode Light1;
    SceneNode ClimateSphere;

    SceneTexture earthTexture;
    SceneTexture nightTexture;
    SceneTexture climateTexture;

    // The columns the terminator update cleared in nightTexture, so the next update
    // restores and clears only what moved. Holds while nightTexture is at `generation`
    // and was cut from the pristine image `sourceKey` (its QImage::cacheKey()).
    struct NightCut
    {
        quint64 generation = ~quint64(0);
        qint64 sourceKey = 0;
        QList<ColumnSpan> columns;
    } nightCut;

    Material EarthMaterialSource;
    Material NightLightSource;
    Material ClimateMaterial;

    // Toward the sun, a unit vector in the frame of the earth and night spheres, when
    // Day/Night shows the true terminator; none for the fixed band.
    std::optional<QVector3D> sunDirection;

    float viewAngle = 45; // vertical, degrees
    QColor lightColor = Qt::white;

    // Scene frame to OpenGL eye space: a 180-degree turn about X, so nothing is mirrored.
    QMatrix4x4 viewMatrix() const;
    QMatrix4x4 projectionMatrix(float aspect) const;
    // Where the light travels, in the scene frame; +Z at rest.
    QVector3D lightDirection() const;
    QVector3D cameraPosition() const;

    // Called after any change that should reach the screen.
    std::function<void()> changed;
    void notifyChanged() const
    {
        if (changed)
            changed();
    }
};

// Shows the spheres of one view: the climate sphere for a map view, the earth and night
// spheres for Day/Night (with the climate sphere turned along), none for anything else.
// Notifies only when a sphere's visibility changed; answers whether the kind names a view.
bool apply_view_visibility(GlobeScene &scene, ViewKind kind);
