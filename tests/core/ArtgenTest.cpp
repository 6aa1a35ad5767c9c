// The picture generator: its file writers and palette reduction (the bytes
// that end up in the program's bitmap and icon resources) and the drawing
// helpers the icons and pictures are made with.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "../../tools/artgen/Canvas.h"
#include "../../tools/artgen/Raster.h"

using namespace artgen;

namespace {

std::uint32_t Get16(const std::string& b, std::size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}

std::uint32_t Get32(const std::string& b, std::size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

std::int32_t GetSigned32(const std::string& b, std::size_t at) { return std::int32_t(Get32(b, at)); }

// A test picture of few colours whose index depends on x and y.
IndexedImage Pattern(int width, int height, int colours) {
  IndexedImage img;
  img.width = width;
  img.height = height;
  for (int i = 0; i < colours; ++i)
    img.palette.push_back({std::uint8_t(i * 7), std::uint8_t(255 - i), std::uint8_t(i * 3 % 256)});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) img.index.push_back(std::uint8_t((x * 3 + y * 5) % colours));
  return img;
}

}  // namespace

TEST(EncodeBmp8, WritesBottomUpRowsPaddedToFourBytes) {
  struct Case { int width, height, colours; } cases[] = {
      {1, 1, 1}, {2, 3, 2}, {3, 2, 5}, {4, 1, 16}, {5, 4, 256}, {410, 70, 256}, {407, 3, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const IndexedImage img = Pattern(c.width, c.height, c.colours);
    const std::string bmp = EncodeBmp8(img);
    const std::uint32_t stride = (std::uint32_t(c.width) + 3) / 4 * 4;
    const std::uint32_t bits = 14 + 40 + 4 * std::uint32_t(c.colours);

    ASSERT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    EXPECT_EQ(Get32(bmp, 10), bits);
    EXPECT_EQ(bmp.size(), bits + stride * std::uint32_t(c.height));
    EXPECT_EQ(Get32(bmp, 14), 40u);
    EXPECT_EQ(GetSigned32(bmp, 18), c.width);
    EXPECT_EQ(GetSigned32(bmp, 22), c.height);  // positive: bottom-up
    EXPECT_EQ(Get16(bmp, 26), 1u);
    EXPECT_EQ(Get16(bmp, 28), 8u);
    EXPECT_EQ(Get32(bmp, 30), 0u);  // uncompressed
    EXPECT_EQ(Get32(bmp, 34), stride * std::uint32_t(c.height));
    EXPECT_EQ(Get32(bmp, 46), std::uint32_t(c.colours));

    for (int i = 0; i < c.colours; ++i) {
      const std::size_t at = 54 + 4 * std::size_t(i);
      EXPECT_EQ(std::uint8_t(bmp[at]), img.palette[std::size_t(i)].b);
      EXPECT_EQ(std::uint8_t(bmp[at + 1]), img.palette[std::size_t(i)].g);
      EXPECT_EQ(std::uint8_t(bmp[at + 2]), img.palette[std::size_t(i)].r);
      EXPECT_EQ(bmp[at + 3], 0);
    }
    for (int y = 0; y < c.height; ++y) {
      const std::size_t row = bits + std::size_t(c.height - 1 - y) * stride;
      for (int x = 0; x < c.width; ++x)
        ASSERT_EQ(std::uint8_t(bmp[row + std::size_t(x)]), img.index[std::size_t(y * c.width + x)])
            << "pixel " << x << "," << y;
      for (std::uint32_t pad = std::uint32_t(c.width); pad < stride; ++pad) EXPECT_EQ(bmp[row + pad], 0);
    }
  }
}

TEST(EncodeIco, DirectoryPointsAtEachImageWithItsAlphaAndMask) {
  // The sizes every icon of the program is drawn at.
  std::vector<RgbaImage> images;
  for (int size : {16, 20, 24, 32, 48}) {
    RgbaImage img(size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        img.At(x, y) = {x / double(size), y / double(size), 0.5, ((x + 2 * y) % 5) / 4.0};
    images.push_back(img);
  }
  const std::string ico = EncodeIco(images);

  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Get16(ico, 0), 0u);
  EXPECT_EQ(Get16(ico, 2), 1u);
  ASSERT_EQ(Get16(ico, 4), images.size());
  std::uint32_t expectedOffset = 6 + 16 * std::uint32_t(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const RgbaImage& img = images[i];
    SCOPED_TRACE("size " + std::to_string(img.width));
    const std::size_t entry = 6 + 16 * i;
    EXPECT_EQ(std::uint8_t(ico[entry]), img.width);
    EXPECT_EQ(std::uint8_t(ico[entry + 1]), img.height);
    EXPECT_EQ(Get16(ico, entry + 6), 32u);
    const std::uint32_t bytes = Get32(ico, entry + 8), offset = Get32(ico, entry + 12);
    EXPECT_EQ(offset, expectedOffset);
    expectedOffset += bytes;

    const std::uint32_t maskStride = (std::uint32_t(img.width) + 31) / 32 * 4;
    EXPECT_EQ(bytes, 40 + std::uint32_t(img.width * img.height) * 4 + maskStride * std::uint32_t(img.height));
    EXPECT_EQ(GetSigned32(ico, offset + 4), img.width);
    EXPECT_EQ(GetSigned32(ico, offset + 8), 2 * img.height);  // colour and mask together
    EXPECT_EQ(Get16(ico, offset + 14), 32u);

    const std::size_t pixels = offset + 40;
    const std::size_t mask = pixels + std::size_t(img.width * img.height) * 4;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x) {
        const Rgba& p = img.At(x, y);
        const std::size_t at = pixels + (std::size_t(img.height - 1 - y) * std::size_t(img.width) + std::size_t(x)) * 4;
        ASSERT_EQ(std::uint8_t(ico[at + 3]), ToByte(p.a)) << x << "," << y;
        if (ToByte(p.a) == 0) {
          // Fully clear pixels carry black, which the mask path leaves unchanged.
          EXPECT_EQ(Get16(ico, at) | std::uint32_t(std::uint8_t(ico[at + 2])) << 16, 0u);
        } else {
          EXPECT_EQ(std::uint8_t(ico[at]), ToByte(p.b));
          EXPECT_EQ(std::uint8_t(ico[at + 1]), ToByte(p.g));
          EXPECT_EQ(std::uint8_t(ico[at + 2]), ToByte(p.r));
        }
        const std::size_t maskRow = mask + std::size_t(img.height - 1 - y) * maskStride;
        const bool transparent = (std::uint8_t(ico[maskRow + std::size_t(x / 8)]) >> (7 - x % 8)) & 1;
        EXPECT_EQ(transparent, p.a < 0.5) << x << "," << y;
      }
  }
  EXPECT_EQ(expectedOffset, ico.size());
}

TEST(Quantise, KeepsAPictureOfFewColoursExactly) {
  RgbImage img(37, 11);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const int k = (x * 11 + y * 3) % 200;  // 200 distinct colours
      img.At(x, y) = {k / 255.0, (255 - k) / 255.0, (k * 5 % 256) / 255.0};
    }
  const IndexedImage out = Quantise(img, 256, 2.0);
  EXPECT_EQ(out.palette.size(), 200u);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Rgb8 got = out.palette[out.index[std::size_t(y * img.width + x)]];
      const Rgb& want = img.At(x, y);
      ASSERT_EQ(got, (Rgb8{ToByte(want.r), ToByte(want.g), ToByte(want.b)})) << x << "," << y;
    }
}

namespace {

// A soft two-way gradient like the pictures': far more than 256 colours.
RgbImage SoftGradient() {
  RgbImage img(300, 60);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      img.At(x, y) = {0.7 + 0.3 * x / 299.0, 0.85 + 0.1 * y / 59.0, 0.95 - 0.2 * x / 299.0};
  return img;
}

double ChannelError(const Rgb& a, const Rgb8& b) {
  return std::max({std::fabs(a.r * 255 - b.r), std::fabs(a.g * 255 - b.g), std::fabs(a.b * 255 - b.b)});
}

}  // namespace

TEST(Quantise, ReducesManyColoursToAPaletteCloseToThePicture) {
  // The picture spans about 77 levels of red, 26 of green and 51 of blue;
  // median cut keeps every pixel within a few levels of its colour.
  struct Case { int maxColours; double worst, mean; } cases[] = {{256, 4, 1.5}, {64, 6, 3}, {16, 10, 5}};
  const RgbImage img = SoftGradient();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxColours);
    const IndexedImage out = Quantise(img, c.maxColours, 0);
    EXPECT_EQ(out.palette.size(), std::size_t(c.maxColours));
    double worst = 0, sum = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
      const double e = ChannelError(img.pixels[i], out.palette[out.index[i]]);
      worst = std::max(worst, e);
      sum += e;
    }
    EXPECT_LE(worst, c.worst);
    EXPECT_LE(sum / double(img.pixels.size()), c.mean);
  }
}

TEST(Quantise, DitherKeepsTheAverageColourOfEachArea) {
  // With a coarse palette, plain nearest-colour mapping makes flat bands;
  // the ordered dither mixes neighbouring colours so that 8 x 8 areas keep
  // the picture's average.
  const RgbImage img = SoftGradient();
  auto blockError = [&](const IndexedImage& out) {
    double total = 0;
    int blocks = 0;
    for (int by = 0; by + 8 <= img.height; by += 8)
      for (int bx = 0; bx + 8 <= img.width; bx += 8) {
        double want = 0, got = 0;
        for (int y = by; y < by + 8; ++y)
          for (int x = bx; x < bx + 8; ++x) {
            want += img.At(x, y).r * 255;
            got += out.palette[out.index[std::size_t(y * img.width + x)]].r;
          }
        total += std::fabs(want - got) / 64;
        ++blocks;
      }
    return total / blocks;
  };
  const double plain = blockError(Quantise(img, 16, 0));
  const double dithered = blockError(Quantise(img, 16, 24));
  EXPECT_LT(dithered, plain * 0.6) << "plain " << plain << ", dithered " << dithered;
}

TEST(Quantise, GivesTheSameBytesEveryTime) {
  const RgbImage img = SoftGradient();
  EXPECT_EQ(EncodeBmp8(Quantise(img, 256, 2)), EncodeBmp8(Quantise(img, 256, 2)));
}

// ---- Drawing helpers.

TEST(Shapes, ContainExactlyTheirPoints) {
  struct Case { const char* what; Shape shape; double x, y; bool inside; } cases[] = {
      {"circle centre", Circle(5, 5, 3), 5, 5, true},
      {"circle rim outside", Circle(5, 5, 3), 8.01, 5, false},
      {"ring hole", Ring(5, 5, 2, 4), 5, 5, false},
      {"ring band", Ring(5, 5, 2, 4), 8, 5, true},
      {"rounded corner cut", RoundRect(0, 0, 10, 10, 3), 0.2, 0.2, false},
      {"rounded edge kept", RoundRect(0, 0, 10, 10, 3), 0.2, 5, true},
      {"rounded right edge is open", RoundRect(0, 0, 10, 10, 3), 10, 5, false},
      {"capsule end cap", Capsule(2, 2, 8, 2, 2), 8.9, 2, true},
      {"capsule beside", Capsule(2, 2, 8, 2, 2), 5, 3.1, false},
      // A concave L: the notch is outside.
      {"polygon arm", Polygon({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}), 0.5, 3, true},
      {"polygon notch", Polygon({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 4}, {0, 4}}), 3, 3, false},
      {"minus", Minus(Circle(0, 0, 5), Circle(0, 0, 2)), 1, 0, false},
      {"intersect", Intersect(Circle(0, 0, 5), Circle(4, 0, 5)), 2, 0, true},
      {"union", Union({Circle(0, 0, 1), Circle(10, 0, 1)}), 10, 0.5, true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shape(c.x, c.y), c.inside) << c.what;
}

TEST(Shapes, ArcRunsClockwiseAndMayPassZeroDegrees) {
  // y grows downwards, so 90 degrees is straight below the centre.
  struct Case { double a0, a1, angle; bool inside; } cases[] = {
      {0, 90, 45, true},     {0, 90, 135, false},  {0, 90, 300, false},
      {270, 165, 0, true},   {270, 165, 90, true}, {270, 165, 200, false},  // wraps past 360
      {90, 345, 180, true},  {90, 345, 0, false},
      {-30, 30, 350, true},  {-30, 30, 40, false}, {0, 360, 123, true},
  };
  for (const auto& c : cases) {
    const double rad = c.angle * kPi / 180;
    const Shape arc = Arc(0, 0, 10, 2, c.a0, c.a1);
    EXPECT_EQ(arc(10 * std::cos(rad), 10 * std::sin(rad)), c.inside) << c.a0 << ".." << c.a1 << " at " << c.angle;
    EXPECT_FALSE(arc(0, 0)) << "the centre is never on the stroke";
  }
}

TEST(Fill, CoverageAntiAliasesEdgesAndCompositesOver) {
  RgbaImage img(10, 10);
  // A square from 2 to 5.5: whole pixels 2..4 covered, column and row 5 half.
  Fill(img, [](double x, double y) { return x >= 2 && x < 5.5 && y >= 2 && y < 5.5; }, Rgba{1, 0, 0, 1}, 8);
  EXPECT_DOUBLE_EQ(img.At(3, 3).a, 1);
  EXPECT_DOUBLE_EQ(img.At(5, 3).a, 0.5);
  EXPECT_DOUBLE_EQ(img.At(5, 5).a, 0.25);
  EXPECT_DOUBLE_EQ(img.At(1, 3).a, 0);
  EXPECT_DOUBLE_EQ(img.At(3, 3).r, 1);

  // Half-opaque blue over the half-covered red pixel: alpha 0.5 + 0.5 * 0.5,
  // colour weighted by what each layer contributes.
  Fill(img, Circle(5, 5, 100), Rgba{0, 0, 1, 0.5}, 2);
  EXPECT_DOUBLE_EQ(img.At(5, 3).a, 0.75);
  EXPECT_NEAR(img.At(5, 3).r, 0.25 / 0.75, 1e-12);
  EXPECT_NEAR(img.At(5, 3).b, 0.5 / 0.75, 1e-12);
  // Over nothing, a colour keeps its own value.
  EXPECT_DOUBLE_EQ(img.At(0, 0).b, 1);
  EXPECT_DOUBLE_EQ(img.At(0, 0).a, 0.5);
}

TEST(Fill, CircleCoversItsArea) {
  for (double r : {3.3, 7.0, 11.5}) {
    RgbaImage img(32, 32);
    Fill(img, Circle(16, 16, r), Rgba{0, 0, 0, 1}, 8);
    double area = 0;
    for (const Rgba& p : img.pixels) area += p.a;
    EXPECT_NEAR(area, kPi * r * r, kPi * r * r * 0.01) << "radius " << r;
  }
}

TEST(Noise, IsDeterministicBoundedAndSmooth) {
  Random a(42), b(42), c(43);
  for (int i = 0; i < 100; ++i) {
    const std::uint64_t x = a.Next();
    EXPECT_EQ(x, b.Next());
    EXPECT_NE(x, c.Next());
  }
  for (int i = 0; i < 1000; ++i) {
    const double u = a.Uniform();
    ASSERT_GE(u, 0);
    ASSERT_LT(u, 1);
  }
  double lo = 1, hi = 0;
  for (int i = 0; i < 2000; ++i) {
    const double x = i * 0.037 - 20, y = i * 0.011 - 5;
    const double n = ValueNoise(x, y, 7), f = Fbm(x, y, 5, 7);
    lo = std::min({lo, n, f});
    hi = std::max({hi, n, f});
    // A step of 0.001 changes the noise by little: no jumps at lattice lines.
    EXPECT_LT(std::fabs(ValueNoise(x + 0.001, y, 7) - n), 0.01) << x << "," << y;
  }
  EXPECT_GE(lo, 0);
  EXPECT_LE(hi, 1);
  EXPECT_GT(hi - lo, 0.5) << "the noise should use most of its range";
  EXPECT_NE(ValueNoise(3.5, 2.5, 1), ValueNoise(3.5, 2.5, 2)) << "the seed matters";
}
