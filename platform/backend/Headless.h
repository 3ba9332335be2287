// A backend without a display: windows are records and copies of what was presented,
// input is what a test injects, and the clock moves only when a test moves it.
#pragma once

#include <deque>
#include <map>

#include "Backend.h"

class HeadlessBackend : public Backend {
 public:
  struct WindowRecord {
    NativeWindowDesc Desc;
    bool Visible = false;
    bool Active = false;
    uint8_t Opacity = 255;
    std::unique_ptr<Surface> Screen;  // what the window shows: the last presented pixels
    int PresentCount = 0;
  };

  HeadlessBackend();

  NativeWindowId CreateNativeWindow(const NativeWindowDesc& desc) override;
  void DestroyNativeWindow(NativeWindowId id) override;
  void ShowNativeWindow(NativeWindowId id, bool visible, bool activate) override;
  void SetNativeWindowBounds(NativeWindowId id, const RECT& screenBounds) override;
  void SetNativeWindowTitle(NativeWindowId id, const String& title) override;
  void SetNativeWindowOpacity(NativeWindowId id, uint8_t alpha) override;
  void Present(NativeWindowId id, const Surface& surface, const Region& damaged) override;

  bool PollEvent(InputEvent* event) override;
  void WaitForEvent(uint32_t timeoutMs) override;
  uint64_t Now() override { return FNow; }

  RECT ScreenBounds() override { return FScreen; }
  RECT WorkArea() override { return FWorkArea; }
  POINT CursorPos() override { return FCursor; }
  void SetCursorPos(POINT screen) override { FCursor = screen; }
  void SetNativeCursor(CursorShape shape) override { FCursorShape = shape; }
  void CaptureMouse(bool capture) override { FCaptured = capture; }
  void Beep(uint32_t kind) override { FBeeps.push_back(kind); }

  // ---- for tests ----
  void Advance(uint64_t ms) { FNow += ms; }
  // Queues an event stamped with the current clock; mouse events move the cursor.
  void Inject(InputEvent event);
  void SetScreen(const RECT& screen, const RECT& workArea);
  // Null for an unknown or destroyed window.
  const WindowRecord* Window(NativeWindowId id) const;
  std::vector<NativeWindowId> Windows() const;
  bool MouseCaptured() const { return FCaptured; }
  // The cursor shape last asked for (Hidden until a cursor is set).
  CursorShape Cursor() const { return FCursorShape; }
  const std::vector<uint32_t>& Beeps() const { return FBeeps; }
  size_t PendingEvents() const { return FEvents.size(); }

 private:
  WindowRecord* Find(NativeWindowId id);

  uint64_t FNow = 0;
  NativeWindowId FNextId = 1;
  std::map<NativeWindowId, WindowRecord> FWindows;
  std::deque<InputEvent> FEvents;
  RECT FScreen{0, 0, 1920, 1080};
  RECT FWorkArea{0, 0, 1920, 1040};
  POINT FCursor{};
  bool FCaptured = false;
  CursorShape FCursorShape = CursorShape::Hidden;
  std::vector<uint32_t> FBeeps;
};

// The current backend as the headless one, or null when another is installed.
HeadlessBackend* Headless();
