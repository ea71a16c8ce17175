#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Holds the hand-kept lists of test names to the tests the build defines.

A list that names a test which was renamed or removed fails silently: the
slow list would then leave the renamed test among the fast ones, and a test
preset's name filter (the tests ThreadSanitizer leaves out) would run what
it meant to leave out.  This check fails instead, naming each entry that
matches no test.

  listed_test_names.py BUILD_DIR PRESETS_JSON [--absent PREFIX]... [NAME...]

Each NAME must be the name of a test of BUILD_DIR (as ctest lists it), and
each alternative of each test preset's name filter in PRESETS_JSON
(CMakePresets.json) must match at least one.  --absent PREFIX: the build
defines no test whose name starts with PREFIX (a part left out by an option),
so the alternatives that start with it are not checked.
"""
import json
import re
import subprocess
import sys


def Alternatives(sRegex):
    """The top-level alternatives of ^(A|B|...)$, or the whole if it is no such group."""
    m = re.fullmatch(r"\^\((.*)\)\$", sRegex)
    if not m:
        return [sRegex]
    aParts, nDepth, sPart, bEscaped = [], 0, "", False
    for c in m.group(1):
        if bEscaped:
            sPart, bEscaped = sPart + c, False
            continue
        if c == "\\":
            bEscaped = True
        elif c == "(":
            nDepth += 1
        elif c == ")":
            nDepth -= 1
        elif c == "|" and nDepth == 0:
            aParts.append(sPart)
            sPart = ""
            continue
        sPart += c
    aParts.append(sPart)
    # A group that does not span the whole: the pattern was not ^(A|B)$.
    if nDepth != 0:
        return [sRegex]
    return ["^(" + p + ")$" for p in aParts]


def main(aArgs):
    sBuild, sPresets, aRest = aArgs[0], aArgs[1], aArgs[2:]
    aAbsent, aNames = [], []
    while aRest:
        if aRest[0] == "--absent":
            aAbsent.append(aRest[1])
            aRest = aRest[2:]
        else:
            aNames.append(aRest.pop(0))
    sShown = subprocess.run(["ctest", "--test-dir", sBuild, "--show-only=json-v1"], check=True,
                            capture_output=True, text=True).stdout
    aTests = [t["name"] for t in json.loads(sShown)["tests"]]
    setTests = set(aTests)
    aFailures = [f"{n}: no such test" for n in aNames if n not in setTests]
    with open(sPresets, encoding="utf-8") as f:
        aPresets = json.load(f).get("testPresets", [])
    for p in aPresets:
        for sWhich in ("include", "exclude"):
            sRegex = p.get("filter", {}).get(sWhich, {}).get("name")
            if not sRegex:
                continue
            for sAlt in Alternatives(sRegex):
                sBody = sAlt[2:] if sAlt.startswith("^(") else sAlt.lstrip("^")
                if any(sBody.startswith(re.escape(a)) or sBody.startswith(a) for a in aAbsent):
                    continue
                if not any(re.search(sAlt, t) for t in aTests):
                    aFailures.append(f"test preset {p['name']}, {sWhich} name {sAlt}: matches no test")
    for s in aFailures:
        print(s)
    if aFailures:
        print(f"{len(aFailures)} listed names match no test of {len(aTests)}")
        return 1
    print(f"every listed name matches a test of the {len(aTests)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
