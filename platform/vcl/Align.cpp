// How a TWinControl places its children: alignment (with margins, within the padding and
// border), anchors kept across resizes, automatic size, and scaling of the whole tree.
#include <algorithm>
#include <climits>

#include "Controls.h"

namespace {

// The anchors an alignment implies: a control whose anchors differ is also anchored.
constexpr TAnchors AnchorAlign(TAlign Align) {
  switch (Align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

}  // namespace

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0) {
    FControlState += csAlignmentNeeded;
    return;
  }
  DisableAlign();
  // Requests made while the children move are answered by this pass.
  auto done = [this] {
    FControlState -= csAlignmentNeeded;
    EnableAlign();
  };
  try {
    TRect rect = ClientRect();
    AlignControls(AControl, rect);
  } catch (...) {
    done();
    throw;
  }
  done();
}

void TWinControl::AdjustClientRect(TRect& Rect) {
  Rect.Left += FBorderWidth + FPadding->Left();
  Rect.Top += FBorderWidth + FPadding->Top();
  Rect.Right -= FBorderWidth + FPadding->Right();
  Rect.Bottom -= FBorderWidth + FPadding->Bottom();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  const bool work = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) {
    return c->FAlign != alNone || !(c->FAnchors == TAnchors{akLeft, akTop});
  });
  if (work) {
    AdjustClientRect(Rect);
    const TPoint parentSize = ClientRect().BottomRight();
    std::vector<TControl*> list;

    auto insertBefore = [this](TControl* c1, TControl* c2, TAlign align) {
      const TMargins& m1 = *c1->FMargins;
      const TMargins& m2 = *c2->FMargins;
      switch (align) {
        case alTop: return m1.ControlTop() < m2.ControlTop();
        case alBottom: return m1.ControlTop() + m1.ControlHeight() >= m2.ControlTop() + m2.ControlHeight();
        case alLeft: return m1.ControlLeft() < m2.ControlLeft();
        case alRight: return m1.ControlLeft() + m1.ControlWidth() >= m2.ControlLeft() + m2.ControlWidth();
        case alCustom: return CustomAlignInsertBefore(c1, c2);
        default: return false;
      }
    };

    // Anchored controls keep their distances to the parent's edges (or their centre).
    auto anchor = [&](TControl* c) {
      if (c->FAnchorOrigin.X == 0 || c->FAnchorOrigin.Y == 0) return;
      int left = c->FLeft, top = c->FTop, width = c->FWidth, height = c->FHeight;
      if (c->FAnchors.Contains(akRight)) {
        if (c->FAnchors.Contains(akLeft))
          width = parentSize.X - (c->FAnchorOrigin.X - c->FAnchorRules.X);
        else
          left = parentSize.X - (c->FAnchorOrigin.X - c->FAnchorRules.X);
      } else if (!c->FAnchors.Contains(akLeft)) {
        left = MulDiv(c->FAnchorRules.X, parentSize.X, c->FAnchorOrigin.X) - width / 2;
      }
      if (c->FAnchors.Contains(akBottom)) {
        if (c->FAnchors.Contains(akTop))
          height = parentSize.Y - (c->FAnchorOrigin.Y - c->FAnchorRules.Y);
        else
          top = parentSize.Y - (c->FAnchorOrigin.Y - c->FAnchorRules.Y);
      } else if (!c->FAnchors.Contains(akTop)) {
        top = MulDiv(c->FAnchorRules.Y, parentSize.Y, c->FAnchorOrigin.Y) - height / 2;
      }
      const bool oldMove = c->FAnchorMove;
      c->FAnchorMove = true;
      try {
        c->SetBounds(left, top, width, height);
      } catch (...) {
        c->FAnchorMove = oldMove;
        throw;
      }
      c->FAnchorMove = oldMove;
    };

    auto position = [&](TControl* c, TAlign align, const TAlignInfo& info) {
      if (align == alNone || !(c->FAnchors == AnchorAlign(align))) {
        anchor(c);
        if (align == alNone) return;
      }
      TMargins& m = *c->FMargins;
      int newWidth = Rect.Right - Rect.Left;
      if (newWidth < 0 || align == alLeft || align == alRight || align == alCustom) newWidth = m.ControlWidth();
      int newHeight = Rect.Bottom - Rect.Top;
      if (newHeight < 0 || align == alTop || align == alBottom || align == alCustom) newHeight = m.ControlHeight();
      int newLeft = Rect.Left, newTop = Rect.Top;
      switch (align) {
        case alTop: Rect.Top += newHeight; break;
        case alBottom:
          Rect.Bottom -= newHeight;
          newTop = Rect.Bottom;
          break;
        case alLeft: Rect.Left += newWidth; break;
        case alRight:
          Rect.Right -= newWidth;
          newLeft = Rect.Right;
          break;
        case alCustom:
          newLeft = m.ControlLeft();
          newTop = m.ControlTop();
          CustomAlignPosition(c, newLeft, newTop, newWidth, newHeight, Rect, info);
          break;
        default: break;
      }
      m.SetControlBounds(newLeft, newTop, newWidth, newHeight, true);
      // A control that did not take the size (constraints) gives back or takes room.
      const int tookWidth = m.ControlWidth(), tookHeight = m.ControlHeight();
      if (tookWidth == newWidth && tookHeight == newHeight) return;
      switch (align) {
        case alTop: Rect.Top -= newHeight - tookHeight; break;
        case alBottom: Rect.Bottom += newHeight - tookHeight; break;
        case alLeft: Rect.Left -= newWidth - tookWidth; break;
        case alRight: Rect.Right += newWidth - tookWidth; break;
        case alClient:
          Rect.Right += newWidth - tookWidth;
          Rect.Bottom += newHeight - tookHeight;
          break;
        default: break;
      }
    };

    auto doAlign = [&](TAlign align) {
      list.clear();
      // The control that asked goes first among its kind.
      if (AControl && AControl->FParent == this && AControl->FAlign == align && (align == alNone || AControl->FVisible))
        list.push_back(AControl);
      for (TControl* c : std::vector<TControl*>(FControls)) {
        if (c == AControl || c->FAlign != align || (align != alNone && !c->FVisible)) continue;
        size_t j = 0;
        while (j < list.size() && !insertBefore(c, list[j], align)) ++j;
        list.insert(list.begin() + ptrdiff_t(j), c);
      }
      TAlignInfo info;
      info.AlignList = &list;
      info.Align = align;
      for (size_t i = 0; i < list.size(); ++i) {
        info.ControlIndex = int(i);
        // A handler may have taken the control away meanwhile.
        if (list[i]->FParent == this) position(list[i], align, info);
      }
    };

    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) doAlign(align);
    ControlsAligned();
  }
  if (FAutoSize && Showing()) AdjustSize();
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight) {
  int right = INT_MIN, bottom = INT_MIN;
  for (TControl* c : FControls) {
    if (!c->FVisible) continue;
    const TMargins& m = *c->FMargins;
    right = std::max(right, m.ControlLeft() + m.ControlWidth());
    bottom = std::max(bottom, m.ControlTop() + m.ControlHeight());
  }
  if (right == INT_MIN) return true;
  // The children's extent, the room kept around them and the frame.
  const TRect client = ClientRect();
  TRect inner = client;
  AdjustClientRect(inner);
  NewWidth = FWidth - client.Width() + right + (client.Right - inner.Right);
  NewHeight = FHeight - client.Height() + bottom + (client.Bottom - inner.Bottom);
  return true;
}

void TWinControl::DoPaddingChange() { Realign(); }

void TWinControl::SetBorderWidth(int Value) {
  Value = std::clamp(Value, 0, 1 << 16);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TWinControl::ChangeScale(int M, int D, bool isDpiChange) {
  if (M == D || M <= 0 || D <= 0) return;
  DisableAlign();
  try {
    for (TControl* c : std::vector<TControl*>(FControls))
      if (c->FParent == this) c->ChangeScale(M, D, isDpiChange);
    FPadding->SetBounds(MulDiv(FPadding->Left(), M, D), MulDiv(FPadding->Top(), M, D), MulDiv(FPadding->Right(), M, D),
                        MulDiv(FPadding->Bottom(), M, D));
    TControl::ChangeScale(M, D, isDpiChange);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}
