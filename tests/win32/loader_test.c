// SPDX-License-Identifier: Apache-2.0
/* The loader test of the Windows build, run under Wine: a plain Windows
 * program that loads quorvane.dll the way a host application does.
 *   - LoadLibraryA("quorvane.dll") succeeds (uitk60.dll beside it);
 *   - every name of the export listing (argv[1], exports.tsv) is found with
 *     GetProcAddress;
 *   - a decorated __stdcall name and its undecorated twin, called with the
 *     same arguments, give the same result;
 *   - the stack pointer is the same before and after each __stdcall call,
 *     measured around a raw call that pushes the "@" bytes and, for a
 *     Number result, the hidden result address; a __cdecl call is the
 *     negative control: its arguments are still on the stack after it
 *     returns;
 *   - QvFindExport gives, for every decorated name, the entry point that
 *     GetProcAddress gives, and a call through the header's QvDecorated_...
 *     type to what it found leaves the stack pointer unchanged.
 * With --expect-load-failure (run where uitk60.dll is missing) it checks
 * only that the load fails.
 * Prints one line per check; the exit status is the number of failures. */
#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "quorvane/quorvane.h"

static int nFailures = 0;

static void Check(int bOk, const char* sWhat, const char* sDetail) {
  printf("%s %s%s%s\n", bOk ? "PASS" : "FAIL", sWhat, sDetail ? ": " : "", sDetail ? sDetail : "");
  if (!bOk) ++nFailures;
}

/* A raw call: pushes nWords 32-bit words of arguments (aArgs[0] last, so it
 * is on top), then the hidden result address when there is one, calls pFn
 * and measures the stack pointer after the call minus the one before the
 * pushes.  0: the callee removed everything it was given. */
static FARPROC gpFn;
static const uint32_t* gpArgs;
static int32_t gnWords;
static void* gpHidden;
static uint32_t gnEax;
static int32_t gnDelta;

static void RawCall(void) {
  __asm__ volatile(
      "movl %%esp, %%esi\n\t"
      "movl %[n], %%ecx\n\t"
      "movl %[args], %%edx\n\t"
      "1:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "decl %%ecx\n\t"
      "pushl (%%edx,%%ecx,4)\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "movl %[hidden], %%ecx\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 3f\n\t"
      "pushl %%ecx\n\t"
      "3:\n\t"
      "call *%[fn]\n\t"
      "movl %%esp, %%edx\n\t"
      "subl %%esi, %%edx\n\t"
      "movl %%esi, %%esp\n\t"
      "movl %%eax, %[eax]\n\t"
      "movl %%edx, %[delta]\n\t"
      : [eax] "=m"(gnEax), [delta] "=m"(gnDelta)
      : [n] "m"(gnWords), [args] "m"(gpArgs), [hidden] "m"(gpHidden), [fn] "m"(gpFn)
      : "eax", "ecx", "edx", "esi", "memory", "cc");
}

static int32_t Measure(FARPROC pFn, const void* pArgs, size_t nBytes, void* pHidden, uint32_t* pEax) {
  gpFn = pFn;
  gpArgs = (const uint32_t*)pArgs;
  gnWords = (int32_t)(nBytes / 4);
  gpHidden = pHidden;
  RawCall();
  *pEax = gnEax;
  return gnDelta;
}

static HMODULE hLib;
static FARPROC Find(const char* sName) { return GetProcAddress(hLib, sName); }

/* A call through the pointer type the header declares, the stack pointer
 * read right before and right after it: a callee that removes other bytes
 * than its type says shows as a difference.  The helpers keep their frame
 * pointer, so that such a difference does not outlive them. */
static uint32_t gnBefore, gnAfter;
#define STACK_BEFORE() __asm__ volatile("movl %%esp, %0" : "=m"(gnBefore)::"memory")
#define STACK_AFTER() __asm__ volatile("movl %%esp, %0" : "=m"(gnAfter)::"memory")
/* An export as a function of its own type; the cast goes through the
 * generic function pointer type, as the compiler asks of a deliberate one. */
#define FIND(type, name) ((type)(void (*)(void))Find(name))

static QvString* NewString(const char* s) {
  return FIND(QvString * (*)(const char*, size_t), "QvStringNew")(s, strlen(s));
}
static const char* StringText(const QvString* p) {
  return p == NULL ? "(null)" : FIND(const char* (*)(const QvString*), "QvStringData")(p);
}
static QvNumber Num(double d) {
  QvNumber n;
  memset(&n, 0, sizeof n);
  n.value = d;
  return n;
}

/* Arguments as they lie on the 32-bit stack: 4-byte words, a Number as
 * its 16 bytes without padding before it. */
typedef struct {
  uint32_t a[32];
  int n;
} Args;
static void Push(Args* p, uint32_t n) { p->a[p->n++] = n; }
static void PushNumber(Args* p, double d) {
  QvNumber n = Num(d);
  memcpy(&p->a[p->n], &n, sizeof n);
  p->n += (int)(sizeof n / 4);
}

/* A twin pair: the decorated name and the undecorated one, the same
 * argument bytes; the result is in eax (bHidden 0) or a Number written
 * through the hidden address (bHidden 1). */
static void Twins(const char* sDecorated, const char* sPlain, const void* pArgs, size_t nBytes, int bHidden,
                  int bStringResult) {
  char sDetail[512];
  FARPROC pStd = Find(sDecorated);
  FARPROC pC = Find(sPlain);
  if (pStd == NULL || pC == NULL) {
    Check(0, sDecorated, "not found");
    return;
  }
  QvNumber nStd, nC;
  memset(&nStd, 0x5a, sizeof nStd);
  memset(&nC, 0x5a, sizeof nC);
  uint32_t nEaxStd = 0, nEaxC = 0;
  const int32_t nDeltaStd = Measure(pStd, pArgs, nBytes, bHidden ? &nStd : NULL, &nEaxStd);
  const int32_t nDeltaC = Measure(pC, pArgs, nBytes, bHidden ? &nC : NULL, &nEaxC);
  const int32_t nPushed = (int32_t)nBytes + (bHidden ? 4 : 0);
  snprintf(sDetail, sizeof sDetail, "stack pointer after the call %+d (stdcall), %+d (cdecl, %d bytes pushed)",
           nDeltaStd, nDeltaC, nPushed);
  char sWhat[256];
  snprintf(sWhat, sizeof sWhat, "%s removes its arguments", sDecorated);
  Check(nDeltaStd == 0, sWhat, sDetail);
  snprintf(sWhat, sizeof sWhat, "%s (cdecl, negative control) leaves them to the caller", sPlain);
  /* A cdecl callee that returns a Number may remove the hidden address. */
  Check(nDeltaC == -(int32_t)nBytes || nDeltaC == -nPushed, sWhat, sDetail);
  snprintf(sWhat, sizeof sWhat, "%s and %s give the same result", sDecorated, sPlain);
  if (bHidden) {
    snprintf(sDetail, sizeof sDetail, "%g/%d and %g/%d", nStd.value, nStd.isNull, nC.value, nC.isNull);
    Check(nStd.value == nC.value && nStd.isNull == nC.isNull, sWhat, sDetail);
  } else if (bStringResult) {
    const char* a = StringText((QvString*)(uintptr_t)nEaxStd);
    const char* b = StringText((QvString*)(uintptr_t)nEaxC);
    snprintf(sDetail, sizeof sDetail, "\"%s\" and \"%s\"", a, b);
    Check(strcmp(a, b) == 0 && strcmp(a, "(null)") != 0, sWhat, sDetail);
  } else {
    snprintf(sDetail, sizeof sDetail, "%u and %u", nEaxStd, nEaxC);
    Check(nEaxStd == nEaxC, sWhat, sDetail);
  }
}

/* Decorated names as QvFindExport finds them, called through the types the
 * header declares for them (QvDecorated_...): each call must leave the
 * stack pointer as it found it. */
typedef void (*(*FindExportFn)(const char*))(void);
static FindExportFn gpFindExport;
#define FIND_DECORATED(type, name) ((type)gpFindExport(name))
static void CheckStack(const char* sName, int bResultOk, const char* sResult) {
  char sWhat[256], sDetail[256];
  snprintf(sWhat, sizeof sWhat, "%s found by QvFindExport keeps the stack pointer", sName);
  snprintf(sDetail, sizeof sDetail, "stack pointer after the call %+d", (int)(gnAfter - gnBefore));
  Check(gnAfter == gnBefore, sWhat, sDetail);
  snprintf(sWhat, sizeof sWhat, "%s found by QvFindExport gives its result", sName);
  Check(bResultOk, sWhat, sResult);
}

__attribute__((noinline, optimize("no-omit-frame-pointer"))) static void TypedStrMidX(void) {
  QvDecorated_StrMidX_36 pFn = FIND_DECORATED(QvDecorated_StrMidX_36, "_StrMidX@36");
  QvString* pText = NewString("Quorvane library");
  STACK_BEFORE();
  QvString* pResult = pFn(pText, Num(2), Num(5));
  STACK_AFTER();
  const char* sResult = StringText(pResult);
  const char* sTwin = StringText(
      FIND(__typeof__(&__quorvane__GF25690943), "__quorvane__GF25690943")(pText, Num(2), Num(5)));
  CheckStack("_StrMidX@36", strcmp(sResult, sTwin) == 0 && sResult[0] != '\0', sResult);
}

__attribute__((noinline, optimize("no-omit-frame-pointer"))) static void TypedStrScanAt(void) {
  QvDecorated_StrScanAt_24 pFn = FIND_DECORATED(QvDecorated_StrScanAt_24, "_StrScanAt@24");
  QvString* pText = NewString("abc.def.ghi");
  QvString* pKey = NewString(".");
  STACK_BEFORE();
  const QvNumber n = pFn(pText, pKey, Num(4));
  STACK_AFTER();
  const QvNumber nTwin = FIND(__typeof__(&__quorvane__GF25690957), "__quorvane__GF25690957")(pText, pKey, Num(4));
  char sResult[64];
  snprintf(sResult, sizeof sResult, "%g/%d, undecorated %g/%d", n.value, n.isNull, nTwin.value, nTwin.isNull);
  CheckStack("_StrScanAt@24", n.value == nTwin.value && n.isNull == nTwin.isNull, sResult);
}

__attribute__((noinline, optimize("no-omit-frame-pointer"))) static void TypedIsStandardFWObject(void) {
  QvDecorated___IsStandardFWObject_4 pFn = FIND_DECORATED(QvDecorated___IsStandardFWObject_4,
                                                          "___IsStandardFWObject@4");
  STACK_BEFORE();
  const QvBoolean b = pFn(0);
  STACK_AFTER();
  CheckStack("___IsStandardFWObject@4", b == 0, b ? "TRUE" : "FALSE");
}

__attribute__((noinline, optimize("no-omit-frame-pointer"))) static void TypedSetContainerType(QvObject* pContainer) {
  QvDecorated___SetContainerType_16___20 pSet = FIND_DECORATED(QvDecorated___SetContainerType_16___20,
                                                               "___SetContainerType_16__@20");
  QvDecorated___GetContainerType_16___4 pGet = FIND_DECORATED(QvDecorated___GetContainerType_16___4,
                                                              "___GetContainerType_16__@4");
  STACK_BEFORE();
  pSet(pContainer, Num(3));
  STACK_AFTER();
  CheckStack("___SetContainerType_16__@20", 1, NULL);
  STACK_BEFORE();
  const QvNumber n = pGet(pContainer);
  STACK_AFTER();
  char sResult[64];
  snprintf(sResult, sizeof sResult, "%g/%d", n.value, n.isNull);
  CheckStack("___GetContainerType_16__@4", n.value == 3 && n.isNull == 0, sResult);
}

int main(int argc, char** argv) {
  char sDetail[512];
  if (argc < 2) {
    fprintf(stderr, "usage: loader_test EXPORTS.TSV | --expect-load-failure\n");
    return 100;
  }
  hLib = LoadLibraryA("quorvane.dll");
  if (strcmp(argv[1], "--expect-load-failure") == 0) {
    Check(hLib == NULL, "LoadLibraryA(\"quorvane.dll\") fails without uitk60.dll", NULL);
    return nFailures;
  }
  snprintf(sDetail, sizeof sDetail, "error %lu", (unsigned long)GetLastError());
  Check(hLib != NULL, "LoadLibraryA(\"quorvane.dll\")", hLib ? NULL : sDetail);
  if (hLib == NULL) return 1;

  /* Every name of the listing. */
  FILE* f = fopen(argv[1], "r");
  if (f == NULL) {
    Check(0, "read the export listing", argv[1]);
    return nFailures;
  }
  char sLine[1024];
  int nNames = 0, nFound = 0;
  char sMissing[256] = "";
  while (fgets(sLine, sizeof sLine, f) != NULL) {
    if (strncmp(sLine, "kind\t", 5) == 0) continue;
    char* sName = strrchr(sLine, '\t');
    if (sName == NULL) continue;
    ++sName;
    sName[strcspn(sName, "\r\n")] = '\0';
    ++nNames;
    if (Find(sName) != NULL) {
      ++nFound;
    } else if (sMissing[0] == '\0') {
      snprintf(sMissing, sizeof sMissing, "first missing: %s", sName);
    }
  }
  fclose(f);
  snprintf(sDetail, sizeof sDetail, "%d of %d found%s%s", nFound, nNames, sMissing[0] ? "; " : "", sMissing);
  Check(nNames > 0 && nFound == nNames, "GetProcAddress finds every exported name", sDetail);

  /* StrMidX(String, Number, Number) -> String: 4 + 16 + 16 bytes. */
  Args mid = {0};
  Push(&mid, (uint32_t)(uintptr_t)NewString("Quorvane library"));
  PushNumber(&mid, 2);
  PushNumber(&mid, 5);
  Twins("_StrMidX@36", "__quorvane__GF25690943", mid.a, (size_t)mid.n * 4, 0, 1);

  /* StrScanAt(String, String, Number) -> Number: 4 + 4 + 16 bytes. */
  Args scan = {0};
  Push(&scan, (uint32_t)(uintptr_t)NewString("abc.def.ghi"));
  Push(&scan, (uint32_t)(uintptr_t)NewString("."));
  PushNumber(&scan, 4);
  Twins("_StrScanAt@24", "__quorvane__GF25690957", scan.a, (size_t)scan.n * 4, 1, 0);

  /* GetStyle of a list box (instance) -> Number, through the toolkit
   * function bound by ordinal in uitk60.dll. */
  QvObject* pList = FIND(QvObject * (*)(const char*), "QvObjectNew")("cRadioListBox");
  Check(pList != NULL, "QvObjectNew(\"cRadioListBox\")", NULL);
  Args list = {0};
  Push(&list, (uint32_t)(uintptr_t)pList);
  Twins("_GetStyle_34__@4", "__quorvane__XE75628590", list.a, (size_t)list.n * 4, 1, 0);

  /* IsStandardFWObject(Window Handle) -> Boolean. */
  const uint32_t hWnd = 0;
  Twins("___IsStandardFWObject@4", "__quorvane__GF25690339", &hWnd, sizeof hWnd, 0, 0);

  /* QvFindExport gives, for every decorated name, the entry point the
   * system's loader gives. */
  gpFindExport = FIND(FindExportFn, "QvFindExport");
  const size_t nExports = FIND(size_t(*)(void), "QvExportCount")();
  const QvExportInfo* (*pExportAt)(size_t) = FIND(const QvExportInfo* (*)(size_t), "QvExportAt");
  int nDecorated = 0, nSame = 0;
  char sFirstOther[256] = "";
  for (size_t i = 0; i < nExports; ++i) {
    const QvExportInfo* p = pExportAt(i);
    if (strcmp(p->sKind, "DECORATED") != 0) continue;
    ++nDecorated;
    if (gpFindExport(p->sExport) == (void (*)(void))Find(p->sExport)) {
      ++nSame;
    } else if (sFirstOther[0] == '\0') {
      snprintf(sFirstOther, sizeof sFirstOther, "; first other: %s", p->sExport);
    }
  }
  snprintf(sDetail, sizeof sDetail, "%d of %d the same%s", nSame, nDecorated, sFirstOther);
  Check(nDecorated == 44 && nSame == nDecorated, "QvFindExport finds each decorated name's __stdcall entry", sDetail);
  TypedStrMidX();
  TypedStrScanAt();
  TypedIsStandardFWObject();
  QvObject* pContainer = FIND(QvObject * (*)(const char*), "QvObjectNew")("VC_ContainerBase");
  Check(pContainer != NULL, "QvObjectNew(\"VC_ContainerBase\")", NULL);
  if (pContainer != NULL) TypedSetContainerType(pContainer);

  FreeLibrary(hLib);
  printf("loader test: %d failure(s)\n", nFailures);
  return nFailures;
}
