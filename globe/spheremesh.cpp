#include "globe/spheremesh.h"

#include <QtMath>

SphereMesh::SphereMesh(int A, int H)
{
    auto ringVertex = [](double theta, double phi, float u, float v) {
        const double t = qDegreesToRadians(theta);
        const double p = qDegreesToRadians(phi);
        const QVector3D n(float(std::cos(t) * std::cos(p)), float(std::sin(t)),
                          float(std::cos(t) * std::sin(p)));
        return Vertex{n * 0.5f, n.normalized(), QVector2D(u, v)};
    };

    // Index of vertex (ring i, column k); the poles have one vertex per segment.
    QList<int> ringStart(H + 1);
    for (int i = 0; i <= H; ++i) {
        ringStart[i] = int(m_vertices.size());
        const double theta = -90.0 + 180.0 * i / H;
        const bool pole = i == 0 || i == H;
        const int columns = pole ? A : A + 1;
        for (int k = 0; k < columns; ++k) {
            const float u = pole ? (k + 0.5f) / A : float(k) / A;
            const double phi = 360.0 * (pole ? k + 0.5 : k) / A;
            m_vertices.append(ringVertex(theta, phi, u, float(i) / H));
        }
    }
    // Poles sit exactly on the axis whatever the longitude of their segment.
    for (int k = 0; k < A; ++k) {
        m_vertices[ringStart[0] + k].position = QVector3D(0, -0.5f, 0);
        m_vertices[ringStart[0] + k].normal = QVector3D(0, -1, 0);
        m_vertices[ringStart[H] + k].position = QVector3D(0, 0.5f, 0);
        m_vertices[ringStart[H] + k].normal = QVector3D(0, 1, 0);
    }

    auto index = [&](int i, int k) { return quint16(ringStart[i] + k); };
    // With a = (i, k), b = (i, k+1), c = (i+1, k), d = (i+1, k+1) the triangles (a, c, b)
    // and (b, c, d) face outward.
    for (int i = 0; i < H; ++i) {
        for (int k = 0; k < A; ++k) {
            if (i == 0) {
                m_indices << index(0, k) << index(1, k) << index(1, k + 1);
            } else if (i == H - 1) {
                m_indices << index(i, k) << index(H, k) << index(i, k + 1);
            } else {
                m_indices << index(i, k) << index(i + 1, k) << index(i, k + 1);
                m_indices << index(i, k + 1) << index(i + 1, k) << index(i + 1, k + 1);
            }
        }
    }
}
