// Checks the pixels of a captured picture.
//
//   png-probe FILE WIDTHxHEIGHT RRGGBB
//   png-probe FILE WIDTHxHEIGHT X,Y=RRGGBB|X,Y!RRGGBB|rowY~RRGGBB,RRGGBB...
//
// Succeeds when the PNG is that size and every pixel is that colour; otherwise says
// how many pixels differ and where the first one is. The second form checks single
// pixels: "=" that it is the colour, "!" that it is not; "rowY~" that each listed
// colour is somewhere on row Y, every channel within kNear (for pictures that were
// compressed, or move); X0,Y0-X1,Y1~RRGGBB,... that some pixel of the box (corners
// included) is near one of the colours in the same way, X0,Y0-X1,Y1!RRGGBB,... that
// some pixel of the box is near none of them, X0,Y0-X1,Y1^RRGGBB,... that no pixel
// of the box is near any of them. A<B:N compares two places, each a
// point X,Y or a box X0,Y0-X1,Y1: the darkest pixel of A (by luma, 0 to 255) is at
// least N darker than the darkest of B (the darkest, so that a textured surface is
// compared with its own dark parts).
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kNear = 0x18;

bool Near(unsigned a, unsigned b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > kNear)
            return false;
    }
    return true;
}

// Luma of 0xRRGGBB, 0 to 255.
int Luma(unsigned value) {
    return int((299 * ((value >> 16) & 0xFF) + 587 * ((value >> 8) & 0xFF) + 114 * (value & 0xFF)) / 1000);
}

struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// "X,Y" or "X0,Y0-X1,Y1" at the start of text; the characters used, or 0.
int ParsePlace(const char* text, Box& box) {
    int used = 0;
    if (std::sscanf(text, "%d,%d-%d,%d%n", &box.x0, &box.y0, &box.x1, &box.y1, &used) == 4 && used > 0)
        return used;
    used = 0;
    if (std::sscanf(text, "%d,%d%n", &box.x0, &box.y0, &used) == 2 && used > 0) {
        box.x1 = box.x0;
        box.y1 = box.y0;
        return used;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int width = 0, height = 0;
    unsigned colour = 0;
    const bool points = argc >= 4 && std::strchr(argv[3], ',') != nullptr;
    if (argc < 4 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2 ||
        (!points && (argc != 4 || std::sscanf(argv[3], "%6x", &colour) != 1))) {
        std::fprintf(stderr, "usage: png-probe FILE WIDTHxHEIGHT RRGGBB | X,Y=RRGGBB | X,Y!RRGGBB...\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::fprintf(stderr, "png-probe: %s: %s\n", argv[1], image.message);
        return 1;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "png-probe: %s: %s\n", argv[1], image.message);
        return 1;
    }
    if (int(image.width) != width || int(image.height) != height) {
        std::printf("%ux%u, not %dx%d\n", image.width, image.height, width, height);
        return 1;
    }
    if (points) {
        int failures = 0;
        for (int a = 3; a < argc; ++a) {
            if (std::strncmp(argv[a], "row", 3) == 0) {
                int y = -1;
                int used = 0;
                if (std::sscanf(argv[a], "row%d~%n", &y, &used) != 1 || used == 0 || y < 0 || y >= height) {
                    std::fprintf(stderr, "png-probe: bad check %s\n", argv[a]);
                    return 2;
                }
                for (const char* c = argv[a] + used; *c != 0;) {
                    unsigned expected = 0;
                    int length = 0;
                    if (std::sscanf(c, "%6x%n", &expected, &length) != 1) {
                        std::fprintf(stderr, "png-probe: bad check %s\n", argv[a]);
                        return 2;
                    }
                    c += length;
                    c += *c == ',' ? 1 : 0;
                    bool found = false;
                    for (int x = 0; x < width && !found; ++x) {
                        const png_byte* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
                        found = Near((unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2], expected);
                    }
                    failures += found ? 0 : 1;
                    std::printf("row %d %s~%06X ", y, found ? "has " : "lacks ", expected);
                }
                continue;
            }
            if (const char* less = std::strchr(argv[a], '<')) {
                Box dark, light;
                int margin = 0;
                int used = 0;
                const int lightUsed = ParsePlace(less + 1, light);
                const bool parsed = ParsePlace(argv[a], dark) == int(less - argv[a]) && lightUsed > 0 &&
                                    std::sscanf(less + 1 + lightUsed, ":%d%n", &margin, &used) == 1 &&
                                    less[1 + lightUsed + used] == 0;
                bool inside = true;
                for (const Box& b : {dark, light})
                    inside = inside && b.x0 >= 0 && b.y0 >= 0 && b.x1 >= b.x0 && b.y1 >= b.y0 &&
                             b.x1 < width && b.y1 < height;
                if (!parsed || !inside) {
                    std::fprintf(stderr, "png-probe: bad check %s\n", argv[a]);
                    return 2;
                }
                auto darkest = [&](const Box& b) {
                    int least = 256;
                    for (int py = b.y0; py <= b.y1; ++py) {
                        for (int px = b.x0; px <= b.x1; ++px) {
                            const png_byte* p = &pixels[(size_t(py) * size_t(width) + size_t(px)) * 3];
                            least =
                                std::min(least, Luma((unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2]));
                        }
                    }
                    return least;
                };
                const int d = darkest(dark), l = darkest(light);
                const bool ok = l - d >= margin;
                failures += ok ? 0 : 1;
                std::printf("%s: darkest %d against %d%s ", argv[a], d, l, ok ? "" : " (wrong)");
                continue;
            }
            int x = 0, y = 0;
            char relation = 0;
            unsigned expected = 0;
            int x1 = 0, y1 = 0;
            char boxRelation = 0;
            int used = 0;
            if (std::sscanf(argv[a], "%d,%d-%d,%d%c%n", &x, &y, &x1, &y1, &boxRelation, &used) == 5 &&
                (boxRelation == '~' || boxRelation == '!' || boxRelation == '^')) {
                std::vector<unsigned> colours;
                for (const char* c = argv[a] + used; *c != 0;) {
                    unsigned colour = 0;
                    int length = 0;
                    if (std::sscanf(c, "%6x%n", &colour, &length) != 1) {
                        break;
                    }
                    colours.push_back(colour);
                    c += length;
                    c += *c == ',' ? 1 : 0;
                }
                if (colours.empty() || x < 0 || y < 0 || x1 < x || y1 < y || x1 >= width || y1 >= height) {
                    std::fprintf(stderr, "png-probe: bad check %s\n", argv[a]);
                    return 2;
                }
                int found = 0;
                for (int py = y; py <= y1; ++py) {
                    for (int px = x; px <= x1; ++px) {
                        const png_byte* p = &pixels[(size_t(py) * size_t(width) + size_t(px)) * 3];
                        const unsigned value = (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
                        bool nearAny = false;
                        for (unsigned colour : colours) {
                            nearAny = nearAny || Near(value, colour);
                        }
                        found += nearAny == (boxRelation != '!') ? 1 : 0;
                    }
                }
                // '^' holds when nothing was found near; the others when something was.
                const bool ok = (found > 0) == (boxRelation != '^');
                failures += ok ? 0 : 1;
                std::printf("(%d, %d)-(%d, %d) %d %s %06X%s ", x, y, x1, y1, found,
                            boxRelation == '!' ? "away from" : "near", colours[0], ok ? "" : " (wrong)");
                continue;
            }
            if (std::sscanf(argv[a], "%d,%d%c%6x", &x, &y, &relation, &expected) != 4 ||
                (relation != '=' && relation != '!') || x < 0 || y < 0 || x >= width || y >= height) {
                std::fprintf(stderr, "png-probe: bad check %s\n", argv[a]);
                return 2;
            }
            const png_byte* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3];
            const unsigned value = (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
            const bool ok = (value == expected) == (relation == '=');
            failures += ok ? 0 : 1;
            std::printf("(%d, %d) %06X%s ", x, y, value, ok ? "" : " (wrong)");
        }
        std::printf("\n");
        return failures == 0 ? 0 : 1;
    }
    long wrong = 0;
    long first = -1;
    for (long i = 0; i < long(width) * height; ++i) {
        const png_byte* p = &pixels[size_t(i) * 3];
        unsigned value = (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | p[2];
        if (value != colour) {
            if (first < 0)
                first = i;
            ++wrong;
        }
    }
    if (wrong != 0) {
        const png_byte* p = &pixels[size_t(first) * 3];
        std::printf("%ld of %ld pixels are not %06X; the first at (%ld, %ld) is %02X%02X%02X\n", wrong,
                    long(width) * height, colour, first % width, first / width, p[0], p[1], p[2]);
        return 1;
    }
    std::printf("%dx%d, every pixel %06X\n", width, height, colour);
    return 0;
}
