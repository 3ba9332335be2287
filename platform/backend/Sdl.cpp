#include "Sdl.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_TIMER;

// ---- keys ----
// Windows virtual keys follow the layout for letters and punctuation and the key's
// position for everything else; SDL keycodes carry the former, scancodes the latter.

struct ScanKey {
  SDL_Scancode Scan;
  uint8_t Vk;
  uint8_t VkNumLockOff;  // keypad keys double as navigation keys; 0: same as Vk
};

constexpr ScanKey kScanKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 0x08, 0},     // VK_BACK
    {SDL_SCANCODE_TAB, 0x09, 0},           // VK_TAB
    {SDL_SCANCODE_RETURN, 0x0D, 0},        // VK_RETURN
    {SDL_SCANCODE_KP_ENTER, 0x0D, 0},      // VK_RETURN
    {SDL_SCANCODE_LSHIFT, 0x10, 0},        // VK_SHIFT
    {SDL_SCANCODE_RSHIFT, 0x10, 0},        // VK_SHIFT
    {SDL_SCANCODE_LCTRL, 0x11, 0},         // VK_CONTROL
    {SDL_SCANCODE_RCTRL, 0x11, 0},         // VK_CONTROL
    {SDL_SCANCODE_LALT, 0x12, 0},          // VK_MENU
    {SDL_SCANCODE_RALT, 0x12, 0},          // VK_MENU
    {SDL_SCANCODE_PAUSE, 0x13, 0},         // VK_PAUSE
    {SDL_SCANCODE_CAPSLOCK, 0x14, 0},      // VK_CAPITAL
    {SDL_SCANCODE_ESCAPE, 0x1B, 0},        // VK_ESCAPE
    {SDL_SCANCODE_SPACE, 0x20, 0},         // VK_SPACE
    {SDL_SCANCODE_PAGEUP, 0x21, 0},        // VK_PRIOR
    {SDL_SCANCODE_PAGEDOWN, 0x22, 0},      // VK_NEXT
    {SDL_SCANCODE_END, 0x23, 0},           // VK_END
    {SDL_SCANCODE_HOME, 0x24, 0},          // VK_HOME
    {SDL_SCANCODE_LEFT, 0x25, 0},          // VK_LEFT
    {SDL_SCANCODE_UP, 0x26, 0},            // VK_UP
    {SDL_SCANCODE_RIGHT, 0x27, 0},         // VK_RIGHT
    {SDL_SCANCODE_DOWN, 0x28, 0},          // VK_DOWN
    {SDL_SCANCODE_PRINTSCREEN, 0x2C, 0},   // VK_SNAPSHOT
    {SDL_SCANCODE_INSERT, 0x2D, 0},        // VK_INSERT
    {SDL_SCANCODE_DELETE, 0x2E, 0},        // VK_DELETE
    {SDL_SCANCODE_LGUI, 0x5B, 0},          // VK_LWIN
    {SDL_SCANCODE_RGUI, 0x5C, 0},          // VK_RWIN
    {SDL_SCANCODE_APPLICATION, 0x5D, 0},   // VK_APPS
    {SDL_SCANCODE_MENU, 0x5D, 0},          // VK_APPS
    {SDL_SCANCODE_KP_0, 0x60, 0x2D},       // VK_NUMPAD0 / VK_INSERT
    {SDL_SCANCODE_KP_1, 0x61, 0x23},       // VK_NUMPAD1 / VK_END
    {SDL_SCANCODE_KP_2, 0x62, 0x28},       // VK_NUMPAD2 / VK_DOWN
    {SDL_SCANCODE_KP_3, 0x63, 0x22},       // VK_NUMPAD3 / VK_NEXT
    {SDL_SCANCODE_KP_4, 0x64, 0x25},       // VK_NUMPAD4 / VK_LEFT
    {SDL_SCANCODE_KP_5, 0x65, 0x0C},       // VK_NUMPAD5 / VK_CLEAR
    {SDL_SCANCODE_KP_6, 0x66, 0x27},       // VK_NUMPAD6 / VK_RIGHT
    {SDL_SCANCODE_KP_7, 0x67, 0x24},       // VK_NUMPAD7 / VK_HOME
    {SDL_SCANCODE_KP_8, 0x68, 0x26},       // VK_NUMPAD8 / VK_UP
    {SDL_SCANCODE_KP_9, 0x69, 0x21},       // VK_NUMPAD9 / VK_PRIOR
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0},   // VK_MULTIPLY
    {SDL_SCANCODE_KP_PLUS, 0x6B, 0},       // VK_ADD
    {SDL_SCANCODE_KP_MINUS, 0x6D, 0},      // VK_SUBTRACT
    {SDL_SCANCODE_KP_PERIOD, 0x6E, 0x2E},  // VK_DECIMAL / VK_DELETE
    {SDL_SCANCODE_KP_DIVIDE, 0x6F, 0},     // VK_DIVIDE
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0},  // VK_NUMLOCK
    {SDL_SCANCODE_SCROLLLOCK, 0x91, 0},    // VK_SCROLL
    // Punctuation where the layout's character is not ASCII: the US meaning of the key.
    {SDL_SCANCODE_SEMICOLON, 0xBA, 0},       // VK_OEM_1
    {SDL_SCANCODE_EQUALS, 0xBB, 0},          // VK_OEM_PLUS
    {SDL_SCANCODE_COMMA, 0xBC, 0},           // VK_OEM_COMMA
    {SDL_SCANCODE_MINUS, 0xBD, 0},           // VK_OEM_MINUS
    {SDL_SCANCODE_PERIOD, 0xBE, 0},          // VK_OEM_PERIOD
    {SDL_SCANCODE_SLASH, 0xBF, 0},           // VK_OEM_2
    {SDL_SCANCODE_GRAVE, 0xC0, 0},           // VK_OEM_3
    {SDL_SCANCODE_LEFTBRACKET, 0xDB, 0},     // VK_OEM_4
    {SDL_SCANCODE_BACKSLASH, 0xDC, 0},       // VK_OEM_5
    {SDL_SCANCODE_NONUSHASH, 0xDC, 0},       // VK_OEM_5
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0},    // VK_OEM_6
    {SDL_SCANCODE_APOSTROPHE, 0xDE, 0},      // VK_OEM_7
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0},  // VK_OEM_102
};

struct CharKey {
  char Ch;
  uint8_t Vk;
};

constexpr CharKey kPunctuationKeys[] = {
    {';', 0xBA}, {'=', 0xBB}, {',', 0xBC}, {'-', 0xBD}, {'.', 0xBE}, {'/', 0xBF},
    {'`', 0xC0}, {'[', 0xDB}, {'\\', 0xDC}, {']', 0xDD}, {'\'', 0xDE},
};

uint32_t ScanKeyVk(int32_t scancode, uint32_t sdlMods) {
  for (const ScanKey& k : kScanKeys) {
    if (scancode != k.Scan) continue;
    return (k.VkNumLockOff && !(sdlMods & KMOD_NUM)) ? k.VkNumLockOff : k.Vk;
  }
  return 0;
}

// ---- helpers ----

LONG Saturate(int64_t v) { return LONG(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

POINT Offset(POINT origin, int64_t x, int64_t y) { return {Saturate(origin.X + x), Saturate(origin.Y + y)}; }

// What X11 and SDL accept: 16-bit coordinates and SDL's largest window.
SDL_Rect Placement(const RECT& r) {
  constexpr int64_t kMaxSide = 16384;
  const int64_t width = int64_t(r.Right) - r.Left;
  const int64_t height = int64_t(r.Bottom) - r.Top;
  return {int(std::clamp<int64_t>(r.Left, INT16_MIN, INT16_MAX)),
          int(std::clamp<int64_t>(r.Top, INT16_MIN, INT16_MAX)), int(std::clamp<int64_t>(width, 1, kMaxSide)),
          int(std::clamp<int64_t>(height, 1, kMaxSide))};
}

RECT FromSdl(const SDL_Rect& r) { return {r.x, r.y, Saturate(int64_t(r.x) + r.w), Saturate(int64_t(r.y) + r.h)}; }

uint32_t Modifiers(uint32_t sdlMods) {
  // AltGr is Ctrl+Alt, as the keyboard reports it on Windows; its characters then come
  // through as text and its keys are not taken for Alt shortcuts.
  const bool altGr = (sdlMods & (KMOD_MODE | KMOD_RALT)) != 0;
  return ((sdlMods & KMOD_SHIFT) ? kModShift : 0) | (((sdlMods & KMOD_CTRL) || altGr) ? kModCtrl : 0) |
         ((sdlMods & KMOD_ALT) || altGr ? kModAlt : 0);
}

int Button(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return kButtonLeft;
    case SDL_BUTTON_MIDDLE: return kButtonMiddle;
    case SDL_BUTTON_RIGHT: return kButtonRight;
    default: return 0;
  }
}

void SetHints() {
  // Window surfaces in plain memory shown by the display server: no GPU on the way.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Closing the last window is the program's decision (CloseAsked), not the end.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // The click that activates a window also reaches it.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // Showing a popup must not take the focus from the form that opened it.
  SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
  // An ordinary desktop program: leave the compositor on.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
}

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

// ---- creation ----

std::string SdlBackend::MissingDisplay() {
  if (EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY")) return {};
  return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

std::unique_ptr<SdlBackend> SdlBackend::TryCreate(std::string* error) {
  std::string why = MissingDisplay();
  if (why.empty()) {
    SetHints();
    if (SDL_Init(kSubsystems) == 0) {
      std::unique_ptr<SdlBackend> backend(new SdlBackend());
      SDL_StartTextInput();
      if (error) error->clear();
      return backend;
    }
    why = std::string("SDL could not open the display: ") + SDL_GetError();
  }
  if (error) *error = why;
  return nullptr;
}

SdlBackend::~SdlBackend() {
  for (auto& [id, window] : FWindows) SDL_DestroyWindow(window);
  for (auto& [shape, cursor] : FCursors) SDL_FreeCursor(cursor);
  // Another backend may still be using SDL (SetBackend creates the new one first).
  SDL_QuitSubSystem(kSubsystems);
  if (SDL_WasInit(0) == 0) SDL_Quit();
}

// ---- windows ----

SDL_Window* SdlBackend::SdlWindow(NativeWindowId id) const {
  auto it = FWindows.find(id);
  return it == FWindows.end() ? nullptr : it->second;
}

NativeWindowId SdlBackend::Ours(uint32_t sdlWindowId, POINT* origin) const {
  auto it = FBySdlId.find(sdlWindowId);
  if (it == FBySdlId.end()) return 0;
  if (origin) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(FWindows.at(it->second), &x, &y);
    *origin = {x, y};
  }
  return it->second;
}

NativeWindowId SdlBackend::CreateNativeWindow(const NativeWindowDesc& desc) {
  Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
  switch (desc.Kind) {
    case NativeWindowKind::Normal: break;
    case NativeWindowKind::Popup:
      flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
      break;
    case NativeWindowKind::Tooltip:
      flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
      break;
  }
  const SDL_Rect at = Placement(desc.Bounds);
  SDL_Window* window = SDL_CreateWindow(desc.Title.c_str(), at.x, at.y, at.w, at.h, flags);
  if (!window) return 0;
  if (desc.TopMost) SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
  const NativeWindowId id = FNextId++;
  FWindows[id] = window;
  FBySdlId[SDL_GetWindowID(window)] = id;
  return id;
}

// Queued events of the window stay behind; Translate drops them as no longer ours.
void SdlBackend::DestroyNativeWindow(NativeWindowId id) {
  SDL_Window* window = SdlWindow(id);
  if (!window) return;
  FBySdlId.erase(SDL_GetWindowID(window));
  FWindows.erase(id);
  SDL_DestroyWindow(window);
}

void SdlBackend::ShowNativeWindow(NativeWindowId id, bool visible, bool activate) {
  SDL_Window* window = SdlWindow(id);
  if (!window) return;
  if (!visible) {
    SDL_HideWindow(window);
    return;
  }
  SDL_ShowWindow(window);
  if (activate) SDL_RaiseWindow(window);
}

void SdlBackend::SetNativeWindowBounds(NativeWindowId id, const RECT& screenBounds) {
  SDL_Window* window = SdlWindow(id);
  if (!window) return;
  const SDL_Rect at = Placement(screenBounds);
  SDL_SetWindowPosition(window, at.x, at.y);
  SDL_SetWindowSize(window, at.w, at.h);
}

void SdlBackend::SetNativeWindowTitle(NativeWindowId id, const String& title) {
  if (SDL_Window* window = SdlWindow(id)) SDL_SetWindowTitle(window, title.c_str());
}

// Window managers without a compositor cannot do it; the window then stays opaque.
void SdlBackend::SetNativeWindowOpacity(NativeWindowId id, uint8_t alpha) {
  if (SDL_Window* window = SdlWindow(id)) SDL_SetWindowOpacity(window, float(alpha) / 255.0f);
}

void SdlBackend::Present(NativeWindowId id, const Surface& surface, const Region& damaged) {
  SDL_Window* window = SdlWindow(id);
  if (!window) return;
  // SDL makes a new window surface after a resize; the one it gives is always current.
  SDL_Surface* screen = SDL_GetWindowSurface(window);
  if (!screen) return;
  Region area = damaged;
  area.Intersect(surface.Bounds());
  area.Intersect(RECT{0, 0, screen->w, screen->h});
  if (area.IsEmpty()) return;
  if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return;

  // Read as XRGB: windows are opaque whatever the surface's alpha says.
  const int bytesPerPixel = screen->format->BytesPerPixel;
  auto copy = [&](int x, int y, int width, int height) {
    uint8_t* to = static_cast<uint8_t*>(screen->pixels) + size_t(y) * size_t(screen->pitch) +
                  size_t(x) * size_t(bytesPerPixel);
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XRGB8888, surface.Row(y) + x, surface.Stride(),
                      screen->format->format, to, screen->pitch);
  };
  std::vector<SDL_Rect> shown;
  for (const RECT& r : area.Rects()) {
    if (surface.BottomUp()) {
      for (int y = r.Top; y < r.Bottom; ++y) copy(r.Left, y, r.Width(), 1);
    } else {
      copy(r.Left, r.Top, r.Width(), r.Height());
    }
    shown.push_back({r.Left, r.Top, r.Width(), r.Height()});
  }
  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  SDL_UpdateWindowSurfaceRects(window, shown.data(), int(shown.size()));
}

// ---- input ----

uint32_t SdlBackend::VirtualKey(int32_t keycode, int32_t scancode, uint32_t sdlMods) {
  // The keypad is positional even where the layout gives its keys ASCII characters.
  if (scancode >= SDL_SCANCODE_KP_DIVIDE && scancode <= SDL_SCANCODE_KP_PERIOD) return ScanKeyVk(scancode, sdlMods);
  if (keycode >= 'a' && keycode <= 'z') return uint32_t(keycode - 'a' + 'A');
  for (const CharKey& k : kPunctuationKeys)
    if (keycode == k.Ch) return k.Vk;
  // Layouts whose letters are not Latin, and the digit row, which stays the digit row
  // whatever characters the layout puts on it.
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return uint32_t('A' + scancode - SDL_SCANCODE_A);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return uint32_t('1' + scancode - SDL_SCANCODE_1);
  if (scancode == SDL_SCANCODE_0) return '0';
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return uint32_t(0x70 + scancode - SDL_SCANCODE_F1);
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return uint32_t(0x7C + scancode - SDL_SCANCODE_F13);
  return ScanKeyVk(scancode, sdlMods);
}

bool SdlBackend::Translate(const SDL_Event& e, InputEvent* out) {
  InputEvent ev;
  ev.Time = Now();
  ev.Modifiers = Modifiers(SDL_GetModState());
  POINT origin;
  switch (e.type) {
    case SDL_MOUSEMOTION:
      ev.Kind = InputKind::MouseMove;
      ev.Window = Ours(e.motion.windowID, &origin);
      ev.Screen = Offset(origin, e.motion.x, e.motion.y);
      if (ev.Window) FLastMouse = ev.Screen;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      ev.Kind = e.type == SDL_MOUSEBUTTONDOWN ? InputKind::MouseDown : InputKind::MouseUp;
      ev.Button = Button(e.button.button);
      if (!ev.Button) return false;
      ev.Window = Ours(e.button.windowID, &origin);
      ev.Screen = Offset(origin, e.button.x, e.button.y);
      break;
    case SDL_MOUSEWHEEL: {
      const int64_t notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -int64_t(e.wheel.y) : e.wheel.y;
      if (notches == 0) return false;  // sideways scrolling has no message here
      ev.Kind = InputKind::MouseWheel;
      ev.WheelDelta = Saturate(notches * 120);
      ev.Window = Ours(e.wheel.windowID, &origin);
      ev.Screen = Offset(origin, e.wheel.mouseX, e.wheel.mouseY);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      ev.Kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
      ev.Key = VirtualKey(e.key.keysym.sym, e.key.keysym.scancode, e.key.keysym.mod);
      if (!ev.Key) return false;
      ev.Modifiers = Modifiers(e.key.keysym.mod);
      ev.Repeat = e.type == SDL_KEYDOWN && e.key.repeat != 0;
      ev.Window = Ours(e.key.windowID, nullptr);
      break;
    case SDL_TEXTINPUT:
      ev.Kind = InputKind::Text;
      ev.Text.assign(e.text.text, strnlen(e.text.text, sizeof e.text.text));
      if (ev.Text.empty()) return false;
      ev.Window = Ours(e.text.windowID, nullptr);
      break;
    case SDL_WINDOWEVENT:
      ev.Window = Ours(e.window.windowID, &origin);
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: ev.Kind = InputKind::CloseAsked; break;
        case SDL_WINDOWEVENT_EXPOSED: ev.Kind = InputKind::Exposed; break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: ev.Kind = InputKind::FocusGained; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: ev.Kind = InputKind::FocusLost; break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {  // every resize comes as SIZE_CHANGED, RESIZED only some
          if (!ev.Window) return false;
          int width = 0, height = 0;
          SDL_GetWindowSize(FWindows.at(ev.Window), &width, &height);
          SDL_Rect r{origin.X, origin.Y, width, height};
          if (e.window.event == SDL_WINDOWEVENT_MOVED) {
            r.x = e.window.data1;
            r.y = e.window.data2;
          } else {
            r.w = e.window.data1;
            r.h = e.window.data2;
          }
          ev.Kind = InputKind::Moved;
          ev.Bounds = FromSdl(r);
          break;
        }
        default: return false;
      }
      break;
    case SDL_QUIT:
      ev.Kind = InputKind::Quit;
      *out = std::move(ev);
      return true;
    default: return false;
  }
  if (!ev.Window) return false;  // for a window that is gone, or not ours
  *out = std::move(ev);
  return true;
}

bool SdlBackend::PollEvent(InputEvent* event) {
  if (!event) return false;
  SDL_Event e;
  for (;;) {
    while (SDL_PollEvent(&e))
      if (Translate(e, event)) return true;
    // SDL_PollEvent stops at a marker that waiting leaves in the queue, even when events
    // were queued after it; those are due now too.
    if (SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) return false;
  }
}

// A null event leaves whatever arrives in the queue for PollEvent.
void SdlBackend::WaitForEvent(uint32_t timeoutMs) {
  if (timeoutMs == 0) {
    SDL_PumpEvents();
    return;
  }
  SDL_WaitEventTimeout(nullptr, int(std::min<uint32_t>(timeoutMs, INT_MAX)));
}

uint64_t SdlBackend::Now() { return SDL_GetTicks64(); }

// ---- screen and mouse ----

RECT SdlBackend::ScreenBounds() {
  SDL_Rect r{};
  if (SDL_GetDisplayBounds(0, &r) != 0) return {};
  return FromSdl(r);
}

RECT SdlBackend::WorkArea() {
  SDL_Rect r{};
  if (SDL_GetDisplayUsableBounds(0, &r) != 0) return ScreenBounds();
  return FromSdl(r);
}

// SDL's global mouse state is only refreshed by some X servers' raw input: while the
// pointer is over one of our windows, its own motion events tell where it is.
POINT SdlBackend::CursorPos() {
  if (SDL_Window* over = SDL_GetMouseFocus(); over && Ours(SDL_GetWindowID(over), nullptr)) return FLastMouse;
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

void SdlBackend::SetCursorPos(POINT screen) {
  SDL_WarpMouseGlobal(screen.X, screen.Y);
  FLastMouse = screen;
}

void SdlBackend::SetNativeCursor(CursorShape shape) {
  if (shape == CursorShape::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
  switch (shape) {
    case CursorShape::IBeam: id = SDL_SYSTEM_CURSOR_IBEAM; break;
    case CursorShape::Wait: id = SDL_SYSTEM_CURSOR_WAIT; break;
    case CursorShape::AppStarting: id = SDL_SYSTEM_CURSOR_WAITARROW; break;
    case CursorShape::Cross: id = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
    case CursorShape::SizeNWSE: id = SDL_SYSTEM_CURSOR_SIZENWSE; break;
    case CursorShape::SizeNESW: id = SDL_SYSTEM_CURSOR_SIZENESW; break;
    case CursorShape::SizeWE: id = SDL_SYSTEM_CURSOR_SIZEWE; break;
    case CursorShape::SizeNS: id = SDL_SYSTEM_CURSOR_SIZENS; break;
    case CursorShape::SizeAll: id = SDL_SYSTEM_CURSOR_SIZEALL; break;
    case CursorShape::No: id = SDL_SYSTEM_CURSOR_NO; break;
    case CursorShape::Hand: id = SDL_SYSTEM_CURSOR_HAND; break;
    default: break;  // arrow, up arrow, help
  }
  SDL_Cursor*& cursor = FCursors[shape];
  if (!cursor) cursor = SDL_CreateSystemCursor(id);
  if (cursor) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

// SDL only captures for a window that has the focus; without one there is nothing to keep.
void SdlBackend::CaptureMouse(bool capture) { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }
