// SPDX-License-Identifier: Apache-2.0
// The marshalling of the C boundary, on a small class of the test's own: the
// explicit-instance and current-instance forms of a class function act
// alike, and receive parameters come back to the caller.
#include "exports/abi.h"

#include <gtest/gtest.h>

#include "support/test_host.h"

namespace qv {
namespace {

class Counter final : public Object {
 public:
  std::string_view ClassName() const override { return "Counter"; }

  Number Add(Module& m, Number n) {
    nTotal_ = nTotal_ + n;
    m.WaitCursorDepth() = m.WaitCursorDepth() + 1;  // an effect on the module
    return nTotal_;
  }
  String Describe(Module&, std::string_view sPrefix, String& sOut, Number& nCalls) {
    nCalls = nCalls + 1;
    sOut = String(sPrefix) + std::to_string(static_cast<int>(nTotal_.Value()));
    return sOut + "!";
  }
  Number Total() const { return nTotal_; }

 private:
  Number nTotal_;
};

class Other final : public Object {
 public:
  std::string_view ClassName() const override { return "Other"; }
};

class AbiTest : public test::HostFixture {
 protected:
  QvObject* Handle(Object& o) { return reinterpret_cast<QvObject*>(&o); }
  abi::Process process_{module_.get(), nullptr};
};

TEST_F(AbiTest, BothFormsOfAClassFunctionActAlike) {
  Counter explicitOne;
  Counter currentOne;
  const QvNumber r1 = abi::CallExplicit<&Counter::Add>(process_, Handle(explicitOne), abi::ToAbi(Number(5)));
  process_.pCurrent = &currentOne;
  const QvNumber r2 = abi::CallCurrent<&Counter::Add>(process_, abi::ToAbi(Number(5)));
  EXPECT_EQ(r1.value, 5);
  EXPECT_EQ(r2.value, r1.value);
  EXPECT_EQ(r2.isNull, r1.isNull);
  EXPECT_EQ(explicitOne.Total(), currentOne.Total());
  EXPECT_EQ(module_->WaitCursorDepth(), Number(2));
  EXPECT_EQ(module_->InitialisationCount(), 1);  // whichever form came first
}

TEST_F(AbiTest, ReceiveParametersReleaseTheOldValueAndStoreTheNew) {
  Counter c;
  abi::CallExplicit<&Counter::Add>(process_, Handle(c), abi::ToAbi(Number(7)));
  QvString prefix{"n="};
  QvString* pOut = abi::NewString("old value");
  QvNumber nCalls = abi::ToAbi(Number(1));
  process_.pCurrent = &c;
  QvString* pResult = abi::CallCurrent<&Counter::Describe>(process_, &prefix, &pOut, &nCalls);
  EXPECT_EQ(pOut->s, "n=7");
  EXPECT_EQ(pResult->s, "n=7!");
  EXPECT_EQ(nCalls.value, 2);
  delete pResult;
  delete pOut;
}

TEST_F(AbiTest, AnInstanceOfAnotherClassRunsNothing) {
  Other o;
  const QvNumber r = abi::CallExplicit<&Counter::Add>(process_, Handle(o), abi::ToAbi(Number(5)));
  EXPECT_NE(r.isNull, 0);
  const QvNumber rNone = abi::CallCurrent<&Counter::Add>(process_, abi::ToAbi(Number(5)));
  EXPECT_NE(rNone.isNull, 0);
  EXPECT_EQ(module_->WaitCursorDepth(), Number(0));
}

TEST(AbiTypes, DecoratedArgumentBytesFollowTheBoundaryTypes) {
  // A String and two Numbers: 4 + 16 + 16 on a 32-bit build.
  static_assert(abi::DecoratedBytes<&Counter::Add>() == 16 + 4);
  static_assert(abi::DecoratedBytes<&Counter::Describe>() == 4 + 4 + 4 + 4);
  EXPECT_EQ(abi::FromAbi(abi::ToAbi(Number::Null())), Number::Null());
  EXPECT_EQ(abi::FromAbi(abi::ToAbi(Number(-2.5))), Number(-2.5));
  const DateTime dt = DateTime::FromParts(2026, 12, 7, 5, 54, 9, 123456);
  EXPECT_EQ(abi::FromAbi(abi::ToAbi(dt)), dt);
  EXPECT_TRUE(abi::FromAbi(abi::ToAbi(DateTime())).IsNull());
}

}  // namespace
}  // namespace qv
