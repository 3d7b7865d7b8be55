#include "globe/scenenode.h"

#include <cmath>

float reduce_angle(float degrees)
{
    float r = std::fmod(degrees, 360.0f);
    if (r < 0)
        r += 360.0f;
    if (r >= 360.0f) // a tiny negative value can round up to 360
        r = 0;
    return r;
}

QMatrix4x4 SceneNode::localMatrix() const
{
    QMatrix4x4 m;
    m.translate(position);
    // Each node turns about one axis only, so the order never matters here.
    m.rotate(m_rotation.y(), 0, 1, 0);
    m.rotate(m_rotation.x(), 1, 0, 0);
    m.rotate(m_rotation.z(), 0, 0, 1);
    return m;
}

QMatrix4x4 SceneNode::worldMatrix() const
{
    return m_parent ? m_parent->worldMatrix() * localMatrix() : localMatrix();
}

QMatrix4x4 SceneNode::modelMatrix() const
{
    QMatrix4x4 m = worldMatrix();
    m.scale(size);
    return m;
}
