// Images in memory and the two file formats the resource script embeds:
// 8-bit palettised BMP for the background pictures, ICO for the icons.
// Header-only and standard C++ only, so the core tests can check the encoders.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace artgen {

// Colour channels are 0..1, not premultiplied.
struct Rgb {
  double r = 0, g = 0, b = 0;
};

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

inline std::uint8_t ToByte(double v) {
  return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0));
}

template <typename Pixel>
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // row 0 is the top row

  Image() = default;
  Image(int w, int h, Pixel fill = {}) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
  Pixel& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  const Pixel& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

using RgbImage = Image<Rgb>;
using RgbaImage = Image<Rgba>;

struct Rgb8 {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb8> palette;        // at most 256 entries
  std::vector<std::uint8_t> index;  // row 0 is the top row
};

// ---- Palette reduction.

namespace detail {

struct ColourCount {
  std::array<int, 3> c;  // 0..255 per channel
  std::uint32_t count;
};

struct Box {
  std::size_t begin, end;  // range in the colour table
};

inline int Channel(const Rgb8& c, int ch) { return ch == 0 ? c.r : (ch == 1 ? c.g : c.b); }

// Channel spread of a box, weighted a little towards green, which the eye
// separates best.
inline int LongestAxis(const std::vector<ColourCount>& colours, const Box& box, int* spread) {
  static constexpr int kWeight[3] = {3, 4, 2};
  int best = 0, bestSpread = -1;
  for (int ch = 0; ch < 3; ++ch) {
    int lo = 255, hi = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      lo = std::min(lo, colours[i].c[ch]);
      hi = std::max(hi, colours[i].c[ch]);
    }
    const int s = (hi - lo) * kWeight[ch];
    if (s > bestSpread) { bestSpread = s; best = ch; }
  }
  *spread = bestSpread;
  return best;
}

inline double Distance2(const Rgb& a, const Rgb8& b) {
  const double dr = a.r * 255 - b.r, dg = a.g * 255 - b.g, db = a.b * 255 - b.b;
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

inline std::uint8_t Nearest(const std::vector<Rgb8>& palette, const Rgb& c) {
  std::size_t best = 0;
  double bestD = Distance2(c, palette[0]);
  for (std::size_t i = 1; i < palette.size(); ++i) {
    const double d = Distance2(c, palette[i]);
    if (d < bestD) { bestD = d; best = i; }
  }
  return static_cast<std::uint8_t>(best);
}

// The 8x8 Bayer threshold, centred on zero (-0.5..0.5).
inline double BayerOffset(int x, int y) {
  static constexpr int kBayer[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
      {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
      {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
  return (kBayer[y & 7][x & 7] + 0.5) / 64.0 - 0.5;
}

}  // namespace detail

// Reduces a picture to at most `maxColours` colours: median cut over the
// picture's own colours, then a nearest-colour mapping. A picture that
// already has few enough colours keeps them exactly. Otherwise an ordered
// dither of `ditherLevels` steps of 1/255 (0 = none) breaks up the bands that
// a soft gradient would show. Deterministic: ties are broken by colour value.
inline IndexedImage Quantise(const RgbImage& image, int maxColours = 256, double ditherLevels = 0) {
  using namespace detail;
  IndexedImage out;
  out.width = image.width;
  out.height = image.height;
  out.index.resize(image.pixels.size());

  std::vector<std::uint32_t> keys;
  keys.reserve(image.pixels.size());
  for (const Rgb& p : image.pixels)
    keys.push_back(std::uint32_t(ToByte(p.r)) << 16 | std::uint32_t(ToByte(p.g)) << 8 | ToByte(p.b));
  std::vector<std::uint32_t> sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  std::vector<ColourCount> colours;
  for (std::size_t i = 0; i < sorted.size();) {
    std::size_t j = i;
    while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
    const std::uint32_t k = sorted[i];
    colours.push_back({{int(k >> 16 & 255), int(k >> 8 & 255), int(k & 255)}, std::uint32_t(j - i)});
    i = j;
  }

  if (colours.empty()) return out;
  if (colours.size() <= std::size_t(maxColours)) {
    for (const ColourCount& c : colours)
      out.palette.push_back({std::uint8_t(c.c[0]), std::uint8_t(c.c[1]), std::uint8_t(c.c[2])});
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const auto pos = std::lower_bound(colours.begin(), colours.end(), keys[i],
                                        [](const ColourCount& c, std::uint32_t k) {
                                          return (std::uint32_t(c.c[0]) << 16 | std::uint32_t(c.c[1]) << 8 |
                                                  std::uint32_t(c.c[2])) < k;
                                        });
      out.index[i] = static_cast<std::uint8_t>(pos - colours.begin());
    }
    return out;
  }

  // Median cut: always split the box with the largest weighted spread times
  // its pixel count, at the pixel median along its longest axis.
  std::vector<Box> boxes{{0, colours.size()}};
  while (boxes.size() < std::size_t(maxColours)) {
    std::size_t pick = boxes.size();
    double pickScore = 0;
    int pickAxis = 0;
    for (std::size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2) continue;
      int spread = 0;
      const int axis = LongestAxis(colours, boxes[b], &spread);
      double pixels = 0;
      for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i) pixels += colours[i].count;
      const double score = spread * std::sqrt(pixels);
      if (score > pickScore) { pickScore = score; pick = b; pickAxis = axis; }
    }
    if (pick == boxes.size()) break;
    Box box = boxes[pick];
    std::sort(colours.begin() + std::ptrdiff_t(box.begin), colours.begin() + std::ptrdiff_t(box.end),
              [pickAxis](const ColourCount& a, const ColourCount& b) {
                if (a.c[pickAxis] != b.c[pickAxis]) return a.c[pickAxis] < b.c[pickAxis];
                return a.c < b.c;
              });
    double total = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    double run = 0;
    std::size_t cut = box.begin + 1;
    for (std::size_t i = box.begin; i < box.end - 1; ++i) {
      run += colours[i].count;
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    boxes[pick] = {box.begin, cut};
    boxes.push_back({cut, box.end});
  }

  for (const Box& box : boxes) {
    double r = 0, g = 0, b = 0, n = 0;
    for (std::size_t i = box.begin; i < box.end; ++i) {
      r += colours[i].c[0] * double(colours[i].count);
      g += colours[i].c[1] * double(colours[i].count);
      b += colours[i].c[2] * double(colours[i].count);
      n += colours[i].count;
    }
    out.palette.push_back({std::uint8_t(std::lround(r / n)), std::uint8_t(std::lround(g / n)),
                           std::uint8_t(std::lround(b / n))});
  }
  std::sort(out.palette.begin(), out.palette.end(), [](const Rgb8& a, const Rgb8& b) {
    const int la = 3 * a.r + 6 * a.g + a.b, lb = 3 * b.r + 6 * b.g + b.b;
    if (la != lb) return la < lb;
    return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
  });

  const double amplitude = ditherLevels / 255.0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      Rgb p = image.At(x, y);
      const double d = amplitude * BayerOffset(x, y);
      p = {p.r + d, p.g + d, p.b + d};
      out.index[std::size_t(y) * image.width + x] = Nearest(out.palette, p);
    }
  }
  return out;
}

// ---- Little-endian byte writing.

inline void Put16(std::string& out, std::uint32_t v) {
  out.push_back(char(v & 255));
  out.push_back(char(v >> 8 & 255));
}

inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPINFOHEADER (40 bytes).
inline void PutInfoHeader(std::string& out, int width, int height, int bitCount, std::uint32_t imageSize,
                          std::uint32_t coloursUsed) {
  Put32(out, 40);
  Put32(out, std::uint32_t(width));
  Put32(out, std::uint32_t(height));
  Put16(out, 1);  // planes
  Put16(out, std::uint32_t(bitCount));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dots per inch, as pixels per metre
  Put32(out, 2835);
  Put32(out, coloursUsed);
  Put32(out, 0);  // all colours important
}

inline int RowStride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

// A complete .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, the palette and
// the rows bottom-up, each padded to four bytes.
inline std::string EncodeBmp8(const IndexedImage& image) {
  const int stride = RowStride(image.width, 8);
  const std::uint32_t colours = std::uint32_t(image.palette.size());
  const std::uint32_t bits = 14 + 40 + 4 * colours;
  const std::uint32_t imageSize = std::uint32_t(stride) * std::uint32_t(image.height);
  std::string out;
  out.reserve(bits + imageSize);
  out += "BM";
  Put32(out, bits + imageSize);
  Put32(out, 0);  // reserved
  Put32(out, bits);
  PutInfoHeader(out, image.width, image.height, 8, imageSize, colours);
  for (const Rgb8& c : image.palette) {
    out.push_back(char(c.b));
    out.push_back(char(c.g));
    out.push_back(char(c.r));
    out.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    const std::size_t row = std::size_t(y) * image.width;
    out.append(reinterpret_cast<const char*>(&image.index[row]), std::size_t(image.width));
    out.append(std::size_t(stride - image.width), '\0');
  }
  return out;
}

// A pixel counts as opaque in the AND mask from half coverage on. Programs
// that draw icons without alpha (a 16-bit image list) use only the mask.
inline bool MaskOpaque(const Rgba& p) { return p.a >= 0.5; }

// A complete .ico file holding each image as 32-bit BGRA with its AND mask.
inline std::string EncodeIco(const std::vector<RgbaImage>& images) {
  std::vector<std::string> bodies;
  for (const RgbaImage& img : images) {
    const int maskStride = RowStride(img.width, 1);
    std::string body;
    PutInfoHeader(body, img.width, img.height * 2, 32,
                  std::uint32_t(img.width * img.height * 4 + maskStride * img.height), 0);
    for (int y = img.height - 1; y >= 0; --y) {
      for (int x = 0; x < img.width; ++x) {
        const Rgba& p = img.At(x, y);
        const bool clear = ToByte(p.a) == 0;
        body.push_back(char(clear ? 0 : ToByte(p.b)));
        body.push_back(char(clear ? 0 : ToByte(p.g)));
        body.push_back(char(clear ? 0 : ToByte(p.r)));
        body.push_back(char(ToByte(p.a)));
      }
    }
    for (int y = img.height - 1; y >= 0; --y) {
      std::string row(std::size_t(maskStride), '\0');
      for (int x = 0; x < img.width; ++x)
        if (!MaskOpaque(img.At(x, y))) row[std::size_t(x / 8)] |= char(0x80 >> (x % 8));
      body += row;
    }
    bodies.push_back(std::move(body));
  }

  std::string out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, std::uint32_t(images.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.push_back(char(images[i].width >= 256 ? 0 : images[i].width));
    out.push_back(char(images[i].height >= 256 ? 0 : images[i].height));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, std::uint32_t(bodies[i].size()));
    Put32(out, offset);
    offset += std::uint32_t(bodies[i].size());
  }
  for (const std::string& body : bodies) out += body;
  return out;
}

}  // namespace artgen
