// floor-shows draws what the bar draws from the settings file it starts on:
// the three buttons' captions and, in the picture look, the picture over its
// surface. Each file is shown to Quarrow.exe too, so that the table says what
// the bar shows and the floor is held to it: a floor that drew less (the
// template's captions, no picture) would make Quarrow's excess look larger
// than it is, one that drew more would hide some of it.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "BarHarness.h"
#include "Bench.h"
#include "DialogHarness.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "resource.h"

namespace {

using perf::Bin;

struct Folder : ScratchFolder {
  Folder() : ScratchFolder("perf-shows-test") {}
};

// A settings file in UTF-16 little endian with its byte-order mark, as the bar
// writes one that GBK cannot hold.
std::string Utf16File(const std::string& text) {
  std::wstring wide = Wide(text);
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::string ControlText(HWND window, int id) {
  wchar_t text[1024] = {};
  GetWindowTextW(GetDlgItem(window, id), text, ARRAYSIZE(text));
  return Utf8(text);
}

TEST(FloorShows, ShowsTheCaptionsAndThePictureOfTheFileItStartsOn) {
  constexpr int kPicture = 259;  // picture n is bitmap 259 + n
  const struct {
    const char* why;
    std::optional<std::string> file;
    std::array<std::string, 3> captions;  // Search, keyword, site
    int picture;  // bitmap stretched over the surface; 0: the colour look, which is not picture `notPicture`
    int notPicture;
  } cases[] = {
      {"the measurement file: GBK, picture 7", perf::MeasurementSettings(),
       {"引擎0", "关键词0", "site0.example.com"}, kPicture + 7, 0},
      {"no file: the defaults, picture 1", std::nullopt, {"百度一下", "MFC", "csdn.net"}, kPicture + 1, 0},
      {"UTF-16 with its mark, no UseImg line: the picture look",
       Utf16File("[Engine]\r\nNumber=1\r\nE0=必应搜索\r\nS0=https://www.bing.com/search?q=\r\n"
                 "[Key]\r\nNumber=1\r\nK0=天气预报\r\n[Site]\r\nNumber=1\r\nS0=zhihu.com\r\n"
                 "[Setting]\r\nImgNumber=12\r\n"),
       {"必应搜索", "天气预报", "zhihu.com"}, kPicture + 12, 0},
      {"the colour look: no picture", perf::MeasurementSettings(0, false),
       {"引擎0", "关键词0", "site0.example.com"}, 0, kPicture + 7},
  };
  for (const char* exe : {"Quarrow.exe", "floor-shows.exe"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(exe) + ", " + c.why);
      Folder folder;
      if (c.file) WriteFileBytes(folder.Path() + "\\Quarrow.ini", *c.file);
      perf::StartedProgram program;
      perf::StartTiming timing = program.Start(Bin(exe), folder.Path());
      ASSERT_TRUE(timing.ok) << timing.failure;
      HWND window = program.Window();
      EXPECT_EQ(ControlText(window, IDC_SEARCH), c.captions[0]);
      EXPECT_EQ(ControlText(window, IDC_KEYWORD_BUTTON), c.captions[1]);
      EXPECT_EQ(ControlText(window, IDC_SITE_BUTTON), c.captions[2]);
      if (c.picture) {
        EXPECT_TRUE(BarShowsLook(window, c.picture));
      } else {
        EXPECT_FALSE(BarShowsLook(window, c.notPicture, 0.5));
      }
      EXPECT_TRUE(program.Close());
    }
  }
}

}  // namespace
