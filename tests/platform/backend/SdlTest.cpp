// The SDL backend needs a display: without one (CI) the tests that open windows skip.
// Run them under a virtual X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" platform_backend_tests --gtest_filter='Sdl*'
#include <gtest/gtest.h>

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>

#include "backend/Sdl.h"

namespace {

// Changes environment variables for a scope and puts the old values back after.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) Apply(it->first, it->second);
  }
  void Set(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    FSaved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

TEST(SdlEnvironment, NoDisplayMeansNoBackendAndSaysWhy) {
  ScopedEnv env;
  env.Set("DISPLAY", std::nullopt);
  env.Set("WAYLAND_DISPLAY", std::nullopt);
  env.Set("SDL_VIDEODRIVER", "offscreen");  // a driver without a display does not count
  std::string error = "stale";
  EXPECT_EQ(SdlBackend::TryCreate(&error), nullptr);
  EXPECT_NE(error.find("DISPLAY"), std::string::npos) << error;
  EXPECT_EQ(SdlBackend::TryCreate(nullptr), nullptr) << "the reason is optional";

  env.Set("DISPLAY", "");
  EXPECT_FALSE(SdlBackend::MissingDisplay().empty()) << "an empty DISPLAY names nothing";
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_EQ(SdlBackend::MissingDisplay(), "");
  env.Set("WAYLAND_DISPLAY", std::nullopt);
  env.Set("DISPLAY", ":987");
  EXPECT_EQ(SdlBackend::MissingDisplay(), "");
}

// Even a failed start leaves a D-Bus cache behind for the leak check, so this runs where
// the display tests run rather than in the plain CI run.
TEST(SdlEnvironment, ADisplayThatIsNotThereFailsInSdl) {
  if (!SdlBackend::MissingDisplay().empty()) GTEST_SKIP() << "runs with the display tests";
  ScopedEnv env;
  env.Set("DISPLAY", ":987");
  env.Set("WAYLAND_DISPLAY", std::nullopt);
  env.Set("SDL_VIDEODRIVER", "x11");
  std::string error;
  EXPECT_EQ(SdlBackend::TryCreate(&error), nullptr);
  EXPECT_NE(error.find("SDL could not open the display"), std::string::npos) << error;
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "a failed start leaves SDL down";
}

TEST(SdlKeys, MapToWindowsVirtualKeys) {
  struct Case {
    const char* What;
    SDL_Keycode Sym;
    SDL_Scancode Scan;
    Uint16 Mods;
    uint32_t Vk;
  };
  const Case cases[] = {
      {"letter", SDLK_a, SDL_SCANCODE_A, 0, 0x41},
      {"shifted letter", SDLK_z, SDL_SCANCODE_Z, KMOD_LSHIFT, 0x5A},
      {"letters follow the layout (AZERTY A sits on US Q)", SDLK_a, SDL_SCANCODE_Q, 0, 0x41},
      {"non-Latin letters go by position (Cyrillic ef on US A)", 0x0444, SDL_SCANCODE_A, 0, 0x41},
      {"digit", SDLK_7, SDL_SCANCODE_7, 0, 0x37},
      {"the digit row stays digits (AZERTY types e-grave on 7)", 0xE8, SDL_SCANCODE_7, 0, 0x37},
      {"zero", SDLK_0, SDL_SCANCODE_0, 0, 0x30},
      {"F1", SDLK_F1, SDL_SCANCODE_F1, 0, 0x70},
      {"F12", SDLK_F12, SDL_SCANCODE_F12, 0, 0x7B},
      {"F13", SDLK_F13, SDL_SCANCODE_F13, 0, 0x7C},
      {"Return", SDLK_RETURN, SDL_SCANCODE_RETURN, 0, 0x0D},
      {"keypad Enter is Return", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NUM, 0x0D},
      {"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 0x1B},
      {"Back", SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0, 0x08},
      {"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 0, 0x2E},
      {"PageDown", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0, 0x22},
      {"Left", SDLK_LEFT, SDL_SCANCODE_LEFT, 0, 0x25},
      {"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, 0, 0x28},
      {"either Shift is VK_SHIFT", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_RSHIFT, 0x10},
      {"either Ctrl is VK_CONTROL", SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0, 0x11},
      {"AltGr is VK_MENU", SDLK_RALT, SDL_SCANCODE_RALT, 0, 0x12},
      {"keypad digit with NumLock", SDLK_KP_1, SDL_SCANCODE_KP_1, KMOD_NUM, 0x61},
      {"keypad digit without NumLock is End", SDLK_KP_1, SDL_SCANCODE_KP_1, 0, 0x23},
      {"keypad 5 without NumLock is Clear", SDLK_KP_5, SDL_SCANCODE_KP_5, 0, 0x0C},
      {"keypad period without NumLock is Delete", SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 0, 0x2E},
      {"keypad divide even where the layout says '/'", '/', SDL_SCANCODE_KP_DIVIDE, 0, 0x6F},
      {"punctuation by character (German '-' on US '/')", SDLK_MINUS, SDL_SCANCODE_SLASH, 0, 0xBD},
      {"non-ASCII punctuation by position (German o-umlaut on US ';')", 0xF6, SDL_SCANCODE_SEMICOLON, 0, 0xBA},
      {"a key Windows has no code for", SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, 0, 0},
      {"unknown", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SdlBackend::VirtualKey(c.Sym, c.Scan, c.Mods), c.Vk) << c.What;
}

// ---- with a display ----

constexpr RECT kBounds{100, 120, 140, 150};  // 40 x 30

class Sdl : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    B = SdlBackend::TryCreate(&error);
    if (!B) GTEST_SKIP() << "no SDL display: " << error;
    Drain();
  }

  NativeWindowId Window(RECT bounds = kBounds, NativeWindowKind kind = NativeWindowKind::Normal,
                        bool topMost = false) {
    const NativeWindowId id = B->CreateNativeWindow({kind, bounds, "Quorvane SDL test", topMost});
    EXPECT_NE(id, 0u) << SDL_GetError();
    return id;
  }

  void Drain() {
    InputEvent e;
    while (B->PollEvent(&e)) {
    }
  }

  static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }

  // The colour (0xRRGGBB) the window shows at x, y.
  uint32_t Shown(NativeWindowId id, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(B->SdlWindow(id));
    if (!s || x >= s->w || y >= s->h || s->format->BytesPerPixel != 4) {
      ADD_FAILURE() << "cannot read the window surface at " << x << "," << y;
      return 0xDEADBEEF;
    }
    const Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(s->pixels) +
                                                          size_t(y) * size_t(s->pitch) + size_t(x) * 4);
    Uint8 r, g, b, a;
    SDL_GetRGBA(pixel, s->format, &r, &g, &b, &a);
    EXPECT_EQ(a, 255) << "window pixels are opaque";
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
  }

  std::unique_ptr<SdlBackend> B;
};

TEST_F(Sdl, WindowsAreBorderlessHiddenAndOfTheirKind) {
  struct Case {
    NativeWindowKind Kind;
    bool TopMost;
    Uint32 Want;
    Uint32 Unwanted;
  };
  constexpr Uint32 kAlways = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
  constexpr Uint32 kFloating = SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
  const Case cases[] = {
      {NativeWindowKind::Normal, false, kAlways, kFloating | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_TOOLTIP},
      {NativeWindowKind::Normal, true, kAlways | SDL_WINDOW_ALWAYS_ON_TOP, SDL_WINDOW_SKIP_TASKBAR},
      {NativeWindowKind::Popup, false, kAlways | kFloating | SDL_WINDOW_POPUP_MENU, SDL_WINDOW_TOOLTIP},
      {NativeWindowKind::Tooltip, false, kAlways | kFloating | SDL_WINDOW_TOOLTIP, SDL_WINDOW_POPUP_MENU},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.Kind) << " topmost " << c.TopMost);
    const NativeWindowId id = Window(kBounds, c.Kind, c.TopMost);
    SDL_Window* w = B->SdlWindow(id);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(w), "Quorvane SDL test");
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &width, &height);
    EXPECT_EQ((RECT{x, y, x + width, y + height}), kBounds);
    const Uint32 flags = SDL_GetWindowFlags(w);
    EXPECT_EQ(flags & c.Want, c.Want);
    EXPECT_EQ(flags & c.Unwanted, 0u);
    B->DestroyNativeWindow(id);
  }
}

TEST_F(Sdl, WindowsFollowOurChangesAndGoAway) {
  const NativeWindowId id = Window();
  SDL_Window* w = B->SdlWindow(id);
  ASSERT_NE(w, nullptr);
  B->SetNativeWindowTitle(id, "Renamed \xC3\xA9");
  EXPECT_STREQ(SDL_GetWindowTitle(w), "Renamed \xC3\xA9");

  B->SetNativeWindowBounds(id, {200, 210, 260, 250});
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(w, &x, &y);
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ((RECT{x, y, x + width, y + height}), (RECT{200, 210, 260, 250}));
  B->SetNativeWindowBounds(id, {300, 300, 250, 250});  // inside out: the smallest window
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(height, 1);
  B->SetNativeWindowBounds(id, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});  // no overflow on the way
  B->SetNativeWindowBounds(id, kBounds);

  B->ShowNativeWindow(id, true, true);
  EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN);
  B->SetNativeWindowOpacity(id, 128);
  B->ShowNativeWindow(id, false, false);
  EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_HIDDEN);

  const Uint32 sdlId = SDL_GetWindowID(w);
  B->DestroyNativeWindow(id);
  EXPECT_EQ(B->SdlWindow(id), nullptr);
  EXPECT_EQ(SDL_GetWindowFromID(sdlId), nullptr);
  Surface s(40, 30);
  B->Present(id, s, Region(s.Bounds()));  // unknown ids are ignored
  B->ShowNativeWindow(id, true, true);
  B->DestroyNativeWindow(id);
}

TEST_F(Sdl, PresentShowsTheDamagedPartOpaque) {
  for (const bool bottomUp : {false, true}) {
    SCOPED_TRACE(bottomUp ? "bottom-up surface" : "top-down surface");
    const NativeWindowId id = Window();
    Surface s(40, 30, bottomUp);
    s.Fill(0xFF102030u);
    B->Present(id, s, Region(s.Bounds()));
    s.Fill(0x00405060u);  // alpha 0 must not show as black or see-through
    s.At(12, 7) = 0x80A0B0C0u;
    B->Present(id, s, Region(RECT{10, 5, 20, 15}));
    EXPECT_EQ(Shown(id, 12, 7), 0xA0B0C0u) << "rows in their order";
    EXPECT_EQ(Shown(id, 10, 5), 0x405060u);
    EXPECT_EQ(Shown(id, 19, 14), 0x405060u);
    EXPECT_EQ(Shown(id, 9, 5), 0x102030u) << "left of the damage";
    EXPECT_EQ(Shown(id, 20, 14), 0x102030u) << "right of the damage";
    EXPECT_EQ(Shown(id, 15, 15), 0x102030u) << "below the damage";
    B->Present(id, s, Region(RECT{-50, -50, 500, 500}));  // damage past the edges is cut
    EXPECT_EQ(Shown(id, 39, 29), 0x405060u);
    B->DestroyNativeWindow(id);
  }
}

TEST_F(Sdl, PresentAfterAResizeFillsTheNewSize) {
  const NativeWindowId id = Window();
  Surface small(40, 30);
  small.Fill(0xFF111111u);
  B->Present(id, small, Region(small.Bounds()));
  B->SetNativeWindowBounds(id, {100, 120, 180, 190});
  Surface big(80, 70);
  big.Fill(0xFF223344u);
  B->Present(id, big, Region(big.Bounds()));
  EXPECT_EQ(SDL_GetWindowSurface(B->SdlWindow(id))->w, 80);
  EXPECT_EQ(Shown(id, 79, 69), 0x223344u);
  EXPECT_EQ(Shown(id, 0, 0), 0x223344u);
  // A surface smaller than the window shows what it has.
  B->Present(id, small, Region(RECT{0, 0, 80, 70}));
  EXPECT_EQ(Shown(id, 39, 29), 0x111111u);
  EXPECT_EQ(Shown(id, 40, 30), 0x223344u);
}

// ---- SDL events as the display server would queue them ----

SDL_Event MouseButton(Uint32 type, Uint32 window, Uint8 button, Sint32 x, Sint32 y) {
  SDL_Event e{};
  e.button.type = type;
  e.button.windowID = window;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  return e;
}

SDL_Event MouseMotion(Uint32 window, Sint32 x, Sint32 y) {
  SDL_Event e{};
  e.motion.type = SDL_MOUSEMOTION;
  e.motion.windowID = window;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

SDL_Event Wheel(Uint32 window, Sint32 x, Sint32 y, Uint32 direction, Sint32 mouseX, Sint32 mouseY) {
  SDL_Event e{};
  e.wheel.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = window;
  e.wheel.x = x;
  e.wheel.y = y;
  e.wheel.direction = direction;
  e.wheel.mouseX = mouseX;
  e.wheel.mouseY = mouseY;
  return e;
}

SDL_Event Key(Uint32 type, Uint32 window, SDL_Scancode scan, SDL_Keycode sym, Uint16 mods, bool repeat) {
  SDL_Event e{};
  e.key.type = type;
  e.key.windowID = window;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat;
  e.key.keysym.scancode = scan;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mods;
  return e;
}

SDL_Event Text(Uint32 window, const char* text) {
  SDL_Event e{};
  e.text.type = SDL_TEXTINPUT;
  e.text.windowID = window;
  SDL_strlcpy(e.text.text, text, sizeof e.text.text);
  return e;
}

SDL_Event WindowEvent(Uint32 window, Uint8 event, Sint32 data1 = 0, Sint32 data2 = 0) {
  SDL_Event e{};
  e.window.type = SDL_WINDOWEVENT;
  e.window.windowID = window;
  e.window.event = event;
  e.window.data1 = data1;
  e.window.data2 = data2;
  return e;
}

SDL_Event OfType(Uint32 type) {
  SDL_Event e{};
  e.type = type;
  return e;
}

TEST_F(Sdl, EventsBecomeInputInScreenCoordinates) {
  const NativeWindowId id = Window();
  const Uint32 sdlId = SDL_GetWindowID(B->SdlWindow(id));
  struct Case {
    const char* What;
    SDL_Event Event;
    InputEvent Want;
  };
  const Case cases[] = {
      {"right button down", MouseButton(SDL_MOUSEBUTTONDOWN, sdlId, SDL_BUTTON_RIGHT, 7, 9),
       {.Kind = InputKind::MouseDown, .Window = id, .Screen = {107, 129}, .Button = kButtonRight}},
      {"left button up", MouseButton(SDL_MOUSEBUTTONUP, sdlId, SDL_BUTTON_LEFT, 0, 0),
       {.Kind = InputKind::MouseUp, .Window = id, .Screen = {100, 120}, .Button = kButtonLeft}},
      {"middle button, outside the window while captured",
       MouseButton(SDL_MOUSEBUTTONDOWN, sdlId, SDL_BUTTON_MIDDLE, -5, 40),
       {.Kind = InputKind::MouseDown, .Window = id, .Screen = {95, 160}, .Button = kButtonMiddle}},
      {"motion", MouseMotion(sdlId, 5, 6), {.Kind = InputKind::MouseMove, .Window = id, .Screen = {105, 126}}},
      {"wheel away from the user", Wheel(sdlId, 0, 2, SDL_MOUSEWHEEL_NORMAL, 3, 4),
       {.Kind = InputKind::MouseWheel, .Window = id, .Screen = {103, 124}, .WheelDelta = 240}},
      {"wheel with a flipped direction", Wheel(sdlId, 0, 1, SDL_MOUSEWHEEL_FLIPPED, 0, 0),
       {.Kind = InputKind::MouseWheel, .Window = id, .Screen = {100, 120}, .WheelDelta = -120}},
      {"key down, repeated, with modifiers",
       Key(SDL_KEYDOWN, sdlId, SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT | KMOD_RCTRL | KMOD_NUM, true),
       {.Kind = InputKind::KeyDown, .Window = id, .Key = 0x41, .Modifiers = kModShift | kModCtrl, .Repeat = true}},
      {"key up", Key(SDL_KEYUP, sdlId, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_LALT, false),
       {.Kind = InputKind::KeyUp, .Window = id, .Key = 0x1B, .Modifiers = kModAlt}},
      {"text", Text(sdlId, "\xC3\xA9!"), {.Kind = InputKind::Text, .Window = id, .Text = "\xC3\xA9!"}},
      {"close", WindowEvent(sdlId, SDL_WINDOWEVENT_CLOSE), {.Kind = InputKind::CloseAsked, .Window = id}},
      {"exposed", WindowEvent(sdlId, SDL_WINDOWEVENT_EXPOSED), {.Kind = InputKind::Exposed, .Window = id}},
      {"moved keeps the size", WindowEvent(sdlId, SDL_WINDOWEVENT_MOVED, 300, 310),
       {.Kind = InputKind::Moved, .Window = id, .Bounds = {300, 310, 340, 340}}},
      {"resized keeps the position", WindowEvent(sdlId, SDL_WINDOWEVENT_SIZE_CHANGED, 50, 60),
       {.Kind = InputKind::Moved, .Window = id, .Bounds = {100, 120, 150, 180}}},
      {"focus gained", WindowEvent(sdlId, SDL_WINDOWEVENT_FOCUS_GAINED),
       {.Kind = InputKind::FocusGained, .Window = id}},
      {"focus lost", WindowEvent(sdlId, SDL_WINDOWEVENT_FOCUS_LOST), {.Kind = InputKind::FocusLost, .Window = id}},
      {"quit", OfType(SDL_QUIT), {.Kind = InputKind::Quit, .Window = 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Push(c.Event);
    const uint64_t before = B->Now();
    InputEvent got;
    ASSERT_TRUE(B->PollEvent(&got));
    const InputEvent& want = c.Want;
    EXPECT_EQ(got.Kind, want.Kind);
    EXPECT_EQ(got.Window, want.Window);
    EXPECT_EQ(got.Screen, want.Screen);
    EXPECT_EQ(got.Button, want.Button);
    EXPECT_EQ(got.WheelDelta, want.WheelDelta);
    EXPECT_EQ(got.Key, want.Key);
    EXPECT_EQ(got.Modifiers, want.Modifiers);
    EXPECT_EQ(got.Repeat, want.Repeat);
    EXPECT_EQ(got.Text, want.Text);
    EXPECT_EQ(got.Bounds, want.Bounds);
    EXPECT_GE(got.Time, before);
    EXPECT_LE(got.Time, B->Now());
    EXPECT_FALSE(B->PollEvent(&got)) << "one SDL event, one input event";
  }
}

TEST_F(Sdl, EventsThatMeanNothingHereAreSkipped) {
  const NativeWindowId id = Window();
  const NativeWindowId gone = Window();
  const Uint32 sdlId = SDL_GetWindowID(B->SdlWindow(id));
  const Uint32 goneSdlId = SDL_GetWindowID(B->SdlWindow(gone));
  B->DestroyNativeWindow(gone);
  const std::pair<const char*, SDL_Event> cases[] = {
      {"a side button", MouseButton(SDL_MOUSEBUTTONDOWN, sdlId, SDL_BUTTON_X1, 1, 1)},
      {"sideways scrolling", Wheel(sdlId, 1, 0, SDL_MOUSEWHEEL_NORMAL, 1, 1)},
      {"a key without a virtual-key code", Key(SDL_KEYDOWN, sdlId, SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, 0, false)},
      {"a window event we do not use", WindowEvent(sdlId, SDL_WINDOWEVENT_SHOWN)},
      {"a destroyed window", MouseButton(SDL_MOUSEBUTTONDOWN, goneSdlId, SDL_BUTTON_LEFT, 1, 1)},
      {"no window", MouseMotion(0, 1, 1)},
      {"an event type of someone else", OfType(SDL_USEREVENT)},
  };
  for (const auto& [what, event] : cases) {
    SCOPED_TRACE(what);
    Push(event);
    Push(WindowEvent(sdlId, SDL_WINDOWEVENT_EXPOSED));
    InputEvent got;
    ASSERT_TRUE(B->PollEvent(&got));
    EXPECT_EQ(got.Kind, InputKind::Exposed) << "the skipped event came out as something";
    EXPECT_FALSE(B->PollEvent(&got));
  }
}

TEST_F(Sdl, WaitForEventReturnsEarlyAndKeepsTheEvent) {
  using Clock = std::chrono::steady_clock;
  const NativeWindowId id = Window();
  auto start = Clock::now();
  B->WaitForEvent(80);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60)) << "nothing queued: it waits";

  Push(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_GetWindowID(B->SdlWindow(id)), SDL_BUTTON_LEFT, 1, 2));
  start = Clock::now();
  B->WaitForEvent(5000);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
  B->WaitForEvent(0);
  InputEvent got;
  ASSERT_TRUE(B->PollEvent(&got)) << "waiting took the event away";
  EXPECT_EQ(got.Kind, InputKind::MouseDown);
  EXPECT_EQ(got.Screen, (POINT{101, 122}));
}

TEST_F(Sdl, CursorShapesShowAndHide) {
  SDL_Cursor* last = nullptr;
  for (CursorShape shape : {CursorShape::Arrow, CursorShape::IBeam, CursorShape::Hand, CursorShape::SizeWE,
                            CursorShape::SizeNS, CursorShape::SizeAll, CursorShape::Wait}) {
    B->SetNativeCursor(shape);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SDL_Cursor* now = SDL_GetCursor();
    EXPECT_NE(now, nullptr);
    EXPECT_NE(now, last) << int(shape);  // each shape its own cursor
    last = now;
  }
  B->SetNativeCursor(CursorShape::Hidden);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  B->SetNativeCursor(CursorShape::Arrow);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(Sdl, ScreenCursorAndClock) {
  const RECT screen = B->ScreenBounds();
  const RECT work = B->WorkArea();
  EXPECT_FALSE(screen.IsEmpty());
  EXPECT_FALSE(work.IsEmpty());
  EXPECT_TRUE(work.Left >= screen.Left && work.Top >= screen.Top && work.Right <= screen.Right &&
              work.Bottom <= screen.Bottom);

  const POINT to{screen.Left + 123, screen.Top + 45};
  B->SetCursorPos(to);
  EXPECT_EQ(B->CursorPos(), to);

  const uint64_t t0 = B->Now();
  SDL_Delay(15);
  EXPECT_GE(B->Now(), t0 + 15);

  B->Beep(0x30);
  EXPECT_EQ(B->Beeps(), std::vector<uint32_t>{0x30});
}

// Programs swap backends by creating the new one first: the old one going must not shut
// SDL down under the new one.
TEST_F(Sdl, ASecondBackendOutlivesTheFirst) {
  std::string error;
  std::unique_ptr<SdlBackend> second = SdlBackend::TryCreate(&error);
  ASSERT_NE(second, nullptr) << error;
  const NativeWindowId id = second->CreateNativeWindow({NativeWindowKind::Normal, kBounds, "Second", false});
  B.reset();
  ASSERT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  SDL_Window* w = second->SdlWindow(id);
  ASSERT_EQ(SDL_GetWindowFromID(SDL_GetWindowID(w)), w);
  EXPECT_STREQ(SDL_GetWindowTitle(w), "Second");
  Surface s(40, 30);
  s.Fill(0xFF445566u);
  second->Present(id, s, Region(s.Bounds()));
  EXPECT_NE(SDL_GetWindowSurface(w), nullptr);
}

}  // namespace
