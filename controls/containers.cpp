// SPDX-License-Identifier: Apache-2.0
#include "controls/containers.h"

#include <climits>

#include "core/convert.h"
#include "core/rt_string.h"
#include "core/runtime.h"

namespace qv {
namespace {

// The bounds a reset sets after emptying an array: the most negative 32-bit
// integer, twice.
constexpr int64_t kResetBound = INT32_MIN;

int64_t Index(Number n) { return n.AsInt(); }

// The element nIndex for reading: the array's own, or a blank one for an
// index never written (the array is not extended by a read).
template <class T>
T& ReadElement(DynArray<T>& a, Number nIndex, T& blank) {
  const int64_t n = Index(nIndex);
  return n >= 0 && n < a.Count() ? a.At(n) : blank;
}

// The size of an element array: the runtime's bounds query answers the
// element count, as a Number; the bounds themselves are not used.
template <class T>
Number SizeOf(const DynArray<T>& a) {
  Number nLower;
  Number nUpper;
  return RtIntToNumber(RtArrayBounds(a, nLower, nUpper));
}

template <class T>
void EmptyArray(DynArray<T>& a) {
  RtSetArrayBounds(a, -1, -1);
  RtSetArrayBounds(a, kResetBound, kResetBound);
}

}  // namespace

// VC_ContainerBase.
Number VC_ContainerBase::SetContainerType(Module&, Number n) {
  nContainerType = n;
  return Number::Null();
}
Number VC_ContainerBase::GetContainerType(Module&) { return nContainerType; }
Number VC_ContainerBase::SetDataType(Module&, Number n) {
  nDataType = n;
  return Number::Null();
}
Number VC_ContainerBase::GetDataType(Module&) { return nDataType; }
Number VC_ContainerBase::SetCtrlBoolean(Module&, bool b) {
  nCtrlBoolean = RtWordToNumber(b ? 1 : 0);
  return Number::Null();
}
Number VC_ContainerBase::GetCtrlBoolean(Module&) { return nCtrlBoolean; }

// VC_Container.
Number VC_Container::SetData(Module&, Number nKey, bool bValue, DateTime dtValue, int32_t hValue1, Number nValue,
                             int32_t hValue2, std::string_view sValue, WindowHandle hWndValue) {
  nContainerKey = nKey;
  bDataBoolean = RtWordToNumber(bValue ? 1 : 0);
  dtDataDate = dtValue;
  hDataHandle1 = hValue1;
  nDataNumber = nValue;
  hDataHandle2 = hValue2;
  sDataString = String(sValue);
  hWndData = hWndValue;
  return Number::Null();
}

Number VC_Container::GetData(Module&, Number& nKey, bool& bValue, DateTime& dtValue, int32_t& hValue1, Number& nValue,
                             int32_t& hValue2, String& sValue, WindowHandle& hWndValue) {
  nKey = nContainerKey;
  bValue = bDataBoolean.IsTrue();
  dtValue = dtDataDate;
  hValue1 = hDataHandle1;
  nValue = nDataNumber;
  hValue2 = hDataHandle2;
  sValue = sDataString;
  hWndValue = hWndData;
  return Number::Null();
}

Number VC_Container::ClearData(Module& m) {
  bDataBoolean = Number::Null();
  dtDataDate = DateTime();
  hDataHandle1 = 0;
  nDataNumber = Number::Null();
  hDataHandle2 = 0;
  sDataString = String();
  hWndData = RtNullWindow(m);
  return Number::Null();
}

Number VC_Container::GetContainerKey(Module&) { return nContainerKey; }
Number VC_Container::SetContainerKey(Module&, Number n) {
  nContainerKey = n;
  return Number::Null();
}
Number VC_Container::GetContainerType(Module& m) { return VC_ContainerBase::GetContainerType(m); }
Number VC_Container::SetContainerType(Module& m, Number n) { return VC_ContainerBase::SetContainerType(m, n); }
Number VC_Container::GetDataType(Module& m) { return VC_ContainerBase::GetDataType(m); }
Number VC_Container::SetDataType(Module& m, Number n) { return VC_ContainerBase::SetDataType(m, n); }

// VC_ListContainerObject.
Number VC_ListContainerObject::SetItemData(Module& m, Number nItem, bool bValue, DateTime dtValue, int32_t hValue1,
                                           Number nValue, int32_t hValue2, std::string_view sValue,
                                           WindowHandle hWndValue) {
  return oCells.At(Index(nItem)).SetData(m, nItem, bValue, dtValue, hValue1, nValue, hValue2, sValue, hWndValue);
}

Number VC_ListContainerObject::GetItemData(Module& m, Number nItem, bool& bValue, DateTime& dtValue, int32_t& hValue1,
                                           Number& nValue, int32_t& hValue2, String& sValue, WindowHandle& hWndValue) {
  Number nKey = nItem;  // receives the cell's key, which goes no further
  VC_Container blank;
  return ReadElement(oCells, nItem, blank)
      .GetData(m, nKey, bValue, dtValue, hValue1, nValue, hValue2, sValue, hWndValue);
}

Number VC_ListContainerObject::Reset(Module&) {
  EmptyArray(oCells);
  return Number::Null();
}

Number VC_ListContainerObject::GetContainerKey(Module&) { return nContainerKey; }
Number VC_ListContainerObject::SetContainerKey(Module&, Number n) {
  nContainerKey = n;
  return Number::Null();
}
Number VC_ListContainerObject::SetContainerType(Module& m, Number n) {
  return VC_ContainerBase::SetContainerType(m, n);
}
Number VC_ListContainerObject::GetContainerType(Module& m) { return VC_ContainerBase::GetContainerType(m); }
Number VC_ListContainerObject::GetContainerSize(Module&) { return SizeOf(oCells); }
Number VC_ListContainerObject::GetDataType(Module& m) { return VC_ContainerBase::GetDataType(m); }
Number VC_ListContainerObject::SetDataType(Module& m, Number n) { return VC_ContainerBase::SetDataType(m, n); }
Number VC_ListContainerObject::GetCtrlBoolean(Module& m) { return VC_ContainerBase::GetCtrlBoolean(m); }

// VC_ContainerCtrl.
Number VC_ContainerCtrl::Construct(Module&) {
  RtSetArrayBounds(oLists, -1, -1);
  return Number::Null();
}

Number VC_ContainerCtrl::Destruct(Module&) {
  RtSetArrayBounds(oLists, -1, -1);
  return Number::Null();
}

Number VC_ContainerCtrl::SetCellData(Module& m, Number nList, Number nItem, bool bValue, DateTime dtValue,
                                     int32_t hValue1, Number nValue, int32_t hValue2, std::string_view sValue,
                                     WindowHandle hWndValue) {
  return oLists.At(Index(nList))
      .oCells.At(Index(nItem))
      .SetData(m, nList, bValue, dtValue, hValue1, nValue, hValue2, sValue, hWndValue);
}

Number VC_ContainerCtrl::GetCellData(Module& m, Number nList, Number nItem, bool& bValue, DateTime& dtValue,
                                     int32_t& hValue1, Number& nValue, int32_t& hValue2, String& sValue,
                                     WindowHandle& hWndValue) {
  Number nKey = nList;  // receives the cell's key, which goes no further
  VC_ListContainerObject blankList;
  VC_Container blankCell;
  return ReadElement(ReadElement(oLists, nList, blankList).oCells, nItem, blankCell)
      .GetData(m, nKey, bValue, dtValue, hValue1, nValue, hValue2, sValue, hWndValue);
}

Number VC_ContainerCtrl::Reset(Module& m) {
  for (int64_t nList = 0; nList < 3; ++nList) oLists.At(nList).Reset(m);
  EmptyArray(oLists);
  return Number::Null();
}

Number VC_ContainerCtrl::GetContainerKey(Module&) { return nContainerKey; }
Number VC_ContainerCtrl::SetContainerKey(Module&, Number n) {
  nContainerKey = n;
  return Number::Null();
}
Number VC_ContainerCtrl::GetContainerType(Module& m) { return VC_ContainerBase::GetContainerType(m); }
Number VC_ContainerCtrl::SetContainerType(Module& m, Number n) { return VC_ContainerBase::SetContainerType(m, n); }
Number VC_ContainerCtrl::GetDataType(Module& m) { return VC_ContainerBase::GetDataType(m); }
Number VC_ContainerCtrl::SetDataType(Module& m, Number n) { return VC_ContainerBase::SetDataType(m, n); }
Number VC_ContainerCtrl::GetContainerSize(Module&) { return SizeOf(oLists); }
Number VC_ContainerCtrl::SetCtrlBoolean(Module&, bool b) {
  nCtrlBoolean = RtWordToNumber(b ? 1 : 0);
  return Number::Null();
}
Number VC_ContainerCtrl::GetCtrlBoolean(Module&) { return nCtrlBoolean; }
Number VC_ContainerCtrl::SetCtrlFlag(Module&, bool b) {
  nCtrlFlag = RtWordToNumber(b ? 1 : 0);
  return Number::Null();
}
Number VC_ContainerCtrl::GetCtrlFlag(Module&) { return nCtrlFlag; }
Number VC_ContainerCtrl::SetCtrlText(Module&, std::string_view s) {
  sCtrlText = String(s);
  return Number::Null();
}
String VC_ContainerCtrl::GetCtrlText(Module&) { return sCtrlText; }

Number VC_ContainerCtrl::GetListSize(Module& m, Number nList) {
  VC_ListContainerObject blank;
  return ReadElement(oLists, nList, blank).GetContainerSize(m);
}
Number VC_ContainerCtrl::GetListType(Module& m, Number nList) {
  VC_ListContainerObject blank;
  return ReadElement(oLists, nList, blank).GetContainerType(m);
}
Number VC_ContainerCtrl::GetListDataType(Module& m, Number nList) {
  VC_ListContainerObject blank;
  return ReadElement(oLists, nList, blank).GetDataType(m);
}
Number VC_ContainerCtrl::GetListCtrlBoolean(Module& m, Number nList) {
  VC_ListContainerObject blank;
  return ReadElement(oLists, nList, blank).GetCtrlBoolean(m);
}

}  // namespace qv
