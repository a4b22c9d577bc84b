// shapeview: the shapes, their drawing under the framework's camera, picking,
// selection and the shape file.
#include "shapeview.h"

#include <GL/gl.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/zou.h"
#include "math/zoTransforms.h"
#include "shape/zoNiceShapes.h"

const char* const svNames[SV_SHAPES] = {"wave", "fan", "loop", "points"};

static const int waveRows = 16, waveCols = 24;

// ---- The shapes ------------------------------------------------------------------

void svBuildShapes(zoShape* out[SV_SHAPES]) {
    // A grid bent into a wave along x, lit by its own per-vertex normals. x
    // follows the column and y the row, so the strips' normals face the viewer.
    zoMeshShape* wave = new zoMeshShape(waveRows, waveCols);
    for (int i = 0; i < waveRows; i++) {
        for (int j = 0; j < waveCols; j++) {
            float x = j - (waveCols - 1) * 0.5f;
            float y = i - (waveRows - 1) * 0.5f;
            wave->setMeshVertex(i, j, x, y, 1.8f * std::sin(0.6f * j));
            wave->setMeshVertexColor(i, j, 0.15f + 0.45f * j / (waveCols - 1), 0.55f,
                                     0.95f - 0.35f * i / (waveRows - 1), 1);
        }
    }
    wave->transformOrder = zo_T_R_S;
    wave->Scale.set(7, 7, 7);
    wave->Rotation.set(20, 0.28f, 0.96f, 0);
    out[0] = wave;

    // A sixteen-pointed star as one triangle fan around its centre.
    zoShape* fan = new zoShape(true, false, false);
    fan->drawStyle = GL_TRIANGLE_FAN;
    fan->setVertexColor(fan->addPoint(0, 0, 0), 1, 1, 1, 1);
    for (int k = 0; k <= 16; k++) {
        float a = float(k % 16) * 3.14159265f / 8;
        float r = (k % 2) ? 0.55f : 1.0f;
        int v = fan->addPoint(r * std::cos(a), r * std::sin(a), 0);
        if (k % 2)
            fan->setVertexColor(v, 0.85f, 0.2f, 0.6f, 1);
        else
            fan->setVertexColor(v, 0.95f, 0.35f, 0.2f, 1);
    }
    fan->transformOrder = zo_T_S_R;
    fan->Scale.set(80, 80, 1);
    fan->Rotation.set(0, 0, 0, 1);
    out[1] = fan;

    // A hexagon outline with flat top and bottom edges, turning about x.
    zoShape* loop = new zoShape(false, false, false);
    loop->drawStyle = GL_LINE_LOOP;
    for (int k = 0; k < 6; k++) {
        float a = float(k) * 3.14159265f / 3;
        loop->addPoint(std::cos(a), std::sin(a), 0);
    }
    loop->Color.set(0.85f, 0.9f, 1.0f, 1);
    loop->transformOrder = zo_S_R_T;
    loop->Scale.set(75, 75, 1);
    loop->Rotation.set(0, 1, 0, 0);
    out[2] = loop;

    // Twelve points on a circle. Rotating after the translation makes the ring
    // circle around the centre of its place instead of turning on the spot.
    zoShape* points = new zoShape(true, false, false);
    points->drawStyle = GL_POINTS;
    for (int k = 0; k < 12; k++) {
        float a = float(k) * 3.14159265f / 6;
        int v = points->addPoint(std::cos(a), std::sin(a), 0);
        points->setVertexColor(v, 0.5f + 0.45f * std::cos(a), 0.5f + 0.45f * std::cos(a + 2.0944f),
                               0.55f + 0.4f * std::cos(a + 4.18879f), 1);
    }
    points->transformOrder = zo_R_T_S;
    points->Translation.set(20, 0, 0);
    points->Scale.set(50, 50, 1);
    points->Rotation.set(0, 0, 0, 1);
    out[3] = points;
}

// ---- The shape file ----------------------------------------------------------------

bool svReadShapes(FILE* stream, zoShape* out[SV_SHAPES], char* why, size_t whySize) {
    // Every record goes into a shape of its own, never into one on screen, so
    // that a file that fails half way changes nothing that is shown.
    zoShape* fresh[SV_SHAPES] = {};
    bool ok = true;
    for (int k = 0; k < SV_SHAPES && ok; k++) {
        zoShape* s = fresh[k] = new zoShape(false, false, false);
        s->readFromFile(stream);
        if (std::ferror(stream)) {
            std::snprintf(why, whySize, "read error in shape %d of %d", k + 1, SV_SHAPES);
            ok = false;
        } else if (!zoShapeRecordAccepted() || s->drawStyle > 9 || unsigned(s->transformOrder) > 5) {
            // The shape layer stores primitive modes and transform orders it
            // does not know; this program draws none such.
            std::snprintf(why, whySize, "shape %d of %d is damaged or cut short", k + 1, SV_SHAPES);
            ok = false;
        }
    }
    if (ok && std::fgetc(stream) != EOF) {
        std::snprintf(why, whySize, "the file holds more than %d shapes", SV_SHAPES);
        ok = false;
    }
    for (int k = 0; k < SV_SHAPES; k++) {
        if (!ok) {
            delete fresh[k];
            fresh[k] = nullptr;
        }
        out[k] = fresh[k];
    }
    return ok;
}

// ---- The application ----------------------------------------------------------------

shapeviewApp::shapeviewApp(const char* fileName, bool still)
    : still(still), fileName(fileName), pressed(false), downX(0), downY(0), dragX(0), dragY(0) {
    zoTransformsInit();
    svBuildShapes(shapes);
    const float spins[SV_SHAPES] = {0.4f, -0.5f, 0.6f, 0.8f};
    for (int i = 0; i < SV_SHAPES; i++) {
        selected[i] = false;
        drawn[i] = false;
        spin[i] = spins[i];
    }
    zouWindowBgColor[0] = 0.08f;
    zouWindowBgColor[1] = 0.1f;
    zouWindowBgColor[2] = 0.16f;
}

shapeviewApp::~shapeviewApp() {
    for (int i = 0; i < SV_SHAPES; i++) delete shapes[i];
}

void shapeviewApp::printHelp() {
    std::printf("shapeview: click picks, drag selects, s saves to %s, l loads it, m shrinks and turns "
                "the shapes, i lists them, space stops or starts the rotation, Esc quits\n",
                fileName);
    std::fflush(stdout);
}

float shapeviewApp::slotX(int i) { return (i + 0.5f) * W / SV_SHAPES; }
float shapeviewApp::slotY(int i) {
    (void)i;
    return H * 0.5f;
}

void shapeviewApp::idle() {
    if (still) return;
    for (int i = 0; i < SV_SHAPES; i++)
        shapes[i]->Rotation.x = std::fmod(shapes[i]->Rotation.x + spin[i], 360.0f);
}

void shapeviewApp::drawShape(int i) {
    zoShape* s = shapes[i];
    if (selected[i]) {
        // The highlight is one flat colour, unlit, so it reads the same at every
        // angle; the shape's own colours come back after this draw.
        bool vertexColors = s->enableVertexColors;
        zoVec4f color = s->Color;
        s->enableVertexColors = false;
        s->Color.set(1, 1, 0, 1);
        glDisable(GL_LIGHTING);
        s->draw();
        glEnable(GL_LIGHTING);
        s->enableVertexColors = vertexColors;
        s->Color = color;
    } else if (s->enableVertexNormals) {
        // The strip normals face the side from which a strip's first triangle
        // runs clockwise; calling that side the front lets two-sided lighting
        // light whichever side faces the viewer as the shape turns.
        glFrontFace(GL_CW);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        s->draw();
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
        glFrontFace(GL_CCW);
    } else {
        s->draw();
    }
    drawn[i] = true;
}

void shapeviewApp::draw() {
    // The outermost frame left its camera in the projection matrix and the
    // model-view at the identity; the shapes project their vertices to the
    // screen with what is captured here.
    zoTransformsCaptureCamera();
    glPointSize(8);
    glLineWidth(3);
    for (int i = 0; i < SV_SHAPES; i++) {
        // Each shape's own transform composes on top of its place on screen.
        zoPushMatrix();
        zoTranslatef(slotX(i), slotY(i), 0);
        drawShape(i);
        zoPopMatrix();
    }
    if (pressed && (std::fabs(dragX - downX) > 3 || std::fabs(dragY - downY) > 3)) {
        // The rubber band lies on the plane z = 0, where one unit is one pixel.
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glLineWidth(1);
        glColor4f(0.7f, 0.7f, 0.7f, 1);
        glBegin(GL_LINE_LOOP);
        glVertex3f(downX, downY, 0);
        glVertex3f(dragX, downY, 0);
        glVertex3f(dragX, dragY, 0);
        glVertex3f(downX, dragY, 0);
        glEnd();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
    }
}

void shapeviewApp::mouseDown(float x, float y, int button) {
    (void)button;
    pressed = true;
    downX = dragX = x;
    downY = dragY = y;
}

void shapeviewApp::mouseDrag(float x, float y) {
    dragX = x;
    dragY = y;
}

void shapeviewApp::mouseUp(float x, float y, int button) {
    (void)button;
    if (!pressed) return;
    pressed = false;
    // A hand that moves a few pixels while clicking still means a click.
    if (std::fabs(x - downX) <= 3 && std::fabs(y - downY) <= 3)
        pick(downX, downY);
    else
        select(downX, downY, x, y);
}

void shapeviewApp::pick(float x, float y) {
    int hit = -1;
    for (int i = 0; i < SV_SHAPES; i++) {
        // A shape loaded since the last frame has no screen positions yet.
        bool inside = drawn[i] && shapes[i]->pointInside(x, y);
        if (inside && hit < 0) hit = i;
    }
    for (int i = 0; i < SV_SHAPES; i++) selected[i] = (i == hit);
    std::printf("picked: %s\n", hit < 0 ? "nothing" : svNames[hit]);
    std::fflush(stdout);
}

void shapeviewApp::select(float x0, float y0, float x1, float y1) {
    float left = std::fmin(x0, x1), right = std::fmax(x0, x1);
    float bottom = std::fmin(y0, y1), top = std::fmax(y0, y1);
    std::string names;
    for (int i = 0; i < SV_SHAPES; i++) {
        selected[i] = drawn[i] && shapes[i]->shapeInRect(left, bottom, right, top, false);
        if (selected[i]) {
            if (!names.empty()) names += ", ";
            names += svNames[i];
        }
    }
    std::printf("selected: %s\n", names.empty() ? "nothing" : names.c_str());
    std::fflush(stdout);
}

bool shapeviewApp::save() {
    // Write beside the file and rename over it, so that a failed save leaves
    // the last good file in place.
    std::string temp = std::string(fileName) + ".part";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        std::printf("save failed: %s: %s\n", temp.c_str(), std::strerror(errno));
        std::fflush(stdout);
        return false;
    }
    // A record the stream did not take (a full disk) makes the save fail.
    bool ok = true;
    for (int i = 0; i < SV_SHAPES && ok; i++) {
        shapes[i]->writeToFile(f);
        ok = zoShapeRecordAccepted();
    }
    ok = ok && !std::ferror(f);
    ok = (std::fclose(f) == 0) && ok;
    if (ok && std::rename(temp.c_str(), fileName) != 0) ok = false;
    if (!ok) {
        std::printf("save failed: %s: %s\n", fileName, std::strerror(errno));
        std::remove(temp.c_str());
    } else {
        std::printf("saved %d shapes to %s\n", SV_SHAPES, fileName);
    }
    std::fflush(stdout);
    return ok;
}

bool shapeviewApp::load() {
    FILE* f = std::fopen(fileName, "rb");
    if (!f) {
        std::printf("load failed: %s: %s; nothing changed\n", fileName, std::strerror(errno));
        std::fflush(stdout);
        return false;
    }
    char why[128];
    zoShape* loaded[SV_SHAPES];
    bool ok = svReadShapes(f, loaded, why, sizeof why);
    std::fclose(f);
    if (!ok) {
        std::printf("load failed: %s: %s; nothing changed\n", fileName, why);
        std::fflush(stdout);
        return false;
    }
    for (int i = 0; i < SV_SHAPES; i++) {
        delete shapes[i];
        shapes[i] = loaded[i];
        selected[i] = false;
        drawn[i] = false;
    }
    std::printf("loaded %d shapes from %s\n", SV_SHAPES, fileName);
    std::fflush(stdout);
    return true;
}

void shapeviewApp::perturb() {
    for (int i = 0; i < SV_SHAPES; i++) {
        zoShape* s = shapes[i];
        s->Scale.set(s->Scale.x * 0.5f, s->Scale.y * 0.5f, s->Scale.z * 0.5f);
        s->Rotation.x = std::fmod(s->Rotation.x + 30, 360.0f);
        s->Color.set(0.9f, 0.4f, 0.3f, 1);
    }
    std::printf("shrank and turned the shapes\n");
    std::fflush(stdout);
}

void shapeviewApp::printShapes() {
    static const char* const orders[6] = {"T_S_R", "T_R_S", "R_S_T", "R_T_S", "S_R_T", "S_T_R"};
    for (int i = 0; i < SV_SHAPES; i++) {
        zoShape* s = shapes[i];
        unsigned order = unsigned(s->transformOrder);
        std::printf("%s: style %u, order %s, %d vertices, %d indices, translation (%g, %g, %g), "
                    "scale (%g, %g, %g), rotation %g about (%g, %g, %g), colour (%g, %g, %g, %g)\n",
                    svNames[i], s->drawStyle, order < 6 ? orders[order] : "none", s->listLength,
                    s->enableIndex ? s->indexListLength : 0, s->Translation.x, s->Translation.y,
                    s->Translation.z, s->Scale.x, s->Scale.y, s->Scale.z, s->Rotation.x, s->Rotation.y,
                    s->Rotation.z, s->Rotation.w, s->Color.x, s->Color.y, s->Color.z, s->Color.w);
    }
    std::fflush(stdout);
}

void shapeviewApp::keyDown(char key) {
    switch (key) {
    case 's': save(); break;
    case 'l': load(); break;
    case 'm': perturb(); break;
    case 'i': printShapes(); break;
    case ' ':
        still = !still;
        std::printf(still ? "rotation stopped\n" : "rotation running\n");
        std::fflush(stdout);
        break;
    default: zoApp::keyDown(key);  // Escape quits
    }
}
