// The procedures of the sixty standard effects, in registration order. Each has its own
// function so that the registry tells them apart. Fade procedures fill a zero-filled
// W x H opacity mask, slide procedures fill zero-filled displacement records, manual
// procedures draw the frame into Work (which holds the old image). A percentage above 100
// counts as 100; nothing is ever written outside the W x H grid.
#pragma once

#include "gx_effect/Procs.h"

// Smooth fronts (SmoothEffects.cpp)
void EffectSmoothDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSmoothRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);

// Hard-edged fronts, opaque (Slide*) or at the percentage's opacity (Fade*) (FadeEffects.cpp)
void EffectSlideDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectSlideRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectFadeRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);

// Random cells (PatternEffects.cpp)
void EffectPixel(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectPixelFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectPixelLine(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);

// Circles, diamonds and turning hands (ShapeEffects.cpp)
void EffectCircleSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleSlide(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectCircleSmooth(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectDiamondSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectRotateSlide(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectRotateFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectRotateSmooth(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);

// Columns falling and a plasma (PatternEffects.cpp)
void EffectStream(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
void EffectPlasma(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);

// Displaced cells (SlideEffects.cpp)
void EffectInterlace(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent);
void EffectCorner(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent);

// Whole frames (ManualEffects.cpp)
void EffectSlide(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent);
void EffectPush(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent);
void EffectBlur(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent);
void EffectSlideBack(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent);
