// TgxBitmapLink, and the bitmap's links by rectangle or by rectangle text.
#include "gx_bitmap/Link.h"

#include <algorithm>
#include <cstring>

#include "gx_bitmap/Streaming.h"

namespace {

constexpr const char* kLinkKind = "bitmap link";

bool IsSeparator(char c) { return std::strchr(" (),:;=", c) != nullptr && c != '\0'; }

// The run up to the first separator (which is consumed); both parts trimmed.
String NextToken(String& Text) {
  const auto it = std::find_if(Text.begin(), Text.end(), IsSeparator);
  String token(Text.begin(), it);
  Text = it == Text.end() ? String() : String(it + 1, Text.end());
  Text = Trim(Text);
  return Trim(token);
}

}  // namespace

TRect gxParseRectText(const String& RectText) {
  String rest = RectText;
  int32_t v[4];
  for (int32_t& value : v)
    if (!TryStrToInt(NextToken(rest), value)) return {};
  return {v[0], v[1], v[2], v[3]};
}

TgxBitmapLink* TgxBitmap::GetBitmapLink(const TRect& Rect) {
  auto* link = new TgxBitmapLink;
  link->SetImage(this);
  link->SetName(FName);
  link->SetRect(Rect);
  return link;
}

TgxBitmapLink* TgxBitmap::GetBitmapLink(const String& RectText) { return GetBitmapLink(gxParseRectText(RectText)); }

void TgxBitmapLink::Assign(TPersistent* Source) {
  if (auto* link = dynamic_cast<TgxBitmapLink*>(Source)) {
    FImage = link->FImage;
    FRect = link->FRect;
    FName = link->FName;
    FMaskedBorder = link->FMaskedBorder;
    FMaskedAngles = link->FMaskedAngles;
    FMasked = link->FMasked;
    return;
  }
  TPersistent::Assign(Source);
}

void TgxBitmapLink::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  const String name = gxReadStreamName(Stream, kLinkKind);
  TRect r;
  r.Left = gxReadInt32(Stream, kLinkKind, "the rectangle");
  r.Top = gxReadInt32(Stream, kLinkKind, "the rectangle");
  r.Right = gxReadInt32(Stream, kLinkKind, "the rectangle");
  r.Bottom = gxReadInt32(Stream, kLinkKind, "the rectangle");
  FName = name;
  FRect = r;
}

void TgxBitmapLink::SaveToStream(TStream* Stream) {
  if (!Stream) return;
  gxWriteStreamName(Stream, FName);
  gxWriteInt32(Stream, FRect.Left);
  gxWriteInt32(Stream, FRect.Top);
  gxWriteInt32(Stream, FRect.Right);
  gxWriteInt32(Stream, FRect.Bottom);
}

void TgxBitmapLink::CheckingMasked() { CheckingMasked(TRect{0, 0, 0, 0}); }

void TgxBitmapLink::CheckingMasked(const TRect& Margin) {
  FMaskedBorder = false;
  FMaskedAngles = false;
  FMasked = false;
  if (!FImage || FImage->Empty()) return;
  // Only the part of the rectangle that lies on the image is read.
  const int32_t left = std::max(FRect.Left, 0), top = std::max(FRect.Top, 0);
  const int32_t right = std::min(FRect.Right, FImage->Width()), bottom = std::min(FRect.Bottom, FImage->Height());
  const bool noMargin = Margin.Left == 0 && Margin.Top == 0 && Margin.Right == 0 && Margin.Bottom == 0;
  const int64_t w = int64_t(FRect.Right) - FRect.Left, h = int64_t(FRect.Bottom) - FRect.Top;
  const int64_t l = Margin.Left, t = Margin.Top, r = w - Margin.Right, b = h - Margin.Bottom;
  auto in = [](int64_t v, int64_t lo, int64_t hi) { return v >= lo && v < hi; };
  for (int32_t y = top; y < bottom; ++y) {
    const TgxColor* row = FImage->GetScanLine(y);
    for (int32_t x = left; x < right; ++x) {
      const TgxColor p = row[x];
      if (p == 0 || (!gxIsKeyColor(p) && (p >> 24) == 255)) continue;
      if (noMargin) {
        FMasked = true;
        return;
      }
      const int64_t ox = int64_t(x) - FRect.Left, oy = int64_t(y) - FRect.Top;
      const bool left_ = in(ox, 0, l), right_ = in(ox, r, w), midX = in(ox, l, r);
      const bool top_ = in(oy, 0, t), bottom_ = in(oy, b, h), midY = in(oy, t, b);
      if ((left_ || right_) && (top_ || bottom_)) FMaskedAngles = true;
      if ((midX && (top_ || bottom_)) || (midY && (left_ || right_))) FMaskedBorder = true;
      if (midX && midY) FMasked = true;
    }
  }
}

void TgxBitmapLink::Draw(TCanvas* Canvas, int32_t X, int32_t Y) {
  if (Assigned() && !FImage->Empty()) FImage->Draw(Canvas, X, Y, FRect);
}

void TgxBitmapLink::Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y) {
  if (Assigned() && !FImage->Empty()) FImage->Draw(Bitmap, X, Y, FRect);
}
