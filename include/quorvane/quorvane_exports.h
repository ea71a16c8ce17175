/* SPDX-License-Identifier: Apache-2.0 */
/* The prototypes of every exported function of the Quorvane library, with the
 * calling convention each has.  Generated from the library's export table by
 * `quorvane exports --header`; do not edit (nor reformat).  quorvane.h includes it.
 *
 *   __quorvane__GF<id>  a global function
 *   __quorvane__XE<id>  a class function, the object instance first
 *   __quorvane__XT<id>  the same class function on the current instance
 *                       (QvSetCurrentInstance)
 * These use the C calling convention (__cdecl on 32-bit Windows).  The
 * decorated names of the Windows build ("_StrMidX@36") are __stdcall entry
 * points of the same functions, declared here as pointer types: find them
 * with QvFindExport (or GetProcAddress on Windows).  Arguments a0, a1, ...
 * are in the library's parameter order; ownership is as quorvane.h states.
 */
/* clang-format off */
/* NOLINTBEGIN(bugprone-reserved-identifier): the exported names are the library's, as callers know them */
#ifndef QUORVANE_QUORVANE_EXPORTS_H
#define QUORVANE_QUORVANE_EXPORTS_H

#if defined(_WIN32)
#define QV_CDECL __cdecl
#define QV_STDCALL __stdcall
#else
#define QV_CDECL
#define QV_STDCALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ApplyFontSettings */
QV_API QvNumber QV_CDECL __quorvane__GF25690114(QvWindowHandle a0);

/* CallHostCommand */
QV_API int32_t QV_CDECL __quorvane__GF25690131(int32_t a0);

/* GetQueriedCount */
QV_API QvNumber QV_CDECL __quorvane__GF25690141(int32_t a0);

/* IsUnnamedWindow */
QV_API QvBoolean QV_CDECL __quorvane__GF25690180(QvWindowHandle a0);

/* SetWaitCursor */
QV_API QvNumber QV_CDECL __quorvane__GF25690196(QvBoolean a0);

/* IsFrameworkObject */
QV_API QvBoolean QV_CDECL __quorvane__GF25690213(QvWindowHandle a0);

/* ScanJavaFiles */
QV_API QvNumber QV_CDECL __quorvane__GF25690229(QvArray* a0, QvArray* a1);

/* MakeLong */
QV_API QvNumber QV_CDECL __quorvane__GF25690300(QvNumber a0, QvNumber a1);

/* GetColumnName */
QV_API QvString* QV_CDECL __quorvane__GF25690313(void);

/* IsStandardFWObject */
QV_API QvBoolean QV_CDECL __quorvane__GF25690339(QvWindowHandle a0);

/* BuildColumnBindList */
QV_API QvNumber QV_CDECL __quorvane__GF25690354(QvNumber a0, QvString** a1, QvString** a2, const QvString* a3, const QvString* a4);

/* GetColumnBindVar */
QV_API QvString* QV_CDECL __quorvane__GF25690389(void);

/* GetFieldBindVar */
QV_API QvString* QV_CDECL __quorvane__GF25690407(void);

/* BuildFieldBindList */
QV_API QvNumber QV_CDECL __quorvane__GF25690420(const QvString* a0, const QvString* a1, QvString** a2, QvString** a3, QvNumber a4);

/* ParseJavaSource */
QV_API QvNumber QV_CDECL __quorvane__GF25690458(const QvString* a0, QvString** a1, QvString** a2, QvString** a3, QvString** a4, QvString** a5, QvString** a6, QvString** a7, QvArray* a8, QvArray* a9, QvArray* a10, QvArray* a11, QvArray* a12, QvArray* a13, QvArray* a14);

/* StrMidX */
QV_API QvString* QV_CDECL __quorvane__GF25690943(const QvString* a0, QvNumber a1, QvNumber a2);

/* StrScanAt */
QV_API QvNumber QV_CDECL __quorvane__GF25690957(const QvString* a0, const QvString* a1, QvNumber a2);

/* StrCommentType */
QV_API QvNumber QV_CDECL __quorvane__GF25690970(const QvString* a0, QvNumber* a1, QvNumber* a2);

/* StrInComment */
QV_API QvNumber QV_CDECL __quorvane__GF25690999(const QvString* a0, const QvString* a1, QvNumber a2);

/* StrScanNext */
QV_API QvNumber QV_CDECL __quorvane__GF25691022(const QvString* a0, const QvString* a1, QvNumber a2);

/* VC_ApplicationProfile.InitProfile */
QV_API QvNumber QV_CDECL __quorvane__XE30015490(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30015490(void);

/* VC_ApplicationProfile.SaveProfile */
QV_API QvNumber QV_CDECL __quorvane__XE30015684(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30015684(void);

/* VC_ApplicationProfile.GetSpareString */
QV_API QvString* QV_CDECL __quorvane__XE30015856(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT30015856(void);

/* VC_ApplicationProfile.GetFontSettings */
QV_API QvNumber QV_CDECL __quorvane__XE30015867(QvObject* pSelf, QvString** a0, QvNumber* a1, QvNumber* a2, QvNumber* a3, QvNumber* a4, QvNumber* a5, QvNumber* a6);
QV_API QvNumber QV_CDECL __quorvane__XT30015867(QvString** a0, QvNumber* a1, QvNumber* a2, QvNumber* a3, QvNumber* a4, QvNumber* a5, QvNumber* a6);

/* VC_ApplicationProfile.SetFontSettings */
QV_API QvNumber QV_CDECL __quorvane__XE30015890(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4, QvNumber a5, QvNumber a6);
QV_API QvNumber QV_CDECL __quorvane__XT30015890(const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4, QvNumber a5, QvNumber a6);

/* VC_ApplicationProfile.GetJavaFilesRoot */
QV_API QvString* QV_CDECL __quorvane__XE30015911(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT30015911(void);

/* VC_ApplicationProfile.SetJavaFilesRoot */
QV_API QvNumber QV_CDECL __quorvane__XE30015922(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT30015922(const QvString* a0);

/* VC_ApplicationProfile.GetFileCount */
QV_API QvNumber QV_CDECL __quorvane__XE30015931(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30015931(void);

/* VC_ApplicationProfile.GetAutoTile */
QV_API QvBoolean QV_CDECL __quorvane__XE30015942(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT30015942(void);

/* VC_ApplicationProfile.SetAutoTile */
QV_API QvNumber QV_CDECL __quorvane__XE30015953(QvObject* pSelf, QvBoolean a0);
QV_API QvNumber QV_CDECL __quorvane__XT30015953(QvBoolean a0);

/* VC_ApplicationProfile.ReadProfileList */
QV_API QvNumber QV_CDECL __quorvane__XE30015962(QvObject* pSelf, const QvString* a0, const QvString* a1, QvArray* a2);
QV_API QvNumber QV_CDECL __quorvane__XT30015962(const QvString* a0, const QvString* a1, QvArray* a2);

/* VC_ApplicationProfile.WriteProfileList */
QV_API QvNumber QV_CDECL __quorvane__XE30016001(QvObject* pSelf, const QvString* a0, const QvString* a1, QvArray* a2);
QV_API QvNumber QV_CDECL __quorvane__XT30016001(const QvString* a0, const QvString* a1, QvArray* a2);

/* VC_Directories.InitDirectories */
QV_API QvNumber QV_CDECL __quorvane__XE30801922(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30801922(void);

/* VC_Directories.SetRootDirectories */
QV_API QvNumber QV_CDECL __quorvane__XE30801933(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT30801933(const QvString* a0);

/* VC_Directories.GetDirectoryCount */
QV_API QvNumber QV_CDECL __quorvane__XE30801954(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30801954(void);

/* VC_Directories.GetJavaFileCount */
QV_API QvNumber QV_CDECL __quorvane__XE30801967(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30801967(void);

/* VC_Directories.CollectJavaFiles */
QV_API QvNumber QV_CDECL __quorvane__XE30801980(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30801980(void);

/* VC_Directories.FindDirectories */
QV_API QvNumber QV_CDECL __quorvane__XE30802018(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT30802018(void);

/* VC_Directories.GetDirectory */
QV_API QvString* QV_CDECL __quorvane__XE30802028(QvObject* pSelf, QvNumber a0);
QV_API QvString* QV_CDECL __quorvane__XT30802028(QvNumber a0);

/* VC_Directories.GetJavaFile */
QV_API QvString* QV_CDECL __quorvane__XE30802038(QvObject* pSelf, QvNumber a0);
QV_API QvString* QV_CDECL __quorvane__XT30802038(QvNumber a0);

/* VC_JavaFile.ClearJavaFiles */
QV_API QvNumber QV_CDECL __quorvane__XE31588354(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT31588354(void);

/* VC_JavaFile.SetJavaFile */
QV_API QvNumber QV_CDECL __quorvane__XE31588364(QvObject* pSelf, QvNumber a0, const QvString* a1, const QvString* a2);
QV_API QvNumber QV_CDECL __quorvane__XT31588364(QvNumber a0, const QvString* a1, const QvString* a2);

/* VC_JavaFile.GetJavaFileInfo */
QV_API QvNumber QV_CDECL __quorvane__XE31588380(QvObject* pSelf, QvString** a0, QvString** a1);
QV_API QvNumber QV_CDECL __quorvane__XT31588380(QvString** a0, QvString** a1);

/* VC_JavaRepository.InitRepository */
QV_API QvNumber QV_CDECL __quorvane__XE32374786(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT32374786(void);

/* VC_JavaRepository.LoadRepository */
QV_API QvNumber QV_CDECL __quorvane__XE32374797(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT32374797(void);

/* VC_JavaRepository.SaveRepository */
QV_API QvNumber QV_CDECL __quorvane__XE32374806(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT32374806(void);

/* VC_JavaRepository.ReadClassFile */
QV_API QvNumber QV_CDECL __quorvane__XE32374814(QvObject* pSelf, const QvString* a0, const QvString* a1);
QV_API QvNumber QV_CDECL __quorvane__XT32374814(const QvString* a0, const QvString* a1);

/* VC_JavaRepository.SaveHistoryFile */
QV_API QvNumber QV_CDECL __quorvane__XE32374855(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT32374855(const QvString* a0);

/* VC_JavaRepository.WriteClassFile */
QV_API QvNumber QV_CDECL __quorvane__XE32374903(QvObject* pSelf, const QvString* a0, const QvString* a1);
QV_API QvNumber QV_CDECL __quorvane__XT32374903(const QvString* a0, const QvString* a1);

/* VC_JavaRepository.ReadMethodFile */
QV_API QvNumber QV_CDECL __quorvane__XE32374982(QvObject* pSelf, const QvString* a0, QvNumber a1, const QvString* a2);
QV_API QvNumber QV_CDECL __quorvane__XT32374982(const QvString* a0, QvNumber a1, const QvString* a2);

/* VC_JavaRepository.ReadVariableFile */
QV_API QvNumber QV_CDECL __quorvane__XE32375008(QvObject* pSelf, const QvString* a0, QvNumber a1, const QvString* a2);
QV_API QvNumber QV_CDECL __quorvane__XT32375008(const QvString* a0, QvNumber a1, const QvString* a2);

/* VC_JavaRepository.WriteMethodFile */
QV_API QvNumber QV_CDECL __quorvane__XE32375036(QvObject* pSelf, const QvString* a0, QvNumber a1, const QvString* a2);
QV_API QvNumber QV_CDECL __quorvane__XT32375036(const QvString* a0, QvNumber a1, const QvString* a2);

/* VC_JavaRepository.WriteVariableFile */
QV_API QvNumber QV_CDECL __quorvane__XE32375065(QvObject* pSelf, const QvString* a0, QvNumber a1, const QvString* a2);
QV_API QvNumber QV_CDECL __quorvane__XT32375065(const QvString* a0, QvNumber a1, const QvString* a2);

/* VC_JavaRepository.FindSubClasses */
QV_API QvNumber QV_CDECL __quorvane__XE32375091(QvObject* pSelf, const QvString* a0, QvArray* a1);
QV_API QvNumber QV_CDECL __quorvane__XT32375091(const QvString* a0, QvArray* a1);

/* VC_JavaRepository.FindClass */
QV_API QvNumber QV_CDECL __quorvane__XE32375118(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT32375118(const QvString* a0);

/* VC_JavaClass.ClearClass */
QV_API QvNumber QV_CDECL __quorvane__XE33161218(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT33161218(void);

/* VC_JavaClass.ParseSourceFile */
QV_API QvNumber QV_CDECL __quorvane__XE33161230(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT33161230(QvNumber a0);

/* VC_JavaClass.WriteSourceFile */
QV_API QvBoolean QV_CDECL __quorvane__XE33161251(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT33161251(void);

/* VC_JavaClass.SaveHistoryFile */
QV_API QvNumber QV_CDECL __quorvane__XE33161291(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT33161291(const QvString* a0);

/* BLC_ManageSqlHandles.ConnectSqlHandle */
QV_API QvBoolean QV_CDECL __quorvane__XE38666242(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT38666242(void);

/* BLC_ManageSqlHandles.DisconnectSqlHandles */
QV_API QvBoolean QV_CDECL __quorvane__XE38666270(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT38666270(void);

/* BLC_ManageSqlHandles.InitSqlHandle */
QV_API QvNumber QV_CDECL __quorvane__XE38666297(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT38666297(void);

/* BLC_ManageSqlHandles.ReConnectSqlHandle */
QV_API QvBoolean QV_CDECL __quorvane__XE38666311(QvObject* pSelf, QvNumber a0);
QV_API QvBoolean QV_CDECL __quorvane__XT38666311(QvNumber a0);

/* BLC_ManageSqlHandles.SetSqlHandle */
QV_API QvNumber QV_CDECL __quorvane__XE38666329(QvObject* pSelf, QvSqlHandle a0, QvBoolean a1);
QV_API QvNumber QV_CDECL __quorvane__XT38666329(QvSqlHandle a0, QvBoolean a1);

/* BLC_ManageSqlHandles.ReleaseSqlHandle */
QV_API QvBoolean QV_CDECL __quorvane__XE38666409(QvObject* pSelf, QvSqlHandle a0);
QV_API QvBoolean QV_CDECL __quorvane__XT38666409(QvSqlHandle a0);

/* BLC_ManageSqlHandles.GetSqlHandle */
QV_API QvBoolean QV_CDECL __quorvane__XE38666435(QvObject* pSelf, QvSqlHandle* a0);
QV_API QvBoolean QV_CDECL __quorvane__XT38666435(QvSqlHandle* a0);

/* BLC_ManageSqlHandles.GetDBMSBrand */
QV_API QvNumber QV_CDECL __quorvane__XE38666484(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT38666484(void);

/* BLC_DatabaseBrand.SetDBMSBrand */
QV_API QvNumber QV_CDECL __quorvane__XE39452674(QvObject* pSelf, QvSqlHandle a0);
QV_API QvNumber QV_CDECL __quorvane__XT39452674(QvSqlHandle a0);

/* BLC_DatabaseBrand.CurrentDBMSBrand */
QV_API QvNumber QV_CDECL __quorvane__XE39452691(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT39452691(void);

/* BLC_DatabaseBrand.IsDBMSBrand */
QV_API QvBoolean QV_CDECL __quorvane__XE39452701(QvObject* pSelf, QvNumber a0);
QV_API QvBoolean QV_CDECL __quorvane__XT39452701(QvNumber a0);

/* VC_BldBlockProfile.GetSqlProfileLog */
QV_API QvString* QV_CDECL __quorvane__XE40239106(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT40239106(void);

/* VC_BldBlockProfile.GetPerformanceLog */
QV_API QvString* QV_CDECL __quorvane__XE40239117(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT40239117(void);

/* VC_BldBlockProfile.GetBldBlockHelp */
QV_API QvString* QV_CDECL __quorvane__XE40239128(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT40239128(void);

/* VC_BldBlockProfile.GetDebugMode */
QV_API QvBoolean QV_CDECL __quorvane__XE40239139(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT40239139(void);

/* VC_BldBlockProfile.GetSqlProfileMode */
QV_API QvBoolean QV_CDECL __quorvane__XE40239150(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT40239150(void);

/* VC_BldBlockProfile.GetPerformanceMode */
QV_API QvBoolean QV_CDECL __quorvane__XE40239161(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT40239161(void);

/* VC_BldBlockProfile.LoadBldBlockProfile */
QV_API QvNumber QV_CDECL __quorvane__XE40239172(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT40239172(void);

/* VC_BldBlockProfile.InitBldBlockProfile */
QV_API QvNumber QV_CDECL __quorvane__XE40239181(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT40239181(void);

/* VC_DisplayMsg.DisplayValidationMsg */
QV_API QvNumber QV_CDECL __quorvane__XE41025538(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT41025538(QvNumber a0, const QvString* a1, QvNumber a2);

/* VC_DisplayMsg.DisplaySystemMsg */
QV_API QvNumber QV_CDECL __quorvane__XE41025570(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT41025570(QvNumber a0, QvNumber a1);

/* VC_ObjectSizeGroup.ResizeObjects */
QV_API QvNumber QV_CDECL __quorvane__XE28442626(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT28442626(void);

/* VC_ObjectSize.SetObjectSizeDetail */
QV_API QvNumber QV_CDECL __quorvane__XE29229058(QvObject* pSelf, QvWindowHandle a0);
QV_API QvNumber QV_CDECL __quorvane__XT29229058(QvWindowHandle a0);

/* VC_ObjectSize.SetMode */
QV_API QvNumber QV_CDECL __quorvane__XE29229084(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4, QvNumber a5);
QV_API QvNumber QV_CDECL __quorvane__XT29229084(QvNumber a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4, QvNumber a5);

/* VC_ObjectSize.Resize */
QV_API QvNumber QV_CDECL __quorvane__XE29229103(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT29229103(void);

/* VC_ContainerBase.SetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE41811970(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT41811970(QvNumber a0);

/* VC_ContainerBase.GetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE41811979(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT41811979(void);

/* VC_ContainerBase.GetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE41811987(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT41811987(void);

/* VC_ContainerBase.SetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE41811995(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT41811995(QvNumber a0);

/* VC_ContainerBase.SetCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE41812004(QvObject* pSelf, QvBoolean a0);
QV_API QvNumber QV_CDECL __quorvane__XT41812004(QvBoolean a0);

/* VC_ContainerBase.GetCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE41812018(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT41812018(void);

/* VC_Container.GetData */
QV_API QvNumber QV_CDECL __quorvane__XE42598402(QvObject* pSelf, QvNumber* a0, QvBoolean* a1, QvDateTime* a2, int32_t* a3, QvNumber* a4, int32_t* a5, QvString** a6, QvWindowHandle* a7);
QV_API QvNumber QV_CDECL __quorvane__XT42598402(QvNumber* a0, QvBoolean* a1, QvDateTime* a2, int32_t* a3, QvNumber* a4, int32_t* a5, QvString** a6, QvWindowHandle* a7);

/* VC_Container.SetData */
QV_API QvNumber QV_CDECL __quorvane__XE42598425(QvObject* pSelf, QvNumber a0, QvBoolean a1, QvDateTime a2, int32_t a3, QvNumber a4, int32_t a5, const QvString* a6, QvWindowHandle a7);
QV_API QvNumber QV_CDECL __quorvane__XT42598425(QvNumber a0, QvBoolean a1, QvDateTime a2, int32_t a3, QvNumber a4, int32_t a5, const QvString* a6, QvWindowHandle a7);

/* VC_Container.ClearData */
QV_API QvNumber QV_CDECL __quorvane__XE42598448(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT42598448(void);

/* VC_Container.GetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE42598465(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT42598465(void);

/* VC_Container.SetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE42598474(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT42598474(QvNumber a0);

/* VC_Container.GetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE42598483(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT42598483(void);

/* VC_Container.SetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE42598491(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT42598491(QvNumber a0);

/* VC_Container.GetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE42598500(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT42598500(void);

/* VC_Container.SetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE42598508(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT42598508(QvNumber a0);

/* VC_ListContainerObject.SetItemData */
QV_API QvNumber QV_CDECL __quorvane__XE43384834(QvObject* pSelf, QvNumber a0, QvBoolean a1, QvDateTime a2, int32_t a3, QvNumber a4, int32_t a5, const QvString* a6, QvWindowHandle a7);
QV_API QvNumber QV_CDECL __quorvane__XT43384834(QvNumber a0, QvBoolean a1, QvDateTime a2, int32_t a3, QvNumber a4, int32_t a5, const QvString* a6, QvWindowHandle a7);

/* VC_ListContainerObject.GetItemData */
QV_API QvNumber QV_CDECL __quorvane__XE43384850(QvObject* pSelf, QvNumber a0, QvBoolean* a1, QvDateTime* a2, int32_t* a3, QvNumber* a4, int32_t* a5, QvString** a6, QvWindowHandle* a7);
QV_API QvNumber QV_CDECL __quorvane__XT43384850(QvNumber a0, QvBoolean* a1, QvDateTime* a2, int32_t* a3, QvNumber* a4, int32_t* a5, QvString** a6, QvWindowHandle* a7);

/* VC_ListContainerObject.Reset */
QV_API QvNumber QV_CDECL __quorvane__XE43384866(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384866(void);

/* VC_ListContainerObject.GetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE43384875(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384875(void);

/* VC_ListContainerObject.SetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE43384884(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT43384884(QvNumber a0);

/* VC_ListContainerObject.SetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE43384893(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT43384893(QvNumber a0);

/* VC_ListContainerObject.GetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE43384902(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384902(void);

/* VC_ListContainerObject.GetContainerSize */
QV_API QvNumber QV_CDECL __quorvane__XE43384910(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384910(void);

/* VC_ListContainerObject.GetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE43384922(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384922(void);

/* VC_ListContainerObject.SetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE43384930(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT43384930(QvNumber a0);

/* VC_ListContainerObject.GetCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE43384948(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT43384948(void);

/* VC_ContainerCtrl.SetCellData */
QV_API QvNumber QV_CDECL __quorvane__XE44171266(QvObject* pSelf, QvNumber a0, QvNumber a1, QvBoolean a2, QvDateTime a3, int32_t a4, QvNumber a5, int32_t a6, const QvString* a7, QvWindowHandle a8);
QV_API QvNumber QV_CDECL __quorvane__XT44171266(QvNumber a0, QvNumber a1, QvBoolean a2, QvDateTime a3, int32_t a4, QvNumber a5, int32_t a6, const QvString* a7, QvWindowHandle a8);

/* VC_ContainerCtrl.GetCellData */
QV_API QvNumber QV_CDECL __quorvane__XE44171283(QvObject* pSelf, QvNumber a0, QvNumber a1, QvBoolean* a2, QvDateTime* a3, int32_t* a4, QvNumber* a5, int32_t* a6, QvString** a7, QvWindowHandle* a8);
QV_API QvNumber QV_CDECL __quorvane__XT44171283(QvNumber a0, QvNumber a1, QvBoolean* a2, QvDateTime* a3, int32_t* a4, QvNumber* a5, int32_t* a6, QvString** a7, QvWindowHandle* a8);

/* VC_ContainerCtrl.Reset */
QV_API QvNumber QV_CDECL __quorvane__XE44171300(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171300(void);

/* VC_ContainerCtrl.GetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE44171312(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171312(void);

/* VC_ContainerCtrl.SetContainerKey */
QV_API QvNumber QV_CDECL __quorvane__XE44171321(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171321(QvNumber a0);

/* VC_ContainerCtrl.GetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE44171330(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171330(void);

/* VC_ContainerCtrl.SetContainerType */
QV_API QvNumber QV_CDECL __quorvane__XE44171338(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171338(QvNumber a0);

/* VC_ContainerCtrl.GetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE44171347(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171347(void);

/* VC_ContainerCtrl.SetDataType */
QV_API QvNumber QV_CDECL __quorvane__XE44171355(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171355(QvNumber a0);

/* VC_ContainerCtrl.GetContainerSize */
QV_API QvNumber QV_CDECL __quorvane__XE44171364(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171364(void);

/* VC_ContainerCtrl.SetCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE44171376(QvObject* pSelf, QvBoolean a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171376(QvBoolean a0);

/* VC_ContainerCtrl.GetCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE44171385(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171385(void);

/* VC_ContainerCtrl.SetCtrlFlag */
QV_API QvNumber QV_CDECL __quorvane__XE44171393(QvObject* pSelf, QvBoolean a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171393(QvBoolean a0);

/* VC_ContainerCtrl.GetCtrlFlag */
QV_API QvNumber QV_CDECL __quorvane__XE44171402(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT44171402(void);

/* VC_ContainerCtrl.SetCtrlText */
QV_API QvNumber QV_CDECL __quorvane__XE44171410(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171410(const QvString* a0);

/* VC_ContainerCtrl.GetCtrlText */
QV_API QvString* QV_CDECL __quorvane__XE44171419(QvObject* pSelf);
QV_API QvString* QV_CDECL __quorvane__XT44171419(void);

/* VC_ContainerCtrl.GetListSize */
QV_API QvNumber QV_CDECL __quorvane__XE44171428(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171428(QvNumber a0);

/* VC_ContainerCtrl.GetListType */
QV_API QvNumber QV_CDECL __quorvane__XE44171441(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171441(QvNumber a0);

/* VC_ContainerCtrl.GetListDataType */
QV_API QvNumber QV_CDECL __quorvane__XE44171460(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171460(QvNumber a0);

/* VC_ContainerCtrl.GetListCtrlBoolean */
QV_API QvNumber QV_CDECL __quorvane__XE44171479(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT44171479(QvNumber a0);

/* INT_MDI_ManageChildren.CloseChildren */
QV_API QvBoolean QV_CDECL __quorvane__XE46923806(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT46923806(void);

/* INT_MDI_ManageChildren.SendToChildren */
QV_API QvBoolean QV_CDECL __quorvane__XE46923826(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, QvNumber a3);
QV_API QvBoolean QV_CDECL __quorvane__XT46923826(QvNumber a0, QvNumber a1, QvNumber a2, QvNumber a3);

/* INT_MDI_ManageChildren.EmptyHookTwo */
QV_API QvNumber QV_CDECL __quorvane__XE46923881(QvObject* pSelf, int32_t a0, int32_t a1);
QV_API QvNumber QV_CDECL __quorvane__XT46923881(int32_t a0, int32_t a1);

/* INT_MDI_ManageChildren.EmptyHookNone */
QV_API QvNumber QV_CDECL __quorvane__XE46923890(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT46923890(void);

/* INT_MDI_ManageChildren.EmptyHookOne */
QV_API QvNumber QV_CDECL __quorvane__XE46923897(QvObject* pSelf, int32_t a0);
QV_API QvNumber QV_CDECL __quorvane__XT46923897(int32_t a0);

/* cRadioListBox.ListOp108 */
QV_API QvNumber QV_CDECL __quorvane__XE75628546(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628546(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp109 */
QV_API QvNumber QV_CDECL __quorvane__XE75628557(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628557(QvNumber a0, QvNumber a1);

/* cRadioListBox.GetFlags */
QV_API QvNumber QV_CDECL __quorvane__XE75628568(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628568(QvNumber a0);

/* cRadioListBox.ListOp119 */
QV_API int32_t QV_CDECL __quorvane__XE75628578(QvObject* pSelf, QvNumber a0, QvNumber a1, int32_t a2);
QV_API int32_t QV_CDECL __quorvane__XT75628578(QvNumber a0, QvNumber a1, int32_t a2);

/* cRadioListBox.GetStyle */
QV_API QvNumber QV_CDECL __quorvane__XE75628590(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT75628590(void);

/* cRadioListBox.ListOp96 */
QV_API int32_t QV_CDECL __quorvane__XE75628599(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75628599(QvNumber a0);

/* cRadioListBox.ListOp98 */
QV_API QvNumber QV_CDECL __quorvane__XE75628609(QvObject* pSelf, const QvString* a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628609(const QvString* a0, QvNumber a1);

/* cRadioListBox.ListOp100 */
QV_API QvNumber QV_CDECL __quorvane__XE75628620(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75628620(const QvString* a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.GetColor */
QV_API QvNumber QV_CDECL __quorvane__XE75628632(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628632(QvNumber a0);

/* cRadioListBox.ListOp99 */
QV_API QvNumber QV_CDECL __quorvane__XE75628642(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75628642(QvNumber a0, const QvString* a1, QvNumber a2);

/* cRadioListBox.ListOp101 */
QV_API QvNumber QV_CDECL __quorvane__XE75628654(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);
QV_API QvNumber QV_CDECL __quorvane__XT75628654(QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp97 */
QV_API QvNumber QV_CDECL __quorvane__XE75628667(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628667(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp174 */
QV_API QvNumber QV_CDECL __quorvane__XE75628678(QvObject* pSelf, const QvString* a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628678(const QvString* a0, QvNumber a1);

/* cRadioListBox.ListOp175 */
QV_API QvNumber QV_CDECL __quorvane__XE75628689(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75628689(const QvString* a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.GetFont */
QV_API QvNumber QV_CDECL __quorvane__XE75628701(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628701(QvNumber a0);

/* cRadioListBox.ListOp177 */
QV_API QvNumber QV_CDECL __quorvane__XE75628711(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75628711(QvNumber a0, const QvString* a1, QvNumber a2);

/* cRadioListBox.ListOp178 */
QV_API QvNumber QV_CDECL __quorvane__XE75628723(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);
QV_API QvNumber QV_CDECL __quorvane__XT75628723(QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp179 */
QV_API QvNumber QV_CDECL __quorvane__XE75628736(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628736(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp143 */
QV_API int32_t QV_CDECL __quorvane__XE75628747(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75628747(QvNumber a0);

/* cRadioListBox.ListOp159 */
QV_API QvNumber QV_CDECL __quorvane__XE75628757(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628757(QvNumber a0);

/* cRadioListBox.ListOp160 */
QV_API QvNumber QV_CDECL __quorvane__XE75628767(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628767(QvNumber a0);

/* cRadioListBox.ListOp161 */
QV_API int32_t QV_CDECL __quorvane__XE75628777(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2);
QV_API int32_t QV_CDECL __quorvane__XT75628777(QvNumber a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.ListOp249 */
QV_API int32_t QV_CDECL __quorvane__XE75628789(QvObject* pSelf, QvNumber a0, int32_t a1, QvNumber a2, QvNumber a3);
QV_API int32_t QV_CDECL __quorvane__XT75628789(QvNumber a0, int32_t a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp155 */
QV_API QvNumber QV_CDECL __quorvane__XE75628802(QvObject* pSelf, QvNumber a0, int32_t a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628802(QvNumber a0, int32_t a1);

/* cRadioListBox.ListOp156 */
QV_API QvNumber QV_CDECL __quorvane__XE75628813(QvObject* pSelf, QvNumber a0, int32_t a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628813(QvNumber a0, int32_t a1);

/* cRadioListBox.ListOp144 */
QV_API QvNumber QV_CDECL __quorvane__XE75628824(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628824(QvNumber a0);

/* cRadioListBox.ListOp152 */
QV_API int32_t QV_CDECL __quorvane__XE75628834(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75628834(QvNumber a0);

/* cRadioListBox.ListOp258 */
QV_API QvNumber QV_CDECL __quorvane__XE75628844(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628844(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp146 */
QV_API int32_t QV_CDECL __quorvane__XE75628855(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75628855(QvNumber a0);

/* cRadioListBox.ListOp147 */
QV_API int32_t QV_CDECL __quorvane__XE75628865(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75628865(QvNumber a0);

/* cRadioListBox.ListOp248 */
QV_API QvNumber QV_CDECL __quorvane__XE75628875(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API QvNumber QV_CDECL __quorvane__XT75628875(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp142 */
QV_API int32_t QV_CDECL __quorvane__XE75628886(QvObject* pSelf, QvNumber a0, int32_t a1, QvNumber* a2, QvNumber* a3);
QV_API int32_t QV_CDECL __quorvane__XT75628886(QvNumber a0, int32_t a1, QvNumber* a2, QvNumber* a3);

/* cRadioListBox.ListOp251 */
QV_API QvNumber QV_CDECL __quorvane__XE75628899(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628899(QvNumber a0);

/* cRadioListBox.ListOp263 */
QV_API QvNumber QV_CDECL __quorvane__XE75628909(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628909(QvNumber a0);

/* cRadioListBox.ListOp252 */
QV_API QvNumber QV_CDECL __quorvane__XE75628919(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628919(QvNumber a0);

/* cRadioListBox.GetItemHandle */
QV_API QvNumber QV_CDECL __quorvane__XE75628929(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628929(QvNumber a0);

/* cRadioListBox.ListOp255 */
QV_API QvNumber QV_CDECL __quorvane__XE75628939(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628939(QvNumber a0);

/* cRadioListBox.ListOp253 */
QV_API int32_t QV_CDECL __quorvane__XE75628949(QvObject* pSelf, QvNumber a0, QvNumber* a1, QvNumber* a2);
QV_API int32_t QV_CDECL __quorvane__XT75628949(QvNumber a0, QvNumber* a1, QvNumber* a2);

/* cRadioListBox.ListOp260 */
QV_API QvString* QV_CDECL __quorvane__XE75628961(QvObject* pSelf, QvNumber a0);
QV_API QvString* QV_CDECL __quorvane__XT75628961(QvNumber a0);

/* cRadioListBox.ListOp259 */
QV_API QvNumber QV_CDECL __quorvane__XE75628971(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628971(QvNumber a0);

/* cRadioListBox.ListOp203 */
QV_API QvNumber QV_CDECL __quorvane__XE75628981(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628981(QvNumber a0);

/* cRadioListBox.ListOp153 */
QV_API QvNumber QV_CDECL __quorvane__XE75628991(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75628991(QvNumber a0);

/* cRadioListBox.ListOp140 */
QV_API QvNumber QV_CDECL __quorvane__XE75629001(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75629001(QvNumber a0);

/* cRadioListBox.ListOp154 */
QV_API QvNumber QV_CDECL __quorvane__XE75629011(QvObject* pSelf, QvNumber a0);
QV_API QvNumber QV_CDECL __quorvane__XT75629011(QvNumber a0);

/* cRadioListBox.ListOp138 */
QV_API QvNumber QV_CDECL __quorvane__XE75629021(QvObject* pSelf);
QV_API QvNumber QV_CDECL __quorvane__XT75629021(void);

/* cRadioListBox.ListOp256 */
QV_API int32_t QV_CDECL __quorvane__XE75629030(QvObject* pSelf, QvNumber a0, QvNumber* a1, QvNumber* a2, QvNumber* a3, QvNumber* a4);
QV_API int32_t QV_CDECL __quorvane__XT75629030(QvNumber a0, QvNumber* a1, QvNumber* a2, QvNumber* a3, QvNumber* a4);

/* cRadioListBox.ListOp137 */
QV_API QvNumber QV_CDECL __quorvane__XE75629044(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, const QvString* a3, QvNumber a4, QvNumber a5);
QV_API QvNumber QV_CDECL __quorvane__XT75629044(QvNumber a0, QvNumber a1, QvNumber a2, const QvString* a3, QvNumber a4, QvNumber a5);

/* cRadioListBox.ListOp136 */
QV_API QvNumber QV_CDECL __quorvane__XE75629059(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, int32_t a3, int32_t a4, int32_t a5);
QV_API QvNumber QV_CDECL __quorvane__XT75629059(QvNumber a0, QvNumber a1, QvNumber a2, int32_t a3, int32_t a4, int32_t a5);

/* cRadioListBox.ListOp289 */
QV_API QvNumber QV_CDECL __quorvane__XE75629074(QvObject* pSelf, const QvString* a0);
QV_API QvNumber QV_CDECL __quorvane__XT75629074(const QvString* a0);

/* cRadioListBox.ListOp290 */
QV_API QvNumber QV_CDECL __quorvane__XE75629084(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4);
QV_API QvNumber QV_CDECL __quorvane__XT75629084(const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4);

/* cRadioListBox.ListOp157 */
QV_API QvNumber QV_CDECL __quorvane__XE75629098(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, const QvString* a3, QvNumber a4, QvNumber a5);
QV_API QvNumber QV_CDECL __quorvane__XT75629098(QvNumber a0, QvNumber a1, QvNumber a2, const QvString* a3, QvNumber a4, QvNumber a5);

/* cRadioListBox.ListOp163 */
QV_API int32_t QV_CDECL __quorvane__XE75629113(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75629113(QvNumber a0);

/* cRadioListBox.ListOp164 */
QV_API int32_t QV_CDECL __quorvane__XE75629123(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75629123(QvNumber a0);

/* cRadioListBox.ListOp162 */
QV_API int32_t QV_CDECL __quorvane__XE75629133(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2);
QV_API int32_t QV_CDECL __quorvane__XT75629133(QvNumber a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.ListOp291 */
QV_API QvNumber QV_CDECL __quorvane__XE75629145(QvObject* pSelf, int32_t a0);
QV_API QvNumber QV_CDECL __quorvane__XT75629145(int32_t a0);

/* cRadioListBox.ListOp145 */
QV_API int32_t QV_CDECL __quorvane__XE75629155(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75629155(QvNumber a0);

/* cRadioListBox.ListOp197 */
QV_API int32_t QV_CDECL __quorvane__XE75629165(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API int32_t QV_CDECL __quorvane__XT75629165(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp158 */
QV_API QvNumber QV_CDECL __quorvane__XE75629176(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);
QV_API QvNumber QV_CDECL __quorvane__XT75629176(QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp264 */
QV_API int32_t QV_CDECL __quorvane__XE75629189(QvObject* pSelf, QvNumber a0, QvNumber a1, int32_t a2);
QV_API int32_t QV_CDECL __quorvane__XT75629189(QvNumber a0, QvNumber a1, int32_t a2);

/* cRadioListBox.ListOp198 */
QV_API int32_t QV_CDECL __quorvane__XE75629201(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API int32_t QV_CDECL __quorvane__XT75629201(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp148 */
QV_API int32_t QV_CDECL __quorvane__XE75629212(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2);
QV_API int32_t QV_CDECL __quorvane__XT75629212(QvNumber a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.ListOp262 */
QV_API int32_t QV_CDECL __quorvane__XE75629224(QvObject* pSelf, QvNumber a0, const QvString* a1);
QV_API int32_t QV_CDECL __quorvane__XT75629224(QvNumber a0, const QvString* a1);

/* cRadioListBox.ListOp261 */
QV_API int32_t QV_CDECL __quorvane__XE75629235(QvObject* pSelf, QvNumber a0, QvNumber a1);
QV_API int32_t QV_CDECL __quorvane__XT75629235(QvNumber a0, QvNumber a1);

/* cRadioListBox.ListOp254 */
QV_API int32_t QV_CDECL __quorvane__XE75629246(QvObject* pSelf, int32_t a0);
QV_API int32_t QV_CDECL __quorvane__XT75629246(int32_t a0);

/* cRadioListBox.ListOp139 */
QV_API int32_t QV_CDECL __quorvane__XE75629256(QvObject* pSelf, QvNumber a0);
QV_API int32_t QV_CDECL __quorvane__XT75629256(QvNumber a0);

/* cRadioListBox.ListOp113 */
QV_API QvNumber QV_CDECL __quorvane__XE75629266(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75629266(const QvString* a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.ListOp115 */
QV_API QvNumber QV_CDECL __quorvane__XE75629278(QvObject* pSelf, const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3);
QV_API QvNumber QV_CDECL __quorvane__XT75629278(const QvString* a0, QvNumber a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp151 */
QV_API QvNumber QV_CDECL __quorvane__XE75629291(QvObject* pSelf, QvNumber a0, QvNumber* a1, QvNumber* a2);
QV_API QvNumber QV_CDECL __quorvane__XT75629291(QvNumber a0, QvNumber* a1, QvNumber* a2);

/* cRadioListBox.ListOp114 */
QV_API QvNumber QV_CDECL __quorvane__XE75629303(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);
QV_API QvNumber QV_CDECL __quorvane__XT75629303(QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3);

/* cRadioListBox.ListOp116 */
QV_API QvNumber QV_CDECL __quorvane__XE75629316(QvObject* pSelf, QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3, QvNumber a4);
QV_API QvNumber QV_CDECL __quorvane__XT75629316(QvNumber a0, const QvString* a1, QvNumber a2, QvNumber a3, QvNumber a4);

/* cRadioListBox.ListOp117 */
QV_API QvNumber QV_CDECL __quorvane__XE75629330(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2);
QV_API QvNumber QV_CDECL __quorvane__XT75629330(QvNumber a0, QvNumber a1, QvNumber a2);

/* cRadioListBox.CacheSelection */
QV_API QvBoolean QV_CDECL __quorvane__XE75629355(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT75629355(void);

/* cRadioListBox.SetupList */
QV_API QvBoolean QV_CDECL __quorvane__XE75629342(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT75629342(void);

/* cListItemToggle.ToggleSelected */
QV_API QvBoolean QV_CDECL __quorvane__XE22937621(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT22937621(void);

/* cListItemToggle.OnToggleKey */
QV_API QvBoolean QV_CDECL __quorvane__XE22937602(QvObject* pSelf);
QV_API QvBoolean QV_CDECL __quorvane__XT22937602(void);

/* _StrMidX@36: StrMidX */
typedef QvString*(QV_STDCALL* QvDecorated_StrMidX_36)(const QvString* a0, QvNumber a1, QvNumber a2);

/* _StrScanAt@24: StrScanAt */
typedef QvNumber(QV_STDCALL* QvDecorated_StrScanAt_24)(const QvString* a0, const QvString* a1, QvNumber a2);

/* ___IsStandardFWObject@4: IsStandardFWObject */
typedef QvBoolean(QV_STDCALL* QvDecorated___IsStandardFWObject_4)(QvWindowHandle a0);

/* ___GetColumnBindVar@0: GetColumnBindVar */
typedef QvString*(QV_STDCALL* QvDecorated___GetColumnBindVar_0)(void);

/* ___GetFieldBindVar@0: GetFieldBindVar */
typedef QvString*(QV_STDCALL* QvDecorated___GetFieldBindVar_0)(void);

/* _InitProfile_2__@4: VC_ApplicationProfile.InitProfile */
typedef QvNumber(QV_STDCALL* QvDecorated_InitProfile_2___4)(QvObject* pSelf);

/* _FindDirectories_3__@4: VC_Directories.FindDirectories */
typedef QvNumber(QV_STDCALL* QvDecorated_FindDirectories_3___4)(QvObject* pSelf);

/* _ReadClassFile_5__@12: VC_JavaRepository.ReadClassFile */
typedef QvNumber(QV_STDCALL* QvDecorated_ReadClassFile_5___12)(QvObject* pSelf, const QvString* a0, const QvString* a1);

/* _SaveHistoryFile_5__@8: VC_JavaRepository.SaveHistoryFile */
typedef QvNumber(QV_STDCALL* QvDecorated_SaveHistoryFile_5___8)(QvObject* pSelf, const QvString* a0);

/* _WriteClassFile_5__@12: VC_JavaRepository.WriteClassFile */
typedef QvNumber(QV_STDCALL* QvDecorated_WriteClassFile_5___12)(QvObject* pSelf, const QvString* a0, const QvString* a1);

/* _SaveHistoryFile_6__@8: VC_JavaClass.SaveHistoryFile */
typedef QvNumber(QV_STDCALL* QvDecorated_SaveHistoryFile_6___8)(QvObject* pSelf, const QvString* a0);

/* ___ConnectSqlHandle_12__@4: BLC_ManageSqlHandles.ConnectSqlHandle */
typedef QvBoolean(QV_STDCALL* QvDecorated___ConnectSqlHandle_12___4)(QvObject* pSelf);

/* ___InitSqlHandle_12__@4: BLC_ManageSqlHandles.InitSqlHandle */
typedef QvNumber(QV_STDCALL* QvDecorated___InitSqlHandle_12___4)(QvObject* pSelf);

/* ___ReConnectSqlHandle_12__@20: BLC_ManageSqlHandles.ReConnectSqlHandle */
typedef QvBoolean(QV_STDCALL* QvDecorated___ReConnectSqlHandle_12___20)(QvObject* pSelf, QvNumber a0);

/* ___SetSqlHandle_12__@12: BLC_ManageSqlHandles.SetSqlHandle */
typedef QvNumber(QV_STDCALL* QvDecorated___SetSqlHandle_12___12)(QvObject* pSelf, QvSqlHandle a0, QvBoolean a1);

/* ___wse38666254_12__@12: BLC_ManageSqlHandles.(SQL error handler of ConnectSqlHandle) */
typedef int32_t(QV_STDCALL* QvDecorated___wse38666254_12___12)(QvObject* pSelf, QvSqlHandle a0, QvBoolean* a1);

/* ___wse38666321_12__@12: BLC_ManageSqlHandles.(SQL error handler of ReConnectSqlHandle) */
typedef int32_t(QV_STDCALL* QvDecorated___wse38666321_12___12)(QvObject* pSelf, QvSqlHandle a0, QvBoolean* a1);

/* _CurrentDBMSBrand_13__@4: BLC_DatabaseBrand.CurrentDBMSBrand */
typedef QvNumber(QV_STDCALL* QvDecorated_CurrentDBMSBrand_13___4)(QvObject* pSelf);

/* _InitBldBlockProfile_14__@4: VC_BldBlockProfile.InitBldBlockProfile */
typedef QvNumber(QV_STDCALL* QvDecorated_InitBldBlockProfile_14___4)(QvObject* pSelf);

/* ___ct_15__@4: VC_DisplayMsg.(constructor) */
typedef QvNumber(QV_STDCALL* QvDecorated___ct_15___4)(QvObject* pSelf);

/* ___dt_15__@4: VC_DisplayMsg.(destructor) */
typedef QvNumber(QV_STDCALL* QvDecorated___dt_15___4)(QvObject* pSelf);

/* _DisplaySystemMsg_15__@36: VC_DisplayMsg.DisplaySystemMsg */
typedef QvNumber(QV_STDCALL* QvDecorated_DisplaySystemMsg_15___36)(QvObject* pSelf, QvNumber a0, QvNumber a1);

/* _SetObjectSizeDetail_1__@8: VC_ObjectSize.SetObjectSizeDetail */
typedef QvNumber(QV_STDCALL* QvDecorated_SetObjectSizeDetail_1___8)(QvObject* pSelf, QvWindowHandle a0);

/* _SetMode_1__@100: VC_ObjectSize.SetMode */
typedef QvNumber(QV_STDCALL* QvDecorated_SetMode_1___100)(QvObject* pSelf, QvNumber a0, QvNumber a1, QvNumber a2, QvNumber a3, QvNumber a4, QvNumber a5);

/* _Resize_1__@4: VC_ObjectSize.Resize */
typedef QvNumber(QV_STDCALL* QvDecorated_Resize_1___4)(QvObject* pSelf);

/* ___SetContainerType_16__@20: VC_ContainerBase.SetContainerType */
typedef QvNumber(QV_STDCALL* QvDecorated___SetContainerType_16___20)(QvObject* pSelf, QvNumber a0);

/* ___GetContainerType_16__@4: VC_ContainerBase.GetContainerType */
typedef QvNumber(QV_STDCALL* QvDecorated___GetContainerType_16___4)(QvObject* pSelf);

/* ___GetDataType_16__@4: VC_ContainerBase.GetDataType */
typedef QvNumber(QV_STDCALL* QvDecorated___GetDataType_16___4)(QvObject* pSelf);

/* ___SetDataType_16__@20: VC_ContainerBase.SetDataType */
typedef QvNumber(QV_STDCALL* QvDecorated___SetDataType_16___20)(QvObject* pSelf, QvNumber a0);

/* ___GetCtrlBoolean_16__@4: VC_ContainerBase.GetCtrlBoolean */
typedef QvNumber(QV_STDCALL* QvDecorated___GetCtrlBoolean_16___4)(QvObject* pSelf);

/* ___GetData_17__@36: VC_Container.GetData */
typedef QvNumber(QV_STDCALL* QvDecorated___GetData_17___36)(QvObject* pSelf, QvNumber* a0, QvBoolean* a1, QvDateTime* a2, int32_t* a3, QvNumber* a4, int32_t* a5, QvString** a6, QvWindowHandle* a7);

/* ___SetData_17__@72: VC_Container.SetData */
typedef QvNumber(QV_STDCALL* QvDecorated___SetData_17___72)(QvObject* pSelf, QvNumber a0, QvBoolean a1, QvDateTime a2, int32_t a3, QvNumber a4, int32_t a5, const QvString* a6, QvWindowHandle a7);

/* ___Reset_18__@4: VC_ListContainerObject.Reset */
typedef QvNumber(QV_STDCALL* QvDecorated___Reset_18___4)(QvObject* pSelf);

/* ___GetContainerType_18__@4: VC_ListContainerObject.GetContainerType */
typedef QvNumber(QV_STDCALL* QvDecorated___GetContainerType_18___4)(QvObject* pSelf);

/* ___GetContainerSize_18__@4: VC_ListContainerObject.GetContainerSize */
typedef QvNumber(QV_STDCALL* QvDecorated___GetContainerSize_18___4)(QvObject* pSelf);

/* ___GetDataType_18__@4: VC_ListContainerObject.GetDataType */
typedef QvNumber(QV_STDCALL* QvDecorated___GetDataType_18___4)(QvObject* pSelf);

/* ___GetCtrlBoolean_18__@4: VC_ListContainerObject.GetCtrlBoolean */
typedef QvNumber(QV_STDCALL* QvDecorated___GetCtrlBoolean_18___4)(QvObject* pSelf);

/* ___ct_19__@4: VC_ContainerCtrl.(constructor) */
typedef QvNumber(QV_STDCALL* QvDecorated___ct_19___4)(QvObject* pSelf);

/* ___dt_19__@4: VC_ContainerCtrl.(destructor) */
typedef QvNumber(QV_STDCALL* QvDecorated___dt_19___4)(QvObject* pSelf);

/* _GetFlags_34__@20: cRadioListBox.GetFlags */
typedef QvNumber(QV_STDCALL* QvDecorated_GetFlags_34___20)(QvObject* pSelf, QvNumber a0);

/* _GetStyle_34__@4: cRadioListBox.GetStyle */
typedef QvNumber(QV_STDCALL* QvDecorated_GetStyle_34___4)(QvObject* pSelf);

/* _GetColor_34__@20: cRadioListBox.GetColor */
typedef QvNumber(QV_STDCALL* QvDecorated_GetColor_34___20)(QvObject* pSelf, QvNumber a0);

/* _GetFont_34__@20: cRadioListBox.GetFont */
typedef QvNumber(QV_STDCALL* QvDecorated_GetFont_34___20)(QvObject* pSelf, QvNumber a0);

/* _GetItemHandle_34__@20: cRadioListBox.GetItemHandle */
typedef QvNumber(QV_STDCALL* QvDecorated_GetItemHandle_34___20)(QvObject* pSelf, QvNumber a0);

#ifdef __cplusplus
}
#endif
/* NOLINTEND(bugprone-reserved-identifier) */

#endif /* QUORVANE_QUORVANE_EXPORTS_H */
