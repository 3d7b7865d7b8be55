#pragma once

#include <QByteArray>
#include <QMatrix4x4>
#include <QOpenGLBuffer>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVector3D>

#include <functional>
#include <map>
#include <memory>

class QSurfaceFormat;
class GlobeScene;

// OpenGL 3.3 core with a depth buffer, the default for every window and globe view. No
// multisampling: the renderer smooths the globe's edge itself, and a software rasteriser
// pays for samples in every pixel.
QSurfaceFormat globe_surface_format();
class SceneNode;
struct Material;
class SceneTexture;
struct ColumnSpan;

// Draws a GlobeScene with the current GL context. Made and used only while that context
// is current.
class GlobeRenderer : protected QOpenGLExtraFunctions
{
public:
    // The shading languages the renderer has its shaders in, oldest first.
    enum class Dialect {
        None,   // no usable OpenGL: nothing is drawn
        Legacy, // GLSL 1.20 on OpenGL 2.1, GLSL ES 1.00 on OpenGL ES 2
        Modern, // GLSL 3.30 on OpenGL 3.3
    };

    GlobeRenderer();
    ~GlobeRenderer();

    // What the user reads where the globe would be when no usable OpenGL was found.
    static QString noOpenGlText();

    // The newest dialect initialize() may pick; lower it for a driver whose newer compiler
    // misbehaves. Takes effect at the next initialize().
    void setDialectLimit(Dialect limit) { m_dialectLimit = limit; }
    // Applied to both shader sources before they compile, for driver workarounds.
    using SourceFilter = std::function<void(QByteArray &vertex, QByteArray &fragment)>;
    void setSourceFilter(SourceFilter filter) { m_sourceFilter = std::move(filter); }

    void initialize();
    // The dialect initialize() chose; None when the globe cannot be drawn.
    Dialect dialect() const { return m_dialect; }
    // Why the globe cannot be drawn, in a sentence for the user; empty when it can.
    QString problem() const { return m_problem; }
    // The largest texture side the context takes, known after initialize(); 0 before.
    int maxTextureSize() const { return m_maxTextureSize; }
    // The smallest such limit any renderer of this process has found, 0 until one has:
    // images larger than it are best refused before they reach the scene.
    static int knownMaxTextureSize();
    // Whether an image of that size can become a texture, as far as is known yet.
    static bool fitsKnownMaxTextureSize(QSize size);

    struct FrameReport
    {
        // Images too large for the GL, in the order met; their spheres keep the texture
        // they had. Reported once per image.
        QList<QSize> refusedTextures;
    };
    FrameReport render(const GlobeScene &scene, int width, int height);
    // Frees the GL objects; the context must be current.
    void cleanup();

private:
    struct GpuTexture
    {
        GLuint id = 0;
        quint64 generation = ~quint64(0);
        bool valid = false;
        QSize size;
        GLenum layout = 0; // of the uploaded bytes: GL_RGBA or GL_BGRA
        // Levels 1 and up as uploaded, kept for images edited by column, so a few changed
        // columns update every level without the whole chain being rebuilt.
        QList<QImage> mipmaps;
    };

    // What every sphere of one frame shares.
    struct Frame
    {
        QMatrix4x4 viewProjection;
        QMatrix4x4 inverseViewProjection;
        QSizeF pixelSize; // in normalised device coordinates
        QVector3D eye;
        QVector3D towardLight;
    };
    struct Uniforms
    {
        int rect = -1, inverseViewProjection = -1, inverseModel = -1, objectEye = -1;
        int model = -1, normalMatrix = -1, tex = -1, lit = -1, emissive = -1, ambient = -1;
        int diffuse = -1, specular = -1, shininess = -1, lightColor = -1, towardLight = -1;
        int eyePosition = -1, opacity = -1, opaque = -1, sunShading = -1, sunDirection = -1;
    };

    bool buildProgram(Dialect dialect, bool es);
    void drawSphere(const GlobeScene &scene, const SceneNode &node, const Material &material,
                    const Frame &frame, bool opaque, FrameReport &report);
    GLuint textureFor(const SceneTexture &texture, FrameReport &report);
    void uploadWhole(GpuTexture &gpu, const QImage &image, GLenum layout, bool keepMipmaps);
    void uploadColumns(GpuTexture &gpu, const QImage &image, const QList<ColumnSpan> &columns);
    void uploadLevel(int level, const QImage &image, GLenum layout, ColumnSpan columns);

    Dialect m_dialectLimit = Dialect::Modern;
    SourceFilter m_sourceFilter;
    Dialect m_dialect = Dialect::None;
    QString m_problem;
    bool m_es2 = false;
    int m_maxTextureSize = 0;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    QOpenGLVertexArrayObject m_vao;
    QOpenGLBuffer m_vertexBuffer{QOpenGLBuffer::VertexBuffer};
    Uniforms m_uniforms;
    std::map<const SceneTexture *, GpuTexture> m_textures;
    bool m_initialized = false;
    float m_anisotropy = 1;
};
