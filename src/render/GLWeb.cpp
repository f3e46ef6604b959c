// The OpenGL 1.1 the drawing code calls (GLWeb/GL/gl.h), drawn with WebGL 1
// (OpenGL ES 2.0) for the page: the two matrix stacks, immediate mode turned
// into vertex buffers, display lists replayed from what was recorded, the
// raster position for each line of text, glBitmap, the alpha test and the
// texture environment's modulation in one shader. Lacks the rest of GL 1.1
// (lighting is off throughout the game; only its switch is kept).
#include <GLES2/gl2.h>

#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

#define GLWEB_DEFINING
#include "GLWeb/GL/gl.h"
#include "GLWeb/GL/glu.h"

namespace {

// Column-major, as GL keeps it.
struct Matrix {
    float m[16];
};

constexpr Matrix kIdentity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            product.m[column * 4 + row] = sum;
        }
    return product;
}

void Transform(const Matrix& a, const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row)
        out[row] = a.m[row] * in[0] + a.m[4 + row] * in[1] + a.m[8 + row] * in[2] + a.m[12 + row] * in[3];
}

struct Vertex {
    float x, y, z;
    float s, t;
    float red, green, blue, alpha;
};

// What a display list keeps: every call the game makes while compiling one.
enum class Op { kBegin, kEnd, kVertex, kTexCoord, kColor, kBindTexture, kTranslate, kRotate, kEnable, kDisable };
struct Command {
    Op op;
    float v[4];
    GLenum e;
};

struct State {
    std::vector<Matrix> modelview{kIdentity};
    std::vector<Matrix> projection{kIdentity};
    GLenum matrixMode = GL_MODELVIEW;
    float colour[4] = {1, 1, 1, 1};
    float texCoord[4] = {0, 0, 0, 1};
    bool texturing = false;
    bool lighting = false;
    bool alphaTest = false;
    GLenum alphaFunction = GL_ALWAYS;
    float alphaReference = 0;
    GLint textureEnvironment = GL_MODULATE;
    float rasterPosition[4] = {0, 0, 0, 1};
    bool rasterValid = true;
    float rasterColour[4] = {1, 1, 1, 1};
    GLenum primitive = 0;
    std::vector<Vertex> vertices;
    // Display lists by number; `compiling` is the one being recorded (0: none).
    std::unordered_map<GLuint, std::vector<Command>> lists;
    GLuint compiling = 0;
    GLuint nextList = 1;
    // Which textures hold alpha alone: modulation then keeps the colour.
    std::unordered_map<GLuint, bool> alphaOnly;
    GLuint bound = 0;
    // The shader and its inputs, made at the first draw.
    GLuint program = 0;
    GLuint buffer = 0;
    GLint transform = -1, sampler = -1, textureMode = -1, alphaMode = -1, alphaRef = -1;
    GLuint bitmapTexture = 0;
};

State state;

Matrix& Current() {
    return state.matrixMode == GL_PROJECTION ? state.projection.back() : state.modelview.back();
}

void Apply(const Matrix& by) {
    Matrix& current = Current();
    current = Multiply(current, by);
}

bool Recording(Op op, float a = 0, float b = 0, float c = 0, float d = 0, GLenum e = 0) {
    if (state.compiling == 0) return false;
    state.lists[state.compiling].push_back({op, {a, b, c, d}, e});
    return true;
}

constexpr char kVertexShader[] = R"(
attribute vec3 position;
attribute vec2 coordinate;
attribute vec4 colour;
uniform mat4 transform;
varying vec2 vCoordinate;
varying vec4 vColour;
void main() {
    vCoordinate = coordinate;
    vColour = colour;
    gl_Position = transform * vec4(position, 1.0);
}
)";

// textureMode: 0 untextured, 1 a colour texture modulated, 2 an alpha one.
// alphaMode: GL's comparison less GL_NEVER, or -1 with the test off.
constexpr char kFragmentShader[] = R"(
precision mediump float;
uniform sampler2D picture;
uniform int textureMode;
uniform int alphaMode;
uniform float alphaRef;
varying vec2 vCoordinate;
varying vec4 vColour;
void main() {
    vec4 colour = vColour;
    if (textureMode == 1) colour *= texture2D(picture, vCoordinate);
    if (textureMode == 2) colour.a *= texture2D(picture, vCoordinate).a;
    float a = colour.a;
    bool pass = alphaMode < 0 || alphaMode == 7 ||
        (alphaMode == 1 && a < alphaRef) || (alphaMode == 2 && a == alphaRef) ||
        (alphaMode == 3 && a <= alphaRef) || (alphaMode == 4 && a > alphaRef) ||
        (alphaMode == 5 && a != alphaRef) || (alphaMode == 6 && a >= alphaRef);
    if (!pass) discard;
    gl_FragColor = colour;
}
)";

GLuint Compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void MakeProgram() {
    state.program = glCreateProgram();
    glAttachShader(state.program, Compile(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(state.program, Compile(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(state.program, 0, "position");
    glBindAttribLocation(state.program, 1, "coordinate");
    glBindAttribLocation(state.program, 2, "colour");
    glLinkProgram(state.program);
    state.transform = glGetUniformLocation(state.program, "transform");
    state.sampler = glGetUniformLocation(state.program, "picture");
    state.textureMode = glGetUniformLocation(state.program, "textureMode");
    state.alphaMode = glGetUniformLocation(state.program, "alphaMode");
    state.alphaRef = glGetUniformLocation(state.program, "alphaRef");
    glGenBuffers(1, &state.buffer);
}

// Quads become two triangles each; a line strip is drawn as it is.
void Draw(GLenum primitive, const std::vector<Vertex>& given) {
    std::vector<Vertex> drawn;
    GLenum mode = primitive;
    if (primitive == GL_QUADS) {
        mode = GL_TRIANGLES;
        for (std::size_t q = 0; q + 3 < given.size(); q += 4)
            for (int corner : {0, 1, 2, 0, 2, 3}) drawn.push_back(given[q + std::size_t(corner)]);
    } else {
        drawn = given;
    }
    if (drawn.empty()) return;
    if (state.program == 0) MakeProgram();
    glUseProgram(state.program);
    const Matrix transform = Multiply(state.projection.back(), state.modelview.back());
    glUniformMatrix4fv(state.transform, 1, GL_FALSE, transform.m);
    int textureMode = 0;
    if (state.texturing && state.bound != 0) textureMode = state.alphaOnly[state.bound] ? 2 : 1;
    glUniform1i(state.textureMode, textureMode);
    glUniform1i(state.sampler, 0);
    glUniform1i(state.alphaMode, state.alphaTest ? int(state.alphaFunction - GL_NEVER) : -1);
    glUniform1f(state.alphaRef, state.alphaReference);
    glBindBuffer(GL_ARRAY_BUFFER, state.buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(drawn.size() * sizeof(Vertex)), drawn.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, s)));
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, red)));
    glDrawArrays(mode, 0, GLsizei(drawn.size()));
}

}  // namespace

void GLWebMatrixMode(GLenum mode) {
    state.matrixMode = mode;
}

void GLWebLoadIdentity() {
    Current() = kIdentity;
}

void GLWebPushMatrix() {
    auto& stack = state.matrixMode == GL_PROJECTION ? state.projection : state.modelview;
    stack.push_back(stack.back());
}

void GLWebPopMatrix() {
    auto& stack = state.matrixMode == GL_PROJECTION ? state.projection : state.modelview;
    if (stack.size() > 1) stack.pop_back();
}

void GLWebTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (Recording(Op::kTranslate, x, y, z)) return;
    Matrix by = kIdentity;
    by.m[12] = x;
    by.m[13] = y;
    by.m[14] = z;
    Apply(by);
}

void GLWebRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    if (Recording(Op::kRotate, angle, x, y, z)) return;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return;
    x /= length;
    y /= length;
    z /= length;
    const float radians = angle * float(M_PI) / 180.0f;
    const float c = std::cos(radians), s = std::sin(radians), k = 1 - c;
    const Matrix by{{x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0, x * y * k - z * s, y * y * k + c,
                     y * z * k + x * s, 0, x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0, 0, 0, 0, 1}};
    Apply(by);
}

void GLWebOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near, GLdouble far) {
    Matrix by = kIdentity;
    by.m[0] = float(2 / (right - left));
    by.m[5] = float(2 / (top - bottom));
    by.m[10] = float(-2 / (far - near));
    by.m[12] = float(-(right + left) / (right - left));
    by.m[13] = float(-(top + bottom) / (top - bottom));
    by.m[14] = float(-(far + near) / (far - near));
    Apply(by);
}

void GLWebPerspective(GLdouble fieldOfView, GLdouble aspect, GLdouble near, GLdouble far) {
    const double f = 1 / std::tan(fieldOfView * M_PI / 360.0);
    Matrix by{};
    by.m[0] = float(f / aspect);
    by.m[5] = float(f);
    by.m[10] = float((far + near) / (near - far));
    by.m[11] = -1;
    by.m[14] = float(2 * far * near / (near - far));
    Apply(by);
}

void GLWebColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    if (Recording(Op::kColor, red, green, blue)) return;
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = 1;
}

void GLWebTexCoord2f(GLfloat s, GLfloat t) {
    if (Recording(Op::kTexCoord, s, t, 0, 1)) return;
    state.texCoord[0] = s;
    state.texCoord[1] = t;
    state.texCoord[2] = 0;
    state.texCoord[3] = 1;
}

void GLWebTexCoord4fv(const GLfloat* coordinates) {
    if (Recording(Op::kTexCoord, coordinates[0], coordinates[1], coordinates[2], coordinates[3])) return;
    std::memcpy(state.texCoord, coordinates, sizeof state.texCoord);
}

void GLWebBegin(GLenum mode) {
    if (Recording(Op::kBegin, 0, 0, 0, 0, mode)) return;
    state.primitive = mode;
    state.vertices.clear();
}

void GLWebVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (Recording(Op::kVertex, x, y, z)) return;
    state.vertices.push_back({x, y, z, state.texCoord[0], state.texCoord[1], state.colour[0], state.colour[1],
                              state.colour[2], state.colour[3]});
}

void GLWebVertex2f(GLfloat x, GLfloat y) {
    GLWebVertex3f(x, y, 0);
}

void GLWebEnd() {
    if (Recording(Op::kEnd)) return;
    Draw(state.primitive, state.vertices);
    state.vertices.clear();
    state.primitive = 0;
}

GLuint GLWebGenLists(GLsizei range) {
    const GLuint first = state.nextList;
    state.nextList += GLuint(range);
    return first;
}

void GLWebNewList(GLuint list, GLenum) {
    state.lists[list].clear();
    state.compiling = list;
    if (list >= state.nextList) state.nextList = list + 1;
}

void GLWebEndList() {
    state.compiling = 0;
}

void GLWebCallList(GLuint list) {
    const auto found = state.lists.find(list);
    if (found == state.lists.end()) return;
    for (const Command& command : found->second) {
        const float* v = command.v;
        switch (command.op) {
            case Op::kBegin:
                GLWebBegin(command.e);
                break;
            case Op::kEnd:
                GLWebEnd();
                break;
            case Op::kVertex:
                GLWebVertex3f(v[0], v[1], v[2]);
                break;
            case Op::kTexCoord:
                GLWebTexCoord4fv(v);
                break;
            case Op::kColor:
                GLWebColor3f(v[0], v[1], v[2]);
                break;
            case Op::kBindTexture:
                GLWebBindTexture(GL_TEXTURE_2D, command.e);
                break;
            case Op::kTranslate:
                GLWebTranslatef(v[0], v[1], v[2]);
                break;
            case Op::kRotate:
                GLWebRotatef(v[0], v[1], v[2], v[3]);
                break;
            case Op::kEnable:
                GLWebEnable(command.e);
                break;
            case Op::kDisable:
                GLWebDisable(command.e);
                break;
        }
    }
}

void GLWebEnable(GLenum capability) {
    if (Recording(Op::kEnable, 0, 0, 0, 0, capability)) return;
    switch (capability) {
        case GL_TEXTURE_2D:
            state.texturing = true;
            break;
        case GL_LIGHTING:
            state.lighting = true;
            break;
        case GL_ALPHA_TEST:
            state.alphaTest = true;
            break;
        default:
            glEnable(capability);
            break;
    }
}

void GLWebDisable(GLenum capability) {
    if (Recording(Op::kDisable, 0, 0, 0, 0, capability)) return;
    switch (capability) {
        case GL_TEXTURE_2D:
            state.texturing = false;
            break;
        case GL_LIGHTING:
            state.lighting = false;
            break;
        case GL_ALPHA_TEST:
            state.alphaTest = false;
            break;
        default:
            glDisable(capability);
            break;
    }
}

GLboolean GLWebIsEnabled(GLenum capability) {
    switch (capability) {
        case GL_TEXTURE_2D:
            return state.texturing;
        case GL_LIGHTING:
            return state.lighting;
        case GL_ALPHA_TEST:
            return state.alphaTest;
        default:
            return glIsEnabled(capability);
    }
}

void GLWebGetBooleanv(GLenum name, GLboolean* values) {
    if (name == GL_CURRENT_RASTER_POSITION_VALID) {
        *values = state.rasterValid;
    } else {
        *values = GLWebIsEnabled(name);
    }
}

void GLWebGetFloatv(GLenum name, GLfloat* values) {
    switch (name) {
        case GL_CURRENT_RASTER_POSITION:
            std::memcpy(values, state.rasterPosition, sizeof state.rasterPosition);
            break;
        case GL_CURRENT_TEXTURE_COORDS:
            std::memcpy(values, state.texCoord, sizeof state.texCoord);
            break;
        case GL_ALPHA_TEST_REF:
            *values = state.alphaReference;
            break;
        default:
            glGetFloatv(name, values);
            break;
    }
}

void GLWebGetIntegerv(GLenum name, GLint* values) {
    switch (name) {
        case GL_ALPHA_TEST_FUNC:
            *values = GLint(state.alphaFunction);
            break;
        case GL_TEXTURE_BINDING_2D:
            *values = GLint(state.bound);
            break;
        default:
            glGetIntegerv(name, values);
            break;
    }
}

void GLWebGetTexEnviv(GLenum, GLenum, GLint* values) {
    *values = state.textureEnvironment;
}

// Only modulation is drawn, the mode the game draws everything with.
void GLWebTexEnvi(GLenum, GLenum, GLint value) {
    state.textureEnvironment = value;
}

void GLWebAlphaFunc(GLenum function, GLclampf reference) {
    state.alphaFunction = function;
    state.alphaReference = reference < 0 ? 0 : reference > 1 ? 1 : reference;
}

// The window position of (x, y, 0) as the vertices would be placed, with
// GL's valid flag: false where the point falls outside the view volume.
void GLWebRasterPos2f(GLfloat x, GLfloat y) {
    const float point[4] = {x, y, 0, 1};
    float eye[4], clip[4];
    Transform(state.modelview.back(), point, eye);
    Transform(state.projection.back(), eye, clip);
    const float w = clip[3];
    state.rasterValid = w > 0 && std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
    if (!state.rasterValid) return;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    state.rasterPosition[0] = float(viewport[0]) + (clip[0] / w + 1) * float(viewport[2]) / 2;
    state.rasterPosition[1] = float(viewport[1]) + (clip[1] / w + 1) * float(viewport[3]) / 2;
    state.rasterPosition[2] = (clip[2] / w + 1) / 2;
    state.rasterPosition[3] = w;
    std::memcpy(state.rasterColour, state.colour, sizeof state.rasterColour);
}

// The bits, most significant first, rows bottom-up, put at the raster
// position in its colour, as one alpha-tested square on the window's pixels.
void GLWebBitmap(GLsizei width, GLsizei height, GLfloat xOrigin, GLfloat yOrigin, GLfloat xMove, GLfloat yMove,
                 const GLubyte* bits) {
    if (state.rasterValid && width > 0 && height > 0) {
        const int rowBytes = (width + 7) / 8;
        std::vector<GLubyte> alpha(std::size_t(width) * std::size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                alpha[std::size_t(y * width + x)] = (bits[y * rowBytes + x / 8] & (0x80 >> (x % 8))) != 0 ? 255 : 0;
        if (state.bitmapTexture == 0) glGenTextures(1, &state.bitmapTexture);
        const GLuint was = state.bound;
        const bool texturing = state.texturing, alphaTest = state.alphaTest;
        const GLenum function = state.alphaFunction;
        const float reference = state.alphaReference;
        float colour[4];
        std::memcpy(colour, state.colour, sizeof colour);
        glBindTexture(GL_TEXTURE_2D, state.bitmapTexture);
        state.bound = state.bitmapTexture;
        state.alphaOnly[state.bitmapTexture] = true;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const float left = std::floor(state.rasterPosition[0] - xOrigin) - float(viewport[0]);
        const float bottom = std::floor(state.rasterPosition[1] - yOrigin) - float(viewport[1]);
        // Window pixels to clip space, at the raster position's depth.
        const float z = state.rasterPosition[2] * 2 - 1;
        auto corner = [&](float x, float y, float s, float t) {
            return Vertex{
                2 * x / float(viewport[2]) - 1, 2 * y / float(viewport[3]) - 1, z, s, t, state.rasterColour[0],
                state.rasterColour[1],          state.rasterColour[2],          1};
        };
        const float w = float(width), h = float(height);
        const std::vector<Vertex> square{corner(left, bottom, 0, 0), corner(left + w, bottom, 1, 0),
                                         corner(left + w, bottom + h, 1, 1), corner(left, bottom + h, 0, 1)};
        const std::vector<Matrix> modelview = state.modelview, projection = state.projection;
        state.modelview = {kIdentity};
        state.projection = {kIdentity};
        state.texturing = true;
        state.alphaTest = true;
        state.alphaFunction = GL_GREATER;
        state.alphaReference = 0.5f;
        Draw(GL_QUADS, square);
        state.modelview = modelview;
        state.projection = projection;
        state.texturing = texturing;
        state.alphaTest = alphaTest;
        state.alphaFunction = function;
        state.alphaReference = reference;
        std::memcpy(state.colour, colour, sizeof colour);
        glBindTexture(GL_TEXTURE_2D, was);
        state.bound = was;
    }
    state.rasterPosition[0] += xMove;
    state.rasterPosition[1] += yMove;
}

void GLWebBindTexture(GLenum target, GLuint texture) {
    if (Recording(Op::kBindTexture, 0, 0, 0, 0, texture)) return;
    state.bound = texture;
    glBindTexture(target, texture);
}

void GLWebGenTextures(GLsizei count, GLuint* textures) {
    glGenTextures(count, textures);
}

void GLWebDeleteTextures(GLsizei count, const GLuint* textures) {
    for (GLsizei i = 0; i < count; ++i) {
        state.alphaOnly.erase(textures[i]);
        if (state.bound == textures[i]) state.bound = 0;
    }
    glDeleteTextures(count, textures);
}

// GL 1.1's component count 3 is RGB; WebGL takes only the format's own name.
void GLWebTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                     GLenum format, GLenum type, const GLvoid* pixels) {
    const GLenum internal = internalFormat == 3 ? GL_RGB : internalFormat == 4 ? GL_RGBA : GLenum(internalFormat);
    state.alphaOnly[state.bound] = internal == GL_ALPHA;
    glTexImage2D(target, level, GLint(internal), width, height, border, format, type, pixels);
}

void GLWebTexParameteri(GLenum target, GLenum name, GLint value) {
    glTexParameteri(target, name, value);
}

void GLWebPixelStorei(GLenum name, GLint value) {
    glPixelStorei(name, value);
}

void GLWebViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    glViewport(x, y, width, height);
}

void GLWebClear(GLbitfield mask) {
    glClear(mask);
}

void GLWebClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    glClearColor(red, green, blue, alpha);
}

void GLWebClearDepth(GLclampd depth) {
    glClearDepthf(float(depth));
}

void GLWebDepthFunc(GLenum function) {
    glDepthFunc(function);
}

void GLWebFinish() {
    glFinish();
}

// Smooth shading and the best perspective are what WebGL always gives.
void GLWebShadeModel(GLenum) {}
void GLWebHint(GLenum, GLenum) {}
