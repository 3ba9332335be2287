// TqvHint and its window on the headless backend: delayed showing and hiding on the
// virtual clock, replacing a pending request, hiding from the timer's own handler, the
// fade-in, line separators, sane windows for absurd texts, placement at the edges of the
// work area, and the styled and classic painting.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HintFixture.h"
#include "qvHint.h"
#include "support/Colors.h"
#include "themes/StyleServices.h"
#include "win/Timers.h"

namespace {

constexpr int kCursorHeight = 32;  // SM_CYCURSOR: there is no cursor shape in these tests

// Tells when a component goes.
class TFreeWatcher : public TComponent {
  QV_CLASS(TFreeWatcher, TComponent)
  explicit TFreeWatcher(TComponent* AOwner) : TComponent(AOwner) {}
  bool Freed = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) Freed = true;
  }
};

class HintTest : public HintFixture {
 protected:
  void SetUp() override {
    HintFixture::SetUp();
    Hint = new TqvHint(nullptr);
  }
  void TearDown() override {
    delete Hint;
    delete Images;
    HintFixture::TearDown();
  }

  HWND Window() const { return Hint->HW->Handle(); }
  TRect Shown() const { return WindowRect(Window()); }
  uint8_t Opacity() const { return Headless()->Window(Window()->Native)->Opacity; }

  TqvHint* Hint = nullptr;
  TImageList* Images = nullptr;
};

// ---- timing ----

struct DelayedCase {
  const char* Name;
  std::function<void(TqvHint*, TImageList*)> Activate;
  bool Extended;
  // Where the window's left-top goes, for its size.
  std::function<TPoint(TSize)> TopLeft;
};

TEST_F(HintTest, DelayedHintsShowAfterTheHintPauseAndHideAfterTheHidePause) {
  Images = MakeImages(2);
  const std::vector<DelayedCase> cases = {
      {"at the cursor", [](TqvHint* h, TImageList*) { h->ActivateHint("At the cursor"); }, false,
       [](TSize) { return Point(100, 100 + kCursorHeight); }},
      {"below a rectangle", [](TqvHint* h, TImageList*) { h->ActivateHint(Rect(200, 300, 300, 320), "Below", false); },
       false, [](TSize s) { return Point(250 - s.cx / 2, 320); }},
      {"above a rectangle", [](TqvHint* h, TImageList*) { h->ActivateHint(Rect(200, 300, 300, 320), "Above", true); },
       false, [](TSize s) { return Point(250 - s.cx / 2, 300 - s.cy); }},
      {"extended at the cursor",
       [](TqvHint* h, TImageList* images) { h->ActivateHintEx("Title", "Extended text", 1, images); }, true,
       [](TSize) { return Point(100, 100 + kCursorHeight); }},
  };
  for (const DelayedCase& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Activate(Hint, Images);
    Wait(kHintPause - 1);
    EXPECT_FALSE(Hint->IsVisible());
    Wait(1);
    ASSERT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Hint->HW->ExtendedStyle(), c.Extended);
    const TRect r = Shown();
    EXPECT_EQ(r.TopLeft(), c.TopLeft(TSize{r.Width(), r.Height()}));
    // The same timer now hides the window.
    ASSERT_NE(Hint->HintTimer, nullptr);
    EXPECT_EQ(Hint->HintTimer->Interval(), uint32_t(kHintHidePause));
    Wait(kHintHidePause - 1);
    EXPECT_TRUE(Hint->IsVisible());
    Wait(1);
    EXPECT_FALSE(Hint->IsVisible());
    EXPECT_EQ(Hint->HintTimer, nullptr);
    EXPECT_EQ(Hint->HintTitle(), "");
    EXPECT_EQ(Hint->HintImageList(), nullptr);
  }
}

TEST_F(HintTest, ANewRequestReplacesAPendingOne) {
  Hint->ActivateHint("First");
  Wait(200);
  Hint->ActivateHint(Rect(500, 500, 600, 520), "Second", false);
  // The first request would have shown by now.
  Wait(kHintPause - 200);
  EXPECT_FALSE(Hint->IsVisible());
  Wait(200);
  ASSERT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->HW->Caption(), "Second");
  EXPECT_EQ(Shown().Top, 520);
  // One timer runs: the hide timer of the second request.
  int running = 0;
  for (int i = 0; i < Hint->ComponentCount(); ++i)
    if (auto* timer = dynamic_cast<TTimer*>(Hint->Components(i))) running += timer->Enabled() ? 1 : 0;
  EXPECT_EQ(running, 1);
}

TEST_F(HintTest, AnImmediateHintStopsAPendingOne) {
  Hint->ActivateHint("Delayed");
  Hint->ActivateHint(Point(40, 50), "Now");
  ASSERT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Shown().TopLeft(), Point(40, 50));
  EXPECT_EQ(Hint->HintTimer, nullptr);
  Wait(kHintPause + kHintHidePause);
  EXPECT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->HW->Caption(), "Now");
}

TEST_F(HintTest, HideHintRunningAsItsTimersHandlerLeavesTheTimerToTheMessageLoop) {
  Hint->ActivateHint("Going");
  Wait(kHintPause);
  ASSERT_TRUE(Hint->IsVisible());
  TTimer* timer = Hint->HintTimer;
  ASSERT_NE(timer, nullptr);
  TFreeWatcher watcher(nullptr);
  timer->FreeNotification(&watcher);
  // Only the timer's message: nothing that the loop releases goes yet.
  Advance(kHintHidePause);
  ProcessPendingMessages();
  EXPECT_FALSE(Hint->IsVisible());
  EXPECT_EQ(Hint->HintTimer, nullptr);
  EXPECT_FALSE(watcher.Freed) << "the timer was freed inside its own handler";
  EXPECT_FALSE(timer->Enabled());
  ProcessDeferredReleases();
  EXPECT_TRUE(watcher.Freed);
}

TEST_F(HintTest, HidingAHintThatDoesNotShowOnlyStopsThePendingTimer) {
  Images = MakeImages(1);
  Hint->ActivateHintEx("Title", "Text", 0, Images);
  Hint->HideHint();
  EXPECT_EQ(Hint->HintTimer, nullptr);
  EXPECT_EQ(Hint->HintTitle(), "Title");
  EXPECT_EQ(Hint->HintImageList(), Images);
  Wait(kHintPause + kHintHidePause);
  EXPECT_FALSE(Hint->IsVisible());
  // A hint that shows goes, and its title and image with it.
  Hint->ActivateHintEx(Point(10, 10), "Title", "Text", 0, Images);
  ASSERT_TRUE(Hint->IsVisible());
  Hint->HideHint();
  EXPECT_FALSE(Hint->IsVisible());
  EXPECT_EQ(Hint->HintTitle(), "");
  EXPECT_EQ(Hint->HintImageList(), nullptr);
}

TEST_F(HintTest, AFreedImageListIsForgotten) {
  Images = MakeImages(1);
  Hint->ActivateHintEx(Point(10, 10), "Title", "Text", 0, Images);
  delete Images;
  Images = nullptr;
  EXPECT_EQ(Hint->HintImageList(), nullptr);
  // The window paints without it.
  Hint->HW->Invalidate();
  Run();
  EXPECT_TRUE(Hint->IsVisible());
}

// ---- the window ----

TEST_F(HintTest, TheWindowHasNoBorderAndPaintsNoNonClientArea) {
  Hint->ActivateHint(Point(10, 10), "Plain");
  EXPECT_EQ(GetWindowLongPtr(Window(), GWL_STYLE) & WS_BORDER, 0);
  RECT client{};
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.Width(), Shown().Width());
  EXPECT_EQ(client.Height(), Shown().Height());
  EXPECT_EQ(SendMessage(Window(), WM_NCPAINT, 1, 0), 1);
  EXPECT_EQ(SendMessage(Window(), WM_ERASEBKGND, 0, 0), 1);
  EXPECT_NE(GetWindowLongPtr(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(HintTest, TheFadeInStepsToTheOpacityEveryThirtyMilliseconds) {
  struct Case {
    uint8_t Value;
    int Step;
  };
  for (const Case c : {Case{255, 36}, Case{6, 1}, Case{7, 1}, Case{100, 14}}) {
    SCOPED_TRACE(testing::Message() << "AlphaBlendValue " << int(c.Value));
    Hint->SetAlphaBlend(true);
    Hint->SetAlphaBlendAnimation(true);
    Hint->SetAlphaBlendValue(c.Value);
    Hint->ActivateHint(Point(10, 10), "Fading");
    ASSERT_NE(GetWindowLongPtr(Window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(Opacity(), 0);
    int expected = 0;
    int ticks = 0;
    while (expected < c.Value) {
      Wait(TqvHintWindow::kFadeInterval - 1);
      EXPECT_EQ(Opacity(), expected);
      Wait(1);
      expected = std::min(expected + c.Step, int(c.Value));
      ++ticks;
      ASSERT_EQ(Opacity(), expected) << "tick " << ticks;
    }
    EXPECT_EQ(TimeToNextTimer(Window()), -1) << "the fade timer runs on";
    Hint->HideHint();
  }
}

TEST_F(HintTest, AFadeStopsWhenTheWindowIsHidden) {
  Hint->SetAlphaBlend(true);
  Hint->SetAlphaBlendAnimation(true);
  Hint->ActivateHint(Point(10, 10), "Fading");
  Wait(TqvHintWindow::kFadeInterval);
  EXPECT_EQ(Opacity(), 36);
  Hint->HideHint();
  Wait(TqvHintWindow::kFadeInterval);
  EXPECT_EQ(Opacity(), 36);
  EXPECT_EQ(TimeToNextTimer(Window()), -1);
}

TEST_F(HintTest, TranslucencyFollowsTheSettingsOfEachShow) {
  Hint->SetAlphaBlend(true);
  Hint->SetAlphaBlendValue(150);
  Hint->ActivateHint(Point(10, 10), "Translucent");
  EXPECT_EQ(Opacity(), 150);
  EXPECT_EQ(TimeToNextTimer(Window()), -1);
  Hint->HideHint();
  Hint->SetAlphaBlend(false);
  Hint->ActivateHint(Point(10, 10), "Opaque");
  EXPECT_EQ(GetWindowLongPtr(Window(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(Opacity(), 255);
  // A fade cut short by a show without one ends with it.
  Hint->SetAlphaBlend(true);
  Hint->SetAlphaBlendAnimation(true);
  Hint->ActivateHint(Point(10, 10), "Fading");
  Wait(TqvHintWindow::kFadeInterval);
  Hint->SetAlphaBlendAnimation(false);
  Hint->SetAlphaBlendValue(200);
  Hint->ActivateHint(Point(10, 10), "Steady");
  EXPECT_EQ(Opacity(), 200);
  Wait(TqvHintWindow::kFadeInterval * 3);
  EXPECT_EQ(Opacity(), 200);
}

TEST_F(HintTest, TheLineSeparatorBreaksTheTextIntoLines) {
  Hint->ActivateHint(Point(10, 10), "First part");
  const TRect one = Shown();
  struct Case {
    const char* Separator;
    const char* Text;
  };
  for (const Case c : {Case{"@@", "First part@@Second part"}, Case{"|", "First part|Second part"}}) {
    SCOPED_TRACE(c.Text);
    Hint->SetLineSeparator(c.Separator);
    Hint->ActivateHint(Point(10, 10), c.Text);
    EXPECT_EQ(Hint->HW->Caption(), "First part\r\nSecond part");
    const TRect two = Shown();
    // Text heights: the window adds 4.
    EXPECT_EQ(two.Height() - 4, 2 * (one.Height() - 4));
    EXPECT_GT(two.Width(), one.Width());  // "Second part" is the wider line
  }
}

TEST_F(HintTest, SeparatorsOnlyAndHugeTextsGiveWindowsOnTheWorkArea) {
  Images = MakeImages(1, 48, 48);
  String spaced;
  while (spaced.size() < (1u << 20)) spaced += "lorem ipsum dolor ";
  String manyLines;
  for (int i = 0; i < 100000; ++i) manyLines += "a@@";
  struct Case {
    const char* Name;
    String Text;
  };
  const std::vector<Case> cases = {
      {"one separator", "@@"},
      {"three separators", "@@@@@@"},
      {"100000 separators",
       [] {
         String s;
         for (int i = 0; i < 100000; ++i) s += "@@";
         return s;
       }()},
      {"100000 short lines", manyLines},
      {"1 MB of words", spaced},
      {"1 MB without a space", String(1u << 20, 'x')},
  };
  const TRect screen = Rect(0, 0, 1920, 1080);
  // Near the bottom-right corner: flipped to the left and up, and still on the screen.
  const TPoint at = Point(1900, 1060);
  for (const Case& c : cases)
    for (const bool extended : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.Name << (extended ? ", extended" : ", plain"));
      if (extended)
        Hint->ActivateHintEx(at, c.Text, c.Text, 0, Images);
      else
        Hint->ActivateHint(at, c.Text);
      Run();
      ASSERT_TRUE(Hint->IsVisible());
      const TRect r = Shown();
      EXPECT_GT(r.Width(), 0);
      EXPECT_GT(r.Height(), 0);
      EXPECT_GE(r.Left, screen.Left);
      EXPECT_GE(r.Top, screen.Top);
      EXPECT_LE(r.Right, screen.Right);
      EXPECT_LE(r.Bottom, screen.Bottom);
      Hint->HideHint();
    }
}

TEST_F(HintTest, AWideTextWrapsAtTheWorkAreaAndFillsItsWidth) {
  String words;
  while (words.size() < 2000) words += "wrapping words ";
  Hint->ActivateHint(Point(10, 10), "One line");
  const int line = Shown().Height() - 4;
  Hint->ActivateHint(Point(10, 10), words);
  const TRect r = Shown();
  EXPECT_LE(r.Width(), 1920);
  EXPECT_GT(r.Width(), 1800);
  EXPECT_GE(r.Height() - 4, 3 * line);
}

// ---- placement ----

TEST_F(HintTest, AtTheRightOrBottomEdgeTheWindowFlipsToTheOtherSideOfThePoint) {
  Hint->ActivateHint(Point(10, 10), "Placed hint");
  const TSize s{Shown().Width(), Shown().Height()};
  struct Case {
    const char* Name;
    TPoint At;
    TPoint TopLeft;
  };
  const std::vector<Case> cases = {
      {"room", Point(100, 100), Point(100, 100)},
      {"right edge", Point(1920 - s.cx + 1, 100), Point(1920 - s.cx + 1 - s.cx - 2, 100)},
      {"right edge exactly", Point(1920 - s.cx, 100), Point(1920 - s.cx, 100)},
      {"bottom edge", Point(100, 1080 - s.cy + 1), Point(100, 1080 - s.cy + 1 - s.cy - 2)},
      {"corner", Point(1915, 1075), Point(1915 - s.cx - 2, 1075 - s.cy - 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Hint->ActivateHint(c.At, "Placed hint");
    EXPECT_EQ(Shown().TopLeft(), c.TopLeft);
  }
}

TEST_F(HintTest, TheWorkAreaIsTheActiveFormsMonitorsElseTheScreen) {
  Hint->ActivateHint(Point(10, 10), "Placed hint");
  const int h = Shown().Height();
  // The screen is 1080 high; the monitor's work area ends at 1040.
  const TPoint at = Point(100, 1040 - h + 1);
  Hint->ActivateHint(at, "Placed hint");
  EXPECT_EQ(Shown().Top, at.Y);
  auto* form = new TForm(nullptr);
  form->SetBounds(50, 50, 300, 200);
  form->Show();
  Run();
  ASSERT_EQ(Screen->ActiveForm(), form);
  Hint->ActivateHint(at, "Placed hint");
  EXPECT_EQ(Shown().Top, at.Y - h - 2);
  delete form;
}

TEST_F(HintTest, RectangleHintsGoCentredBelowOrAboveAndFlipAtTheEdges) {
  Hint->ActivateHint(Point(10, 10), "Anchored");
  const TSize s{Shown().Width(), Shown().Height()};
  struct Case {
    const char* Name;
    TRect Anchor;
    bool Above;
    TPoint TopLeft;
  };
  const std::vector<Case> cases = {
      {"below", Rect(200, 300, 300, 320), false, Point(250 - s.cx / 2, 320)},
      {"above", Rect(200, 300, 300, 320), true, Point(250 - s.cx / 2, 300 - s.cy)},
      {"below at the bottom", Rect(200, 1060, 300, 1075), false, Point(250 - s.cx / 2, 1075 - s.cy - 2)},
      {"below at the right", Rect(1880, 300, 1920, 320), false, Point(1900 - s.cx / 2 - s.cx - 2, 320)},
      {"above at the top", Rect(200, 2, 300, 20), true, Point(250 - s.cx / 2, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Hint->HW->ActivateHintFromRect(c.Anchor, "Anchored", c.Above);
    EXPECT_EQ(Shown().TopLeft(), c.TopLeft);
  }
}

// ---- extended hints ----

TEST_F(HintTest, ExtendedHintsMakeRoomForTitleAndImage) {
  Images = MakeImages(2, 40, 40);
  Hint->ActivateHint(Point(10, 10), "Text");
  const TSize plain{Shown().Width(), Shown().Height()};
  const int textW = plain.cx - 6, textH = plain.cy - 4;
  // An image and no title.
  Hint->ActivateHintEx(Point(10, 10), "", "Text", 0, Images);
  EXPECT_TRUE(Hint->HW->ExtendedStyle());
  EXPECT_EQ(Shown().Width(), textW + 40 + 10 + 6);
  EXPECT_EQ(Shown().Height(), std::max(textH, 40 + 5) + 4);
  // An image index the list does not have: no image, text and title only.
  Hint->ActivateHintEx(Point(10, 10), "T", "Text", 7, Images);
  EXPECT_TRUE(Hint->HW->ExtendedStyle());
  const int withTitle = Shown().Height();
  EXPECT_GT(withTitle, textH + 4 + 10);
  EXPECT_EQ(Shown().Width(), textW + 4 + 6);
  // The window's plain ActivateHint shows the extended hint while the hint has a title.
  Hint->HW->ActivateHint(Rect(10, 10, 10, 10), "Text");
  EXPECT_TRUE(Hint->HW->ExtendedStyle());
  EXPECT_EQ(Shown().Height(), withTitle);
  Hint->ActivateHint(Point(10, 10), "Text");
  EXPECT_FALSE(Hint->HW->ExtendedStyle());
  EXPECT_EQ(Shown().Height(), plain.cy);
}

// ---- painting ----

class HintPaintTest : public HintTest {
 protected:
  COLORREF Pixel(int x, int y) const { return ColorRefFromPixel(Window()->Pixels->At(x, y)); }
  // A pixel of the rectangle within Tolerance of Color.
  bool Finds(const TRect& Area, COLORREF Color, int Tolerance) const {
    for (int y = Area.Top; y < Area.Bottom; ++y)
      for (int x = Area.Left; x < Area.Right; ++x)
        if (NearColor(Pixel(x, y), Color, Tolerance)) return true;
    return false;
  }
  static int Distance(COLORREF a, COLORREF b) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
           std::abs(int(GetBValue(a)) - int(GetBValue(b)));
  }
};

TEST_F(HintPaintTest, AStyledHintPaintsTheStylesHintGradientAndTextColour) {
  TStyleManager::SetStyle("Glossy");
  TCustomStyleServices* style = StyleServices();
  const TThemedElementDetails details = style->GetElementDetails(thHintNormal);
  TColor from = clNone, to = clNone, text = clNone;
  ASSERT_TRUE(style->GetElementColor(details, ecGradientColor1, from));
  ASSERT_TRUE(style->GetElementColor(details, ecGradientColor2, to));
  ASSERT_TRUE(style->GetElementColor(details, ecTextColor, text));
  const COLORREF top = style->ColorToRGB(from), bottom = style->ColorToRGB(to), ink = style->ColorToRGB(text);
  ASSERT_GT(Distance(top, bottom), 30) << "the style's hint needs a visible gradient";

  Hint->ActivateHint(Point(10, 10), "Styled hint@@second line");
  const TRect r = Shown();
  const int x = r.Width() - 3;  // right of the text
  EXPECT_LT(Distance(Pixel(x, 1), top), Distance(Pixel(x, 1), bottom));
  EXPECT_LT(Distance(Pixel(x, r.Height() - 2), bottom), Distance(Pixel(x, r.Height() - 2), top));
  // Rows get darker or lighter steadily from the first colour to the second.
  EXPECT_LT(Distance(Pixel(x, 1), top), Distance(Pixel(x, r.Height() / 2), top));
  EXPECT_TRUE(Finds(Rect(2, 2, r.Width() - 2, r.Height() - 2), ink, 8)) << "no pixel in the text colour";
  SaveScreenIfFailed("qvHint-styled");
}

TEST_F(HintPaintTest, UnderTheSystemStyleTheHintIsTheSystemsTooltip) {
  TStyleManager::SetStyle("Windows");
  Hint->ActivateHint(Point(10, 10), "System hint");
  const TRect r = Shown();
  const TRect client = Rect(0, 0, r.Width(), r.Height());
  // The tooltip element, drawn 4 pixels larger and clipped, as the window draws it.
  TBitmap expected;
  expected.SetPixelFormat(pf32bit);
  expected.SetSize(r.Width(), r.Height());
  TRect box = client;
  InflateRect(&box, 4, 4);
  TCustomStyleServices* style = StyleServices();
  style->DrawElement(expected.Canvas()->Handle(), style->GetElementDetails(tttStandardNormal), box, &client);
  for (const TPoint p : {Point(r.Width() - 3, 2), Point(r.Width() - 3, r.Height() - 3)})
    EXPECT_EQ(Pixel(p.X, p.Y), ColorToRGB(expected.Canvas()->Pixels(p.X, p.Y))) << p.X << "," << p.Y;
  // The element's gradient, not the info colour.
  EXPECT_NE(Pixel(r.Width() - 3, 2), Pixel(r.Width() - 3, r.Height() - 3));
}

TEST_F(HintPaintTest, TheClassicHintKeepsItsBackgroundAndHasARaisedEdge) {
  SetThemeAppProperties(0);
  Hint->ActivateHint(Point(10, 10), "Classic hint");
  const TRect r = Shown();
  const int w = r.Width(), h = r.Height();
  EXPECT_EQ(Pixel(w - 3, h / 2), ColorToRGB(clInfoBk));
  EXPECT_EQ(Pixel(w / 2, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(Pixel(0, h / 2), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(Pixel(w / 2, h - 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(Pixel(w - 1, h / 2), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_TRUE(Finds(Rect(2, 2, w - 2, h - 2), ColorToRGB(clInfoText), 8));
}

TEST_F(HintPaintTest, TheExtendedHintDrawsItsImageLeftOfTheText) {
  Images = MakeImages(2, 20, 20);
  SetThemeAppProperties(0);
  Hint->ActivateHintEx(Point(10, 10), "", "Text beside the image", 1, Images);
  const TRect r = Shown();
  // Image 1 is RGB(40, 120, 200), at x 5, centred vertically.
  const int top = (r.Height() - 20) / 2;
  EXPECT_EQ(Pixel(5, top), RGB(40, 120, 200));
  EXPECT_EQ(Pixel(24, top + 19), RGB(40, 120, 200));
  EXPECT_NE(Pixel(4, top), RGB(40, 120, 200));
  EXPECT_NE(Pixel(25, top), RGB(40, 120, 200));
}

}  // namespace
