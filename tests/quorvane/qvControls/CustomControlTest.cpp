// The custom control base on the headless backend: painting through its buffer, the
// parent's pixels behind a transparent control (copied from a stored paint buffer or
// painted by the parent, graphic siblings included), the background cascade down the
// tree, the erase rules, repaints that reuse the background, and scaling.
#include <gtest/gtest.h>

#include <vector>

#include "ControlFixture.h"
#include "qvControls/CustomControl.h"
#include "themes/StyleManager.h"

namespace {

// Paints the pattern; counts its Draw calls and those made for a child's background.
class TBackdrop : public TqvCustomControl {
  QV_CLASS(TBackdrop, TqvCustomControl)
  explicit TBackdrop(TComponent* AOwner) : TqvCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetTransparentBackground(false);
  }
  int Draws = 0;
  int BackgroundDraws = 0;

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState) override {
    ++Draws;
    if (FGetControlBG) ++BackgroundDraws;
    PaintPattern(ACanvas, Width(), Height());
  }
};

// Draws nothing of its own unless given an ink, which it fills itself with; counts what
// reaches it.
class TProbe : public TqvCustomControl {
  QV_CLASS(TProbe, TqvCustomControl)
  explicit TProbe(TComponent* AOwner) : TqvCustomControl(AOwner) {}
  using TqvCustomControl::DrawBackground;
  using TqvCustomControl::GetParentBG;
  using TqvCustomControl::SetTransparentBackground;
  using TqvCustomControl::TransparentBackground;
  TBitmap* Background() const { return ParentBGBuffer; }
  void SetDrawOnBackground(bool Value) { FDrawOnBackground = Value; }
  void AcceptControls() { SetControlStyle(ControlStyle() + csAcceptsControls); }

  TColor Ink = clNone;
  std::vector<TqvsCtrlState> States;
  int Updates = 0;  // WM_UPDATEPARENTBACKGROUND

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_UPDATEPARENTBACKGROUND) ++Updates;
    TqvCustomControl::Dispatch(Message);
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override {
    States.push_back(ACtrlState);
    if (Ink == clNone) return;
    ACanvas->Brush()->SetColor(Ink);
    ACanvas->FillRect({0, 0, Width(), Height()});
  }
};

// A graphic control that fills its rectangle and counts background notices.
class TSwatch : public TGraphicControl {
  QV_CLASS(TSwatch, TGraphicControl)
  explicit TSwatch(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor Fill = clRed;
  int Updates = 0;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_UPDATEPARENTBACKGROUND) ++Updates;
    TGraphicControl::Dispatch(Message);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect({0, 0, Width(), Height()});
  }
};

using CustomControlTest = ControlFixture;

TEST_F(CustomControlTest, ATransparentControlShowsItsParentsPixelsAndKeepsThemWhenMoved) {
  enum Way { kStored, kPainted, kStyled };
  for (Way way : {kStored, kPainted, kStyled}) {
    const bool store = way == kStored;
    SCOPED_TRACE(store ? "parent stores its paint buffer" : way == kPainted ? "parent paints" : "custom style");
    if (way == kStyled) TStyleManager::SetStyle("Glossy");
    auto* backdrop = Make<TBackdrop>(Host, {20, 10, 220, 160});
    backdrop->SetStorePaintBuffer(store);
    auto* probe = Make<TProbe>(backdrop, {30, 40, 80, 70});
    Run();
    EXPECT_EQ(PatternMismatch({50, 50, 100, 80}, {20, 10}), "");

    // A capture, then a move: with a stored image no repaint of the parent at all.
    const int draws = backdrop->Draws;
    probe->Repaint();
    probe->SetBounds(80, 60, 50, 30);
    // Before the loop runs: the move itself refreshed the background.
    EXPECT_EQ(PatternMismatch({100, 70, 150, 100}, {20, 10}), "");
    // (The style services' own way paints the parent as they see fit.)
    if (way != kStyled) {
      EXPECT_EQ(backdrop->Draws, store ? draws : draws + 2);
    }
    Run();
    EXPECT_EQ(PatternMismatch({20, 10, 220, 160}, {20, 10}), "") << "nothing of the probe shows anywhere";
    SaveScreenIfFailed(store ? "stored" : way == kPainted ? "painted" : "styled");
    delete backdrop;
    TStyleManager::SetStyle("Windows");
    Run();
  }
}

TEST_F(CustomControlTest, AControlWithoutAreaPaintsAndCapturesNothing) {
  const TRect sizes[] = {{0, 0, 0, 30}, {0, 0, 40, 0}};
  for (const TRect& size : sizes) {
    SCOPED_TRACE(std::to_string(size.Width()) + " x " + std::to_string(size.Height()));
    auto* backdrop = Make<TBackdrop>(Host, {20, 10, 220, 160});
    auto* probe = Make<TProbe>(backdrop, {30, 40, 30 + size.Width(), 40 + size.Height()});
    probe->Ink = clBlue;
    Run();
    EXPECT_TRUE(probe->States.empty());
    EXPECT_EQ(backdrop->BackgroundDraws, 0);
    EXPECT_EQ(probe->Background()->Width() * probe->Background()->Height(), 0);
    TestCanvas grab(50, 50, 0xFF00FF00u);
    probe->PaintTo(grab.DC(), 5, 5);
    EXPECT_EQ(grab.InkBounds(0xFF00FF00u), RECT{});
    probe->Repaint();
    probe->GetParentBG();
    EXPECT_TRUE(probe->States.empty());
    EXPECT_EQ(backdrop->BackgroundDraws, 0);
    delete backdrop;
  }
}

TEST_F(CustomControlTest, AnOpaqueControlDrawsNoBackgroundAndLetsItsCaptureGo) {
  auto* backdrop = Make<TBackdrop>(Host, {20, 10, 220, 160});
  auto* probe = Make<TProbe>(backdrop, {30, 40, 80, 70});
  Run();
  EXPECT_EQ(probe->Background()->Width(), 50);
  EXPECT_EQ(probe->Background()->Height(), 30);
  probe->SetTransparentBackground(false);
  TestCanvas sheet(60, 40, 0xFF00FF00u);
  TCanvas canvas;
  canvas.SetHandle(sheet.DC());
  probe->DrawBackground(&canvas);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(sheet.InkBounds(0xFF00FF00u), RECT{});
  probe->GetParentBG();
  EXPECT_EQ(probe->Background()->Width(), 0);
  EXPECT_EQ(probe->Background()->Height(), 0);
}

TEST_F(CustomControlTest, TheParentsGraphicChildrenUnderTheControlShowInItsBackground) {
  auto* backdrop = Make<TBackdrop>(Host, {20, 10, 220, 160});
  auto* under = Make<TSwatch>(backdrop, {40, 50, 60, 60});     // overlaps the probe's top-left
  auto* hidden = Make<TSwatch>(backdrop, {70, 60, 80, 70});    // under the probe, invisible
  auto* elsewhere = Make<TSwatch>(backdrop, {0, 0, 10, 10});   // not under the probe
  hidden->Fill = clBlue;
  hidden->Hide();
  elsewhere->Fill = clLime;
  auto* probe = Make<TProbe>(backdrop, {50, 55, 100, 85});
  Run();
  // The probe's rectangle on screen: (70, 65) to (120, 95); the red swatch covers its
  // part left of x = 80 and above y = 70.
  EXPECT_EQ(At(70, 65), COLORREF(clRed));
  EXPECT_EQ(At(79, 69), COLORREF(clRed));
  EXPECT_EQ(At(80, 69), PatternColor(60, 59));
  EXPECT_EQ(At(79, 70), PatternColor(59, 60));
  EXPECT_EQ(PatternMismatch({90, 70, 100, 80}, {20, 10}), "") << "the invisible one is left out";
  EXPECT_EQ(At(20, 10), COLORREF(clLime)) << "painted on screen by the parent as usual";
  EXPECT_EQ(under->ControlState().Contains(csPaintCopy), false);
  EXPECT_EQ(backdrop->ControlState().Contains(csPaintCopy), false);
  EXPECT_EQ(probe->States.size(), 1u);
  SaveScreenIfFailed("siblings");
}

TEST_F(CustomControlTest, WithoutAParentNothingIsPaintedBehindAControl) {
  TProbe orphan(nullptr);
  orphan.SetBounds(0, 0, 20, 20);
  TestCanvas sheet(20, 20, 0xFF00FF00u);
  TCanvas canvas;
  canvas.SetHandle(sheet.DC());
  DrawParentBackground(&orphan, &canvas);
  DrawParentBackground(nullptr, &canvas);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(sheet.InkBounds(0xFF00FF00u), RECT{});
}

TEST_F(CustomControlTest, AParentWithoutPaintingOfItsOwnKeepsWhatItHasToRepaint) {
  auto* probe = Make<TProbe>(Host, {30, 40, 80, 70});
  Run();
  const RECT pending{200, 200, 210, 210};
  InvalidateRect(Host->WindowHandle(), &pending, TRUE);
  probe->Repaint();  // captures the host's image
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(Host->WindowHandle(), &update, FALSE));
  EXPECT_EQ(update, pending);
}

TEST_F(CustomControlTest, MovingAContainerRefreshesItsTransparentSubtreeTopDown) {
  auto* backdrop = Make<TBackdrop>(Host, {10, 10, 310, 210});
  auto* box = Make<TProbe>(backdrop, {20, 20, 170, 120});
  box->AcceptControls();
  auto* a = Make<TProbe>(box, {10, 10, 70, 50});
  a->AcceptControls();
  auto* a1 = Make<TProbe>(a, {5, 5, 25, 25});
  auto* hidden = Make<TProbe>(box, {80, 10, 110, 40});
  auto* opaque = Make<TProbe>(box, {80, 50, 130, 90});
  opaque->AcceptControls();
  opaque->SetTransparentBackground(false);
  opaque->Ink = clNavy;
  auto* behindOpaque = Make<TProbe>(opaque, {5, 5, 15, 15});
  auto* graphic = Make<TSwatch>(box, {0, 0, 5, 5});
  auto* hiddenGraphic = Make<TSwatch>(box, {0, 90, 5, 95});
  Run();
  hidden->Hide();
  hiddenGraphic->Hide();
  Run();
  for (TProbe* p : {box, a, a1, hidden, opaque, behindOpaque}) p->Updates = 0;

  box->SetBounds(40, 50, 150, 100);
  struct Expect {
    const char* Name;
    int Updates;
    int Got;
  };
  const Expect expected[] = {
      {"a", 1, a->Updates},
      {"a1 (below a)", 1, a1->Updates},
      {"hidden", 0, hidden->Updates},
      {"opaque (told, passes nothing on)", 1, opaque->Updates},
      {"behind the opaque one", 0, behindOpaque->Updates},
      {"graphic", 1, graphic->Updates},
      {"hidden graphic", 0, hiddenGraphic->Updates},
  };
  for (const Expect& e : expected) EXPECT_EQ(e.Got, e.Updates) << e.Name;
  // a1 lies at (10,10) + (40,50) + (10,10) + (5,5) on screen: the backdrop's pattern from
  // (55, 65) shows through the three transparent layers, before anything else repaints.
  EXPECT_EQ(PatternMismatch({65, 75, 85, 95}, {10, 10}), "");
  SaveScreenIfFailed("cascade");
}

TEST_F(CustomControlTest, AStoringContainerRepaintsAndTellsItsChildrenWhenResized) {
  auto* backdrop = Make<TBackdrop>(Host, {10, 10, 310, 210});
  backdrop->SetStorePaintBuffer(true);
  auto* child = Make<TProbe>(backdrop, {10, 10, 60, 40});
  Run();
  const int draws = backdrop->Draws;
  child->Updates = 0;
  backdrop->SetBounds(10, 10, 280, 190);
  EXPECT_EQ(backdrop->Draws, draws + 1);
  EXPECT_EQ(child->Updates, 1);
}

TEST_F(CustomControlTest, RePaintControlReusesTheCapturedBackground) {
  auto* backdrop = Make<TBackdrop>(Host, {20, 10, 220, 160});
  auto* probe = Make<TProbe>(backdrop, {30, 40, 80, 70});
  Run();
  const size_t paints = probe->States.size();
  const int captures = backdrop->BackgroundDraws;
  probe->RePaintControl();
  EXPECT_EQ(probe->States.size(), paints + 1) << "painted at once";
  EXPECT_EQ(backdrop->BackgroundDraws, captures) << "with the cached background";
  probe->Repaint();
  EXPECT_EQ(probe->States.size(), paints + 2);
  EXPECT_EQ(backdrop->BackgroundDraws, captures + 1) << "a plain repaint captures again";
  EXPECT_EQ(PatternMismatch({50, 50, 100, 80}, {20, 10}), "");
}

TEST_F(CustomControlTest, EnablingAndStyleChangesRepaintAtOnceInTheNewState) {
  auto* probe = Make<TProbe>(Host, {30, 40, 80, 70});
  Run();
  probe->States.clear();
  probe->SetEnabled(false);
  EXPECT_EQ(probe->States, std::vector<TqvsCtrlState>{qvsDisabled});
  probe->SetStyleElements({seFont});
  EXPECT_EQ(probe->States, (std::vector<TqvsCtrlState>{qvsDisabled, qvsDisabled}));
  probe->SetEnabled(true);
  EXPECT_EQ(probe->States.back(), qvsNormal);
}

TEST_F(CustomControlTest, AnEraseFromOutsidePaintsTheWholeControlOnlyWhenAllowed) {
  auto* box = Make<TProbe>(Host, {30, 40, 130, 110});
  box->AcceptControls();
  box->Ink = clNavy;
  auto* child = Make<TProbe>(box, {10, 10, 40, 30});
  child->Ink = clMaroon;
  Run();
  TestCanvas sheet(100, 70, 0xFF00FF00u);
  auto erase = [&](TProbe* target) {
    sheet.Fill(0xFF00FF00u);
    return SendMessage(target->WindowHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(sheet.DC()), 0);
  };
  EXPECT_EQ(erase(box), 1);
  EXPECT_EQ(sheet.InkBounds(0xFF00FF00u), (RECT{0, 0, 100, 70})) << "the finished image, as a child asks for it";
  EXPECT_EQ(sheet.Color(50, 50), COLORREF(clNavy));

  // While the bounds change, neither the control nor its direct children paint in an erase.
  bool erasedInResize = true;
  box->OnResize = [&](TObject*) {
    erase(box);
    bool painted = sheet.InkBounds(0xFF00FF00u) != RECT{};
    erase(child);
    painted = painted || sheet.InkBounds(0xFF00FF00u) != RECT{};
    erasedInResize = painted;
  };
  box->SetBounds(30, 40, 120, 80);
  EXPECT_FALSE(erasedInResize);
  box->OnResize = nullptr;
  erase(child);
  EXPECT_EQ(sheet.Color(5, 5), COLORREF(clMaroon)) << "afterwards the child paints again";

  box->SetDrawOnBackground(false);
  EXPECT_EQ(erase(box), 1) << "reported as erased";
  EXPECT_EQ(sheet.InkBounds(0xFF00FF00u), RECT{});
}

TEST_F(CustomControlTest, ScalingKeepsAPercentAndAFactorOfAtLeastOne) {
  auto* probe = Make<TProbe>(Host, {0, 0, 100, 40});
  int calls = 0;
  probe->OnChangeScale = [&](TObject* Sender) {
    EXPECT_EQ(Sender, probe);
    ++calls;
  };
  const struct {
    int M, D;
    double Factor;
    int Calls;
  } steps[] = {
      {150, 100, 1.5, 1},  // 150 %
      {100, 150, 1.0, 2},  // back to 100 %
      {50, 100, 1.0, 2},   // 50 %: the factor stays at 1.0, nothing to tell
      {200, 100, 1.0, 2},  // 100 %
      {300, 100, 3.0, 3},  // 300 %
      {0, 100, 3.0, 3},    // refused
      {100, 0, 3.0, 3},    // refused
  };
  for (const auto& s : steps) {
    probe->ScaleBy(s.M, s.D);
    EXPECT_DOUBLE_EQ(probe->ScaleFactor(), s.Factor) << s.M << "/" << s.D;
    EXPECT_EQ(calls, s.Calls) << s.M << "/" << s.D;
  }
}

}  // namespace
