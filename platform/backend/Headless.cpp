#include "Headless.h"

#include <algorithm>

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::WindowRecord* HeadlessBackend::Find(NativeWindowId id) {
  auto it = FWindows.find(id);
  return it == FWindows.end() ? nullptr : &it->second;
}

const HeadlessBackend::WindowRecord* HeadlessBackend::Window(NativeWindowId id) const {
  auto it = FWindows.find(id);
  return it == FWindows.end() ? nullptr : &it->second;
}

std::vector<NativeWindowId> HeadlessBackend::Windows() const {
  std::vector<NativeWindowId> ids;
  for (const auto& [id, record] : FWindows) ids.push_back(id);
  return ids;
}

NativeWindowId HeadlessBackend::CreateNativeWindow(const NativeWindowDesc& desc) {
  const NativeWindowId id = FNextId++;
  WindowRecord& w = FWindows[id];
  w.Desc = desc;
  w.Screen = std::make_unique<Surface>(std::max<LONG>(desc.Bounds.Width(), 0),
                                       std::max<LONG>(desc.Bounds.Height(), 0));
  return id;
}

void HeadlessBackend::DestroyNativeWindow(NativeWindowId id) {
  FWindows.erase(id);
  // Input for a window that is gone has nowhere to go.
  std::erase_if(FEvents, [id](const InputEvent& e) { return e.Window == id; });
}

void HeadlessBackend::ShowNativeWindow(NativeWindowId id, bool visible, bool activate) {
  WindowRecord* w = Find(id);
  if (!w) return;
  w->Visible = visible;
  if (visible && activate) {
    for (auto& [other, record] : FWindows) record.Active = false;
    w->Active = true;
  }
  if (!visible) w->Active = false;
}

void HeadlessBackend::SetNativeWindowBounds(NativeWindowId id, const RECT& screenBounds) {
  WindowRecord* w = Find(id);
  if (!w) return;
  const bool resized = screenBounds.Width() != w->Desc.Bounds.Width() ||
                       screenBounds.Height() != w->Desc.Bounds.Height();
  w->Desc.Bounds = screenBounds;
  if (resized)
    w->Screen = std::make_unique<Surface>(std::max<LONG>(screenBounds.Width(), 0),
                                          std::max<LONG>(screenBounds.Height(), 0));
}

void HeadlessBackend::SetNativeWindowTitle(NativeWindowId id, const String& title) {
  if (WindowRecord* w = Find(id)) w->Desc.Title = title;
}

void HeadlessBackend::SetNativeWindowOpacity(NativeWindowId id, uint8_t alpha) {
  if (WindowRecord* w = Find(id)) w->Opacity = alpha;
}

void HeadlessBackend::Present(NativeWindowId id, const Surface& surface, const Region& damaged) {
  WindowRecord* w = Find(id);
  if (!w) return;
  Surface& screen = *w->Screen;
  Region area = damaged;
  area.Intersect(surface.Bounds());
  area.Intersect(screen.Bounds());
  for (const RECT& r : area.Rects())
    for (int y = r.Top; y < r.Bottom; ++y) std::copy(surface.Row(y) + r.Left, surface.Row(y) + r.Right, screen.Row(y) + r.Left);
  ++w->PresentCount;
}

bool HeadlessBackend::PollEvent(InputEvent* event) {
  if (FEvents.empty() || !event) return false;
  *event = std::move(FEvents.front());
  FEvents.pop_front();
  return true;
}

// Nothing can arrive while waiting: only the test injects input and moves the clock.
void HeadlessBackend::WaitForEvent(uint32_t) {}

void HeadlessBackend::Inject(InputEvent event) {
  event.Time = FNow;
  switch (event.Kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::MouseWheel: FCursor = event.Screen; break;
    default: break;
  }
  FEvents.push_back(std::move(event));
}

void HeadlessBackend::SetScreen(const RECT& screen, const RECT& workArea) {
  FScreen = screen;
  FWorkArea = workArea;
}
