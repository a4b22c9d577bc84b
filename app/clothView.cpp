// The ground under the cloth and the shaded cloth (see clothView.h).
#include "app/clothView.h"

#include <GL/gl.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <utility>

#include "math/zoVec3f.h"
#include "shape/zoNiceShapes.h"

namespace {

// Grid lines start one unit apart (the knobs' spacing) and are halved where
// the height between two lines is not straight along any probed line: down to
// 1/32, so a jump (a wall, a block's edge, the ledge) becomes a face that is
// vertical to the eye, and a curve (the trough, the hump) is followed to
// within the tolerance.
const double coarseStep = 1.0;
const double finestStep = 1.0 / 32.0;
const double bendTolerance = 0.02;
const double probeStep = 0.5;  // half-integers too: features between two lines
const float straightTolerance = 1e-4f;

// Adds a and the lines inside [a, b] where the height bends, in order.
template <class Height>
void refine(double a, double b, const std::vector<double>& probes, Height height, std::vector<float>& out) {
    const double mid = 0.5 * (a + b);
    bool bends = false;
    if (b - a > finestStep) {
        for (double p : probes) {
            const double ha = height(a, p), hb = height(b, p), hm = height(mid, p);
            if (std::fabs(hm - 0.5 * (ha + hb)) > bendTolerance) {
                bends = true;
                break;
            }
        }
    }
    if (!bends) {
        out.push_back(float(a));
        return;
    }
    refine(a, mid, probes, height, out);
    refine(mid, b, probes, height, out);
}

template <class Height>
std::vector<float> gridLines(double lo, double hi, double probeLo, double probeHi, Height height) {
    std::vector<double> probes;
    for (double p = probeLo; p <= probeHi; p += probeStep) probes.push_back(p);
    std::vector<float> lines;
    const int cells = int(std::lround((hi - lo) / coarseStep));
    for (int k = 0; k < cells; k++) refine(lo + k * coarseStep, lo + (k + 1) * coarseStep, probes, height, lines);
    lines.push_back(float(hi));
    return lines;
}

// Whether the heights h[first .. last] at xs[first .. last] lie on the line
// through the two ends.
bool straight(const std::vector<float>& xs, const float* h, size_t first, size_t last) {
    const float x0 = xs[first], dx = xs[last] - x0, h0 = h[first], dh = h[last] - h0;
    for (size_t k = first + 1; k < last; k++)
        if (std::fabs(h0 + dh * (xs[k] - x0) / dx - h[k]) > straightTolerance) return false;
    return true;
}

}  // namespace

void clothGroundMesh::build(drapeApp& app) {
    auto alongX = [&app](double x, double y) { return double(app.surface(float(x), float(y))); };
    auto alongY = [&app](double y, double x) { return double(app.surface(float(x), float(y))); };
    xs = gridLines(CLOTH_GROUND_X0, CLOTH_GROUND_X1, CLOTH_GROUND_Y0, CLOTH_GROUND_Y1, alongX);
    ys = gridLines(CLOTH_GROUND_Y0, CLOTH_GROUND_Y1, CLOTH_GROUND_X0, CLOTH_GROUND_X1, alongY);

    // Heights row by row: h[j * nx + i] at (xs[i], ys[j]).
    const size_t nx = xs.size(), ny = ys.size();
    std::vector<float> h(nx * ny);
    for (size_t j = 0; j < ny; j++)
        for (size_t i = 0; i < nx; i++) h[j * nx + i] = app.surface(xs[i], ys[j]);

    // Each strip between two rows is cut into the longest runs whose lower and
    // upper edges are straight; then a run grows over the strips above while
    // they have the same run and every sample of the block lies in one plane
    // (the floor, a ramp, the trough's and the hump's curved columns). A block's
    // edges are straight through the samples beside it, so no crack opens.
    auto at = [&](size_t i, size_t j) { return h[j * nx + i]; };
    auto planar = [&](size_t i0, size_t i1, size_t j0, size_t top) {
        const float h00 = at(i0, j0), dx = at(i1, j0) - h00, dy = at(i0, j0 + 1) - h00;
        const float x0 = xs[i0], wx = xs[i1] - x0, y0 = ys[j0], wy = ys[j0 + 1] - y0;
        for (size_t j = j0 + 1; j <= top; j++)
            for (size_t i = i0; i <= i1; i++)
                if (std::fabs(h00 + dx * (xs[i] - x0) / wx + dy * (ys[j] - y0) / wy - at(i, j)) > straightTolerance)
                    return false;
        return true;
    };
    quads.clear();
    std::map<std::pair<size_t, size_t>, size_t> open;  // run -> the strip it began in
    auto close = [&](const std::pair<size_t, size_t>& run, size_t j0, size_t top) {
        const size_t i0 = run.first, i1 = run.second;
        quads.push_back({xs[i0], xs[i1], ys[j0], ys[top], at(i0, j0), at(i1, j0), at(i1, top), at(i0, top)});
    };
    for (size_t j = 0; j + 1 < ny; j++) {
        std::map<std::pair<size_t, size_t>, size_t> next;
        size_t i0 = 0;
        while (i0 + 1 < nx) {
            size_t i1 = i0 + 1;
            while (i1 + 1 < nx && straight(xs, &h[j * nx], i0, i1 + 1) && straight(xs, &h[(j + 1) * nx], i0, i1 + 1))
                i1++;
            const std::pair<size_t, size_t> run(i0, i1);
            auto below = open.find(run);
            if (below != open.end() && planar(i0, i1, below->second, j + 1)) {
                next[run] = below->second;
                open.erase(below);
            } else {
                next[run] = j;
            }
            i0 = i1;
        }
        for (const auto& ended : open) close(ended.first, ended.second, j);
        open.swap(next);
    }
    for (const auto& ended : open) close(ended.first, ended.second, ny - 1);
    // Nearest the camera first (it looks along +y, down the tilt), so that the
    // depth test drops what lies behind before it is coloured.
    std::stable_sort(quads.begin(), quads.end(), [](const Quad& a, const Quad& b) { return a.y0 < b.y0; });
}

void clothGroundColour(float height, float rgb[3]) {
    static const float stops[][4] = {
        {4.0f, 0.16f, 0.24f, 0.36f},   // the floor
        {10.0f, 0.20f, 0.42f, 0.32f},  // low ground
        {18.0f, 0.58f, 0.52f, 0.30f},  // the blocks and the ledge
        {25.0f, 0.62f, 0.40f, 0.30f},  // the plateau's high edge, the slope
    };
    const int n = sizeof stops / sizeof stops[0];
    if (!(height > stops[0][0])) height = stops[0][0];  // NaN too
    int k = 0;
    while (k + 2 < n && height > stops[k + 1][0]) k++;
    float t = (height - stops[k][0]) / (stops[k + 1][0] - stops[k][0]);
    if (t > 1) t = 1;
    for (int c = 0; c < 3; c++) rgb[c] = stops[k][c + 1] + t * (stops[k + 1][c + 1] - stops[k][c + 1]);
}

clothView::clothView()
    : ground(false), shaded(false), wireOnShaded(false), groundBuilt(false), groundList(0), clothColoured(false) {}

void clothView::draw(drapeApp& app) {
    if (shaded) {
        drawShaded(app);
        if (wireOnShaded && app.blanky) app.drawCloth();
    } else {
        app.drawCloth();
    }
    // The ground last: where the cloth covers it, the depth test throws its
    // pixels away before they are coloured.
    if (ground) drawGround(app);
}

void clothView::drawFrame(drapeCloth& cloth) {
    if (cloth.app == nullptr) return;
    drapeApp& app = *cloth.app;
    if (!ground && !shaded) {
        app.draw();
        cloth.frame += 1;
        return;
    }
    app.placeCloth();
    cloth.step();
    draw(app);
    app.m += 1;
}

void clothView::sendGround() {
    glBegin(GL_QUADS);
    for (const clothGroundMesh::Quad& q : groundMesh.quads) {
        // The diagonals' cross product: up for a flat quad, counter-clockwise.
        const zoVec3f d1(q.x1 - q.x0, q.y1 - q.y0, q.h11 - q.h00);
        const zoVec3f d2(q.x0 - q.x1, q.y1 - q.y0, q.h01 - q.h10);
        zoVec3f n = d1.cross(d2);
        n.normalize();
        glNormal3f(n.x, n.y, n.z);
        const float corners[4][3] = {{q.x0, q.y0, q.h00}, {q.x1, q.y0, q.h10}, {q.x1, q.y1, q.h11}, {q.x0, q.y1, q.h01}};
        for (const float* c : corners) {
            float rgb[3];
            clothGroundColour(c[2], rgb);
            glColor3f(rgb[0], rgb[1], rgb[2]);
            glVertex3f(c[0], c[1], c[2]);
        }
    }
    glEnd();
}

void clothView::drawGround(drapeApp& app) {
    if (!groundBuilt) {
        groundMesh.build(app);
        groundBuilt = true;
        groundList = glGenLists(1);
        if (groundList != 0) {
            glNewList(groundList, GL_COMPILE);
            sendGround();
            glEndList();
        }
    }
    // Behind anything drawn at the same depth: the knobs lying on it and the
    // wire between them stay in front. Opaque: blending would only cost. A
    // height field seen from above shows only the sides its upward normals
    // face, counter-clockwise: the others (the far sides of blocks and walls)
    // are hidden anyway and are not rasterised.
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(2.0f, 2.0f);
    if (groundList != 0)
        glCallList(groundList);
    else
        sendGround();
    restoreState();
}

void clothView::drawShaded(drapeApp& app) {
    zoMeshShape* mesh = app.blanky;
    if (mesh == nullptr || mesh->listLength != DRAPE_KNOBS) {
        app.drawCloth();
        return;
    }
    if (!clothColoured) {
        for (int k = 0; k < DRAPE_KNOBS; k++) mesh->setVertexColor(k, 0.95f, 0.55f, 0.25f, 1.0f);
        // GL's model-view holds the cloth's transform, which the framework's
        // projection does not know: the mesh's screen positions would be
        // wrong, so they are not computed.
        mesh->enablePicking = false;
        clothColoured = true;
    }
    // Knob k is the mesh's vertex k: row k / 60 along y, column k % 60 along x.
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const zoVec3f& p = app.thread[k].pos;
        mesh->setVertex(k, p.x, p.y, p.z);
    }
    // The strips wind clockwise seen from above, and their normals point up:
    // clockwise is the front, so both sides are lit as the side facing the eye.
    glFrontFace(GL_CW);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    mesh->draw();
    restoreState();
}

void clothView::restoreState() {
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);  // as the framework's start-up leaves it
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0.0f, 0.0f);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glFrontFace(GL_CCW);
    glNormal3f(0.0f, 0.0f, 1.0f);
}
