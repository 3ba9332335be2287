// What the window system needs from the machine: native top-level windows to show
// surfaces in, input, the screen and a monotonic clock. Headless (tests, screenshots)
// and SDL2 (real windows) implement it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gdi/Region.h"
#include "gdi/Surface.h"
#include "gdi/Types.h"

using NativeWindowId = uint32_t;

enum class NativeWindowKind {
  Normal,   // a top-level form
  Popup,    // menus, drop-down lists, overlays: no taskbar entry, never activated by clicks
  Tooltip,  // hints
};

struct NativeWindowDesc {
  NativeWindowKind Kind = NativeWindowKind::Normal;
  RECT Bounds{};  // screen coordinates
  String Title{};
  bool TopMost = false;
};

enum class InputKind {
  MouseMove,
  MouseDown,
  MouseUp,
  MouseWheel,
  KeyDown,
  KeyUp,
  Text,        // characters typed, already composed (UTF-8)
  CloseAsked,  // the user asked to close a native window (window manager)
  Exposed,     // a native window's contents were lost and must be presented again
  Moved,       // the window manager moved or resized a native window: Bounds
  FocusGained,
  FocusLost,
  Quit,        // the session is ending
};

// The standard cursor shapes a backend shows.
enum class CursorShape {
  Hidden, Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, AppStarting,
  Help,
};

// Mouse buttons.
constexpr int kButtonLeft = 1;
constexpr int kButtonMiddle = 2;
constexpr int kButtonRight = 3;

// Modifier bits of InputEvent::Modifiers.
constexpr uint32_t kModShift = 1;
constexpr uint32_t kModCtrl = 2;
constexpr uint32_t kModAlt = 4;

struct InputEvent {
  InputKind Kind = InputKind::MouseMove;
  NativeWindowId Window = 0;
  POINT Screen{};        // mouse position in screen coordinates
  int Button = 0;        // MouseDown/MouseUp
  int WheelDelta = 0;    // multiples of 120 per notch, positive away from the user
  uint32_t Key = 0;      // virtual-key code (VK_*) for KeyDown/KeyUp
  uint32_t Modifiers = 0;
  bool Repeat = false;   // KeyDown from auto-repeat
  String Text{};         // Text
  RECT Bounds{};         // Moved
  uint64_t Time = 0;     // clock value when the event happened
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual NativeWindowId CreateNativeWindow(const NativeWindowDesc& desc) = 0;
  virtual void DestroyNativeWindow(NativeWindowId id) = 0;
  virtual void ShowNativeWindow(NativeWindowId id, bool visible, bool activate) = 0;
  virtual void SetNativeWindowBounds(NativeWindowId id, const RECT& screenBounds) = 0;
  virtual void SetNativeWindowTitle(NativeWindowId id, const String& title) = 0;
  // 255 is opaque.
  virtual void SetNativeWindowOpacity(NativeWindowId id, uint8_t alpha) = 0;
  // Shows the damaged part (surface coordinates) of the window's surface.
  virtual void Present(NativeWindowId id, const Surface& surface, const Region& damaged) = 0;

  // Takes the next input event, if any, without waiting.
  virtual bool PollEvent(InputEvent* event) = 0;
  // Waits at most timeoutMs for input; returns at once when some is queued.
  virtual void WaitForEvent(uint32_t timeoutMs) = 0;

  // Milliseconds since an arbitrary start; never goes back.
  virtual uint64_t Now() = 0;

  virtual RECT ScreenBounds() = 0;
  virtual RECT WorkArea() = 0;
  virtual POINT CursorPos() = 0;
  virtual void SetCursorPos(POINT screen) = 0;
  virtual void SetNativeCursor(CursorShape shape) = 0;
  // Keeps mouse input coming to the application while a button is held outside.
  virtual void CaptureMouse(bool capture) = 0;
  // An audible signal; recorded, silent.
  virtual void Beep(uint32_t kind) = 0;
};

// The backend the window system talks to: headless until a program installs another.
Backend& CurrentBackend();
// Replaces the backend (the old one is destroyed); null goes back to a fresh headless one.
void SetBackend(std::unique_ptr<Backend> backend);
