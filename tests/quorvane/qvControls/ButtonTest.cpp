// TqvButton: the image per state, what each kind draws, the content rectangle (insets,
// scale, glow, title, image column), the link's underline, the skins of both custom-image
// kinds, ShowCaption and its widths, default and cancel buttons on a form, and modal
// results.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ButtonFixture.h"
#include "qvDrawUtils/Elements.h"
#include "qvImageCollection/ImageCollection.h"
#include "themes/StyleServices.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

namespace {

class TDrawProbe : public TqvButton {
  QV_CLASS(TDrawProbe, TqvButton)
  explicit TDrawProbe(TComponent* AOwner) : TqvButton(AOwner) {}
  using TqvButton::Draw;
};

// The style elements drawn while it lives.
class TElementCount {
 public:
  TElementCount()
      : FPrevious(SetDrawElementObserver([this](const TThemedElementDetails&, const RECT&) { ++Count; })) {}
  ~TElementCount() { SetDrawElementObserver(std::move(FPrevious)); }
  TElementCount(const TElementCount&) = delete;
  TElementCount& operator=(const TElementCount&) = delete;
  int Count = 0;

 private:
  TDrawElementObserver FPrevious;
};

// Draws Button in State onto a fresh white canvas of its size.
struct Drawn {
  Drawn(TDrawProbe* Button, TqvsCtrlState State) : Pixels(Button->Width(), Button->Height()) {
    Canvas.SetHandle(Pixels.DC());
    Button->Draw(&Canvas, State);
    Canvas.SetHandle(nullptr);
  }
  TestCanvas Pixels;
  TCanvas Canvas;
};

// The first pixel where A and B differ, as "x,y"; empty when none does.
std::string FirstDifference(const TestCanvas& A, const TestCanvas& B) {
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

// A list of Count solid images of W x H, image i in Colors[i].
TImageList* SolidImages(int W, int H, const std::vector<TColor>& Colors) {
  auto* list = new TImageList(nullptr, W, H);
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(W * int(Colors.size()), H);
  for (size_t i = 0; i < Colors.size(); ++i) {
    picture.Canvas()->Brush()->SetColor(Colors[i]);
    picture.Canvas()->FillRect({int(i) * W, 0, int(i + 1) * W, H});
  }
  list->Add(&picture, nullptr);
  return list;
}

class ButtonTest : public ButtonFixture {
 protected:
  TDrawProbe* Probe(int W = 100, int H = 35) {
    auto* b = Make<TDrawProbe>(Host, {10, 10, 10 + W, 10 + H});
    b->SetCaption("Button");
    return b;
  }
};

TEST_F(ButtonTest, TheImageOfEachState) {
  struct Row {
    int hot, pressed, focused;
    TqvsCtrlState state;
    int expected;
  };
  const Row rows[] = {
      {-1, -1, -1, qvsNormal, 0},  {3, -1, -1, qvsNormal, 0},   {3, -1, -1, qvsHot, 3},
      {3, -1, -1, qvsPressed, 3},  {3, 4, -1, qvsPressed, 4},   {-1, -1, -1, qvsPressed, 0},
      {3, -1, -1, qvsFocused, 3},  {3, -1, 5, qvsFocused, 5},   {-1, -1, 5, qvsHot, 0},
      {3, 4, 5, qvsDisabled, 0},
  };
  TqvButton* b = NewButton(10, 10);
  b->SetImageIndex(0);
  for (const Row& r : rows) {
    b->SetHotImageIndex(r.hot);
    b->SetPressedImageIndex(r.pressed);
    b->SetFocusedImageIndex(r.focused);
    EXPECT_EQ(b->ImageIndexForState(r.state), r.expected)
        << r.hot << "/" << r.pressed << "/" << r.focused << " in state " << r.state;
  }
  // Skins have no fallback: a state without its own shows none.
  b->SetCustomImageNormalIndex(1);
  b->SetCustomImagePressedIndex(2);
  EXPECT_EQ(b->CustomImageIndexForState(qvsPressed), 2);
  EXPECT_EQ(b->CustomImageIndexForState(qvsHot), -1);
}

TEST_F(ButtonTest, ArrowKindsDrawTheirElementAlone) {
  struct Kind {
    TqvButtonStyleKind kind;
    std::function<void(TCanvas*, const TRect&, TqvsCtrlState)> element;
  };
  const Kind kinds[] = {
      {qvbsUpSpinButton, DrawUpButton},
      {qvbsDownSpinButton, DrawDownButton},
      {qvbsLeftSpinButton, DrawLeftButton},
      {qvbsRightSpinButton, DrawRightButton},
      {qvbsDropDownButton, [](TCanvas* c, const TRect& r, TqvsCtrlState s) { DrawComboButton(c, r, s, false, false); }},
  };
  TDrawProbe* b = Probe();
  b->SetTitle("Title");
  b->SetCustomDropDown(true);
  b->SetSplitButton(true);
  int content = 0;
  b->OnPaintContent = [&](TCanvas*, const TRect&, TqvsCtrlState) { ++content; };
  for (const Kind& k : kinds) {
    b->SetStyleKind(k.kind);
    for (TqvsCtrlState s : {qvsNormal, qvsHot, qvsPressed, qvsDisabled}) {
      // The same pixels as the element alone on the same ground.
      TestCanvas alone(b->Width(), b->Height());
      TCanvas c;
      c.SetHandle(alone.DC());
      k.element(&c, {0, 0, b->Width(), b->Height()}, s);
      c.SetHandle(nullptr);
      Drawn d(b, s);
      EXPECT_EQ(FirstDifference(d.Pixels, alone), "") << "kind " << k.kind << " state " << s;
    }
  }
  EXPECT_EQ(content, 0) << "no caption, image or title";
  // A push button, by contrast, has content.
  b->SetStyleKind(qvbsPushButton);
  const int before = content;
  Drawn d(b, qvsNormal);
  EXPECT_EQ(content, before + 1);
}

TEST_F(ButtonTest, ALinkHasNoFaceAndUnderlinesWhileActive) {
  TDrawProbe* b = Probe();
  b->SetStyleKind(qvbsLink);
  bool underlined = false;
  b->OnPaintContent = [&](TCanvas* c, const TRect&, TqvsCtrlState) { underlined = c->Font()->Style().Contains(fsUnderline); };
  struct Row {
    TqvsCtrlState state;
    bool underline;
  };
  for (const Row r : {Row{qvsNormal, false}, Row{qvsHot, true}, Row{qvsPressed, true}, Row{qvsFocused, true},
                      Row{qvsDisabled, false}}) {
    TElementCount elements;
    Drawn d(b, r.state);
    EXPECT_EQ(elements.Count, 0) << r.state;
    EXPECT_EQ(underlined, r.underline) << r.state;
  }
  EXPECT_FALSE(b->Font()->Style().Contains(fsUnderline)) << "the button's own font stays";
}

TEST_F(ButtonTest, TheContentRectangle) {
  struct Row {
    const char* name;
    int scalePercent;
    bool glow;
    int inset;
  };
  const Row rows[] = {
      {"100 %", 100, false, 3},
      {"150 %", 150, false, 5},
      {"100 % with glow 7", 100, true, 6},
      {"150 % with glow 7", 150, true, 8},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TDrawProbe* b = Probe();
    if (r.scalePercent != 100) b->ChangeScale(r.scalePercent, 100);
    b->GlowEffect()->SetEnabled(r.glow);
    TRect content{};
    b->OnPaintContent = [&](TCanvas*, const TRect& R, TqvsCtrlState) { content = R; };
    Drawn d(b, qvsNormal);
    EXPECT_EQ(content, TRect(r.inset, r.inset, b->Width() - r.inset, b->Height() - r.inset));
    delete b;
  }
}

TEST_F(ButtonTest, ATitleLineTakesItsHeightFromTheTop) {
  TDrawProbe* b = Probe(120, 60);
  b->SetStyleKind(qvbsTransparent);
  b->SetTitle("Title");
  b->TitleFont()->SetHeight(-20);
  TRect content{};
  b->OnPaintContent = [&](TCanvas*, const TRect& R, TqvsCtrlState) { content = R; };
  Drawn d(b, qvsNormal);
  TBitmap measure;
  measure.Canvas()->Font()->Assign(b->TitleFont());
  EXPECT_EQ(content.Top, 3 + measure.Canvas()->TextHeight("Wq"));
  EXPECT_TRUE(b->TitleFont()->Style().Contains(fsBold));
  // Ink of the title lies in its line, 5 pixels in from the left.
  const RECT ink = d.Pixels.InkBounds(d.Pixels.Pixel(60, 59));
  EXPECT_GE(ink.Left, 5);
  EXPECT_GE(ink.Top, 5);
}

TEST_F(ButtonTest, ImageMarginCentresTheImageInItsColumn) {
  TDrawProbe* b = Probe(200, 40);
  b->SetCaption("");
  std::unique_ptr<TImageList> images(SolidImages(32, 32, {clRed}));
  b->SetImages(images.get());
  b->SetImageIndex(0);
  b->SetImageMargin(40);
  b->SetStyleKind(qvbsTransparent);
  Drawn d(b, qvsNormal);
  const RECT red = [&] {
    RECT box{200, 40, 0, 0};
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 200; ++x)
        if (d.Pixels.Color(x, y) == RGB(255, 0, 0))
          box = {std::min(box.Left, LONG(x)), std::min(box.Top, LONG(y)), std::max(box.Right, LONG(x + 1)),
                 std::max(box.Bottom, LONG(y + 1))};
    return box;
  }();
  // 40 / 2 - 32 / 2 - 3 = 1 from the content's left (3): the image spans 4 .. 36, centred on 20.
  EXPECT_EQ(red.Left, 4);
  EXPECT_EQ(red.Right, 36);
  b->SetImageMargin(-5);
  EXPECT_EQ(b->ImageMargin(), 40) << "negative values are refused";
  b->SetImages(nullptr);
}

TEST_F(ButtonTest, TheColourButtonDrawsFromItsOptions) {
  TDrawProbe* b = Probe();
  b->SetStyleKind(qvbsColorButton);
  TqvButtonColorOptions* o = b->ColorOptions();
  o->SetStyleColors(false);
  o->SetNormalColor(clRed);
  o->SetHotColor(clLime);
  o->SetFrameNormalColor(clBlue);
  o->SetFrameHotColor(clBlue);
  o->SetFrameWidth(2);
  b->SetCaption("");
  struct Row {
    TqvsCtrlState state;
    COLORREF fill;
  };
  for (const Row r : {Row{qvsNormal, RGB(255, 0, 0)}, Row{qvsHot, RGB(0, 255, 0)}}) {
    Drawn d(b, r.state);
    EXPECT_EQ(d.Pixels.Color(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(d.Pixels.Color(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(d.Pixels.Color(99, 34), RGB(0, 0, 255));
    EXPECT_EQ(d.Pixels.Color(2, 2), r.fill);
    EXPECT_EQ(d.Pixels.Color(50, 17), r.fill);
    if (HasFailure()) d.Pixels.Save("colour");
  }
}

TEST_F(ButtonTest, SkinsUnderAndOverTheContent) {
  auto* skins = new TqvImageCollection(nullptr);
  for (TColor c : {clBlue, clYellow}) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(8, 8);
    picture.Canvas()->Brush()->SetColor(c);
    picture.Canvas()->FillRect({0, 0, 8, 8});
    skins->Images()->Add()->SetBitmap(&picture);
  }
  TDrawProbe* b = Probe();
  b->SetCustomImages(skins);
  b->SetCustomImageNormalIndex(0);
  b->SetCustomImageHotIndex(1);
  // The content paints a green square in the middle.
  b->OnPaintContent = [](TCanvas* c, const TRect&, TqvsCtrlState) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clLime);
    c->FillRect({40, 10, 60, 25});
  };
  struct Row {
    TqvButtonStyleKind kind;
    TqvsCtrlState state;
    COLORREF corner, middle;
  };
  const COLORREF blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0), green = RGB(0, 255, 0), white = RGB(255, 255, 255);
  const Row rows[] = {
      {qvbsCustomImage, qvsNormal, blue, green},
      {qvbsCustomImage, qvsHot, yellow, green},
      {qvbsCustomImage, qvsPressed, white, green},  // no pressed skin: nothing under
      {qvbsCustomImageOverContent, qvsNormal, blue, blue},
      {qvbsCustomImageOverContent, qvsPressed, white, green},
  };
  for (const Row& r : rows) {
    b->SetStyleKind(r.kind);
    Drawn d(b, r.state);
    EXPECT_EQ(d.Pixels.Color(2, 2), r.corner) << r.kind << " " << r.state;
    EXPECT_EQ(d.Pixels.Color(50, 17), r.middle) << r.kind << " " << r.state;
  }
  delete skins;
  EXPECT_EQ(b->CustomImages(), nullptr) << "a freed collection is forgotten";
  Drawn after(b, qvsNormal);
}

TEST_F(ButtonTest, ShowCaptionAppliesItsWidthsAndAlwaysRepaints) {
  struct Row {
    const char* name;
    int withCaption, withoutCaption;
    int widthWithout, widthWith;  // after ShowCaption false, then true
  };
  const Row rows[] = {
      {"both widths", 120, 40, 40, 120},
      {"only without", 0, 40, 40, 40},
      {"neither: repaint only", 0, 0, 100, 100},
      {"the width it has already", 100, 100, 100, 100},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TqvButton* b = NewButton(10, 10);
    Run();
    b->SetWidthWithCaption(r.withCaption);
    b->SetWidthWithoutCaption(r.withoutCaption);
    int paints = 0;
    b->OnPaintContent = [&](TCanvas*, const TRect&, TqvsCtrlState) { ++paints; };
    b->SetShowCaption(false);
    Run();
    EXPECT_EQ(b->Width(), r.widthWithout);
    EXPECT_GE(paints, 1) << "painted without its caption";
    paints = 0;
    b->SetShowCaption(true);
    Run();
    EXPECT_EQ(b->Width(), r.widthWith);
    EXPECT_GE(paints, 1);
    delete b;
  }
}

TEST_F(ButtonTest, ScalingTakesTheButtonsOwnSizesAlong) {
  TqvButton* b = NewButton(10, 10);
  b->SetImageMargin(40);
  b->SetWidthWithCaption(120);
  b->SetWidthWithoutCaption(40);
  b->SetMargin(4);
  b->SetSpacing(6);
  b->TitleFont()->SetHeight(-12);
  TqvButton* scaled = NewButton(10, 60);
  scaled->SetMargin(4);
  scaled->SetSpacing(6);
  scaled->SetScaleMarginAndSpacing(true);
  for (TqvButton* x : {b, scaled}) x->ChangeScale(3, 2);
  EXPECT_EQ(b->Width(), 150);
  EXPECT_EQ(b->SplitWidth(), 29) << "19 * 1.5, halves away from zero";
  EXPECT_EQ(b->ImageMargin(), 60);
  EXPECT_EQ(b->WidthWithCaption(), 180);
  EXPECT_EQ(b->WidthWithoutCaption(), 60);
  EXPECT_EQ(b->TitleFont()->Height(), -18);
  EXPECT_EQ(b->Margin(), 4) << "only with ScaleMarginAndSpacing";
  EXPECT_EQ(b->Spacing(), 6);
  EXPECT_EQ(scaled->Margin(), 6);
  EXPECT_EQ(scaled->Spacing(), 9);
}

TEST_F(ButtonTest, TheStripOfADropDownOpenedFromTheArrowShowsPressed) {
  // A colour button shows it plainly: the strip takes the pressed colour, the body keeps
  // its own, and the split line runs down the strip's left edge.
  class TOpenProbe : public TDrawProbe {
   public:
    using TDrawProbe::TDrawProbe;
    void OpenFromArrow(bool Open) { FMenuDroppedDown = Open; }
  };
  auto* b = Make<TOpenProbe>(Host, {10, 10, 110, 45});
  b->SetStyleKind(qvbsColorButton);
  b->SetCustomDropDown(true);
  b->SetSplitButton(true);
  b->SetShowMenuArrow(false);
  TqvButtonColorOptions* o = b->ColorOptions();
  o->SetStyleColors(false);
  o->SetFrameWidth(0);
  o->SetNormalColor(clRed);
  o->SetHotColor(clRed);
  o->SetPressedColor(clBlue);
  o->SetFrameNormalColor(clNone);
  o->SetFrameHotColor(clNone);
  b->SetCaption("");
  for (bool open : {false, true}) {
    b->OpenFromArrow(open);
    Drawn d(b, open ? qvsHot : qvsNormal);
    const COLORREF strip = open ? RGB(0, 0, 255) : RGB(255, 0, 0);
    EXPECT_EQ(d.Pixels.Color(95, 5), strip) << open;
    EXPECT_EQ(d.Pixels.Color(40, 17), RGB(255, 0, 0)) << open;
    // The line between body and strip, in the pressed colour as the frame colour is clNone.
    EXPECT_EQ(d.Pixels.Color(81, 17), RGB(0, 0, 255)) << open;
    EXPECT_EQ(d.Pixels.Color(80, 17), RGB(255, 0, 0)) << open;
  }
}

// ---- on a form: default, cancel, modal results ----

class ButtonFormTest : public ButtonFixture {
 protected:
  void SetUp() override {
    ButtonFixture::SetUp();
    Form = NewForm<TForm>(Application);
    Form->SetBounds(0, 0, 400, 300);
    Field = new TWinControl(Form);
    Field->SetParent(Form);
    Field->SetBounds(10, 10, 80, 20);
    Field->SetTabStop(true);
    Ok = FormButton(1, 40);
    Other = FormButton(2, 80);
    Esc = FormButton(3, 120);
    Ok->SetDefault(true);
    Esc->SetCancel(true);
    Form->Show();
    Run();
  }
  TqvButton* FormButton(int Tag, int Top) {
    auto* b = new TqvButton(Form);
    b->SetParent(Form);
    b->SetBounds(10, Top, 100, 30);
    b->OnClick = [this, Tag](TObject*) { Clicks.push_back(Tag); };
    return b;
  }
  void FormKey(UINT Vk, bool Down, uint32_t Modifiers = 0) {
    Headless()->Inject({.Kind = Down ? InputKind::KeyDown : InputKind::KeyUp, .Window = Form->Handle()->Native,
                        .Key = Vk, .Modifiers = Modifiers});
    Run();
  }
  void FormType(UINT Vk, uint32_t Modifiers = 0) {
    FormKey(Vk, true, Modifiers);
    FormKey(Vk, false, Modifiers);
  }
  void Focus(TWinControl* C) {
    C->SetFocus();
    Run();
  }

  TForm* Form = nullptr;
  TWinControl* Field = nullptr;
  TqvButton *Ok = nullptr, *Other = nullptr, *Esc = nullptr;
};

TEST_F(ButtonFormTest, TheDefaultButtonFollowsTheFocus) {
  Focus(Field);
  EXPECT_TRUE(Ok->Active());
  EXPECT_EQ(Ok->GetCtrlState(), qvsHot) << "the default button looks hot";
  FormType(VK_RETURN);
  EXPECT_EQ(Clicks, std::vector<int>{1});

  Clicks.clear();
  Focus(Other);
  EXPECT_FALSE(Ok->Active());
  EXPECT_EQ(Ok->GetCtrlState(), qvsNormal);
  FormType(VK_RETURN);
  EXPECT_EQ(Clicks, std::vector<int>{2}) << "Enter clicks the focused button instead";

  Clicks.clear();
  Focus(Ok);
  EXPECT_TRUE(Ok->Active());
  FormType(VK_RETURN);
  EXPECT_EQ(Clicks, std::vector<int>{1}) << "once";

  Clicks.clear();
  Focus(Field);
  Ok->SetEnabled(false);
  FormType(VK_RETURN);
  EXPECT_TRUE(Clicks.empty()) << "a disabled default button";
}

TEST_F(ButtonFormTest, EscapeClicksTheCancelButtonWithoutShift) {
  Focus(Field);
  FormType(VK_ESCAPE);
  EXPECT_EQ(Clicks, std::vector<int>{3});
  Clicks.clear();
  for (uint32_t held : {kModShift, kModCtrl, kModAlt}) {
    FormType(VK_ESCAPE, held);
    EXPECT_TRUE(Clicks.empty()) << "modifiers " << held;
  }
  FormType(VK_ESCAPE);
  EXPECT_EQ(Clicks, std::vector<int>{3});
}

TEST_F(ButtonFormTest, AModalSettingGivesTheFormItsResult) {
  Ok->SetModalSetting(true);
  Ok->SetModalResult(mrOk);
  Other->SetModalResult(mrCancel);  // without ModalSetting: nothing
  Focus(Other);
  FormType(VK_SPACE);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Focus(Field);
  FormType(VK_RETURN);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Clicks, (std::vector<int>{2, 1}));
  Ok->SetDisableClick(true);
  Form->SetModalResult(mrNone);
  FormType(VK_RETURN);
  EXPECT_EQ(Form->ModalResult(), mrNone) << "DisableClick sets no result either";
}

}  // namespace
