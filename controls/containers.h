// SPDX-License-Identifier: Apache-2.0
// Typed data holders for the application's controls, in three levels: a
// control-level container (VC_ContainerCtrl) holds numbered lists
// (VC_ListContainerObject), and each list holds numbered data cells
// (VC_Container).  Every level carries the header of VC_ContainerBase.
//
// Lists and cells are addressed by index from 0 and come into being on their
// first write; reading one that was never written reads a new, empty one and
// does not add it.  Nothing validates keys, types or indexes.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/module.h"
#include "core/object.h"

namespace qv {

class VC_ContainerBase : public Object {
 public:
  std::string_view ClassName() const override { return "VC_ContainerBase"; }

  Number SetContainerType(Module& m, Number n);
  Number GetContainerType(Module& m);
  Number SetDataType(Module& m, Number n);
  Number GetDataType(Module& m);
  // Stores the Number form of the Boolean (RtWordToNumber); the getter
  // returns that Number as it is.
  Number SetCtrlBoolean(Module& m, bool b);
  Number GetCtrlBoolean(Module& m);

  Number nContainerKey;
  Number nDataType;
  Number nContainerType;
  Number nCtrlBoolean;  // the Number form of a Boolean
  Number nCtrlFlag;     // the Number form of a Boolean
  String sCtrlText;
};

// A data cell: one value of each kind at once.
class VC_Container : public VC_ContainerBase {
 public:
  std::string_view ClassName() const override { return "VC_Container"; }

  // Stores the key and the seven values, in this order.  Result: null.
  Number SetData(Module& m, Number nKey, bool bValue, DateTime dtValue, int32_t hValue1, Number nValue, int32_t hValue2,
                 std::string_view sValue, WindowHandle hWndValue);
  // Gives the key and the seven values back.  Result: null.
  Number GetData(Module& m, Number& nKey, bool& bValue, DateTime& dtValue, int32_t& hValue1, Number& nValue,
                 int32_t& hValue2, String& sValue, WindowHandle& hWndValue);
  // Clears the seven values (null Boolean and Number, null Date/Time,
  // handles 0, the empty String, the null window handle); the key and the
  // header stay.  Result: null.
  Number ClearData(Module& m);
  Number GetContainerKey(Module& m);
  Number SetContainerKey(Module& m, Number n);
  Number GetContainerType(Module& m);
  Number SetContainerType(Module& m, Number n);
  Number GetDataType(Module& m);
  Number SetDataType(Module& m, Number n);

  Number bDataBoolean;  // the Number form of a Boolean
  DateTime dtDataDate;
  int32_t hDataHandle1 = 0;  // 32-bit handle values, kept uninterpreted
  Number nDataNumber;
  int32_t hDataHandle2 = 0;
  String sDataString;
  WindowHandle hWndData;
};

// A list of data cells.
class VC_ListContainerObject : public VC_ContainerBase {
 public:
  std::string_view ClassName() const override { return "VC_ListContainerObject"; }

  // Fills cell nItem; the cell's key becomes its own index.  Result: null.
  Number SetItemData(Module& m, Number nItem, bool bValue, DateTime dtValue, int32_t hValue1, Number nValue,
                     int32_t hValue2, std::string_view sValue, WindowHandle hWndValue);
  // Reads cell nItem; its key is not passed back.  Result: null.
  Number GetItemData(Module& m, Number nItem, bool& bValue, DateTime& dtValue, int32_t& hValue1, Number& nValue,
                     int32_t& hValue2, String& sValue, WindowHandle& hWndValue);
  // Empties the list.  Result: null.
  Number Reset(Module& m);
  Number GetContainerKey(Module& m);
  Number SetContainerKey(Module& m, Number n);
  Number SetContainerType(Module& m, Number n);
  Number GetContainerType(Module& m);
  // The number of cells.
  Number GetContainerSize(Module& m);
  Number GetDataType(Module& m);
  Number SetDataType(Module& m, Number n);
  Number GetCtrlBoolean(Module& m);

  DynArray<VC_Container> oCells;
};

// A list of lists.
class VC_ContainerCtrl : public VC_ContainerBase {
 public:
  std::string_view ClassName() const override { return "VC_ContainerCtrl"; }

  // The constructor and destructor the host runs when it creates and
  // destroys an instance: both leave the list array empty (the destructor
  // releases every list).  Result: null.
  Number Construct(Module& m);
  Number Destruct(Module& m);

  // Fills cell nItem of list nList; the cell's key becomes the list index.
  Number SetCellData(Module& m, Number nList, Number nItem, bool bValue, DateTime dtValue, int32_t hValue1,
                     Number nValue, int32_t hValue2, std::string_view sValue, WindowHandle hWndValue);
  // Reads cell nItem of list nList; its key is not passed back.
  Number GetCellData(Module& m, Number nList, Number nItem, bool& bValue, DateTime& dtValue, int32_t& hValue1,
                     Number& nValue, int32_t& hValue2, String& sValue, WindowHandle& hWndValue);
  // Resets lists 0, 1 and 2, then empties the list array.  Result: null.
  Number Reset(Module& m);
  Number GetContainerKey(Module& m);
  Number SetContainerKey(Module& m, Number n);
  Number GetContainerType(Module& m);
  Number SetContainerType(Module& m, Number n);
  Number GetDataType(Module& m);
  Number SetDataType(Module& m, Number n);
  // The number of lists.
  Number GetContainerSize(Module& m);
  Number SetCtrlBoolean(Module& m, bool b);
  Number GetCtrlBoolean(Module& m);
  Number SetCtrlFlag(Module& m, bool b);
  Number GetCtrlFlag(Module& m);
  Number SetCtrlText(Module& m, std::string_view s);
  String GetCtrlText(Module& m);
  // Size, type, data type and control Boolean of list nList.
  Number GetListSize(Module& m, Number nList);
  Number GetListType(Module& m, Number nList);
  Number GetListDataType(Module& m, Number nList);
  Number GetListCtrlBoolean(Module& m, Number nList);

  DynArray<VC_ListContainerObject> oLists;
};

}  // namespace qv
