// Resources compiled into the program: files turned into byte arrays by the CMake
// function qv_add_resources (cmake/Resources.cmake), registered by name and type at
// start-up, and found again with FindResource or read through TResourceStream.
//
// Names and types compare without case, as the resource compiler's do. A file becomes
// the resource named after its file name without extension, upper-cased.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Classes.h"
#include "win/Messages.h"

// The types of resources the program carries.
inline const String RT_RCDATA = "RCDATA";

// The module whose resources are meant; there is only the program.
extern HINSTANCE HInstance;

struct TResourceEntry;
using HRSRC = const TResourceEntry*;
using HGLOBAL = const void*;

// Called by the generated registration code; a resource registered twice keeps its first
// bytes.
void RegisterResource(const char* Name, const char* Type, const uint8_t* Data, size_t Size);

// The resource of a name and type, or null.
HRSRC FindResource(HINSTANCE Instance, const String& Name, const String& Type);
// The resource's bytes (LockResource gives the pointer), 0/null for a null handle.
HGLOBAL LoadResource(HINSTANCE Instance, HRSRC ResInfo);
const void* LockResource(HGLOBAL ResData);
DWORD SizeofResource(HINSTANCE Instance, HRSRC ResInfo);
// The names of every resource of a type, in the order they were registered.
std::vector<String> ResourceNames(const String& Type);

QV_DECLARE_EXCEPTION(EResNotFound, Exception);

// A read-only stream over a resource's bytes. Raises EResNotFound "Resource NAME not
// found" when there is no such resource, EStreamError on any write.
class TResourceStream : public TStream {
  QV_CLASS(TResourceStream, TStream)

  TResourceStream(HINSTANCE Instance, const String& ResName, const String& ResType);

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return int64_t(FSize); }
  void SetSize(int64_t NewSize) override;

  const void* Memory() const { return FData; }

 private:
  const uint8_t* FData = nullptr;
  size_t FSize = 0;
  int64_t FPosition = 0;
};
