// TgxBitmap drawing: in memory onto another TgxBitmap (copy, alpha, colour key, with
// nearest-neighbour stretching), onto device contexts and canvases, tiles, merging and
// filling.
#include <algorithm>
#include <vector>

#include "gx_bitmap/Bitmap.h"
#include "gx_winapi.h"

namespace {

using TRowProc = void (*)(const TgxColor* Src, TgxColor* Dst, int32_t Count);

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

bool HasArea(const TRect& r) { return r.Left < r.Right && r.Top < r.Bottom; }

// Offset i of a destination run of DstLen pixels -> offset in a source run of SrcLen.
inline int32_t MapOffset(int64_t i, int64_t DstLen, int64_t SrcLen) { return int32_t(i * (SrcLen - 1) / (DstLen - 1)); }

}  // namespace

void TgxBitmap::DrawToBitmap(TgxBitmap* Bitmap, const TDstRect& DstRect, const TRect& SrcRect, const TRect& Clip) {
  if (!Bitmap || Bitmap->Empty() || Empty()) return;
  const int64_t srcW = int64_t(SrcRect.Right) - SrcRect.Left, srcH = int64_t(SrcRect.Bottom) - SrcRect.Top;
  if (srcW < 1 || srcH < 1) return;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > FWidth || SrcRect.Bottom > FHeight) return;
  const TRect bounds = Intersect({0, 0, Bitmap->FWidth, Bitmap->FHeight}, Clip);
  const TRect clip{int32_t(std::max<int64_t>(DstRect.Left, bounds.Left)),
                   int32_t(std::max<int64_t>(DstRect.Top, bounds.Top)),
                   int32_t(std::min<int64_t>(DstRect.Right, bounds.Right)),
                   int32_t(std::min<int64_t>(DstRect.Bottom, bounds.Bottom))};
  if (!HasArea(clip)) return;

  const TgxPixelRoutines& routines = gxPixelRoutines();
  const TRowProc row = FAlphaBlend ? routines.BlendRow : FTransparent ? routines.KeyRow : routines.MoveRow;

  // Drawing onto itself reads from a copy of the source taken first.
  const TgxColor* srcBits = FBits;
  int64_t srcStride = FWidth;
  int32_t originX = 0, originY = 0;
  std::vector<TgxColor> copy;
  if (Bitmap == this) {
    copy.resize(size_t(srcW * srcH));
    for (int32_t y = 0; y < srcH; ++y)
      std::copy_n(GetPixelPtr(SrcRect.Left, SrcRect.Top + y), srcW, copy.begin() + y * srcW);
    srcBits = copy.data();
    srcStride = srcW;
    originX = SrcRect.Left;
    originY = SrcRect.Top;
  }
  auto source = [&](int32_t x, int32_t y) { return srcBits + (y - originY) * srcStride + (x - originX); };

  const int64_t dstW = DstRect.Right - DstRect.Left, dstH = DstRect.Bottom - DstRect.Top;
  const int32_t n = clip.Right - clip.Left;
  if (dstW == srcW && dstH == srcH) {
    const int32_t sx = int32_t(SrcRect.Left + (clip.Left - DstRect.Left));
    for (int32_t y = clip.Top; y < clip.Bottom; ++y)
      row(source(sx, int32_t(SrcRect.Top + (y - DstRect.Top))), Bitmap->GetPixelPtr(clip.Left, y), n);
    return;
  }

  // Nearest-neighbour: the first and last destination pixels take the first and last
  // source pixels; a destination of one pixel takes the middle one.
  const int32_t midX = (SrcRect.Left + SrcRect.Right - 1) / 2, midY = (SrcRect.Top + SrcRect.Bottom - 1) / 2;
  // Columns are kept as offsets from SrcRect.Left.
  std::vector<int32_t> columns(static_cast<size_t>(n));
  for (int32_t x = clip.Left; x < clip.Right; ++x)
    columns[size_t(x - clip.Left)] = dstW < 2 ? midX - SrcRect.Left : MapOffset(x - DstRect.Left, dstW, srcW);
  const bool directColumns = dstW == srcW;
  std::vector<TgxColor> buffer(directColumns ? 0 : static_cast<size_t>(n));
  int32_t gathered = -1;
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    const int32_t sy = dstH < 2 ? midY : SrcRect.Top + MapOffset(y - DstRect.Top, dstH, srcH);
    const TgxColor* line;
    if (directColumns) {
      line = source(SrcRect.Left + columns[0], sy);
    } else {
      if (sy != gathered) {
        const TgxColor* s = source(SrcRect.Left, sy);
        for (int32_t i = 0; i < n; ++i) buffer[size_t(i)] = s[columns[size_t(i)]];
        gathered = sy;
      }
      line = buffer.data();
    }
    row(line, Bitmap->GetPixelPtr(clip.Left, y), n);
  }
}

void TgxBitmap::DrawToDC(HDC ADC, const TDstRect& DstRect, const TRect& SrcRect) {
  if (!ADC || Empty()) return;
  if (!HasArea(SrcRect) || SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > FWidth || SrcRect.Bottom > FHeight)
    return;
  if (DstRect.Left >= DstRect.Right || DstRect.Top >= DstRect.Bottom) return;
  RECT box{};
  const int kind = GetClipBox(ADC, &box);
  if (kind == NULLREGION || kind == ERROR_REGION) return;

  // The DC of another effect bitmap: in memory, in its device coordinates.
  if (TgxBitmap* target = FromDC(ADC); target && kind == SIMPLEREGION) {
    POINT shift{0, 0};
    LPtoDP(ADC, &shift, 1);
    TRect clip = box;
    OffsetRect(&clip, shift.X, shift.Y);
    const TDstRect dst{DstRect.Left + shift.X, DstRect.Top + shift.Y, DstRect.Right + shift.X,
                       DstRect.Bottom + shift.Y};
    DrawToBitmap(target, dst, SrcRect, clip);
    return;
  }

  // Unscaled copies and colour keys the platform does as they are.
  const TRect visible{
      int32_t(std::max<int64_t>(DstRect.Left, box.Left)), int32_t(std::max<int64_t>(DstRect.Top, box.Top)),
      int32_t(std::min<int64_t>(DstRect.Right, box.Right)), int32_t(std::min<int64_t>(DstRect.Bottom, box.Bottom))};
  if (!HasArea(visible)) return;
  const bool scaled =
      DstRect.Right - DstRect.Left != SrcRect.Width() || DstRect.Bottom - DstRect.Top != SrcRect.Height();
  if (!FAlphaBlend && !scaled) {
    // Only the visible part, so that every number stays in range.
    const int32_t sx = int32_t(SrcRect.Left + (visible.Left - DstRect.Left));
    const int32_t sy = int32_t(SrcRect.Top + (visible.Top - DstRect.Top));
    if (!FTransparent) {
      BitBlt(ADC, visible.Left, visible.Top, visible.Width(), visible.Height(), FDC, sx, sy, SRCCOPY);
      return;
    }
    if (TgxTransparentBltProc transparentBlt = gxTransparentBlt(); transparentBlt && gxScreenBitsPerPixel() > 23) {
      transparentBlt(ADC, visible.Left, visible.Top, visible.Width(), visible.Height(), FDC, sx, sy, visible.Width(),
                     visible.Height(), RGB(0x7F, 0x00, 0x7F));
      return;
    }
  }

  // Through a temporary bitmap of the visible part of DstRect: read the DC, draw in
  // memory (stretching exactly as between bitmaps), write it back.
  TgxBitmap temp;
  temp.SetSize(visible.Width(), visible.Height());
  if (FAlphaBlend || FTransparent)
    BitBlt(temp.FDC, 0, 0, temp.FWidth, temp.FHeight, ADC, visible.Left, visible.Top, SRCCOPY);
  DrawToBitmap(&temp,
               {DstRect.Left - visible.Left, DstRect.Top - visible.Top, DstRect.Right - visible.Left,
                DstRect.Bottom - visible.Top},
               SrcRect, {0, 0, temp.FWidth, temp.FHeight});
  BitBlt(ADC, visible.Left, visible.Top, temp.FWidth, temp.FHeight, temp.FDC, 0, 0, SRCCOPY);
}

// ---- the twelve forms of Draw ----

TgxBitmap::TDstRect TgxBitmap::DstAt(int32_t X, int32_t Y, const TRect& SrcRect) {
  return {X, Y, int64_t(X) + (int64_t(SrcRect.Right) - SrcRect.Left),
          int64_t(Y) + (int64_t(SrcRect.Bottom) - SrcRect.Top)};
}

void TgxBitmap::Draw(HDC ADC, int32_t X, int32_t Y) { Draw(ADC, X, Y, {0, 0, FWidth, FHeight}); }
void TgxBitmap::Draw(HDC ADC, int32_t X, int32_t Y, const TRect& SrcRect) {
  DrawToDC(ADC, DstAt(X, Y, SrcRect), SrcRect);
}
void TgxBitmap::Draw(HDC ADC, const TRect& DstRect) { DrawToDC(ADC, DstOf(DstRect), {0, 0, FWidth, FHeight}); }
void TgxBitmap::Draw(HDC ADC, const TRect& DstRect, const TRect& SrcRect) { DrawToDC(ADC, DstOf(DstRect), SrcRect); }

void TgxBitmap::Draw(TCanvas* ACanvas, int32_t X, int32_t Y) {
  if (ACanvas) Draw(ACanvas->Handle(), X, Y);
}
void TgxBitmap::Draw(TCanvas* ACanvas, int32_t X, int32_t Y, const TRect& SrcRect) {
  if (ACanvas) Draw(ACanvas->Handle(), X, Y, SrcRect);
}
void TgxBitmap::Draw(TCanvas* ACanvas, const TRect& DstRect) {
  if (ACanvas) Draw(ACanvas->Handle(), DstRect);
}
void TgxBitmap::Draw(TCanvas* ACanvas, const TRect& DstRect, const TRect& SrcRect) {
  if (ACanvas) Draw(ACanvas->Handle(), DstRect, SrcRect);
}

void TgxBitmap::Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y) { Draw(Bitmap, X, Y, {0, 0, FWidth, FHeight}); }
void TgxBitmap::Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y, const TRect& SrcRect) {
  if (Bitmap) DrawToBitmap(Bitmap, DstAt(X, Y, SrcRect), SrcRect, {0, 0, Bitmap->FWidth, Bitmap->FHeight});
}
void TgxBitmap::Draw(TgxBitmap* Bitmap, const TRect& DstRect) { Draw(Bitmap, DstRect, {0, 0, FWidth, FHeight}); }
void TgxBitmap::Draw(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  if (Bitmap) DrawToBitmap(Bitmap, DstOf(DstRect), SrcRect, {0, 0, Bitmap->FWidth, Bitmap->FHeight});
}

// ---- tiles ----

namespace {

// What of a target can be drawn on, so that tiles outside it are never visited.
TRect DrawableBox(HDC ADC) {
  RECT box{};
  return ADC && GetClipBox(ADC, &box) != ERROR_REGION ? box : TRect{};
}
TRect DrawableBox(TCanvas* ACanvas) { return ACanvas ? DrawableBox(ACanvas->Handle()) : TRect{}; }
TRect DrawableBox(TgxBitmap* Bitmap) { return Bitmap ? TRect{0, 0, Bitmap->Width(), Bitmap->Height()} : TRect{}; }

}  // namespace

template <class Target>
void TgxBitmap::TileTo(Target T, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  const int64_t sw = int64_t(SrcRect.Right) - SrcRect.Left, sh = int64_t(SrcRect.Bottom) - SrcRect.Top;
  if (sw < 1 || sh < 1 || !T) return;
  const TRect area = Intersect(Intersect(DstRect, DstClip), DrawableBox(T));
  if (!HasArea(area)) return;
  // Start at the first tile that reaches into the area.
  const int64_t firstX = DstRect.Left + (area.Left - int64_t(DstRect.Left)) / sw * sw;
  const int64_t firstY = DstRect.Top + (area.Top - int64_t(DstRect.Top)) / sh * sh;
  for (int64_t ty = firstY; ty < area.Bottom; ty += sh) {
    for (int64_t tx = firstX; tx < area.Right; tx += sw) {
      const TRect part = Intersect({int32_t(tx), int32_t(ty), int32_t(std::min<int64_t>(tx + sw, DstRect.Right)),
                                    int32_t(std::min<int64_t>(ty + sh, DstRect.Bottom))},
                                   area);
      if (!HasArea(part)) continue;
      const int32_t sx = SrcRect.Left + int32_t(part.Left - tx), sy = SrcRect.Top + int32_t(part.Top - ty);
      Draw(T, part.Left, part.Top, {sx, sy, sx + part.Width(), sy + part.Height()});
    }
  }
}

void TgxBitmap::Tile(HDC ADC, const TRect& DstRect, const TRect& SrcRect) { TileTo(ADC, DstRect, DstRect, SrcRect); }
void TgxBitmap::Tile(TCanvas* ACanvas, const TRect& DstRect, const TRect& SrcRect) {
  TileTo(ACanvas, DstRect, DstRect, SrcRect);
}
void TgxBitmap::Tile(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  TileTo(Bitmap, DstRect, DstRect, SrcRect);
}
void TgxBitmap::TileClip(HDC ADC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileTo(ADC, DstRect, DstClip, SrcRect);
}
void TgxBitmap::TileClip(TCanvas* ACanvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileTo(ACanvas, DstRect, DstClip, SrcRect);
}
void TgxBitmap::TileClip(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  TileTo(Bitmap, DstRect, DstClip, SrcRect);
}

// ---- merging and filling ----

void TgxBitmap::MergeDraw(TgxBitmap* Bitmap, int32_t X, int32_t Y, const TRect& SrcRect) {
  if (!Bitmap || Bitmap->Empty() || Empty()) return;
  const TRect src = Intersect(SrcRect, {0, 0, Bitmap->FWidth, Bitmap->FHeight});
  if (!HasArea(src)) return;
  // Where the clipped source lands, and what of it lies inside this bitmap.
  const int64_t x0 = int64_t(X) + (src.Left - int64_t(SrcRect.Left));
  const int64_t y0 = int64_t(Y) + (src.Top - int64_t(SrcRect.Top));
  const int64_t left = std::max<int64_t>(x0, 0), top = std::max<int64_t>(y0, 0);
  const int64_t right = std::min<int64_t>(x0 + src.Width(), FWidth);
  const int64_t bottom = std::min<int64_t>(y0 + src.Height(), FHeight);
  if (left >= right || top >= bottom) return;
  const int32_t n = int32_t(right - left);
  const TgxPixelRoutines& routines = gxPixelRoutines();
  std::vector<TgxColor> copy;
  for (int64_t y = top; y < bottom; ++y) {
    const TgxColor* s = Bitmap->GetPixelPtr(int32_t(src.Left + (left - x0)), int32_t(src.Top + (y - y0)));
    if (Bitmap == this) {
      copy.assign(s, s + n);
      s = copy.data();
    }
    routines.MergeRow(s, GetPixelPtr(int32_t(left), int32_t(y)), n);
  }
}

void TgxBitmap::FillRect(const TRect& R, TgxColor Color) {
  if (Empty()) return;
  if (!FAlphaBlend) {
    gxFillRect(FBits, FWidth, FHeight, R, Color);
    return;
  }
  const TRect c = Intersect(R, {0, 0, FWidth, FHeight});
  if (!HasArea(c)) return;
  const std::vector<TgxColor> line(size_t(c.Width()), Color);
  const TgxPixelRoutines& routines = gxPixelRoutines();
  for (int32_t y = c.Top; y < c.Bottom; ++y) routines.BlendRow(line.data(), GetPixelPtr(c.Left, y), c.Width());
}
