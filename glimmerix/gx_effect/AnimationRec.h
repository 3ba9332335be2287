// The settings of a transition: effect, duration, cell size, tiling, rotation and the
// picture of the bitmap mode. The animation component inherits them.
#pragma once

#include "gx_effect/Registry.h"
#include "vcl/Graphics.h"

enum TgxRotation { krNone, krRotate90, krRotate180, krRotate270 };

class TgxAnimationRec : public TComponent {
  QV_CLASS(TgxAnimationRec, TComponent)

  explicit TgxAnimationRec(TComponent* AOwner);
  ~TgxAnimationRec() override;

  // From another TgxAnimationRec: picture contents, Enabled, Time, Resolution, TileCount,
  // Effect, Rotation. Anything else goes to the inherited assignment.
  void Assign(TPersistent* Source) override;

  // A display name of a registered effect, or gxRandomEffectName / gxBitmapEffectName.
  const String& Effect() const { return FEffect; }
  void SetEffect(const String& Value);
  // Milliseconds, kept within 50..9000.
  int32_t Time() const { return FTime; }
  void SetTime(int32_t Value);
  // Cell size in pixels, kept within 1..10.
  int32_t Resolution() const { return FResolution; }
  void SetResolution(int32_t Value);
  // The effect repeats in TileCount x TileCount tiles, kept within 1..20.
  int32_t TileCount() const { return FTileCount; }
  void SetTileCount(int32_t Value);
  TgxRotation Rotation() const { return FRotation; }
  void SetRotation(TgxRotation Value);
  // The opacity picture of the bitmap mode; the setter copies the picture.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);
  // Stored and copied; the engine does not read it.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);

 private:
  bool FEnabled = false;
  int32_t FTime = 400;
  int32_t FResolution = 1;
  int32_t FTileCount = 1;
  String FEffect = gxRandomEffectName;
  TgxRotation FRotation = krNone;
  TBitmap* FBitmap;
};
