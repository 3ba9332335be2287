#include "ShortCuts.h"

#include <array>

#include "Controls.h"

namespace {

struct KeyName {
  WORD Key;
  const char* Name;
};

// Keys whose name is not their character.
constexpr std::array<KeyName, 22> kKeyNames{{
    {WORD(VK_BACK), "BkSp"},  {WORD(VK_TAB), "Tab"},     {WORD(VK_RETURN), "Enter"},  {WORD(VK_ESCAPE), "Esc"},
    {WORD(VK_SPACE), "Space"}, {WORD(VK_PRIOR), "PgUp"},  {WORD(VK_NEXT), "PgDn"},     {WORD(VK_END), "End"},
    {WORD(VK_HOME), "Home"},  {WORD(VK_LEFT), "Left"},    {WORD(VK_UP), "Up"},         {WORD(VK_RIGHT), "Right"},
    {WORD(VK_DOWN), "Down"},  {WORD(VK_INSERT), "Ins"},   {WORD(VK_DELETE), "Del"},    {WORD(VK_MULTIPLY), "Num *"},
    {WORD(VK_ADD), "Num +"},  {WORD(VK_SUBTRACT), "Num -"}, {WORD(VK_DECIMAL), "Num Del"}, {WORD(VK_DIVIDE), "Num /"},
    {WORD(VK_PAUSE), "Pause"}, {WORD(VK_APPS), "Apps"},
}};

String KeyToText(WORD Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return String(1, char(Key));
  if (Key >= VK_F1 && Key < VK_F1 + 24) return "F" + std::to_string(Key - VK_F1 + 1);
  for (const KeyName& k : kKeyNames)
    if (k.Key == Key) return k.Name;
  return {};
}

// Takes Prefix (case-insensitively) from the front of Text.
bool TakePrefix(String& Text, const char* Prefix) {
  const String p = Prefix;
  if (Text.size() <= p.size() || !SameText(Text.substr(0, p.size()), p)) return false;
  Text.erase(0, p.size());
  return true;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  if (Key & ~scKeyMask) return scNone;
  TShortCut result = TShortCut(Key);
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift) {
  Key = WORD(ShortCut & scKeyMask);
  Shift = {};
  if (ShortCut & scShift) Shift += ssShift;
  if (ShortCut & scCtrl) Shift += ssCtrl;
  if (ShortCut & scAlt) Shift += ssAlt;
}

String ShortCutToText(TShortCut ShortCut) {
  const String name = KeyToText(WORD(ShortCut & scKeyMask));
  if (name.empty()) return {};
  String result;
  if (ShortCut & scShift) result += "Shift+";
  if (ShortCut & scCtrl) result += "Ctrl+";
  if (ShortCut & scAlt) result += "Alt+";
  return result + name;
}

TShortCut TextToShortCut(const String& Text) {
  String rest = Text;
  TShortCut shift = 0;
  for (;;) {
    if (TakePrefix(rest, "Shift+")) shift |= scShift;
    else if (TakePrefix(rest, "Ctrl+")) shift |= scCtrl;
    else if (TakePrefix(rest, "Alt+")) shift |= scAlt;
    else break;
  }
  for (WORD key = 1; key <= scKeyMask; ++key) {
    const String name = KeyToText(key);
    if (!name.empty() && SameText(name, rest)) return TShortCut(key | shift);
  }
  return scNone;
}
