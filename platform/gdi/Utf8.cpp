#include "Utf8.h"

namespace {
bool Encodable(char32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }
}  // namespace

std::u32string DecodeUtf8(const String& s, int maxChars, size_t* bytesRead) {
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  std::u32string out;
  size_t i = 0;
  const size_t n = s.size();
  while (i < n && (maxChars < 0 || out.size() < size_t(maxChars))) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    bool ok = extra >= 0 && i + size_t(extra) < n;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1Fu) : extra == 2 ? (b & 0x0Fu) : (b & 0x07u);
    for (int k = 1; ok && k <= extra; ++k) {
      const auto cb = static_cast<unsigned char>(s[i + size_t(k)]);
      ok = (cb & 0xC0) == 0x80;
      c = (c << 6) | (cb & 0x3Fu);
    }
    if (ok && (c < kSmallest[extra] || !Encodable(c))) ok = false;
    out += ok ? c : kReplacementCharacter;
    i += ok ? size_t(extra) + 1 : 1;
  }
  if (bytesRead) *bytesRead = i;
  return out;
}

void AppendUtf8(String& out, char32_t c) {
  if (!Encodable(c)) c = kReplacementCharacter;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

String EncodeUtf8(const std::u32string& s) {
  String out;
  out.reserve(s.size());
  for (char32_t c : s) AppendUtf8(out, c);
  return out;
}
