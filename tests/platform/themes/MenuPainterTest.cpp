// The style's painter of popup menus: which menu elements each part and item state draws,
// the classic look left to the window system, and a styled menu window as it prints.
#include <gtest/gtest.h>

#include <vector>

#include "support/Canvas.h"
#include "support/WinTest.h"
#include "themes/MenuPainter.h"
#include "themes/StyleManager.h"
#include "themes/StyleServices.h"
#include "themes/UxTheme.h"

namespace {

class MenuPainterTest : public WinTest {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    WinTest::TearDown();
  }
};

// The elements drawn while it lives, in order.
class Drawn {
 public:
  Drawn()
      : FPrevious(SetDrawElementObserver(
            [this](const TThemedElementDetails& d, const RECT&) { Details.push_back(d); })) {}
  ~Drawn() { SetDrawElementObserver(std::move(FPrevious)); }
  std::vector<TThemedElementDetails> Details;

 private:
  TDrawElementObserver FPrevious;
};

std::vector<TThemedElementDetails> Elements(std::initializer_list<TThemedMenu> list) {
  std::vector<TThemedElementDetails> out;
  for (TThemedMenu m : list) out.push_back(StyleServices()->GetElementDetails(m));
  return out;
}

struct ItemCase {
  const char* Name;
  MenuItemPaint Item;
  std::vector<TThemedMenu> Expected;
};

TEST_F(MenuPainterTest, EachItemStateDrawsItsElements) {
  auto item = [](bool hot, bool disabled, bool checked, bool radio, bool separator, bool sub) {
    MenuItemPaint p;
    p.Caption = "&Item";
    p.ShortCut = "Ctrl+I";
    p.Hot = hot;
    p.Disabled = disabled;
    p.Checked = checked;
    p.Radio = radio;
    p.Separator = separator;
    p.HasSubMenu = sub;
    return p;
  };
  const ItemCase cases[] = {
      {"normal", item(false, false, false, false, false, false), {}},
      {"hot", item(true, false, false, false, false, false), {tmPopupItemHot}},
      {"disabled and hot", item(true, true, false, false, false, false), {tmPopupItemDisabledHot}},
      {"checked", item(false, false, true, false, false, false), {tmPopupCheckBackgroundNormal, tmPopupCheckMarkNormal}},
      {"radio, disabled", item(false, true, true, true, false, false), {tmPopupCheckBackgroundDisabled, tmPopupBulletDisabled}},
      {"sub-menu", item(false, false, false, false, false, true), {tmPopupSubMenuNormal}},
      {"disabled sub-menu", item(false, true, false, false, false, true), {tmPopupSubMenuDisabled}},
      {"separator", item(false, false, false, false, true, false), {tmPopupSeparator}},
  };
  TestCanvas canvas(200, 22);
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<TThemedElementDetails> expected;
    for (TThemedMenu m : c.Expected) expected.push_back(StyleServices()->GetElementDetails(m));
    Drawn drawn;
    EXPECT_TRUE(PaintStyledMenu(canvas.DC(), {0, 0, 200, 22}, MenuPaintPart::Item, &c.Item));
    EXPECT_EQ(drawn.Details, expected);
  }
}

TEST_F(MenuPainterTest, FrameBackgroundAndBarDrawTheirElementsAndClassicIsLeftAlone) {
  TestCanvas canvas(200, 100);
  struct PartCase {
    MenuPaintPart Part;
    std::vector<TThemedElementDetails> Expected;
  };
  const PartCase cases[] = {
      {MenuPaintPart::Frame, Elements({tmPopupBackground, tmPopupBorders})},
      {MenuPaintPart::Background, Elements({tmPopupBackground, tmPopupGutter})},
      {MenuPaintPart::BarBackground, Elements({tmMenuBarBackgroundActive})},
  };
  for (const PartCase& c : cases) {
    Drawn drawn;
    EXPECT_TRUE(PaintStyledMenu(canvas.DC(), {0, 0, 200, 100}, c.Part, nullptr));
    EXPECT_EQ(drawn.Details, c.Expected);
  }
  SetThemeAppProperties(0);
  Drawn drawn;
  EXPECT_FALSE(PaintStyledMenu(canvas.DC(), {0, 0, 200, 100}, MenuPaintPart::Frame, nullptr));
  EXPECT_TRUE(drawn.Details.empty());
}

TEST_F(MenuPainterTest, AStyledMenuWindowPrintsItsHotItemInTheStyle) {
  StyleServices();  // the style manager starts and installs the painter
  ASSERT_TRUE(MenuPainterHook);
  TStyleManager::SetStyle("Glossy");
  HWND owner = Top("Owner", {100, 100, 400, 300});
  HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "&First");
  AppendMenu(menu, MF_STRING, 2, "&Second");
  COLORREF hot = 0, plain = 0, referenceHot = 0, referenceBack = 0;
  std::function<void()> check = [&] {
    HWND w = MenuWindows().at(0);
    SendMessage(w, MN_SELECTITEM, 1, 0);
    RECT wr{};
    GetWindowRect(w, &wr);
    TestCanvas printed(wr.Width(), wr.Height());
    SendMessage(w, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RECT item{};
    GetMenuItemRect(owner, menu, 1, &item);
    const POINT inside{item.Left - wr.Left + 2, item.Top - wr.Top + 2};
    hot = printed.Color(inside.X, inside.Y);
    plain = printed.Color(inside.X, inside.Y - 22);
    TestCanvas reference(wr.Width(), wr.Height());
    const RECT box{item.Left - wr.Left, item.Top - wr.Top, item.Right - wr.Left, item.Bottom - wr.Top};
    StyleServices()->DrawElement(reference.DC(), StyleServices()->GetElementDetails(tmPopupBackground),
                                 {0, 0, wr.Width(), wr.Height()});
    referenceBack = reference.Color(inside.X + 40, inside.Y - 22);
    StyleServices()->DrawElement(reference.DC(), StyleServices()->GetElementDetails(tmPopupItemHot), box);
    referenceHot = reference.Color(inside.X, inside.Y);
    EndMenu();
  };
  static std::function<void()>* s_check = nullptr;
  s_check = &check;
  HHOOK hook = SetWindowsHookEx(
      WH_MSGFILTER,
      [](int code, WPARAM, LPARAM) -> LRESULT {
        if (code == MSGF_MENU && s_check && *s_check) {
          auto run = *s_check;
          *s_check = nullptr;
          run();
        }
        return 0;
      },
      nullptr, 0);
  PostMessage(owner, WM_NULL, 0, 0);
  TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr);
  UnhookWindowsHookEx(hook);
  s_check = nullptr;
  DestroyMenu(menu);
  EXPECT_EQ(hot, referenceHot) << "the hot item is the style's tmPopupItemHot";
  EXPECT_NE(hot, plain);
  EXPECT_EQ(plain, referenceBack) << "the other item shows the popup background";
}

}  // namespace
