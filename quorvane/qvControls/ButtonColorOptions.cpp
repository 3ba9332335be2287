#include "qvControls/ButtonColorOptions.h"

#include "qvDrawUtils/Colors.h"

void TqvButtonColorOptions::Assign(TPersistent* Source) {
  auto* from = dynamic_cast<TqvButtonColorOptions*>(Source);
  if (!from) {
    TPersistent::Assign(Source);
    return;
  }
  // The stored fields, not what the getters answer: a system colour must stay one, so
  // that the copy follows later style changes too.
  FNormalColor = from->FNormalColor;
  FHotColor = from->FHotColor;
  FPressedColor = from->FPressedColor;
  FFocusedColor = from->FFocusedColor;
  FDisabledColor = from->FDisabledColor;
  FFrameNormalColor = from->FFrameNormalColor;
  FFrameHotColor = from->FFrameHotColor;
  FFramePressedColor = from->FFramePressedColor;
  FFrameFocusedColor = from->FFrameFocusedColor;
  FFrameDisabledColor = from->FFrameDisabledColor;
  FFontNormalColor = from->FFontNormalColor;
  FFontHotColor = from->FFontHotColor;
  FFontPressedColor = from->FFontPressedColor;
  FFontFocusedColor = from->FFontFocusedColor;
  FFontDisabledColor = from->FFontDisabledColor;
  FTitleFontNormalColor = from->FTitleFontNormalColor;
  FTitleFontHotColor = from->FTitleFontHotColor;
  FTitleFontPressedColor = from->FTitleFontPressedColor;
  FTitleFontFocusedColor = from->FTitleFontFocusedColor;
  FTitleFontDisabledColor = from->FTitleFontDisabledColor;
  FFrameWidth = from->FFrameWidth;
  FStyleColors = from->FStyleColors;
  Changed();
}

void TqvButtonColorOptions::Changed() {
  if (OnChange) OnChange(this);
}

TColor TqvButtonColorOptions::Styled(TColor Value) const { return FStyleColors ? GetStyleSystemColor(Value) : Value; }

TColor TqvButtonColorOptions::ForState(TColor Normal, TColor Hot, TColor Pressed, TColor Focused,
                                       TColor Disabled) const {
  switch (FState) {
    case qvsHot: return Hot;
    case qvsPressed: return Pressed;
    case qvsFocused: return Focused;
    case qvsDisabled: return Disabled;
    default: return Normal;
  }
}

TColor TqvButtonColorOptions::Color() const {
  return ForState(NormalColor(), HotColor(), PressedColor(), FocusedColor(), DisabledColor());
}

TColor TqvButtonColorOptions::FrameColor() const {
  return ForState(FrameNormalColor(), FrameHotColor(), FramePressedColor(), FrameFocusedColor(), FrameDisabledColor());
}

TColor TqvButtonColorOptions::FontColor() const {
  return ForState(FontNormalColor(), FontHotColor(), FontPressedColor(), FontFocusedColor(), FontDisabledColor());
}

TColor TqvButtonColorOptions::TitleFontColor() const {
  return ForState(TitleFontNormalColor(), TitleFontHotColor(), TitleFontPressedColor(), TitleFontFocusedColor(),
                  TitleFontDisabledColor());
}
