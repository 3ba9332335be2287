// Glow: a soft halo of a chosen colour behind a caption or a picture. The shape is drawn
// white on black, blurred (StackBlur), turned into a premultiplied layer of the glow colour
// whose opacity is the blurred intensity, blended onto the canvas with a constant opacity
// and an offset, and then the caption itself is drawn on top.
//
// TqvGlowEffect and TqvButtonGlowEffect are the parameter objects controls publish.
#pragma once

#include "gdi/Text.h"
#include "qvDrawUtils/Types.h"
#include "vcl/Graphics.h"

class TCustomImageList;

class TqvGlowEffect : public TPersistent {
  QV_CLASS(TqvGlowEffect, TPersistent)

  TqvGlowEffect() = default;

  // From any glow effect: the seven values, without telling OnChange. Other sources go
  // to the inherited assignment.
  void Assign(TPersistent* Source) override;

  // The properties answer what was set; the Get* functions below answer what to draw with.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  uint8_t AlphaValue() const { return FAlphaValue; }
  void SetAlphaValue(uint8_t Value);
  // Blur radius and the margin the glow spreads into, in pixels.
  uint8_t GlowSize() const { return FGlowSize; }
  void SetGlowSize(uint8_t Value);
  // The layer is shifted right and down by this.
  uint8_t Offset() const { return FOffset; }
  void SetOffset(uint8_t Value);
  // The shape is drawn four times, a pixel left, right, up and down, for a stronger glow.
  bool Intensive() const { return FIntensive; }
  void SetIntensive(bool Value);
  // System colours follow the active custom style.
  bool StyleColors() const { return FStyleColors; }
  void SetStyleColors(bool Value);

  // Color, through the active custom style when StyleColors.
  TColor GetColor() const;
  // AlphaValue; in classic mode the default highlight glow above 170 is 80 fainter, so
  // that the strong classic highlight colour does not swamp the caption.
  uint8_t GetAlphaValue() const;

  // The owner's repaint hook: told of every change while Enabled, and of Enabled itself.
  TNotifyEvent OnChange;

 protected:
  // A changed value: OnChange when enabled.
  void Changed();
  // Color resolved as GetColor does.
  TColor StyledColor(TColor Value) const;

  bool FEnabled = false;
  TColor FColor = clHighlight;
  uint8_t FAlphaValue = 255;
  uint8_t FGlowSize = 7;
  bool FIntensive = true;
  uint8_t FOffset = 0;
  bool FStyleColors = true;
};

// A glow whose colour, size and opacity depend on the control state.
class TqvButtonGlowEffect : public TqvGlowEffect {
  QV_CLASS(TqvButtonGlowEffect, TqvGlowEffect)

  TqvButtonGlowEffect() = default;

  // From a button glow also the six state values.
  void Assign(TPersistent* Source) override;

  // clNone: the state glows in Color.
  TColor HotColor() const { return FHotColor; }
  void SetHotColor(TColor Value);
  TColor PressedColor() const { return FPressedColor; }
  void SetPressedColor(TColor Value);
  TColor FocusedColor() const { return FFocusedColor; }
  void SetFocusedColor(TColor Value);
  uint8_t PressedGlowSize() const { return FPressedGlowSize; }
  void SetPressedGlowSize(uint8_t Value);
  uint8_t PressedAlphaValue() const { return FPressedAlphaValue; }
  void SetPressedAlphaValue(uint8_t Value);
  // The states that glow.
  TqvsCtrlStates States() const { return FStates; }
  void SetStates(TqvsCtrlStates Value);

  TColor GetHotColor() const { return StyledColor(FHotColor); }
  TColor GetPressedColor() const { return StyledColor(FPressedColor); }
  TColor GetFocusedColor() const { return StyledColor(FFocusedColor); }
  // PressedAlphaValue; in classic mode a pressed highlight glow above 200 is 50 fainter.
  uint8_t GetPressedAlphaValue() const;

  // What a control in State glows with; false when State is not in States. Pressed uses
  // the pressed size and opacity; disabled glows at half the opacity.
  bool GetGlowParams(TqvsCtrlState State, TColor& AColor, uint8_t& AAlphaValue, int& AGlowSize) const;

 private:
  TColor FHotColor = clNone;
  TColor FPressedColor = clNone;
  TColor FFocusedColor = clNone;
  uint8_t FPressedAlphaValue = 255;
  uint8_t FPressedGlowSize = 7;
  TqvsCtrlStates FStates{qvsHot, qvsPressed, qvsFocused};
};

// Rendering. GlowSize is the blur radius (negative counts as 0, above StackBlurMaxRadius as
// that), Alpha the constant
// opacity of the layer, Offset shifts the layer right and down. Null canvases and bitmaps
// are no-ops. The layers are bitmaps of the text rectangle grown by GlowSize on every side;
// a rectangle too big to hold raises EOutOfResources.

// The mask's red byte, blurred, becomes the opacity of a premultiplied layer of Color.
// The bitmap becomes pf32bit with premultiplied alpha.
void MaskToGlow(TBitmap* Bitmap, int Radius, TColor Color);
// Dest := the glow of Source's shape, GlowSize bigger on every side. The shape is every
// pixel with alpha above 0 when Source is a 32-bit picture with transparent pixels,
// otherwise every pixel that differs from the top-left one. Dest must not be Source.
void MakeGlowBitmap(TBitmap* Dest, TBitmap* Source, int GlowSize, TColor Color);

// Dest := the glow of image Index of the list, fetched with its alpha (GetBitmap). Only
// images that carry an alpha channel glow: those of a 32-bit list; an image of a list of
// another colour depth, an index outside the list or no list give an empty
// (transparent) glow of the list's size grown by GlowSize.
void MakeImageGlowBitmap(TBitmap* Dest, TCustomImageList* ImageList, int Index, TColor Color, int GlowSize);
// The glow of the image, its corner at (X + Offset - GlowSize, Y + Offset - GlowSize), then
// the image itself enabled at (X, Y). An index outside the list draws nothing.
void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int GlowSize, TColor Color, int Offset, int Index,
                       TCustomImageList* ImageList);
// The same keeping the glow layer in Cache (owned by the caller): Rebuild drops it, an
// empty Cache is built.
void DrawImageWithCachedGlow(TBitmap*& Cache, bool Rebuild, TCanvas* Canvas, uint8_t Alpha, int GlowSize, TColor Color,
                             int Offset, TCustomImageList* ImageList, int Index, int X, int Y);

// The glow of Text, then Text in the canvas font with the DrawText Flags (plus DT_NOPREFIX
// when NoPrefix, mirrored for right-to-left). A rectangle narrower or lower than
// 2 * GlowSize is first enlarged to that, and the text is drawn in the enlarged rectangle.
void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, bool NoPrefix, bool RightToLeft,
                      uint8_t Alpha, bool Intensive, int GlowSize, TColor Color, int Offset, UINT Flags);
// The same with the text laid out by DrawFittedText; returns whether it was shortened.
// An empty text draws nothing and returns false.
bool DrawFittedTextWithGlow(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, uint8_t Alpha,
                            bool Intensive, int GlowSize, TColor Color, int Offset, bool RightToLeft, bool LeftAligned);
// DrawTextWithGlow keeping the layer in Cache (owned by the caller, freed with
// FreeAndNil): Rebuild drops the old layer, an empty Cache is built. Every paint, the one
// that builds the layer and the ones that reuse it, puts the same pixels.
void DrawTextWithCachedGlow(TBitmap*& Cache, bool Rebuild, TCanvas* Canvas, bool NoPrefix, bool RightToLeft,
                            uint8_t Alpha, bool Intensive, int GlowSize, TColor Color, int Offset, UINT Flags,
                            const String& Text, const TRect& Rect);
