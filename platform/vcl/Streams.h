// Streams: the abstract TStream with buffer reads and writes that raise on short
// transfers, memory and byte streams, file streams and string streams.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "Persistent.h"

using TBytes = std::vector<uint8_t>;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
  QV_CLASS(TStream, TObject)

  // Transfer up to Count bytes and answer how many moved; 0 at the end of the stream.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // The new position, or -1 when the stream cannot move there.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  // Exactly Count bytes or EReadError "Stream read error" / EWriteError "Stream write
  // error".
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position; Count <= 0 copies all of Source from its
  // start. Answers the bytes copied.
  int64_t CopyFrom(TStream* Source, int64_t Count);

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);

  // A plain value in memory layout (the framework's ReadData/WriteData).
  template <class T>
  void ReadData(T& Value) {
    static_assert(std::is_trivially_copyable_v<T>);
    ReadBuffer(&Value, sizeof(T));
  }
  template <class T>
  void WriteData(const T& Value) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteBuffer(&Value, sizeof(T));
  }
};

// Bytes in memory; the position may lie past the end, and writing there fills the gap
// with zeros.
class TMemoryStream : public TStream {
  QV_CLASS(TMemoryStream, TStream)

  TMemoryStream() = default;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return int64_t(FData.size()); }
  // Raises EOutOfMemory "Out of memory" when the bytes cannot be had.
  void SetSize(int64_t NewSize) override;
  void Clear();

  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }

  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

 protected:
  TBytes FData;
  int64_t FPosition = 0;
};

class TBytesStream : public TMemoryStream {
  QV_CLASS(TBytesStream, TMemoryStream)

  explicit TBytesStream(const TBytes& ABytes = {});
  const TBytes& Bytes() const { return FData; }
};

class TStringStream : public TBytesStream {
  QV_CLASS(TStringStream, TBytesStream)

  explicit TStringStream(const String& AString = String());
  String DataString() const { return String(FData.begin(), FData.end()); }
  // Up to Count bytes from the position.
  String ReadString(int64_t Count);
  void WriteString(const String& AString);
};

// File modes: one of fmCreate or fmOpen*, combined with a sharing mode (accepted and
// ignored: the files are not locked).
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
  QV_CLASS(TFileStream, TStream)

  // Raises EFCreateError 'Cannot create file "name". reason' or EFOpenError
  // 'Cannot open file "name". reason'.
  TFileStream(const String& AFileName, uint16_t Mode);
  ~TFileStream() override;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
  int FHandle = -1;
};
