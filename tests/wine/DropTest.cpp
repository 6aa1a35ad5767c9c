// Dropping text on the bar, with this test program as the drag source: OLE
// carries the drag across processes to the bar's drop target.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstring>

#include "BarHarness.h"
#include "framework/win/ComObject.h"
#include "resource.h"

namespace {

// Offers one text as CF_TEXT, or nothing at all.
class TextData : public ComObject<IDataObject> {
 public:
  explicit TextData(std::string text, bool offerText = true)
      : ComObject<IDataObject>(IID_IDataObject), m_text(std::move(text)), m_offerText(offerText) {}
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, m_text.size() + 1);
    memcpy(GlobalLock(memory), m_text.c_str(), m_text.size() + 1);
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    ++dataRequests;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return m_offerText && format->cfFormat == CF_TEXT && (format->tymed & TYMED_HGLOBAL) ? S_OK
                                                                                         : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  int dataRequests = 0;

 private:
  std::string m_text;
  bool m_offerText;
};

// Drops after a few rounds of the drag loop, wherever the cursor is then.
class DropSoon : public ComObject<IDropSource> {
 public:
  DropSoon() : ComObject<IDropSource>(IID_IDropSource) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++m_rounds > 10 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    if (effect & DROPEFFECT_COPY) sawCopy = true;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }
  bool sawCopy = false;

 private:
  int m_rounds = 0;
};

struct DropResult {
  HRESULT result;
  DWORD effect;
  bool sawCopy;
  int dataRequests;
};

// Drags `data` onto the middle of the bar's empty lower-left area and drops it.
DropResult DropOnBar(const BarProcess& bar, TextData& data) {
  RECT rect{};
  GetWindowRect(bar.Bar(), &rect);
  SetCursorPos(rect.left + 12, rect.bottom - 12);
  DropSoon source;
  DWORD effect = 0xFFFF;
  HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  bar.Sync();
  return {result, effect, source.sawCopy, data.dataRequests};
}

class Drop : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

}  // namespace

TEST_F(Drop, TheLastFieldIsSearchedAtOnceAndNothingCountsAsDropped) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  TextData data("name\tcolumn\t  www.abc.com \r\n");
  DropResult drop = DropOnBar(bar, data);
  EXPECT_EQ(drop.result, DRAGDROP_S_DROP);
  EXPECT_TRUE(drop.sawCopy) << "the bar answers copy while the text is over it";
  EXPECT_EQ(drop.effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "the source must keep its text";
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], "recorder.exe\t\"http://www.abc.com\"");
  EXPECT_EQ(bar.Text(IDC_QUERY), "www.abc.com");
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"www.abc.com"});
}

TEST_F(Drop, DataWithoutTextOrWithBlanksOnlyDoesNothing) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  TextData noText("ignored", false);
  DropOnBar(bar, noText);
  TextData blanks("a\t \t  \r\n");
  DropResult drop = DropOnBar(bar, blanks);
  EXPECT_EQ(drop.dataRequests, 1);  // the text was read, and was empty
  Sleep(300);
  EXPECT_TRUE(bar.Launches().empty());
  EXPECT_TRUE(bar.QueryList().empty());
}

// A megabyte with line breaks neither crashes the bar nor splits the settings
// file. (Under Wine a URL that long is not handed to the shell at all.)
TEST_F(Drop, AHugeTextWithLineBreaksIsRecordedAndSavedOnOneLine) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  std::string text = "x\r\n[Engine]\r\nS0=http://evil/?q=\r\n";
  text.resize(1 << 20, 'y');
  TextData data(text);
  DropOnBar(bar, data);
  ASSERT_EQ(bar.QueryList().size(), 1u);
  EXPECT_EQ(bar.QueryList()[0].size(), text.size());
  ASSERT_EQ(bar.Exit(), 0u);
  std::string saved = bar.SettingsBytes();
  EXPECT_EQ(saved.find("[Engine]\r\n"), std::string::npos);
  EXPECT_NE(saved.find("H0=x  [Engine]  S0=http://evil/?q=  yyy"), std::string::npos);
  // The restarted bar still has the default engine and reads the entry back cut.
  BarProcess again(saved);
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(again.Text(IDC_SEARCH), "百度一下");
  ASSERT_EQ(again.QueryList().size(), 1u);
  EXPECT_EQ(again.QueryList()[0].size(), 1023u);
}
