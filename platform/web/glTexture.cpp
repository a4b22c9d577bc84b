// Texture objects on the CPU side: names, binding, images validated and
// converted to RGBA8, parameters. The WebGL side uploads what it is handed.
#include <GL/gl.h>

#include <map>

#include "platform/web/glState.h"

namespace zw {

namespace {
// Name 0 is each target's default texture.
Texture default1D, default2D;
std::map<GLuint, Texture> textures;
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

static bool mipmapping(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

bool textureComplete(const Texture& t) {
    if (!t.level[0].defined()) return false;
    if (!mipmapping(t.minFilter)) return true;
    int w = t.width, h = t.height;
    for (int i = 1; i < ZW_TEXTURE_LEVELS && (w > 1 || h > 1); ++i) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        const TextureLevel& l = t.level[i];
        if (l.width != w || l.height != h || l.internalFormat != t.level[0].internalFormat) return false;
    }
    return true;
}

}  // namespace zw
