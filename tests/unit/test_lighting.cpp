// The lighting an application gets, as the headers and the README describe it:
// light 0 is directional and shines from in front of the screen, lighting is
// one-sided, and a mesh's strip normals face away from the camera as the mesh
// is constructed but towards it with its columns laid along x.
#include "framework_state.h"
#include "shape_support.h"

#include <gtest/gtest.h>

#include "math/zoTransforms.h"
#include "shape/zoNiceShapes.h"

namespace {

// The direction light 0 shines from, as the outermost frame of a window of this
// size places it (the model-view is the identity then, so eye coordinates are
// the real ones). Also checks it is a directional light.
zoVec3f lightFrom(int width, int height) {
    fwtest::freshOpen();
    zouWindowWidth = width;
    zouWindowHeight = height;
    zouOpenToviFrame();
    zouCloseToviFrame();
    for (const fakegl::Call& c : fakegl::only("glLightfv"))
        if (c.args[0] == GL_LIGHT0 && c.args[1] == GL_POSITION) {
            EXPECT_EQ(c.args[5], 0.0) << "light 0 is not directional";
            return zoVec3f(float(c.args[2]), float(c.args[3]), float(c.args[4]));
        }
    ADD_FAILURE() << "the outermost frame placed no light 0";
    return zoVec3f();
}

TEST(Lighting, LightZeroShinesFromInFrontAndLightingIsOneSided) {
    for (int size : {240, 480, 768}) {
        const zoVec3f from = lightFrom(size * 4 / 3, size);
        EXPECT_GT(from.z, 0) << "the camera looks along -z, so in front is +z";
        // No frame asks for two-sided lighting.
        EXPECT_EQ(fakegl::count("glLightModeli"), 0);
    }
}

// Every vertex normal of a drawn mesh, dotted with the direction of the light.
std::vector<float> facing(zoMeshShape& mesh, const zoVec3f& light) {
    shapetest::freshScene();
    shapetest::stdoutOf([&] { mesh.draw(); });
    std::vector<float> d;
    for (int k = 0; k < mesh.listLength; ++k) d.push_back(mesh.normalList[k].dot(light));
    return d;
}

TEST(Lighting, MeshFacesAwayAsBuiltAndTowardsWithColumnsAlongX) {
    const zoVec3f light = lightFrom(640, 480);
    zoMeshShape built(4, 5);
    for (float d : facing(built, light)) EXPECT_LT(d, 0) << "rows along +x, columns along +y";

    zoMeshShape turned(4, 5);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 5; ++j) turned.setMeshVertex(i, j, float(j), float(i), 0);
    for (float d : facing(turned, light)) EXPECT_GT(d, 0) << "columns along +x, rows along +y";
}

}  // namespace
