#include "globe/globerenderer.h"

#include "globe/globescene.h"
#include "globe/spheremesh.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <atomic>

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#define GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT 0x84FF
#endif

namespace {
// Each dialect's words for the shaders' inputs, outputs and texture lookup; the bodies
// below are shared, so the uniforms and what they do are the same in every dialect.
const char *kModernVertexPrelude = "#version 330 core\n"
                                   "#define ATTRIBUTE in\n"
                                   "#define VARYING out\n";
const char *kModernFragmentPrelude = "#version 330 core\n"
                                     "#define VARYING in\n"
                                     "#define TEXTURE2D texture\n"
                                     "out vec4 fragColor;\n"
                                     "#define FRAG_COLOR fragColor\n";
const char *kLegacyVertexPrelude = "#version 120\n"
                                   "#define ATTRIBUTE attribute\n"
                                   "#define VARYING varying\n";
const char *kLegacyFragmentPrelude = "#version 120\n"
                                     "#define VARYING varying\n"
                                     "#define TEXTURE2D texture2D\n"
                                     "#define FRAG_COLOR gl_FragColor\n";
const char *kEsVertexPrelude = "#version 100\n"
                               "precision highp float;\n"
                               "#define ATTRIBUTE attribute\n"
                               "#define VARYING varying\n";
const char *kEsFragmentPrelude = "#version 100\n"
                                 "#extension GL_OES_standard_derivatives : enable\n"
                                 "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
                                 "precision highp float;\n"
                                 "#else\n"
                                 "precision mediump float;\n"
                                 "#endif\n"
                                 "#define VARYING varying\n"
                                 "#define TEXTURE2D texture2D\n"
                                 "#define FRAG_COLOR gl_FragColor\n";

const char *kVertexShader = R"(
ATTRIBUTE vec3 position;
ATTRIBUTE vec3 normal;
ATTRIBUTE vec2 uv;
uniform mat4 model;
uniform mat4 viewProjection;
uniform mat3 normalMatrix;
VARYING vec3 worldPosition;
VARYING vec3 worldNormal;
VARYING vec2 texCoord;
void main()
{
    vec4 w = model * vec4(position, 1.0);
    worldPosition = w.xyz;
    worldNormal = normalMatrix * normal;
    texCoord = uv;
    gl_Position = viewProjection * w;
}
)";

// Lit colour = emissive + ambient + light * diffuse * max(0, N.D)
//              + specular * max(0, N.H)^shininess, clamped, times the texel.
const char *kFragmentShader = R"(
VARYING vec3 worldPosition;
VARYING vec3 worldNormal;
VARYING vec2 texCoord;
uniform sampler2D tex;
uniform bool lit;
uniform vec3 emissive;
uniform vec3 ambient;
uniform vec3 diffuse;
uniform vec3 specular;
uniform float shininess;
uniform vec3 lightColor;
uniform vec3 towardLight;
uniform vec3 eyePosition;
uniform float opacity;
uniform bool opaque;
void main()
{
    vec4 texel = TEXTURE2D(tex, texCoord);
    // Texels are premultiplied: the opacity scales the colour with its alpha. An opaque
    // sphere shows its transparent texels as black over nothing, so grabs have no holes.
    if (!lit) {
        FRAG_COLOR = opaque ? vec4(texel.rgb, 1.0) : texel * opacity;
        return;
    }
    vec3 N = normalize(worldNormal);
    vec3 D = normalize(towardLight);
    vec3 V = normalize(eyePosition - worldPosition);
    // D + V vanishes where the light comes from straight behind the surface.
    vec3 h = D + V;
    float highlight = dot(h, h) > 1e-8 ? pow(max(0.0, dot(N, normalize(h))), shininess) : 0.0;
    vec3 c = emissive + ambient + lightColor * diffuse * max(0.0, dot(N, D))
             + specular * highlight;
    vec4 shaded = vec4(texel.rgb * clamp(c, 0.0, 1.0), texel.a) * opacity;
    FRAG_COLOR = opaque ? vec4(shaded.rgb, 1.0) : shaded;
}
)";

enum Attribute { PositionAttribute, NormalAttribute, UvAttribute };

// The newest dialect the current context compiles, within the limit.
GlobeRenderer::Dialect dialect_for(const QOpenGLContext &context, GlobeRenderer::Dialect limit)
{
    using Dialect = GlobeRenderer::Dialect;
    const QSurfaceFormat format = context.format();
    const auto version = std::make_pair(format.majorVersion(), format.minorVersion());
    if (context.isOpenGLES())
        return version >= std::make_pair(2, 0) ? qMin(limit, Dialect::Legacy) : Dialect::None;
    if (version >= std::make_pair(3, 3))
        return limit;
    return version >= std::make_pair(2, 1) ? qMin(limit, Dialect::Legacy) : Dialect::None;
}

QString first_line(const QString &log)
{
    const QStringList lines = log.trimmed().split(QLatin1Char('\n'));
    return lines.isEmpty() ? QString() : lines.first().trimmed();
}

std::atomic<int> known_max_texture_size{0};

QVector3D rgb(const QColor &c) { return QVector3D(c.redF(), c.greenF(), c.blueF()); }
} // namespace

QSurfaceFormat globe_surface_format()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setSamples(4);
    return format;
}

GlobeRenderer::GlobeRenderer() = default;

int GlobeRenderer::knownMaxTextureSize() { return known_max_texture_size.load(); }

bool GlobeRenderer::fitsKnownMaxTextureSize(QSize size)
{
    const int limit = knownMaxTextureSize();
    return limit == 0 || (size.width() <= limit && size.height() <= limit);
}

QString GlobeRenderer::noOpenGlText()
{
    return QStringLiteral("This display offers no OpenGL 3.3; the globe cannot be drawn.");
}
GlobeRenderer::~GlobeRenderer() = default;

void GlobeRenderer::initialize()
{
    initializeOpenGLFunctions();
    m_problem.clear();
    const QOpenGLContext *context = QOpenGLContext::currentContext();
    m_dialect = dialect_for(*context, m_dialectLimit);
    if (m_dialect == Dialect::None) {
        m_problem = noOpenGlText();
        return;
    }
    m_es2 = context->isOpenGLES() && context->format().majorVersion() < 3;
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    m_maxTextureSize = maxTextureSize;
    int known = known_max_texture_size.load();
    while ((known == 0 || maxTextureSize < known) &&
           !known_max_texture_size.compare_exchange_weak(known, maxTextureSize)) {
    }
    // Anisotropic filtering is nearly free on a GPU but doubles the frame time of a software
    // rasteriser, where the globe must still turn smoothly.
    const auto *name = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    const QByteArray renderer = QByteArray(name ? name : "").toLower();
    const bool software = renderer.contains("llvmpipe") || renderer.contains("softpipe") ||
                          renderer.contains("swiftshader") || renderer.contains("software");
    if (!software && (context->hasExtension("GL_EXT_texture_filter_anisotropic") ||
                      context->hasExtension("GL_ARB_texture_filter_anisotropic"))) {
        GLfloat maximum = 1;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
        m_anisotropy = qMin(maximum, 16.0f);
    }
    if (!buildProgram(m_dialect, context->isOpenGLES())) {
        m_dialect = Dialect::None;
        return;
    }

    const SphereMesh mesh;
    // Core profiles need a vertex array object; OpenGL ES 2 may have none, and then the
    // attributes are set up at each frame anyway.
    m_vao.create();
    m_vertexBuffer.create();
    m_vertexBuffer.bind();
    m_vertexBuffer.allocate(mesh.vertices().constData(),
                            int(mesh.vertices().size() * sizeof(SphereMesh::Vertex)));
    m_vertexBuffer.release();
    m_indexBuffer.create();
    m_indexBuffer.bind();
    m_indexBuffer.allocate(mesh.indices().constData(),
                           int(mesh.indices().size() * sizeof(quint16)));
    m_indexBuffer.release();
    m_indexCount = int(mesh.indices().size());
    m_initialized = true;
}

bool GlobeRenderer::buildProgram(Dialect dialect, bool es)
{
    QByteArray vertex = dialect == Dialect::Modern ? kModernVertexPrelude
                        : es                       ? kEsVertexPrelude
                                                   : kLegacyVertexPrelude;
    QByteArray fragment = dialect == Dialect::Modern ? kModernFragmentPrelude
                          : es                       ? kEsFragmentPrelude
                                                     : kLegacyFragmentPrelude;
    vertex += kVertexShader;
    fragment += kFragmentShader;
    if (m_sourceFilter)
        m_sourceFilter(vertex, fragment);
    m_program = std::make_unique<QOpenGLShaderProgram>();
    m_program->bindAttributeLocation("position", PositionAttribute);
    m_program->bindAttributeLocation("normal", NormalAttribute);
    m_program->bindAttributeLocation("uv", UvAttribute);
    if (m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
        m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && m_program->link())
        return true;
    m_problem = QStringLiteral("The globe cannot be drawn: %1").arg(first_line(m_program->log()));
    m_program.reset();
    return false;
}

void GlobeRenderer::cleanup()
{
    if (!m_initialized)
        return;
    for (auto &entry : m_textures)
        glDeleteTextures(1, &entry.second.id);
    m_textures.clear();
    m_vertexBuffer.destroy();
    m_indexBuffer.destroy();
    m_vao.destroy();
    m_program.reset();
    m_initialized = false;
}

GLuint GlobeRenderer::textureFor(const SceneTexture &texture, FrameReport &report)
{
    GpuTexture &gpu = m_textures[&texture];
    if (gpu.generation == texture.generation())
        return gpu.valid ? gpu.id : 0;
    gpu.generation = texture.generation();
    const QImage &image = texture.image();
    // The GL would refuse it too, and leave the texture undefined.
    if (image.width() > m_maxTextureSize || image.height() > m_maxTextureSize) {
        report.refusedTextures.append(image.size());
        return gpu.valid ? gpu.id : 0;
    }
    gpu.valid = !image.isNull();
    if (!gpu.valid)
        return 0;
    if (!gpu.id)
        glGenTextures(1, &gpu.id);
    glBindTexture(GL_TEXTURE_2D, gpu.id);
    // Premultiplied RGBA: the GL takes it without a per-texel swizzle, and mipmaps of
    // sparse lights on transparent black keep their colour.
    const QImage rgba = image.format() == QImage::Format_RGBA8888_Premultiplied
                            ? image
                            : image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // OpenGL ES 2 wants the internal format named as the data's.
    glTexImage2D(GL_TEXTURE_2D, 0, m_es2 ? GL_RGBA : GL_RGBA8, rgba.width(), rgba.height(), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, rgba.constBits());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Keeps the foreshortened texels near the limb sharp (small city lights included).
    if (m_anisotropy > 1)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, m_anisotropy);
    return gpu.id;
}

void GlobeRenderer::drawSphere(const GlobeScene &scene, const SceneNode &node,
                               const Material &material, const QMatrix4x4 &viewProjection,
                               bool opaque, FrameReport &report)
{
    // Until a map arrives the climate sphere shows the earth image, unlit.
    const SceneTexture *texture = material.texture;
    if (!texture || texture->image().isNull())
        texture = &scene.earthTexture;
    const GLuint id = textureFor(*texture, report);
    if (!id)
        return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);

    const QMatrix4x4 model = node.modelMatrix();
    m_program->setUniformValue("model", model);
    m_program->setUniformValue("viewProjection", viewProjection);
    m_program->setUniformValue("normalMatrix", model.normalMatrix());
    m_program->setUniformValue("tex", 0);
    m_program->setUniformValue("lit", material.lit);
    m_program->setUniformValue("emissive", rgb(material.emissive));
    m_program->setUniformValue("ambient", rgb(material.ambient));
    m_program->setUniformValue("diffuse", rgb(material.diffuse));
    m_program->setUniformValue("specular", rgb(material.specular));
    m_program->setUniformValue("shininess", material.shininess);
    m_program->setUniformValue("lightColor", rgb(scene.lightColor));
    m_program->setUniformValue("towardLight", -scene.lightDirection());
    m_program->setUniformValue("eyePosition", scene.cameraPosition());
    m_program->setUniformValue("opacity", node.opacity);
    m_program->setUniformValue("opaque", opaque);
    glDrawElements(GL_TRIANGLES, m_indexCount, GL_UNSIGNED_SHORT, nullptr);
}

GlobeRenderer::FrameReport GlobeRenderer::render(const GlobeScene &scene, int width, int height)
{
    FrameReport report;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_initialized || width <= 0 || height <= 0)
        return report;

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);

    const QMatrix4x4 viewProjection =
        scene.projectionMatrix(float(width) / float(height)) * scene.viewMatrix();
    m_program->bind();
    QOpenGLVertexArrayObject::Binder binder(&m_vao);
    m_vertexBuffer.bind();
    m_indexBuffer.bind();
    const int stride = sizeof(SphereMesh::Vertex);
    auto attribute = [&](Attribute location, int size, size_t offset) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void *>(offset));
    };
    attribute(PositionAttribute, 3, offsetof(SphereMesh::Vertex, position));
    attribute(NormalAttribute, 3, offsetof(SphereMesh::Vertex, normal));
    attribute(UvAttribute, 2, offsetof(SphereMesh::Vertex, uv));

    // Opaque spheres first, then the translucent night sphere blended over them.
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    if (scene.EarthSphere.visible)
        drawSphere(scene, scene.EarthSphere, scene.EarthMaterialSource, viewProjection, true,
                   report);
    if (scene.ClimateSphere.visible)
        drawSphere(scene, scene.ClimateSphere, scene.ClimateMaterial, viewProjection, true, report);
    if (scene.NightSphere.visible) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        drawSphere(scene, scene.NightSphere, scene.NightLightSource, viewProjection, false, report);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
    m_vertexBuffer.release();
    m_program->release();
    return report;
}
