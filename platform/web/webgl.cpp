// The WebGL 2 side of the platform layer: one shader program that does what
// OpenGL 1.x's fixed-function vertex stage does for what the framework draws
// (the two matrices, lighting with colour material, point size), a streaming
// vertex buffer for immediate-mode blocks, and kept buffers for display lists.
#include <GL/gl.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/web/glState.h"

namespace zw {

bool submit = true;

namespace {

// Lighting follows OpenGL 1.x's formula (section 2.14.1) with the eye at
// infinity, for each side of a primitive:
//   c = e + a_m a_s + sum over lights i of att_i (a_m a_i + max(n.L, 0) d_m d_i
//       + f_i max(n.h, 0)^s s_m s_i),
// h = normalize(L + (0, 0, 1)), f_i = 1 where n.L > 0, att_i = 1 / (k0 + k1 d
// + k2 d^2) for a light at a position and 1 for a directional one; the alpha
// is the diffuse material's. The back side uses -n and the back material. A
// colour material replaces the chosen material colour by the vertex colour.
const char* const vertexSource = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec3 aNormal;
#ifdef WIDE
layout(location = 4) in vec3 aOther;  // the segment's other end
layout(location = 5) in float aSide;  // -1 or +1 across the line
uniform vec2 uViewport;
uniform float uWidth;
#endif
uniform mat4 uProjection, uModelview;
uniform mat3 uNormalMatrix;
uniform float uPointSize;
uniform bool uLighting, uNormalize, uTwoSide;
uniform int uLights;
uniform vec4 uLightPos[8], uLightAmbient[8], uLightDiffuse[8], uLightSpecular[8];
uniform vec3 uLightAtten[8];
uniform vec4 uModelAmbient;
uniform vec4 uMatAmbient[2], uMatDiffuse[2], uMatSpecular[2], uMatEmission[2];
uniform float uMatShininess[2];
uniform int uColorFaces;  // bit 0 front, bit 1 back
uniform int uColorMode;   // 0 ambient and diffuse, 1 ambient, 2 diffuse, 3 specular, 4 emission
SHADE out vec4 vFront;
SHADE out vec4 vBack;

vec4 shade(int side, vec3 n, vec3 eye) {
    vec4 a = uMatAmbient[side], d = uMatDiffuse[side], s = uMatSpecular[side], e = uMatEmission[side];
    if ((uColorFaces & (1 << side)) != 0) {
        if (uColorMode == 0 || uColorMode == 1) a = aColor;
        if (uColorMode == 0 || uColorMode == 2) d = aColor;
        if (uColorMode == 3) s = aColor;
        if (uColorMode == 4) e = aColor;
    }
    vec3 c = e.rgb + a.rgb * uModelAmbient.rgb;
    for (int i = 0; i < 8; ++i) {
        if ((uLights & (1 << i)) == 0) continue;
        vec3 L;
        float att = 1.0;
        if (uLightPos[i].w == 0.0) {
            L = normalize(uLightPos[i].xyz);
        } else {
            vec3 toLight = uLightPos[i].xyz / uLightPos[i].w - eye;
            float dist = length(toLight);
            L = toLight / dist;
            att = 1.0 / (uLightAtten[i].x + uLightAtten[i].y * dist + uLightAtten[i].z * dist * dist);
        }
        float nl = dot(n, L);
        vec3 term = a.rgb * uLightAmbient[i].rgb + max(nl, 0.0) * d.rgb * uLightDiffuse[i].rgb;
        if (nl > 0.0) {
            float nh = max(dot(n, normalize(L + vec3(0.0, 0.0, 1.0))), 0.0);
            float shine = uMatShininess[side] == 0.0 ? 1.0 : pow(nh, uMatShininess[side]);
            term += shine * s.rgb * uLightSpecular[i].rgb;
        }
        c += att * term;
    }
    return clamp(vec4(c, d.a), 0.0, 1.0);
}

void main() {
    vec4 eye = uModelview * vec4(aPos, 1.0);
    gl_Position = uProjection * eye;
    gl_PointSize = uPointSize;
#ifdef WIDE
    // GL's wide line: the segment widened by uWidth pixels along the window's
    // minor axis, vertically for a line more horizontal than vertical.
    vec4 other = uProjection * uModelview * vec4(aOther, 1.0);
    vec2 d = (other.xy / other.w - gl_Position.xy / gl_Position.w) * uViewport;
    vec2 across = abs(d.x) >= abs(d.y) ? vec2(0.0, 1.0) : vec2(1.0, 0.0);
    gl_Position.xy += across * aSide * uWidth / uViewport * gl_Position.w;
#endif
    if (!uLighting) {
        vFront = vBack = clamp(aColor, 0.0, 1.0);
        return;
    }
    vec3 n = uNormalMatrix * aNormal;
    if (uNormalize) n = normalize(n);
    vFront = shade(0, n, eye.xyz / eye.w);
    vBack = uTwoSide ? shade(1, -n, eye.xyz / eye.w) : vFront;
}
)";

const char* const fragmentSource = R"(
precision mediump float;
SHADE in vec4 vFront;
SHADE in vec4 vBack;
out vec4 fragColor;
void main() {
    fragColor = gl_FrontFacing ? vFront : vBack;
}
)";

struct Program {
    GLuint id = 0;
    GLint projection, modelview, normalMatrix, pointSize, lighting, normalize, twoSide, lights;
    GLint lightPos, lightAmbient, lightDiffuse, lightSpecular, lightAtten, modelAmbient;
    GLint matAmbient, matDiffuse, matSpecular, matEmission, matShininess, colorFaces, colorMode;
    GLint viewport = -1, width = -1;
    unsigned matrixSerial = 0, lightSerial = 0;
    float pointSizeSent = -1;
};

Program programs[4];  // smooth, flat; for wide lines smooth, flat
GLuint stream = 0, vao = 0;
bool ready = false;

GLuint compile(GLenum type, const char* shade, const char* body) {
    const char* parts[3] = {"#version 300 es\nprecision highp float;\n", shade, body};
    GLuint s = emscripten_glCreateShader(type);
    emscripten_glShaderSource(s, 3, parts, nullptr);
    emscripten_glCompileShader(s);
    GLint ok = 0;
    emscripten_glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "web GL: shader does not compile: %s\n", log);
    }
    return s;
}

void build(Program& p, bool flat, bool wide) {
    static const char* const variants[4] = {"#define SHADE\n", "#define SHADE flat\n",
                                            "#define SHADE\n#define WIDE\n", "#define SHADE flat\n#define WIDE\n"};
    const char* shade = variants[(flat ? 1 : 0) + (wide ? 2 : 0)];
    p.id = emscripten_glCreateProgram();
    emscripten_glAttachShader(p.id, compile(GL_VERTEX_SHADER, shade, vertexSource));
    emscripten_glAttachShader(p.id, compile(GL_FRAGMENT_SHADER, shade, fragmentSource));
    emscripten_glLinkProgram(p.id);
    auto u = [&p](const char* name) { return emscripten_glGetUniformLocation(p.id, name); };
    p.projection = u("uProjection");
    p.modelview = u("uModelview");
    p.normalMatrix = u("uNormalMatrix");
    p.pointSize = u("uPointSize");
    p.lighting = u("uLighting");
    p.normalize = u("uNormalize");
    p.twoSide = u("uTwoSide");
    p.lights = u("uLights");
    p.lightPos = u("uLightPos");
    p.lightAmbient = u("uLightAmbient");
    p.lightDiffuse = u("uLightDiffuse");
    p.lightSpecular = u("uLightSpecular");
    p.lightAtten = u("uLightAtten");
    p.modelAmbient = u("uModelAmbient");
    p.matAmbient = u("uMatAmbient");
    p.matDiffuse = u("uMatDiffuse");
    p.matSpecular = u("uMatSpecular");
    p.matEmission = u("uMatEmission");
    p.matShininess = u("uMatShininess");
    p.colorFaces = u("uColorFaces");
    p.colorMode = u("uColorMode");
    p.viewport = u("uViewport");
    p.width = u("uWidth");
}

void setUp() {
    for (int k = 0; k < 4; ++k) build(programs[k], k & 1, k & 2);
    emscripten_glGenVertexArrays(1, &vao);
    emscripten_glBindVertexArray(vao);
    emscripten_glGenBuffers(1, &stream);
    ready = true;
}

// The inverse transpose of the model-view's upper 3x3, which takes normals to
// eye coordinates.
void normalMatrix(const Mat& mv, float out[9]) {
    const float a = mv.m[0], b = mv.m[4], c = mv.m[8];
    const float d = mv.m[1], e = mv.m[5], f = mv.m[9];
    const float g = mv.m[2], h = mv.m[6], i = mv.m[10];
    // The cofactors C[row][col]; the inverse transpose is C / det.
    const float C[3][3] = {{e * i - f * h, -(d * i - f * g), d * h - e * g},
                           {-(b * i - c * h), a * i - c * g, -(a * h - b * g)},
                           {b * f - c * e, -(a * f - c * d), a * e - b * d}};
    const float det = a * C[0][0] + b * C[0][1] + c * C[0][2];
    const float k = det == 0 ? 0 : 1 / det;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) out[col * 3 + row] = C[row][col] * k;
}

int colorModeCode(GLenum mode) {
    switch (mode) {
    case GL_AMBIENT: return 1;
    case GL_DIFFUSE: return 2;
    case GL_SPECULAR: return 3;
    case GL_EMISSION: return 4;
    default: return 0;
    }
}

// Makes the program of the shade model (and, for wide lines, of the line
// width) current and sends what changed since its last draw.
void use(float wideLines = 0) {
    if (!ready) setUp();
    const State& s = state();
    Program& p = programs[(s.shadeModel == GL_FLAT ? 1 : 0) + (wideLines > 0 ? 2 : 0)];
    emscripten_glUseProgram(p.id);
    if (wideLines > 0) {
        emscripten_glUniform2f(p.viewport, float(s.viewport[2] > 0 ? s.viewport[2] : 1),
                               float(s.viewport[3] > 0 ? s.viewport[3] : 1));
        emscripten_glUniform1f(p.width, wideLines);
    }
    if (p.matrixSerial != s.matrixSerial) {
        p.matrixSerial = s.matrixSerial;
        emscripten_glUniformMatrix4fv(p.projection, 1, GL_FALSE, s.projection.back().m);
        emscripten_glUniformMatrix4fv(p.modelview, 1, GL_FALSE, s.modelview.back().m);
        float n[9];
        normalMatrix(s.modelview.back(), n);
        emscripten_glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, n);
    }
    if (p.pointSizeSent != s.pointSize) {
        p.pointSizeSent = s.pointSize;
        emscripten_glUniform1f(p.pointSize, s.pointSize);
    }
    if (p.lightSerial != s.lightSerial) {
        p.lightSerial = s.lightSerial;
        emscripten_glUniform1i(p.lighting, s.lighting);
        emscripten_glUniform1i(p.normalize, s.normalize || s.rescaleNormal);
        emscripten_glUniform1i(p.twoSide, s.twoSide);
        int mask = 0;
        float pos[4 * ZW_LIGHTS], amb[4 * ZW_LIGHTS], dif[4 * ZW_LIGHTS], spe[4 * ZW_LIGHTS], att[3 * ZW_LIGHTS];
        for (int i = 0; i < ZW_LIGHTS; ++i) {
            mask |= s.lightOn[i] << i;
            for (int k = 0; k < 4; ++k) {
                pos[4 * i + k] = s.light[i].position[k];
                amb[4 * i + k] = s.light[i].ambient[k];
                dif[4 * i + k] = s.light[i].diffuse[k];
                spe[4 * i + k] = s.light[i].specular[k];
            }
            for (int k = 0; k < 3; ++k) att[3 * i + k] = s.light[i].attenuation[k];
        }
        emscripten_glUniform1i(p.lights, mask);
        emscripten_glUniform4fv(p.lightPos, ZW_LIGHTS, pos);
        emscripten_glUniform4fv(p.lightAmbient, ZW_LIGHTS, amb);
        emscripten_glUniform4fv(p.lightDiffuse, ZW_LIGHTS, dif);
        emscripten_glUniform4fv(p.lightSpecular, ZW_LIGHTS, spe);
        emscripten_glUniform3fv(p.lightAtten, ZW_LIGHTS, att);
        emscripten_glUniform4fv(p.modelAmbient, 1, s.modelAmbient);
        float ma[8], md[8], ms[8], me[8], sh[2];
        for (int f = 0; f < 2; ++f) {
            for (int k = 0; k < 4; ++k) {
                ma[4 * f + k] = s.material[f].ambient[k];
                md[4 * f + k] = s.material[f].diffuse[k];
                ms[4 * f + k] = s.material[f].specular[k];
                me[4 * f + k] = s.material[f].emission[k];
            }
            sh[f] = s.material[f].shininess;
        }
        emscripten_glUniform4fv(p.matAmbient, 2, ma);
        emscripten_glUniform4fv(p.matDiffuse, 2, md);
        emscripten_glUniform4fv(p.matSpecular, 2, ms);
        emscripten_glUniform4fv(p.matEmission, 2, me);
        emscripten_glUniform1fv(p.matShininess, 2, sh);
        int faces = 0;
        if (s.colorMaterial) {
            if (s.colorMaterialFace != GL_BACK) faces |= 1;
            if (s.colorMaterialFace != GL_FRONT) faces |= 2;
        }
        emscripten_glUniform1i(p.colorFaces, faces);
        emscripten_glUniform1i(p.colorMode, colorModeCode(s.colorMaterialMode));
    }
}

void pointAttributes() {
    const GLsizei stride = sizeof(Vertex);
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glEnableVertexAttribArray(1);
    emscripten_glEnableVertexAttribArray(2);
    emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, pos));
    emscripten_glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, color));
    emscripten_glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(Vertex, normal));
}

bool isLines(GLenum mode) { return mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP; }

// The line width GL draws: the set width rounded, at least one pixel.
float drawnWidth() {
    const float w = std::round(state().lineWidth);
    return w < 1 ? 1 : w;
}

struct WideVertex {
    Vertex v;
    float other[3];
    float side;
};

// Lines wider than a pixel, which WebGL cannot draw: each segment as two
// triangles that the wide program widens across the line. Both triangles end
// on the segment's second vertex, whose colour GL's flat shading takes.
void drawWide(GLenum mode, const Vertex* v, int count, float width) {
    static std::vector<WideVertex> out;
    out.clear();
    auto segment = [&](int a, int b) {
        auto at = [&](int i, int j, float side) {
            WideVertex w;
            w.v = v[i];
            std::memcpy(w.other, v[j].pos, sizeof w.other);
            w.side = side;
            out.push_back(w);
        };
        at(a, b, -1), at(a, b, 1), at(b, a, 1);
        at(a, b, -1), at(b, a, 1), at(b, a, -1);
    };
    if (mode == GL_LINES) {
        for (int i = 0; i + 1 < count; i += 2) segment(i, i + 1);
    } else {
        for (int i = 0; i + 1 < count; ++i) segment(i, i + 1);
        if (mode == GL_LINE_LOOP && count > 2) segment(count - 1, 0);
    }
    if (out.empty()) return;
    use(width);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, stream);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(out.size() * sizeof(WideVertex)), out.data(), GL_STREAM_DRAW);
    const GLsizei stride = sizeof(WideVertex);
    for (GLuint a : {0u, 1u, 2u, 4u, 5u}) emscripten_glEnableVertexAttribArray(a);
    emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(WideVertex, v.pos));
    emscripten_glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(WideVertex, v.color));
    emscripten_glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(WideVertex, v.normal));
    emscripten_glVertexAttribPointer(4, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(WideVertex, other));
    emscripten_glVertexAttribPointer(5, 1, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(WideVertex, side));
    emscripten_glDrawArrays(GL_TRIANGLES, 0, GLsizei(out.size()));
    emscripten_glDisableVertexAttribArray(4);
    emscripten_glDisableVertexAttribArray(5);
}

// The vertices of kept line blocks, for drawing them wide.
std::map<unsigned, std::vector<Vertex>> keptLines;

}  // namespace

void drawBlock(GLenum mode, const Vertex* vertices, int count) {
    if (!submit) return;
    if (isLines(mode) && drawnWidth() > 1) {
        drawWide(mode, vertices, count, drawnWidth());
        return;
    }
    use();
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, stream);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count) * GLsizeiptr(sizeof(Vertex)), vertices,
                            GL_STREAM_DRAW);
    pointAttributes();
    emscripten_glDrawArrays(mode, 0, count);
}

unsigned keepBlock(GLenum mode, const Vertex* vertices, int count) {
    if (!ready) setUp();
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count) * GLsizeiptr(sizeof(Vertex)), vertices,
                            GL_STATIC_DRAW);
    if (isLines(mode)) keptLines[buffer].assign(vertices, vertices + count);
    return buffer;
}

void drawKept(unsigned buffer, GLenum mode, int count) {
    if (!submit) return;
    if (isLines(mode) && drawnWidth() > 1) {
        const std::vector<Vertex>& v = keptLines[buffer];
        drawWide(mode, v.data(), int(v.size()), drawnWidth());
        return;
    }
    use();
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    pointAttributes();
    emscripten_glDrawArrays(mode, 0, count);
}

}  // namespace zw
