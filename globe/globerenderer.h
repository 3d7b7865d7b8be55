#pragma once

#include <QOpenGLBuffer>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>

#include <map>
#include <memory>

class QSurfaceFormat;
class GlobeScene;

// OpenGL 3.3 core with a depth buffer and multisampling, for the globe.
QSurfaceFormat globe_surface_format();
class SceneNode;
struct Material;
class SceneTexture;

// Draws a GlobeScene with the current GL context. Made and used only while that context
// is current.
class GlobeRenderer : protected QOpenGLExtraFunctions
{
public:
    GlobeRenderer();
    ~GlobeRenderer();

    void initialize();
    void render(const GlobeScene &scene, int width, int height);
    // Frees the GL objects; the context must be current.
    void cleanup();

private:
    struct GpuTexture
    {
        GLuint id = 0;
        quint64 generation = ~quint64(0);
        bool valid = false;
    };

    void drawSphere(const GlobeScene &scene, const SceneNode &node, const Material &material,
                    const QMatrix4x4 &viewProjection);
    GLuint textureFor(const SceneTexture &texture);

    std::unique_ptr<QOpenGLShaderProgram> m_program;
    QOpenGLVertexArrayObject m_vao;
    QOpenGLBuffer m_vertexBuffer{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_indexBuffer{QOpenGLBuffer::IndexBuffer};
    int m_indexCount = 0;
    std::map<const SceneTexture *, GpuTexture> m_textures;
    bool m_initialized = false;
    float m_anisotropy = 1;
};
