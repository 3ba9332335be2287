// An image and a caption inside one rectangle, as buttons, tabs, list items and caption
// buttons show them: where the two go (layout, margin, spacing), how the caption is
// measured, aligned and mirrored for right-to-left reading, and how the composite is drawn
// plain, glowing or with cached glows, with the focus mark, the colour bar of colour
// buttons and the translucent look of disabled images.
//
// Common arguments of the drawing routines:
// - Layout: the side of the image relative to the caption.
// - Margin: pixels from R's edge on the image side to the image; -1 centres image and
//   caption in R as one group.
// - Spacing: pixels between image and caption; 0 when either is missing.
// - ImageList, ImageIndex: the image is there when the list is given and 0 <= ImageIndex <
//   Count; its size is the list's Width x Height.
// - Enabled: a disabled image is drawn at opacity 80.
// - NoPrefix: "&" is shown as it is instead of underlining the next character.
// - RightToLeft: the caption's DrawText flags are mirrored (SetBiDiFlags). The side of the
//   image is the caller's: it passes blGlyphRight for a right-to-left control.
// The caption is drawn in the canvas font and font colour; the routines leave the canvas
// brush clear. A null canvas draws nothing.
#pragma once

#include <cstdint>

#include "vcl/Buttons.h"
#include "vcl/Classes.h"
#include "vcl/Graphics.h"

class TCustomImageList;

// Positions of an image of GlyphW x GlyphH and one block of text of TextW x TextH in R.
// Spacing counts as 0 without an image.
void CalcGlyphTextLayout(TButtonLayout Layout, const TRect& R, int GlyphW, int GlyphH, int TextW, int TextH, int Margin,
                         int Spacing, int& GlyphX, int& GlyphY, int& TextX, int& TextY);
// The same for a wrapped caption, whose box may be made narrower, lower or as big as R so
// that image and text stay inside R. With Margin >= 0 the text box is the rest of R beside
// (or above, below) the image.
void CalcGlyphWrappedTextLayout(TButtonLayout Layout, const TRect& R, int GlyphW, int GlyphH, int& TextW, int& TextH,
                                int Margin, int Spacing, int& GlyphX, int& GlyphY, int& TextX, int& TextY);

// Image Index of the list at (X, Y) with the constant opacity Alpha. The image of a
// 32-bit list keeps its alpha; an image of another list is opaque except where it has the
// colour of its top-left pixel (or was cut out by the list's mask).
void DrawImageListImageAlpha(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Index, TCustomImageList* ImageList);

// Image left of a one-line caption; the caption sits one pixel higher than centred.
void DrawGlyphLeftAndText(TCanvas* Canvas, const TRect& R, int Margin, int Spacing, TCustomImageList* ImageList,
                          int ImageIndex, const String& Caption, bool Enabled, bool NoPrefix, bool RightToLeft);

// Image and caption as one block, the caption's lines centred (DrawImageAndText) or
// left-aligned (DrawImageAndTextLeft) in their box; word-wrapped when WordWrap.
// ShowFocusRect: a dotted focus mark (at Scale) 2 pixels around the caption, or around the
// image when there is no caption. ShowBar: a colour bar of BarColor, Trunc(2 * Scale) + 1
// lines under the image (or the caption when there is no image); with neither, R inset by
// 4 (2 at the right) is filled with BarColor.
void DrawImageAndText(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                      TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled, bool NoPrefix,
                      bool RightToLeft, bool WordWrap, double Scale, bool ShowFocusRect, TColor BarColor, bool ShowBar);
void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                          TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                          bool NoPrefix, bool RightToLeft, bool WordWrap, double Scale, bool ShowFocusRect,
                          TColor BarColor, bool ShowBar);

// Image and a wrapped caption that keeps inside R: the caption is fitted into its box
// (DrawFittedText, centred) and ends in "..." when it does not fit. Returns whether it
// was shortened.
bool DrawImageAndWrappedText(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                             TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                             bool NoPrefix, bool RightToLeft);

// The glowing forms. The glow parameters are those of DrawTextWithGlow: the layer's
// opacity Alpha, Intensive, GlowSize (blur radius), GlowColor and GlowOffset. ImageGlow:
// the image glows too (and is then drawn enabled).

// The caption left-aligned beside an image at the left or right, centred above or below one.
bool DrawImageAndWrappedTextWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                     TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                     bool NoPrefix, bool RightToLeft, uint8_t Alpha, bool Intensive, int GlowSize,
                                     TColor GlowColor, int GlowOffset, bool ImageGlow);
// As DrawImageAndText / DrawImageAndTextLeft, always word-wrapped.
void DrawImageAndTextWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                              TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                              bool NoPrefix, bool RightToLeft, double Scale, bool ShowFocusRect, uint8_t Alpha,
                              bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                              TColor BarColor, bool ShowBar);
void DrawImageAndTextLeftWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                  TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                  bool NoPrefix, bool RightToLeft, double Scale, bool ShowFocusRect, uint8_t Alpha,
                                  bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                                  TColor BarColor, bool ShowBar);
// The same keeping the glow layers in TextGlowCache and ImageGlowCache (owned by the
// caller, freed with FreeAndNil): Rebuild drops both, an empty cache is built.
void DrawImageAndTextWithCachedGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                    TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                    bool NoPrefix, bool RightToLeft, TBitmap*& TextGlowCache, TBitmap*& ImageGlowCache,
                                    bool Rebuild, bool WordWrap, double Scale, bool ShowFocusRect, uint8_t Alpha,
                                    bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                                    TColor BarColor, bool ShowBar);
void DrawImageAndTextLeftWithCachedGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                        TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                                        bool Enabled, bool NoPrefix, bool RightToLeft, TBitmap*& TextGlowCache,
                                        TBitmap*& ImageGlowCache, bool Rebuild, bool WordWrap, double Scale,
                                        bool ShowFocusRect, uint8_t Alpha, bool Intensive, int GlowSize,
                                        TColor GlowColor, int GlowOffset, bool ImageGlow, TColor BarColor,
                                        bool ShowBar);
