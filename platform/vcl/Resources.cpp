#include "Resources.h"

#include <algorithm>
#include <cstring>
#include <memory>

struct TResourceEntry {
  String Name;  // upper case
  String Type;  // upper case
  const uint8_t* Data;
  size_t Size;
};

HINSTANCE HInstance = nullptr;

namespace {

// Entries never move once registered: handles stay valid for the life of the program.
std::vector<std::unique_ptr<TResourceEntry>>& Registry() {
  static std::vector<std::unique_ptr<TResourceEntry>> registry;
  return registry;
}

const TResourceEntry* Find(const String& name, const String& type) {
  const String n = AnsiUpperCase(name), t = AnsiUpperCase(type);
  for (const auto& e : Registry())
    if (e->Name == n && e->Type == t) return e.get();
  return nullptr;
}

}  // namespace

void RegisterResource(const char* Name, const char* Type, const uint8_t* Data, size_t Size) {
  if (!Name || !Type || (!Data && Size)) return;
  if (Find(Name, Type)) return;
  Registry().push_back(
      std::make_unique<TResourceEntry>(TResourceEntry{AnsiUpperCase(Name), AnsiUpperCase(Type), Data, Size}));
}

HRSRC FindResource(HINSTANCE, const String& Name, const String& Type) { return Find(Name, Type); }

HGLOBAL LoadResource(HINSTANCE, HRSRC ResInfo) { return ResInfo ? ResInfo->Data : nullptr; }

const void* LockResource(HGLOBAL ResData) { return ResData; }

DWORD SizeofResource(HINSTANCE, HRSRC ResInfo) { return ResInfo ? DWORD(ResInfo->Size) : 0; }

std::vector<String> ResourceNames(const String& Type) {
  const String t = AnsiUpperCase(Type);
  std::vector<String> names;
  for (const auto& e : Registry())
    if (e->Type == t) names.push_back(e->Name);
  return names;
}

// ---- TResourceStream ----

TResourceStream::TResourceStream(HINSTANCE Instance, const String& ResName, const String& ResType) {
  HRSRC res = FindResource(Instance, ResName, ResType);
  if (!res) throw EResNotFound("Resource " + ResName + " not found");
  FData = res->Data;
  FSize = res->Size;
}

int64_t TResourceStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || !Buffer || FPosition >= int64_t(FSize)) return 0;
  const int64_t n = std::min(Count, int64_t(FSize) - FPosition);
  std::memcpy(Buffer, FData + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TResourceStream::Write(const void*, int64_t) {
  throw EStreamError("Can't write to a read-only resource stream");
}

int64_t TResourceStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = 0;
  if (Origin == soCurrent)
    base = FPosition;
  else if (Origin == soEnd)
    base = int64_t(FSize);
  if ((Offset < 0 && base + Offset < 0) || (Offset > 0 && Offset > INT64_MAX - base)) return -1;
  FPosition = base + Offset;
  return FPosition;
}

void TResourceStream::SetSize(int64_t) { throw EStreamError("Can't write to a read-only resource stream"); }
