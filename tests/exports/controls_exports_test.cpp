// SPDX-License-Identifier: Apache-2.0
// Object sizing, containers and MDI children reached through the built
// library as a host reaches them: instances and their arrays made through
// the runtime API, windows in the host's headless window system, every class
// called through its exported names, XE and XT forms and decorated names.
#include <gtest/gtest.h>

#include <string>

#include "cli/library_client.h"
#include "support/loaded_library.h"

namespace qv {
namespace {

using quorvane::cli::LibraryClient;

using test::kNull;
using test::Num;

using Fn0 = QvNumber (*)(QvObject*);
using FnNum = QvNumber (*)(QvObject*, QvNumber);
using FnT0 = QvNumber (*)();
using FindFn = void (*(*)(const char*))();

class ControlsExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib_.Load(QV_SHARED_LIBRARY)) << lib_.Error();
    find_ = lib_.Function<FindFn>("QvFindExport");
    ASSERT_NE(find_, nullptr);
  }
  template <class F>
  F Fn(const char* sName) {
    auto p = reinterpret_cast<F>(find_(sName));
    EXPECT_NE(p, nullptr) << sName;
    return p;
  }
  QvObject* New(const char* sClass) {
    QvObject* p = lib_.Function<QvObject* (*)(const char*)>("QvObjectNew")(sClass);
    EXPECT_NE(p, nullptr) << sClass;
    return p;
  }
  void Free(QvObject* p) { lib_.Function<void (*)(QvObject*)>("QvObjectFree")(p); }
  void SetCurrent(QvObject* p) { lib_.Function<void (*)(QvObject*)>("QvSetCurrentInstance")(p); }
  QvWindowHandle CreateWindow(QvWindowHandle hParent, int64_t nType, const char* sName) {
    return lib_.Function<QvWindowHandle (*)(QvWindowHandle, int64_t, const char*)>("QvCreateWindow")(hParent, nType,
                                                                                                     sName);
  }
  bool Place(QvWindowHandle h, double x, double y, double w, double hgt) {
    return lib_.Function<QvBoolean (*)(QvWindowHandle, QvNumber, QvNumber, QvNumber, QvNumber)>("QvPlaceWindow")(
               h, Num(x), Num(y), Num(w), Num(hgt)) != 0;
  }
  // Left, top, width and height of a window.
  std::vector<double> Placement(QvWindowHandle h) {
    QvNumber a[4] = {kNull, kNull, kNull, kNull};
    lib_.Function<QvBoolean (*)(QvWindowHandle, QvNumber*, QvNumber*, QvNumber*, QvNumber*)>("QvGetWindowPlacement")(
        h, &a[0], &a[1], &a[2], &a[3]);
    return {a[0].value, a[1].value, a[2].value, a[3].value};
  }
  bool SetWindowElement(QvObject* p, const char* sArray, int64_t i, QvWindowHandle h) {
    return lib_.Function<QvBoolean (*)(QvObject*, const char*, int64_t, QvWindowHandle)>("QvSetWindowElement")(
               p, sArray, i, h) != 0;
  }
  int64_t Sent(QvWindowHandle h, int64_t nMessage) {
    return lib_.Function<int64_t (*)(QvWindowHandle, int64_t)>("QvMessagesSent")(h, nMessage);
  }
  void SetContextWindow(const char* sName, QvWindowHandle h) {
    ASSERT_EQ(lib_.Function<QvBoolean (*)(const char*, QvWindowHandle)>("QvSetContextWindow")(sName, h), 1) << sName;
  }

  LibraryClient lib_;
  FindFn find_ = nullptr;
};

TEST_F(ControlsExportsTest, ObjectSizesResizeThroughTheirExports) {
  const QvWindowHandle hForm = CreateWindow(0, 1, "frmSized");
  const QvWindowHandle hChild = CreateWindow(hForm, 2, "dfSized");
  ASSERT_TRUE(Place(hForm, 0, 0, 400, 300));
  ASSERT_TRUE(Place(hChild, 20, 30, 100, 100));

  QvObject* pSize = New("VC_ObjectSize");
  using SetModeFn = QvNumber (*)(QvObject*, QvNumber, QvNumber, QvNumber, QvNumber, QvNumber, QvNumber);
  EXPECT_NE(Fn<SetModeFn>("__quorvane__XE29229084")(pSize, Num(1), Num(1), Num(5), Num(12), Num(9), Num(1)).isNull, 0);
  Fn<QvNumber (*)(QvObject*, QvWindowHandle)>("_SetObjectSizeDetail_1__@8")(pSize, hChild);

  // Stretch width and a fixed bottom gap, by the XT form.
  ASSERT_TRUE(Place(hForm, 0, 0, 500, 400));
  SetCurrent(pSize);
  Fn<FnT0>("__quorvane__XT29229103")();
  EXPECT_EQ(Placement(hChild), (std::vector<double>{20, 130, 200, 100}));
  // The same through the decorated name of Resize, from a moved position.
  ASSERT_TRUE(Place(hChild, 0, 0, 1, 1));
  Fn<Fn0>("_Resize_1__@4")(pSize);
  EXPECT_EQ(Placement(hChild), (std::vector<double>{20, 130, 200, 100}));

  // A group holding a copy of the object, resized by both forms.
  QvObject* pGroup = New("VC_ObjectSizeGroup");
  ASSERT_EQ(lib_.Function<QvBoolean (*)(QvObject*, const char*, int64_t, const QvObject*)>("QvSetObjectElement")(
                pGroup, "oObjectSizes", 0, pSize),
            1);
  ASSERT_TRUE(SetWindowElement(pGroup, "hWndObjects", 0, hChild));
  EXPECT_FALSE(SetWindowElement(pGroup, "hWndNoSuchList", 0, hChild));
  SetContextWindow("hWndForm", hForm);
  ASSERT_TRUE(Place(hForm, 0, 0, 600, 400));
  Fn<Fn0>("__quorvane__XE28442626")(pGroup);
  EXPECT_EQ(Placement(hChild), (std::vector<double>{20, 130, 300, 100}));
  SetCurrent(pGroup);
  Fn<FnT0>("__quorvane__XT28442626")();
  EXPECT_EQ(Sent(hForm, 11), 4);  // painting off and on, twice
  EXPECT_EQ(lib_.Function<int32_t (*)(QvWindowHandle)>("QvWindowPaints")(hForm), 2);
  Free(pGroup);
  Free(pSize);
}

TEST_F(ControlsExportsTest, ContainerCellsCrossTheBoundaryWithEveryKind) {
  using SetDataFn = QvNumber (*)(QvObject*, QvNumber, QvBoolean, QvDateTime, int32_t, QvNumber, int32_t,
                                 const QvString*, QvWindowHandle);
  using GetDataFn = QvNumber (*)(QvObject*, QvNumber*, QvBoolean*, QvDateTime*, int32_t*, QvNumber*, int32_t*,
                                 QvString**, QvWindowHandle*);
  const QvDateTime dt{63'900'000'000'000'000, 0, 0};
  QvString* pText = lib_.NewString("cell text");

  QvObject* pCell = New("VC_Container");
  Fn<SetDataFn>("___SetData_17__@72")(pCell, Num(8), 5, dt, INT32_MIN, Num(2.5), -7, pText, 0x77);
  QvNumber nKey = kNull, nValue = kNull;
  QvBoolean bValue = 9;
  QvDateTime dtOut{0, 1, 0};
  int32_t h1 = 0, h2 = 0;
  QvString* pOut = lib_.NewString("old");
  QvWindowHandle hWnd = 0;
  Fn<GetDataFn>("___GetData_17__@36")(pCell, &nKey, &bValue, &dtOut, &h1, &nValue, &h2, &pOut, &hWnd);
  EXPECT_EQ(nKey.value, 8);
  EXPECT_EQ(bValue, 1);
  EXPECT_EQ(dtOut.micros, dt.micros);
  EXPECT_EQ(dtOut.isNull, 0);
  EXPECT_EQ(h1, INT32_MIN);
  EXPECT_EQ(nValue.value, 2.5);
  EXPECT_EQ(h2, -7);
  EXPECT_EQ(std::string(lib_.Function<const char* (*)(const QvString*)>("QvStringData")(pOut),
                        lib_.Function<size_t (*)(const QvString*)>("QvStringSize")(pOut)),
            "cell text");
  EXPECT_EQ(hWnd, 0x77u);
  Fn<Fn0>("__quorvane__XE42598448")(pCell);  // ClearData
  Fn<GetDataFn>("__quorvane__XE42598402")(pCell, &nKey, &bValue, &dtOut, &h1, &nValue, &h2, &pOut, &hWnd);
  EXPECT_EQ(nKey.value, 8);
  EXPECT_NE(dtOut.isNull, 0);
  EXPECT_NE(nValue.isNull, 0);
  EXPECT_EQ(h1, 0);
  EXPECT_EQ(hWnd, 0u);
  EXPECT_EQ(lib_.TakeString(pOut), "");

  // The base class's exports serve every level; the XT form acts alike.
  Fn<FnNum>("___SetContainerType_16__@20")(pCell, Num(31));
  EXPECT_EQ(Fn<Fn0>("__quorvane__XE42598483")(pCell).value, 31);
  SetCurrent(pCell);
  EXPECT_EQ(Fn<FnT0>("__quorvane__XT41811979")().value, 31);
  QvObject* pBase = New("VC_ContainerBase");
  Fn<QvNumber (*)(QvObject*, QvBoolean)>("__quorvane__XE41812004")(pBase, 1);
  EXPECT_EQ(Fn<Fn0>("___GetCtrlBoolean_16__@4")(pBase).value, 1);
  Free(pBase);
  Free(pCell);

  // A list: the cell key is its index; the size by the decorated name.
  QvObject* pList = New("VC_ListContainerObject");
  SetCurrent(pList);
  using SetItemFn = QvNumber (*)(QvNumber, QvBoolean, QvDateTime, int32_t, QvNumber, int32_t, const QvString*,
                                 QvWindowHandle);
  Fn<SetItemFn>("__quorvane__XT43384834")(Num(3), 1, dt, 1, Num(2), 3, pText, 0);
  EXPECT_EQ(Fn<Fn0>("___GetContainerSize_18__@4")(pList).value, 4);
  QvObject* pCellOfList = lib_.Function<QvObject* (*)(QvObject*, const char*, int64_t)>("QvObjectElement")(pList,
                                                                                                           "oCells", 3);
  ASSERT_NE(pCellOfList, nullptr);
  EXPECT_EQ(Fn<Fn0>("__quorvane__XE42598465")(pCellOfList).value, 3);
  Fn<Fn0>("___Reset_18__@4")(pList);
  EXPECT_EQ(Fn<Fn0>("__quorvane__XE43384910")(pList).value, 0);
  Free(pList);

  // A control: the cell key is the list index; the destructor drops the lists.
  QvObject* pCtrl = New("VC_ContainerCtrl");
  using SetCellFn = QvNumber (*)(QvObject*, QvNumber, QvNumber, QvBoolean, QvDateTime, int32_t, QvNumber, int32_t,
                                 const QvString*, QvWindowHandle);
  Fn<SetCellFn>("__quorvane__XE44171266")(pCtrl, Num(1), Num(3), 0, dt, 4, Num(5), 6, pText, 0x99);
  SetCurrent(pCtrl);
  using GetCellFn = QvNumber (*)(QvNumber, QvNumber, QvBoolean*, QvDateTime*, int32_t*, QvNumber*, int32_t*, QvString**,
                                 QvWindowHandle*);
  pOut = nullptr;
  bValue = 1;
  Fn<GetCellFn>("__quorvane__XT44171283")(Num(1), Num(3), &bValue, &dtOut, &h1, &nValue, &h2, &pOut, &hWnd);
  EXPECT_EQ(bValue, 0);
  EXPECT_EQ(h1, 4);
  EXPECT_EQ(hWnd, 0x99u);
  EXPECT_EQ(lib_.TakeString(pOut), "cell text");
  EXPECT_EQ(Fn<FnT0>("__quorvane__XT44171364")().value, 2);
  EXPECT_EQ(Fn<FnNum>("__quorvane__XE44171428")(pCtrl, Num(1)).value, 4);
  Fn<Fn0>("___dt_19__@4")(pCtrl);
  EXPECT_EQ(Fn<FnT0>("__quorvane__XT44171364")().value, 0);
  Fn<Fn0>("___ct_19__@4")(pCtrl);
  EXPECT_EQ(Fn<Fn0>("__quorvane__XE44171364")(pCtrl).value, 0);
  Free(pCtrl);
  lib_.FreeString(pText);
}

TEST_F(ControlsExportsTest, MdiChildrenCloseAndReceiveThroughTheirExports) {
  const auto GetContext = lib_.Function<QvWindowHandle (*)(const char*)>("QvGetContextWindow");
  const QvWindowHandle hFrame = GetContext("hWndMDI");
  ASSERT_NE(hFrame, 0u);
  EXPECT_EQ(GetContext("hWndNULL"), 0u);
  EXPECT_EQ(lib_.Function<QvBoolean (*)(const char*, QvWindowHandle)>("QvSetContextWindow")("hWndNULL", 5), 0);

  QvObject* pMdi = New("INT_MDI_ManageChildren");
  QvObject* pOther = New("INT_MDI_ManageChildren");
  QvWindowHandle aChild[3];
  for (int i = 0; i < 3; ++i) {
    aChild[i] = CreateWindow(hFrame, 1, "frmChild");
    ASSERT_TRUE(SetWindowElement(pMdi, "cv_hWndChildList", i, aChild[i]));
    // The lists are class variables: another instance reaches the same ones.
    ASSERT_TRUE(SetWindowElement(pOther, "cv_hWndOwnerList", i, hFrame));
  }
  const auto Count = lib_.Function<int64_t (*)(const QvObject*, const char*)>("QvElementCount");
  EXPECT_EQ(Count(pMdi, "cv_hWndOwnerList"), 3);
  lib_.Function<QvBoolean (*)(QvWindowHandle, int64_t, QvNumber)>("QvSetWindowAnswer")(aChild[1], 16, Num(1));

  EXPECT_EQ(Fn<QvBoolean (*)(QvObject*)>("__quorvane__XE46923806")(pMdi), 1);
  EXPECT_EQ(Sent(aChild[0], 16), 1);
  EXPECT_EQ(Sent(aChild[1], 16), 1);
  EXPECT_EQ(Sent(aChild[2], 16), 0);

  SetContextWindow("hWndForm", aChild[2]);
  SetCurrent(pOther);
  using SendFn = QvBoolean (*)(QvNumber, QvNumber, QvNumber, QvNumber);
  EXPECT_EQ(Fn<SendFn>("__quorvane__XT46923826")(Num(0), Num(7000), Num(1), Num(2)), 0);
  EXPECT_EQ(Sent(aChild[0], 7000) + Sent(aChild[1], 7000), 2);
  EXPECT_EQ(Sent(aChild[2], 7000), 0);

  EXPECT_NE(Fn<QvNumber (*)(QvObject*, int32_t)>("__quorvane__XE46923897")(pMdi, 5).isNull, 0);
  EXPECT_NE(Fn<QvNumber (*)(int32_t, int32_t)>("__quorvane__XT46923881")(1, 2).isNull, 0);
  EXPECT_NE(Fn<Fn0>("__quorvane__XE46923890")(pMdi).isNull, 0);

  lib_.Function<QvBoolean (*)(QvObject*, const char*)>("QvClearElements")(pMdi, "cv_hWndOwnerList");
  EXPECT_EQ(Fn<QvBoolean (*)(QvObject*)>("__quorvane__XE46923806")(pMdi), 0);
  lib_.Function<QvBoolean (*)(QvObject*, const char*)>("QvClearElements")(pMdi, "cv_hWndChildList");
  Free(pOther);
  Free(pMdi);
}

TEST(ControlsExportsLoad, CreatingAnInstanceRunsItsConstructorAsAnExportedFunction) {
  EXPECT_EQ(test::InLoadedChild([](LibraryClient& lib) {
              const auto pCount = lib.Function<int32_t (*)()>("QvInitialisationCount");
              const auto pNew = lib.Function<QvObject* (*)(const char*)>("QvObjectNew");
              const auto pFree = lib.Function<void (*)(QvObject*)>("QvObjectFree");
              QvObject* pCell = pNew("VC_Container");  // no constructor: nothing runs
              if (pCount() != 0) return 1;
              QvObject* pCtrl = pNew("VC_ContainerCtrl");  // its constructor initialises the module
              if (pCtrl == nullptr || pCount() != 1) return 2;
              pFree(pCtrl);
              pFree(pCell);
              return pCount() == 1 ? 0 : 3;
            }),
            0);
}

}  // namespace
}  // namespace qv
