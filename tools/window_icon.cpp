// Build tool: draws the main window's icon and writes it as an icon file of
// nine images, from 32x32 in two colours up to 128x128 with an alpha channel.
//
//   window_icon OUT.ico
//   window_icon --png SIZE OUT.png   one full-colour image, for desktop menus
//
// The picture is a white "V" on a rounded square shaded from indigo at the
// top to a deeper indigo at the bottom. Shapes are distance fields sampled
// 4 x 4 per pixel, so every size is drawn afresh rather than scaled, and the
// palette images take their colours from the picture by median cut.
#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "runtime/stream_writer.h"

namespace {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};
using Rgb = std::array<int, 3>;

struct Picture {
    int size = 0;
    std::vector<Rgba> pixels;  // top row first, straight (not premultiplied) alpha
};

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// Signed distance to a square of half-side h with corners rounded by r, centred at 0.5.
double RoundedSquare(double x, double y, double h, double r) {
    double qx = std::abs(x - 0.5) - h + r;
    double qy = std::abs(y - 0.5) - h + r;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

// Signed distance to a stroke of half-width w from (ax, ay) to (bx, by), round caps.
double Stroke(double x, double y, double ax, double ay, double bx, double by, double w) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - t * dx, py - t * dy) - w;
}

Picture Draw(int size) {
    constexpr int kSamples = 4;
    constexpr Rgb kTop{96, 110, 236};
    constexpr Rgb kBottom{52, 44, 158};
    // Small images get a thicker stroke so the letter survives.
    double stroke = size <= 16 ? 0.105 : 0.085;
    Picture p{size, std::vector<Rgba>(size_t(size) * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double cover = 0, letter = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    double u = (x + (sx + 0.5) / kSamples) / size;
                    double v = (y + (sy + 0.5) / kSamples) / size;
                    if (RoundedSquare(u, v, 0.47, 0.2) > 0) continue;
                    cover += 1;
                    double left = Stroke(u, v, 0.29, 0.28, 0.5, 0.73, stroke);
                    double right = Stroke(u, v, 0.71, 0.28, 0.5, 0.73, stroke);
                    if (std::min(left, right) <= 0) letter += 1;
                }
            }
            if (cover == 0) continue;
            double shade = (y + 0.5) / size;
            double white = letter / cover;
            Rgba& out = p.pixels[size_t(y) * size + x];
            auto mix = [&](int c) {
                double base = kTop[c] + (kBottom[c] - kTop[c]) * shade;
                return uint8_t(std::lround(base + (255 - base) * white));
            };
            out = {mix(0), mix(1), mix(2),
                   uint8_t(std::lround(255 * cover / (kSamples * kSamples)))};
        }
    }
    return p;
}

// Median cut: split the box with the widest channel range at its median until
// there are `count` boxes; each box's mean is one palette colour, and unused
// entries are black.
std::vector<Rgb> Palette(const std::vector<Rgb>& colours, size_t count) {
    std::vector<std::vector<Rgb>> boxes{colours};
    auto range = [](const std::vector<Rgb>& box, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            auto [lo, hi] = std::minmax_element(box.begin(), box.end(),
                                                [c](auto& a, auto& b) { return a[c] < b[c]; });
            if ((*hi)[c] - (*lo)[c] > best) best = (*hi)[c] - (*lo)[c], channel = c;
        }
        return best;
    };
    while (boxes.size() < count) {
        size_t widest = 0;
        int widestRange = 0, channel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int c = 0;
            int r = boxes[i].size() > 1 ? range(boxes[i], c) : 0;
            if (r > widestRange) widestRange = r, widest = i, channel = c;
        }
        if (widestRange == 0) break;
        std::vector<Rgb>& box = boxes[widest];
        std::sort(box.begin(), box.end(),
                  [channel](auto& a, auto& b) { return a[channel] < b[channel]; });
        std::vector<Rgb> upper(box.begin() + long(box.size() / 2), box.end());
        box.resize(box.size() / 2);
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb> palette;
    for (const auto& box : boxes) {
        Rgb sum{0, 0, 0};
        for (const Rgb& c : box)
            for (int i = 0; i < 3; ++i) sum[i] += c[i];
        for (int i = 0; i < 3; ++i) sum[i] = int(std::lround(double(sum[i]) / double(box.size())));
        palette.push_back(sum);
    }
    palette.resize(count, Rgb{0, 0, 0});
    return palette;
}

size_t Nearest(const std::vector<Rgb>& palette, const Rgb& c) {
    size_t best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        long d = 0;
        for (int k = 0; k < 3; ++k) d += long(palette[i][k] - c[k]) * (palette[i][k] - c[k]);
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

size_t RowBytes(int size, int bits) {
    return (size_t(size) * bits + 31) / 32 * 4;
}

// One image as stored in an icon file: the bitmap header (twice the height:
// colour rows, then the transparency mask), palette, colour rows and mask
// rows, rows bottom-up.
std::vector<uint8_t> IconImage(const Picture& p, int bits) {
    bool paletted = bits <= 8;
    // Palette images are either opaque or transparent pixel by pixel.
    auto shown = [&](const Rgba& px) { return paletted ? px.a >= 128 : px.a > 0; };
    // Entry 0 is black: a transparent pixel's colour must leave the screen as
    // it is where the mask lets it through. A two-colour image is black and white.
    std::vector<Rgb> palette{{0, 0, 0}};
    if (bits == 1) {
        palette.push_back({255, 255, 255});
    } else if (paletted) {
        std::vector<Rgb> colours;
        for (const Rgba& px : p.pixels)
            if (shown(px)) colours.push_back({px.r, px.g, px.b});
        auto picked = Palette(colours, (size_t(1) << bits) - 1);
        palette.insert(palette.end(), picked.begin(), picked.end());
    } else {
        palette.clear();
    }
    size_t colourRow = RowBytes(p.size, bits), maskRow = RowBytes(p.size, 1);
    velmora::StreamWriter out;
    out.Word(40);
    out.SignedWord(p.size);
    out.SignedWord(2 * p.size);
    out.HalfWord(1);
    out.HalfWord(uint16_t(bits));
    out.Word(0);  // no compression
    out.Word(uint32_t((colourRow + maskRow) * size_t(p.size)));
    for (int i = 0; i < 4; ++i) out.Word(0);  // resolution, colours used and important
    for (const Rgb& c : palette)
        out.Bytes(std::array<uint8_t, 4>{uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0]), 0});
    for (int y = p.size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(colourRow, 0);
        for (int x = 0; x < p.size; ++x) {
            const Rgba& px = p.pixels[size_t(y) * p.size + x];
            if (bits == 32) {
                std::copy_n(std::array<uint8_t, 4>{px.b, px.g, px.r, px.a}.begin(), 4,
                            &row[size_t(x) * 4]);
                continue;
            }
            if (!shown(px)) continue;  // index 0 under a set mask bit
            // In two colours the letter is white and everything else black.
            size_t index = bits == 1 ? size_t(px.r * 3 + px.g * 6 + px.b >= 1600)
                                     : Nearest(palette, {px.r, px.g, px.b});
            size_t bit = size_t(x) * bits;
            row[bit / 8] |= uint8_t(index << (8 - bits - bit % 8));
        }
        out.Bytes(row);
    }
    for (int y = p.size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < p.size; ++x)
            if (!shown(p.pixels[size_t(y) * p.size + x]))
                row[size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
        out.Bytes(row);
    }
    return out.Take();
}

}  // namespace

int WritePng(int size, const char* path) {
    Picture p = Draw(size);
    QImage image(reinterpret_cast<const uchar*>(p.pixels.data()), size, size, size * 4,
                 QImage::Format_RGBA8888);
    if (!image.save(path, "PNG")) {
        std::cerr << "window_icon: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--png") {
        const int size = std::atoi(argv[2]);
        if (size >= 16 && size <= 1024) return WritePng(size, argv[3]);
    }
    if (argc != 2) {
        std::cerr << "usage: window_icon OUT.ico | window_icon --png SIZE OUT.png\n";
        return 2;
    }
    // Size and colour depth of each image, in the order the file lists them.
    const struct {
        int size;
        int bits;
    } kImages[] = {{32, 1},   {48, 4},  {48, 8},  {32, 8}, {16, 8},
                   {128, 32}, {48, 32}, {32, 32}, {16, 32}};
    std::vector<std::vector<uint8_t>> images;
    for (const auto& image : kImages) images.push_back(IconImage(Draw(image.size), image.bits));

    velmora::StreamWriter file;
    file.HalfWord(0);
    file.HalfWord(1);  // an icon, not a cursor
    file.HalfWord(uint16_t(std::size(kImages)));
    uint32_t offset = uint32_t(6 + 16 * std::size(kImages));
    for (size_t i = 0; i < images.size(); ++i) {
        int size = kImages[i].size, bits = kImages[i].bits;
        file.Bytes(std::array<uint8_t, 4>{uint8_t(size), uint8_t(size),
                                          uint8_t(bits < 8 ? 1 << bits : 0), 0});
        file.HalfWord(1);  // planes
        file.HalfWord(uint16_t(bits));
        file.Word(uint32_t(images[i].size()));
        file.Word(offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& image : images) file.Bytes(image);

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.Data().data()), std::streamsize(file.Size()));
    if (!out) {
        std::cerr << "window_icon: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
