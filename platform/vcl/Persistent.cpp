#include "Persistent.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TObject*>& Deferred() {
  static std::vector<TObject*> list;
  return list;
}

int& Holds() {
  static int holds = 0;
  return holds;
}

}  // namespace

TObject::~TObject() {
  // An object deleted some other way must not be deleted again by the deferred list.
  auto& list = Deferred();
  if (!list.empty()) list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool TObject::InheritsFrom(const String& className) const {
  for (TClass c = ClassType(); c; c = c->Parent)
    if (SameText(c->Name, className)) return true;
  return false;
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

void TObject::Release() {
  auto& list = Deferred();
  if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
}

void TObject::Dispatch(TMessage& message) { DefaultHandler(message); }
void TObject::DefaultHandler(TMessage&) {}

void ProcessDeferredReleases() {
  if (Holds() > 0) return;
  auto& list = Deferred();
  while (!list.empty()) {
    TObject* o = list.front();
    list.erase(list.begin());
    o->Free();
  }
}

size_t DeferredReleaseCount() { return Deferred().size(); }

TReleaseHold::TReleaseHold() { ++Holds(); }

TReleaseHold::~TReleaseHold() { --Holds(); }

// ---- TPersistent ----

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  const String sourceName = Source ? Source->ClassName() : String("nil");
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

String TPersistent::GetNamePath() const {
  String result = ClassName();
  if (const TPersistent* owner = GetOwner()) {
    const String path = owner->GetNamePath();
    if (!path.empty()) result = path + "." + result;
  }
  return result;
}
