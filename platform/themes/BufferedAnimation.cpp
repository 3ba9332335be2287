#include "themes/BufferedAnimation.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "win/Paint.h"
#include "win/Queue.h"
#include "win/Timers.h"

namespace {

// The window timer that asks a window for frames while its animation runs.
constexpr uintptr_t kFrameTimerId = 0x4250;
constexpr UINT kFrameInterval = 15;
// Rectangles beyond this are refused: buffer coordinates must not overflow.
constexpr int64_t kMaxCoordinate = int64_t(1) << 28;

// A memory DC with a bitmap of a rectangle's size, in the coordinates of the rectangle.
class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() {
    if (FDC) {
      if (FOld) SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }

  // Starts as a copy of Source's pixels in the rectangle, or cleared without a source.
  bool Create(const RECT& R, BP_BUFFERFORMAT Format, HDC Source) {
    const int width = R.Right - R.Left, height = R.Bottom - R.Top;
    FDC = CreateCompatibleDC(nullptr);
    if (!FDC) return false;
    if (Format == BPBF_COMPATIBLEBITMAP) {
      FBitmap = CreateCompatibleBitmap(FDC, width, height);
    } else {
      // Monochrome DIBs are kept as 32-bit pixels like every other surface.
      BITMAPINFO info{};
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = Format == BPBF_DIB ? height : -height;
      FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    }
    if (!FBitmap) return false;
    FOld = SelectObject(FDC, FBitmap);
    SetViewportOrgEx(FDC, -R.Left, -R.Top, nullptr);
    if (Source)
      BitBlt(FDC, R.Left, R.Top, width, height, Source, R.Left, R.Top, SRCCOPY);
    else
      Pixels().Fill(0);
    return true;
  }

  HDC DC() const { return FDC; }
  Surface& Pixels() const { return *FBitmap->Pixels; }

 private:
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
};

}  // namespace

struct BufferedAnimation {
  HWND Window = nullptr;
  HDC Target = nullptr;  // the caller's, until End
  RECT Rect{};
  BP_BUFFERFORMAT Format = BPBF_COMPATIBLEBITMAP;
  DWORD Duration = 0;
  Buffer From;
  Buffer To;
  // Made when the animation starts: the frame of the moment.
  std::unique_ptr<Buffer> Frame;
  uint64_t Start = 0;
  // The duration is over and the window was asked for its last frame.
  bool LastFrameAsked = false;
};

namespace {

// What the service keeps of a window: its place in the window's procedure chain and its
// running animation.
struct WindowRecord {
  WNDPROC Previous = nullptr;
  std::unique_ptr<BufferedAnimation> Running;
};

struct ServiceState {
  bool Bound = true;
  std::map<HWND, WindowRecord> Windows;
  std::vector<std::unique_ptr<BufferedAnimation>> Begun;
};

// Never destroyed: buffers must not outlive the drawing layer at exit.
ServiceState& State() {
  static auto* state = new ServiceState;
  return *state;
}

uint64_t Now() { return GetTickCount64(); }

bool SameSize(const RECT& A, const RECT& B) {
  return A.Right - A.Left == B.Right - B.Left && A.Bottom - A.Top == B.Bottom - B.Top;
}

void Blit(HDC Target, const Buffer& Source, const RECT& R) {
  BitBlt(Target, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Source.DC(), R.Left, R.Top, SRCCOPY);
}

// Out = From + (To - From) * Elapsed / Duration for each byte, to nearest (Elapsed below
// Duration). Blue and red, then green and alpha, go two at a time: each 8-bit product sum
// stays below 2^16, so the halves never carry into each other.
void BlendFrame(const Surface& From, const Surface& To, Surface& Out, uint64_t Elapsed, uint32_t Duration) {
  const uint32_t w = uint32_t(Elapsed * 256 / Duration);
  const uint32_t iw = 256 - w;
  // Sizes in locals: a store through a row could otherwise change them for the compiler,
  // which would then not vectorise the loop.
  const int width = Out.Width(), height = Out.Height();
  for (int y = 0; y < height; ++y) {
    const uint32_t* __restrict f = From.Row(y);
    const uint32_t* __restrict t = To.Row(y);
    uint32_t* __restrict o = Out.Row(y);
    for (int x = 0; x < width; ++x) {
      const uint32_t rb = ((f[x] & 0x00FF00FFu) * iw + (t[x] & 0x00FF00FFu) * w + 0x00800080u) >> 8;
      const uint32_t ga = (((f[x] >> 8) & 0x00FF00FFu) * iw + ((t[x] >> 8) & 0x00FF00FFu) * w + 0x00800080u) >> 8;
      o[x] = (rb & 0x00FF00FFu) | ((ga & 0x00FF00FFu) << 8);
    }
  }
}

// The frame of a running animation at the current clock, into Out (same size).
void CurrentFrame(const BufferedAnimation& A, Surface& Out) {
  const uint64_t elapsed = Now() - A.Start;
  if (elapsed >= A.Duration) {
    const Surface& to = A.To.Pixels();
    for (int y = 0; y < Out.Height(); ++y) std::copy_n(to.Row(y), Out.Width(), Out.Row(y));
    return;
  }
  BlendFrame(A.From.Pixels(), A.To.Pixels(), Out, elapsed, A.Duration);
}

BufferedAnimation* RunningIn(HWND Window) {
  auto& windows = State().Windows;
  auto it = windows.find(Window);
  return it == windows.end() ? nullptr : it->second.Running.get();
}

void ForgetBegun(HWND Window) {
  std::erase_if(State().Begun, [Window](const auto& a) { return a->Window == Window; });
}

// Frees what the service keeps of a window when it goes.
LRESULT AnimationWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& windows = State().Windows;
  auto it = windows.find(hwnd);
  if (it == windows.end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  const WNDPROC next = it->second.Previous;
  if (msg == WM_NCDESTROY) {
    windows.erase(it);
    ForgetBegun(hwnd);
  }
  return CallWindowProc(next, hwnd, msg, wParam, lParam);
}

WindowRecord& Hook(HWND Window) {
  auto& windows = State().Windows;
  auto it = windows.find(Window);
  if (it != windows.end()) return it->second;
  WindowRecord& record = windows[Window];
  record.Previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Window, GWLP_WNDPROC));
  SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&AnimationWndProc));
  return record;
}

// Leaves the window's procedure chain once nothing of the window is kept. A procedure put
// in after ours keeps ours in the chain: it then passes messages on until the window goes.
void UnhookIfIdle(HWND Window) {
  auto& windows = State().Windows;
  auto it = windows.find(Window);
  if (it == windows.end() || it->second.Running) return;
  for (const auto& a : State().Begun)
    if (a->Window == Window) return;
  if (!LiveWindow(Window)) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(Window, GWLP_WNDPROC)) != &AnimationWndProc) return;
  SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<intptr_t>(it->second.Previous));
  windows.erase(it);
}

// Ends the window's running animation; true when there was one.
bool EndRunning(HWND Window) {
  auto& windows = State().Windows;
  auto it = windows.find(Window);
  if (it == windows.end() || !it->second.Running) return false;
  it->second.Running.reset();
  KillTimer(Window, kFrameTimerId);
  UnhookIfIdle(Window);
  return true;
}

// Asks for a frame; after the duration, asks once for the last one, and ends an animation
// whose window painted without rendering it.
void FrameTimerProc(HWND hwnd, UINT, uintptr_t, DWORD) {
  BufferedAnimation* a = RunningIn(hwnd);
  if (!a) {
    KillTimer(hwnd, kFrameTimerId);
    return;
  }
  if (Now() - a->Start >= a->Duration) {
    if (a->LastFrameAsked) {
      EndRunning(hwnd);
      return;
    }
    a->LastFrameAsked = true;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

bool ValidRect(const RECT* R) {
  if (!R) return false;
  for (LONG v : {R->Left, R->Top, R->Right, R->Bottom})
    if (v < -kMaxCoordinate || v > kMaxCoordinate) return false;
  return R->Right > R->Left && R->Bottom > R->Top;
}

}  // namespace

HANIMATIONBUFFER BeginBufferedAnimation(HWND Window, HDC TargetDC, const RECT* Target, BP_BUFFERFORMAT Format,
                                        const BP_PAINTPARAMS* PaintParams, const BP_ANIMATIONPARAMS* AnimationParams,
                                        HDC* FromDC, HDC* ToDC) {
  if (FromDC) *FromDC = nullptr;
  if (ToDC) *ToDC = nullptr;
  ServiceState& state = State();
  if (!state.Bound || !LiveWindow(Window) || !LiveDC(TargetDC) || !ValidRect(Target) || !ToDC) return nullptr;
  if (!AnimationParams || AnimationParams->cbSize != sizeof(BP_ANIMATIONPARAMS)) return nullptr;
  if (PaintParams && PaintParams->cbSize != sizeof(BP_PAINTPARAMS)) return nullptr;
  if (Format < BPBF_COMPATIBLEBITMAP || Format > BPBF_TOPDOWNMONODIB) return nullptr;
  const bool erase = PaintParams && (PaintParams->dwFlags & BPPF_ERASE);

  auto a = std::make_unique<BufferedAnimation>();
  a->Window = Window;
  a->Target = TargetDC;
  a->Rect = *Target;
  a->Format = Format;
  a->Duration = AnimationParams->dwDuration;
  if (!a->To.Create(a->Rect, Format, erase ? nullptr : TargetDC)) return nullptr;
  if (a->Duration > 0) {
    if (!a->From.Create(a->Rect, Format, erase ? nullptr : TargetDC)) return nullptr;
    const BufferedAnimation* running = RunningIn(Window);
    if (running && SameSize(running->Rect, a->Rect))
      CurrentFrame(*running, a->From.Pixels());  // goes on from what is on screen
    else if (FromDC)
      *FromDC = a->From.DC();
  }
  *ToDC = a->To.DC();
  Hook(Window);
  state.Begun.push_back(std::move(a));
  return state.Begun.back().get();
}

HRESULT EndBufferedAnimation(HANIMATIONBUFFER Animation, BOOL UpdateTarget) {
  auto& begun = State().Begun;
  auto it = std::find_if(begun.begin(), begun.end(), [Animation](const auto& a) { return a.get() == Animation; });
  if (!Animation || it == begun.end()) return E_INVALIDARG;
  std::unique_ptr<BufferedAnimation> a = std::move(*it);
  begun.erase(it);
  const HWND window = a->Window;
  HRESULT result = S_OK;
  if (UpdateTarget && LiveWindow(window)) {
    if (a->Duration == 0) {
      if (LiveDC(a->Target)) Blit(a->Target, a->To, a->Rect);
      // The new image is final: a fade still running would paint over it.
      EndRunning(window);
    } else {
      a->Frame = std::make_unique<Buffer>();
      if (!a->Frame->Create(a->Rect, a->Format, nullptr)) {
        if (LiveDC(a->Target)) Blit(a->Target, a->To, a->Rect);
        EndRunning(window);
        result = E_FAIL;
      } else {
        if (LiveDC(a->Target)) Blit(a->Target, a->From, a->Rect);
        a->Target = nullptr;  // later frames go to the DC of each paint
        a->Start = Now();
        Hook(window).Running = std::move(a);
        SetTimer(window, kFrameTimerId, kFrameInterval, &FrameTimerProc);
      }
    }
  }
  UnhookIfIdle(window);
  return result;
}

BOOL BufferedPaintRenderAnimation(HWND Window, HDC DC) {
  if (!State().Bound || !LiveDC(DC)) return FALSE;
  BufferedAnimation* a = RunningIn(Window);
  if (!a) return FALSE;
  const uint64_t elapsed = Now() - a->Start;
  if (elapsed >= a->Duration) {
    // Painted elsewhere than in the window's paint for its last frame (a grab, say), the
    // window is asked for that frame still: the fade ends here.
    const bool asked = a->LastFrameAsked;
    Blit(DC, a->To, a->Rect);
    EndRunning(Window);
    if (!asked) InvalidateRect(Window, nullptr, FALSE);
    return TRUE;
  }
  BlendFrame(a->From.Pixels(), a->To.Pixels(), a->Frame->Pixels(), elapsed, a->Duration);
  Blit(DC, *a->Frame, a->Rect);
  return TRUE;
}

HRESULT BufferedPaintStopAllAnimations(HWND Window) {
  if (!State().Bound) return E_FAIL;
  if (!LiveWindow(Window)) return E_INVALIDARG;
  // A running animation has not painted its last frame: the window paints its look now.
  if (EndRunning(Window)) InvalidateRect(Window, nullptr, FALSE);
  return S_OK;
}

bool BufferedAnimationBindingPresent() { return State().Bound; }

void SetBufferedAnimationBindingPresent(bool Present) { State().Bound = Present; }

size_t BufferedAnimationCount() {
  size_t count = State().Begun.size();
  for (const auto& [window, record] : State().Windows)
    if (record.Running) ++count;
  return count;
}
