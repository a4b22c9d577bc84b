// The shape viewer example driven through the framework's real event path on
// the recording stand-in: the clicks and drags arrive as GLUT would deliver
// them for a 1024 x 768 window, so the positions are those of the X11 test.
//
// The example itself is built out of tree against the installed package; its
// logic is compiled into this test directly.
#include "examples/shapeview/shapeview.cpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "framework_state.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class ShapeView : public testing::Test {
protected:
    // One file per test and process: ctest runs the tests of this file in parallel.
    std::string file = testing::TempDir() + "test_shapeview_" +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                       std::to_string(getpid()) + ".zos";
    shapeviewApp* app = nullptr;

    void SetUp() override {
        fwtest::freshOpen();
        std::remove(file.c_str());
        app = new shapeviewApp(file.c_str(), true);
        app->selfStart();  // the stand-in's main loop returns at once
        fakegl::reshapeFunc(1024, 768);
        frame();
    }
    void TearDown() override {
        apps[glutGetWindow()] = nullptr;
        delete app;
        std::remove(file.c_str());
    }

    void frame() {
        CaptureStdout();
        fakegl::displayFunc();
        GetCapturedStdout();
    }
    // GLUT reports y from the top row; (x, y) here count from the bottom-left.
    static int glutY(float y) { return 767 - int(y); }
    std::string click(float x, float y) {
        CaptureStdout();
        fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, int(x), glutY(y));
        fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_UP, int(x), glutY(y));
        return GetCapturedStdout();
    }
    std::string drag(float x0, float y0, float x1, float y1) {
        CaptureStdout();
        fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, int(x0), glutY(y0));
        fakegl::motionFunc(int((x0 + x1) / 2), glutY((y0 + y1) / 2));
        fakegl::motionFunc(int(x1), glutY(y1));
        fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_UP, int(x1), glutY(y1));
        return GetCapturedStdout();
    }
    std::string key(char k) {
        CaptureStdout();
        fakegl::keyboardFunc((unsigned char)k, 0, 0);
        return GetCapturedStdout();
    }
    std::string bytes() {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The record of shape i as the shape layer writes it.
    std::string record(int i) {
        char* buf = nullptr;
        size_t len = 0;
        FILE* f = open_memstream(&buf, &len);
        app->shapes[i]->writeToFile(f);
        std::fclose(f);
        std::string r(buf, len);
        std::free(buf);
        return r;
    }
    void put(const std::string& data) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << data;
    }
};

// Where each shape stands with the rotation stopped (window pixels from the
// bottom-left): the centre of the wave, inside the star's core, on the
// hexagon's top edge, and on the first point of the ring.
TEST_F(ShapeView, ClicksPickTheShapeUnderThePointer) {
    EXPECT_EQ(click(128, 384), "picked: wave\n");
    EXPECT_EQ(click(399, 394), "picked: fan\n");
    EXPECT_EQ(click(640, 449), "picked: loop\n");
    EXPECT_EQ(click(966, 384), "picked: points\n");
    EXPECT_EQ(click(512, 700), "picked: nothing\n");
    // Between the hexagon's top edge and the pick distance of 5 pixels.
    EXPECT_EQ(click(640, 453), "picked: loop\n");
    EXPECT_EQ(click(640, 456), "picked: nothing\n");
    // The segment that closes the loop, from the last vertex back to the first.
    EXPECT_EQ(click(696, 351), "picked: loop\n");
    // A press and release a few pixels apart is still a click.
    CaptureStdout();
    fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 966, glutY(384));
    fakegl::motionFunc(968, glutY(385));
    fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_UP, 968, glutY(385));
    EXPECT_EQ(GetCapturedStdout(), "picked: points\n");
}

TEST_F(ShapeView, DragsSelectTheShapesWhollyInside) {
    EXPECT_EQ(drag(290, 290, 480, 480), "selected: fan\n");
    EXPECT_EQ(drag(1020, 490, 540, 280), "selected: loop, points\n");  // any corner order
    EXPECT_EQ(drag(2, 2, 1020, 760), "selected: wave, fan, loop, points\n");
    EXPECT_EQ(drag(300, 300, 400, 400), "selected: nothing\n");  // only part of the star
    EXPECT_EQ(drag(10, 700, 900, 740), "selected: nothing\n");
}

TEST_F(ShapeView, ThePickedShapeIsDrawnInTheHighlightUnlit) {
    ASSERT_EQ(click(640, 449), "picked: loop\n");
    fakegl::calls.clear();
    frame();
    std::vector<std::string> t = fakegl::trace();
    const std::string yellow = fwtest::call("glColor4f", {1, 1, 0, 1});
    auto begin = std::find(t.begin(), t.end(), fwtest::call("glBegin", {GL_LINE_LOOP}));
    ASSERT_NE(begin, t.end());
    EXPECT_EQ(begin[-1], fwtest::call("glDisable", {GL_LIGHTING}));
    EXPECT_EQ(begin[1], yellow);
    EXPECT_EQ(std::count(t.begin(), t.end(), yellow), 1);  // no other shape
    // The shape's own colour is back for the file and the next frames.
    EXPECT_EQ(app->shapes[2]->Color.x, 0.85f);

    // The star's per-vertex colours give way to the highlight, and come back.
    ASSERT_EQ(click(399, 394), "picked: fan\n");
    fakegl::calls.clear();
    frame();
    t = fakegl::trace();
    begin = std::find(t.begin(), t.end(), fwtest::call("glBegin", {GL_TRIANGLE_FAN}));
    ASSERT_NE(begin, t.end());
    auto end = std::find(begin, t.end(), fwtest::call("glEnd"));
    int colours = 0;
    for (auto c = begin; c != end; ++c)
        if (c->rfind("glColor4f", 0) == 0) {
            EXPECT_EQ(*c, yellow);
            colours++;
        }
    EXPECT_EQ(colours, 1);
    EXPECT_TRUE(app->shapes[1]->enableVertexColors);
    EXPECT_EQ(click(512, 700), "picked: nothing\n");
    fakegl::calls.clear();
    frame();
    t = fakegl::trace();
    EXPECT_EQ(std::count(t.begin(), t.end(), yellow), 0);
}

// The wave's strips are laid out so that their computed normals face the
// viewer; the other way round the lit side would be the hidden one.
TEST_F(ShapeView, TheWavesNormalsFaceTheViewerAndFollowTheTurn) {
    zoShape* wave = app->shapes[0];
    ASSERT_TRUE(wave->enableVertexNormals);
    std::vector<float> before;
    for (int i = 0; i < wave->listLength; i++) {
        EXPECT_GT(wave->normalList[i].z, 0) << "vertex " << i;
        before.push_back(wave->normalList[i].x);
    }
    key(' ');  // the rotation runs
    fakegl::idleFunc();
    EXPECT_EQ(wave->Rotation.x, 20.0f + 0.4f);
    frame();
    int moved = 0;
    for (int i = 0; i < wave->listLength; i++) moved += wave->normalList[i].x != before[i];
    EXPECT_EQ(moved, wave->listLength);
    EXPECT_EQ(key(' '), "rotation stopped\n");
    fakegl::idleFunc();
    EXPECT_EQ(wave->Rotation.x, 20.0f + 0.4f);
}

TEST_F(ShapeView, SaveThenLoadRestoresEveryShape) {
    const std::string listed = key('i');
    EXPECT_EQ(key('s'), "saved 4 shapes to " + file + "\n");
    EXPECT_EQ(bytes(), record(0) + record(1) + record(2) + record(3));
    EXPECT_EQ(key('m'), "shrank and turned the shapes\n");
    ASSERT_NE(key('i'), listed);
    frame();
    EXPECT_EQ(click(640, 449), "picked: nothing\n");  // the hexagon is half as big now

    EXPECT_EQ(key('l'), "loaded 4 shapes from " + file + "\n");
    EXPECT_EQ(key('i'), listed);
    // Until the next frame the loaded shapes have no screen positions: a click
    // at the corner where unprojected vertices would sit finds nothing.
    EXPECT_EQ(click(0, 0), "picked: nothing\n");
    frame();
    EXPECT_EQ(click(640, 449), "picked: loop\n");
    EXPECT_EQ(click(966, 384), "picked: points\n");
    EXPECT_EQ(drag(290, 290, 480, 480), "selected: fan\n");
    // Saving the loaded shapes writes the same file again.
    const std::string first = bytes();
    key('s');
    EXPECT_EQ(bytes(), first);
}

TEST_F(ShapeView, ABadFileIsReportedAndChangesNothing) {
    key('s');
    const std::string good = bytes();
    key('m');
    const std::string listed = key('i');
    zoShape* const before[SV_SHAPES] = {app->shapes[0], app->shapes[1], app->shapes[2], app->shapes[3]};
    auto expectRefused = [&](const std::string& data, const std::string& why) {
        put(data);
        const std::string said = key('l');
        EXPECT_NE(said.find("load failed: " + file + ": " + why + "; nothing changed\n"), std::string::npos)
            << said;
        EXPECT_EQ(said.find("loaded"), std::string::npos) << said;
        for (int i = 0; i < SV_SHAPES; i++) EXPECT_EQ(app->shapes[i], before[i]);
        EXPECT_EQ(key('i'), listed);
    };

    const size_t wave = record(0).size();
    // Cut anywhere: inside a head, inside the arrays, at a record's end.
    std::vector<size_t> cuts = {0, 1, 85, 86, 87, wave - 1, wave, wave + 86, good.size() - 1};
    for (size_t n = 3; n < good.size(); n += 97) cuts.push_back(n);
    for (size_t n : cuts) {
        SCOPED_TRACE("cut to " + std::to_string(n) + " bytes");
        put(good.substr(0, n));
        const std::string said = key('l');
        EXPECT_NE(said.find("load failed: " + file + ": shape "), std::string::npos) << said;
        EXPECT_NE(said.find(" of 4 is damaged or cut short; nothing changed\n"), std::string::npos) << said;
        for (int i = 0; i < SV_SHAPES; i++) EXPECT_EQ(app->shapes[i], before[i]);
    }
    EXPECT_EQ(key('i'), listed);

    expectRefused(good + "x", "the file holds more than 4 shapes");
    std::string flag = good;
    flag[wave + 73] = 2;  // the second record's picking flag
    expectRefused(flag, "shape 2 of 4 is damaged or cut short");
    std::string style = good;
    style[wave] = 77;  // the second record's primitive mode
    expectRefused(style, "shape 2 of 4 is damaged or cut short");
    std::string order = good;
    order[4] = 6;  // the first record's transform order
    expectRefused(order, "shape 1 of 4 is damaged or cut short");
    std::string count = good;
    count[wave + 74 + 3] = 0x7f;  // the second record claims about two billion vertices
    expectRefused(count, "shape 2 of 4 is damaged or cut short");

    std::remove(file.c_str());
    EXPECT_EQ(key('l'), "load failed: " + file + ": No such file or directory; nothing changed\n");

    // The good file still loads after all that.
    put(good);
    EXPECT_EQ(key('l'), "loaded 4 shapes from " + file + "\n");
}

TEST_F(ShapeView, AFailedSaveSaysSoAndEscapeStillQuits) {
    shapeviewApp other("/nonexistent-dir/shapes.zos", true);
    CaptureStdout();
    EXPECT_FALSE(other.save());
    EXPECT_EQ(GetCapturedStdout(), "save failed: /nonexistent-dir/shapes.zos.part: No such file or directory\n");

    EXPECT_EQ(key('q'), "");  // not one of ours: the framework ignores it
    key(27);
    EXPECT_EQ(fakegl::idleFunc, &winddown_cb);
}

// A file cut inside its second record: the first record is sound, but the
// load takes nothing, not even the first shape. A good file then replaces
// all four at once.
TEST_F(ShapeView, ALoadReplacesAllTheShapesOrNone) {
    const std::string original = key('i');
    key('s');
    const std::string good = bytes();
    key('m');  // the shapes on screen now differ from every record in the file
    frame();
    const std::string shrunk = key('i');
    fakegl::calls.clear();
    frame();
    const std::vector<std::string> picture = fakegl::trace();
    zoShape* const before[SV_SHAPES] = {app->shapes[0], app->shapes[1], app->shapes[2], app->shapes[3]};

    const size_t second = record(0).size();  // where the second record starts
    for (size_t cut : {second + 1, second + 86, second + 100, second + record(1).size() - 1}) {
        SCOPED_TRACE("cut to " + std::to_string(cut) + " bytes");
        put(good.substr(0, cut));
        const std::string said = key('l');
        const std::string refused = "load failed: " + file + ": shape 2 of 4 is damaged or cut short; nothing changed\n";
        ASSERT_GE(said.size(), refused.size());
        EXPECT_EQ(said.substr(said.size() - refused.size()), refused);
        // Before it, the shape layer's one line on the second record.
        EXPECT_EQ(said.rfind("readFromFile: ", 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
        for (int i = 0; i < SV_SHAPES; i++) EXPECT_EQ(app->shapes[i], before[i]);
        EXPECT_EQ(key('i'), shrunk);
        fakegl::calls.clear();
        frame();
        EXPECT_EQ(fakegl::trace(), picture);
    }

    put(good);
    EXPECT_EQ(key('l'), "loaded 4 shapes from " + file + "\n");
    EXPECT_EQ(key('i'), original);
    for (int i = 0; i < SV_SHAPES; i++) EXPECT_NE(app->shapes[i], before[i]);
}

// svReadShapes itself: the shapes come out all together or not at all.
TEST(ShapeViewFile, ReadShapesHandsOverAllOrNone) {
    zoShape* built[SV_SHAPES];
    svBuildShapes(built);
    char* buf = nullptr;
    size_t len = 0;
    FILE* w = open_memstream(&buf, &len);
    for (zoShape* s : built) s->writeToFile(w);
    std::fclose(w);
    const std::string all(buf, len);
    std::free(buf);

    auto readFrom = [](const std::string& data, zoShape* out[SV_SHAPES], std::string& why) {
        std::string copy = data;
        FILE* r = fmemopen(copy.empty() ? nullptr : &copy[0], copy.size(), "rb");
        char text[128] = "";
        CaptureStdout();
        bool ok = r && svReadShapes(r, out, text, sizeof text);
        GetCapturedStdout();
        if (r) std::fclose(r);
        why = text;
        return ok;
    };
    zoShape dummy(false, false, false);
    zoShape* out[SV_SHAPES] = {&dummy, &dummy, &dummy, &dummy};
    std::string why;
    EXPECT_FALSE(readFrom(all.substr(0, all.size() - 1), out, why));
    EXPECT_EQ(why, "shape 4 of 4 is damaged or cut short");
    for (zoShape* s : out) EXPECT_EQ(s, nullptr);

    ASSERT_TRUE(readFrom(all, out, why));
    for (int i = 0; i < SV_SHAPES; i++) {
        ASSERT_NE(out[i], nullptr);
        EXPECT_NE(out[i], built[i]);
        EXPECT_EQ(out[i]->listLength, built[i]->listLength) << svNames[i];
        EXPECT_EQ(out[i]->drawStyle, built[i]->drawStyle) << svNames[i];
        delete out[i];
        delete built[i];
    }
}

}  // namespace
