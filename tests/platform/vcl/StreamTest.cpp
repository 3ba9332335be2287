#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "vcl/Classes.h"

namespace {

TEST(Stream, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream s;
  s.WriteBuffer("hello", 5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Seek(-2, soEnd), 3);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2);  // what is left
  EXPECT_STREQ(buf, "lo");
  EXPECT_EQ(s.Read(buf, 8), 0);

  // Writing past the end fills the gap with zeros.
  s.SetPosition(8);
  s.WriteData<uint16_t>(0xBEEF);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Memory()[6], 0);
  uint16_t v = 0;
  s.SetPosition(8);
  s.ReadData(v);
  EXPECT_EQ(v, 0xBEEF);

  EXPECT_EQ(s.Seek(-1, soBeginning), -1);  // refused, position kept
  EXPECT_EQ(s.Position(), 10);
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);
  EXPECT_EQ(String(reinterpret_cast<const char*>(s.Memory()), 3), "hel");
}

TEST(Stream, BufferReadsAndWritesRaiseOnShortTransfers) {
  TStringStream s("abc");
  char buf[4];
  s.ReadBuffer(buf, 3);
  try {
    s.SetPosition(1);
    s.ReadBuffer(buf, 3);
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_THROW(s.ReadBuffer(buf, -1), EReadError);
  s.ReadBuffer(buf, 0);  // nothing asked, nothing wrong

  // A stream that takes nothing makes WriteBuffer fail.
  class TFull : public TStream {
   public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t, TSeekOrigin) override { return 0; }
  } full;
  try {
    full.WriteBuffer("x", 1);
    ADD_FAILURE();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
  // Both are filer errors, which are stream errors.
  EXPECT_THROW(full.WriteBuffer("x", 1), EStreamError);
}

TEST(Stream, CopyFromCopiesPartOrAll) {
  TStringStream src("0123456789");
  TMemoryStream dst;
  src.SetPosition(4);
  EXPECT_EQ(dst.CopyFrom(&src, 3), 3);
  EXPECT_EQ(src.Position(), 7);
  EXPECT_EQ(dst.CopyFrom(&src, 0), 10);  // 0: all of it, from the start
  EXPECT_EQ(String(reinterpret_cast<const char*>(dst.Memory()), size_t(dst.Size())), "4560123456789");
  src.SetPosition(8);
  EXPECT_THROW(dst.CopyFrom(&src, 5), EReadError);
}

TEST(Stream, StringAndBytesStreams) {
  TStringStream s("ab");
  s.Seek(0, soEnd);
  s.WriteString("cd");
  EXPECT_EQ(s.DataString(), "abcd");
  s.SetPosition(1);
  EXPECT_EQ(s.ReadString(2), "bc");
  EXPECT_EQ(s.ReadString(10), "d");

  TBytesStream b(TBytes{1, 2, 3});
  EXPECT_EQ(b.Size(), 3);
  b.SetPosition(3);
  b.WriteData<uint8_t>(4);
  EXPECT_EQ(b.Bytes(), (TBytes{1, 2, 3, 4}));
}

TEST(Stream, HugeSizesRaiseOutOfMemory) {
  TMemoryStream s;
  try {
    s.SetSize(int64_t(1) << 40);
    ADD_FAILURE();
  } catch (const EOutOfMemory& e) {
    EXPECT_EQ(e.Message(), "Out of memory");
  }
  EXPECT_EQ(s.Size(), 0);
}

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qv-vcl-stream-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    FDir = tmpl;
  }
  void TearDown() override {
    unlink((FDir + "/data.bin").c_str());
    rmdir(FDir.c_str());
  }
  String FDir;
};

TEST_F(FileStreamTest, CreateWriteReopenRead) {
  const String path = FDir + "/data.bin";
  {
    TFileStream f(path, fmCreate);
    f.WriteBuffer("abcdef", 6);
    f.SetSize(4);
    EXPECT_EQ(f.Size(), 4);
  }
  TFileStream f(path, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(f.Size(), 4);
  char buf[8] = {};
  f.Seek(1, soBeginning);
  EXPECT_EQ(f.Read(buf, 8), 3);
  EXPECT_STREQ(buf, "bcd");
  EXPECT_EQ(f.Write("x", 1), 0);  // opened for reading only

  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(m.Size(), 4);
}

TEST_F(FileStreamTest, FailuresNameTheFile) {
  const String missing = FDir + "/missing.bin";
  try {
    TFileStream f(missing, fmOpenRead);
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". " + std::strerror(ENOENT));
  }
  const String bad = FDir + "/no/such/dir.bin";
  try {
    TFileStream f(bad, fmCreate);
    ADD_FAILURE();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + bad + "\". ", 0), 0u);
  }
  EXPECT_THROW(TFileStream(FDir, fmOpenRead), EFOpenError);  // a folder
}

}  // namespace
