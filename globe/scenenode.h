#pragma once

#include <QMatrix4x4>
#include <QVector3D>

// Angles are degrees and are kept reduced into [0, 360) after every change.
float reduce_angle(float degrees);

// One object of the globe scene, in the scene's own frame: +X right, +Y down the screen,
// +Z away from the viewer. Points are scaled, rotated, moved, then taken by the parent.
class SceneNode
{
public:
    explicit SceneNode(SceneNode *parent = nullptr)
        : m_parent(parent)
    {}

    QVector3D position;
    QVector3D size{1, 1, 1};
    bool visible = true;
    float opacity = 1;

    float rotationX() const { return m_rotation.x(); }
    float rotationY() const { return m_rotation.y(); }
    float rotationZ() const { return m_rotation.z(); }
    void setRotationX(float degrees) { m_rotation.setX(reduce_angle(degrees)); }
    void setRotationY(float degrees) { m_rotation.setY(reduce_angle(degrees)); }
    void setRotationZ(float degrees) { m_rotation.setZ(reduce_angle(degrees)); }

    SceneNode *parent() const { return m_parent; }

    // Rotation and translation only: size scales a mesh, not its children.
    QMatrix4x4 localMatrix() const;
    QMatrix4x4 worldMatrix() const;
    // The world matrix with the node's own size applied, for drawing its mesh.
    QMatrix4x4 modelMatrix() const;

private:
    SceneNode *m_parent;
    QVector3D m_rotation;
};
