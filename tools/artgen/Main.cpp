// artgen <outdir>: draws the program's icons and background pictures and
// writes them where the resource script looks for them:
//   app.ico                         icon 128 (16, 20, 24, 32 and 48 pixels)
//   engine0.ico .. engine9.ico      icons 300..309 (the same sizes)
//   picture01.bmp .. picture30.bmp  bitmaps 260..289
//   extra290.bmp, extra299.bmp, extra300.bmp
// The output is the same, byte for byte, on every run. Before writing, the
// pictures are checked for what the bar needs of them (pale enough for black
// text, told apart from each other, small enough for the program file); a
// failed check stops the build.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Icons.h"
#include "Pictures.h"
#include "Raster.h"

namespace fs = std::filesystem;
using namespace artgen;

namespace {

// The thirty-three pictures together may take this much of the program file.
constexpr std::size_t kPictureBudget = 1200 * 1024;
// Black text needs a pale ground: the mean and the darkest one per cent of
// each picture's pixels must stay above these luminances (0..1).
constexpr double kMinMeanLuminance = 0.82;
constexpr double kMinDarkLuminance = 0.66;
// Two pictures must differ at a glance by at least this much (see Glance).
// All of them are pale, so real differences are small numbers: the closest
// pair of different patterns is about 0.018 apart, while the same pattern drawn
// again with other random numbers came out at 0.008 (snowfall) when tried.
constexpr double kMinPictureDistance = 0.012;

bool WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (out) return true;
  std::fprintf(stderr, "artgen: cannot write %s\n", path.string().c_str());
  return false;
}

RgbImage Expand(const IndexedImage& indexed) {
  RgbImage img(indexed.width, indexed.height);
  for (std::size_t i = 0; i < indexed.index.size(); ++i) {
    const Rgb8 c = indexed.palette[indexed.index[i]];
    img.pixels[i] = {c.r / 255.0, c.g / 255.0, c.b / 255.0};
  }
  return img;
}

struct Lightness {
  double mean, dark;
};

Lightness MeasureLightness(const RgbImage& img) {
  std::vector<double> lum;
  lum.reserve(img.pixels.size());
  double sum = 0;
  for (const Rgb& p : img.pixels) {
    lum.push_back(Luminance(p));
    sum += lum.back();
  }
  std::sort(lum.begin(), lum.end());
  return {sum / double(lum.size()), lum[lum.size() / 100]};
}

// What a picture looks like at a glance: for each cell of a fixed 41 x 7
// grid (so that pictures of slightly different sizes compare cell for cell)
// the average colour and the spread of lightness, which tells a texture of
// fine lines from a plain wash of the same colour.
struct Glance {
  std::vector<Rgb> average;
  std::vector<double> spread;
};

Glance TakeGlance(const RgbImage& img) {
  constexpr int kCols = 41, kRows = 7;
  Glance g;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      const int x0 = c * img.width / kCols, x1 = (c + 1) * img.width / kCols;
      const int y0 = r * img.height / kRows, y1 = (r + 1) * img.height / kRows;
      Rgb sum;
      double lum = 0, lum2 = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          const Rgb& p = img.At(x, y);
          sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
          lum += Luminance(p);
          lum2 += Luminance(p) * Luminance(p);
        }
      const double n = double((x1 - x0) * (y1 - y0));
      g.average.push_back(Scale(sum, 1 / n));
      g.spread.push_back(std::sqrt(std::max(0.0, lum2 / n - (lum / n) * (lum / n))));
    }
  return g;
}

// Root mean square over the cells, colour channels and spread alike.
double Distance(const Glance& a, const Glance& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.average.size(); ++i) {
    const Rgb& p = a.average[i];
    const Rgb& q = b.average[i];
    const double ds = a.spread[i] - b.spread[i];
    sum += (p.r - q.r) * (p.r - q.r) + (p.g - q.g) * (p.g - q.g) + (p.b - q.b) * (p.b - q.b) + ds * ds;
  }
  return std::sqrt(sum / double(4 * a.average.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen <outdir>\n");
    return 2;
  }
  const fs::path dir = argv[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  bool ok = true;

  // Icons.
  std::vector<RgbaImage> appSizes;
  for (int size : kIconSizes) appSizes.push_back(DrawAppIcon(size));
  ok &= WriteFile(dir / "app.ico", EncodeIco(appSizes));
  for (int i = 0; i < kEnginePositions; ++i) {
    std::vector<RgbaImage> engineSizes;
    for (int size : kIconSizes) engineSizes.push_back(DrawEngineIcon(i, size));
    ok &= WriteFile(dir / ("engine" + std::to_string(i) + ".ico"), EncodeIco(engineSizes));
  }

  // Pictures.
  const auto& pictures = Pictures();
  std::vector<Glance> glances;
  std::size_t total = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const PictureInfo& info = pictures[i];
    const IndexedImage indexed = Quantise(DrawPicture(i), 256, 2.0);
    const std::string bmp = EncodeBmp8(indexed);
    total += bmp.size();
    ok &= WriteFile(dir / info.fileName, bmp);

    const RgbImage shown = Expand(indexed);
    const Lightness light = MeasureLightness(shown);
    if (light.mean < kMinMeanLuminance || light.dark < kMinDarkLuminance) {
      std::fprintf(stderr, "artgen: %s (%s) is too dark for black text: mean %.3f, darkest 1%% %.3f\n",
                   info.fileName.c_str(), info.title.c_str(), light.mean, light.dark);
      ok = false;
    }
    glances.push_back(TakeGlance(shown));
  }
  double closest = 1e9;
  std::size_t closestA = 0, closestB = 0;
  for (std::size_t a = 0; a < glances.size(); ++a)
    for (std::size_t b = a + 1; b < glances.size(); ++b) {
      const double d = Distance(glances[a], glances[b]);
      if (d < closest) { closest = d; closestA = a; closestB = b; }
    }
  if (closest < kMinPictureDistance) {
    std::fprintf(stderr, "artgen: %s and %s look too much alike (distance %.4f)\n",
                 pictures[closestA].fileName.c_str(), pictures[closestB].fileName.c_str(), closest);
    ok = false;
  }
  if (total > kPictureBudget) {
    std::fprintf(stderr, "artgen: the pictures take %zu bytes, over the budget of %zu\n", total, kPictureBudget);
    ok = false;
  }
  std::printf("artgen: %zu pictures, %zu bytes; closest pair %s / %s at %.4f\n", pictures.size(), total,
              pictures[closestA].fileName.c_str(), pictures[closestB].fileName.c_str(), closest);
  return ok ? 0 : 1;
}
