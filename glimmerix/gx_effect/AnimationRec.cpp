#include "gx_effect/AnimationRec.h"

TgxAnimationRec::TgxAnimationRec(TComponent* AOwner) : TComponent(AOwner), FBitmap(new TBitmap) {}

TgxAnimationRec::~TgxAnimationRec() { delete FBitmap; }

void TgxAnimationRec::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TgxAnimationRec*>(Source);
  if (!source) {
    TComponent::Assign(Source);
    return;
  }
  if (source == this) return;
  FBitmap->Assign(source->FBitmap);
  FEnabled = source->FEnabled;
  FTime = source->FTime;
  FResolution = source->FResolution;
  FTileCount = source->FTileCount;
  FEffect = source->FEffect;
  FRotation = source->FRotation;
}

void TgxAnimationRec::SetEffect(const String& Value) {
  if (Value == FEffect) return;
  FEffect = Value;
}

void TgxAnimationRec::SetTime(int32_t Value) {
  if (Value == FTime) return;
  FTime = Value <= 50 ? 50 : Value > 9000 ? 9000 : Value;
}

void TgxAnimationRec::SetResolution(int32_t Value) {
  if (Value == FResolution) return;
  FResolution = Value <= 0 ? 1 : Value > 10 ? 10 : Value;
}

void TgxAnimationRec::SetTileCount(int32_t Value) {
  if (Value == FTileCount) return;
  FTileCount = Value <= 0 ? 1 : Value > 20 ? 20 : Value;
}

void TgxAnimationRec::SetRotation(TgxRotation Value) {
  // A value from outside the enumeration would index past the rotation tables.
  if (Value == FRotation || Value < krNone || Value > krRotate270) return;
  FRotation = Value;
}

void TgxAnimationRec::SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }

void TgxAnimationRec::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
}
