// Grabbing: a control's whole subtree painted off-screen looks like the screen (frames,
// children at their places, graphic children, hidden ones left out), the frame and overlay
// messages of the libraries, children cut to their parent's client area, the registry of
// grabbers, and what a grab does with hidden controls, empty rectangles and failures.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GrabFixture.h"
#include "gx_grab.h"
#include "gx_grabclass.h"

namespace {

using namespace gxtest;

constexpr COLORREF kBlack = RGB(0, 0, 0);

// The control's client origin relative to its outer top-left corner, as the window system
// has it.
POINT ClientOffset(TWinControl* Control) {
  RECT window{};
  GetWindowRect(Control->Handle(), &window);
  POINT origin{};
  ClientToScreen(Control->Handle(), &origin);
  return {origin.X - window.Left, origin.Y - window.Top};
}

COLORREF Color(const TgxBitmap& Image, int X, int Y) { return ColorRefFromPixel(Image.GetPixel(X, Y)); }

// Where the image differs from the surface with its top-left at At; empty when nowhere.
std::string SurfaceMismatch(const TgxBitmap& Image, const Surface& Screen, POINT At) {
  for (int y = 0; y < Image.Height(); ++y)
    for (int x = 0; x < Image.Width(); ++x)
      if (Color(Image, x, y) != ColorRefFromPixel(Screen.At(At.X + x, At.Y + y)))
        return "pixel " + std::to_string(x) + "," + std::to_string(y);
  return {};
}

void SaveIfFailed(const TgxBitmap& Image, const char* Tag) {
  if (!::testing::Test::HasFailure()) return;
  TestCanvas copy(Image.Width(), Image.Height());
  for (int y = 0; y < Image.Height(); ++y)
    for (int x = 0; x < Image.Width(); ++x) copy.Pixels().At(x, y) = Image.GetPixel(x, y) | 0xFF000000u;
  ::SaveIfFailed(copy, Tag);
}

std::unique_ptr<TgxBitmap> Grab(TControl* Control) {
  return std::unique_ptr<TgxBitmap>(GrabControlImage(Control, {0, 0, Control->Width(), Control->Height()}));
}

using GrabTest = GrabFixture;

TEST_F(GrabTest, AControlWithAFrameAndChildrenIsGrabbedAsTheScreenShowsIt) {
  auto* box = Make<TBorderedFlat>(Host, {20, 20, 180, 140}, clGray);
  Make<TFlat>(box, {10, 10, 40, 30}, clRed);
  auto* framed = Make<TBorderedFlat>(box, {50, 40, 100, 90}, clLime);
  Make<TFlat>(framed, {5, 5, 15, 15}, clBlue);
  Make<TSwatch>(box, {110, 10, 130, 30}, clYellow);
  Make<TFlat>(box, {10, 60, 30, 80}, clFuchsia)->Hide();
  Run();
  const POINT o = ClientOffset(box), f = ClientOffset(framed);
  ASSERT_GT(o.X, 0) << "the border gives the box a frame";

  auto image = Grab(box);
  ASSERT_EQ(image->Width(), 160);
  ASSERT_EQ(image->Height(), 120);
  EXPECT_EQ(SurfaceMismatch(*image, *Top->Pixels, {20, 20}), "");
  EXPECT_EQ(Color(*image, 0, 0), At(20, 20)) << "the frame";
  EXPECT_NE(Color(*image, 0, 0), COLORREF(clGray));
  EXPECT_EQ(Color(*image, o.X, o.Y), COLORREF(clGray));
  EXPECT_EQ(Color(*image, o.X + 10, o.Y + 10), COLORREF(clRed));
  EXPECT_EQ(Color(*image, o.X + 39, o.Y + 29), COLORREF(clRed));
  EXPECT_EQ(Color(*image, o.X + 50, o.Y + 40), Color(*image, 0, 0)) << "the child's own frame";
  EXPECT_EQ(Color(*image, o.X + 50 + f.X + 5, o.Y + 40 + f.Y + 5), COLORREF(clBlue)) << "a grandchild";
  EXPECT_EQ(Color(*image, o.X + 110, o.Y + 10), COLORREF(clYellow)) << "a graphic child";
  EXPECT_EQ(Color(*image, o.X + 15, o.Y + 65), COLORREF(clGray)) << "a hidden child is left out";
  SaveIfFailed(*image, "tree");
}

TEST_F(GrabTest, APartOfAControlIsGrabbedFromItsOwnCoordinates) {
  auto* box = Make<TBorderedFlat>(Host, {20, 20, 180, 140}, clGray);
  Make<TFlat>(box, {10, 10, 40, 30}, clRed);
  Run();
  const TRect part{5, 8, 45, 38};
  std::unique_ptr<TgxBitmap> image(GrabControlImage(box, part));
  ASSERT_EQ(image->Width(), 40);
  ASSERT_EQ(image->Height(), 30);
  EXPECT_EQ(SurfaceMismatch(*image, *Top->Pixels, {20 + 5, 20 + 8}), "");
  for (int y = 0; y < image->Height(); ++y)
    for (int x = 0; x < image->Width(); ++x) ASSERT_EQ(image->GetPixel(x, y) >> 24, 0xFFu) << x << "," << y;
}

TEST_F(GrabTest, AFormIsGrabbedWithItsFrameAndControls) {
  auto* form = NewForm<TForm>(Application);
  form->SetBounds(500, 100, 220, 160);
  Make<TFlat>(form, {10, 10, 60, 40}, clRed);
  form->Show();
  Run();
  auto image = Grab(form);
  const Surface& surface = *form->Handle()->Pixels;
  EXPECT_EQ(SurfaceMismatch(*image, surface, {0, 0}), "");
  const POINT o = ClientOffset(form);
  ASSERT_GT(o.Y, o.X) << "a caption";
  EXPECT_EQ(Color(*image, o.X + 10, o.Y + 10), COLORREF(clRed));
  SaveIfFailed(*image, "form");
}

// Paints its frame and what overlays its client area only when a grab asks; records the
// painting messages of grabs.
class TGrabAware : public TBorderedFlat {
  QV_CLASS(TGrabAware, TBorderedFlat)
  explicit TGrabAware(TComponent* AOwner) : TBorderedFlat(AOwner) {}
  std::vector<UINT> Log;

  void Dispatch(TMessage& Message) override {
    const bool copy = ControlState().Contains(csPaintCopy);
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    switch (Message.Msg) {
      case CM_GRABFRAME: {
        Log.push_back(Message.Msg);
        HBRUSH brush = CreateSolidBrush(clFuchsia);
        const RECT whole{0, 0, Width(), Height()};
        FrameRect(dc, &whole, brush);
        DeleteObject(brush);
        Message.Result = gxGrabFrameAnswer;
        return;
      }
      case CM_GRABOVERLAY: {
        Log.push_back(Message.Msg);
        HBRUSH brush = CreateSolidBrush(clAqua);
        const RECT mark{3, 3, 7, 7};
        FillRect(dc, &mark, brush);
        DeleteObject(brush);
        return;
      }
      case WM_ERASEBKGND:
      case WM_PAINT:
      case WM_PRINT:
        if (copy) Log.push_back(Message.Msg);
        break;
      default:
        break;
    }
    TBorderedFlat::Dispatch(Message);
  }
};

TEST_F(GrabTest, AControlThatPaintsItsOwnFrameForGrabsGetsTheFrameAndOverlayMessages) {
  auto* aware = Make<TGrabAware>(Host, {30, 30, 90, 80}, clNavy);
  Run();
  const POINT o = ClientOffset(aware);
  aware->Log.clear();
  auto image = Grab(aware);
  EXPECT_EQ(aware->Log, (std::vector<UINT>{CM_GRABFRAME, WM_ERASEBKGND, WM_PAINT, CM_GRABOVERLAY}));
  EXPECT_EQ(Color(*image, 0, 0), COLORREF(clFuchsia));
  EXPECT_EQ(Color(*image, 59, 49), COLORREF(clFuchsia));
  EXPECT_EQ(Color(*image, o.X, o.Y + 20), COLORREF(clNavy));
  EXPECT_EQ(Color(*image, o.X + 3, o.Y + 3), COLORREF(clAqua)) << "the overlay at the client origin";
  EXPECT_EQ(Color(*image, o.X + 7, o.Y + 7), COLORREF(clNavy));
  // The screen keeps the window's own frame: the grab painted off-screen only.
  EXPECT_NE(At(30, 30), COLORREF(clFuchsia));
  SaveIfFailed(*image, "grabframe");
}

TEST_F(GrabTest, AGrabPaintsTheControlAsACopyAndLeavesTheScreenAlone) {
  auto* flat = Make<TFlat>(Host, {10, 10, 50, 50}, clRed);
  Run();
  EXPECT_FALSE(flat->PaintedAsCopy);
  flat->Ink = clBlue;  // not invalidated: the screen stays red
  auto image = Grab(flat);
  EXPECT_TRUE(flat->PaintedAsCopy);
  EXPECT_FALSE(flat->ControlState().Contains(csPaintCopy));
  EXPECT_EQ(Color(*image, 20, 20), COLORREF(clBlue));
  Run();
  EXPECT_EQ(At(30, 30), COLORREF(clRed));
}

TEST_F(GrabTest, AChildThatSticksOutOfItsParentIsGrabbedOnlyInsideTheParentsClientArea) {
  auto* parent = Make<TFlat>(Host, {20, 150, 120, 210}, clGray);     // 100 x 60
  auto* child = Make<TGrabAware>(parent, {-10, 40, 30, 80}, clRed);  // out by 10 left, 20 below
  Run();
  const POINT o = ClientOffset(child);

  // The child's frame comes from its grab-only painting, so it shows where the grab of the
  // child itself (not the parent's painting of its children) put it.
  auto whole = Grab(parent);
  EXPECT_EQ(Color(*whole, 0, 40), COLORREF(clFuchsia)) << "the top edge, from the parent's left on";
  EXPECT_EQ(Color(*whole, 29, 40), COLORREF(clFuchsia)) << "the top-right corner";
  EXPECT_EQ(Color(*whole, 29, 59), COLORREF(clFuchsia)) << "the right edge";
  EXPECT_EQ(Color(*whole, 0, 40 + o.Y), COLORREF(clRed));
  EXPECT_EQ(Color(*whole, 30, 50), COLORREF(clGray));
  EXPECT_EQ(Color(*whole, 5, 39), COLORREF(clGray));
  SaveIfFailed(*whole, "parent");

  // The child by itself: what lies outside the parent's client area stays unpainted.
  auto alone = Grab(child);
  EXPECT_EQ(Color(*alone, 9, 5), kBlack);
  EXPECT_EQ(Color(*alone, 10, 0), COLORREF(clFuchsia));
  EXPECT_EQ(Color(*alone, 10, 5), COLORREF(clRed));
  EXPECT_EQ(Color(*alone, 39, 19), COLORREF(clFuchsia));
  EXPECT_EQ(Color(*alone, 20, 20), kBlack);
  SaveIfFailed(*alone, "child");
}

// Fills what it grabs with one colour and counts its grabs.
class TMarkGrabber : public TgxGrabber {
  QV_CLASS(TMarkGrabber, TgxGrabber)
  static int& Grabs() {
    static int n = 0;
    return n;
  }
  static TgxGrabberControlClass GetGrabberClassType() { return nullptr; }
  static String GetGrabberClassName() { return "tsomethingelse;tgrablisted;xtgrabunlisted"; }
  void GrabToBitmap(TBitmap* ABitmap, int32_t X, int32_t Y, TControl* AControl, const TRect&) override {
    ++Grabs();
    ABitmap->Canvas()->Brush()->SetColor(clTeal);
    ABitmap->Canvas()->FillRect({X, Y, X + AControl->Width(), Y + AControl->Height()});
  }
};

class TGrabListed : public TFlat {
  QV_CLASS(TGrabListed, TFlat)
  explicit TGrabListed(TComponent* AOwner) : TFlat(AOwner) {}
};
// Its name is only a part of an entry of the list.
class TGrabUnlisted : public TFlat {
  QV_CLASS(TGrabUnlisted, TFlat)
  explicit TGrabUnlisted(TComponent* AOwner) : TFlat(AOwner) {}
};

TEST_F(GrabTest, AControlListedByClassNameIsGrabbedByTheRegisteredGrabber) {
  ASSERT_FALSE(gxGrabberClasses().empty());
  EXPECT_EQ(gxGrabberClasses().front().Info, TgxWControlGrabber::StaticClass());
  RegisterGrabber<TMarkGrabber>();
  struct Unregister {
    ~Unregister() { UnRegisterGrabber(TMarkGrabber::StaticClass()); }
  } unregister;
  auto* box = Make<TFlat>(Host, {10, 10, 210, 110}, clGray);
  auto* listed = Make<TGrabListed>(box, {10, 10, 50, 50}, clRed);
  auto* unlisted = Make<TGrabUnlisted>(box, {60, 10, 100, 50}, clRed);
  Run();
  EXPECT_EQ(gxFindGrabberClass(listed)->Info, TMarkGrabber::StaticClass());
  EXPECT_EQ(gxFindGrabberClass(unlisted)->Info, TgxWControlGrabber::StaticClass());
  EXPECT_EQ(gxFindGrabberClass(box)->Info, TgxWControlGrabber::StaticClass());

  TMarkGrabber::Grabs() = 0;
  auto image = Grab(box);
  EXPECT_EQ(TMarkGrabber::Grabs(), 1);
  EXPECT_EQ(Color(*image, 10, 10), COLORREF(clTeal));
  EXPECT_EQ(Color(*image, 49, 49), COLORREF(clTeal));
  EXPECT_EQ(Color(*image, 60, 10), COLORREF(clRed));
  EXPECT_EQ(Color(*image, 5, 5), COLORREF(clGray));
}

TEST_F(GrabTest, TheLatestRegistrationForAControlClassWinsAndUnregisteringRestoresTheDefault) {
  struct TClassGrabber : TMarkGrabber {
    static TgxGrabberControlClass GetGrabberClassType() { return TFlat::StaticClass(); }
    static String GetGrabberClassName() { return {}; }
  };
  auto* flat = Make<TFlat>(Host, {10, 10, 50, 50}, clRed);
  RegisterGrabber<TClassGrabber>();
  EXPECT_EQ(gxFindGrabberClass(flat)->ControlClass, TFlat::StaticClass());
  EXPECT_EQ(gxFindGrabberClass(Host)->Info, TgxWControlGrabber::StaticClass()) << "not a flat";
  UnRegisterGrabber(TMarkGrabber::StaticClass());
  EXPECT_EQ(gxFindGrabberClass(flat)->Info, TgxWControlGrabber::StaticClass());
  EXPECT_THROW(RegisterGrabber(TgxGrabberClass{}), EArgumentException);
}

TEST_F(GrabTest, HiddenControlsAndRectanglesOutsideGiveABlackPictureOfTheAskedSize) {
  auto* flat = Make<TFlat>(Host, {10, 10, 50, 50}, clRed);
  Run();
  struct Case {
    const char* Name;
    TRect Rect;
    bool Hide;
  };
  for (const Case& c : {Case{"hidden", {0, 0, 40, 40}, true}, Case{"outside", {40, 0, 60, 10}, false},
                        Case{"above", {0, -30, 10, -5}, false}}) {
    SCOPED_TRACE(c.Name);
    flat->SetVisible(!c.Hide);
    std::unique_ptr<TgxBitmap> image(GrabControlImage(flat, c.Rect));
    ASSERT_EQ(image->Width(), c.Rect.Width());
    ASSERT_EQ(image->Height(), c.Rect.Height());
    for (int y = 0; y < image->Height(); ++y)
      for (int x = 0; x < image->Width(); ++x) ASSERT_EQ(image->GetPixel(x, y), 0xFF000000u);
  }
  std::unique_ptr<TgxBitmap> empty(GrabControlImage(flat, {5, 5, 5, 20}));
  EXPECT_TRUE(empty->Empty());
  std::unique_ptr<TgxBitmap> none(GrabControlImage(nullptr, {0, 0, 4, 4}));
  EXPECT_EQ(none->GetPixel(3, 3), 0xFF000000u);
}

TEST_F(GrabTest, AControlWithoutAWindowYetIsGrabbedFromItsOwnPainting) {
  TWinControl offscreen(nullptr);  // neither parent nor parent window: nothing gets a window
  offscreen.SetBounds(0, 0, 100, 100);
  auto* flat = Make<TFlat>(&offscreen, {10, 10, 50, 40}, clRed);
  ASSERT_FALSE(flat->HandleAllocated());
  auto image = Grab(flat);
  EXPECT_FALSE(flat->HandleAllocated());
  EXPECT_EQ(Color(*image, 0, 0), COLORREF(clRed));
  EXPECT_EQ(Color(*image, 39, 29), COLORREF(clRed));
}

TEST_F(GrabTest, AFailingPaintLeavesNothingBehind) {
  auto* box = Make<TFlat>(Host, {10, 10, 110, 110}, clGray);
  auto* child = Make<TFlat>(box, {10, 10, 50, 50}, clRed);
  Run();
  child->Fail = [] { throw Exception("paint failed"); };
  // Without the application's handler the exception reaches the caller of the grab...
  auto handler = ExceptionHandlerHook;
  ExceptionHandlerHook = nullptr;
  EXPECT_THROW(Grab(box), Exception);
  EXPECT_FALSE(child->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(box->ControlState().Contains(csPaintCopy));
  // ...with it, the application reports it as it does for every message, and the grab
  // goes on without the failed part.
  ExceptionHandlerHook = handler;
  ASSERT_TRUE(ExceptionHandlerHook);
  auto reported = Grab(box);
  EXPECT_EQ(Application->LastExceptionMessage(), "paint failed.");
  EXPECT_EQ(Color(*reported, 5, 5), COLORREF(clGray));
  EXPECT_FALSE(child->ControlState().Contains(csPaintCopy));
  child->Fail = nullptr;
  auto image = Grab(box);
  EXPECT_EQ(Color(*image, 10, 10), COLORREF(clRed));
}

}  // namespace
