#include "gx_grabclass.h"

#include <algorithm>

#include "gx_grab.h"
#include "vcl/Controls.h"

namespace {

// Made by the first use, so that the windowed-control grabber comes first whatever the
// order in which units start; freed when the program ends.
std::vector<TgxGrabberClass>& Registry() {
  static std::vector<TgxGrabberClass> registry{GrabberClass<TgxWControlGrabber>()};
  return registry;
}

// Whether Name is one of the ';'-separated entries of List (both lower case).
bool ListsName(const String& List, const String& Name) {
  size_t start = 0;
  while (start <= List.size()) {
    const size_t end = std::min(List.find(';', start), List.size());
    if (List.compare(start, end - start, Name) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

void RegisterGrabber(const TgxGrabberClass& GrabberClass) {
  if (!GrabberClass.Info || !GrabberClass.Create)
    throw EArgumentException("A grabber class needs its class and factory");
  Registry().push_back(GrabberClass);
}

void UnRegisterGrabber(TClass GrabberInfo) {
  std::erase_if(Registry(), [&](const TgxGrabberClass& c) { return c.Info == GrabberInfo; });
}

const std::vector<TgxGrabberClass>& gxGrabberClasses() { return Registry(); }

const TgxGrabberClass* gxFindGrabberClass(const TControl* AControl) {
  if (!AControl) return nullptr;
  const String name = LowerCase(AControl->ClassName());
  const auto& registry = Registry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (it->ControlClass && AControl->InheritsFrom(it->ControlClass)) return &*it;
    if (!it->ClassNames.empty() && ListsName(it->ClassNames, name)) return &*it;
  }
  return nullptr;
}
