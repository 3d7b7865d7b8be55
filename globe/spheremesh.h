#pragma once

#include <QList>
#include <QVector2D>
#include <QVector3D>

// The UV sphere of diameter 1 shared by every globe sphere: rings from the -Y pole (image
// row 0) to the +Y pole, the seam on +X, and one vertex per segment at each pole.
class SphereMesh
{
public:
    struct Vertex
    {
        QVector3D position;
        QVector3D normal;
        QVector2D uv;
    };

    explicit SphereMesh(int segmentsAround = 32, int segmentsHigh = 24);

    const QList<Vertex> &vertices() const { return m_vertices; }
    const QList<quint16> &indices() const { return m_indices; }
    int triangleCount() const { return int(m_indices.size() / 3); }

private:
    QList<Vertex> m_vertices;
    QList<quint16> m_indices;
};
