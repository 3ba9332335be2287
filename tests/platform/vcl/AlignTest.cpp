// Placement of children: alignment with margins, padding and border; anchors across
// parent resizes; size constraints on every resize.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend/Headless.h"
#include "vcl/Controls.h"
#include "win/Queue.h"

namespace {

class AlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "AlignTestTop";
    ASSERT_NE(RegisterClass(&wc), 0);
    Top = CreateWindowEx(0, "AlignTestTop", "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr, nullptr,
                         nullptr);
    Host = new TWinControl(nullptr);
    Host->SetControlStyle(Host->ControlStyle() + csAcceptsControls);
    Host->SetBounds(0, 0, 500, 400);
    Host->SetParentWindow(Top);
  }
  void TearDown() override {
    delete Host;
    ResetWindowSystem();
  }

  // A 200 x 100 container in the host, with a window.
  TWinControl* Container() {
    auto* panel = new TWinControl(nullptr);
    panel->SetControlStyle(panel->ControlStyle() + csAcceptsControls);
    panel->SetBounds(0, 0, 200, 100);
    panel->SetParent(Host);
    return panel;
  }
  // Windowed and graphic children take different roads; tables use both.
  static TControl* Child(bool Windowed, const char* Name, TRect Bounds) {
    TControl* c = Windowed ? static_cast<TControl*>(new TWinControl(nullptr)) : new TGraphicControl(nullptr);
    c->SetName(Name);
    c->SetBoundsRect(Bounds);
    return c;
  }
  // Where a windowed child's window lies in its parent, or its bounds for a graphic one.
  static TRect Placed(TControl* c) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (WindowObject* window = LiveWindow(w->WindowHandle())) return window->Window;
    return c->BoundsRect();
  }

  HWND Top = nullptr;
  TWinControl* Host = nullptr;
};

struct AlignedChild {
  const char* Name;
  TAlign Align;
  TRect Bounds;
  TRect Expected;
  int Margin = -1;  // AlignWithMargins with this margin on every side
  int MinHeight = 0;
  int MaxWidth = 0;
  bool Visible = true;
};

struct AlignCase {
  const char* Name;
  int Padding;
  int BorderWidth;
  std::vector<AlignedChild> Children;
};

TEST_F(AlignTest, ChildrenTakeTheirPlacesByKindAndPosition) {
  const AlignCase cases[] = {
      {"five kinds",
       0,
       0,
       {
           {"T", alTop, {0, 0, 50, 20}, {0, 0, 200, 20}},
           {"B", alBottom, {0, 0, 50, 10}, {0, 90, 200, 100}},
           {"L", alLeft, {0, 0, 30, 50}, {0, 20, 30, 90}},
           {"R", alRight, {0, 0, 40, 50}, {160, 20, 200, 90}},
           {"C", alClient, {0, 0, 10, 10}, {30, 20, 160, 90}},
       }},
      {"padding and border",
       5,
       2,
       {
           {"T", alTop, {0, 0, 50, 20}, {7, 7, 193, 27}},
           {"C", alClient, {0, 0, 10, 10}, {7, 27, 193, 93}},
       }},
      {"margins",
       0,
       0,
       {
           {"T", alTop, {0, 0, 50, 20}, {3, 3, 197, 23}, 3},
           {"L", alLeft, {0, 0, 30, 50}, {3, 29, 33, 97}, 3},
           {"C", alClient, {0, 0, 10, 10}, {36, 26, 200, 100}},
       }},
      {"one kind in the order of position",
       0,
       0,
       {
           {"X", alTop, {0, 50, 50, 60}, {0, 20, 200, 30}},
           {"Y", alTop, {0, 0, 50, 20}, {0, 0, 200, 20}},
           // P already sits at the right edge when Q comes: Q goes to its left.
           {"P", alRight, {0, 0, 10, 50}, {190, 30, 200, 100}},
           {"Q", alRight, {100, 0, 120, 50}, {170, 30, 190, 100}},
       }},
      {"constraints",
       0,
       0,
       {
           {"T", alTop, {0, 0, 50, 10}, {0, 0, 200, 30}, -1, 30},
           {"C", alClient, {0, 0, 10, 10}, {0, 30, 50, 100}, -1, 0, 50},
       }},
      {"hidden controls take no room",
       0,
       0,
       {
           {"T", alTop, {0, 0, 50, 20}, {0, 0, 50, 20}, -1, 0, 0, false},
           {"C", alClient, {0, 0, 10, 10}, {0, 0, 200, 100}},
       }},
  };
  for (const AlignCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TWinControl* panel = Container();
    panel->Padding()->SetBounds(k.Padding, k.Padding, k.Padding, k.Padding);
    panel->SetBorderWidth(k.BorderWidth);
    std::vector<TControl*> children;
    for (size_t i = 0; i < k.Children.size(); ++i) {
      const AlignedChild& a = k.Children[i];
      TControl* c = Child(i % 2 == 1, a.Name, a.Bounds);
      if (a.Margin >= 0) {
        c->SetAlignWithMargins(true);
        c->Margins()->SetBounds(a.Margin, a.Margin, a.Margin, a.Margin);
      }
      c->Constraints()->SetMinHeight(a.MinHeight);
      c->Constraints()->SetMaxWidth(a.MaxWidth);
      c->SetVisible(a.Visible);
      c->SetAlign(a.Align);
      c->SetParent(panel);
      children.push_back(c);
    }
    for (size_t i = 0; i < children.size(); ++i) {
      SCOPED_TRACE(k.Children[i].Name);
      EXPECT_EQ(children[i]->BoundsRect(), k.Children[i].Expected);
      EXPECT_EQ(Placed(children[i]), k.Children[i].Expected);
    }
    delete panel;
  }
}

TEST_F(AlignTest, AParentResizeRealignsAndAlignmentCanBeHeldBack) {
  TWinControl* panel = Container();
  TControl* top = Child(true, "T", {0, 0, 50, 20});
  top->SetAlign(alTop);
  top->SetParent(panel);
  TControl* rest = Child(false, "C", {0, 0, 10, 10});
  rest->SetAlign(alClient);
  rest->SetParent(panel);
  panel->SetBounds(0, 0, 300, 150);
  EXPECT_EQ(Placed(top), (TRect{0, 0, 300, 20}));
  EXPECT_EQ(rest->BoundsRect(), (TRect{0, 20, 300, 150}));

  // A resize by the window system (as a user's drag) realigns too.
  SetWindowPos(panel->WindowHandle(), nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(panel->Width(), 250);
  EXPECT_EQ(rest->BoundsRect(), (TRect{0, 20, 250, 120}));

  panel->DisableAlign();
  top->SetHeight(40);
  EXPECT_EQ(rest->BoundsRect(), (TRect{0, 20, 250, 120}));
  panel->EnableAlign();
  EXPECT_EQ(rest->BoundsRect(), (TRect{0, 40, 250, 120}));

  // Back to no alignment: the bounds last set by hand come back.
  top->SetAlign(alNone);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 250, 40}));
  EXPECT_EQ(rest->BoundsRect(), (TRect{0, 0, 250, 120}));
  // Alignment itself is no placement by hand.
  TControl* side = Child(false, "S", {10, 10, 40, 30});
  side->SetAlign(alLeft);
  side->SetParent(panel);
  EXPECT_EQ(side->BoundsRect(), (TRect{0, 0, 30, 120}));
  side->SetAlign(alNone);
  EXPECT_EQ(side->BoundsRect(), (TRect{10, 10, 40, 30}));
}

TEST_F(AlignTest, AnchorsKeepTheirDistancesWhenTheParentResizes) {
  struct Case {
    const char* Name;
    TAnchors Anchors;
    TRect Expected;  // after the parent went from 200 x 100 to 300 x 150
  };
  const Case cases[] = {
      {"left top", {akLeft, akTop}, {50, 20, 90, 50}},
      {"right", {akRight, akTop}, {150, 20, 190, 50}},
      {"left and right", {akLeft, akRight, akTop}, {50, 20, 190, 50}},
      {"none: the centre", {}, {85, 38, 125, 68}},
      {"top and bottom", {akLeft, akTop, akBottom}, {50, 20, 90, 100}},
      {"bottom", {akLeft, akBottom}, {50, 70, 90, 100}},
      {"right and bottom", {akRight, akBottom}, {150, 70, 190, 100}},
  };
  int n = 0;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    TWinControl* panel = Container();
    TControl* c = Child(n++ % 2 == 1, "A", {50, 20, 90, 50});
    c->SetParent(panel);
    c->SetAnchors(k.Anchors);
    panel->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(c->BoundsRect(), k.Expected);
    EXPECT_EQ(Placed(c), k.Expected);
    // The distances are those of the place set by hand, so going back restores it.
    panel->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(c->BoundsRect(), (TRect{50, 20, 90, 50}));
    delete panel;
  }
}

TEST_F(AlignTest, AnchorRulesComeFromTheLastPlacementByHand) {
  TWinControl* panel = Container();
  TControl* c = Child(true, "A", {50, 20, 90, 50});
  c->SetParent(panel);
  c->SetAnchors({akRight, akTop});
  panel->SetWidth(300);
  EXPECT_EQ(c->Left(), 150);
  c->SetLeft(100);  // now 160 from the right edge
  panel->SetWidth(200);
  EXPECT_EQ(c->Left(), 0);
  panel->SetWidth(300);
  EXPECT_EQ(c->Left(), 100);
  // Anchors set later take the distances of that moment.
  c->SetAnchors({akLeft, akTop, akRight});
  panel->SetWidth(400);
  EXPECT_EQ(c->BoundsRect(), (TRect{100, 20, 240, 50}));
}

TEST_F(AlignTest, ConstraintsHoldOnEveryResize) {
  for (bool windowed : {false, true}) {
    SCOPED_TRACE(windowed ? "windowed" : "graphic");
    TWinControl* panel = Container();
    TControl* c = Child(windowed, "A", {10, 10, 110, 60});
    c->SetParent(panel);
    // New constraints apply at once.
    c->Constraints()->SetMaxWidth(80);
    c->Constraints()->SetMinHeight(40);
    EXPECT_EQ(Placed(c), (TRect{10, 10, 90, 60}));
    c->SetBounds(0, 0, 500, 5);
    EXPECT_EQ(Placed(c), (TRect{0, 0, 80, 40}));
    c->Constraints()->SetMinWidth(100);  // a minimum above the maximum moves it
    EXPECT_EQ(c->Constraints()->MaxWidth(), 100);
    EXPECT_EQ(c->Width(), 100);
    // OnCanResize may change the size or refuse it.
    c->OnCanResize = [](TObject*, int& w, int&, bool& resize) {
      if (w == 123)
        resize = false;
      else
        w = 100;
    };
    c->SetBounds(5, 5, 123, 45);
    EXPECT_EQ(Placed(c), (TRect{0, 0, 100, 40}));
    c->SetBounds(5, 5, 150, 45);
    EXPECT_EQ(Placed(c), (TRect{5, 5, 105, 50}));
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      // The window system's own resizes meet the same limits.
      SetWindowPos(w->WindowHandle(), nullptr, 0, 0, 300, 10, SWP_NOMOVE | SWP_NOZORDER);
      EXPECT_EQ(Placed(c), (TRect{5, 5, 105, 45}));
    }
    delete panel;
  }
}

TEST_F(AlignTest, ConstraintValuesStayConsistent) {
  TGraphicControl c(nullptr);
  TSizeConstraints* k = c.Constraints();
  k->SetMaxHeight(50);
  k->SetMinHeight(70);
  EXPECT_EQ(k->MaxHeight(), 70);
  k->SetMaxHeight(20);
  EXPECT_EQ(k->MinHeight(), 20);
  k->SetMinWidth(-5);
  EXPECT_EQ(k->MinWidth(), 0);
  int changes = 0;
  k->OnChange = [&](TObject*) { ++changes; };
  k->SetMaxWidth(10);
  k->SetMaxWidth(10);
  EXPECT_EQ(changes, 1);
}

}  // namespace
