#include "Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

// ---- TStream ----

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || (Count != 0 && Read(Buffer, Count) != Count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count < 0 || (Count != 0 && Write(Buffer, Count) != Count)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (!Source) return 0;
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> buffer(size_t(std::min(Count, kChunk)));
  int64_t left = Count;
  while (left > 0) {
    const int64_t n = std::min(left, kChunk);
    Source->ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

int64_t TStream::Size() {
  const int64_t pos = Seek(0, soCurrent);
  const int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

void TStream::SetSize(int64_t) {}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || !Buffer || FPosition >= Size()) return 0;
  const int64_t n = std::min(Count, Size() - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0 || !Buffer) return 0;
  if (Count > INT64_MAX - FPosition) return 0;
  const int64_t end = FPosition + Count;
  if (end > Size()) SetSize(end);
  std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
  FPosition = end;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = 0;
  if (Origin == soCurrent)
    base = FPosition;
  else if (Origin == soEnd)
    base = Size();
  if ((Offset < 0 && base + Offset < 0) || (Offset > 0 && Offset > INT64_MAX - base)) return -1;
  FPosition = base + Offset;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  try {
    // Refused before asking the allocator, which may not answer huge requests politely.
    constexpr int64_t kMaxSize = int64_t(1) << 31;
    if (NewSize > kMaxSize) throw std::bad_alloc();
    FData.resize(size_t(NewSize));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  } catch (const std::length_error&) {
    throw EOutOfMemory("Out of memory");
  }
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  Stream->SetPosition(0);
  const int64_t n = Stream->Size();
  SetSize(n);
  if (n > 0) Stream->ReadBuffer(FData.data(), n);
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  if (Stream && !FData.empty()) Stream->WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const String& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(&file);
}

// ---- TBytesStream, TStringStream ----

TBytesStream::TBytesStream(const TBytes& ABytes) { FData = ABytes; }

TStringStream::TStringStream(const String& AString) : TBytesStream(TBytes(AString.begin(), AString.end())) {}

String TStringStream::ReadString(int64_t Count) {
  if (Count <= 0 || FPosition >= Size()) return String();
  const int64_t n = std::min(Count, Size() - FPosition);
  String s(reinterpret_cast<const char*>(FData.data() + FPosition), size_t(n));
  FPosition += n;
  return s;
}

void TStringStream::WriteString(const String& AString) { WriteBuffer(AString.data(), int64_t(AString.size())); }

// ---- TFileStream ----

TFileStream::TFileStream(const String& AFileName, uint16_t Mode) : FFileName(AFileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = ::open(AFileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FHandle < 0) throw EFCreateError("Cannot create file \"" + AFileName + "\". " + std::strerror(errno));
    return;
  }
  int flags = O_RDONLY;
  if ((Mode & 3) == fmOpenWrite)
    flags = O_WRONLY;
  else if ((Mode & 3) == fmOpenReadWrite)
    flags = O_RDWR;
  FHandle = ::open(AFileName.c_str(), flags | O_CLOEXEC);
  if (FHandle >= 0) {
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      errno = EISDIR;
    }
  }
  if (FHandle < 0) throw EFOpenError("Cannot open file \"" + AFileName + "\". " + std::strerror(errno));
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || !Buffer) return 0;
  int64_t done = 0;
  auto* p = static_cast<uint8_t*>(Buffer);
  while (done < Count) {
    const ssize_t n = ::read(FHandle, p + done, size_t(std::min<int64_t>(Count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0 || !Buffer) return 0;
  int64_t done = 0;
  const auto* p = static_cast<const uint8_t*>(Buffer);
  while (done < Count) {
    const ssize_t n = ::write(FHandle, p + done, size_t(std::min<int64_t>(Count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return int64_t(::lseek(FHandle, off_t(Offset), whence));
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0 || ::ftruncate(FHandle, off_t(NewSize)) != 0) throw EWriteError("Stream write error");
  if (Position() > NewSize) SetPosition(NewSize);
}
