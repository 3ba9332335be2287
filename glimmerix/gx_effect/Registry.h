// The registered effects: one item per procedure, found by its display name or by its
// plain name, and the list of the names an effect is chosen by.
#pragma once

#include "gx_effect/Procs.h"
#include "vcl/Classes.h"

// The two names that select a mode rather than a registered effect.
inline const String gxRandomEffectName = "[ RANDOM ] - Random selection";
inline const String gxBitmapEffectName = "[ BITMAP ] - Bitmap Animation";

// "[ FADE ] - ", "[ SLIDE ] - " or "[ MANUAL ] - ".
String gxProcKindPrefix(TgxProcKind Kind);

class TgxProcItem : public TObject {
  QV_CLASS(TgxProcItem, TObject)

  TgxProcItem(TgxProcKind AKind, TgxProc AProc, const String& AName) : FKind(AKind), FProc(AProc), FName(AName) {}

  TgxProcKind Kind() const { return FKind; }
  const TgxProc& Proc() const { return FProc; }
  // The display name: the kind prefix followed by the registered name.
  const String& Name() const { return FName; }
  // False for an item registered without a procedure: such an effect never starts.
  bool HasProc() const;

 private:
  TgxProcKind FKind;
  TgxProc FProc;
  String FName;
};

// Owns its items.
class TgxProcList : public TList {
  QV_CLASS(TgxProcList, TList)

  TgxProcList() = default;
  ~TgxProcList() override;

  // Frees every item, then empties the list.
  void Clear() override;

  TgxProcItem* Items(int Index) const { return static_cast<TgxProcItem*>(TList::Items(Index)); }
  TgxProcItem* operator[](int Index) const { return Items(Index); }

  // The first item whose display name is Index, else the first whose plain name (the
  // text after the first "- ") is Index, both ignoring case; null when none is.
  TgxProcItem* GetProcs(const String& Index) const;
};

// Every registered effect, in registration order; null until the first registration.
TgxProcList* gxProcList();

// The names an effect is chosen by: the random and bitmap modes, then every display name
// in registration order. Built once, when the engine starts, after the standard effects
// are registered; asking for it starts the engine.
const TStringList* gxEffectNameList();

// Builds the name list from the effects registered so far (the engine's start-up).
void gxBuildEffectNameList();
