// SPDX-License-Identifier: Apache-2.0
// The export table: every function the library exports, once.  The
// extern "C" wrappers, the name lookup and the export listing are all
// generated from these lists.
//
//   QV_GLOBAL_EXPORTS(X)    X(id, function, arity)
//   QV_CLASS_EXPORTS(X)     X(id, class, function, arity)   both XE and XT forms
//   QV_DECORATED_EXPORTS(X) X("decorated name", class, function, argument bytes, target export)
//   QV_HOOK_EXPORTS(X)      X(wrapper, class, function, arity)   a class function that the host runs
//                           itself (a constructor, a destructor, an SQL error handler): no XE/XT
//                           form; the wrapper takes the instance first and is reached through a
//                           decorated name only
//
// Function names are those of the C++ functions in namespace qv (global
// functions) or the member functions of the class.  The arity is checked
// against the function; the argument bytes of a decorated name against the
// boundary types of its target.
#pragma once

#include "controls/containers.h"
#include "controls/list_box.h"
#include "controls/mdi_children.h"
#include "controls/object_size.h"
#include "core/wait_cursor.h"
#include "framework/bldblock_profile.h"
#include "framework/database_brand.h"
#include "framework/display_msg.h"
#include "framework/sql_binding.h"
#include "framework/sql_handles.h"
#include "framework/window_services.h"
#include "profile/app_profile.h"
#include "repository/directories.h"
#include "repository/java_records.h"
#include "repository/java_repository.h"
#include "source/java_parser.h"
#include "source/java_scan.h"
#include "source/text_utils.h"

#define QV_GLOBAL_EXPORTS(X)          \
  X(25690114, ApplyFontSettings, 1)   \
  X(25690131, CallHostCommand, 1)     \
  X(25690141, GetQueriedCount, 1)     \
  X(25690180, IsUnnamedWindow, 1)     \
  X(25690196, SetWaitCursor, 1)       \
  X(25690213, IsFrameworkObject, 1)   \
  X(25690229, ScanJavaFiles, 2)       \
  X(25690300, MakeLong, 2)            \
  X(25690313, GetColumnName, 0)       \
  X(25690339, IsStandardFWObject, 1)  \
  X(25690354, BuildColumnBindList, 5) \
  X(25690389, GetColumnBindVar, 0)    \
  X(25690407, GetFieldBindVar, 0)     \
  X(25690420, BuildFieldBindList, 5)  \
  X(25690458, ParseJavaSource, 15)    \
  X(25690943, StrMidX, 3)             \
  X(25690957, StrScanAt, 3)           \
  X(25690970, StrCommentType, 3)      \
  X(25690999, StrInComment, 3)        \
  X(25691022, StrScanNext, 3)

#define QV_CLASS_EXPORTS(X)                               \
  X(30015490, VC_ApplicationProfile, InitProfile, 0)      \
  X(30015684, VC_ApplicationProfile, SaveProfile, 0)      \
  X(30015856, VC_ApplicationProfile, GetSpareString, 0)   \
  X(30015867, VC_ApplicationProfile, GetFontSettings, 7)  \
  X(30015890, VC_ApplicationProfile, SetFontSettings, 7)  \
  X(30015911, VC_ApplicationProfile, GetJavaFilesRoot, 0) \
  X(30015922, VC_ApplicationProfile, SetJavaFilesRoot, 1) \
  X(30015931, VC_ApplicationProfile, GetFileCount, 0)     \
  X(30015942, VC_ApplicationProfile, GetAutoTile, 0)      \
  X(30015953, VC_ApplicationProfile, SetAutoTile, 1)      \
  X(30015962, VC_ApplicationProfile, ReadProfileList, 3)  \
  X(30016001, VC_ApplicationProfile, WriteProfileList, 3) \
  X(30801922, VC_Directories, InitDirectories, 0)         \
  X(30801933, VC_Directories, SetRootDirectories, 1)      \
  X(30801954, VC_Directories, GetDirectoryCount, 0)       \
  X(30801967, VC_Directories, GetJavaFileCount, 0)        \
  X(30801980, VC_Directories, CollectJavaFiles, 0)        \
  X(30802018, VC_Directories, FindDirectories, 0)         \
  X(30802028, VC_Directories, GetDirectory, 1)            \
  X(30802038, VC_Directories, GetJavaFile, 1)             \
  X(31588354, VC_JavaFile, ClearJavaFiles, 0)             \
  X(31588364, VC_JavaFile, SetJavaFile, 3)                \
  X(31588380, VC_JavaFile, GetJavaFileInfo, 2)            \
  X(32374786, VC_JavaRepository, InitRepository, 0)       \
  X(32374797, VC_JavaRepository, LoadRepository, 0)       \
  X(32374806, VC_JavaRepository, SaveRepository, 0)       \
  X(32374814, VC_JavaRepository, ReadClassFile, 2)        \
  X(32374855, VC_JavaRepository, SaveHistoryFile, 1)      \
  X(32374903, VC_JavaRepository, WriteClassFile, 2)       \
  X(32374982, VC_JavaRepository, ReadMethodFile, 3)       \
  X(32375008, VC_JavaRepository, ReadVariableFile, 3)     \
  X(32375036, VC_JavaRepository, WriteMethodFile, 3)      \
  X(32375065, VC_JavaRepository, WriteVariableFile, 3)    \
  X(32375091, VC_JavaRepository, FindSubClasses, 2)       \
  X(32375118, VC_JavaRepository, FindClass, 1)            \
  X(33161218, VC_JavaClass, ClearClass, 0)                \
  X(33161230, VC_JavaClass, ParseSourceFile, 1)           \
  X(33161251, VC_JavaClass, WriteSourceFile, 0)           \
  X(33161291, VC_JavaClass, SaveHistoryFile, 1)           \
  QV_FRAMEWORK_CLASS_EXPORTS(X)                           \
  QV_CONTROLS_CLASS_EXPORTS(X)                            \
  QV_LIST_BOX_EXPORTS(X)

// Framework services: SQL handle pool, database brand, framework profile,
// standard messages.
#define QV_FRAMEWORK_CLASS_EXPORTS(X)                        \
  X(38666242, BLC_ManageSqlHandles, ConnectSqlHandle, 0)     \
  X(38666270, BLC_ManageSqlHandles, DisconnectSqlHandles, 0) \
  X(38666297, BLC_ManageSqlHandles, InitSqlHandle, 0)        \
  X(38666311, BLC_ManageSqlHandles, ReConnectSqlHandle, 1)   \
  X(38666329, BLC_ManageSqlHandles, SetSqlHandle, 2)         \
  X(38666409, BLC_ManageSqlHandles, ReleaseSqlHandle, 1)     \
  X(38666435, BLC_ManageSqlHandles, GetSqlHandle, 1)         \
  X(38666484, BLC_ManageSqlHandles, GetDBMSBrand, 0)         \
  X(39452674, BLC_DatabaseBrand, SetDBMSBrand, 1)            \
  X(39452691, BLC_DatabaseBrand, CurrentDBMSBrand, 0)        \
  X(39452701, BLC_DatabaseBrand, IsDBMSBrand, 1)             \
  X(40239106, VC_BldBlockProfile, GetSqlProfileLog, 0)       \
  X(40239117, VC_BldBlockProfile, GetPerformanceLog, 0)      \
  X(40239128, VC_BldBlockProfile, GetBldBlockHelp, 0)        \
  X(40239139, VC_BldBlockProfile, GetDebugMode, 0)           \
  X(40239150, VC_BldBlockProfile, GetSqlProfileMode, 0)      \
  X(40239161, VC_BldBlockProfile, GetPerformanceMode, 0)     \
  X(40239172, VC_BldBlockProfile, LoadBldBlockProfile, 0)    \
  X(40239181, VC_BldBlockProfile, InitBldBlockProfile, 0)    \
  X(41025538, VC_DisplayMsg, DisplayValidationMsg, 3)        \
  X(41025570, VC_DisplayMsg, DisplaySystemMsg, 2)

// Object sizing, containers and MDI children.
#define QV_CONTROLS_CLASS_EXPORTS(X)                       \
  X(28442626, VC_ObjectSizeGroup, ResizeObjects, 0)        \
  X(29229058, VC_ObjectSize, SetObjectSizeDetail, 1)       \
  X(29229084, VC_ObjectSize, SetMode, 6)                   \
  X(29229103, VC_ObjectSize, Resize, 0)                    \
  X(41811970, VC_ContainerBase, SetContainerType, 1)       \
  X(41811979, VC_ContainerBase, GetContainerType, 0)       \
  X(41811987, VC_ContainerBase, GetDataType, 0)            \
  X(41811995, VC_ContainerBase, SetDataType, 1)            \
  X(41812004, VC_ContainerBase, SetCtrlBoolean, 1)         \
  X(41812018, VC_ContainerBase, GetCtrlBoolean, 0)         \
  X(42598402, VC_Container, GetData, 8)                    \
  X(42598425, VC_Container, SetData, 8)                    \
  X(42598448, VC_Container, ClearData, 0)                  \
  X(42598465, VC_Container, GetContainerKey, 0)            \
  X(42598474, VC_Container, SetContainerKey, 1)            \
  X(42598483, VC_Container, GetContainerType, 0)           \
  X(42598491, VC_Container, SetContainerType, 1)           \
  X(42598500, VC_Container, GetDataType, 0)                \
  X(42598508, VC_Container, SetDataType, 1)                \
  X(43384834, VC_ListContainerObject, SetItemData, 8)      \
  X(43384850, VC_ListContainerObject, GetItemData, 8)      \
  X(43384866, VC_ListContainerObject, Reset, 0)            \
  X(43384875, VC_ListContainerObject, GetContainerKey, 0)  \
  X(43384884, VC_ListContainerObject, SetContainerKey, 1)  \
  X(43384893, VC_ListContainerObject, SetContainerType, 1) \
  X(43384902, VC_ListContainerObject, GetContainerType, 0) \
  X(43384910, VC_ListContainerObject, GetContainerSize, 0) \
  X(43384922, VC_ListContainerObject, GetDataType, 0)      \
  X(43384930, VC_ListContainerObject, SetDataType, 1)      \
  X(43384948, VC_ListContainerObject, GetCtrlBoolean, 0)   \
  X(44171266, VC_ContainerCtrl, SetCellData, 9)            \
  X(44171283, VC_ContainerCtrl, GetCellData, 9)            \
  X(44171300, VC_ContainerCtrl, Reset, 0)                  \
  X(44171312, VC_ContainerCtrl, GetContainerKey, 0)        \
  X(44171321, VC_ContainerCtrl, SetContainerKey, 1)        \
  X(44171330, VC_ContainerCtrl, GetContainerType, 0)       \
  X(44171338, VC_ContainerCtrl, SetContainerType, 1)       \
  X(44171347, VC_ContainerCtrl, GetDataType, 0)            \
  X(44171355, VC_ContainerCtrl, SetDataType, 1)            \
  X(44171364, VC_ContainerCtrl, GetContainerSize, 0)       \
  X(44171376, VC_ContainerCtrl, SetCtrlBoolean, 1)         \
  X(44171385, VC_ContainerCtrl, GetCtrlBoolean, 0)         \
  X(44171393, VC_ContainerCtrl, SetCtrlFlag, 1)            \
  X(44171402, VC_ContainerCtrl, GetCtrlFlag, 0)            \
  X(44171410, VC_ContainerCtrl, SetCtrlText, 1)            \
  X(44171419, VC_ContainerCtrl, GetCtrlText, 0)            \
  X(44171428, VC_ContainerCtrl, GetListSize, 1)            \
  X(44171441, VC_ContainerCtrl, GetListType, 1)            \
  X(44171460, VC_ContainerCtrl, GetListDataType, 1)        \
  X(44171479, VC_ContainerCtrl, GetListCtrlBoolean, 1)     \
  X(46923806, INT_MDI_ManageChildren, CloseChildren, 0)    \
  X(46923826, INT_MDI_ManageChildren, SendToChildren, 4)   \
  X(46923881, INT_MDI_ManageChildren, EmptyHookTwo, 2)     \
  X(46923890, INT_MDI_ManageChildren, EmptyHookNone, 0)    \
  X(46923897, INT_MDI_ManageChildren, EmptyHookOne, 1)

// The list box classes: the family's rows come from its table (core/list_ops.h).
#define QV_LIST_BOX_EXPORT_ROW(X, member, id, ordinal, fn, window, result, ...) \
  QV_LIST_BOX_EXPORT_EMIT(X, id, member, QV_LIST_ARITY(__VA_ARGS__))
#define QV_LIST_BOX_EXPORT_EMIT(X, id, member, n) X(id, cRadioListBox, member, n)
#define QV_LIST_BOX_EXPORTS(X)                    \
  QV_LIST_BOX_FAMILY(QV_LIST_BOX_EXPORT_ROW, X)   \
  X(75629355, cRadioListBox, CacheSelection, 0)   \
  X(75629342, cRadioListBox, SetupList, 0)        \
  X(22937621, cListItemToggle, ToggleSelected, 0) \
  X(22937602, cListItemToggle, OnToggleKey, 0)

#define QV_DECORATED_EXPORTS(X)                                                              \
  X("_StrMidX@36", , StrMidX, 36, __quorvane__GF25690943)                                    \
  X("_StrScanAt@24", , StrScanAt, 24, __quorvane__GF25690957)                                \
  X("___IsStandardFWObject@4", , IsStandardFWObject, 4, __quorvane__GF25690339)              \
  X("___GetColumnBindVar@0", , GetColumnBindVar, 0, __quorvane__GF25690389)                  \
  X("___GetFieldBindVar@0", , GetFieldBindVar, 0, __quorvane__GF25690407)                    \
  X("_InitProfile_2__@4", VC_ApplicationProfile, InitProfile, 4, __quorvane__XE30015490)     \
  X("_FindDirectories_3__@4", VC_Directories, FindDirectories, 4, __quorvane__XE30802018)    \
  X("_ReadClassFile_5__@12", VC_JavaRepository, ReadClassFile, 12, __quorvane__XE32374814)   \
  X("_SaveHistoryFile_5__@8", VC_JavaRepository, SaveHistoryFile, 8, __quorvane__XE32374855) \
  X("_WriteClassFile_5__@12", VC_JavaRepository, WriteClassFile, 12, __quorvane__XE32374903) \
  X("_SaveHistoryFile_6__@8", VC_JavaClass, SaveHistoryFile, 8, __quorvane__XE33161291)      \
  QV_FRAMEWORK_DECORATED_EXPORTS(X)                                                          \
  QV_CONTROLS_DECORATED_EXPORTS(X)                                                           \
  QV_LIST_BOX_DECORATED_EXPORTS(X)

#define QV_FRAMEWORK_DECORATED_EXPORTS(X)                                                                  \
  X("___ConnectSqlHandle_12__@4", BLC_ManageSqlHandles, ConnectSqlHandle, 4, __quorvane__XE38666242)       \
  X("___InitSqlHandle_12__@4", BLC_ManageSqlHandles, InitSqlHandle, 4, __quorvane__XE38666297)             \
  X("___ReConnectSqlHandle_12__@20", BLC_ManageSqlHandles, ReConnectSqlHandle, 20, __quorvane__XE38666311) \
  X("___SetSqlHandle_12__@12", BLC_ManageSqlHandles, SetSqlHandle, 12, __quorvane__XE38666329)             \
  X("___wse38666254_12__@12", BLC_ManageSqlHandles, (SQL error handler of ConnectSqlHandle), 12,           \
    __quorvane__wse38666254)                                                                               \
  X("___wse38666321_12__@12", BLC_ManageSqlHandles, (SQL error handler of ReConnectSqlHandle), 12,         \
    __quorvane__wse38666321)                                                                               \
  X("_CurrentDBMSBrand_13__@4", BLC_DatabaseBrand, CurrentDBMSBrand, 4, __quorvane__XE39452691)            \
  X("_InitBldBlockProfile_14__@4", VC_BldBlockProfile, InitBldBlockProfile, 4, __quorvane__XE40239181)     \
  X("___ct_15__@4", VC_DisplayMsg, (constructor), 4, __quorvane__ct15)                                     \
  X("___dt_15__@4", VC_DisplayMsg, (destructor), 4, __quorvane__dt15)                                      \
  X("_DisplaySystemMsg_15__@36", VC_DisplayMsg, DisplaySystemMsg, 36, __quorvane__XE41025570)

#define QV_CONTROLS_DECORATED_EXPORTS(X)                                                               \
  X("_SetObjectSizeDetail_1__@8", VC_ObjectSize, SetObjectSizeDetail, 8, __quorvane__XE29229058)       \
  X("_SetMode_1__@100", VC_ObjectSize, SetMode, 100, __quorvane__XE29229084)                           \
  X("_Resize_1__@4", VC_ObjectSize, Resize, 4, __quorvane__XE29229103)                                 \
  X("___SetContainerType_16__@20", VC_ContainerBase, SetContainerType, 20, __quorvane__XE41811970)     \
  X("___GetContainerType_16__@4", VC_ContainerBase, GetContainerType, 4, __quorvane__XE41811979)       \
  X("___GetDataType_16__@4", VC_ContainerBase, GetDataType, 4, __quorvane__XE41811987)                 \
  X("___SetDataType_16__@20", VC_ContainerBase, SetDataType, 20, __quorvane__XE41811995)               \
  X("___GetCtrlBoolean_16__@4", VC_ContainerBase, GetCtrlBoolean, 4, __quorvane__XE41812018)           \
  X("___GetData_17__@36", VC_Container, GetData, 36, __quorvane__XE42598402)                           \
  X("___SetData_17__@72", VC_Container, SetData, 72, __quorvane__XE42598425)                           \
  X("___Reset_18__@4", VC_ListContainerObject, Reset, 4, __quorvane__XE43384866)                       \
  X("___GetContainerType_18__@4", VC_ListContainerObject, GetContainerType, 4, __quorvane__XE43384902) \
  X("___GetContainerSize_18__@4", VC_ListContainerObject, GetContainerSize, 4, __quorvane__XE43384910) \
  X("___GetDataType_18__@4", VC_ListContainerObject, GetDataType, 4, __quorvane__XE43384922)           \
  X("___GetCtrlBoolean_18__@4", VC_ListContainerObject, GetCtrlBoolean, 4, __quorvane__XE43384948)     \
  X("___ct_19__@4", VC_ContainerCtrl, (constructor), 4, __quorvane__ct19)                              \
  X("___dt_19__@4", VC_ContainerCtrl, (destructor), 4, __quorvane__dt19)

#define QV_HOOK_EXPORTS(X)                                               \
  X(__quorvane__wse38666254, BLC_ManageSqlHandles, OnConnectSqlError, 2) \
  X(__quorvane__wse38666321, BLC_ManageSqlHandles, OnConnectSqlError, 2) \
  X(__quorvane__ct15, VC_DisplayMsg, Construct, 0)                       \
  X(__quorvane__dt15, VC_DisplayMsg, Destruct, 0)                        \
  X(__quorvane__ct19, VC_ContainerCtrl, Construct, 0)                    \
  X(__quorvane__dt19, VC_ContainerCtrl, Destruct, 0)

#define QV_LIST_BOX_DECORATED_EXPORTS(X)                                      \
  X("_GetFlags_34__@20", cRadioListBox, GetFlags, 20, __quorvane__XE75628568) \
  X("_GetStyle_34__@4", cRadioListBox, GetStyle, 4, __quorvane__XE75628590)   \
  X("_GetColor_34__@20", cRadioListBox, GetColor, 20, __quorvane__XE75628632) \
  X("_GetFont_34__@20", cRadioListBox, GetFont, 20, __quorvane__XE75628701)   \
  X("_GetItemHandle_34__@20", cRadioListBox, GetItemHandle, 20, __quorvane__XE75628929)

// The classes whose instances the host can create, by name: X(class).
// clang-format off
#define QV_EXPORTED_CLASSES(X) \
  X(VC_ApplicationProfile) \
  X(VC_Directories) \
  X(VC_JavaFile) \
  X(VC_JavaClass) \
  X(VC_JavaMethod) \
  X(VC_JavaClassVariable) \
  X(VC_JavaRepository) \
  X(VC_ObjectSize) \
  X(VC_ObjectSizeGroup) \
  X(VC_ContainerBase) \
  X(VC_Container) \
  X(VC_ListContainerObject) \
  X(VC_ContainerCtrl) \
  X(INT_MDI_ManageChildren) \
  X(cRadioListBox) \
  X(cListItemToggle) \
  X(BLC_ManageSqlHandles) \
  X(BLC_DatabaseBrand) \
  X(VC_BldBlockProfile) \
  X(VC_DisplayMsg)
// clang-format on
