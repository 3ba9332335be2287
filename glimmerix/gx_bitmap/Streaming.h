// The pieces the bitmap and link streams share: exact reads that raise EgxStreamError,
// and the name (int32 count of UTF-16 code units, then the units, little-endian).
#pragma once

#include "gx_bitmap/Bitmap.h"

// Bytes left after the position, or -1 when the stream cannot tell.
int64_t gxStreamRemaining(TStream* Stream);
// Exactly Count bytes, else EgxStreamError "Invalid <Kind> stream: <What> is truncated".
void gxReadExact(TStream* Stream, void* Buffer, int64_t Count, const char* Kind, const char* What);
int32_t gxReadInt32(TStream* Stream, const char* Kind, const char* What);
void gxWriteInt32(TStream* Stream, int32_t Value);

String gxReadStreamName(TStream* Stream, const char* Kind);
void gxWriteStreamName(TStream* Stream, const String& Name);
