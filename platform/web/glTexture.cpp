// Texture objects on the CPU side: names and binding, images of every GL 1.1
// format and type unpacked under glPixelStore (glPixels.cpp) and converted to
// RGBA8 (the base format kept beside them), parameters, the level queries.
// The WebGL side uploads what it is handed (uploadTexture) and samples it.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "platform/web/glState.h"

namespace zw {

namespace {

// Name 0 is each target's default texture; the proxies answer the level
// queries of glTexImage's proxy targets.
Texture default1D, default2D, proxy1D, proxy2D;
std::map<GLuint, Texture> textures;
std::set<GLuint> reserved;  // names glGenTextures handed out, not yet bound

bool mipmapping(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

}  // namespace

Texture& boundTo(GLenum target) {
    const State& s = state();
    const GLuint name = target == GL_TEXTURE_1D ? s.bound1D : s.bound2D;
    if (name != 0) {
        auto it = textures.find(name);
        if (it != textures.end()) return it->second;
    }
    return target == GL_TEXTURE_1D ? default1D : default2D;
}

Texture* boundTexture() {
    const State& s = state();
    if (s.texture2D) return &boundTo(GL_TEXTURE_2D);
    if (s.texture1D) return &boundTo(GL_TEXTURE_1D);
    return nullptr;
}

bool textureComplete(const Texture& t) {
    if (!t.level[0].defined()) return false;
    if (!mipmapping(t.minFilter)) return true;
    int w = t.width, h = t.height;
    for (int i = 1; i < ZW_TEXTURE_LEVELS && (w > 1 || h > 1); ++i) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        const TextureLevel& l = t.level[i];
        if (l.width != w || l.height != h || l.border != t.level[0].border ||
            l.internalFormat != t.level[0].internalFormat)
            return false;
    }
    return true;
}

void saveTextureParams(TextureParams out[2]) {
    for (int k = 0; k < 2; ++k) {
        const Texture& t = boundTo(k == 0 ? GL_TEXTURE_1D : GL_TEXTURE_2D);
        out[k] = {k == 0 ? state().bound1D : state().bound2D, t.wrapS, t.wrapT, t.minFilter, t.magFilter, t.priority,
                  {t.borderColor[0], t.borderColor[1], t.borderColor[2], t.borderColor[3]}};
    }
}

void restoreTextureParams(const TextureParams in[2]) {
    for (int k = 0; k < 2; ++k) {
        // A texture deleted since the push has nothing to restore.
        Texture* t = in[k].name == 0 ? (k == 0 ? &default1D : &default2D) : nullptr;
        if (!t) {
            auto it = textures.find(in[k].name);
            if (it == textures.end()) continue;
            t = &it->second;
        }
        t->wrapS = in[k].wrapS, t->wrapT = in[k].wrapT;
        t->minFilter = in[k].minFilter, t->magFilter = in[k].magFilter;
        t->priority = in[k].priority;
        std::memcpy(t->borderColor, in[k].borderColor, sizeof t->borderColor);
        ++t->serial;
    }
}

// ---- Texture images -------------------------------------------------------------------

namespace {

// The base format of an internal format, 0 for one GL 1.1 does not have.
GLenum baseFormatOf(GLint internal) {
    switch (internal) {
    case 1: case GL_LUMINANCE: case GL_LUMINANCE4: case GL_LUMINANCE8: case GL_LUMINANCE12: case GL_LUMINANCE16:
        return GL_LUMINANCE;
    case 2: case GL_LUMINANCE_ALPHA: case GL_LUMINANCE4_ALPHA4: case GL_LUMINANCE6_ALPHA2: case GL_LUMINANCE8_ALPHA8:
    case GL_LUMINANCE12_ALPHA4: case GL_LUMINANCE12_ALPHA12: case GL_LUMINANCE16_ALPHA16:
        return GL_LUMINANCE_ALPHA;
    case 3: case GL_RGB: case GL_R3_G3_B2: case GL_RGB4: case GL_RGB5: case GL_RGB8: case GL_RGB10: case GL_RGB12:
    case GL_RGB16:
        return GL_RGB;
    case 4: case GL_RGBA: case GL_RGBA2: case GL_RGBA4: case GL_RGB5_A1: case GL_RGBA8: case GL_RGB10_A2:
    case GL_RGBA12: case GL_RGBA16:
        return GL_RGBA;
    case GL_ALPHA: case GL_ALPHA4: case GL_ALPHA8: case GL_ALPHA12: case GL_ALPHA16: return GL_ALPHA;
    case GL_INTENSITY: case GL_INTENSITY4: case GL_INTENSITY8: case GL_INTENSITY12: case GL_INTENSITY16:
        return GL_INTENSITY;
    default: return 0;
    }
}

// RGBA floats as the texture keeps them: RGBA8 with the components the base
// format has (luminance and intensity taken from red, as GL does):
// alpha (0, 0, 0, A), luminance (L, L, L, 1), luminance alpha (L, L, L, A),
// intensity (I, I, I, I), RGB (R, G, B, 1), RGBA.
unsigned char toByte(float c) { return (unsigned char)(std::lround((c < 0 ? 0 : c > 1 ? 1 : c) * 255)); }

void toTexels(GLenum base, const float* in, unsigned char* out) {
    const unsigned char r = toByte(in[0]), g = toByte(in[1]), b = toByte(in[2]), a = toByte(in[3]);
    switch (base) {
    case GL_ALPHA: out[0] = out[1] = out[2] = 0, out[3] = a; break;
    case GL_LUMINANCE: out[0] = out[1] = out[2] = r, out[3] = 255; break;
    case GL_LUMINANCE_ALPHA: out[0] = out[1] = out[2] = r, out[3] = a; break;
    case GL_INTENSITY: out[0] = out[1] = out[2] = out[3] = r; break;
    case GL_RGB: out[0] = r, out[1] = g, out[2] = b, out[3] = 255; break;
    default: out[0] = r, out[1] = g, out[2] = b, out[3] = a; break;
    }
}

// A texel back as GL's table gives a texture's components in RGBA (for
// glGetTexImage): luminance and intensity in red.
void fromTexel(GLenum base, const unsigned char* t, float* out) {
    const float r = t[0] / 255.0f, g = t[1] / 255.0f, b = t[2] / 255.0f, a = t[3] / 255.0f;
    out[0] = out[1] = out[2] = 0, out[3] = 1;
    switch (base) {
    case GL_ALPHA: out[3] = a; break;
    case GL_LUMINANCE: case GL_INTENSITY: out[0] = r; break;
    case GL_LUMINANCE_ALPHA: out[0] = r, out[3] = a; break;
    case GL_RGB: out[0] = r, out[1] = g, out[2] = b; break;
    default: out[0] = r, out[1] = g, out[2] = b, out[3] = a; break;
    }
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

bool isTarget(GLenum target, int dims) {
    return dims == 1 ? target == GL_TEXTURE_1D : target == GL_TEXTURE_2D;
}

// Checks a new image's target, level, sizes and border; the texture it goes
// to, or null (with GL's error; a proxy answers by a level of zero size).
Texture* imageTarget(const char* name, GLenum target, int dims, GLint level, GLint internal, int w, int h,
                     GLint border) {
    const bool proxy = target == (dims == 1 ? GL_PROXY_TEXTURE_1D : GL_PROXY_TEXTURE_2D);
    if (!proxy && !isTarget(target, dims)) {
        setError(GL_INVALID_ENUM);
        return nullptr;
    }
    const int max = maxTexture();
    if (level < 0 || level >= ZW_TEXTURE_LEVELS || (1 << level) > max || (border != 0 && border != 1) ||
        baseFormatOf(internal) == 0 || w < 0 || h < 0) {
        setError(GL_INVALID_VALUE);
        return nullptr;
    }
    // A 1D image is one row: its border is at its two ends only.
    const int iw = w - 2 * border, ih = dims == 1 ? h : h - 2 * border;
    const bool sizes = (powerOfTwo(iw) || (iw == 0 && w == 0)) && (powerOfTwo(ih) || (ih == 0 && h == 0));
    const bool fits = iw <= max && ih <= max;
    if (proxy) {
        Texture& p = dims == 1 ? proxy1D : proxy2D;
        TextureLevel& l = p.level[level];
        l = TextureLevel();
        if (sizes && fits) {
            l.width = iw, l.height = ih, l.border = border, l.internalFormat = internal;
        }
        return nullptr;
    }
    if (!sizes) {
        setError(GL_INVALID_VALUE);
        return nullptr;
    }
    if (!fits) {
        std::fprintf(stderr, "%s: a texture of %d x %d is larger than this browser's WebGL allows (%d)\n", name, iw,
                     ih, max);
        setError(GL_INVALID_VALUE);
        return nullptr;
    }
    return &boundTo(target);
}

// Defines a level from RGBA floats of w x h (with the border).
void defineLevel(Texture& t, GLenum target, int level, GLint internal, int w, int h, int border,
                 const std::vector<float>& rgba) {
    changing();
    const GLenum base = baseFormatOf(internal);
    TextureLevel& l = t.level[level];
    const int by = target == GL_TEXTURE_1D ? 0 : border;  // 1D: no border rows
    l.width = w - 2 * border;
    l.height = h - 2 * by;
    l.border = border;
    l.internalFormat = internal;
    l.rgba.assign(size_t(l.width) * size_t(l.height) * 4, 0);
    // WebGL has no borders: the texels inside them are kept.
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x)
            toTexels(base, &rgba[(size_t(y + by) * size_t(w) + size_t(x + border)) * 4],
                     &l.rgba[(size_t(y) * size_t(l.width) + size_t(x)) * 4]);
    if (l.width > 0)
        t.levelsDefined |= 1u << level;
    else
        t.levelsDefined &= ~(1u << level);
    if (level == 0) {
        t.baseFormat = base;
        t.width = l.width;
        t.height = l.height;
    }
    if (t.target == 0) t.target = target;
    ++t.serial;
    if (l.width > 0) uploadTexture(t, level, 0, 0, l.width, l.height, l.rgba.data(), true);
}

// A part of a defined level at (x, y) in GL's texel coordinates, where the
// border is at -1 and at the width.
void replaceLevel(Texture& t, int level, int x, int y, int w, int h, const std::vector<float>& rgba) {
    changing();
    TextureLevel& l = t.level[level];
    const GLenum base = baseFormatOf(l.internalFormat);
    // What falls on the border is dropped with it.
    int x0 = x, y0 = y, sx = 0, sy = 0, cw = w, ch = h;
    if (x0 < 0) sx = -x0, cw += x0, x0 = 0;
    if (y0 < 0) sy = -y0, ch += y0, y0 = 0;
    if (x0 + cw > l.width) cw = l.width - x0;
    if (y0 + ch > l.height) ch = l.height - y0;
    if (cw <= 0 || ch <= 0) return;
    std::vector<unsigned char> part(size_t(cw) * size_t(ch) * 4);
    for (int j = 0; j < ch; ++j)
        for (int i = 0; i < cw; ++i) {
            unsigned char* texel = &l.rgba[(size_t(y0 + j) * size_t(l.width) + size_t(x0 + i)) * 4];
            toTexels(base, &rgba[(size_t(sy + j) * size_t(w) + size_t(sx + i)) * 4], texel);
            std::memcpy(&part[(size_t(j) * size_t(cw) + size_t(i)) * 4], texel, 4);
        }
    ++t.serial;
    uploadTexture(t, level, x0, y0, cw, ch, part.data(), false);
}

// Checks a sub-image against its level: the texture, or null with GL's error.
Texture* subTarget(GLenum target, int dims, GLint level, int x, int y, int w, int h) {
    if (!isTarget(target, dims)) {
        setError(GL_INVALID_ENUM);
        return nullptr;
    }
    if (level < 0 || level >= ZW_TEXTURE_LEVELS || w < 0 || h < 0) {
        setError(GL_INVALID_VALUE);
        return nullptr;
    }
    Texture& t = boundTo(target);
    const TextureLevel& l = t.level[level];
    if (!l.defined()) {
        setError(GL_INVALID_OPERATION);
        return nullptr;
    }
    const int b = l.border, by = dims == 1 ? 0 : b;
    if (x < -b || y < -by || x + w > l.width + b || y + h > l.height + by) {
        setError(GL_INVALID_VALUE);
        return nullptr;
    }
    return &t;
}

// Texture images take colours and colour indices, not depth or stencil.
GLenum imageArgs(GLenum format, GLenum type) {
    return format == GL_DEPTH_COMPONENT || format == GL_STENCIL_INDEX ? GLenum(GL_INVALID_ENUM) : pixelArgs(format, type);
}

void texImage(const char* name, GLenum target, int dims, GLint level, GLint internal, GLsizei w, GLsizei h,
              GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    // The client's pixels are read at the call, also into a list.
    std::vector<float> rgba;
    const bool bad = imageArgs(format, type) != GL_NO_ERROR;
    const bool read = !bad && w >= 0 && h >= 0 && unpackImage(state().unpack, w, h, format, type, pixels, rgba);
    auto run = [=] {
        if (!outsideBlock()) return;
        Texture* t = imageTarget(name, target, dims, level, internal, w, h, border);
        if (!t) return;
        if (bad) return setError(GL_INVALID_ENUM);
        if (!read) return;  // unpackImage said why
        defineLevel(*t, target, level, internal, w, h, border, rgba);
    };
    if (compilingList()) {
        if (record(run)) run();
    } else {
        run();
    }
}

void texSubImage(GLenum target, int dims, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                 GLenum type, const GLvoid* pixels) {
    std::vector<float> rgba;
    const GLenum e = imageArgs(format, type);
    if (e != GL_NO_ERROR) setError(e);
    const bool read = e == GL_NO_ERROR && w >= 0 && h >= 0 && unpackImage(state().unpack, w, h, format, type, pixels, rgba);
    auto run = [=] {
        if (!outsideBlock()) return;
        Texture* t = subTarget(target, dims, level, x, y, w, h);
        if (t && read) replaceLevel(*t, level, x, y, w, h, rgba);
    };
    if (record(run)) run();
}

void copyTexImage(const char* name, GLenum target, int dims, GLint level, GLint internal, GLint x, GLint y,
                  GLsizei w, GLsizei h, GLint border) {
    auto run = [=] {
        if (!outsideBlock()) return;
        if (target == GL_PROXY_TEXTURE_1D || target == GL_PROXY_TEXTURE_2D) return setError(GL_INVALID_ENUM);
        Texture* t = imageTarget(name, target, dims, level, internal, w, h, border);
        if (t) defineLevel(*t, target, level, internal, w, h, border, framebuffer(x, y, w, h));
    };
    if (record(run)) run();
}

void copyTexSubImage(GLenum target, int dims, GLint level, GLint xoff, GLint yoff, GLint x, GLint y, GLsizei w,
                     GLsizei h) {
    auto run = [=] {
        if (!outsideBlock()) return;
        Texture* t = subTarget(target, dims, level, xoff, yoff, w, h);
        if (t) replaceLevel(*t, level, xoff, yoff, w, h, framebuffer(x, y, w, h));
    };
    if (record(run)) run();
}

// ---- Parameters ----------------------------------------------------------------------

void texParameter(GLenum target, GLenum pname, const double* v, bool fromInt) {
    const double p[4] = {v[0], v[1], v[2], v[3]};
    auto run = [=] {
        if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return setError(GL_INVALID_ENUM);
        if (!outsideBlock()) return;
        Texture& t = boundTo(target);
        const GLenum e = GLenum(p[0]);
        auto oneOf = [e](std::initializer_list<GLenum> allowed) {
            for (GLenum a : allowed)
                if (a == e) return true;
            return false;
        };
        switch (pname) {
        case GL_TEXTURE_WRAP_S: case GL_TEXTURE_WRAP_T:
            if (!oneOf({GL_CLAMP, GL_REPEAT, GL_CLAMP_TO_EDGE})) return setError(GL_INVALID_ENUM);
            changing();
            (pname == GL_TEXTURE_WRAP_S ? t.wrapS : t.wrapT) = e;
            break;
        case GL_TEXTURE_MIN_FILTER:
            if (!oneOf({GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST,
                        GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR}))
                return setError(GL_INVALID_ENUM);
            changing();
            t.minFilter = e;
            break;
        case GL_TEXTURE_MAG_FILTER:
            if (!oneOf({GL_NEAREST, GL_LINEAR})) return setError(GL_INVALID_ENUM);
            changing();
            t.magFilter = e;
            break;
        case GL_TEXTURE_BORDER_COLOR:
            changing();
            for (int i = 0; i < 4; ++i) {
                const double c = fromInt ? (2 * p[i] + 1) / 4294967295.0 : p[i];
                t.borderColor[i] = float(c < 0 ? 0 : c > 1 ? 1 : c);
            }
            break;
        case GL_TEXTURE_PRIORITY: t.priority = float(p[0] < 0 ? 0 : p[0] > 1 ? 1 : p[0]); break;
        default: return setError(GL_INVALID_ENUM);
        }
        ++t.serial;
    };
    if (record(run)) run();
}

// A texture parameter's values in floats, with whether it is a colour; 0 for none.
int getTexParameter(GLenum target, GLenum pname, float* out) {
    if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return 0;
    const Texture& t = boundTo(target);
    switch (pname) {
    case GL_TEXTURE_WRAP_S: out[0] = float(t.wrapS); return 1;
    case GL_TEXTURE_WRAP_T: out[0] = float(t.wrapT); return 1;
    case GL_TEXTURE_MIN_FILTER: out[0] = float(t.minFilter); return 1;
    case GL_TEXTURE_MAG_FILTER: out[0] = float(t.magFilter); return 1;
    case GL_TEXTURE_BORDER_COLOR: std::memcpy(out, t.borderColor, sizeof t.borderColor); return 4;
    case GL_TEXTURE_PRIORITY: out[0] = t.priority; return 1;
    case GL_TEXTURE_RESIDENT: out[0] = 1; return 1;
    default: return 0;
    }
}

// A level's values, -1 for a bad name (0 values are answered for an undefined level).
int getLevelParameter(GLenum target, GLint level, GLenum pname, GLint* out) {
    const Texture* t = target == GL_TEXTURE_1D || target == GL_TEXTURE_2D ? &boundTo(target)
                       : target == GL_PROXY_TEXTURE_1D                    ? &proxy1D
                       : target == GL_PROXY_TEXTURE_2D                    ? &proxy2D
                                                                          : nullptr;
    if (!t) return -1;
    if (level < 0 || level >= ZW_TEXTURE_LEVELS) return -2;
    const TextureLevel& l = t->level[level];
    const GLenum base = l.defined() ? baseFormatOf(l.internalFormat) : 0;
    auto bits = [&](bool has) { return l.defined() && has ? 8 : 0; };
    switch (pname) {
    case GL_TEXTURE_WIDTH: *out = l.defined() ? l.width + 2 * l.border : 0; return 1;
    case GL_TEXTURE_HEIGHT:
        *out = !l.defined() ? 0 : target == GL_TEXTURE_1D || target == GL_PROXY_TEXTURE_1D ? 1 : l.height + 2 * l.border;
        return 1;
    case GL_TEXTURE_BORDER: *out = l.border; return 1;
    case GL_TEXTURE_INTERNAL_FORMAT: *out = l.internalFormat; return 1;
    case GL_TEXTURE_RED_SIZE: case GL_TEXTURE_GREEN_SIZE: case GL_TEXTURE_BLUE_SIZE:
        *out = bits(base == GL_RGB || base == GL_RGBA);
        return 1;
    case GL_TEXTURE_ALPHA_SIZE: *out = bits(base == GL_ALPHA || base == GL_LUMINANCE_ALPHA || base == GL_RGBA); return 1;
    case GL_TEXTURE_LUMINANCE_SIZE: *out = bits(base == GL_LUMINANCE || base == GL_LUMINANCE_ALPHA); return 1;
    case GL_TEXTURE_INTENSITY_SIZE: *out = bits(base == GL_INTENSITY); return 1;
    default: return -1;
    }
}

}  // namespace
}  // namespace zw

using zw::state;

extern "C" {

void glGenTextures(GLsizei n, GLuint* names) {
    if (n < 0) return zw::setError(GL_INVALID_VALUE);
    if (!zw::outsideBlock()) return;
    GLuint next = 1;
    for (GLsizei i = 0; i < n; ++i) {
        while (zw::textures.count(next) || zw::reserved.count(next)) ++next;
        zw::reserved.insert(next);
        names[i] = next;
    }
}

void glBindTexture(GLenum target, GLuint name) {
    auto run = [=] {
        if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return zw::setError(GL_INVALID_ENUM);
        if (!zw::outsideBlock()) return;
        if (name != 0) {
            auto it = zw::textures.find(name);
            if (it != zw::textures.end() && it->second.target != 0 && it->second.target != target)
                return zw::setError(GL_INVALID_OPERATION);
            zw::Texture& t = zw::textures[name];
            t.name = name;
            t.target = target;
            zw::reserved.erase(name);
        }
        zw::State& s = state();
        GLuint& bound = target == GL_TEXTURE_1D ? s.bound1D : s.bound2D;
        if (bound == name) return;
        zw::changing();
        bound = name;
    };
    if (zw::record(run)) run();
}

void glDeleteTextures(GLsizei n, const GLuint* names) {
    if (n < 0) return zw::setError(GL_INVALID_VALUE);
    if (!zw::outsideBlock()) return;
    zw::State& s = state();
    for (GLsizei i = 0; i < n; ++i) {
        const GLuint name = names[i];
        zw::reserved.erase(name);
        auto it = zw::textures.find(name);
        if (name == 0 || it == zw::textures.end()) continue;
        // A bound texture's target falls back to its default texture.
        if (s.bound1D == name || s.bound2D == name) {
            zw::changing();
            if (s.bound1D == name) s.bound1D = 0;
            if (s.bound2D == name) s.bound2D = 0;
        }
        zw::freeTexture(it->second);
        zw::textures.erase(it);
    }
}

GLboolean glIsTexture(GLuint name) {
    if (!zw::outsideBlock()) return GL_FALSE;
    return name != 0 && zw::textures.count(name) ? GL_TRUE : GL_FALSE;
}

GLboolean glAreTexturesResident(GLsizei n, const GLuint* names, GLboolean* residences) {
    if (n < 0) {
        zw::setError(GL_INVALID_VALUE);
        return GL_FALSE;
    }
    if (!zw::outsideBlock()) return GL_FALSE;
    for (GLsizei i = 0; i < n; ++i)
        if (names[i] == 0 || !zw::textures.count(names[i])) {
            zw::setError(GL_INVALID_VALUE);
            return GL_FALSE;
        }
    // WebGL keeps every texture at hand: all are resident, and then GL leaves
    // `residences` alone.
    (void)residences;
    return GL_TRUE;
}

void glPrioritizeTextures(GLsizei n, const GLuint* names, const GLclampf* priorities) {
    if (n < 0) return zw::setError(GL_INVALID_VALUE);
    std::vector<std::pair<GLuint, float>> list;
    for (GLsizei i = 0; i < n; ++i) list.emplace_back(names[i], priorities[i]);
    auto run = [=] {
        if (!zw::outsideBlock()) return;
        for (const auto& p : list) {
            auto it = zw::textures.find(p.first);
            if (it != zw::textures.end()) it->second.priority = p.second < 0 ? 0 : p.second > 1 ? 1 : p.second;
        }
    };
    if (zw::record(run)) run();
}

void glTexImage1D(GLenum target, GLint level, GLint internal, GLsizei width, GLint border, GLenum format,
                  GLenum type, const GLvoid* pixels) {
    zw::texImage("glTexImage1D", target, 1, level, internal, width, 1, border, format, type, pixels);
}

void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
    zw::texImage("glTexImage2D", target, 2, level, internal, width, height, border, format, type, pixels);
}

void glTexSubImage1D(GLenum target, GLint level, GLint x, GLsizei width, GLenum format, GLenum type,
                     const GLvoid* pixels) {
    zw::texSubImage(target, 1, level, x, 0, width, 1, format, type, pixels);
}

void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                     GLenum type, const GLvoid* pixels) {
    zw::texSubImage(target, 2, level, x, y, width, height, format, type, pixels);
}

void glCopyTexImage1D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei width, GLint border) {
    zw::copyTexImage("glCopyTexImage1D", target, 1, level, GLint(internal), x, y, width, 1, border);
}

void glCopyTexImage2D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei width, GLsizei height,
                      GLint border) {
    zw::copyTexImage("glCopyTexImage2D", target, 2, level, GLint(internal), x, y, width, height, border);
}

void glCopyTexSubImage1D(GLenum target, GLint level, GLint xoff, GLint x, GLint y, GLsizei width) {
    zw::copyTexSubImage(target, 1, level, xoff, 0, x, y, width, 1);
}

void glCopyTexSubImage2D(GLenum target, GLint level, GLint xoff, GLint yoff, GLint x, GLint y, GLsizei width,
                         GLsizei height) {
    zw::copyTexSubImage(target, 2, level, xoff, yoff, x, y, width, height);
}

void glTexParameterfv(GLenum target, GLenum pname, const GLfloat* params) {
    double v[4];
    zw::paramValues(pname, GL_TEXTURE_BORDER_COLOR, params, v);
    zw::texParameter(target, pname, v, false);
}
void glTexParameteriv(GLenum target, GLenum pname, const GLint* params) {
    double v[4];
    zw::paramValues(pname, GL_TEXTURE_BORDER_COLOR, params, v);
    zw::texParameter(target, pname, v, true);
}
void glTexParameterf(GLenum target, GLenum pname, GLfloat param) {
    const double v[4] = {pname == GL_TEXTURE_BORDER_COLOR ? -1e300 : double(param), 0, 0, 0};
    if (pname == GL_TEXTURE_BORDER_COLOR) {
        auto run = [] { zw::setError(GL_INVALID_ENUM); };
        if (zw::record(run)) run();
        return;
    }
    zw::texParameter(target, pname, v, false);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) { glTexParameterf(target, pname, GLfloat(param)); }

void glGetTexParameterfv(GLenum target, GLenum pname, GLfloat* params) {
    if (!zw::outsideBlock()) return;
    if (zw::getTexParameter(target, pname, params) == 0) zw::setError(GL_INVALID_ENUM);
}
void glGetTexParameteriv(GLenum target, GLenum pname, GLint* params) {
    if (!zw::outsideBlock()) return;
    float v[4];
    const int n = zw::getTexParameter(target, pname, v);
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i)
        params[i] = pname == GL_TEXTURE_BORDER_COLOR
                        ? GLint(std::floor((4294967295.0 * v[i] - 1) / 2 + 0.5))
                        : GLint(std::lround(v[i]));
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params) {
    if (!zw::outsideBlock()) return;
    const int n = zw::getLevelParameter(target, level, pname, params);
    if (n == -1) zw::setError(GL_INVALID_ENUM);
    if (n == -2) zw::setError(GL_INVALID_VALUE);
}
void glGetTexLevelParameterfv(GLenum target, GLint level, GLenum pname, GLfloat* params) {
    GLint v = 0;
    const GLenum before = state().error;
    glGetTexLevelParameteriv(target, level, pname, &v);
    if (state().error == before || before != GL_NO_ERROR) *params = GLfloat(v);
}

void glGetTexImage(GLenum target, GLint level, GLenum format, GLenum type, GLvoid* pixels) {
    if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return zw::setError(GL_INVALID_ENUM);
    if (level < 0 || level >= ZW_TEXTURE_LEVELS) return zw::setError(GL_INVALID_VALUE);
    if (!zw::outsideBlock()) return;
    if (format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX || format == GL_DEPTH_COMPONENT || type == GL_BITMAP)
        return zw::setError(GL_INVALID_ENUM);
    const zw::Texture& t = zw::boundTo(target);
    const zw::TextureLevel& l = t.level[level];
    if (!l.defined() || !pixels) return;
    const GLenum base = zw::baseFormatOf(l.internalFormat);
    std::vector<float> rgba(l.rgba.size());
    for (size_t i = 0; i < l.rgba.size(); i += 4) zw::fromTexel(base, &l.rgba[i], &rgba[i]);
    zw::packImage(state().pack, l.width, l.height, format, type, rgba.data(), pixels);
}

}  // extern "C"
