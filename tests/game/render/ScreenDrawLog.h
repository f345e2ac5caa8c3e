#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/render/draw/DrawCommandList.h"
#include "game/render/ScreenDrawers.h"
#include "game/render/SpriteSheet.h"

namespace mareldon {

// One quad a screen drawer queued: the sprite (found from its texels; "" for a
// flat-coloured quad), the corners it spans, its depth and its first corner's
// colour (white for the textured drawer, which has none).
struct DrawnQuad {
    std::string name;
    float x0, y0, x1, y1;
    float z;
    ScreenColor colour;

    bool operator==(const DrawnQuad& o) const {
        auto near = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
        return name == o.name && near(x0, o.x0) && near(y0, o.y0) && near(x1, o.x1) && near(y1, o.y1) &&
               near(z, o.z) && near(colour.r, o.colour.r) && near(colour.g, o.colour.g) &&
               near(colour.b, o.colour.b) && near(colour.a, o.colour.a);
    }
};

inline std::ostream& operator<<(std::ostream& out, const DrawnQuad& d) {
    char text[160];
    std::snprintf(text, sizeof text, "(%g,%g)-(%g,%g) z %g rgba %g,%g,%g,%g", d.x0, d.y0, d.x1, d.y1, d.z,
                  d.colour.r, d.colour.g, d.colour.b, d.colour.a);
    return out << (d.name.empty() ? "quad" : d.name) << " " << text;
}

// Reads a frame back from the command list of a screen's draw set: every quad in
// the order it was queued (the list itself sorts by depth). A sprite is named by
// the candidate whose rectangle on the drawer's sheet holds the quad's texels.
class ScreenDrawLog {
  public:
    explicit ScreenDrawLog(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

    std::vector<DrawnQuad> Read(DrawCommandList& list) const {
        // The byte buffer holds the vertices in the order they were queued, and the
        // two triangles of a quad, (A, C, D) and (D, C, B), one after the other.
        std::vector<std::pair<uint32_t, int32_t>> triangles;
        for (int32_t i = 0; i < list.CommandCount(); ++i) {
            if (list.CommandAt(i).type == DrawCommandList::kTriangle) {
                triangles.emplace_back(list.CommandAt(i).offset, i);
            }
        }
        std::sort(triangles.begin(), triangles.end());
        std::vector<DrawnQuad> out;
        for (size_t t = 0; t + 1 < triangles.size(); t += 2) {
            const DrawDescriptor* descriptor = list.CommandAt(triangles[t].second).descriptor;
            out.push_back(Decode(descriptor, list.CommandVertices(triangles[t].second),
                                 list.CommandVertices(triangles[t + 1].second)));
        }
        return out;
    }

  private:
    DrawnQuad Decode(const DrawDescriptor* descriptor, const uint8_t* first, const uint8_t* second) const {
        const int stride = descriptor->VertexSize();
        if (const auto* sprites = dynamic_cast<const SpriteDrawer*>(descriptor)) {
            SpriteVertex a, b;
            std::copy_n(first, sizeof a, reinterpret_cast<uint8_t*>(&a));
            std::copy_n(second + 2 * stride, sizeof b, reinterpret_cast<uint8_t*>(&b));
            return {
                Name(*sprites->Sheet(), a.u, a.v, b.u, b.v), a.x, a.y, b.x, b.y, a.z, {a.r, a.g, a.b, a.a}};
        }
        if (const auto* textured = dynamic_cast<const TexturedScreenDrawer*>(descriptor)) {
            TexturedVertex a, b;
            std::copy_n(first, sizeof a, reinterpret_cast<uint8_t*>(&a));
            std::copy_n(second + 2 * stride, sizeof b, reinterpret_cast<uint8_t*>(&b));
            return {Name(*textured->Sheet(), a.u, a.v, b.u, b.v), a.x, a.y, b.x, b.y, a.z, {1, 1, 1, 1}};
        }
        ColoredVertex a, b;
        std::copy_n(first, sizeof a, reinterpret_cast<uint8_t*>(&a));
        std::copy_n(second + 2 * stride, sizeof b, reinterpret_cast<uint8_t*>(&b));
        return {"", a.x, a.y, b.x, b.y, a.z, {a.r, a.g, a.b, a.a}};
    }

    std::string Name(SpriteSheet& sheet, float u0, float v0, float u1, float v1) const {
        const float cu = (u0 + u1) * 0.5f * float(sheet.Width());
        const float cv = (v0 + v1) * 0.5f * float(sheet.Height());
        for (const std::string& candidate : candidates_) {
            const SpriteRect* r = sheet.FindOrNull(candidate.c_str());
            if (r != nullptr && cu > r->x && cu < r->x + r->w && cv > r->y && cv < r->y + r->h) {
                return candidate;
            }
        }
        return "?";
    }

    std::vector<std::string> candidates_;
};

// What a test expects, from a sprite's size on its sheet: centred on (x, y), or
// with its top-left corner at (x, y), or stretched over a rectangle.
struct ExpectedQuads {
    SpriteSheet* sheet;

    DrawnQuad Centred(const char* name, float x, float y, float z, ScreenColor colour = {1, 1, 1, 1}) const {
        const SpriteRect& r = sheet->Find(name);
        return {name, x - r.w * 0.5f, y - r.h * 0.5f, x + r.w * 0.5f, y + r.h * 0.5f, z, colour};
    }
    DrawnQuad Corner(const char* name, float x, float y, float z, ScreenColor colour = {1, 1, 1, 1}) const {
        const SpriteRect& r = sheet->Find(name);
        return {name, x, y, x + r.w, y + r.h, z, colour};
    }
    static DrawnQuad Over(const char* name, float x0, float y0, float x1, float y1, float z,
                          ScreenColor colour = {1, 1, 1, 1}) {
        return {name, x0, y0, x1, y1, z, colour};
    }
    static DrawnQuad Flat(float x0, float y0, float x1, float y1, float z, ScreenColor colour) {
        return {"", x0, y0, x1, y1, z, colour};
    }
};

}  // namespace mareldon
