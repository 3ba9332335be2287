// Real windows through SDL2: each native window is a borderless SDL window showing a
// software surface (the framework draws captions and frames itself), and SDL's events
// become InputEvents in screen coordinates with Windows virtual-key codes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Backend.h"

struct SDL_Window;
union SDL_Event;

class SdlBackend : public Backend {
 public:
  // Null, with the reason in *error (when given), when there is no display to open, so a
  // program can stay headless.
  static std::unique_ptr<SdlBackend> TryCreate(std::string* error);
  // Why the environment names no display (neither DISPLAY nor WAYLAND_DISPLAY); empty
  // when it names one.
  static std::string MissingDisplay();
  // The Windows virtual-key code of an SDL key (keycode, scancode, key modifiers); 0 for
  // keys without one.
  static uint32_t VirtualKey(int32_t keycode, int32_t scancode, uint32_t sdlMods);

  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;
  ~SdlBackend() override;

  NativeWindowId CreateNativeWindow(const NativeWindowDesc& desc) override;
  void DestroyNativeWindow(NativeWindowId id) override;
  void ShowNativeWindow(NativeWindowId id, bool visible, bool activate) override;
  void SetNativeWindowBounds(NativeWindowId id, const RECT& screenBounds) override;
  void SetNativeWindowTitle(NativeWindowId id, const String& title) override;
  void SetNativeWindowOpacity(NativeWindowId id, uint8_t alpha) override;
  void Present(NativeWindowId id, const Surface& surface, const Region& damaged) override;

  bool PollEvent(InputEvent* event) override;
  void WaitForEvent(uint32_t timeoutMs) override;
  uint64_t Now() override;

  RECT ScreenBounds() override;
  RECT WorkArea() override;
  POINT CursorPos() override;
  void SetCursorPos(POINT screen) override;
  void SetNativeCursor(CursorShape shape) override;
  void CaptureMouse(bool capture) override;
  void Beep(uint32_t kind) override { FBeeps.push_back(kind); }

  // The SDL window behind one of ours; null for an unknown or destroyed id.
  SDL_Window* SdlWindow(NativeWindowId id) const;
  const std::vector<uint32_t>& Beeps() const { return FBeeps; }

 private:
  SdlBackend() = default;

  // False for events that mean nothing to the window system.
  bool Translate(const SDL_Event& e, InputEvent* out);
  // Our id for an SDL window id and the window's screen position; 0 when it is not ours.
  NativeWindowId Ours(uint32_t sdlWindowId, POINT* origin) const;

  NativeWindowId FNextId = 1;
  std::map<NativeWindowId, SDL_Window*> FWindows;
  std::map<uint32_t, NativeWindowId> FBySdlId;
  std::vector<uint32_t> FBeeps;
  // SDL's system cursors, made on first use and kept while SDL runs.
  std::map<CursorShape, struct SDL_Cursor*> FCursors;
  // The pointer's screen position from our windows' motion events.
  POINT FLastMouse{};
};
