// UTF-8 and code points: the one place text is taken apart into characters and put
// together again.
#pragma once

#include <cstddef>
#include <string>

#include "Types.h"

constexpr char32_t kReplacementCharacter = 0xFFFD;

// An invalid byte, an overlong form, a surrogate or a value past Unicode becomes U+FFFD.
// Reads at most maxChars code points when maxChars >= 0; *bytesRead (optional) tells where
// reading stopped.
std::u32string DecodeUtf8(const String& s, int maxChars = -1, size_t* bytesRead = nullptr);
// What UTF-8 cannot carry (surrogates, values past Unicode) is written as U+FFFD.
String EncodeUtf8(const std::u32string& s);
void AppendUtf8(String& out, char32_t c);
