// SPDX-License-Identifier: Apache-2.0
#include "support/fault_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_host.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class FaultFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sRoot_ = dir_.Str();
    pBase_ = std::make_unique<test::HostFileSystem>();
    pFs_ = std::make_unique<FaultInjectingFileSystem>(*pBase_);
  }
  void TearDown() override {
    pFs_.reset();
    pBase_.reset();
  }
  std::string ReadRaw(const std::string& sRelative) const { return dir_.Read(sRelative); }
  void WriteRaw(const std::string& sRelative, const std::string& sData) const { dir_.Write(sRelative, sData); }
  // A file of the test directory in the library's form.
  std::string P(const std::string& sName) const { return sRoot_ + "\\" + sName; }

  test::TempDir dir_;
  std::string sRoot_;
  std::unique_ptr<FileSystem> pBase_;
  std::unique_ptr<FaultInjectingFileSystem> pFs_;
};

TEST_F(FaultFilesTest, ForwardsWhenNotArmed) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, P("a.txt"), kOpenCreate));
  EXPECT_TRUE(pFs_->PutLine(h, "one"));
  EXPECT_EQ(pFs_->Write(h, "two"), 3);
  EXPECT_EQ(pFs_->Tell(h), 8);
  ASSERT_TRUE(pFs_->Seek(h, 0, kSeekStart));
  std::string s;
  ASSERT_TRUE(pFs_->GetLine(h, s, 0));
  EXPECT_EQ(s, "one");
  EXPECT_EQ(pFs_->Read(h, s, 10), 3);
  EXPECT_EQ(s, "two");
  EXPECT_TRUE(pFs_->Close(h));
  std::vector<std::string> aNames;
  EXPECT_EQ(pFs_->ListFiles(P("*.TXT"), aNames), 1);
  EXPECT_TRUE(pFs_->DirExists(sRoot_));
  EXPECT_EQ(pFs_->Count(FaultOp::kWrite), 2);
  EXPECT_EQ(pFs_->Count(FaultOp::kOpenAny), 1);
  EXPECT_EQ(pFs_->Count(FaultOp::kOpenForWrite), 1);
}

TEST_F(FaultFilesTest, NthPutLineFailsAndWritesNothing) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, P("a.txt"), kOpenCreate));
  pFs_->FailNth(FaultOp::kWrite, 2);
  EXPECT_TRUE(pFs_->PutLine(h, "one"));
  EXPECT_FALSE(pFs_->PutLine(h, "two"));
  EXPECT_TRUE(pFs_->PutLine(h, "three"));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("a.txt"), "one\r\nthree\r\n");
  EXPECT_EQ(pFs_->Count(FaultOp::kWrite), 3);
}

TEST_F(FaultFilesTest, FailedWriteWritesHalfLikeAFullDisk) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, P("a.txt"), kOpenCreate));
  EXPECT_EQ(pFs_->Write(h, "head"), 4);
  // Counted from the moment of arming: the next write fails.
  pFs_->FailNth(FaultOp::kWrite, 1);
  EXPECT_EQ(pFs_->Write(h, "0123456789"), 5);
  EXPECT_EQ(pFs_->Write(h, "!"), 1);
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("a.txt"), "head01234!");
}

TEST_F(FaultFilesTest, FailFromKeepsFailingUntilCleared) {
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, P("a.txt"), kOpenCreate));
  pFs_->FailFrom(FaultOp::kWrite, 2);
  EXPECT_TRUE(pFs_->PutLine(h, "a"));
  EXPECT_FALSE(pFs_->PutLine(h, "b"));
  EXPECT_FALSE(pFs_->PutLine(h, "c"));
  EXPECT_EQ(pFs_->Write(h, "x"), 0);  // half of one byte is nothing
  pFs_->Clear();
  EXPECT_TRUE(pFs_->PutLine(h, "d"));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(ReadRaw("a.txt"), "a\r\nd\r\n");
  EXPECT_EQ(pFs_->Count(FaultOp::kWrite), 5);
}

TEST_F(FaultFilesTest, OpenFaultsByStyle) {
  WriteRaw("r.txt", "x");
  pFs_->FailNth(FaultOp::kOpenForWrite, 1);
  FileHandle h;
  ASSERT_TRUE(pFs_->Open(h, P("r.txt"), kOpenRead));  // not a write style
  EXPECT_TRUE(pFs_->Close(h));
  FileHandle hUntouched{5};
  EXPECT_FALSE(pFs_->Open(hUntouched, P("w.txt"), kOpenAppend));
  EXPECT_EQ(hUntouched.nValue, 5u);
  EXPECT_FALSE(fs::exists(sRoot_ + "/w.txt"));
  ASSERT_TRUE(pFs_->Open(h, P("w.txt"), kOpenCreate));
  EXPECT_TRUE(pFs_->Close(h));
  EXPECT_EQ(pFs_->Count(FaultOp::kOpenForWrite), 2);

  pFs_->FailNth(FaultOp::kOpenAny, 1);
  EXPECT_FALSE(pFs_->Open(h, P("r.txt"), kOpenExist));
  EXPECT_TRUE(pFs_->Open(h, P("r.txt"), kOpenExist));
  pFs_->FailNth(FaultOp::kOpenAny, 1);
  EXPECT_FALSE(pFs_->Open(h, P("r.txt"), kOpenDelete));
  EXPECT_TRUE(fs::exists(sRoot_ + "/r.txt"));
  EXPECT_EQ(pFs_->Count(FaultOp::kOpenAny), 6);
}

TEST_F(FaultFilesTest, RenameReplaceAndCopyFaults) {
  WriteRaw("a.txt", "A");
  pFs_->FailNth(FaultOp::kRename, 1);
  EXPECT_TRUE(pFs_->Rename(P("a.txt"), P("b.txt")).Failed());
  EXPECT_FALSE(fs::exists(sRoot_ + "/b.txt"));
  EXPECT_FALSE(pFs_->Rename(P("a.txt"), P("b.txt")).Failed());
  EXPECT_EQ(ReadRaw("b.txt"), "A");

  WriteRaw("t.txt", "T");
  pFs_->FailNth(FaultOp::kRename, 1);
  EXPECT_TRUE(pFs_->MoveOver(P("b.txt"), P("t.txt")).Failed());
  EXPECT_EQ(ReadRaw("t.txt"), "T");
  EXPECT_EQ(pFs_->Count(FaultOp::kRename), 3);

  pFs_->FailNth(FaultOp::kCopy, 1);
  EXPECT_TRUE(pFs_->Copy(P("b.txt"), P("t.txt")).Failed());
  EXPECT_EQ(ReadRaw("t.txt"), "T");
  EXPECT_FALSE(pFs_->Copy(P("b.txt"), P("t.txt")).Failed());
  EXPECT_EQ(ReadRaw("t.txt"), "A");
  EXPECT_EQ(pFs_->Count(FaultOp::kCopy), 2);
}

}  // namespace
}  // namespace qv
