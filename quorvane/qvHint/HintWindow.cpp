#include "qvHint/HintWindow.h"

#include <algorithm>

#include "gdi/Gdi.h"
#include "qvDrawUtils/Style.h"
#include "qvHint/Hint.h"
#include "themes/StyleServices.h"
#include "vcl/Forms.h"
#include "win/Timers.h"

namespace {

// The part of a text that can show in a window no larger than Limit: no more lines than
// fit in its height, and no more bytes than the narrowest characters (Narrow: the width
// of "i" and the line height) would fill it with. Measuring and painting a huge hint stay
// quick, and what is cut off could never show.
String ShownText(const String& Text, const TSize& Limit, const TSize& Narrow) {
  const int64_t lines = int64_t(std::max(Limit.cy, 1)) / std::max(Narrow.cy, 1) + 1;
  const int64_t bytes = lines * (int64_t(std::max(Limit.cx, 1)) / std::max(Narrow.cx, 1) + 1);
  size_t end = std::min<size_t>(Text.size(), size_t(bytes));
  int64_t breaks = 0;
  for (size_t i = 0; i < end; ++i)
    if (Text[i] == '\n' && ++breaks >= lines) {
      end = i > 0 && Text[i - 1] == '\r' ? i - 1 : i;
      break;
    }
  while (end > 0 && end < Text.size() && (static_cast<unsigned char>(Text[end]) & 0xC0) == 0x80) --end;
  return end == Text.size() ? Text : Text.substr(0, end);
}

TSize MeasureText(HDC DC, const String& Text, int WrapWidth, UINT BiDiFlags) {
  RECT r{0, 0, std::max(WrapWidth, 0), 0};
  UINT flags = DT_NOPREFIX | DT_CALCRECT | BiDiFlags;
  if (WrapWidth > 0) flags |= DT_WORDBREAK;
  DrawText(DC, Text.c_str(), -1, &r, flags);
  return TSize{std::max(r.Width(), 0), std::max(r.Height(), 0)};
}

void SetBold(TCanvas* Canvas, bool Bold) {
  TFontStyles style = Canvas->Font()->Style();
  if (Bold)
    style += fsBold;
  else
    style -= fsBold;
  Canvas->Font()->SetStyle(style);
}

TRIVERTEX Vertex(int X, int Y, TColor Color) {
  const COLORREF c = ColorToRGB(Color);
  TRIVERTEX v;
  v.x = X;
  v.y = Y;
  v.Red = uint16_t(GetRValue(c) << 8);
  v.Green = uint16_t(GetGValue(c) << 8);
  v.Blue = uint16_t(GetBValue(c) << 8);
  v.Alpha = 0xFF00;
  return v;
}

}  // namespace

TqvHintWindow::TqvHintWindow(TComponent* AOwner) : THintWindow(AOwner) { FHint = dynamic_cast<TqvHint*>(AOwner); }

void TqvHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
}

void TqvHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    // The window paints its own frame in its client area and never erases.
    case WM_NCPAINT:
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_TIMER:
      if (Message.WParam == kFadeTimerId) {
        FadeTick();
        return;
      }
      break;
    default: break;
  }
  THintWindow::Dispatch(Message);
}

void TqvHintWindow::Notification(TComponent* AComponent, TOperation Operation) {
  THintWindow::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FHintImageList) FHintImageList = nullptr;
}

void TqvHintWindow::SetImageList(TCustomImageList* Value) {
  if (FHintImageList == Value) return;
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  FHintImageList = Value;
  if (FHintImageList) FHintImageList->FreeNotification(this);
}

bool TqvHintWindow::ValidImage() const {
  return FHintImageList && FHintImageIndex >= 0 && FHintImageIndex < FHintImageList->Count();
}

void TqvHintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  if (FHint && (!FHint->HintTitle().empty() || FHint->HintImageList())) {
    ActivateHintEx(Rect, FHint->HintTitle(), AHint, FHint->HintImageIndex(), FHint->HintImageList());
    return;
  }
  FExtendedStyle = false;
  FHintTitle.clear();
  SetImageList(nullptr);
  ShowHintText(Rect, TAnchor::TopLeft, AHint);
}

void TqvHintWindow::ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                                   TCustomImageList* AImageList) {
  FHintTitle = AHintTitle;
  FHintImageIndex = AImageIndex;
  SetImageList(AImageList);
  FExtendedStyle = !FHintTitle.empty() || ValidImage();
  ShowHintText(Rect, TAnchor::TopLeft, AHint);
}

void TqvHintWindow::ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop) {
  FExtendedStyle = false;
  FHintTitle.clear();
  SetImageList(nullptr);
  ShowHintText(ARect, ATop ? TAnchor::Above : TAnchor::Below, AHint);
}

TSize TqvHintWindow::MeasureHint(const String& Text, const TSize& Limit) {
  HDC dc = Canvas()->Handle();
  const UINT bidi = DrawTextBiDiModeFlagsReadingOnly();
  TSize text = MeasureText(dc, Text, 0, bidi);
  TSize title{};
  if (FExtendedStyle && !FHintTitle.empty()) {
    SetBold(Canvas(), true);
    title = MeasureText(Canvas()->Handle(), FShownTitle, 0, bidi);
    SetBold(Canvas(), false);
    dc = Canvas()->Handle();
  }
  const bool image = FExtendedStyle && ValidImage();
  const int64_t imageWidth = image ? FHintImageList->Width() : 0;
  const int64_t imageHeight = image ? FHintImageList->Height() : 0;
  // Width that is not text: the margins, and the image with its gap.
  const int64_t extra = !FExtendedStyle ? 6 : (image ? imageWidth + 10 : 4) + 6;
  // A text wider than the work area is wrapped at what is left of it.
  if (int64_t(text.cx) + extra > Limit.cx)
    text = MeasureText(dc, Text, int(std::max<int64_t>(Limit.cx - extra, 1)), bidi);

  int64_t w = text.cx, h = text.cy;
  if (!FExtendedStyle) {
    w += 6;
    h += 4;
  } else {
    if (!FHintTitle.empty()) {
      h += int64_t(title.cy) + 10;
      w = std::max<int64_t>(w, title.cx);
    }
    if (image) {
      w += imageWidth + 10;
      h = std::max<int64_t>(h, imageHeight + title.cy + 5);
    } else {
      w += 4;
    }
    w += 6;
    h += 4;
  }
  // A huge text (many lines, or one very long line) gets a window as large as the work
  // area, never one that overflows it.
  return TSize{int(std::clamp<int64_t>(w, 1, std::max(Limit.cx, 1))),
               int(std::clamp<int64_t>(h, 1, std::max(Limit.cy, 1)))};
}

void TqvHintWindow::ShowHintText(const TRect& Rect, TAnchor Anchor, const String& AHint) {
  HandleNeeded();
  HWND h = Handle();
  // A layered window from before becomes a plain one; a fade still running stops.
  KillTimer(h, kFadeTimerId);
  const bool alphaBlend = FHint && FHint->AlphaBlend();
  if (alphaBlend || FOldAlphaBlend) {
    const intptr_t ex = GetWindowLongPtr(h, GWL_EXSTYLE);
    if (ex & WS_EX_LAYERED) SetWindowLongPtr(h, GWL_EXSTYLE, ex & ~intptr_t(WS_EX_LAYERED));
  }
  FOldAlphaBlend = alphaBlend;

  // The text, its separators made line breaks, is the window text.
  Canvas()->SetFont(Screen->HintFont());
  const String separator = FHint ? FHint->LineSeparator() : String("@@");
  const String text = separator.empty() ? AHint : StringReplace(AHint, separator, "\r\n", {rfReplaceAll});
  SetCaption(text);

  // Size; without a form the whole screen is the limit.
  const TRect work = ActiveFormWorkArea(TRect{0, 0, Screen->Width(), Screen->Height()});
  const TSize limit{work.Width(), work.Height()};
  const TSize narrow = MeasureText(Canvas()->Handle(), "i", 0, 0);
  FShownText = ShownText(text, limit, narrow);
  FShownTitle = ShownText(FHintTitle, limit, narrow);
  const TSize size = MeasureHint(FShownText, limit);

  // Position: past the right or bottom edge, the window flips to the other side of the
  // anchor point.
  TRect r;
  switch (Anchor) {
    case TAnchor::TopLeft: r = Bounds(Rect.Left, Rect.Top, size.cx, size.cy); break;
    case TAnchor::Above:
    case TAnchor::Below: {
      const int left = Rect.Left + Rect.Width() / 2 - size.cx / 2;
      r = Bounds(left, Anchor == TAnchor::Above ? Rect.Top - size.cy : Rect.Bottom, size.cx, size.cy);
      break;
    }
  }
  if (r.Right > work.Right) OffsetRect(&r, -(size.cx + 2), 0);
  if (r.Bottom > work.Bottom) OffsetRect(&r, 0, -(size.cy + 2));
  // A flip that is not enough (a window as large as the work area, an anchor far off it)
  // still leaves the window on the work area.
  r = KeepInside(r, work);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());

  // Translucency.
  const bool animate = alphaBlend && FHint->AlphaBlendAnimation();
  if (alphaBlend) {
    SetWindowLongPtr(h, GWL_EXSTYLE, GetWindowLongPtr(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(h, 0, animate ? 0 : FHint->AlphaBlendValue(), LWA_ALPHA);
  }

  // Shown on top without taking the activation.
  SetWindowPos(h, HWND_TOPMOST, r.Left, r.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  Invalidate();
  Update();

  // The fade-in: about seven ticks.
  if (animate) {
    FAnimationAlpha = 0;
    FAnimationStep = std::max(FHint->AlphaBlendValue() / 7, 1);
    SetTimer(h, kFadeTimerId, kFadeInterval, nullptr);
  }
}

void TqvHintWindow::FadeTick() {
  HWND h = Handle();
  if (!IsWindowVisible(h) || !FHint) {
    KillTimer(h, kFadeTimerId);
    return;
  }
  const int target = FHint->AlphaBlendValue();
  FAnimationAlpha = std::min(FAnimationAlpha + FAnimationStep, target);
  Invalidate();
  SetLayeredWindowAttributes(h, 0, BYTE(FAnimationAlpha), LWA_ALPHA);
  if (FAnimationAlpha >= target) KillTimer(h, kFadeTimerId);
}

void TqvHintWindow::Paint() {
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  TBitmap buffer;
  buffer.SetPixelFormat(pf32bit);
  buffer.SetSize(client.Width(), client.Height());
  TCanvas* c = buffer.Canvas();
  // The new bitmap's content is the classic hint background.
  c->Brush()->SetColor(Color());
  c->FillRect(client);

  // Background and text colour.
  TColor textColor = Screen->HintFont()->Color();
  const bool themed = StyleMode() != qvsmClassic;
  TCustomStyleServices* style = StyleServices();
  if (themed) {
    TRect background = client;
    InflateRect(&background, 4, 4);
    if (style->IsSystemStyle() && CheckWin32Version(6, 0)) {
      style->DrawElement(c->Handle(), style->GetElementDetails(tttStandardNormal), background, &client);
    } else {
      const TThemedElementDetails details = style->GetElementDetails(thHintNormal);
      TColor from = clNone, to = clNone, text = clNone;
      if (!style->GetElementColor(details, ecGradientColor1, from) || from == clNone) from = clInfoBk;
      if (!style->GetElementColor(details, ecGradientColor2, to) || to == clNone) to = clInfoBk;
      const TRIVERTEX vertices[2] = {Vertex(background.Left, background.Top, from),
                                     Vertex(background.Right, background.Bottom, to)};
      const GRADIENT_RECT mesh{0, 1};
      GradientFill(c->Handle(), vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
      if (style->GetElementColor(details, ecTextColor, text) && text != clNone) textColor = text;
    }
  }

  c->SetFont(Screen->HintFont());
  c->Font()->SetColor(textColor);
  c->Brush()->SetStyle(bsClear);
  const String& text = FShownText;
  const UINT bidi = DrawTextBiDiModeFlagsReadingOnly();
  if (!FExtendedStyle) {
    // Plain.
    TRect r = client;
    OffsetRect(&r, 2, 2);
    DrawText(c->Handle(), text.c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK | bidi);
  } else {
    // Extended: title, then image and text side by side, centred in what is left.
    TRect r = client;
    if (!FHintTitle.empty()) {
      SetBold(c, true);
      const TSize title = MeasureText(c->Handle(), FShownTitle, 0, bidi);
      RECT tr = Rect(r.Left + 5, r.Top + 3, r.Right, r.Top + 3 + title.cy);
      DrawText(c->Handle(), FShownTitle.c_str(), -1, &tr, DT_NOPREFIX | bidi);
      SetBold(c, false);
      r.Top += title.cy + 7;
    }
    if (ValidImage()) {
      FHintImageList->Draw(c, r.Left + 5, r.Top + (r.Height() - FHintImageList->Height()) / 2, FHintImageIndex);
      r.Left += FHintImageList->Width() + 10;
    } else {
      r.Left += 5;
    }
    const TSize size = MeasureText(c->Handle(), text, std::max(r.Width(), 1), bidi);
    const int top = r.Top + (r.Height() - size.cy) / 2 - (FHintTitle.empty() ? 0 : 2);
    RECT tr = Rect(r.Left, top, r.Right, top + size.cy);
    DrawText(c->Handle(), text.c_str(), -1, &tr, DT_NOPREFIX | DT_WORDBREAK | bidi);
  }

  // Frame.
  RECT frame = client;
  if (themed)
    style->DrawEdge(c->Handle(), style->GetElementDetails(twWindowRoot), frame, {eeRaisedOuter}, {efRect});
  else
    ::DrawEdge(c->Handle(), &frame, BDR_RAISEDOUTER, BF_RECT);

  Canvas()->Draw(0, 0, &buffer);
}
