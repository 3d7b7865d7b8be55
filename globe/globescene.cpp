#include "globe/globescene.h"

void SceneTexture::setImage(QImage image)
{
    m_image = std::move(image);
    markChanged();
}

void SceneTexture::markChanged()
{
    ++m_generation;
    m_columnEdits.clear();
}

void SceneTexture::markColumnsChanged(const QList<ColumnSpan> &columns)
{
    ++m_generation;
    m_columnEdits.append({m_generation, columns});
    // A renderer further behind than this uploads the whole image, as after markChanged.
    if (m_columnEdits.size() > 32)
        m_columnEdits.removeFirst();
}

std::optional<QList<ColumnSpan>> SceneTexture::columnsChangedSince(quint64 generation) const
{
    if (generation == m_generation)
        return QList<ColumnSpan>();
    if (generation > m_generation || m_columnEdits.isEmpty() ||
        m_columnEdits.first().first > generation + 1)
        return std::nullopt;
    QList<ColumnSpan> columns;
    for (const auto &[edit, spans] : m_columnEdits)
        if (edit > generation)
            columns += spans;
    return columns;
}

GlobeScene::GlobeScene()
{
    NightSphere.size = QVector3D(10.1f, 10.1f, 10.1f);
    NightSphere.opacity = 0.8f;
    EarthSphere.size = QVector3D(10, 10, 10);
    ClimateSphere.size = QVector3D(10, 10, 10);
    Camera1.position = QVector3D(0, 0, -15);
    Light1.position = QVector3D(0, 0, -10);

    EarthMaterialSource = {true,
                           QColor(0xFF, 0xFF, 0xFF),
                           QColor(0x2B, 0x2B, 0x2B),
                           QColor(0x15, 0x15, 0x15),
                           QColor(0x60, 0x60, 0x60),
                           30,
                           &earthTexture,
                           Material::SunShading::Daylight};
    NightLightSource = {true,
                        QColor(0xFF, 0xFF, 0xFF),
                        QColor(0xFF, 0xFF, 0xFF),
                        QColor(0xFF, 0xFF, 0xFF),
                        QColor(0x60, 0x60, 0x60),
                        30,
                        &nightTexture,
                        Material::SunShading::NightOnly};
    ClimateMaterial.lit = false;
    ClimateMaterial.texture = &climateTexture;
}

QMatrix4x4 GlobeScene::viewMatrix() const
{
    QMatrix4x4 e;
    e.scale(1, -1, -1);
    return e * Camera1.worldMatrix().inverted();
}

QMatrix4x4 GlobeScene::projectionMatrix(float aspect) const
{
    QMatrix4x4 p;
    p.perspective(viewAngle, aspect, 1.0f, 100.0f);
    return p;
}

QVector3D GlobeScene::lightDirection() const
{
    return Light1.worldMatrix().mapVector(QVector3D(0, 0, 1)).normalized();
}

QVector3D GlobeScene::cameraPosition() const { return Camera1.worldMatrix().map(QVector3D()); }

bool apply_view_visibility(GlobeScene &scene, ViewKind kind)
{
    const bool map = View::isMap(kind);
    const bool dayNight = kind == View::DayNight;
    const bool changed = scene.ClimateSphere.visible != map ||
                         scene.EarthSphere.visible != dayNight ||
                         scene.NightSphere.visible != dayNight;
    scene.ClimateSphere.visible = map;
    scene.EarthSphere.visible = dayNight;
    scene.NightSphere.visible = dayNight;
    if (dayNight)
        scene.ClimateSphere.setRotationY(scene.EarthSphere.rotationY());
    if (changed)
        scene.notifyChanged();
    return map || dayNight;
}
