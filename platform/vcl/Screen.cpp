#include <algorithm>

#include "Forms.h"
#include "gdi/DC.h"
#include "gdi/Fonts.h"
#include "win/Input.h"
#include "win/Queue.h"

TScreen* Screen = new TScreen(nullptr);

// ---- TMonitor ----

namespace {

MONITORINFO InfoOf(HMONITOR monitor) {
  MONITORINFO info;
  if (!GetMonitorInfo(monitor, &info)) info = MONITORINFO{};
  return info;
}

// Windows 10's fonts of menus, icons, hints, messages and captions: Segoe UI, 9 points.
void SetSystemFont(TFont* font) {
  font->SetName("Segoe UI");
  font->SetHeight(-MulDiv(9, ScreenPixelsPerInch(), 72));
}

}  // namespace

TRect TMonitor::BoundsRect() const { return InfoOf(FHandle).rcMonitor; }
TRect TMonitor::WorkareaRect() const { return InfoOf(FHandle).rcWork; }
bool TMonitor::Primary() const { return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }
int TMonitor::PixelsPerInch() const { return ScreenPixelsPerInch(); }

// ---- TScreen ----

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner),
      FMenuFont(new TFont),
      FIconFont(new TFont),
      FHintFont(new TFont),
      FMessageFont(new TFont),
      FCaptionFont(new TFont) {
  // Nothing here may touch the window system: the screen is made before the program
  // starts, and asks the window system only when asked itself.
}

TScreen::~TScreen() {
  for (TMonitor* m : FMonitors) delete m;
  delete FFonts;
  delete FMenuFont;
  delete FIconFont;
  delete FHintFont;
  delete FMessageFont;
  delete FCaptionFont;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::DesktopRect() const {
  // The union of the monitors; there is the one screen of the backend.
  return {0, 0, Width(), Height()};
}

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

int TScreen::PixelsPerInch() const { return ScreenPixelsPerInch(); }

void TScreen::UpdateMonitors() {
  // The window system knows one monitor, the backend's screen.
  const HMONITOR primary = ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (FMonitors.size() == 1 && FMonitors[0]->FHandle == primary) return;
  for (TMonitor* m : FMonitors) delete m;
  FMonitors.clear();
  if (primary) FMonitors.push_back(new TMonitor(primary, 0));
}

int TScreen::MonitorCount() {
  UpdateMonitors();
  return int(FMonitors.size());
}

TMonitor* TScreen::Monitors(int Index) {
  UpdateMonitors();
  if (Index < 0 || Index >= int(FMonitors.size()))
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FMonitors[size_t(Index)];
}

TMonitor* TScreen::PrimaryMonitor() {
  UpdateMonitors();
  for (TMonitor* m : FMonitors)
    if (m->Primary()) return m;
  return FMonitors.empty() ? nullptr : FMonitors.front();
}

TMonitor* TScreen::FindMonitor(HMONITOR Handle) {
  UpdateMonitors();
  for (TMonitor* m : FMonitors)
    if (m->FHandle == Handle) return m;
  return nullptr;
}

namespace {
DWORD MonitorFlags(TMonitorDefaultTo d) {
  switch (d) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
  }
}
}  // namespace

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromPoint(Point, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromWindow(Handle, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default) {
  return FindMonitor(::MonitorFromRect(&Rect, MonitorFlags(Default)));
}

TCustomForm* TScreen::CustomForms(int Index) const {
  if (Index < 0 || Index >= CustomFormCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FCustomForms[size_t(Index)];
}

int TScreen::FormCount() const {
  return int(std::count_if(FCustomForms.begin(), FCustomForms.end(),
                           [](TCustomForm* f) { return f->InheritsFrom(TForm::StaticClass()); }));
}

TForm* TScreen::Forms(int Index) const {
  int i = 0;
  for (TCustomForm* f : FCustomForms)
    if (f->InheritsFrom(TForm::StaticClass()) && i++ == Index) return static_cast<TForm*>(f);
  throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
}

TForm* TScreen::ActiveForm() const {
  TCustomForm* f = FActiveCustomForm;
  return f && f->InheritsFrom(TForm::StaticClass()) ? static_cast<TForm*>(f) : nullptr;
}

void TScreen::AddForm(TCustomForm* Form) { FCustomForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FCustomForms, Form);
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  // The active control is always one of the active form's.
  const bool formChange = FActiveCustomForm == Form;
  const bool controlChange = formChange && FActiveControl;
  if (formChange) {
    FActiveCustomForm = nullptr;
    FActiveControl = nullptr;
  }
  if (controlChange && OnActiveControlChange) OnActiveControlChange(this);
  if (formChange && OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::ControlRemoved(const TComponent* Control) {
  if (!FActiveControl || static_cast<const void*>(FActiveControl) != static_cast<const void*>(Control)) return;
  FActiveControl = nullptr;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetFocus(TCustomForm* Form, TWinControl* Control) {
  // The form that last had the focus comes first, as the framework keeps them.
  auto it = std::find(FCustomForms.begin(), FCustomForms.end(), Form);
  if (it != FCustomForms.end()) std::rotate(FCustomForms.begin(), it, it + 1);
  const bool formChange = FActiveCustomForm != Form;
  const bool controlChange = FActiveControl != Control;
  FActiveCustomForm = Form;
  FActiveControl = Control;
  if (controlChange && OnActiveControlChange) OnActiveControlChange(this);
  if (formChange && OnActiveFormChange) OnActiveFormChange(this);
}

HCURSOR TScreen::Cursors(TCursor Index) {
  for (const auto& [cursor, handle] : FCursors)
    if (cursor == Index) return handle;
  if (Index == crNone) return nullptr;
  const intptr_t id = CursorToIdc(Index);
  return LoadCursor(nullptr, id ? id : IDC_ARROW);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  for (auto& [cursor, handle] : FCursors)
    if (cursor == Index) {
      handle = Handle;
      return;
    }
  FCursors.emplace_back(Index, Handle);
}

void TScreen::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
    return;
  }
  // Back to the cursor of whatever lies under the pointer.
  POINT p{};
  GetCursorPos(&p);
  if (HWND hwnd = WindowFromPoint(p)) {
    const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    SendMessage(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(int(hit), int(WM_MOUSEMOVE)));
  } else {
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
  }
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    auto* list = new TStringList;
    list->SetSorted(true);
    list->SetDuplicates(dupIgnore);
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONT lf;
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesEx(
        dc, &lf,
        [list](const LOGFONT* font, const TEXTMETRIC*, DWORD, intptr_t) {
          // Vertical variants ("@Family") are not listed, as the framework does not.
          if (font && !font->lfFaceName.empty() && font->lfFaceName[0] != '@') list->Add(font->lfFaceName);
          return 1;
        },
        0, 0);
    DeleteDC(dc);
    FFonts = list;
  }
  return FFonts;
}

void TScreen::ResetFonts() {
  for (TFont* f : {FMenuFont, FIconFont, FHintFont, FMessageFont, FCaptionFont}) SetSystemFont(f);
  FSystemFontsRead = true;
}

TFont* TScreen::SystemFont(TFont* Font) {
  if (!FSystemFontsRead) ResetFonts();
  return Font;
}

TRect WorkAreaAt(const TPoint& P) {
  if (TMonitor* monitor = Screen->MonitorFromPoint(P))
    if (const TRect work = monitor->WorkareaRect(); !work.IsEmpty()) return work;
  return Screen->WorkAreaRect();
}

TRect ActiveFormWorkArea(const TRect& Otherwise) {
  if (!Screen) return Otherwise;
  TCustomForm* form = Screen->ActiveCustomForm();
  if (!form && Application && Application->MainForm() && Application->MainForm()->Visible())
    form = Application->MainForm();
  if (form && form->HandleAllocated()) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    return WorkAreaAt(Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }
  return Otherwise;
}

TRect KeepInside(TRect R, const TRect& Area) { return KeepRectInside(R, Area); }
