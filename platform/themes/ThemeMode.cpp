#include <cstdlib>
#include <cstring>

#include "StyleManager.h"
#include "UxTheme.h"
#include "gdi/Edge.h"

namespace {

struct ThemeMode {
  bool Known = false;
  DWORD Flags = STAP_VALIDBITS;
};

ThemeMode& Mode() {
  static ThemeMode mode;
  return mode;
}

// The system colours follow the mode: the classic look's own while themes are off.
void ApplySysColors(bool themed) {
  if (themed) {
    ResetSysColors();
    return;
  }
  const TStyleDescription& classic = TStyleManager::ClassicLook();
  for (int i = 0; i < SYS_COLOR_COUNT; ++i)
    if (const auto& c = classic.SysColors[size_t(i)]) SetSysColor(i, *c);
}

// The environment decides the mode the first time anyone asks.
ThemeMode& KnownMode() {
  ThemeMode& m = Mode();
  if (!m.Known) {
    m.Known = true;
    const char* classic = std::getenv("QV_CLASSIC");
    if (classic && std::strcmp(classic, "1") == 0) {
      m.Flags = 0;
      ApplySysColors(false);
    }
  }
  return m;
}

}  // namespace

DWORD GetThemeAppProperties() { return KnownMode().Flags; }

void SetThemeAppProperties(DWORD flags) {
  ThemeMode& m = KnownMode();
  const bool wasThemed = (m.Flags & STAP_ALLOW_CONTROLS) != 0;
  m.Flags = flags & STAP_VALIDBITS;
  const bool themed = (m.Flags & STAP_ALLOW_CONTROLS) != 0;
  if (themed == wasThemed) return;
  ApplySysColors(themed);
  NotifyStyleChanged();
}

BOOL IsThemeActive() { return TRUE; }

BOOL IsAppThemed() { return (KnownMode().Flags & STAP_ALLOW_CONTROLS) != 0; }
