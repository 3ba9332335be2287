// The gallery menu on the headless backend: the item collection and the ItemIndex rules,
// the cell layout, placement on the work area, keyboard and mouse, the order of its events,
// a menu without images, pixels of selected, hot and disabled cells, and what happens when
// the menu, its owner, its images or its hint component go while it is open, when the
// application's message handler is replaced meanwhile, and when two menus open in turn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "qvControls/GalleryMenu.h"
#include "qvHint/Hint.h"
#include "win/Input.h"

namespace {

constexpr int kImage = 16;
// Cells are 10 pixels larger than the images at 100 %.
constexpr int kCell = kImage + 10;

constexpr COLORREF kImageColors[] = {RGB(220, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(200, 160, 0)};

class GalleryMenuTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    Images = new TImageList(nullptr, kImage, kImage);
    for (COLORREF color : kImageColors) {
      TBitmap picture;
      picture.SetPixelFormat(pf32bit);
      picture.SetSize(kImage, kImage);
      picture.Canvas()->Brush()->SetColor(TColor(color));
      picture.Canvas()->FillRect({0, 0, kImage, kImage});
      Images->Add(&picture, nullptr);
    }
    Menu = new TqvGalleryMenu(nullptr);
    Menu->SetImages(Images);
    Listen(Menu, Log);
    SetFocus(Host->Handle());
  }
  void TearDown() override {
    delete Menu;
    delete Images;
    ControlFixture::TearDown();
  }

  // Writes every event of the menu into Out, one word each.
  static void Listen(TqvGalleryMenu* M, std::string& Out) {
    auto note = [&Out](const char* word) {
      return [&Out, word](TObject*) {
        if (!Out.empty()) Out += ' ';
        Out += word;
      };
    };
    M->OnMenuPopup = note("popup");
    M->OnInternalMenuClose = note("internalclose");
    M->OnMenuClose = note("close");
    M->OnItemClick = note("itemclick");
    M->OnInternalChange = note("internalchange");
    M->OnChange = note("change");
  }

  TqvGalleryMenuItem* AddCell(int Image, bool Enabled = true) {
    TqvGalleryMenuItem* item = Menu->Items()->Add();
    item->SetImageIndex(Image);
    item->SetEnabled(Enabled);
    const int index = item->Index();
    item->OnClick = [this, index](TObject* Sender) {
      EXPECT_EQ(Sender, Menu);
      Log += (Log.empty() ? "" : " ") + std::string("item") + std::to_string(index);
    };
    return item;
  }
  TqvGalleryMenuItem* AddHeader(const char* Caption) {
    TqvGalleryMenuItem* item = Menu->Items()->Add();
    item->SetHeader(true);
    item->SetCaption(Caption);
    return item;
  }
  TqvGalleryMenuItem* AddButton(const char* Caption, int Image) {
    TqvGalleryMenuItem* item = AddCell(Image);
    item->SetButton(true);
    item->SetCaption(Caption);
    return item;
  }

  TqvGalleryMenuPopupWindow* Popup() const { return Menu ? Menu->PopupWindow() : nullptr; }
  bool Visible(TqvGalleryMenuPopupWindow* P) const { return P && P->HandleAllocated() && IsWindowVisible(P->Handle()); }
  // The middle of item Index on the screen.
  TPoint ItemCenter(int Index) const {
    const TRect r = Menu->Items()->Items(Index)->ItemRect;
    return Popup()->ClientToScreen(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }
  void MoveTo(TPoint P) {
    Mouse(InputKind::MouseMove, P.X, P.Y);
    Run();
  }
  void ClickAt(TPoint P) {
    MoveTo(P);
    Mouse(InputKind::MouseDown, P.X, P.Y);
    Mouse(InputKind::MouseUp, P.X, P.Y);
    Run();
  }
  static void Key(WORD Vk) {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Key = Vk});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Key = Vk});
  }
  void Press(WORD Vk) {
    Key(Vk);
    Run();
  }
  COLORREF PopupAt(int x, int y) const { return ColorRefFromPixel(Popup()->Handle()->Pixels->At(x, y)); }

  TImageList* Images = nullptr;
  TqvGalleryMenu* Menu = nullptr;
  std::string Log;
};

// ---- collection, ItemIndex, layout ----

TEST_F(GalleryMenuTest, ItemIndexKeepsTheSelectionOnAHeaderOrPastTheEnd) {
  AddCell(0);
  AddHeader("Header");
  AddCell(1);
  struct Case {
    int Start, Set, Expected;
    const char* Events;
  };
  const Case cases[] = {
      {-1, 0, 0, "internalchange change"},
      {0, 1, 0, ""},                         // a header
      {0, 3, 0, ""},                         // past the last item
      {2, 2, 2, ""},                         // the same
      {0, -1, -1, "internalchange change"},  // no selection
      {0, -7, -7, "internalchange change"},  // any negative value means none
      {-1, 1, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("from " + std::to_string(c.Start) + " set " + std::to_string(c.Set));
    Menu->SetItemIndex(c.Start);
    Log.clear();
    Menu->SetItemIndex(c.Set);
    EXPECT_EQ(Menu->ItemIndex(), c.Expected);
    EXPECT_EQ(Log, c.Events);
    EXPECT_EQ(Menu->SelectedItem(), c.Expected >= 0 ? Menu->Items()->Items(c.Expected) : nullptr);
  }
}

TEST_F(GalleryMenuTest, ItemsCopyAndColumnsStayInRange) {
  AddButton("Copy me", 2)->SetHint("hint");
  TqvGalleryMenu other(nullptr);
  other.SetItems(Menu->Items());
  ASSERT_EQ(other.Items()->Count(), 1);
  const TqvGalleryMenuItem* copy = other.Items()->Items(0);
  EXPECT_EQ(copy->Caption(), "Copy me");
  EXPECT_EQ(copy->ImageIndex(), 2);
  EXPECT_TRUE(copy->Button());
  EXPECT_EQ(copy->Hint(), "hint");
  for (int value : {0, 51, -3}) {
    other.SetColumnsCount(value);
    EXPECT_EQ(other.ColumnsCount(), 1) << value;
  }
  other.SetColumnsCount(50);
  EXPECT_EQ(other.ColumnsCount(), 50);
}

TEST_F(GalleryMenuTest, AHeaderStartsANewRowAndTheCellAfterItTheRowBelow) {
  Menu->SetColumnsCount(4);
  AddCell(0);
  AddCell(1);
  AddHeader("Section");
  AddCell(2);
  Menu->Popup(100, 100);
  ASSERT_TRUE(Visible(Popup()));
  const int right = 4 * kCell + 2, header = 2 + kCell + 1, below = header + 25 + 1;
  const TRect expected[] = {{2, 2, 2 + kCell, 2 + kCell},
                            {2 + kCell, 2, 2 + 2 * kCell, 2 + kCell},
                            {2, header, right, header + 25},
                            {2, below, 2 + kCell, below + kCell}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Menu->Items()->Items(i)->ItemRect, expected[i]) << i;
  EXPECT_EQ(Popup()->Width(), 4 * kCell + 4);
  EXPECT_EQ(Popup()->Height(), below + kCell - 2 + 4);
}

TEST_F(GalleryMenuTest, AnOpenMenuFollowsChangesOfItsItems) {
  AddCell(0);
  Menu->Popup(100, 100);
  ASSERT_EQ(Popup()->Height(), kCell + 4);
  AddButton("Added while open", 1);
  EXPECT_EQ(Menu->Items()->Items(1)->ItemRect, (TRect{2, 3 + kCell, 2 + kCell, 3 + 2 * kCell}));
  EXPECT_EQ(Popup()->Height(), 2 * kCell + 1 + 4);
  MoveTo(ItemCenter(1));
  EXPECT_EQ(Popup()->MouseInItem(), 1);
  Menu->Items()->Items(1)->SetEnabled(false);
  EXPECT_EQ(Popup()->MouseInItem(), -1) << "a disabled item is not hot";
  Menu->Items()->Delete(1);
  EXPECT_EQ(Popup()->Height(), kCell + 4);
  Menu->SetColumnsCount(3);
  EXPECT_EQ(Popup()->Width(), 3 * kCell + 4);
  Press(VK_RIGHT);
  Press(VK_RETURN);
  EXPECT_EQ(Log, "popup internalclose close item0 itemclick internalchange change");
}

TEST_F(GalleryMenuTest, SizesFollowTheOpenersScale) {
  Menu->SetScaleFactor(1.5);
  AddHeader("Section");
  AddCell(0);
  Menu->Popup(100, 100);
  ASSERT_TRUE(Visible(Popup()));
  const int cell = kImage + 15, header = 38;  // Round(25 * 1.5) = 38 (ties to even)
  EXPECT_EQ(Menu->Items()->Items(0)->ItemRect, (TRect{2, 2, cell + 2, 2 + header}));
  EXPECT_EQ(Menu->Items()->Items(1)->ItemRect, (TRect{2, header + 3, 2 + cell, header + 3 + cell}));
  Menu->SetScaleFactor(0.5);
  EXPECT_EQ(Menu->ScaleFactor(), 1.0);
}

// ---- placement ----

TEST_F(GalleryMenuTest, PlacementKeepsThePopupOnTheWorkArea) {
  // Two columns and two rows: 56 x 57.
  for (int i = 0; i < 4; ++i) AddCell(i);
  Menu->SetColumnsCount(2);
  const int w = 2 * kCell + 4, h = 2 * kCell + 1 + 4;
  enum Form { Below, Ext, FromTop, FromRight, FromTopRight };
  struct Case {
    const char* Name;
    TRect Anchor;
    Form How;
    TPoint Expected;
  };
  // The screen is 1920 x 1080 with a work area of 1920 x 1040.
  const Case cases[] = {
      {"below", {100, 100, 180, 124}, Below, {100, 124}},
      {"right edge", {1880, 100, 1910, 124}, Below, {1920 - w, 124}},
      {"left edge", {-30, 100, 10, 124}, Below, {0, 124}},
      {"top edge", {100, -80, 180, -60}, Below, {100, 0}},
      {"ext below", {100, 100, 180, 124}, Ext, {100, 124}},
      {"ext bottom edge", {100, 1010, 180, 1034}, Ext, {100, 1010 - h}},
      {"from top", {100, 500, 180, 524}, FromTop, {100, 500 - h}},
      {"from top at the top edge", {100, 20, 180, 44}, FromTop, {100, 44}},
      {"from right", {100, 100, 180, 124}, FromRight, {180 - w, 124}},
      {"from right at the left edge", {10, 100, 40, 124}, FromRight, {10, 124}},
      {"from right at the right edge", {1890, 100, 1930, 124}, FromRight, {1920 - w, 124}},
      {"from top right at the bottom right corner", {1850, 1010, 1900, 1034}, FromTopRight, {1900 - w, 1010 - h}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.How == Below)
      Menu->PopupFromRect(c.Anchor);
    else
      Menu->PopupFromRectExt(c.Anchor, c.How == FromTop || c.How == FromTopRight,
                             c.How == FromRight || c.How == FromTopRight);
    ASSERT_TRUE(Visible(Popup()));
    RECT r{};
    GetWindowRect(Popup()->Handle(), &r);
    EXPECT_EQ(r, Bounds(c.Expected.X, c.Expected.Y, w, h));
    Menu->Hide();
    Run();
  }
  // The point forms open below the point.
  Menu->PopupExt(300, 1030, false, false);
  RECT r{};
  GetWindowRect(Popup()->Handle(), &r);
  EXPECT_EQ(r, Bounds(300, 1030 - h, w, h));
  Menu->Hide();
  // A work area that starts lower (a bar at the top) holds the popup below it.
  Headless()->SetScreen({0, 0, 1920, 1080}, {0, 40, 1920, 1080});
  Menu->Popup(100, 10);
  GetWindowRect(Popup()->Handle(), &r);
  EXPECT_EQ(r, Bounds(100, 40, w, h));
}

TEST_F(GalleryMenuTest, ThePopupIsATopMostToolWindowThatNeverActivates) {
  AddCell(0);
  Menu->Popup(100, 100);
  ASSERT_TRUE(Visible(Popup()));
  HWND h = Popup()->Handle();
  EXPECT_EQ(GetWindowLongPtr(h, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE),
            intptr_t(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE));
  EXPECT_TRUE(GetWindowLongPtr(h, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetClassLongPtr(h, GCL_STYLE) & CS_DROPSHADOW);
  EXPECT_EQ(GetCapture(), h);
  const HWND active = GetActiveWindow();
  // A press on an empty part of the popup neither activates it nor closes it.
  Mouse(InputKind::MouseDown, 100 + kCell + 2, 101);
  Run();
  EXPECT_EQ(GetActiveWindow(), active);
  EXPECT_NE(GetActiveWindow(), h);
  Mouse(InputKind::MouseUp, 100 + kCell + 2, 101);
  Run();
  EXPECT_TRUE(Visible(Popup()));
  EXPECT_EQ(GetCapture(), h) << "the popup keeps the mouse after a press on itself";
}

// ---- choosing and closing ----

TEST_F(GalleryMenuTest, EventsComeInOrderForEveryWayOfClosing) {
  AddCell(0);
  AddCell(1);
  AddCell(2);
  Menu->SetColumnsCount(3);
  enum Way { ClickOutside, ClickItem, ClickSelectedItem, EnterOnItem, EnterWithoutHotItem, Escape, HideCall, AltKey };
  struct Case {
    const char* Name;
    Way How;
    int Expected;  // the selection afterwards, from 0
    const char* Events;
  };
  const Case cases[] = {
      {"click outside", ClickOutside, 0, "popup internalclose close"},
      {"click on an item", ClickItem, 2, "popup internalclose close item2 itemclick internalchange change"},
      {"click on the selected item", ClickSelectedItem, 0, "popup internalclose close item0 itemclick"},
      {"enter on the hot item", EnterOnItem, 1, "popup internalclose close item1 itemclick internalchange change"},
      {"enter without a hot item", EnterWithoutHotItem, 0, "popup internalclose close item0 itemclick"},
      {"escape", Escape, 0, "popup internalclose close"},
      {"Hide", HideCall, 0, "popup internalclose close"},
      {"a system key", AltKey, 0, "popup internalclose close"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Menu->SetItemIndex(0);
    Log.clear();
    MoveTo({5, 290});
    Menu->Popup(100, 100);
    ASSERT_TRUE(Visible(Popup()));
    HWND popup = Popup()->Handle();
    switch (c.How) {
      case ClickOutside: ClickAt({50, 250}); break;
      case ClickItem: ClickAt(ItemCenter(2)); break;
      case ClickSelectedItem: ClickAt(ItemCenter(0)); break;
      case EnterOnItem:
        Press(VK_RIGHT);
        Press(VK_RIGHT);
        Press(VK_RETURN);
        break;
      case EnterWithoutHotItem: Press(VK_RETURN); break;
      case Escape: Press(VK_ESCAPE); break;
      case HideCall: Menu->Hide(); break;
      case AltKey:
        Headless()->Inject({.Kind = InputKind::KeyDown, .Key = 'F', .Modifiers = kModAlt});
        Headless()->Inject({.Kind = InputKind::KeyUp, .Key = 'F', .Modifiers = kModAlt});
        Run();
        break;
    }
    EXPECT_EQ(Log, c.Events);
    EXPECT_EQ(Menu->ItemIndex(), c.Expected);
    EXPECT_FALSE(Menu->IsOpen());
    EXPECT_NE(GetCapture(), popup);
    EXPECT_FALSE(IsWindowVisible(popup));
    Run();
  }
}

TEST_F(GalleryMenuTest, AMenuWithoutImagesTellsItsOpenerThatItClosed) {
  AddCell(0);
  Images->Clear();
  Menu->PopupFromRect({100, 100, 180, 124});
  EXPECT_FALSE(Menu->IsOpen());
  // OnMenuClose is for menus that opened; the opener hears the close on its own channel.
  EXPECT_EQ(Log, "popup internalclose");
  Log.clear();
  Menu->SetImages(nullptr);
  Menu->PopupFromRectExt({100, 100, 180, 124}, true, true);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, "popup internalclose");
}

TEST_F(GalleryMenuTest, HeadersAndDisabledItemsCannotBeChosenByMouse) {
  AddHeader("Header");
  AddCell(0, false);
  AddCell(1);
  Menu->SetColumnsCount(2);
  Menu->Popup(100, 100);
  ClickAt(ItemCenter(0));
  ClickAt(ItemCenter(1));
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_EQ(Popup()->MouseInItem(), -1);
  ClickAt(ItemCenter(2));
  EXPECT_EQ(Log, "popup internalclose close item2 itemclick internalchange change");
}

TEST_F(GalleryMenuTest, ArrowKeysMoveTheHotItem) {
  // 3 columns:   0 header
  //              1  2(disabled)  3
  //              4
  //              5 button row
  //              6 header
  //              7  8
  Menu->SetColumnsCount(3);
  AddHeader("A");
  AddCell(0);
  AddCell(1, false);
  AddCell(2);
  AddCell(3);
  AddButton("Button", 0);
  AddHeader("C");
  AddCell(1);
  AddCell(2);
  struct Case {
    int From;
    WORD Key;
    int To;
  };
  const Case cases[] = {
      {-1, VK_RIGHT, 1}, {1, VK_RIGHT, 3}, {3, VK_RIGHT, 4}, {4, VK_RIGHT, 5}, {5, VK_RIGHT, 7},
      {8, VK_RIGHT, 1},  // wraps to the first selectable item
      {-1, VK_LEFT, 8},  {1, VK_LEFT, 8},  {3, VK_LEFT, 1},  {7, VK_LEFT, 5},  {5, VK_LEFT, 4},
      {-1, VK_DOWN, 1},  {1, VK_DOWN, 4},  {3, VK_DOWN, 5},  {4, VK_DOWN, 5},  {5, VK_DOWN, 7},
      {8, VK_DOWN, 8},  // nothing below: stays
      {-1, VK_UP, 8},    {7, VK_UP, 5},    {5, VK_UP, 4},    {4, VK_UP, 1},    {8, VK_UP, 5},
      {1, VK_UP, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("from " + std::to_string(c.From) + " key " + std::to_string(c.Key));
    MoveTo({5, 290});
    Menu->Popup(100, 100);
    ASSERT_TRUE(Visible(Popup()));
    if (c.From >= 0) MoveTo(ItemCenter(c.From));
    ASSERT_EQ(Popup()->MouseInItem(), c.From);
    Press(c.Key);
    EXPECT_EQ(Popup()->MouseInItem(), c.To);
    EXPECT_TRUE(Menu->IsOpen()) << "arrow keys never close the menu";
    Menu->Hide();
    Run();
  }
}

TEST_F(GalleryMenuTest, KeysDoNotReachTheFocusedControlWhileOpen) {
  AddCell(0);
  int keys = 0;
  Host->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
  Press(VK_RIGHT);
  EXPECT_EQ(keys, 1);
  Menu->Popup(100, 100);
  Press(VK_RIGHT);
  Press(VK_LEFT);
  EXPECT_EQ(keys, 1);
  Press(VK_ESCAPE);
  Press(VK_RIGHT);
  EXPECT_EQ(keys, 2);
}

TEST_F(GalleryMenuTest, HoverShowsTheItemHintAndLeavingClearsTheHotItem) {
  TqvHint* hint = new TqvHint(nullptr);
  Menu->SetHintComponent(hint);
  AddCell(0)->SetHint("Red");
  AddCell(1);
  Menu->SetColumnsCount(2);
  Menu->Popup(100, 100);
  MoveTo(ItemCenter(0));
  EXPECT_EQ(Popup()->MouseInItem(), 0);
  EXPECT_EQ(hint->HintText, "Red");
  EXPECT_NE(hint->HintTimer, nullptr) << "the hint waits for the hint pause";
  MoveTo(ItemCenter(1));
  EXPECT_EQ(hint->HintTimer, nullptr) << "an item without a hint stops the pending one";
  MoveTo(ItemCenter(0));
  Advance(Application->HintPause());
  Run();
  EXPECT_TRUE(hint->IsVisible());
  EXPECT_TRUE(Menu->IsOpen()) << "the hint window takes nothing from the menu";
  MoveTo({50, 250});
  EXPECT_EQ(Popup()->MouseInItem(), -1);
  EXPECT_FALSE(hint->IsVisible());
  MoveTo(ItemCenter(0));
  Advance(Application->HintPause());
  Run();
  ASSERT_TRUE(hint->IsVisible());
  Press(VK_ESCAPE);
  EXPECT_FALSE(hint->IsVisible()) << "closing hides the item's hint";
  Menu->Popup(100, 100);
  Menu->SetShowHints(false);
  MoveTo(ItemCenter(0));
  EXPECT_EQ(hint->HintTimer, nullptr);
  // The hint component goes while the menu is open.
  Menu->SetShowHints(true);
  delete hint;
  EXPECT_EQ(Menu->HintComponent(), nullptr);
  MoveTo(ItemCenter(1));
  MoveTo(ItemCenter(0));
  EXPECT_TRUE(Menu->IsOpen());
}

// ---- pixels ----

TEST_F(GalleryMenuTest, SelectedCellsShowPressedAndDisabledCellsFaded) {
  AddCell(0);
  AddCell(0);
  AddCell(0, false);
  AddCell(0, false)->SetShowColor(true);
  Menu->SetColumnsCount(4);
  Menu->SetItemIndex(1);
  MoveTo({5, 290});
  Menu->Popup(100, 100);
  ASSERT_TRUE(Visible(Popup()));
  Run();
  auto corner = [&](int i) {
    const TRect r = Menu->Items()->Items(i)->ItemRect;
    return PopupAt(r.Left + 2, r.Top + 2);
  };
  auto middle = [&](int i) {
    const TRect r = Menu->Items()->Items(i)->ItemRect;
    return PopupAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  const COLORREF ground = corner(0);
  EXPECT_NE(corner(1), ground) << "the selected cell has a pressed face";
  EXPECT_EQ(corner(2), ground);
  EXPECT_EQ(middle(0), kImageColors[0]);
  EXPECT_EQ(middle(1), kImageColors[0]);
  EXPECT_EQ(middle(3), kImageColors[0]) << "ShowColor keeps a disabled cell in colour";
  // Faded: the image at opacity 100 over the popup's ground.
  const COLORREF faded = middle(2);
  EXPECT_NE(faded, kImageColors[0]);
  EXPECT_GT(GetRValue(faded), GetGValue(faded));
  EXPECT_NEAR(GetGValue(faded), (GetGValue(ground) * 155 + 127) / 255, 3);
  // Hot: the face shows on the hot cell; pressed on an item while the button is down.
  MoveTo(ItemCenter(0));
  const COLORREF hot = corner(0);
  EXPECT_NE(hot, ground);
  Mouse(InputKind::MouseDown, ItemCenter(0).X, ItemCenter(0).Y);
  Run();
  EXPECT_NE(corner(0), hot) << "pressed differs from hot";
  EXPECT_EQ(corner(1), ground) << "the selection shows plain while an item is pressed";
  if (HasFailure()) {
    TestCanvas copy(Popup()->Width(), Popup()->Height());
    for (int y = 0; y < copy.Height(); ++y)
      for (int x = 0; x < copy.Width(); ++x)
        copy.Pixels().At(x, y) = Popup()->Handle()->Pixels->At(x, y) | 0xFF000000u;
    SaveIfFailed(copy, "gallery-cells");
  }
}

TEST_F(GalleryMenuTest, CaptionsLieOnTheRowWithoutABackgroundOfTheirOwn) {
  // Each item is drawn inside a saved and restored DC state; a canvas that missed the
  // restore drew later captions on an opaque background.
  AddHeader("Header");
  AddButton("First row", 1);
  AddButton("Second row", 2);
  AddButton("Third row", 3)->SetEnabled(false);
  Menu->SetColumnsCount(6);
  for (TqvGalleryMenuBGStyle background : {qvgmPanel, qvgmToolBar})
    for (TqvMenuHeaderStyle style : {qvmhsDefault, qvmhsBottomLine}) {
      SCOPED_TRACE(std::to_string(background) + " " + std::to_string(style));
      Menu->SetBackgroundStyle(background);
      Menu->SetHeaderStyle(style);
      MoveTo({5, 290});
      Menu->Popup(100, 100);
      Run();
      const COLORREF ground = PopupAt(Popup()->Width() - 3, Menu->Items()->Items(1)->ItemRect.Top + 2);
      for (int i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TRect r = Menu->Items()->Items(i)->ItemRect;
        int inked = 0, foreign = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
          for (int x = r.Left + 2; x < r.Right - 2; ++x) {
            const COLORREF c = PopupAt(x, y);
            if (c == ground) continue;
            ++inked;
            // Text is dark ink blended over the ground, never lighter than it.
            if (GetRValue(c) > GetRValue(ground) && GetGValue(c) > GetGValue(ground)) ++foreign;
          }
        EXPECT_GT(inked, 0);
        EXPECT_EQ(foreign, 0);
      }
      Menu->Hide();
    }
}

TEST_F(GalleryMenuTest, BottomLineHeadersDrawTwoLinesInTheMeanOfTextAndFace) {
  Menu->SetHeaderStyle(qvmhsBottomLine);
  AddHeader("");
  AddCell(0);
  Menu->SetColumnsCount(3);
  Menu->Popup(100, 100);
  Run();
  const TRect r = Menu->Items()->Items(0)->ItemRect;
  const COLORREF text = ColorToRGB(clBtnText), face = ColorToRGB(clBtnFace);
  const COLORREF line = RGB((GetRValue(text) + GetRValue(face)) / 2, (GetGValue(text) + GetGValue(face)) / 2,
                            (GetBValue(text) + GetBValue(face)) / 2);
  for (int y : {r.Bottom - 1, r.Bottom - 2}) {
    EXPECT_EQ(PopupAt(r.Left + 2, y), line) << y;
    EXPECT_EQ(PopupAt(r.Right - 3, y), line) << y;
    EXPECT_NE(PopupAt(r.Left + 1, y), line) << "the line starts 2 pixels in";
    EXPECT_NE(PopupAt(r.Right - 2, y), line) << "and ends 2 pixels before the right";
  }
  EXPECT_NE(PopupAt(r.Left + 5, r.Bottom - 3), line);
}

// ---- lifetimes ----

TEST_F(GalleryMenuTest, OpeningAgainHidesTheOpenPopupFirst) {
  AddCell(0);
  Menu->Popup(100, 100);
  TqvGalleryMenuPopupWindow* first = Popup();
  Menu->Popup(300, 300);
  EXPECT_EQ(Log, "popup internalclose close popup");
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_NE(Popup(), first);
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
  RECT r{};
  GetWindowRect(Popup()->Handle(), &r);
  EXPECT_EQ(r.Left, 300);
  EXPECT_EQ(GetCapture(), Popup()->Handle());
  Run();
  Press(VK_ESCAPE);
  EXPECT_FALSE(Menu->IsOpen());
}

TEST_F(GalleryMenuTest, ItCanReopenOrHideFromInsideItsEvents) {
  AddCell(0);
  AddCell(1);
  Menu->SetColumnsCount(2);
  int reopen = 1;
  Menu->OnMenuClose = [&](TObject*) {
    Log += " close";
    Menu->Hide();
    if (reopen-- > 0) Menu->Popup(400, 400);
  };
  Menu->OnItemClick = [&](TObject*) {
    Log += " itemclick";
    Menu->Hide();
  };
  Menu->Popup(100, 100);
  ClickAt(ItemCenter(1));
  // The popup opened from OnMenuClose stays; the chosen item's events still come.
  EXPECT_EQ(Log, "popup internalclose close popup item1 itemclick internalclose close internalchange change");
  EXPECT_FALSE(Menu->IsOpen()) << "OnItemClick hid the new popup";
  EXPECT_EQ(Menu->ItemIndex(), 1);
}

TEST_F(GalleryMenuTest, FreeingTheMenuInsideItsEventsStopsTheRest) {
  enum Where { InItemClick, InOnClick, InMenuClose, InInternalClose, InOwnerFreedFromItemClick };
  for (Where where : {InItemClick, InOnClick, InMenuClose, InInternalClose, InOwnerFreedFromItemClick}) {
    SCOPED_TRACE(int(where));
    TComponent* owner = where == InOwnerFreedFromItemClick ? new TComponent(nullptr) : nullptr;
    delete Menu;
    Menu = new TqvGalleryMenu(owner);
    Menu->SetImages(Images);
    Listen(Menu, Log);
    AddCell(0);
    auto freeIt = [&] {
      if (owner)
        delete owner;
      else
        delete Menu;
      Menu = nullptr;
    };
    switch (where) {
      case InItemClick:
      case InOwnerFreedFromItemClick: Menu->OnItemClick = [&](TObject*) { Log += " free"; freeIt(); }; break;
      case InOnClick: Menu->Items()->Items(0)->OnClick = [&](TObject*) { Log += " free"; freeIt(); }; break;
      case InMenuClose: Menu->OnMenuClose = [&](TObject*) { Log += " free"; freeIt(); }; break;
      case InInternalClose: Menu->OnInternalMenuClose = [&](TObject*) { Log += " free"; freeIt(); }; break;
    }
    Log.clear();
    Menu->Popup(100, 100);
    HWND popup = Popup()->Handle();
    ClickAt(ItemCenter(0));
    EXPECT_EQ(Menu, nullptr);
    EXPECT_EQ(Log.find("change"), std::string::npos) << Log;
    EXPECT_EQ(Log.substr(Log.size() - 4), "free");
    EXPECT_NE(GetCapture(), popup);
    Run();
    Press(VK_RIGHT);  // the application's loop goes on without the menu's hook
    Menu = new TqvGalleryMenu(nullptr);
  }
}

TEST_F(GalleryMenuTest, FreeingTheMenuOrItsOwnerWhileOpenGivesBackHookAndMouse) {
  int seen = 0;
  Application->OnMessage = [&](MSG&, bool&) { ++seen; };
  for (bool viaOwner : {false, true}) {
    SCOPED_TRACE(viaOwner ? "owner" : "menu");
    TComponent* owner = new TComponent(nullptr);
    delete Menu;
    Menu = new TqvGalleryMenu(viaOwner ? owner : nullptr);
    Menu->SetImages(Images);
    AddCell(0);
    Menu->Popup(100, 100);
    HWND popup = Popup()->Handle();
    ASSERT_EQ(GetCapture(), popup);
    if (viaOwner) {
      delete owner;
    } else {
      delete Menu;
      delete owner;
    }
    Menu = nullptr;
    EXPECT_NE(GetCapture(), popup);
    seen = 0;
    Press(VK_RIGHT);
    EXPECT_GT(seen, 0) << "the previous handler is back";
    Run();
    Menu = new TqvGalleryMenu(nullptr);
  }
}

TEST_F(GalleryMenuTest, TakingOrFreeingTheImagesWhileOpenClosesTheMenu) {
  AddCell(0);
  Menu->Popup(100, 100);
  Menu->SetImages(nullptr);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, "popup internalclose close");
  Run();
  Log.clear();
  Menu->SetImages(Images);
  Menu->Popup(100, 100);
  delete Images;
  Images = nullptr;
  EXPECT_EQ(Menu->Images(), nullptr);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, "popup internalclose close");
  Run();
}

TEST_F(GalleryMenuTest, AnOwnerGoingDownWithItsImagesFiresNothing) {
  // Owned components go last first: the images before the menu.
  TComponent* owner = new TComponent(nullptr);
  delete Menu;
  Menu = new TqvGalleryMenu(owner);
  TImageList* images = new TImageList(owner, kImage, kImage);
  images->AddImages(Images);
  Menu->SetImages(images);
  Listen(Menu, Log);
  AddCell(0);
  Menu->Popup(100, 100);
  HWND popup = Popup()->Handle();
  Log.clear();
  delete owner;
  Menu = nullptr;
  EXPECT_EQ(Log, "");
  EXPECT_NE(GetCapture(), popup);
  EXPECT_FALSE(IsWindowVisible(popup));
  Run();
}

TEST_F(GalleryMenuTest, AHandlerReplacedWhileOpenStaysInPlace) {
  AddCell(0);
  int original = 0, replacement = 0;
  Application->OnMessage = [&](MSG&, bool&) { ++original; };
  // A component that takes the handler over without calling the one before.
  Menu->Popup(100, 100);
  Application->OnMessage = [&](MSG&, bool&) { ++replacement; };
  ClickAt({50, 250});
  EXPECT_FALSE(Menu->IsOpen());
  original = replacement = 0;
  Press(VK_RIGHT);
  EXPECT_GT(replacement, 0) << "closing did not put the old handler over the new one";
  EXPECT_EQ(original, 0);

  // A component that keeps the handler it found and calls it: the menu still hears keys
  // through it, and after closing that chain passes messages on to the original handler.
  Application->OnMessage = [&](MSG& Msg, bool&) { original += Msg.message == WM_KEYDOWN; };
  Menu->Popup(100, 100);
  TMessageEvent kept = Application->OnMessage;
  Application->OnMessage = [&, kept](MSG& Msg, bool& Handled) {
    ++replacement;
    kept(Msg, Handled);
  };
  original = replacement = 0;
  Press(VK_ESCAPE);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(original, 0) << "the menu took the key";
  original = replacement = 0;
  Press(VK_RIGHT);
  EXPECT_GT(replacement, 0);
  EXPECT_GT(original, 0);
}

TEST_F(GalleryMenuTest, TwoMenusOpenedInTurn) {
  AddCell(0);
  int original = 0;
  Application->OnMessage = [&](MSG&, bool&) { ++original; };
  TqvGalleryMenu* second = new TqvGalleryMenu(nullptr);
  second->SetImages(Images);
  second->Items()->Add()->SetImageIndex(1);
  std::string secondLog;
  Listen(second, secondLog);
  Menu->Popup(100, 100);
  second->Popup(300, 300);
  // The second took the mouse: the first cannot go on and closes.
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Log, "popup internalclose close");
  ASSERT_TRUE(second->IsOpen());
  EXPECT_EQ(GetCapture(), second->PopupWindow()->Handle());
  Press(VK_RIGHT);
  EXPECT_EQ(second->PopupWindow()->MouseInItem(), 0);
  Press(VK_RETURN);
  EXPECT_EQ(secondLog, "popup internalclose close itemclick internalchange change");
  original = 0;
  Press(VK_RIGHT);
  EXPECT_GT(original, 0);
  delete second;
}

}  // namespace
