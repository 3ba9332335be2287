#include "SysUtils.h"

#include "gdi/Utf8.h"

#include <glib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

// ---- exceptions ----

void Abort() { throw EAbort("Operation aborted"); }

// ---- arithmetic ----

namespace {

template <class T>
T SaturatingCast(double v) {
  if (std::isnan(v)) return 0;
  // The largest T is not exactly representable as a double for 64 bits; compare against
  // 2^(bits-1) instead.
  constexpr double limit = double(uint64_t(1) << (std::numeric_limits<T>::digits));
  if (v >= limit) return std::numeric_limits<T>::max();
  if (v < -limit) return std::numeric_limits<T>::min();
  return T(v);
}

}  // namespace

int32_t Round(double value) { return SaturatingCast<int32_t>(std::nearbyint(value)); }
int64_t Round64(double value) { return SaturatingCast<int64_t>(std::nearbyint(value)); }
int32_t Trunc(double value) { return SaturatingCast<int32_t>(std::trunc(value)); }
int64_t Trunc64(double value) { return SaturatingCast<int64_t>(std::trunc(value)); }

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t(a) * int64_t(b);
  const bool negative = (p < 0) != (c < 0);
  // |p| fits in 63 bits (at most 2^62), and so does |p| + |c| / 2.
  const uint64_t up = uint64_t(p < 0 ? -p : p);
  const uint64_t uc = uint64_t(c < 0 ? -int64_t(c) : int64_t(c));
  const uint64_t q = (up + uc / 2) / uc;
  if (q > uint64_t(INT32_MAX) + (negative ? 1u : 0u)) return -1;
  return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

uint32_t RandSeed = 0;

namespace {
uint32_t NextRandom() {
  RandSeed = RandSeed * 0x08088405u + 1u;
  return RandSeed;
}
}  // namespace

int32_t Random(int32_t Range) {
  if (Range <= 0) return 0;
  return int32_t((uint64_t(NextRandom()) * uint64_t(Range)) >> 32);
}

double Random() { return double(NextRandom()) / 4294967296.0; }

void Randomize() {
  RandSeed = uint32_t(std::chrono::steady_clock::now().time_since_epoch().count());
}

// ---- numbers ----

String IntToStr(int64_t value) { return std::to_string(value); }

namespace {

String Hex(uint64_t v, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  String out;
  do {
    out.insert(out.begin(), kDigits[v & 15]);
    v >>= 4;
  } while (v != 0);
  if (digits > 32) digits = 32;
  if (int(out.size()) < digits) out.insert(0, size_t(digits) - out.size(), '0');
  return out;
}

String Quoted(const String& s) { return "'" + s + "'"; }

bool ParseInteger(const String& text, int64_t lo, int64_t hi, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  // Accumulate the magnitude in 64 unsigned bits; anything past 2^63 is out of range for
  // every caller.
  uint64_t magnitude = 0;
  constexpr uint64_t kLimit = uint64_t(1) << 63;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    int d;
    if (ch >= '0' && ch <= '9')
      d = ch - '0';
    else if (base == 16 && ch >= 'a' && ch <= 'f')
      d = ch - 'a' + 10;
    else if (base == 16 && ch >= 'A' && ch <= 'F')
      d = ch - 'A' + 10;
    else
      return false;
    if (magnitude > (kLimit - uint64_t(d)) / uint64_t(base)) return false;
    magnitude = magnitude * uint64_t(base) + uint64_t(d);
  }
  // Hexadecimal text may spell the bits of a negative number ($FFFFFFFF is -1 as a
  // 32-bit value), as the framework reads it.
  if (base == 16 && !negative) {
    if (hi == INT32_MAX && magnitude > uint64_t(INT32_MAX) && magnitude <= UINT32_MAX) {
      value = int64_t(int32_t(uint32_t(magnitude)));
      return true;
    }
    if (hi == INT64_MAX && magnitude == kLimit) {
      value = INT64_MIN;
      return true;
    }
  }
  if (negative) {
    if (magnitude > uint64_t(-(lo + 1)) + 1) return false;
    value = magnitude == kLimit ? INT64_MIN : -int64_t(magnitude);
  } else {
    if (magnitude > uint64_t(hi)) return false;
    value = int64_t(magnitude);
  }
  return true;
}

}  // namespace

String IntToHex(int32_t value, int digits) { return Hex(uint32_t(value), digits); }
String IntToHex(uint32_t value, int digits) { return Hex(value, digits); }
String IntToHex(int64_t value, int digits) { return Hex(uint64_t(value), digits); }
String IntToHex(uint64_t value, int digits) { return Hex(value, digits); }

bool TryStrToInt(const String& text, int32_t& value) {
  int64_t v = 0;
  if (!ParseInteger(text, INT32_MIN, INT32_MAX, v)) return false;
  value = int32_t(v);
  return true;
}

bool TryStrToInt64(const String& text, int64_t& value) { return ParseInteger(text, INT64_MIN, INT64_MAX, value); }

int32_t StrToInt(const String& text) {
  int32_t v = 0;
  if (!TryStrToInt(text, v)) throw EConvertError(Quoted(text) + " is not a valid integer value");
  return v;
}

int64_t StrToInt64(const String& text) {
  int64_t v = 0;
  if (!TryStrToInt64(text, v)) throw EConvertError(Quoted(text) + " is not a valid integer value");
  return v;
}

int32_t StrToIntDef(const String& text, int32_t fallback) {
  int32_t v = 0;
  return TryStrToInt(text, v) ? v : fallback;
}

String FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  String s = buf;
  // The framework writes exponents without "+" and without leading zeros: 1E20, 1E-5.
  const size_t e = s.find('E');
  if (e != String::npos) {
    String mantissa = s.substr(0, e);
    String exponent = s.substr(e + 1);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    s = mantissa + "E" + (negative ? "-" : "") + exponent;
  }
  if (s == "-0") s = "0";
  return s;
}

bool TryStrToFloat(const String& text, double& value) {
  const String t = Trim(text);
  if (t.empty()) return false;
  // Only the framework's forms: digits, one ".", an optional exponent; no hex, inf or nan.
  for (char ch : t) {
    if (!(std::isdigit(static_cast<unsigned char>(ch)) || ch == '.' || ch == 'e' || ch == 'E' || ch == '+' ||
          ch == '-'))
      return false;
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE) return false;
  value = v;
  return true;
}

double StrToFloat(const String& text) {
  double v = 0;
  if (!TryStrToFloat(text, v)) throw EConvertError(Quoted(text) + " is not a valid floating point value");
  return v;
}

String BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? "True" : "False";
  return value ? "-1" : "0";
}

// ---- Format ----

namespace {

[[noreturn]] void FormatError(const String& format) {
  throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

String WithThousands(const String& digits) {
  // digits: optional '-', integer part, optional fraction.
  size_t start = digits[0] == '-' ? 1 : 0;
  size_t dot = digits.find('.');
  if (dot == String::npos) dot = digits.size();
  String out = digits.substr(dot);
  int n = 0;
  for (size_t i = dot; i > start; --i) {
    if (n == 3) {
      out.insert(out.begin(), ',');
      n = 0;
    }
    out.insert(out.begin(), digits[i - 1]);
    ++n;
  }
  return digits.substr(0, start) + out;
}

}  // namespace

String Format(const String& format, std::initializer_list<TVarRec> args) {
  const TVarRec* argv = args.begin();
  const int argc = int(args.size());
  int next = 0;
  String out;
  size_t i = 0;
  auto takeNumber = [&](int& value) -> bool {
    if (i < format.size() && format[i] == '*') {
      ++i;
      if (next >= argc || !std::holds_alternative<int64_t>(argv[next])) FormatError(format);
      value = int(std::get<int64_t>(argv[next++]));
      return true;
    }
    if (i >= format.size() || !std::isdigit(static_cast<unsigned char>(format[i]))) return false;
    value = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
      value = std::min(value * 10 + (format[i++] - '0'), 1 << 20);
    return true;
  };
  while (i < format.size()) {
    const char ch = format[i++];
    if (ch != '%') {
      out += ch;
      continue;
    }
    if (i < format.size() && format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    int width = -1, precision = -1, index = -1;
    bool left = false;
    // "index:" comes first when present (digits only: "*" is a width).
    size_t j = i;
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    if (j > i && j < format.size() && format[j] == ':') {
      index = std::min(std::atoi(format.substr(i, j - i).c_str()), 1 << 20);
      i = j + 1;
    }
    int number = 0;
    if (i < format.size() && format[i] == '-') {
      left = true;
      ++i;
    }
    if (takeNumber(number)) width = number;
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!takeNumber(precision)) FormatError(format);
    }
    if (i >= format.size()) FormatError(format);
    const char type = char(std::tolower(static_cast<unsigned char>(format[i++])));
    if (index >= 0) next = index;
    if (next >= argc) FormatError(format);
    const TVarRec& arg = argv[next++];
    String text;
    char buf[512];
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!std::holds_alternative<int64_t>(arg)) FormatError(format);
        const int64_t v = std::get<int64_t>(arg);
        if (type == 'x') {
          text = Hex(uint64_t(v) & (v >= INT32_MIN && v <= UINT32_MAX ? 0xFFFFFFFFull : ~0ull), precision);
        } else {
          const bool negative = type == 'd' && v < 0;
          const uint64_t magnitude =
              type == 'u' ? (uint64_t(v) & 0xFFFFFFFFull) : (negative ? uint64_t(0) - uint64_t(v) : uint64_t(v));
          String digits = std::to_string(magnitude);
          if (precision > int(digits.size())) digits.insert(0, size_t(precision) - digits.size(), '0');
          text = (negative ? "-" : "") + digits;
        }
        break;
      }
      case 's':
        if (!std::holds_alternative<String>(arg)) FormatError(format);
        text = std::get<String>(arg);
        if (precision >= 0) text = Copy(text, 0, precision);
        break;
      case 'f':
      case 'e':
      case 'g':
      case 'n':
      case 'm': {
        double v;
        if (std::holds_alternative<double>(arg))
          v = std::get<double>(arg);
        else if (std::holds_alternative<int64_t>(arg))
          v = double(std::get<int64_t>(arg));
        else
          FormatError(format);
        if (type == 'g') {
          if (precision < 0 || precision > 15) precision = 15;
          std::snprintf(buf, sizeof buf, "%.*G", precision, v);
        } else if (type == 'e') {
          std::snprintf(buf, sizeof buf, "%.*E", precision < 0 ? 15 : std::min(precision, 18) - 1, v);
        } else {
          std::snprintf(buf, sizeof buf, "%.*f", precision < 0 ? 2 : std::min(precision, 18), v);
        }
        text = buf;
        if (type == 'n' || type == 'm') text = WithThousands(text);
        break;
      }
      case 'p': {
        if (!std::holds_alternative<int64_t>(arg)) FormatError(format);
        text = Hex(uint64_t(std::get<int64_t>(arg)), 16);
        break;
      }
      default:
        FormatError(format);
    }
    const int len = Length(text);
    if (width > len) {
      const String pad(size_t(width - len), ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

// ---- text ----

String UpperCase(const String& s) {
  String r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

String LowerCase(const String& s) {
  String r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return r;
}

namespace {

String FromGlib(gchar* p) {
  String r = p ? p : "";
  g_free(p);
  return r;
}

// glib's case functions expect valid UTF-8; invalid bytes become U+FFFD first.
String ValidUtf8(const String& s) {
  if (g_utf8_validate(s.data(), gssize(s.size()), nullptr)) return s;
  return CodePointsToUtf8(Utf8ToCodePoints(s));
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

String AnsiUpperCase(const String& s) {
  const String v = ValidUtf8(s);
  return FromGlib(g_utf8_strup(v.data(), gssize(v.size())));
}

String AnsiLowerCase(const String& s) {
  const String v = ValidUtf8(s);
  return FromGlib(g_utf8_strdown(v.data(), gssize(v.size())));
}

int CompareStr(const String& a, const String& b) { return Sign(a.compare(b)); }

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Ordinal comparison after ASCII lower-casing, without copies.
int CompareLowered(const String& a, const String& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(AsciiLower(a[i])), cb = static_cast<unsigned char>(AsciiLower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool IsAscii(const String& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

int CompareText(const String& a, const String& b) { return CompareLowered(a, b); }

bool SameStr(const String& a, const String& b) { return a == b; }
bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }

namespace {
String CaseFold(const String& s) {
  const String v = ValidUtf8(s);
  return FromGlib(g_utf8_casefold(v.data(), gssize(v.size())));
}
// Swaps ASCII case so that an ordinal comparison puts lower case first.
String SwapCase(const String& s) {
  String r = s;
  for (char& c : r) {
    if (c >= 'a' && c <= 'z')
      c = char(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  }
  return r;
}
}  // namespace

int AnsiCompareText(const String& a, const String& b) {
  // Case folding of ASCII is lower-casing; only other text needs the full folding.
  if (IsAscii(a) && IsAscii(b)) return CompareLowered(a, b);
  return Sign(CaseFold(a).compare(CaseFold(b)));
}

int AnsiCompareStr(const String& a, const String& b) {
  const int folded = AnsiCompareText(a, b);
  if (folded != 0) return folded;
  return Sign(SwapCase(a).compare(SwapCase(b)));
}

bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

String TrimLeft(const String& s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

String TrimRight(const String& s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return s.substr(0, n);
}

String Trim(const String& s) { return TrimRight(TrimLeft(s)); }

String QuotedStr(const String& s) { return AnsiQuotedStr(s, '\''); }

String AnsiQuotedStr(const String& s, char quote) {
  String r(1, quote);
  for (char c : s) {
    r += c;
    if (c == quote) r += c;
  }
  r += quote;
  return r;
}

String AnsiDequotedStr(const String& s, char quote) {
  if (s.empty() || s[0] != quote) return s;
  String r;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r += quote;
        i += 2;
        continue;
      }
      return r;
    }
    r += s[i++];
  }
  return r;
}

bool StartsText(const String& sub, const String& s) {
  return sub.size() <= s.size() && SameText(s.substr(0, sub.size()), sub);
}

bool EndsText(const String& sub, const String& s) {
  return sub.size() <= s.size() && SameText(s.substr(s.size() - sub.size()), sub);
}

bool IsValidIdent(const String& ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(ident[0])) return false;
  return std::all_of(ident.begin() + 1, ident.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  const String hay = ignoreCase ? LowerCase(s) : s;
  const String needle = ignoreCase ? LowerCase(oldPattern) : oldPattern;
  String out;
  size_t from = 0;
  while (true) {
    const size_t at = hay.find(needle, from);
    if (at == String::npos) break;
    out.append(s, from, at - from);
    out += newPattern;
    from = at + needle.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  out.append(s, from, String::npos);
  return out;
}

// ---- characters ----

namespace {

// Length of the UTF-8 sequence at s[i], 1 for a byte that does not start a valid one.
size_t SequenceLength(const String& s, size_t i, char32_t* cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto bad = [&] {
    if (cp) *cp = 0xFFFD;
    return size_t(1);
  };
  size_t n;
  char32_t c;
  if (b0 < 0x80) {
    if (cp) *cp = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    c = b0 & 0x07;
  } else {
    return bad();
  }
  if (i + n > s.size()) return bad();
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return bad();
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF)) return bad();
  if (cp) *cp = c;
  return n;
}

}  // namespace

int Length(const String& s) {
  int n = 0;
  for (size_t i = 0; i < s.size(); i += SequenceLength(s, i, nullptr)) ++n;
  return n;
}

size_t CharToByteIndex(const String& s, int index) {
  size_t i = 0;
  for (int k = 0; k < index && i < s.size(); ++k) i += SequenceLength(s, i, nullptr);
  return i;
}

int Pos(const String& sub, const String& s, int from) {
  if (from < 0) from = 0;
  const size_t start = CharToByteIndex(s, from);
  if (start > s.size()) return -1;
  if (sub.empty()) return -1;
  // Search character by character so a match never starts inside a sequence.
  int index = from;
  for (size_t i = start; i + sub.size() <= s.size(); ++index) {
    if (s.compare(i, sub.size(), sub) == 0) return index;
    i += SequenceLength(s, i, nullptr);
  }
  return -1;
}

String Copy(const String& s, int index, int count) {
  if (count <= 0) return String();
  if (index < 0) {
    count = count + index < 0 ? 0 : count + index;  // the framework counts from the start
    index = 0;
  }
  const size_t a = CharToByteIndex(s, index);
  size_t b = a;
  for (int k = 0; k < count && b < s.size(); ++k) b += SequenceLength(s, b, nullptr);
  return s.substr(a, b - a);
}

void Delete(String& s, int index, int count) {
  if (index < 0 || count <= 0) return;
  const size_t a = CharToByteIndex(s, index);
  size_t b = a;
  for (int k = 0; k < count && b < s.size(); ++k) b += SequenceLength(s, b, nullptr);
  s.erase(a, b - a);
}

void Insert(const String& sub, String& s, int index) { s.insert(CharToByteIndex(s, std::max(index, 0)), sub); }

std::u32string Utf8ToCodePoints(const String& s) { return DecodeUtf8(s); }

String CodePointToUtf8(char32_t c) {
  String out;
  AppendUtf8(out, c);
  return out;
}

String CodePointsToUtf8(const std::u32string& s) { return EncodeUtf8(s); }

// ---- the operating system ----

namespace {
TOSAnswers& Answers() {
  static TOSAnswers answers;
  return answers;
}
}  // namespace

const TOSAnswers& OSAnswers() { return Answers(); }
void SetOSAnswers(const TOSAnswers& answers) { Answers() = answers; }

TOSAnswersOverride::TOSAnswersOverride(const TOSAnswers& answers) : FSaved(OSAnswers()) { SetOSAnswers(answers); }
TOSAnswersOverride::~TOSAnswersOverride() { SetOSAnswers(FSaved); }

int Win32MajorVersion() { return OSAnswers().MajorVersion; }
int Win32MinorVersion() { return OSAnswers().MinorVersion; }
int Win32BuildNumber() { return OSAnswers().BuildNumber; }
int Win32Platform() { return OSAnswers().Platform; }
String Win32CSDVersion() { return OSAnswers().CSDVersion; }

bool CheckWin32Version(int major, int minor) {
  return Win32MajorVersion() > major || (Win32MajorVersion() == major && Win32MinorVersion() >= minor);
}

// ---- the clock ----

namespace {

uint64_t SteadyMilliseconds() {
  static const auto start = std::chrono::steady_clock::now();
  return uint64_t(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

TTickSource& TickSource() {
  static TTickSource source = SteadyMilliseconds;
  return source;
}

}  // namespace

void SetTickSource(TTickSource source) { TickSource() = source ? source : SteadyMilliseconds; }
uint64_t TickCount64() { return TickSource()(); }
