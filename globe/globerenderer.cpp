#include "globe/globerenderer.h"

#include "globe/globescene.h"

#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <atomic>
#include <cmath>
#include <cstring>
#include <optional>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif
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

// Each sphere is ray cast on a screen rectangle around it rather than drawn as a mesh: the
// limb is round at every zoom, and its last pixel fades by coverage, so the edge is smooth
// without multisampling (which a software rasteriser pays for in every pixel).
// corner runs over the unit square; rect is the sphere's bounding box in normalised device
// coordinates. The ray through each corner is found in the object's frame, where the
// sphere is the mesh's: diameter 1 about the origin.
const char *kVertexShader = R"(
ATTRIBUTE vec2 corner;
uniform vec4 rect;
uniform mat4 inverseViewProjection;
uniform mat4 inverseModel;
VARYING vec3 rayDirection;
void main()
{
    vec2 ndc = mix(rect.xy, rect.zw, corner);
    vec4 nearPoint = inverseViewProjection * vec4(ndc, -1.0, 1.0);
    vec4 farPoint = inverseViewProjection * vec4(ndc, 1.0, 1.0);
    // Linear across the screen, so interpolating it gives each pixel's ray.
    vec3 world = farPoint.xyz / farPoint.w - nearPoint.xyz / nearPoint.w;
    rayDirection = (inverseModel * vec4(world, 0.0)).xyz;
    gl_Position = vec4(ndc, 0.0, 1.0);
}
)";

// Lit colour = emissive + ambient + light * diffuse * max(0, N.D)
//              + specular * max(0, N.H)^shininess, clamped, times the texel.
// With a true sun (sunShading 1 or 2) D is the sun in the object's frame, where the sphere's
// normal gives the sun's height; civil twilight runs to 6 degrees below the horizon, where
// a little light still reaches the ground and the city lights come on.
const char *kFragmentShader = R"(
VARYING vec3 rayDirection;
uniform vec3 objectEye;
uniform mat4 model;
uniform mat3 normalMatrix;
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
uniform int sunShading; // 0 none, 1 daylight, 2 night only
uniform vec3 sunDirection;
const float sinTwilight = -0.104528; // sin(-6 degrees)
const float twilightGlow = 0.15;
void main()
{
    vec3 d = rayDirection;
    float a = dot(d, d);
    float b = dot(objectEye, d);
    vec3 closest = objectEye - (b / a) * d;
    // The ray's distance from the centre is 0.5 on the limb; one pixel's worth of it
    // fades the edge.
    float h = length(closest);
    float coverage = clamp((0.5 - h) / max(fwidth(h), 1e-6) + 0.5, 0.0, 1.0);
    float disc = b * b - a * (dot(objectEye, objectEye) - 0.25);
    // Rays that pass just outside take the limb's colour.
    vec3 p = disc >= 0.0 ? objectEye + ((-b - sqrt(disc)) / a) * d : closest * (0.5 / h);
    vec3 n = 2.0 * p;
    // The mesh's mapping: v from the -Y pole (row 0), u from +X toward +Z. u wraps at two
    // places 180 degrees apart; each pixel block takes the one without a jump, so the
    // texture's level of detail never sees one. Pixels of one block may judge apart (some
    // GLs difference each row on its own), and a block that mixes u1 and u2 jumps by a
    // whole turn; so u1 wraps on the meridian behind the sphere, hidden unless the view
    // looks down past a pole. Whole turns sample the same texels: s repeats.
    float c = atan(objectEye.z, objectEye.x) * 0.15915494;
    float u1 = c + fract(atan(n.z, n.x) * 0.15915494 - c + 0.5) - 0.5;
    float u2 = c + fract(u1 - c);
    float u = fwidth(u1) - 0.25 > fwidth(u2) ? u2 : u1;
    float v = asin(clamp(n.y, -1.0, 1.0)) * 0.31830989 + 0.5;
    vec4 texel = TEXTURE2D(tex, vec2(u, v));
    // Texels are premultiplied: the opacity scales the colour with its alpha. An opaque
    // sphere shows its transparent texels as black over nothing, so grabs have no holes.
    vec4 shaded = texel * opacity;
    // 0 where the sun is 6 degrees or more below the horizon, 1 from sunrise on.
    float daylight = smoothstep(sinTwilight, 0.0, dot(normalize(n), sunDirection));
    if (sunShading == 2)
        shaded *= 1.0 - daylight;
    if (lit) {
        vec3 N;
        vec3 D;
        vec3 V;
        if (sunShading == 1) {
            // The spheres turn and scale alike on every axis, so angles in the object's
            // frame are those in the world.
            N = normalize(n);
            D = sunDirection;
            V = normalize(objectEye - p);
        } else {
            vec3 worldPosition = (model * vec4(p, 1.0)).xyz;
            N = normalize(normalMatrix * n);
            D = normalize(towardLight);
            V = normalize(eyePosition - worldPosition);
        }
        // D + V vanishes where the light comes from straight behind the surface.
        vec3 H = D + V;
        float highlight =
            dot(H, H) > 1e-8 ? pow(max(0.0, dot(N, normalize(H))), shininess) : 0.0;
        float direct = max(0.0, dot(N, D));
        if (sunShading == 1)
            direct += twilightGlow * daylight;
        vec3 c = emissive + ambient + lightColor * diffuse * direct + specular * highlight;
        shaded = vec4(texel.rgb * clamp(c, 0.0, 1.0), texel.a) * opacity;
    }
    if (coverage <= 0.0)
        discard;
    // Opaque spheres are drawn without blending over the black background.
    FRAG_COLOR = opaque ? vec4(shaded.rgb * coverage, 1.0) : shaded * coverage;
}
)";

const GLuint kCornerAttribute = 0;

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

bool is_software(const char *rendererName)
{
    const QByteArray name = QByteArray(rendererName ? rendererName : "").toLower();
    return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("swiftshader") ||
           name.contains("software");
}

// Whether Qt's 32-bit pixels (B, G, R, A in memory on little-endian machines) are already
// premultiplied: by their format, or because every texel is opaque.
bool premultiplied_bgra(const QImage &image)
{
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian)
        return false;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    case QImage::Format_ARGB32:
        for (int y = 0; y < image.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(row[x]) != 255)
                    return false;
        }
        return true;
    default:
        return false;
    }
}

// The sphere's box in normalised device coordinates, with two pixels to spare for the
// faded edge, clipped to the screen; the whole screen when the eye is at or inside it.
QRectF screen_rect(const QMatrix4x4 &model, const QMatrix4x4 &viewProjection, QVector3D eye,
                   QSizeF pixel)
{
    const QRectF screen(-1, -1, 2, 2);
    const QVector3D centre = model.map(QVector3D());
    const float radius = 0.5f * qMax(model.mapVector(QVector3D(1, 0, 0)).length(),
                                     qMax(model.mapVector(QVector3D(0, 1, 0)).length(),
                                          model.mapVector(QVector3D(0, 0, 1)).length()));
    const QVector3D toCentre = centre - eye;
    const float distance = toCentre.length();
    if (distance <= radius * 1.001f)
        return screen;
    // The cone of rays touching the sphere crosses the plane through its centre, square to
    // the line of sight, in a circle of this radius; a square around it covers the sphere.
    const float half = distance * radius / std::sqrt(distance * distance - radius * radius);
    const QVector3D forward = toCentre / distance;
    QVector3D side = QVector3D::crossProduct(forward, QVector3D(0, 1, 0));
    if (side.length() < 1e-3f)
        side = QVector3D::crossProduct(forward, QVector3D(1, 0, 0));
    side.normalize();
    const QVector3D up = QVector3D::crossProduct(side, forward);
    qreal x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const float sx : {-1.0f, 1.0f}) {
        for (const float sy : {-1.0f, 1.0f}) {
            const QVector4D clip =
                viewProjection * QVector4D(centre + half * (sx * side + sy * up), 1);
            if (clip.w() <= 1e-6f)
                return screen;
            x0 = qMin(x0, qreal(clip.x() / clip.w()));
            x1 = qMax(x1, qreal(clip.x() / clip.w()));
            y0 = qMin(y0, qreal(clip.y() / clip.w()));
            y1 = qMax(y1, qreal(clip.y() / clip.w()));
        }
    }
    const qreal mx = 2 * pixel.width(), my = 2 * pixel.height();
    return QRectF(QPointF(x0 - mx, y0 - my), QPointF(x1 + mx, y1 + my)).intersected(screen);
}

QVector3D rgb(const QColor &c) { return QVector3D(c.redF(), c.greenF(), c.blueF()); }
} // namespace

QSurfaceFormat globe_surface_format()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
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
    const bool software = is_software(reinterpret_cast<const char *>(glGetString(GL_RENDERER)));
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

    // Core profiles need a vertex array object; OpenGL ES 2 may have none, and then the
    // attribute is set up at each frame anyway.
    m_vao.create();
    const GLfloat corners[] = {0, 0, 1, 0, 0, 1, 1, 1};
    m_vertexBuffer.create();
    m_vertexBuffer.bind();
    m_vertexBuffer.allocate(corners, int(sizeof corners));
    m_vertexBuffer.release();
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
    m_program->bindAttributeLocation("corner", kCornerAttribute);
    if (m_program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
        m_program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) &&
        m_program->link()) {
        // Looked up once: by name they cost a string search per uniform and sphere.
        auto location = [this](const char *name) { return m_program->uniformLocation(name); };
        m_uniforms = {location("rect"),         location("inverseViewProjection"),
                      location("inverseModel"), location("objectEye"),
                      location("model"),        location("normalMatrix"),
                      location("tex"),          location("lit"),
                      location("emissive"),     location("ambient"),
                      location("diffuse"),      location("specular"),
                      location("shininess"),    location("lightColor"),
                      location("towardLight"),  location("eyePosition"),
                      location("opacity"),      location("opaque"),
                      location("sunShading"),   location("sunDirection")};
        return true;
    }
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
    m_vao.destroy();
    m_program.reset();
    m_initialized = false;
}

GLuint GlobeRenderer::textureFor(const SceneTexture &texture, FrameReport &report)
{
    GpuTexture &gpu = m_textures[&texture];
    if (gpu.generation == texture.generation())
        return gpu.valid ? gpu.id : 0;
    const quint64 uploaded = gpu.generation;
    gpu.generation = texture.generation();
    const QImage &image = texture.image();
    // The GL would refuse it too, and leave the texture undefined.
    if (image.width() > m_maxTextureSize || image.height() > m_maxTextureSize) {
        report.refusedTextures.append(image.size());
        return gpu.valid ? gpu.id : 0;
    }
    const std::optional<QList<ColumnSpan>> columns = texture.columnsChangedSince(uploaded);
    const bool sameImage = gpu.valid && gpu.size == image.size() &&
                           image.format() == QImage::Format_RGBA8888_Premultiplied;
    if (columns && sameImage && !gpu.mipmaps.isEmpty()) {
        glBindTexture(GL_TEXTURE_2D, gpu.id);
        uploadColumns(gpu, image, *columns);
        return gpu.id;
    }
    gpu.valid = !image.isNull();
    if (!gpu.valid)
        return 0;
    if (!gpu.id)
        glGenTextures(1, &gpu.id);
    glBindTexture(GL_TEXTURE_2D, gpu.id);
    // Premultiplied texels (mipmaps of sparse lights on transparent black keep their
    // colour), in a byte order the GL reads as it is: RGBA, or the B, G, R, A of Qt's 32-bit
    // formats where desktop GL takes it and nothing needs premultiplying, as with decoded
    // maps. Anything else is converted, once.
    GLenum layout = GL_RGBA;
    QImage pixels = image;
    if (image.format() != QImage::Format_RGBA8888_Premultiplied) {
        if (!m_es2 && premultiplied_bgra(image))
            layout = GL_BGRA;
        else
            pixels = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    }
    // Column edits need every level's halving to line up with the image's columns.
    auto powerOfTwo = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    uploadWhole(gpu, pixels, layout,
                columns.has_value() && powerOfTwo(pixels.width()) && powerOfTwo(pixels.height()));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Keeps the foreshortened texels near the limb sharp (small city lights included).
    if (m_anisotropy > 1)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, m_anisotropy);
    return gpu.id;
}

namespace {
// Level k+1 from level k over the columns of the smaller image: each texel the rounded mean
// of the 2 x 2 block above it (a row or column stands in twice where a side is 1).
void halve(const QImage &larger, QImage &smaller, ColumnSpan columns)
{
    const int lastX = larger.width() - 1, lastY = larger.height() - 1;
    for (int y = 0; y < smaller.height(); ++y) {
        const uchar *top = larger.constScanLine(qMin(2 * y, lastY));
        const uchar *bottom = larger.constScanLine(qMin(2 * y + 1, lastY));
        uchar *out = smaller.scanLine(y);
        for (int x = columns.begin; x < columns.end; ++x) {
            const int left = 4 * qMin(2 * x, lastX), right = 4 * qMin(2 * x + 1, lastX);
            for (int c = 0; c < 4; ++c)
                out[4 * x + c] = uchar(
                    (top[left + c] + top[right + c] + bottom[left + c] + bottom[right + c] + 2) >>
                    2);
        }
    }
}
} // namespace

void GlobeRenderer::uploadLevel(int level, const QImage &image, GLenum layout, ColumnSpan columns)
{
    const int count = columns.end - columns.begin;
    if (count <= 0)
        return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (count == image.width()) {
        glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, image.width(), image.height(), layout,
                        GL_UNSIGNED_BYTE, image.constBits());
        return;
    }
    // Packed first: OpenGL ES 2 has no row length to skip the other columns by.
    QByteArray packed(qsizetype(count) * 4 * image.height(), Qt::Uninitialized);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(packed.data() + qsizetype(y) * count * 4,
                    image.constScanLine(y) + columns.begin * 4, size_t(count) * 4);
    glTexSubImage2D(GL_TEXTURE_2D, level, columns.begin, 0, count, image.height(), layout,
                    GL_UNSIGNED_BYTE, packed.constData());
}

void GlobeRenderer::uploadWhole(GpuTexture &gpu, const QImage &image, GLenum layout,
                                bool keepMipmaps)
{
    gpu.size = image.size();
    gpu.layout = layout;
    gpu.mipmaps.clear();
    // OpenGL ES 2 wants the internal format named as the data's.
    const GLint internal = m_es2 ? GL_RGBA : GL_RGBA8;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, internal, image.width(), image.height(), 0, layout,
                 GL_UNSIGNED_BYTE, image.constBits());
    // The levels are halved here rather than by glGenerateMipmap, which costs a software
    // rasteriser about ten times as much (it renders every level through the GL).
    QImage previous;
    const QImage *larger = &image;
    for (int level = 1; larger->width() > 1 || larger->height() > 1; ++level) {
        QImage smaller(qMax(1, larger->width() / 2), qMax(1, larger->height() / 2),
                       QImage::Format_RGBA8888_Premultiplied);
        halve(*larger, smaller, {0, smaller.width()});
        glTexImage2D(GL_TEXTURE_2D, level, internal, smaller.width(), smaller.height(), 0, layout,
                     GL_UNSIGNED_BYTE, smaller.constBits());
        // Kept only where column edits will halve them again.
        if (keepMipmaps) {
            gpu.mipmaps.append(smaller);
            larger = &gpu.mipmaps.last();
        } else {
            previous = std::move(smaller);
            larger = &previous;
        }
    }
}

void GlobeRenderer::uploadColumns(GpuTexture &gpu, const QImage &image,
                                  const QList<ColumnSpan> &columns)
{
    for (ColumnSpan span : columns) {
        span = {qBound(0, span.begin, image.width()), qBound(0, span.end, image.width())};
        if (span.end <= span.begin)
            continue;
        uploadLevel(0, image, gpu.layout, span);
        const QImage *larger = &image;
        for (int level = 1; level <= gpu.mipmaps.size(); ++level) {
            QImage &smaller = gpu.mipmaps[level - 1];
            // The texels whose 2 x 2 blocks reach into the changed columns.
            span = {span.begin / 2, qMin(smaller.width(), (span.end + 1) / 2)};
            halve(*larger, smaller, span);
            uploadLevel(level, smaller, gpu.layout, span);
            larger = &smaller;
        }
    }
}

void GlobeRenderer::drawSphere(const GlobeScene &scene, const SceneNode &node,
                               const Material &material, const Frame &frame, bool opaque,
                               FrameReport &report)
{
    // Until a map arrives the climate sphere shows the earth image, unlit.
    const SceneTexture *texture = material.texture;
    if (!texture || texture->image().isNull())
        texture = &scene.earthTexture;
    const GLuint id = textureFor(*texture, report);
    if (!id)
        return;
    const QMatrix4x4 model = node.modelMatrix();
    const QRectF rect = screen_rect(model, frame.viewProjection, frame.eye, frame.pixelSize);
    if (rect.isEmpty())
        return;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);

    const QMatrix4x4 inverseModel = model.inverted();
    const Uniforms &u = m_uniforms;
    QOpenGLShaderProgram &program = *m_program;
    program.setUniformValue(u.rect, QVector4D(float(rect.left()), float(rect.top()),
                                              float(rect.right()), float(rect.bottom())));
    program.setUniformValue(u.inverseViewProjection, frame.inverseViewProjection);
    program.setUniformValue(u.inverseModel, inverseModel);
    program.setUniformValue(u.objectEye, inverseModel.map(frame.eye));
    program.setUniformValue(u.model, model);
    program.setUniformValue(u.normalMatrix, model.normalMatrix());
    program.setUniformValue(u.tex, 0);
    // Light cannot brighten a white emissive past the clamp: the texel shows as it is, and
    // the night sphere skips the lighting it would not see.
    const bool whiteEmissive = material.emissive.redF() >= 1 && material.emissive.greenF() >= 1 &&
                               material.emissive.blueF() >= 1;
    program.setUniformValue(u.lit, material.lit && !whiteEmissive);
    program.setUniformValue(u.emissive, rgb(material.emissive));
    program.setUniformValue(u.ambient, rgb(material.ambient));
    program.setUniformValue(u.diffuse, rgb(material.diffuse));
    program.setUniformValue(u.specular, rgb(material.specular));
    program.setUniformValue(u.shininess, material.shininess);
    program.setUniformValue(u.lightColor, rgb(scene.lightColor));
    program.setUniformValue(u.towardLight, frame.towardLight);
    program.setUniformValue(u.eyePosition, frame.eye);
    program.setUniformValue(u.opacity, node.opacity);
    program.setUniformValue(u.opaque, opaque);
    const bool sun = scene.sunDirection && material.sunShading != Material::SunShading::None;
    program.setUniformValue(u.sunShading, sun ? int(material.sunShading) : 0);
    program.setUniformValue(u.sunDirection, scene.sunDirection.value_or(QVector3D(0, 0, 1)));
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

GlobeRenderer::FrameReport GlobeRenderer::render(const GlobeScene &scene, int width, int height)
{
    FrameReport report;
    glClearColor(0, 0, 0, 1);
    // Nothing uses the depth buffer: the spheres are drawn in order, back to front.
    glClear(GL_COLOR_BUFFER_BIT);
    if (!m_initialized || width <= 0 || height <= 0)
        return report;

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    Frame frame;
    frame.viewProjection =
        scene.projectionMatrix(float(width) / float(height)) * scene.viewMatrix();
    frame.inverseViewProjection = frame.viewProjection.inverted();
    frame.pixelSize = QSizeF(2.0 / width, 2.0 / height);
    frame.eye = scene.cameraPosition();
    frame.towardLight = -scene.lightDirection();
    m_program->bind();
    QOpenGLVertexArrayObject::Binder binder(&m_vao);
    m_vertexBuffer.bind();
    glEnableVertexAttribArray(kCornerAttribute);
    glVertexAttribPointer(kCornerAttribute, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    // Opaque spheres first, then the translucent night sphere blended over them.
    glDisable(GL_BLEND);
    if (scene.EarthSphere.visible)
        drawSphere(scene, scene.EarthSphere, scene.EarthMaterialSource, frame, true, report);
    if (scene.ClimateSphere.visible)
        drawSphere(scene, scene.ClimateSphere, scene.ClimateMaterial, frame, true, report);
    if (scene.NightSphere.visible) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        drawSphere(scene, scene.NightSphere, scene.NightLightSource, frame, false, report);
        glDisable(GL_BLEND);
    }
    m_vertexBuffer.release();
    m_program->release();
    return report;
}
