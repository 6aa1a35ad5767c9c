// Drawing helpers for the icons and pictures: deterministic randomness and
// noise, colour mixing, and anti-aliased shape filling.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "Raster.h"

namespace artgen {

inline constexpr double kPi = 3.14159265358979323846;

// splitmix64: the same numbers on every machine, unlike the standard
// library's distributions, whose results are left to each implementation.
class Random {
 public:
  explicit Random(std::uint64_t seed) : m_state(seed) {}
  std::uint64_t Next();
  double Uniform();                                     // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  std::uint64_t m_state;
};

// A shape is a test "is this point inside"; coordinates in pixels, the
// pixel (x, y) covering [x, x+1) x [y, y+1).
using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Rgba(double x, double y)>;

inline std::uint64_t Random::Next() {
  std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

inline double Random::Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }

inline double Smoothstep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

inline double Fract(double x) { return x - std::floor(x); }

namespace detail {

inline double LatticeValue(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = std::uint32_t(x) * 0x8DA6B343u ^ std::uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return double(h & 0xFFFFFF) / double(0xFFFFFF);
}

}  // namespace detail

// Lattice value noise, smooth, 0..1; Fbm sums octaves of it (also 0..1).
inline double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = std::int32_t(fx), iy = std::int32_t(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = detail::LatticeValue(ix, iy, seed), b = detail::LatticeValue(ix + 1, iy, seed);
  const double c = detail::LatticeValue(ix, iy + 1, seed), d = detail::LatticeValue(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

inline double Fbm(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0, amplitude = 0.5, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + std::uint32_t(i) * 101u);
    norm += amplitude;
    x = x * 2.03 + 17.1;
    y = y * 2.03 + 9.7;
    amplitude *= 0.5;
  }
  return sum / norm;
}

inline Rgb Hex(std::uint32_t rrggbb) {
  return {double(rrggbb >> 16 & 255) / 255.0, double(rrggbb >> 8 & 255) / 255.0, double(rrggbb & 255) / 255.0};
}

inline Rgb Mix(const Rgb& a, const Rgb& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Rgb Scale(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }

inline double Luminance(const Rgb& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

// Mixes `c` into the pixel with the given opacity; points outside are ignored.
inline void Blend(RgbImage& image, int x, int y, const Rgb& c, double alpha) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height || alpha <= 0) return;
  Rgb& p = image.At(x, y);
  p = Mix(p, c, std::min(alpha, 1.0));
}

inline Shape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r; };
}

inline Shape Ring(double cx, double cy, double inner, double outer) {
  return [=](double x, double y) {
    const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d2 < outer * outer && d2 >= inner * inner;
  };
}

inline Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const double cx = std::clamp(x, x0 + radius, x1 - radius);
    const double cy = std::clamp(y, y0 + radius, y1 - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) < radius * radius;
  };
}

inline Shape Capsule(double ax, double ay, double bx, double by, double width) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = ax + t * dx - x, py = ay + t * dy - y;
    return px * px + py * py < width * width / 4;
  };
}

// A stroke of the given width along a circle arc; angles in degrees,
// clockwise from the positive x axis (y grows downwards), from a0 to a1.
inline Shape Arc(double cx, double cy, double r, double width, double a0, double a1) {
  return [=](double x, double y) {
    const double d = std::hypot(x - cx, y - cy);
    if (std::fabs(d - r) >= width / 2) return false;
    double a = std::atan2(y - cy, x - cx) * 180 / kPi;
    double span = a1 - a0;
    double rel = a - a0;
    rel -= 360 * std::floor(rel / 360);
    span -= 360 * std::floor(span / 360);
    if (span == 0) span = 360;
    return rel <= span;
  };
}

inline Shape Polygon(std::vector<std::pair<double, double>> points) {
  return [pts = std::move(points)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

inline Shape Union(std::vector<Shape> shapes) {
  return [s = std::move(shapes)](double x, double y) {
    for (const Shape& shape : s)
      if (shape(x, y)) return true;
    return false;
  };
}

inline Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

inline Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

// The share of pixel (px, py) that `shape` covers, from `samples` x `samples`
// points spread over it.
inline double Coverage(const Shape& shape, int px, int py, int samples) {
  const double step = 1.0 / samples;
  int hits = 0;
  for (int sy = 0; sy < samples; ++sy)
    for (int sx = 0; sx < samples; ++sx)
      if (shape(px + (sx + 0.5) * step, py + (sy + 0.5) * step)) ++hits;
  return hits / double(samples * samples);
}

// Fills `shape` over an RGBA image, compositing the paint over what is there.
inline void Fill(RgbaImage& image, const Shape& shape, const Paint& paint, int samples = 8) {
  for (int py = 0; py < image.height; ++py) {
    for (int px = 0; px < image.width; ++px) {
      const double covered = Coverage(shape, px, py, samples);
      if (covered == 0) continue;
      const Rgba src = paint(px + 0.5, py + 0.5);
      const double a = src.a * covered;
      Rgba& dst = image.At(px, py);
      const double outA = a + dst.a * (1 - a);
      if (outA <= 0) continue;
      dst.r = (src.r * a + dst.r * dst.a * (1 - a)) / outA;
      dst.g = (src.g * a + dst.g * dst.a * (1 - a)) / outA;
      dst.b = (src.b * a + dst.b * dst.a * (1 - a)) / outA;
      dst.a = outA;
    }
  }
}

inline void Fill(RgbaImage& image, const Shape& shape, const Rgba& colour, int samples = 8) {
  Fill(image, shape, [colour](double, double) { return colour; }, samples);
}

// The same over an opaque RGB picture.
inline void Fill(RgbImage& image, const Shape& shape, const Rgb& colour, double opacity, int samples = 4) {
  for (int py = 0; py < image.height; ++py) {
    for (int px = 0; px < image.width; ++px) {
      const double covered = Coverage(shape, px, py, samples);
      if (covered > 0) Blend(image, px, py, colour, opacity * covered);
    }
  }
}

}  // namespace artgen
