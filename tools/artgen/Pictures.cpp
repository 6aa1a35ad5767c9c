#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Canvas.h"

namespace artgen {

namespace {

// The bar paints black text and check boxes over these, so every picture
// stays pale: soft pastel colours well above mid-grey.

void VerticalGradient(RgbImage& img, const Rgb& top, const Rgb& bottom) {
  for (int y = 0; y < img.height; ++y) {
    const Rgb c = Mix(top, bottom, img.height > 1 ? double(y) / (img.height - 1) : 0);
    for (int x = 0; x < img.width; ++x) img.At(x, y) = c;
  }
}

void HorizontalGradient(RgbImage& img, const Rgb& left, const Rgb& right) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) img.At(x, y) = Mix(left, right, double(x) / (img.width - 1));
}

// A disc with a soft rim of `soft` pixels, mixed in with opacity `alpha`.
void SoftDisc(RgbImage& img, double cx, double cy, double r, const Rgb& c, double alpha, double soft = 1.0) {
  const int x0 = std::max(0, int(cx - r - soft - 1)), x1 = std::min(img.width - 1, int(cx + r + soft + 1));
  const int y0 = std::max(0, int(cy - r - soft - 1)), y1 = std::min(img.height - 1, int(cy + r + soft + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      Blend(img, x, y, c, alpha * Smoothstep(r + soft, r - soft, d));
    }
}

// A circle outline of the given width.
void SoftRing(RgbImage& img, double cx, double cy, double r, double width, const Rgb& c, double alpha) {
  const int x0 = std::max(0, int(cx - r - width - 2)), x1 = std::min(img.width - 1, int(cx + r + width + 2));
  const int y0 = std::max(0, int(cy - r - width - 2)), y1 = std::min(img.height - 1, int(cy + r + width + 2));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::fabs(std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r);
      Blend(img, x, y, c, alpha * Smoothstep(width / 2 + 0.7, width / 2 - 0.7, d));
    }
}

// Fills everything below the curve y = f(x), with an anti-aliased edge.
template <typename Curve>
void FillBelow(RgbImage& img, Curve f, const Rgb& c, double alpha = 1.0) {
  for (int x = 0; x < img.width; ++x) {
    const double edge = f(x + 0.5);
    for (int y = 0; y < img.height; ++y) Blend(img, x, y, c, alpha * Clamp01(y + 1.0 - edge));
  }
}

// A line segment of the given width, anti-aliased.
void SoftLine(RgbImage& img, double ax, double ay, double bx, double by, double width, const Rgb& c, double alpha) {
  const int x0 = std::max(0, int(std::min(ax, bx) - width - 2)), x1 = std::min(img.width - 1, int(std::max(ax, bx) + width + 2));
  const int y0 = std::max(0, int(std::min(ay, by) - width - 2)), y1 = std::min(img.height - 1, int(std::max(ay, by) + width + 2));
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double t = len2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len2, 0.0, 1.0) : 0;
      const double d = std::hypot(ax + t * dx - px, ay + t * dy - py);
      Blend(img, x, y, c, alpha * Smoothstep(width / 2 + 0.6, width / 2 - 0.6, d));
    }
}

// Low-saturation colour from a hue in turns (0..1).
Rgb Pastel(double hue, double saturation, double value) {
  const double h = Fract(hue) * 6;
  const int sector = int(h);
  const double f = h - sector;
  const double p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
  switch (sector) {
    case 0: return {value, t, p};
    case 1: return {q, value, p};
    case 2: return {p, value, t};
    case 3: return {p, q, value};
    case 4: return {t, p, value};
    default: return {value, p, q};
  }
}

// ---- The pictures. Each gets a blank image of its size and its own seed.

void MorningSky(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xC9E2F8), Hex(0xF2F8FE));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double n = Fbm(x / 70.0, y / 22.0, 5, 11);
      const double cloud = Smoothstep(0.50, 0.72, n) * (0.35 + 0.65 * Smoothstep(img.height, 0, y));
      Blend(img, x, y, Hex(0xFFFFFF), 0.9 * cloud);
    }
}

void SeaWaves(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xEEF9F8), Hex(0xE2F4F2));
  const Rgb shades[] = {Hex(0xDDF2EF), Hex(0xD0ECE8), Hex(0xC4E7E2), Hex(0xB8E1DC), Hex(0xAEDCD6)};
  for (int k = 0; k < 5; ++k) {
    const double base = 8 + k * 13.0;
    FillBelow(img, [&](double x) {
      return base * img.height / 70.0 + 4.0 * std::sin(x / 38.0 + k * 1.7) + 2.0 * std::sin(x / 13.0 + k * 0.9);
    }, shades[k]);
    // A light crest along the top of each wave.
    for (int x = 0; x < img.width; ++x) {
      const double edge = base * img.height / 70.0 + 4.0 * std::sin((x + 0.5) / 38.0 + k * 1.7) +
                          2.0 * std::sin((x + 0.5) / 13.0 + k * 0.9);
      for (int y = int(edge); y < int(edge) + 3; ++y)
        Blend(img, x, y, Hex(0xFFFFFF), 0.45 * Clamp01(1 - std::fabs(y + 0.5 - edge - 1.0) / 1.5));
    }
  }
}

void WarmBokeh(RgbImage& img, Random& rnd) {
  HorizontalGradient(img, Hex(0xFDE4D0), Hex(0xFFF4E6));
  const Rgb colours[] = {Hex(0xFFD3A0), Hex(0xFFC7C0), Hex(0xFFEFB0), Hex(0xFFFFFF)};
  for (int i = 0; i < 34; ++i) {
    const double r = rnd.Range(5, 20), cx = rnd.Range(-10, img.width + 10), cy = rnd.Range(-5, img.height + 5);
    const Rgb& c = colours[rnd.Next() % 4];
    SoftDisc(img, cx, cy, r, c, 0.38, 1.6);
    SoftRing(img, cx, cy, r - 1.2, 1.4, Hex(0xFFFFFF), 0.25);
  }
}

void MintStripes(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double t = Fract((x + y) / 16.0);
      const double band = Smoothstep(0.40, 0.46, t) - Smoothstep(0.90, 0.96, t);
      img.At(x, y) = Mix(Hex(0xE6F6EC), Hex(0xCFEEDB), band);
      if (std::fabs(t - 0.2) < 0.03) img.At(x, y) = Mix(img.At(x, y), Hex(0xFFFFFF), 0.6);
    }
}

void CreamPaper(RgbImage& img, Random& rnd) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double n = Fbm(x / 9.0, y / 9.0, 4, 5) - 0.5;
      const double speck = ValueNoise(x * 0.9, y * 0.9, 6) - 0.5;
      img.At(x, y) = Scale(Hex(0xF7F0DF), 1 + 0.05 * n + 0.025 * speck);
    }
  for (int i = 0; i < 70; ++i) {
    double x = rnd.Range(0, img.width), y = rnd.Range(0, img.height);
    double angle = rnd.Range(0, 2 * kPi);
    const int steps = 8 + int(rnd.Next() % 14);
    for (int s = 0; s < steps; ++s) {
      const double nx = x + std::cos(angle) * 1.5, ny = y + std::sin(angle) * 1.5;
      SoftLine(img, x, y, nx, ny, 0.7, Hex(0xC9B994), 0.18);
      x = nx;
      y = ny;
      angle += rnd.Range(-0.35, 0.35);
    }
  }
}

void LavenderRays(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xE9E2F6), Hex(0xF8F5FD));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double a = std::atan2(y + 40.0, x + 60.0);
      const double ray = std::pow(0.5 + 0.5 * std::sin(a * 38.0), 3.0);
      Blend(img, x, y, Hex(0xFFFFFF), 0.55 * ray * Smoothstep(460, 60, std::hypot(x + 60.0, y + 40.0)));
    }
}

void GreenHills(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xEFF8FD), Hex(0xF4FAEE));
  const Rgb layers[] = {Hex(0xDCEFCB), Hex(0xCBE6B4), Hex(0xBADD9F)};
  for (int k = 0; k < 3; ++k) {
    FillBelow(img, [&](double x) {
      return (28 + 13 * k) * img.height / 70.0 + 7 * std::sin(x / (70.0 - 12 * k) + k * 2.3) +
             4 * std::sin(x / 23.0 + k);
    }, layers[k]);
  }
}

void LemonDots(RgbImage& img, Random&) {
  for (auto& p : img.pixels) p = Hex(0xFFF8DC);
  for (int row = 0; row * 14 - 7 < img.height + 7; ++row)
    for (int col = -1; col * 18 < img.width + 18; ++col) {
      const double cx = col * 18 + (row % 2 ? 9 : 0) + 4, cy = row * 14.0 - 3;
      SoftDisc(img, cx, cy, 4.2, Hex(0xF9E79B), 1.0, 0.7);
      SoftDisc(img, cx - 1.2, cy - 1.2, 1.3, Hex(0xFFFFFF), 0.5, 0.7);
    }
}

void PinkGingham(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const bool h = (y / 8) % 2 == 0, v = (x / 8) % 2 == 0;
      const double weave = (x + y) % 2 ? 0.015 : -0.015;
      const Rgb c = h && v ? Hex(0xF4C6D2) : (h || v ? Hex(0xF9DDE5) : Hex(0xFEF3F6));
      img.At(x, y) = Scale(c, 1 + weave);
    }
}

void Sunset(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xE6DDF5), Hex(0xFFE1C6));
  SoftDisc(img, img.width * 0.78, img.height * 0.78, 22, Hex(0xFFF3D4), 0.9, 6);
  SoftDisc(img, img.width * 0.78, img.height * 0.78, 34, Hex(0xFFEBD6), 0.35, 10);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double streak = Smoothstep(0.62, 0.8, Fbm(x / 90.0, y / 4.0, 3, 21));
      Blend(img, x, y, Hex(0xF9D7E3), 0.5 * streak * Smoothstep(img.height * 0.7, 0, y));
    }
}

void Bamboo(RgbImage& img, Random& rnd) {
  HorizontalGradient(img, Hex(0xF1F8E8), Hex(0xE8F3DC));
  for (int i = 0; i < 16; ++i) {
    const double x = 8 + i * 26 + rnd.Range(-6, 6), w = rnd.Range(4, 7);
    const double lean = rnd.Range(-0.06, 0.06);
    const Rgb c = Mix(Hex(0xC9E2AE), Hex(0xD9EBC4), rnd.Uniform());
    for (int y = 0; y < img.height; ++y) {
      const double cx = x + lean * y;
      for (int px = int(cx - w); px <= int(cx + w); ++px) {
        const double d = std::fabs(px + 0.5 - cx);
        Blend(img, px, y, c, Smoothstep(w / 2 + 0.6, w / 2 - 0.6, d));
        Blend(img, px, y, Hex(0xFFFFFF), 0.35 * Smoothstep(w / 2, 0, std::fabs(px + 0.5 - cx + w / 5)));
      }
    }
    for (double ny = rnd.Range(4, 20); ny < img.height; ny += rnd.Range(20, 30))
      SoftLine(img, x + lean * ny - w / 2 - 0.5, ny, x + lean * ny + w / 2 + 0.5, ny, 1.3, Hex(0xB3D493), 0.9);
  }
}

void Watercolour(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      Rgb c = Hex(0xEEF5FC);
      const double a = Fbm(x / 55.0, y / 30.0, 5, 31), b = Fbm(x / 45.0 + 7, y / 26.0, 5, 37);
      const double blueWash = Smoothstep(0.48, 0.52, a), lilacWash = Smoothstep(0.54, 0.58, b);
      c = Mix(c, Hex(0xD5E7F7), 0.8 * blueWash);
      c = Mix(c, Hex(0xE4DCF3), 0.8 * lilacWash);
      // Pigment gathers at the rim of a wash.
      const double rim = Smoothstep(0.03, 0.0, std::fabs(a - 0.5)) + Smoothstep(0.03, 0.0, std::fabs(b - 0.56));
      c = Mix(c, Hex(0xC3D6EE), 0.35 * Clamp01(rim));
      img.At(x, y) = c;
    }
}

void Ripples(RgbImage& img, Random&) {
  const double centres[3][2] = {{90, 40}, {250, 20}, {350, 60}};
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      double wave = 0;
      for (const auto& c : centres) {
        const double d = std::hypot(x - c[0], y - c[1]);
        wave += std::sin(d / 3.2) * std::exp(-d / 70.0);
      }
      img.At(x, y) = Mix(Hex(0xE6F6FA), wave > 0 ? Hex(0xFFFFFF) : Hex(0xC8E8F0), std::min(1.0, std::fabs(wave) * 0.8));
    }
}

void Hexagons(RgbImage& img, Random&) {
  const double size = 11;  // centre to corner
  const double w = std::sqrt(3.0) * size;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      // Distance to the nearest hexagon edge, from the nearest of the
      // candidate centres of a pointy-top hexagon grid.
      double best = 1e9, second = 1e9;
      const int row = int(std::floor(y / (1.5 * size)));
      for (int r = row - 1; r <= row + 2; ++r) {
        const double cy = r * 1.5 * size;
        const double offset = (r & 1) ? w / 2 : 0;
        const int col = int(std::floor((x - offset) / w));
        for (int c = col - 1; c <= col + 2; ++c) {
          const double d = std::hypot(x + 0.5 - (c * w + offset), y + 0.5 - cy);
          if (d < best) { second = best; best = d; }
          else if (d < second) second = d;
        }
      }
      const double edge = (second - best) / 2;
      Rgb c = Mix(Hex(0xF4F6FA), Hex(0xE8ECF4), Smoothstep(0, size, best));
      img.At(x, y) = Mix(c, Hex(0xC9D2E2), Smoothstep(1.2, 0.2, edge));
    }
}

void Snowfall(RgbImage& img, Random& rnd) {
  VerticalGradient(img, Hex(0xD4E4F4), Hex(0xF1F6FC));
  for (int i = 0; i < 140; ++i) {
    const double r = std::pow(rnd.Uniform(), 2.2) * 2.3 + 0.6;
    SoftDisc(img, rnd.Range(0, img.width), rnd.Range(0, img.height), r, Hex(0xFFFFFF), 0.95, r > 1.8 ? 1.0 : 0.5);
  }
}

void Dunes(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double ridge = y + 9 * std::sin(x / 47.0) + 4 * std::sin(x / 17.0 + 1.3);
      const double band = 0.5 + 0.5 * std::sin(ridge / 5.5);
      const double shade = std::pow(band, 4);
      img.At(x, y) = Mix(Mix(Hex(0xFAF0DE), Hex(0xF3E3C6), double(y) / img.height), Hex(0xE9D4AE), 0.55 * shade);
    }
}

void Marble(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double turbulence = Fbm(x / 40.0, y / 40.0, 6, 41);
      const double v = std::fabs(std::sin((x + y * 0.6) / 22.0 + turbulence * 7.0));
      const double vein = Smoothstep(0.12, 0.0, v);
      const double fine = Smoothstep(0.05, 0.0, std::fabs(std::sin((x * 0.7 - y) / 9.0 + turbulence * 11.0)));
      Rgb c = Mix(Hex(0xF5F5F2), Hex(0xECEDEA), Fbm(x / 15.0, y / 15.0, 3, 43));
      c = Mix(c, Hex(0xCACED6), 0.75 * vein);
      img.At(x, y) = Mix(c, Hex(0xDCDFE4), 0.5 * fine);
    }
}

void LowPoly(RgbImage& img, Random& rnd) {
  // A jittered grid of points, each cell cut into two triangles, each
  // triangle one flat colour along a teal-to-lilac sweep.
  const int cols = 14, rows = 3;
  const double cw = double(img.width) / cols, ch = double(img.height) / rows;
  std::vector<std::pair<double, double>> pts;
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) {
      const bool edgeX = c == 0 || c == cols, edgeY = r == 0 || r == rows;
      pts.push_back({c * cw + (edgeX ? 0 : rnd.Range(-cw * 0.3, cw * 0.3)),
                     r * ch + (edgeY ? 0 : rnd.Range(-ch * 0.3, ch * 0.3))});
    }
  auto at = [&](int r, int c) { return pts[std::size_t(r * (cols + 1) + c)]; };
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const auto a = at(r, c), b = at(r, c + 1), d = at(r + 1, c), e = at(r + 1, c + 1);
      for (int half = 0; half < 2; ++half) {
        std::vector<std::pair<double, double>> tri = half ? std::vector{a, b, e} : std::vector{a, e, d};
        const double t = (c + 0.5 * half) / cols;
        const Rgb colour = Mix(Mix(Hex(0xD5F0EE), Hex(0xE7DDF5), t), Hex(0xFFFFFF), rnd.Range(0.0, 0.55));
        Fill(img, Polygon(tri), colour, 1.0, 2);
      }
    }
}

void MistyMountains(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xEAF0F8), Hex(0xF6F8FB));
  const Rgb ranges[] = {Hex(0xDCE3EE), Hex(0xCCD6E5), Hex(0xBCC9DC)};
  for (int k = 0; k < 3; ++k) {
    const std::uint32_t seed = 50 + std::uint32_t(k);
    FillBelow(img, [&](double x) {
      const double ridge = 1 - std::fabs(2 * Fbm(x / (60.0 - 12 * k), k * 3.1, 4, seed) - 1);
      return (16 + 15 * k) * img.height / 70.0 + 26 * (0.6 - ridge);
    }, ranges[k]);
    // Mist rises from the foot of each range.
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        Blend(img, x, y, Hex(0xF7F9FC), 0.22 * Smoothstep((25 + 15 * k) * img.height / 70.0, img.height, y));
  }
}

void Chambray(RgbImage& img, Random& rnd) {
  std::vector<double> rowsShade(std::size_t(img.height)), colsShade(std::size_t(img.width));
  for (double& v : rowsShade) v = rnd.Range(-1, 1);
  for (double& v : colsShade) v = rnd.Range(-1, 1);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const bool over = (x + y) % 2 == 0;
      const double thread = over ? rowsShade[std::size_t(y)] : colsShade[std::size_t(x)];
      const double slub = Fbm(x / 30.0, y / 3.0, 3, 61) - 0.5;
      img.At(x, y) = Scale(Hex(0xE6ECF3), 1 + 0.022 * thread + 0.03 * slub);
    }
}

void Bubbles(RgbImage& img, Random& rnd) {
  VerticalGradient(img, Hex(0xE6F6FA), Hex(0xD9F0F5));
  for (int i = 0; i < 26; ++i) {
    const double r = rnd.Range(4, 16), cx = rnd.Range(0, img.width), cy = rnd.Range(0, img.height);
    SoftDisc(img, cx, cy, r, Hex(0xF2FBFD), 0.35, 1);
    SoftRing(img, cx, cy, r, 1.2, Hex(0xA9D8E3), 0.55);
    SoftDisc(img, cx - r * 0.4, cy - r * 0.4, r * 0.22, Hex(0xFFFFFF), 0.8, 1);
  }
}

void Petals(RgbImage& img, Random& rnd) {
  HorizontalGradient(img, Hex(0xFEF3F5), Hex(0xFBEAF0));
  for (int i = 0; i < 45; ++i) {
    const double cx = rnd.Range(0, img.width), cy = rnd.Range(0, img.height);
    const double a = rnd.Range(0, kPi), len = rnd.Range(4, 8), wid = len * 0.55;
    const Rgb c = Mix(Hex(0xF6C4D2), Hex(0xFBDDE6), rnd.Uniform());
    const double ca = std::cos(a), sa = std::sin(a);
    Fill(img, [=](double x, double y) {
      const double u = ((x - cx) * ca + (y - cy) * sa) / len, v = (-(x - cx) * sa + (y - cy) * ca) / wid;
      // A petal: an ellipse with a small notch at its outer end.
      return u * u + v * v < 1 && !(u > 0.75 && std::fabs(v) < 0.18);
    }, c, 0.85, 3);
  }
}

void Aurora(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xEDF3F6), Hex(0xF7F9F5));
  // Two curtains of light: each bright along its lower edge, fading upwards,
  // and streaked by noise that varies across only.
  struct Curtain {
    double base, swing, period, phase;
    std::uint32_t colour;
    std::uint32_t seed;
  };
  const Curtain curtains[] = {{30, 10, 55, 0.0, 0xBFE8D0, 91}, {52, 8, 43, 2.2, 0xDACBF0, 92}};
  for (const Curtain& c : curtains)
    for (int x = 0; x < img.width; ++x) {
      const double edge = c.base * img.height / 70.0 + c.swing * std::sin(x / c.period + c.phase) +
                          3 * std::sin(x / 17.0 + c.phase);
      const double rays = 0.55 + 0.45 * Fbm(x / 3.5, c.phase, 3, c.seed);
      for (int y = 0; y < img.height; ++y) {
        const double above = edge - (y + 0.5);
        const double glow = above >= 0 ? std::exp(-above / 14.0) : Smoothstep(3.0, 0.0, -above);
        Blend(img, x, y, Hex(c.colour), 0.95 * glow * rays);
      }
    }
}

void Tartan(RgbImage& img, Random&) {
  // One pattern of bands across and the same along, so they cross in squares.
  auto band = [](int t) {
    const int m = t % 48;
    if (m < 10) return 1;               // a wide soft band
    if (m >= 20 && m < 23) return 2;    // a thin line
    if (m >= 30 && m < 34) return 3;
    return 0;
  };
  const Rgb colours[] = {Hex(0xF3F5EF), Hex(0xDEE8D2), Hex(0xE9CFCF), Hex(0xD6DEEA)};
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Rgb across = colours[band(y + 5)], along = colours[band(x)];
      const Rgb woven = (x + y) % 4 < 2 ? Mix(across, along, 0.35) : Mix(across, along, 0.65);
      img.At(x, y) = woven;
    }
}

void GraphPaper(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      Rgb c = Hex(0xFBFCFE);
      if (x % 7 == 3 || y % 7 == 3) c = Hex(0xDFE8F4);
      if (x % 35 == 3 || y % 35 == 3) c = Hex(0xBFD1EA);
      img.At(x, y) = c;
    }
}

void LilacSparkles(RgbImage& img, Random& rnd) {
  VerticalGradient(img, Hex(0xE3DDF2), Hex(0xF5F1FA));
  for (int i = 0; i < 40; ++i) {
    const double cx = rnd.Range(0, img.width), cy = rnd.Range(0, img.height), s = rnd.Range(2.5, 6);
    const Rgb c = rnd.Uniform() < 0.5 ? Hex(0xB9ABDF) : Hex(0xFFFFFF);
    SoftLine(img, cx - s, cy, cx + s, cy, 1.0, c, 0.8);
    SoftLine(img, cx, cy - s, cx, cy + s, 1.0, c, 0.8);
    SoftDisc(img, cx, cy, s * 0.35, c, 0.9, 0.6);
  }
  for (int i = 0; i < 90; ++i)
    SoftDisc(img, rnd.Range(0, img.width), rnd.Range(0, img.height), 0.7, Hex(0xC7BCE6), 0.8, 0.5);
}

void PastelRainbow(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Rgb hue = Pastel(double(x) / img.width * 0.85, 0.20, 1.0);
      img.At(x, y) = Mix(hue, Hex(0xFFFFFF), 0.6 * Smoothstep(img.height, 0, y));
    }
}

void SeaHorizon(RgbImage& img, Random& rnd) {
  const int horizon = img.height * 4 / 10;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      img.At(x, y) = y < horizon ? Mix(Hex(0xE2EEFA), Hex(0xF6F2EA), double(y) / horizon)
                                 : Mix(Hex(0xD6EAF2), Hex(0xC5E1EC), double(y - horizon) / (img.height - horizon));
  SoftDisc(img, img.width * 0.3, horizon - 6, 9, Hex(0xFFF8E6), 0.95, 2);
  for (int i = 0; i < 110; ++i) {
    const double y = rnd.Range(horizon + 2, img.height), spread = (y - horizon) * 1.6 + 6;
    const double x = img.width * 0.3 + rnd.Range(-spread, spread), len = rnd.Range(3, 10) * (y - horizon + 8) / 30;
    SoftLine(img, x - len, y, x + len, y, 1.0, Hex(0xFFFFFF), 0.7 * Smoothstep(spread * 1.1, 0, std::fabs(x - img.width * 0.3)));
  }
  for (int i = 0; i < 60; ++i) {
    const double y = rnd.Range(horizon + 3, img.height), x = rnd.Range(0, img.width);
    SoftLine(img, x - 6, y, x + 6, y, 0.9, Hex(0xEAF5FA), 0.6);
  }
}

void Chevrons(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double zig = std::fabs(Fract(x / 28.0) - 0.5) * 28;  // 0..14 triangle wave
      const double t = Fract((y + zig) / 18.0);
      const double band = Smoothstep(0.0, 0.06, t) - Smoothstep(0.46, 0.52, t);
      img.At(x, y) = Mix(Hex(0xFFF3E6), Hex(0xFBDDBF), band);
    }
}

void MapleWood(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double warp = Fbm(x / 120.0, y / 20.0, 4, 71) * 16 + 3 * std::sin(x / 90.0);
      const double ring = Fract((y + warp) / 6.0);
      const double grain = Smoothstep(0.25, 0.0, ring) + 0.4 * Smoothstep(0.1, 0.0, std::fabs(ring - 0.55));
      const double pores = Fbm(x / 2.0, y / 12.0, 2, 73) - 0.5;
      Rgb c = Mix(Hex(0xF7E8CF), Hex(0xF2DEBE), Fbm(x / 60.0, y / 30.0, 3, 72));
      c = Mix(c, Hex(0xE3C699), 0.55 * Clamp01(grain));
      img.At(x, y) = Scale(c, 1 + 0.03 * pores);
    }
}

void GoldLines(RgbImage& img, Random&) {
  VerticalGradient(img, Hex(0xFBF1D5), Hex(0xFFFAEF));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if ((x - y + 1000) % 12 == 0) Blend(img, x, y, Hex(0xF0DFAE), 0.7);
}

void SlateMist(RgbImage& img, Random&) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      img.At(x, y) = Mix(Mix(Hex(0xE0E6EE), Hex(0xF5F7FA), double(x) / img.width), Hex(0xFFFFFF),
                         0.35 * Fbm(x / 80.0, y / 25.0, 4, 81));
}

void MintSprinkles(RgbImage& img, Random&) {
  for (auto& p : img.pixels) p = Hex(0xE7F6EF);
  for (int y = 3; y < img.height; y += 6)
    for (int x = (y / 6) % 2 ? 3 : 6; x < img.width; x += 6) SoftDisc(img, x, y, 1.1, Hex(0xBFE5D3), 1.0, 0.5);
}

using Painter = void (*)(RgbImage&, Random&);

struct Entry {
  PictureInfo info;
  Painter paint;
};

const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = [] {
    // A few are a little wider, narrower or taller than the rest.
    const struct {
      const char* title;
      Painter paint;
      int width, height;
    } table[] = {
        {"morning sky", MorningSky, 410, 70},       {"sea waves", SeaWaves, 410, 70},
        {"warm bokeh", WarmBokeh, 410, 70},         {"mint stripes", MintStripes, 412, 70},
        {"cream paper", CreamPaper, 410, 70},       {"lavender rays", LavenderRays, 410, 70},
        {"green hills", GreenHills, 410, 70},       {"lemon dots", LemonDots, 410, 70},
        {"pink gingham", PinkGingham, 408, 72},     {"sunset", Sunset, 410, 70},
        {"bamboo", Bamboo, 410, 70},                {"watercolour", Watercolour, 410, 70},
        {"ripples", Ripples, 410, 68},              {"hexagons", Hexagons, 410, 70},
        {"snowfall", Snowfall, 410, 70},            {"dunes", Dunes, 410, 70},
        {"marble", Marble, 410, 70},                {"low poly", LowPoly, 414, 70},
        {"misty mountains", MistyMountains, 410, 70}, {"chambray", Chambray, 410, 70},
        {"bubbles", Bubbles, 410, 70},              {"petals", Petals, 410, 72},
        {"aurora", Aurora, 410, 70},                {"tartan", Tartan, 410, 70},
        {"graph paper", GraphPaper, 410, 70},       {"lilac sparkles", LilacSparkles, 410, 70},
        {"pastel rainbow", PastelRainbow, 406, 70}, {"sea horizon", SeaHorizon, 410, 70},
        {"chevrons", Chevrons, 410, 70},            {"maple wood", MapleWood, 410, 70},
    };
    std::vector<Entry> out;
    int n = 1;
    for (const auto& row : table) {
      char name[32];
      std::snprintf(name, sizeof name, "picture%02d.bmp", n);
      out.push_back({{259 + n, name, row.title, row.width, row.height}, row.paint});
      ++n;
    }
    out.push_back({{290, "extra290.bmp", "gold lines", 410, 70}, GoldLines});
    out.push_back({{299, "extra299.bmp", "slate mist", 410, 70}, SlateMist});
    out.push_back({{300, "extra300.bmp", "mint sprinkles", 400, 70}, MintSprinkles});
    return out;
  }();
  return entries;
}

}  // namespace

const std::vector<PictureInfo>& Pictures() {
  static const std::vector<PictureInfo> infos = [] {
    std::vector<PictureInfo> out;
    for (const Entry& e : Entries()) out.push_back(e.info);
    return out;
  }();
  return infos;
}

RgbImage DrawPicture(std::size_t entry) {
  const Entry& e = Entries().at(entry);
  RgbImage img(e.info.width, e.info.height, Hex(0xFFFFFF));
  Random rnd(0x5157'4152'0000ull + std::uint64_t(e.info.resourceId));
  e.paint(img, rnd);
  for (Rgb& p : img.pixels) p = {Clamp01(p.r), Clamp01(p.g), Clamp01(p.b)};
  return img;
}

}  // namespace artgen
