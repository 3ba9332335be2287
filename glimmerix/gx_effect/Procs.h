// What an effect procedure is, and how effects are registered with the engine.
//
// A fade procedure fills one opacity byte per effect cell; a slide procedure fills one
// displacement record per cell; a manual procedure draws the whole frame itself. The
// engine zero-fills masks and records before every call and turns the result into a frame.
#pragma once

#include <cstdint>
#include <variant>

#include "vcl/SysUtils.h"

class TgxBitmap;
class TgxAnimationRec;

enum TgxProcKind { pkFade, pkSlide, pkManual };

// One cell of a slide frame: Flag 0 keeps the old image, 255 copies the new image's pixels
// of cell (SourceX, SourceY), anything between blends them with that alpha.
#pragma pack(push, 1)
struct TgxDisplacement {
  uint8_t Flag;
  uint8_t Reserved;
  int16_t SourceX;
  int16_t SourceY;
};
#pragma pack(pop)
static_assert(sizeof(TgxDisplacement) == 6, "the record layout is part of the effect interface");

// Mask and Records hold W x H entries, row-major: cell (x, y) is entry x + y * W.
using TgxFadeProc = void (*)(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent);
using TgxSlideProc = void (*)(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent);
using TgxManualProc = void (*)(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent);

// A procedure of any kind; its identity (the function it holds) tells duplicates apart.
using TgxProc = std::variant<std::monostate, TgxFadeProc, TgxSlideProc, TgxManualProc>;

QV_DECLARE_EXCEPTION(EProcItemError, Exception);

// Appends the effect under the display name "<kind prefix><Name>". Raises EProcItemError
// "Effect procedute %s already exists in list" when Proc is registered already, and
// EProcItemError too when Proc does not match Kind.
void RegisterEffect(const String& Name, TgxProcKind Kind, TgxProc Proc);

// Registers the sixty effects of the catalogue in their fixed order (the engine calls it
// once, at start-up, before it builds the effect name list).
void RegisterStandardEffects();
