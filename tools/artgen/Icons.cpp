#include "Icons.h"

#include <algorithm>

#include "Canvas.h"

namespace artgen {

namespace {

Rgba Opaque(const Rgb& c) { return {c.r, c.g, c.b, 1}; }

// Strokes get thinner with the icon but never thinner than the pixel
// grid can show cleanly.
struct AppIconMetrics {
  double barTop, barBottom, barRight, border;    // the search field
  double lensX, lensY, lensRadius, lensRing;     // the magnifier
  double handleLength, handleWidth;
  double caretWidth;
};

AppIconMetrics MetricsFor(int size) {
  switch (size) {
    case 16: return {3.0, 10.5, 11.0, 1.2, 9.8, 6.8, 5.0, 1.75, 6.0, 2.6, 0.0};  // no room for a caret
    case 20: return {3.8, 13.2, 14.0, 1.4, 12.3, 8.5, 6.2, 2.1, 7.4, 3.1, 0.0};
    case 24: return {4.3, 15.8, 17.0, 1.6, 14.8, 10.2, 7.3, 2.4, 8.6, 3.5, 1.3};
    case 32: return {5.5, 21.5, 24.0, 2.0, 20.0, 13.5, 9.6, 2.9, 11.0, 4.4, 1.6};
    default: return {8.0, 32.0, 36.0, 2.6, 30.0, 20.0, 14.0, 4.2, 16.0, 6.5, 2.2};
  }
}

}  // namespace

RgbaImage DrawAppIcon(int size) {
  const AppIconMetrics m = MetricsFor(size);
  const double s = size;
  RgbaImage img(size, size);
  const Rgb blue = Hex(0x2468CC), deepBlue = Hex(0x17458F), glass = Hex(0xD8ECFF);
  const Rgb handle = Hex(0xE07B1F), handleDark = Hex(0xA8520E);

  // The search field: a white pill with a blue edge.
  const double left = 0.5, radius = (m.barBottom - m.barTop) / 2;
  Fill(img, RoundRect(left, m.barTop, m.barRight, m.barBottom, radius), Opaque(blue));
  Fill(img,
       RoundRect(left + m.border, m.barTop + m.border, m.barRight - m.border, m.barBottom - m.border,
                 radius - m.border),
       [&](double, double y) {
         const double t = (y - m.barTop) / (m.barBottom - m.barTop);
         return Opaque(Mix(Hex(0xFFFFFF), Hex(0xE4EEFA), t));
       });
  // A text caret in the field.
  if (m.caretWidth > 0) {
    const double caretX = left + m.border + radius * 0.9;
    Fill(img, Capsule(caretX, m.barTop + m.border + radius * 0.45, caretX, m.barBottom - m.border - radius * 0.45,
                      m.caretWidth),
         Opaque(deepBlue));
  }

  // The magnifier: handle first, then the lens over it.
  const double hx = m.lensX + m.lensRadius * 0.70710678, hy = m.lensY + m.lensRadius * 0.70710678;
  const double ex = std::min(hx + m.handleLength * 0.70710678, s - m.handleWidth / 2);
  const double ey = std::min(hy + m.handleLength * 0.70710678, s - m.handleWidth / 2);
  Fill(img, Capsule(hx, hy, ex, ey, m.handleWidth),
       [&](double x, double y) {
         // Lit on its upper-left side.
         const double across = ((x - hx) - (y - hy)) / m.handleWidth;
         return Opaque(Mix(handle, handleDark, Clamp01(0.5 - across)));
       });
  Fill(img, Circle(m.lensX, m.lensY, m.lensRadius - m.lensRing / 2), [&](double x, double y) {
    const double t = Clamp01(((x - m.lensX) + (y - m.lensY)) / (2 * m.lensRadius) + 0.5);
    const Rgb c = Mix(Hex(0xFFFFFF), glass, t);
    return Rgba{c.r, c.g, c.b, 0.85};
  });
  Fill(img, Ring(m.lensX, m.lensY, m.lensRadius - m.lensRing, m.lensRadius), Opaque(deepBlue));
  if (size >= 32) {
    // A glint on the glass.
    Fill(img, Arc(m.lensX, m.lensY, m.lensRadius * 0.55, m.lensRing * 0.55, 195, 255),
         Rgba{1, 1, 1, 0.95});
  }
  return img;
}

namespace {

// Tile colours, one hue per position so that the menu positions are told
// apart at a glance.
constexpr std::uint32_t kTileColours[kEnginePositions] = {
    0x2F6FD6,  // 0 blue: magnifier, web search
    0x2E9E4F,  // 1 green: G
    0x1F8FBF,  // 2 azure: b
    0x149EA3,  // 3 teal: picture
    0x7A4CC2,  // 4 purple: two pictures
    0xE0527F,  // 5 pink: a television with antennae
    0x5B6770,  // 6 slate: map pin
    0xC93A8F,  // 7 magenta: play
    0xB7791F,  // 8 amber: S
    0x283C78,  // 9 navy: open book
};

// The glyph of a position in a 16-unit box; `u` is pixels per unit.
Shape Glyph(int position, double u) {
  auto C = [u](double x, double y, double r) { return Circle(x * u, y * u, r * u); };
  auto L = [u](double ax, double ay, double bx, double by, double w) {
    return Capsule(ax * u, ay * u, bx * u, by * u, w * u);
  };
  auto P = [u](std::vector<std::pair<double, double>> pts) {
    for (auto& p : pts) p = {p.first * u, p.second * u};
    return Polygon(std::move(pts));
  };
  switch (position) {
    case 0:
      return Union({Ring(6.6 * u, 6.6 * u, 2.5 * u, 4.6 * u), L(9.9, 9.9, 13.0, 13.0, 2.6)});
    case 1:
      return Union({Arc(8 * u, 8 * u, 4.4 * u, 2.1 * u, 15, 320), L(8.4, 8.3, 12.3, 8.3, 2.0),
                    L(12.3, 8.3, 12.3, 10.2, 2.0)});
    case 2:
      return Union({L(5.4, 2.6, 5.4, 13.0, 2.2), Ring(8.7 * u, 9.6 * u, 1.6 * u, 3.5 * u)});
    case 3:
      // A white photo card; the hills and the sun are cut out of it.
      return Minus(RoundRect(2.3 * u, 3.3 * u, 13.7 * u, 12.7 * u, 1.0 * u),
                   Union({P({{3.6, 11.4}, {6.7, 6.9}, {9.0, 9.6}, {10.4, 8.2}, {12.4, 11.4}}), C(10.6, 6.2, 1.35)}));
    case 4: {
      // A photo card in front of the frame of another, with a gap between.
      Shape front = Minus(RoundRect(1.8 * u, 5.8 * u, 11.0 * u, 13.8 * u, 0.9 * u),
                          P({{3.0, 12.6}, {5.5, 8.9}, {7.4, 11.0}, {8.6, 9.9}, {9.9, 12.6}}));
      Shape back = Minus(Minus(RoundRect(5.0 * u, 2.2 * u, 14.2 * u, 10.2 * u, 0.9 * u),
                               RoundRect(6.3 * u, 3.5 * u, 12.9 * u, 8.9 * u, 0.4 * u)),
                         RoundRect(0.8 * u, 4.8 * u, 12.0 * u, 14.8 * u, 1.2 * u));
      return Union({front, back});
    }
    case 5:
      return Union({Minus(RoundRect(1.8 * u, 4.6 * u, 14.2 * u, 13.6 * u, 1.8 * u),
                          RoundRect(3.5 * u, 6.3 * u, 12.5 * u, 11.9 * u, 0.9 * u)),
                    L(5.2, 1.9, 7.2, 4.4, 1.3), L(10.8, 1.9, 8.8, 4.4, 1.3), L(5.6, 8.1, 6.9, 8.8, 1.2),
                    L(10.4, 8.1, 9.1, 8.8, 1.2)});
    case 6:
      return Minus(Union({C(8, 6.4, 3.9), P({{4.55, 8.2}, {11.45, 8.2}, {8, 14.2}})}), C(8, 6.4, 1.55));
    case 7:
      return P({{5.2, 3.4}, {5.2, 12.6}, {12.9, 8}});
    case 8:
      return Union({Arc(8 * u, 5.6 * u, 2.9 * u, 2.0 * u, 90, 345), Arc(8 * u, 10.4 * u, 2.9 * u, 2.0 * u, 270, 165)});
    default:
      return Union({P({{2.4, 4.2}, {7.4, 5.2}, {7.4, 12.6}, {2.4, 11.6}}), P({{8.6, 5.2}, {13.6, 4.2}, {13.6, 11.6}, {8.6, 12.6}})});
  }
}

}  // namespace

RgbaImage DrawEngineIcon(int position, int size) {
  const double u = size / 16.0;
  const Rgb base = Hex(kTileColours[position]);
  RgbaImage img(size, size);
  const double r = 3.2 * u;
  Fill(img, RoundRect(0, 0, size, size, r), Opaque(Scale(base, 0.78)));
  Fill(img, RoundRect(1, 1, size - 1, size - 1, r - 1), [&](double, double y) {
    return Opaque(Mix(Mix(base, Hex(0xFFFFFF), 0.28), base, y / size));
  });
  if (position == 6) {
    // The pin is red with a white rim, so it stands out on the slate tile.
    Fill(img, Glyph(6, u), Opaque(Hex(0xFFFFFF)));
    const double k = u;
    Shape inner = Minus(Union({Circle(8 * k, 6.4 * k, 2.9 * k),
                               Polygon({{5.4 * k, 8.0 * k}, {10.6 * k, 8.0 * k}, {8 * k, 12.6 * k}})}),
                        Circle(8 * k, 6.4 * k, 1.55 * k));
    Fill(img, inner, Opaque(Hex(0xE8412E)));
  } else {
    Fill(img, Glyph(position, u), Opaque(Hex(0xFFFFFF)));
  }
  return img;
}

}  // namespace artgen
