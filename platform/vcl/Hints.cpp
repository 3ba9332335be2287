#include "Hints.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "Forms.h"
#include "win/Input.h"
#include "win/Paint.h"

std::function<bool(HDC DC, const TRect& R, THintKind Kind, THintPart Part, TColor& Color)> HintPainterHook;

std::function<THintWindow*(TComponent* AOwner)> HintWindowClass = [](TComponent* AOwner) {
  return new THintWindow(AOwner);
};

namespace {

// Longest side a hint window takes: a text of thousands of lines still gives a window
// that fits the screen.
TRect ScreenLimits() { return Rect(0, 0, Screen->Width(), Screen->Height()); }

// Classic look and the painter of the active style share these two steps.
TColor PaintHintBackground(TCanvas* Canvas, const TRect& R, THintKind Kind, TColor Color) {
  TColor text = Screen->HintFont()->Color();
  if (HintPainterHook && HintPainterHook(Canvas->Handle(), R, Kind, hpBackground, text)) return text;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
  return Screen->HintFont()->Color();
}

COLORREF HintFrameColor(HDC DC, const TRect& R, THintKind Kind) {
  TColor color = clWindowFrame;
  if (HintPainterHook) HintPainterHook(DC, R, Kind, hpFrame, color);
  return ColorToRGB(color);
}

void PaintHintFrame(HDC DC, const TRect& R, THintKind Kind) {
  HBRUSH frame = CreateSolidBrush(HintFrameColor(DC, R, Kind));
  RECT r = R;
  FrameRect(DC, &r, frame);
  DeleteObject(frame);
}

}  // namespace

TPoint HintPosBelowCursor(const TPoint& Cursor) {
  return Point(Cursor.X, Cursor.Y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3);
}

// ---- THintWindow ----

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Canvas()->SetFont(Screen->HintFont());
  SetControlStyle(ControlStyle() + csOpaque);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    // The mouse goes through a hint to what lies below it.
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; return;
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(Handle());
      NCPaint(dc);
      ReleaseDC(Handle(), dc);
      Message.Result = 0;
      return;
    }
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: TCustomControl::Dispatch(Message); return;
  }
}

void THintWindow::NCPaint(HDC DC) {
  RECT w{};
  GetWindowRect(Handle(), &w);
  PaintHintFrame(DC, Rect(0, 0, w.Width(), w.Height()), hkStandard);
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  const TColor text = PaintHintBackground(Canvas(), r, hkStandard, Color());
  Canvas()->SetFont(Screen->HintFont());
  Canvas()->Font()->SetColor(text);
  Canvas()->Brush()->SetStyle(bsClear);
  r.Left += 2;
  r.Top += 2;
  const String caption = Caption();
  DrawText(Canvas()->Handle(), caption.c_str(), -1, &r,
           DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DrawTextBiDiModeFlagsReadingOnly());
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
  const TRect screen = ScreenLimits();
  if (MaxWidth <= 0 || MaxWidth > screen.Width()) MaxWidth = screen.Width();
  Canvas()->SetFont(Screen->HintFont());
  RECT r{0, 0, MaxWidth, 0};
  DrawText(Canvas()->Handle(), AHint.c_str(), -1, &r,
           DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  // Text, a margin of 2 and the frame; no bigger than the screen.
  const int width = int(std::min<int64_t>(int64_t(r.Width()) + 8, screen.Width()));
  const int height = int(std::min<int64_t>(int64_t(r.Height()) + 6, screen.Height()));
  return Rect(0, 0, std::max(width, 8), std::max(height, 6));
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) { ActivateHintData(Rect, AHint, nullptr); }

void THintWindow::ActivateHintData(const TRect& Rect, const String& AHint, void*) {
  SetCaption(AHint);
  const TRect r = KeepInside(Rect, WorkAreaAt(Rect.TopLeft()));
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  Update();
}

bool THintWindow::IsHintMsg(const MSG& Msg) const {
  const UINT m = Msg.message;
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == CM_APPKEYDOWN ||
         m == CM_APPSYSCOMMAND || m == WM_COMMAND || (m > WM_MOUSEMOVE && m <= WM_MOUSELAST) ||
         (m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK);
}

void THintWindow::ReleaseHandle() {
  if (HandleAllocated()) DestroyHandle();
}

// ---- TCustomHintWindow ----

namespace {
constexpr int kBalloonMargin = 8;
constexpr int kBalloonStem = 12;
constexpr int kBalloonRadius = 10;
constexpr int kBalloonMaxTextWidth = 320;
}  // namespace

TCustomHintWindow::TCustomHintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  SetControlStyle(ControlStyle() + csOpaque);
}

TBalloonHintStyle TCustomHintWindow::Style() const { return FHintParent ? FHintParent->Style() : bhsBalloon; }

int TCustomHintWindow::StemHeight() const { return Style() == bhsBalloon ? kBalloonStem : 0; }

void TCustomHintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

void TCustomHintWindow::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateShape();
}

void TCustomHintWindow::Resize() {
  TCustomControl::Resize();
  UpdateShape();
}

TRect TCustomHintWindow::ContentRect() const {
  TRect r = Rect(0, 0, Width(), Height());
  if (FPopAbove)
    r.Bottom -= StemHeight();
  else
    r.Top += StemHeight();
  InflateRect(&r, -kBalloonMargin, -kBalloonMargin);
  return r;
}

namespace {

struct BalloonLayout {
  TSize Title{};
  TSize Text{};
  TSize Image{};
};

// Measures with the hint font (the title in bold); texts are wrapped at a readable width
// and a window never outgrows the screen.
BalloonLayout MeasureBalloon(TCanvas* Canvas, const String& Title, const String& Text, TCustomImageList* Images,
                             int ImageIndex, UINT BiDiFlags) {
  BalloonLayout l;
  const auto measure = [&](const String& s, bool bold) {
    if (s.empty()) return TSize{};
    Canvas->SetFont(Screen->HintFont());
    if (bold) Canvas->Font()->SetStyle(Canvas->Font()->Style() + fsBold);
    RECT r{0, 0, kBalloonMaxTextWidth, 0};
    DrawText(Canvas->Handle(), s.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | BiDiFlags);
    return TSize{r.Width(), r.Height()};
  };
  l.Title = measure(Title, true);
  l.Text = measure(Text, false);
  if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) l.Image = {Images->Width(), Images->Height()};
  return l;
}

}  // namespace

void TCustomHintWindow::AutoSize() {
  TCustomImageList* images = FHintParent ? FHintParent->Images() : nullptr;
  const BalloonLayout l =
      MeasureBalloon(Canvas(), FTitle, FDescription, images, FImageIndex, DrawTextBiDiModeFlagsReadingOnly());
  const int gap = l.Title.cy > 0 && l.Text.cy > 0 ? 4 : 0;
  const int textWidth = std::max(l.Title.cx, l.Text.cx);
  const int textHeight = l.Title.cy + gap + l.Text.cy;
  const int imageWidth = l.Image.cx > 0 ? l.Image.cx + kBalloonMargin : 0;
  const TRect screen = ScreenLimits();
  int w = imageWidth + textWidth + 2 * kBalloonMargin;
  int h = std::max(textHeight, int(l.Image.cy)) + 2 * kBalloonMargin + StemHeight();
  w = std::clamp(w, 2 * kBalloonRadius + 2 * kBalloonStem, std::max(screen.Width(), 1));
  h = std::clamp(h, 2 * kBalloonRadius + StemHeight(), std::max(screen.Height(), 1));
  SetBounds(Left(), Top(), w, h);
}

namespace {

// Where the stem starts so that it points at X and stays off the rounded corners.
int StemPosition(int X, int Width) {
  const int first = kBalloonRadius;
  const int last = std::max(Width - kBalloonRadius - kBalloonStem, first);
  return std::clamp(X, first, last);
}

}  // namespace

void TCustomHintWindow::PositionAt(const TPoint& Point) {
  AutoSize();
  FPopAbove = false;
  const TRect r = KeepInside(Bounds(Point.X, Point.Y, Width(), Height()), WorkAreaAt(Point));
  FStemX = StemPosition(Point.X - r.Left, r.Width());
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  UpdateShape();
}

void TCustomHintWindow::PositionAt(const TRect& Rect) {
  AutoSize();
  const int centre = Rect.Left + Rect.Width() / 2;
  TRect r = Bounds(centre - Width() / 2, Rect.Bottom, Width(), Height());
  FPopAbove = r.Top > ScreenLimits().Height() / 2;
  if (FPopAbove) OffsetRect(&r, 0, Rect.Top - Height() - r.Top);
  r = KeepInside(r, WorkAreaAt(Point(centre, Rect.Bottom)));
  FStemX = StemPosition(centre - r.Left, r.Width());
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  UpdateShape();
}

void TCustomHintWindow::AimStemAt(int X) {
  FStemX = StemPosition(X, Width());
  UpdateShape();
}

void TCustomHintWindow::PositionAtCursor() {
  POINT p{};
  GetCursorPos(&p);
  PositionAt(HintPosBelowCursor(p));
}

void TCustomHintWindow::UpdateShape() {
  if (!HandleAllocated()) return;
  if (Style() != bhsBalloon || Width() <= 0 || Height() <= 0) {
    SetWindowRgn(Handle(), nullptr, TRUE);
    return;
  }
  const int stem = StemHeight();
  const int bodyTop = FPopAbove ? 0 : stem;
  const int bodyBottom = FPopAbove ? Height() - stem : Height();
  HRGN body = CreateRoundRectRgn(0, bodyTop, Width() + 1, bodyBottom + 1, kBalloonRadius * 2, kBalloonRadius * 2);
  const int x = FStemX;
  POINT tip[3];
  if (FPopAbove) {
    tip[0] = {x, bodyBottom - 1};
    tip[1] = {x + stem, bodyBottom - 1};
    tip[2] = {x, Height()};
  } else {
    tip[0] = {x, bodyTop + 1};
    tip[1] = {x + stem, bodyTop + 1};
    tip[2] = {x, 0};
  }
  HRGN stemRgn = CreatePolygonRgn(tip, 3, WINDING);
  CombineRgn(body, body, stemRgn, RGN_OR);
  DeleteObject(stemRgn);
  SetWindowRgn(Handle(), body, TRUE);
}

void TCustomHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_LBUTTONDOWN:
      // A click on the balloon puts it away.
      if (FHintParent) {
        FHintParent->HideHint();
        return;
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomHintWindow::Paint() {
  const TRect all = Rect(0, 0, Width(), Height());
  const THintKind kind = Style() == bhsBalloon ? hkBalloon : hkStandard;
  const TColor text = PaintHintBackground(Canvas(), all, kind, Color());
  // The frame follows the window's shape.
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(Handle(), shape) == ERROR_REGION) SetRectRgn(shape, 0, 0, Width(), Height());
  HBRUSH frame = CreateSolidBrush(HintFrameColor(Canvas()->Handle(), all, kind));
  FrameRgn(Canvas()->Handle(), shape, frame, 1, 1);
  DeleteObject(frame);
  DeleteObject(shape);

  TCustomImageList* images = FHintParent ? FHintParent->Images() : nullptr;
  const UINT bidi = DrawTextBiDiModeFlagsReadingOnly();
  const BalloonLayout l = MeasureBalloon(Canvas(), FTitle, FDescription, images, FImageIndex, bidi);
  TRect c = ContentRect();
  if (l.Image.cx > 0) {
    images->Draw(Canvas(), c.Left, c.Top, FImageIndex);
    c.Left += l.Image.cx + kBalloonMargin;
  }
  Canvas()->Brush()->SetStyle(bsClear);
  if (!FTitle.empty()) {
    Canvas()->SetFont(Screen->HintFont());
    Canvas()->Font()->SetStyle(Canvas()->Font()->Style() + fsBold);
    Canvas()->Font()->SetColor(text);
    RECT r = Rect(c.Left, c.Top, c.Right, c.Top + l.Title.cy);
    DrawText(Canvas()->Handle(), FTitle.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | bidi);
    c.Top += l.Title.cy + 4;
  }
  if (!FDescription.empty()) {
    Canvas()->SetFont(Screen->HintFont());
    Canvas()->Font()->SetColor(text);
    RECT r = c;
    DrawText(Canvas()->Handle(), FDescription.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | bidi);
  }
}

// ---- the show/hide queue of a hint component ----

// Runs the windows of one hint component on the message loop: a window waits for the
// hint's Delay, fades in, stays HideAfter milliseconds and fades out; then it is hidden
// and released. One window shows at a time: a newer one puts the older one away.
class TCustomHintShowHide : public TObject {
  QV_CLASS(TCustomHintShowHide, TObject)
 public:
  explicit TCustomHintShowHide(TCustomHint* Hint) : FHint(Hint), FTimer(new TTimer(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject*) { Tick(); };
  }
  ~TCustomHintShowHide() override {
    HideAll();
    delete FTimer;
  }

  void Queue(TCustomHintWindow* Window) {
    HideAll();
    FWindow = Window;
    FPhase = Phase::Waiting;
    Arm(uint32_t(std::max(FHint->Delay(), 1)));
  }

  void HideAll() {
    FTimer->SetEnabled(false);
    FPhase = Phase::Idle;
    if (TCustomHintWindow* w = FWindow) {
      FWindow = nullptr;
      Retire(w);
    }
  }

  TCustomHintWindow* Window() const { return FWindow; }

 private:
  enum class Phase { Idle, Waiting, FadingIn, Showing, FadingOut };
  static constexpr uint32_t kFadeStepMs = 15;
  static constexpr int kFadeStep = 51;  // five steps from 0 to 255

  void Arm(uint32_t Ms) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(Ms);
    FTimer->SetEnabled(true);
  }

  void SetAlpha(int Alpha) {
    FAlpha = std::clamp(Alpha, 0, 255);
    if (FWindow && FWindow->HandleAllocated()) SetLayeredWindowAttributes(FWindow->Handle(), 0, BYTE(FAlpha), LWA_ALPHA);
  }

  void Show() {
    HWND h = FWindow->Handle();
    if (FHint->Animate()) {
      SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
      SetAlpha(0);
    }
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The window hears WM_SHOWWINDOW first and may move (or hide the hint).
    TCustomHintWindow* window = FWindow;
    ShowWindow(h, SW_SHOWNOACTIVATE);
    if (FWindow != window || !IsWindow(h)) return;
    FWindow->Invalidate();
    if (FHint->Animate()) {
      FPhase = Phase::FadingIn;
      Arm(kFadeStepMs);
    } else {
      Shown();
    }
  }

  void Shown() {
    FPhase = Phase::Showing;
    if (FHint->HideAfter() > 0)
      Arm(uint32_t(FHint->HideAfter()));
    else
      FTimer->SetEnabled(false);
  }

  void Tick() {
    if (!FWindow) {
      FTimer->SetEnabled(false);
      return;
    }
    switch (FPhase) {
      case Phase::Waiting: Show(); break;
      case Phase::FadingIn:
        SetAlpha(FAlpha + kFadeStep);
        if (FAlpha >= 255) Shown();
        break;
      case Phase::Showing:
        if (FHint->Animate()) {
          FPhase = Phase::FadingOut;
          Arm(kFadeStepMs);
        } else {
          Finish();
        }
        break;
      case Phase::FadingOut:
        SetAlpha(FAlpha - kFadeStep);
        if (FAlpha <= 0) Finish();
        break;
      case Phase::Idle: FTimer->SetEnabled(false); break;
    }
  }

  // The window's time is over: the hint is no longer showing. OnHide may free the hint
  // (and this object with it), so nothing is touched after it.
  void Finish() {
    TCustomHint* hint = FHint;
    HideAll();
    hint->FShowingHint = false;
    if (TNotifyEvent handler = hint->OnHide) handler(hint);
  }

  static void Retire(TCustomHintWindow* Window) {
    Window->SetWorkComplete(true);
    if (Window->HandleAllocated())
      SetWindowPos(Window->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    Window->SetHintParent(nullptr);
    // A window may be retired from its own click handler.
    Window->Release();
  }

  TCustomHint* FHint;
  TTimer* FTimer;
  TCustomHintWindow* FWindow = nullptr;
  Phase FPhase = Phase::Idle;
  int FAlpha = 255;
};

// ---- TCustomHint ----

TCustomHint::TCustomHint(TComponent* AOwner) : TComponent(AOwner) {}

TCustomHint::~TCustomHint() {
  delete FShowHide;
  FShowHide = nullptr;
}

void TCustomHint::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TCustomHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

TCustomHintWindow* TCustomHint::CreateHintWindow() { return new TCustomHintWindow(nullptr); }

TCustomHintWindow* TCustomHint::NewHintWindow() {
  FShowingHint = true;
  TCustomHintWindow* window = CreateHintWindow();
  window->SetHintParent(this);
  window->HandleNeeded();
  window->SetTitle(FTitle);
  window->SetDescription(FDescription);
  window->SetImageIndex(FImageIndex);
  return window;
}

void TCustomHint::QueueHintWindow(TCustomHintWindow* Window) {
  Window->SetWorkComplete(false);
  if (!FShowHide) FShowHide = new TCustomHintShowHide(this);
  FShowHide->Queue(Window);
  if (TNotifyEvent handler = OnShow) handler(this);
}

void TCustomHint::ShowHint() {
  TCustomHintWindow* window = NewHintWindow();
  window->PositionAtCursor();
  QueueHintWindow(window);
}

void TCustomHint::ShowHint(const TPoint& Point) {
  TCustomHintWindow* window = NewHintWindow();
  window->PositionAt(Point);
  QueueHintWindow(window);
}

void TCustomHint::ShowHint(const TRect& Rect) {
  TCustomHintWindow* window = NewHintWindow();
  window->PositionAt(Rect);
  QueueHintWindow(window);
}

void TCustomHint::TakeControlHint(TControl* Control) {
  const String& hint = Control->Hint();
  FTitle = GetShortHint(hint);
  FDescription = hint.find('|') != String::npos ? GetLongHint(hint) : String();
  FImageIndex = -1;
  if (const size_t bar = FDescription.find('|'); bar != String::npos) {
    FImageIndex = StrToIntDef(FDescription.substr(bar + 1), -1);
    FDescription.resize(bar);
  }
}

void TCustomHint::ShowHint(TControl* Control) {
  if (!Control) return;
  if (Control->CustomHint() != this) {
    ShowHint(Control->ClientToScreen(Point(0, Control->Height())));
    return;
  }
  if (Control->Hint().empty()) return;
  TakeControlHint(Control);
  ShowHint();
}

void TCustomHint::HideHint() {
  const bool wasShowing = FShowingHint;
  FShowingHint = false;
  if (FShowHide) FShowHide->HideAll();
  if (wasShowing)
    if (TNotifyEvent handler = OnHide) handler(this);
}

void TCustomHint::HideHint(TControl*) { HideHint(); }
