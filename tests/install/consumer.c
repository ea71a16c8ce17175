// SPDX-License-Identifier: Apache-2.0
/* A program built against the installed library: it finds "class" in a
 * text with the text utility StrScanAt, called by its exported name. */
#include <stdio.h>
#include <string.h>

#include <quorvane/quorvane.h>

/* StrScanAt(text, key, start): the position of key at or after start,
 * relative to start, or -1. */
QvNumber __quorvane__GF25690957(const QvString* pText, const QvString* pKey, QvNumber nStart);

int main(void) {
  const char* sText = "/* a */ public class Main {}";
  QvString* pText = QvStringNew(sText, strlen(sText));
  QvString* pKey = QvStringNew("class", 5);
  const QvNumber nStart = {0.0, 0, 0};
  const QvNumber nFound = __quorvane__GF25690957(pText, pKey, nStart);
  /* The same function reached through the library's own name lookup. */
  const int bSame = QvFindExport("__quorvane__GF25690957") == (void (*)(void))__quorvane__GF25690957;
  QvStringFree(pKey);
  QvStringFree(pText);
  printf("class at %.0f%s\n", nFound.value, bSame ? "" : " (lookup differs)");
  return nFound.isNull == 0 && nFound.value == 15.0 && bSame ? 0 : 1;
}
