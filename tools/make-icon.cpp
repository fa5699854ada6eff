// Draws the launcher's icon and writes it as an .ico file with nine images:
// 48, 32 and 16 pixels square at 4 bits per pixel, then at 8, then at 32.
// The output depends on nothing but this source, so the committed
// update/update.ico can be checked against it.
//   make-icon OUTPUT.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <array>
#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

// The artwork: a blue disc, lighter towards the top, with a white arrow
// pointing up. Coordinates are scaled to the image size.
Rgba pixel(int x, int y, int size) {
    double u = (x + 0.5) / size - 0.5, v = (y + 0.5) / size - 0.5;  // -0.5..0.5, y down
    double radius = std::sqrt(u * u + v * v);
    if (radius > 0.47) return {0, 0, 0, 0};
    bool shaft = std::fabs(u) < 0.09 && v > -0.05 && v < 0.3;
    bool head = v <= -0.05 && v > -0.33 && std::fabs(u) < (v + 0.33) * 0.85;
    if (shaft || head) return {255, 255, 255, 255};
    if (radius > 0.42) return {10, 40, 110, 255};
    uint8_t shade = static_cast<uint8_t>(150 - 90 * (v + 0.5));
    return {20, static_cast<uint8_t>(shade / 2 + 40), static_cast<uint8_t>(shade + 60), 255};
}

// The 16 standard colours of a 4-bit palette.
const uint8_t vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
                            {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
                            {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

std::vector<std::array<uint8_t, 3>> palette(int bits) {
    std::vector<std::array<uint8_t, 3>> colours;
    if (bits == 4) {
        for (const auto &c : vga) colours.push_back({c[0], c[1], c[2]});
    } else {
        for (int i = 0; i < 256; ++i)  // 6x6x6 cube, then greys
            colours.push_back(i < 216 ? std::array<uint8_t, 3>{uint8_t(i / 36 * 51), uint8_t(i / 6 % 6 * 51),
                                                                uint8_t(i % 6 * 51)}
                                      : std::array<uint8_t, 3>{uint8_t((i - 216) * 6), uint8_t((i - 216) * 6),
                                                               uint8_t((i - 216) * 6)});
    }
    return colours;
}

int nearest(const std::vector<std::array<uint8_t, 3>> &colours, Rgba p) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < colours.size(); ++i) {
        long dr = colours[i][0] - p.r, dg = colours[i][1] - p.g, db = colours[i][2] - p.b;
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = static_cast<int>(i);
    }
    return best;
}

void put16(std::vector<uint8_t> &out, unsigned v) {
    out.push_back(v & 255);
    out.push_back((v >> 8) & 255);
}
void put32(std::vector<uint8_t> &out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One image as stored in an .ico: header, palette, colour rows bottom-up,
// then the 1-bit transparency mask.
std::vector<uint8_t> image(int size, int bits) {
    std::vector<uint8_t> out;
    int rowBytes = (size * bits + 31) / 32 * 4, maskBytes = (size + 31) / 32 * 4;
    put32(out, 40);
    put32(out, size);
    put32(out, size * 2);
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    put32(out, (rowBytes + maskBytes) * size);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    std::vector<std::array<uint8_t, 3>> colours;
    if (bits <= 8) {
        colours = palette(bits);
        for (const auto &c : colours) {
            out.push_back(c[2]);
            out.push_back(c[1]);
            out.push_back(c[0]);
            out.push_back(0);
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < size; ++x) {
            Rgba p = pixel(x, y, size);
            if (bits == 32) {
                row[x * 4] = p.b, row[x * 4 + 1] = p.g, row[x * 4 + 2] = p.r, row[x * 4 + 3] = p.a;
            } else {
                int index = p.a ? nearest(colours, p) : 0;
                if (bits == 8) row[x] = static_cast<uint8_t>(index);
                else row[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskBytes, 0);
        for (int x = 0; x < size; ++x)
            if (pixel(x, y, size).a == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make-icon OUTPUT.ico\n");
        return 2;
    }
    const int sizes[3] = {48, 32, 16}, depths[3] = {4, 8, 32};
    std::vector<std::vector<uint8_t>> images;
    std::vector<std::pair<int, int>> shapes;
    for (int bits : depths)
        for (int size : sizes) {
            images.push_back(image(size, bits));
            shapes.push_back({size, bits});
        }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(shapes[i].first));
        out.push_back(static_cast<uint8_t>(shapes[i].first));
        out.push_back(shapes[i].second == 4 ? 16 : 0);
        out.push_back(0);
        put16(out, 1);
        put16(out, shapes[i].second);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto &img : images) out.insert(out.end(), img.begin(), img.end());
    FILE *file = fopen(argv[1], "wb");
    if (!file || fwrite(out.data(), 1, out.size(), file) != out.size()) {
        fprintf(stderr, "make-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    fclose(file);
    return 0;
}
