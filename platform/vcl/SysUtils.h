// The framework's basic routines: sets, exceptions, rounding, number and text
// conversion, UTF-8 character helpers, the operating system's answers and the clock.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

#include "gdi/Types.h"

// ---- sets ----

// A set of an unscoped enumeration whose values lie in 0..255, as the framework allows.
// Values outside that range are never members.
template <class E>
class Set {
  static_assert(std::is_enum_v<E>, "Set<E> needs an enumeration");

 public:
  constexpr Set() = default;
  constexpr Set(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }

  constexpr Set& Include(E v) {
    if (InRange(v)) FBits[Word(v)] |= Bit(v);
    return *this;
  }
  constexpr Set& Exclude(E v) {
    if (InRange(v)) FBits[Word(v)] &= ~Bit(v);
    return *this;
  }
  constexpr bool Contains(E v) const { return InRange(v) && (FBits[Word(v)] & Bit(v)) != 0; }
  constexpr bool Empty() const { return (FBits[0] | FBits[1] | FBits[2] | FBits[3]) == 0; }
  constexpr void Clear() { *this = Set(); }

  // Union, difference and intersection, as + - * are for the framework's sets.
  friend constexpr Set operator+(Set a, const Set& b) {
    for (int i = 0; i < 4; ++i) a.FBits[i] |= b.FBits[i];
    return a;
  }
  friend constexpr Set operator-(Set a, const Set& b) {
    for (int i = 0; i < 4; ++i) a.FBits[i] &= ~b.FBits[i];
    return a;
  }
  friend constexpr Set operator*(Set a, const Set& b) {
    for (int i = 0; i < 4; ++i) a.FBits[i] &= b.FBits[i];
    return a;
  }
  friend constexpr Set operator+(Set a, E v) { return a.Include(v); }
  friend constexpr Set operator-(Set a, E v) { return a.Exclude(v); }
  Set& operator+=(const Set& b) { return *this = *this + b; }
  Set& operator-=(const Set& b) { return *this = *this - b; }
  Set& operator*=(const Set& b) { return *this = *this * b; }
  Set& operator+=(E v) { return Include(v); }
  Set& operator-=(E v) { return Exclude(v); }
  friend constexpr bool operator==(const Set&, const Set&) = default;
  // a <= b: every member of a is in b.
  friend constexpr bool operator<=(const Set& a, const Set& b) { return (a - b).Empty(); }

 private:
  static constexpr bool InRange(E v) { return int(v) >= 0 && int(v) < 256; }
  static constexpr int Word(E v) { return int(v) >> 6; }
  static constexpr uint64_t Bit(E v) { return uint64_t(1) << (int(v) & 63); }

  uint64_t FBits[4] = {0, 0, 0, 0};
};

// ---- try ... finally ----

// Runs Step when the scope ends, also when it ends with an exception:
// `Finally restore{[&] { RestoreDC(dc, saved); }};`
template <class F>
struct Finally {
  F Step;
  ~Finally() { Step(); }
};
template <class F>
Finally(F) -> Finally<F>;

// ---- exceptions ----

class Exception : public std::exception {
 public:
  explicit Exception(String message) : FMessage(std::move(message)) {}
  const String& Message() const { return FMessage; }
  void SetMessage(const String& value) { FMessage = value; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  String FMessage;
};

#define QV_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

QV_DECLARE_EXCEPTION(EAbort, Exception);
QV_DECLARE_EXCEPTION(EConvertError, Exception);
QV_DECLARE_EXCEPTION(EInvalidOperation, Exception);
QV_DECLARE_EXCEPTION(EInvalidPointer, Exception);
QV_DECLARE_EXCEPTION(EInvalidCast, Exception);
QV_DECLARE_EXCEPTION(EOutOfMemory, Exception);
QV_DECLARE_EXCEPTION(EOSError, Exception);
QV_DECLARE_EXCEPTION(ENotSupportedException, Exception);
QV_DECLARE_EXCEPTION(EArgumentException, Exception);
QV_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
QV_DECLARE_EXCEPTION(EListError, Exception);
QV_DECLARE_EXCEPTION(EStringListError, EListError);
QV_DECLARE_EXCEPTION(EComponentError, Exception);
QV_DECLARE_EXCEPTION(EStreamError, Exception);
QV_DECLARE_EXCEPTION(EFCreateError, EStreamError);
QV_DECLARE_EXCEPTION(EFOpenError, EStreamError);
QV_DECLARE_EXCEPTION(EFilerError, EStreamError);
QV_DECLARE_EXCEPTION(EReadError, EFilerError);
QV_DECLARE_EXCEPTION(EWriteError, EFilerError);
QV_DECLARE_EXCEPTION(EMathError, Exception);
QV_DECLARE_EXCEPTION(EDivByZero, EMathError);
QV_DECLARE_EXCEPTION(ERangeError, EMathError);

// Raises the silent exception that a message loop swallows without a report.
[[noreturn]] void Abort();

// ---- arithmetic ----

// Nearest integer, ties to even. Values beyond the 32-bit range saturate; NaN gives 0.
int32_t Round(double value);
int64_t Round64(double value);
// Toward zero, saturating like Round.
int32_t Trunc(double value);
int64_t Trunc64(double value);
// a * b / c with a 64-bit product, rounded to nearest with halves away from zero; -1 when
// c is 0 or the result does not fit in 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// The framework's pseudo-random numbers: one linear congruential sequence per process,
// seeded with RandSeed (0 until Randomize), so a program that never calls Randomize gets
// the same numbers on every run.
extern uint32_t RandSeed;
// 0 <= result < Range; 0 for a Range of 0 or less.
int32_t Random(int32_t Range);
// 0 <= result < 1.
double Random();
// Seeds the sequence from the clock.
void Randomize();

template <class A, class B>
concept SameSignedness =
    !(std::is_integral_v<A> && std::is_integral_v<B>) || (std::is_signed_v<A> == std::is_signed_v<B>);

template <class A, class B>
requires SameSignedness<A, B>
constexpr std::common_type_t<A, B> Min(A a, B b) {
  using T = std::common_type_t<A, B>;
  return T(a) < T(b) ? T(a) : T(b);
}
template <class A, class B>
requires SameSignedness<A, B>
constexpr std::common_type_t<A, B> Max(A a, B b) {
  using T = std::common_type_t<A, B>;
  return T(a) > T(b) ? T(a) : T(b);
}
// Lo when value is below it, else Hi when value is above it, else value.
template <class V, class L, class H>
requires SameSignedness<V, L> && SameSignedness<V, H>
constexpr std::common_type_t<V, L, H> EnsureRange(V value, L lo, H hi) {
  using T = std::common_type_t<V, L, H>;
  if (T(value) < T(lo)) return T(lo);
  if (T(value) > T(hi)) return T(hi);
  return T(value);
}
template <class V, class L, class H>
constexpr bool InRange(V value, L lo, H hi) {
  return !(value < lo) && !(hi < value);
}

// ---- numbers and text ----

String IntToStr(int64_t value);
// Upper-case hexadecimal, at least `digits` digits; negative values show their
// two's-complement bits of the argument's width.
String IntToHex(int32_t value, int digits = 0);
String IntToHex(uint32_t value, int digits = 0);
String IntToHex(int64_t value, int digits = 0);
String IntToHex(uint64_t value, int digits = 0);
// Accepts leading blanks, a sign, decimal digits or hexadecimal after "$" or "0x".
// Raises EConvertError "'text' is not a valid integer value".
int32_t StrToInt(const String& text);
int64_t StrToInt64(const String& text);
int32_t StrToIntDef(const String& text, int32_t fallback);
bool TryStrToInt(const String& text, int32_t& value);
bool TryStrToInt64(const String& text, int64_t& value);
// Shortest form with up to 15 significant digits and "." as the decimal separator
// ("1.5", "100", "1E20").
String FloatToStr(double value);
// Raises EConvertError "'text' is not a valid floating point value".
double StrToFloat(const String& text);
bool TryStrToFloat(const String& text, double& value);
String BoolToStr(bool value, bool useBoolStrs = false);

// An argument of Format.
using TVarRec = std::variant<int64_t, double, String>;
// The framework's Format: %d %u %x %s %f %e %g %n %m %p and %%, with an optional
// "index:", "-", width and ".precision" (either may be "*"). Raises EConvertError on a
// format that does not match its arguments.
String Format(const String& format, std::initializer_list<TVarRec> args);

// The line break of texts the framework builds (TStrings::Text and friends).
inline const String sLineBreak = "\r\n";

// ASCII case mapping, as UpperCase/LowerCase do; the Ansi forms map every letter.
String UpperCase(const String& s);
String LowerCase(const String& s);
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);
// Ordinal comparisons returning <0, 0 or >0; the Text forms ignore ASCII case.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
bool SameStr(const String& a, const String& b);
bool SameText(const String& a, const String& b);
// Comparisons that ignore the case of every letter (AnsiCompareText) or order a letter's
// lower case before its upper case (AnsiCompareStr), with a stable answer for any input.
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
// Removes characters up to and including the space (control characters too).
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
String QuotedStr(const String& s);
String AnsiQuotedStr(const String& s, char quote);
// The text between quotes with doubled quotes made single; s unchanged when it does not
// start with the quote.
String AnsiDequotedStr(const String& s, char quote);
bool StartsText(const String& sub, const String& s);
bool EndsText(const String& sub, const String& s);
bool IsValidIdent(const String& ident);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag>;
String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags);

// ---- characters (code points) ----
// Positions count code points from 0 (the framework counts from 1); invalid UTF-8 bytes
// count as one character each.

// Number of characters.
int Length(const String& s);
// Character index of the first occurrence of sub at or after `from`, or -1.
int Pos(const String& sub, const String& s, int from = 0);
// Up to count characters from index; out-of-range parts are cut off, never an error.
String Copy(const String& s, int index, int count = INT32_MAX);
// Removes up to count characters from index.
void Delete(String& s, int index, int count);
// Inserts sub before character index (clamped to the ends).
void Insert(const String& sub, String& s, int index);
// Byte offset of character index (clamped to the ends).
size_t CharToByteIndex(const String& s, int index);
// Decoding: invalid bytes become U+FFFD.
std::u32string Utf8ToCodePoints(const String& s);
String CodePointsToUtf8(const std::u32string& s);
String CodePointToUtf8(char32_t c);

// ---- the operating system ----

constexpr int VER_PLATFORM_WIN32s = 0;
constexpr int VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr int VER_PLATFORM_WIN32_NT = 2;

// What the program is told about the system it runs on: Windows 10, build 19045.
struct TOSAnswers {
  int MajorVersion = 10;
  int MinorVersion = 0;
  int BuildNumber = 19045;
  int Platform = VER_PLATFORM_WIN32_NT;
  String CSDVersion;
};

const TOSAnswers& OSAnswers();
void SetOSAnswers(const TOSAnswers& answers);

// Puts other answers in force for its lifetime (tests), then restores the previous ones.
class TOSAnswersOverride {
 public:
  explicit TOSAnswersOverride(const TOSAnswers& answers);
  ~TOSAnswersOverride();
  TOSAnswersOverride(const TOSAnswersOverride&) = delete;
  TOSAnswersOverride& operator=(const TOSAnswersOverride&) = delete;

 private:
  TOSAnswers FSaved;
};

int Win32MajorVersion();
int Win32MinorVersion();
int Win32BuildNumber();
int Win32Platform();
String Win32CSDVersion();
// True when the system is at least major.minor.
bool CheckWin32Version(int major, int minor = 0);

// ---- the clock ----

// Milliseconds from an arbitrary start that never go back: the steady clock of the
// process unless SetTickSource names another source. Code on the window system reads
// GetTickCount (win/Queue.h), the backend's clock, instead.
using TTickSource = uint64_t (*)();
void SetTickSource(TTickSource source);  // null restores the steady clock
uint64_t TickCount64();
