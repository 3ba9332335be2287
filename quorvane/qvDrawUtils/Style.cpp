#include "qvDrawUtils/Style.h"

#include "themes/StyleManager.h"
#include "themes/StyleServices.h"
#include "vcl/SysUtils.h"

namespace {

struct TWindowsVersion {
  int Major;
  int Minor;
};

// Read on first use as well, for callers in other units' start-up code.
TWindowsVersion& Version() {
  static TWindowsVersion version{Win32MajorVersion(), Win32MinorVersion()};
  return version;
}

// Taken at start-up, as the unit's initialisation does.
struct TVersionAtStartUp {
  TVersionAtStartUp() { InitWindowsVersion(); }
} GVersionAtStartUp;

}  // namespace

bool IsCustomStyle() { return TStyleManager::IsCustomStyleActive(); }

bool IsThemed() { return StyleServices()->Enabled(); }

TqvsStyleMode StyleMode() {
  if (IsCustomStyle()) return qvsmStyled;
  return IsThemed() ? qvsmThemed : qvsmClassic;
}

bool IsWindows10() { return Version().Major > 9; }
bool IsWindows8() { return Version().Major == 6 && Version().Minor > 1; }
bool IsWindows7() { return Version().Major == 6 && Version().Minor == 1; }
bool IsWindowsXP() { return Version().Major == 5 && Version().Minor == 1; }

// The platform answers the real version, so there is no capped number to correct.
void InitWindowsVersion() {
  Version() = {Win32MajorVersion(), Win32MinorVersion()};
}

bool PointInRect(const TRect& Rect, const TPoint& Point) {
  return Point.X >= Rect.Left && Point.X <= Rect.Right && Point.Y >= Rect.Top && Point.Y <= Rect.Bottom;
}

TRect CenterRectVert(TRect& R, const TRect& Bounds) {
  const int w = R.Width(), h = R.Height();
  R.Left = Bounds.Left;
  R.Top = Bounds.Top + (Bounds.Height() - h) / 2;
  R.Right = R.Left + w;
  R.Bottom = R.Top + h;
  return R;
}
