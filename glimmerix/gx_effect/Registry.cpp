#include "gx_effect/Registry.h"

#include <memory>

#include "gx_effect/Engine.h"

namespace {

std::unique_ptr<TgxProcList>& ProcListHolder() {
  static std::unique_ptr<TgxProcList> list;
  return list;
}

std::unique_ptr<TStringList>& NameListHolder() {
  static std::unique_ptr<TStringList> list;
  return list;
}

// The function a procedure holds, as an address, or null for none.
const void* ProcAddress(const TgxProc& Proc) {
  return std::visit(
      [](auto p) -> const void* {
        if constexpr (std::is_same_v<decltype(p), std::monostate>)
          return nullptr;
        else
          return reinterpret_cast<const void*>(p);
      },
      Proc);
}

bool ProcMatchesKind(const TgxProc& Proc, TgxProcKind Kind) {
  switch (Kind) {
    case pkFade: return std::holds_alternative<TgxFadeProc>(Proc);
    case pkSlide: return std::holds_alternative<TgxSlideProc>(Proc);
    case pkManual: return std::holds_alternative<TgxManualProc>(Proc);
  }
  return false;
}

// The display name without its kind prefix: the text after the first "- ".
String PlainName(const String& DisplayName) {
  const size_t at = DisplayName.find("- ");
  return at == String::npos ? String() : DisplayName.substr(at + 2);
}

}  // namespace

String gxProcKindPrefix(TgxProcKind Kind) {
  switch (Kind) {
    case pkFade: return "[ FADE ] - ";
    case pkSlide: return "[ SLIDE ] - ";
    case pkManual: return "[ MANUAL ] - ";
  }
  return String();
}

bool TgxProcItem::HasProc() const { return ProcAddress(FProc) != nullptr; }

TgxProcList::~TgxProcList() { Clear(); }

void TgxProcList::Clear() {
  for (int i = 0; i < Count(); ++i) delete Items(i);
  TList::Clear();
}

TgxProcItem* TgxProcList::GetProcs(const String& Index) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(Items(i)->Name(), Index)) return Items(i);
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(PlainName(Items(i)->Name()), Index)) return Items(i);
  return nullptr;
}

TgxProcList* gxProcList() {
  gxInitEffectUnit();
  return ProcListHolder().get();
}

void RegisterEffect(const String& Name, TgxProcKind Kind, TgxProc Proc) {
  // The standard effects come first, whoever registers first.
  gxInitEffectUnit();
  if (!ProcMatchesKind(Proc, Kind))
    throw EProcItemError(Format("Effect procedure %s does not match its kind", {Name}));
  auto& list = ProcListHolder();
  if (!list) list = std::make_unique<TgxProcList>();
  const String displayName = gxProcKindPrefix(Kind) + Name;
  const void* address = ProcAddress(Proc);
  // A second item under the same display name could never be found; a null procedure
  // may stand for several effects that never start.
  for (int i = 0; i < list->Count(); ++i) {
    TgxProcItem* item = list->Items(i);
    if ((address && ProcAddress(item->Proc()) == address) || AnsiSameText(item->Name(), displayName))
      throw EProcItemError(Format("Effect procedute %s already exists in list", {Name}));
  }
  list->Add(new TgxProcItem(Kind, Proc, displayName));
}

void gxBuildEffectNameList() {
  auto& names = NameListHolder();
  if (!names) names = std::make_unique<TStringList>();
  names->Clear();
  names->Add(gxRandomEffectName);
  names->Add(gxBitmapEffectName);
  if (TgxProcList* list = ProcListHolder().get())
    for (int i = 0; i < list->Count(); ++i) names->Add(list->Items(i)->Name());
}

const TStringList* gxEffectNameList() {
  gxInitEffectUnit();
  return NameListHolder().get();
}
