#include <algorithm>
#include <vector>

#include "support/WinTest.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "vcl/Graphics.h"
#include "vcl/Resources.h"
#include "win/Paint.h"

namespace {

// The styles the program may carry, in the order the name list gives them.
const std::vector<String> kStyleOrder = {"Amethyst Kamri", "Aqua Light Slate", "Glossy",   "Glow",
                                         "Onyx Blue",      "Sky",              "TabletDark", "Windows10",
                                         "Windows10 Dark"};

class StyleManagerTest : public WinTest {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    WinTest::TearDown();
  }
};

TEST_F(StyleManagerTest, NamesListTheSystemStyleThenEveryStyleFileInOrder) {
  const std::vector<String> names = TStyleManager::StyleNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "Windows");
  // Every compiled-in style file is registered, under one of the known names, in order;
  // styles the program loads itself come after them.
  const size_t compiled = ResourceNames("STYLE").size();
  ASSERT_GE(names.size(), compiled + 1);
  EXPECT_NE(std::find(names.begin(), names.end(), "Windows10 Dark"), names.end());
  auto last = kStyleOrder.begin();
  for (size_t i = 1; i <= compiled; ++i) {
    auto it = std::find(last, kStyleOrder.end(), names[i]);
    EXPECT_NE(it, kStyleOrder.end()) << names[i] << " is unknown or out of order";
    if (it != kStyleOrder.end()) last = it + 1;
  }
  // The application starts in the system style.
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), "Windows");
  EXPECT_FALSE(TStyleManager::IsCustomStyleActive());
  EXPECT_EQ(StyleServices(), TStyleManager::SystemStyle());
}

TEST_F(StyleManagerTest, UnknownStyleRaisesNamesItAndKeepsTheActiveStyle) {
  TStyleManager::SetStyle("Windows10 Dark");
  ASSERT_TRUE(TStyleManager::IsCustomStyleActive());
  try {
    TStyleManager::SetStyle("Sepia Nights");
    FAIL() << "no exception";
  } catch (const EStyleNotFoundException& e) {
    EXPECT_NE(e.Message().find("Sepia Nights"), String::npos) << e.Message();
  }
  EXPECT_EQ(TStyleManager::ActiveStyle()->Name(), "Windows10 Dark");
  EXPECT_FALSE(TStyleManager::TrySetStyle("Sepia Nights"));
  EXPECT_EQ(StyleServices()->Name(), "Windows10 Dark");
  EXPECT_TRUE(TStyleManager::TrySetStyle("Windows"));
  EXPECT_TRUE(StyleServices()->IsSystemStyle());
}

TEST_F(StyleManagerTest, SwitchingNotifiesAndRepaintsEveryWindow) {
  HWND top = Top("top", {0, 0, 120, 80});
  HWND child = Child("child", top, {20, 20, 100, 60});
  HWND grandchild = Child("grandchild", child, {10, 10, 40, 30});
  // Each window paints the style's push button over its client area.
  for (HWND w : {top, child, grandchild})
    Answer(w, WM_PAINT, [](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      StyleServices()->DrawElement(dc, StyleServices()->GetElementDetails(tbPushButtonNormal), r);
      EndPaint(hwnd, &ps);
      return 0;
    });
  Run();
  auto pixel = [&](int x, int y) { return top->Pixels->At(x, y); };
  const uint32_t before[3] = {pixel(10, 40), pixel(25, 40), pixel(50, 40)};
  ClearLog();

  TStyleManager::SetStyle("Windows10 Dark");
  Run();
  const std::vector<RecordedMessage> notes = Messages({CM_STYLECHANGED});
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].Hwnd, top);
  EXPECT_EQ(notes[1].Hwnd, child);
  EXPECT_EQ(notes[2].Hwnd, grandchild);
  const std::vector<RecordedMessage> paints = Messages({WM_PAINT});
  for (HWND w : {top, child, grandchild})
    EXPECT_TRUE(std::any_of(paints.begin(), paints.end(), [&](const RecordedMessage& m) { return m.Hwnd == w; }));
  const uint32_t after[3] = {pixel(10, 40), pixel(25, 40), pixel(50, 40)};
  for (int i = 0; i < 3; ++i) EXPECT_NE(before[i], after[i]) << "window " << i << " kept its pixels";

  // Setting the active style again changes nothing and sends nothing.
  ClearLog();
  TStyleManager::SetStyle("Windows10 Dark");
  Run();
  EXPECT_TRUE(Messages({CM_STYLECHANGED, WM_PAINT}).empty());
}

TEST_F(StyleManagerTest, ClassicModeSwitchesThemesOffForTheSystemStyleOnly) {
  ASSERT_TRUE(StyleServices()->Enabled());
  const COLORREF themedFace = GetSysColor(COLOR_BTNFACE);
  SetThemeAppProperties(0);
  EXPECT_FALSE(IsAppThemed());
  EXPECT_FALSE(StyleServices()->Enabled());
  EXPECT_TRUE(StyleServices()->IsSystemStyle());
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0xD4, 0xD0, 0xC8));
  EXPECT_EQ(StyleServices()->GetSystemColor(clBtnFace), TColor(RGB(0xD4, 0xD0, 0xC8)));
  // A custom style is drawn whatever the theme switches say.
  TStyleManager::SetStyle("Windows10 Dark");
  EXPECT_TRUE(StyleServices()->Enabled());
  TStyleManager::SetStyle("Windows");
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
  EXPECT_TRUE(StyleServices()->Enabled());
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), themedFace);
}

TEST_F(StyleManagerTest, ACustomStyleAnswersTheFrameworksSystemColours) {
  EXPECT_EQ(ColorToRGB(clWindow), TColor(GetSysColor(COLOR_WINDOW)));
  TStyleManager::SetStyle("Windows10 Dark");
  EXPECT_EQ(ColorToRGB(clWindow), StyleServices()->GetSystemColor(clWindow));
  EXPECT_NE(ColorToRGB(clWindow), TColor(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(StyleServices()->ColorToRGB(clBtnFace), StyleServices()->GetSystemColor(clBtnFace));
  EXPECT_EQ(StyleServices()->ColorToRGB(TColor(0x123456)), TColor(0x123456));
  TStyleManager::SetStyle("Windows");
  EXPECT_EQ(ColorToRGB(clWindow), TColor(GetSysColor(COLOR_WINDOW)));
}

// Brushes and pens of system colours made before a switch draw in the new style's colours:
// a form's background follows the style.
TEST_F(StyleManagerTest, BrushesAndPensOfSystemColoursFollowTheStyle) {
  TBrush brush;
  brush.SetColor(clBtnFace);
  TPen pen;
  pen.SetColor(clWindowText);
  LOGBRUSH lb;
  GetObject(brush.Handle(), sizeof(lb), &lb);
  EXPECT_EQ(TColor(lb.lbColor), ColorToRGB(clBtnFace));
  pen.Handle();
  TStyleManager::SetStyle("Windows10 Dark");
  GetObject(brush.Handle(), sizeof(lb), &lb);
  EXPECT_EQ(TColor(lb.lbColor), StyleServices()->GetSystemColor(clBtnFace));
  LOGPEN lp;
  GetObject(pen.Handle(), sizeof(lp), &lp);
  EXPECT_EQ(TColor(lp.lopnColor), StyleServices()->GetSystemColor(clWindowText));
  TBrush fixed;
  fixed.SetColor(clRed);
  HBRUSH red = fixed.Handle();
  TStyleManager::SetStyle("Windows");
  EXPECT_EQ(fixed.Handle(), red) << "a fixed colour keeps its handle";
}

}  // namespace
