// TqvButtonColorOptions: the per-state colours of a button that is drawn from colours
// rather than from the style's button images (the colour-button kind). With StyleColors a
// system colour answers the active custom style's value for it; without, every colour
// answers as stored.
#pragma once

#include "qvDrawUtils/Types.h"
#include "vcl/Colors.h"
#include "vcl/Persistent.h"

class TqvButtonColorOptions : public TPersistent {
  QV_CLASS(TqvButtonColorOptions, TPersistent)

  TqvButtonColorOptions() = default;

  // From other colour options: the twenty stored colours, FrameWidth and StyleColors,
  // then one OnChange. Other sources go to the inherited assignment.
  void Assign(TPersistent* Source) override;

  // The state Color, FrameColor, FontColor and TitleFontColor answer for; setting it tells
  // no one.
  TqvsCtrlState State() const { return FState; }
  void SetState(TqvsCtrlState Value) { FState = Value; }

  TColor Color() const;
  TColor FrameColor() const;
  TColor FontColor() const;
  TColor TitleFontColor() const;

  TColor NormalColor() const { return Styled(FNormalColor); }
  void SetNormalColor(TColor Value) { Store(FNormalColor, Value); }
  TColor HotColor() const { return Styled(FHotColor); }
  void SetHotColor(TColor Value) { Store(FHotColor, Value); }
  TColor PressedColor() const { return Styled(FPressedColor); }
  void SetPressedColor(TColor Value) { Store(FPressedColor, Value); }
  TColor FocusedColor() const { return Styled(FFocusedColor); }
  void SetFocusedColor(TColor Value) { Store(FFocusedColor, Value); }
  TColor DisabledColor() const { return Styled(FDisabledColor); }
  void SetDisabledColor(TColor Value) { Store(FDisabledColor, Value); }

  TColor FrameNormalColor() const { return Styled(FFrameNormalColor); }
  void SetFrameNormalColor(TColor Value) { Store(FFrameNormalColor, Value); }
  TColor FrameHotColor() const { return Styled(FFrameHotColor); }
  void SetFrameHotColor(TColor Value) { Store(FFrameHotColor, Value); }
  TColor FramePressedColor() const { return Styled(FFramePressedColor); }
  void SetFramePressedColor(TColor Value) { Store(FFramePressedColor, Value); }
  TColor FrameFocusedColor() const { return Styled(FFrameFocusedColor); }
  void SetFrameFocusedColor(TColor Value) { Store(FFrameFocusedColor, Value); }
  TColor FrameDisabledColor() const { return Styled(FFrameDisabledColor); }
  void SetFrameDisabledColor(TColor Value) { Store(FFrameDisabledColor, Value); }

  TColor FontNormalColor() const { return Styled(FFontNormalColor); }
  void SetFontNormalColor(TColor Value) { Store(FFontNormalColor, Value); }
  TColor FontHotColor() const { return Styled(FFontHotColor); }
  void SetFontHotColor(TColor Value) { Store(FFontHotColor, Value); }
  TColor FontPressedColor() const { return Styled(FFontPressedColor); }
  void SetFontPressedColor(TColor Value) { Store(FFontPressedColor, Value); }
  TColor FontFocusedColor() const { return Styled(FFontFocusedColor); }
  void SetFontFocusedColor(TColor Value) { Store(FFontFocusedColor, Value); }
  TColor FontDisabledColor() const { return Styled(FFontDisabledColor); }
  void SetFontDisabledColor(TColor Value) { Store(FFontDisabledColor, Value); }

  TColor TitleFontNormalColor() const { return Styled(FTitleFontNormalColor); }
  void SetTitleFontNormalColor(TColor Value) { Store(FTitleFontNormalColor, Value); }
  TColor TitleFontHotColor() const { return Styled(FTitleFontHotColor); }
  void SetTitleFontHotColor(TColor Value) { Store(FTitleFontHotColor, Value); }
  TColor TitleFontPressedColor() const { return Styled(FTitleFontPressedColor); }
  void SetTitleFontPressedColor(TColor Value) { Store(FTitleFontPressedColor, Value); }
  TColor TitleFontFocusedColor() const { return Styled(FTitleFontFocusedColor); }
  void SetTitleFontFocusedColor(TColor Value) { Store(FTitleFontFocusedColor, Value); }
  TColor TitleFontDisabledColor() const { return Styled(FTitleFontDisabledColor); }
  void SetTitleFontDisabledColor(TColor Value) { Store(FTitleFontDisabledColor, Value); }

  int FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(int Value) { Store(FFrameWidth, Value); }
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value) { Store(FStyleColors, Value); }

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  TColor Styled(TColor Value) const;
  // Of the five values given for normal, hot, pressed, focused and disabled, the one of State.
  TColor ForState(TColor Normal, TColor Hot, TColor Pressed, TColor Focused, TColor Disabled) const;
  template <class T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

  TqvsCtrlState FState = qvsNormal;
  TColor FNormalColor = clBtnFace, FHotColor = clBtnFace, FPressedColor = clBtnShadow, FFocusedColor = clBtnFace,
         FDisabledColor = clBtnFace;
  TColor FFrameNormalColor = clBtnShadow, FFrameHotColor = clHighlight, FFramePressedColor = clHighlight,
         FFrameFocusedColor = clHighlight, FFrameDisabledColor = clBtnShadow;
  TColor FFontNormalColor = clBtnText, FFontHotColor = clBtnText, FFontPressedColor = clBtnText,
         FFontFocusedColor = clBtnText, FFontDisabledColor = clBtnShadow;
  TColor FTitleFontNormalColor = clBtnText, FTitleFontHotColor = clBtnText, FTitleFontPressedColor = clBtnText,
         FTitleFontFocusedColor = clBtnText, FTitleFontDisabledColor = clBtnShadow;
  int FFrameWidth = 1;
  bool FStyleColors = true;
};
