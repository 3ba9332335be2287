#include "themes/NonClientPainter.h"

#include "gdi/Fonts.h"
#include "gdi/Objects.h"
#include "gdi/Text.h"
#include "themes/StyleServices.h"

namespace {

TCustomStyleServices* CustomStyle() {
  TCustomStyleServices* style = StyleServices();
  return style && !style->IsSystemStyle() && style->Enabled() ? style : nullptr;
}

TThemedWindow CaptionButtonElement(int hit, bool restore, bool small, int state) {
  // state: 0 normal, 1 hot, 2 pushed, 3 disabled; the enumerations list them in that order.
  TThemedWindow first = small ? twSmallCloseButtonNormal : twCloseButtonNormal;
  switch (hit) {
    case HTMINBUTTON: first = restore ? twRestoreButtonNormal : twMinButtonNormal; break;
    case HTMAXBUTTON: first = restore ? twRestoreButtonNormal : twMaxButtonNormal; break;
    case HTHELP: first = twHelpButtonNormal; break;
    default: break;
  }
  return TThemedWindow(int(first) + state);
}

void DrawCaptionText(TCustomStyleServices* style, HWND hwnd, HDC dc, const NonClientLayout& l,
                     const TThemedElementDetails& caption, bool small) {
  const WindowObject* w = LiveWindow(hwnd);
  if (!w || w->Text.empty() || l.CaptionText.IsEmpty()) return;
  // The window system's caption font, a little smaller on tool windows.
  HFONT font = CreateFont(-ScaledLength(small ? 11 : 12), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          "Segoe UI");
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT r = l.CaptionText;
  style->DrawText(dc, caption, w->Text, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

TThemedScrollBar ScrollElement(TThemedScrollBar normal, bool disabled, bool pressed, bool hot) {
  // Normal, Hot, Pressed, Disabled follow each other in every scroll bar family.
  const int state = disabled ? 3 : pressed ? 2 : hot ? 1 : 0;
  return TThemedScrollBar(int(normal) + state);
}

}  // namespace

bool PaintStyledNonClient(HWND hwnd, HDC dc, const NonClientLayout& l, bool active) {
  TCustomStyleServices* style = CustomStyle();
  const WindowObject* w = LiveWindow(hwnd);
  if (!style || !w) return false;
  // A plain one-pixel border without a caption stays the window system's.
  if (l.Caption.IsEmpty() && l.Border <= 1) return false;

  const bool small = (w->ExStyle & WS_EX_TOOLWINDOW) != 0;
  const NonClientState* st = NonClientStateOf(hwnd);
  const int b = l.Border;
  const RECT& win = l.Window;
  // The caption element takes the top frame as well, as captions of styles are drawn.
  const int captionBottom = l.Caption.IsEmpty() ? win.Top + b : l.Caption.Bottom;
  const RECT top{win.Left, win.Top, win.Right, captionBottom};
  const RECT left{win.Left, captionBottom, win.Left + b, win.Bottom - b};
  const RECT right{win.Right - b, captionBottom, win.Right, win.Bottom - b};
  const RECT bottom{win.Left, win.Bottom - b, win.Right, win.Bottom};

  const TThemedElementDetails caption = style->GetElementDetails(
      small ? (active ? twSmallCaptionActive : twSmallCaptionInactive)
            : (active ? twCaptionActive : twCaptionInactive));
  style->DrawElement(dc, caption, top);
  if (b > 0) {
    style->DrawElement(dc, style->GetElementDetails(active ? twFrameLeftActive : twFrameLeftInactive), left);
    style->DrawElement(dc, style->GetElementDetails(active ? twFrameRightActive : twFrameRightInactive), right);
    style->DrawElement(dc, style->GetElementDetails(active ? twFrameBottomActive : twFrameBottomInactive), bottom);
  }
  if (l.Caption.IsEmpty()) return true;

  DrawCaptionText(style, hwnd, dc, l, caption, small);
  for (int hit : {HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP}) {
    const RECT r = CaptionButtonRect(l, hit);
    if (r.IsEmpty()) continue;
    const bool enabled = CaptionButtonEnabled(l, hit);
    const bool restore = (hit == HTMINBUTTON && l.RestoreOnMin) || (hit == HTMAXBUTTON && l.RestoreOnMax);
    const int state = !enabled ? 3 : st && st->PressedButton == hit ? 2 : st && st->HotButton == hit ? 1 : 0;
    style->DrawElement(dc, style->GetElementDetails(CaptionButtonElement(hit, restore, small, state)), r);
  }
  return true;
}

bool PaintStyledScrollBar(HWND hwnd, HDC dc, int bar, const RECT& barRect, const ScrollBarPaintInfo& info) {
  TCustomStyleServices* style = CustomStyle();
  if (!style || !LiveWindow(hwnd)) return false;
  if (bar == SB_BOTH) {
    style->DrawElement(dc, style->GetElementDetails(tsSizeBoxRightAlign), barRect);
    return true;
  }
  if (bar != SB_VERT && bar != SB_HORZ && bar != SB_CTL) return false;
  const bool vertical = info.Geometry.Vertical;
  const bool enabled = info.Geometry.Enabled;
  const auto draw = [&](TThemedScrollBar normal, const RECT& r, bool disabled, ScrollBarPart part) {
    if (r.IsEmpty()) return;
    const TThemedScrollBar e = ScrollElement(normal, disabled, info.Pressed == part, info.Hot == part);
    style->DrawElement(dc, style->GetElementDetails(e), r);
  };
  // Without a thumb, PageUp is the whole track between the arrows and PageDown is empty.
  draw(vertical ? tsUpperTrackVertNormal : tsUpperTrackHorzNormal, info.PageUp, !enabled, sbpPageUp);
  draw(vertical ? tsLowerTrackVertNormal : tsLowerTrackHorzNormal, info.PageDown, !enabled, sbpPageDown);
  draw(vertical ? tsArrowBtnUpNormal : tsArrowBtnLeftNormal, info.LineUp, info.LineUpDisabled, sbpLineUp);
  draw(vertical ? tsArrowBtnDownNormal : tsArrowBtnRightNormal, info.LineDown, info.LineDownDisabled, sbpLineDown);
  draw(vertical ? tsThumbBtnVertNormal : tsThumbBtnHorzNormal, info.Thumb, !enabled, sbpThumb);
  return true;
}

void ActivateNonClientPainter(bool custom) {
  if (custom) {
    NonClientPainterHook = PaintStyledNonClient;
    ScrollBarPainterHook = PaintStyledScrollBar;
  } else {
    NonClientPainterHook = nullptr;
    ScrollBarPainterHook = nullptr;
  }
}
