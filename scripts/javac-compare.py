#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Measures Quorvane's reading of Java files against the Java compiler's own
parser (tests/javac/Outline.java: JavacTask.parse(), syntax only).

  javac-compare.py agree [--min PERCENT] PATH...
      The record `quorvane parse --json` cuts from each file against the
      compiler's tree: package, imports, main type name, kind and
      superclass.  Prints how many files agree, and each kind of
      disagreement with example files.  Status 1 when fewer than PERCENT
      of the files agree.

  javac-compare.py roundtrip [--max-lost N] [--max-unparsable N] PATH...
      Copies the files into a temporary tree, runs `scan --save` and
      `write --all --to OUT` on it, and checks each written file against
      its source: where javac parses the source, it must parse the written
      file too; and every non-blank line of the source must be found in the
      written text, both without white space, so that a declaration joined
      onto one line still holds each of its lines; a line that holds code
      and comments counts as found when its code and each comment are (the
      writer puts such a comment on a line of its own).  Status 1 when
      more than N written files no longer parse, or more than N sources
      lose a line.

PATH is a Java file or a directory searched for *.java; --every N keeps
every Nth file of the sorted list (the 1st, the N+1st, ...), a sample
that stays the same while the tree does.  Status 2 when a tool fails.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from collections import defaultdict

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTLINE = os.path.join(REPO, "tests", "javac", "Outline.java")
# Java's white space (JLS 3.6) and line terminators (JLS 3.4).
BLANKS = re.compile(rb"[ \t\f\r\n]+")
LINE_END = re.compile(rb"\r\n|\r|\n")
# What a type with no extends clause has as its superclass in a record.
IMPLICIT_SUPER = {"class": "Object", "interface": "Object", "enum": "Enum", "record": "Record", "annotation": "Object"}


def fail(message):
    print(f"javac-compare: {message}", file=sys.stderr)
    sys.exit(2)


def java_files(paths, every):
    """The Java files named or found below PATHS (each directory's sorted),
    every EVERYth kept, as (index of the PATH, path below it, path)."""
    files = []
    for i, path in enumerate(paths):
        if os.path.isdir(path):
            found = [os.path.join(d, f) for d, _, names in os.walk(path) for f in names if f.endswith(".java")]
            files += [(i, os.path.relpath(f, path), f) for f in sorted(found)]
        elif os.path.isfile(path):
            files.append((i, os.path.basename(path), path))
        else:
            fail(f"{path}: no such file or directory")
    if not files:
        fail(f"no Java file in {' '.join(paths)}")
    return files[::every]


def start_outline(java, files, work):
    """Starts the compiler's outline of FILES; the function it gives waits
    for it and gives each file's outline, by path."""
    listing = os.path.join(work, "outline.list")
    with open(listing, "w", encoding="utf-8") as f:
        f.writelines(p + "\n" for p in files)
    # Into a file rather than a pipe: the JVM runs while Quorvane does.
    out = open(os.path.join(work, "outline.jsonl"), "w+", encoding="ascii")
    process = subprocess.Popen([java, OUTLINE, "--list", listing], stdout=out)

    def finish():
        if process.wait() != 0:
            fail(f"{java} {OUTLINE} failed with status {process.returncode}")
        with out:
            out.seek(0)
            lines = [json.loads(line) for line in out]
        if [d["file"] for d in lines] != files:
            fail("the outline does not name the files it was given")
        return {d["file"]: d for d in lines}

    return finish


def quorvane_parse(quorvane, files):
    """`quorvane parse --json` of FILES, by path."""
    records = {}
    for start in range(0, len(files), 500):
        batch = files[start : start + 500]
        run = subprocess.run([quorvane, "parse", "--json", *batch], capture_output=True)
        lines = run.stdout.decode("utf-8").splitlines()
        if len(lines) != len(batch):
            fail(f"quorvane parse gave {len(lines)} records for {len(batch)} files: {run.stderr.decode()[-2000:]}")
        for path, line in zip(batch, lines):
            records[path] = json.loads(line)
    return records


def bare(text):
    return re.sub(r"\s+", "", text)


def simple_name(name):
    """The last dotted component of a type name, without type arguments."""
    return bare(name).split("<")[0].rsplit(".", 1)[-1]


def main_type(path, types):
    """The type named like the file, else the first; None without one."""
    stem = os.path.basename(path)[: -len(".java")]
    return next((t for t in types if t["name"] == stem), types[0] if types else None)


def compiler_super(t):
    if t["extends"]:
        return simple_name(t["extends"][0])
    if t["kind"] == "class" and t["name"] == "Object":
        return "nill"
    return IMPLICIT_SUPER[t["kind"]]


def differences(path, tree, record):
    """The ways the record of PATH differs from the compiler's tree, each
    as (kind of difference, compiler's value, record's value)."""
    t = main_type(path, tree["types"])
    has_class = record["className"] != ""
    if t is None:
        return [("class but compiler has none", "", record["className"])] if has_class else []
    if not has_class:
        return [("no class but compiler has a type", t["name"], "")]
    checks = [
        ("package", bare(tree["package"]), bare(record["package"])),
        ("imports", [bare(i) for i in tree["imports"]], [bare(i) for i in record["imports"]]),
        ("name", t["name"], record["className"]),
        ("kind", t["kind"], record["kind"]),
        ("superclass", compiler_super(t), simple_name(record["superClass"])),
    ]
    return [c for c in checks if c[1] != c[2]]


def percent(part, whole):
    """PART of WHOLE as a percentage cut (not rounded) to two decimals, so
    that 99.90 is shown only for at least 99.9%."""
    return f"{int(part * 10000 / whole) / 100:.2f}%" if whole else "-"


def agree(args):
    files = [f for _, _, f in java_files(args.paths, args.every)]
    with tempfile.TemporaryDirectory(prefix="javac-compare-") as work:
        finish = start_outline(args.java, files, work)
        records = quorvane_parse(args.quorvane, files)
        trees = finish()
    unparsable = [p for p in files if not trees[p]["parsed"]]
    counted = [p for p in files if trees[p]["parsed"]]
    by_kind = defaultdict(list)
    agreeing = 0
    for path in counted:
        found = differences(path, trees[path], records[path])
        agreeing += not found
        for what, theirs, ours in found:
            by_kind[what].append((path, theirs, ours))
    print(f"files: {len(files)}, javac cannot parse {len(unparsable)} of them (not counted)")
    for path in unparsable[: args.examples]:
        print(f"    {path}: {trees[path]['error']}")
    print(f"agree with javac: {agreeing} of {len(counted)} files ({percent(agreeing, len(counted))})")
    order = ["package", "imports", "name", "kind", "superclass", "no class but compiler has a type",
             "class but compiler has none"]
    for what in order:
        cases = by_kind.get(what, [])
        print(f"  {what}: {len(cases)}")
        for path, theirs, ours in cases[: args.examples]:
            print(f"    {path}: javac {json.dumps(theirs)}, quorvane {json.dumps(ours)}")
    return 1 if agreeing * 100 < args.min * len(counted) else 0


def code_and_comments(line):
    """LINE cut into its code and its comments, in order (a "/*" comment
    left open runs to the end of the line), outside string and character
    literals."""
    parts, quote, start, i = [], None, 0, 0
    while i < len(line):
        c = line[i:i + 1]
        if quote:
            if c == b"\\":
                i += 1
            elif c == quote:
                quote = None
        elif c in (b'"', b"'"):
            quote = c
        elif line[i:i + 2] in (b"//", b"/*"):
            close = len(line) if line[i:i + 2] == b"//" else line.find(b"*/", i + 2)
            end = len(line) if close < 0 else min(close + 2, len(line))
            parts += [line[start:i], line[i:end]]
            start = i = end
            continue
        i += 1
    return parts + [line[start:]]


ESCAPE = re.compile(rb"(\\+)(u+)([0-9a-fA-F]{4})")


def translated(text):
    """TEXT with its unicode escapes translated, as Java reads it: a
    backslash starts one only when an even number of backslashes stands
    before it."""
    def one(m):
        slashes = m.group(1)
        if len(slashes) % 2 == 0:
            return m.group(0)
        return slashes[:-1] + chr(int(m.group(3), 16)).encode("utf-8", "surrogatepass")
    return ESCAPE.sub(one, text)


def lost_lines(source, written):
    """The non-blank lines of SOURCE whose text is not in WRITTEN, both
    without white space: the writer joins a declaration onto one line and
    sets its "{" apart.  A comment beside code on a line (an import's, one
    within a declaration) may stand on a line of its own in WRITTEN: such a
    line is kept when its code and each of its comments are."""
    text = BLANKS.sub(b"", translated(written))
    lost, at = [], 0

    def find(part):
        nonlocal at
        found = text.find(part, at)
        if found < 0:
            found = text.find(part)
        if found >= 0:
            at = found + len(part)
        return found >= 0

    for line in LINE_END.split(translated(source)):
        # Written text keeps the source's order, so a search starts where
        # the last one ended and goes back to the start only for a part
        # that is not there.
        whole = BLANKS.sub(b"", line)
        if not whole or find(whole):
            continue
        parts = [bare for bare in (BLANKS.sub(b"", part) for part in code_and_comments(line)) if bare]
        if len(parts) < 2 or not all(find(part) for part in parts):
            lost.append(BLANKS.sub(b" ", line).strip(b" "))
    return lost


def run_quorvane(args, what, allowed=(0,)):
    """The output of the command; a status outside ALLOWED fails the run."""
    run = subprocess.run([args.quorvane, *what], capture_output=True)
    if run.returncode not in allowed:
        fail(f"quorvane {what[0]} ended with status {run.returncode}: {run.stderr.decode(errors='replace')[-2000:]}")
    return run.stdout.decode("utf-8")


def roundtrip(args):
    found = java_files(args.paths, args.every)
    files = [f for _, _, f in found]
    work = tempfile.mkdtemp(prefix="javac-roundtrip-")
    tree, repo, out = (os.path.join(work, d) for d in ("tree", "repo", "out"))
    try:
        # Each file's copy keeps its path below the PATH it was found in,
        # below a directory of that PATH's own.
        source_of = {}
        for i, below, path in found:
            copy = os.path.join(tree, str(i), below)
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            shutil.copyfile(path, copy)
            source_of[os.path.realpath(copy)] = path
        run_quorvane(args, ["scan", tree, "--save", "--repo", repo, "-q"])
        # Status 1: some classes were not written, which the checks count.
        run_quorvane(args, ["write", "--all", "--to", out, "--repo", repo, "-q"], (0, 1))
        # write --all puts a class below OUT in its package's directories,
        # under its source's file name; of classes with the same target, the
        # first in the list is written and the others are not.
        written, taken = {}, set()
        for line in run_quorvane(args, ["classes", "--json", "--repo", repo]).splitlines():
            c = json.loads(line)
            source = source_of.get(os.path.realpath(c["file"]))
            if source is None:
                fail(f"quorvane classes names a source it was not given: {c['file']}")
            target = os.path.join(out, *c["package"].split("."), os.path.basename(c["file"]))
            written[source] = target if target not in taken and os.path.isfile(target) else None
            taken.add(target)
        sources = [f for f in files if f in written]
        targets = [written[f] for f in sources if written[f]]
        trees = start_outline(args.java, files + targets, work)()
        unparsable, losing = report_roundtrip(args, files, sources, written, trees)
    finally:
        if args.keep:
            print(f"work tree kept: {work}")
        else:
            shutil.rmtree(work)
    return 1 if unparsable > args.max_unparsable or losing > args.max_lost else 0


def report_roundtrip(args, files, sources, written, trees):
    """Prints the round trip's figures; gives the count of written files
    that no longer parse and of sources that lost a line."""
    unparsable, losses, lines_lost = [], [], 0
    for source in sources:
        with open(source, "rb") as f:
            text = f.read()
        target = written[source]
        if target is None:
            lost = lost_lines(text, b"")
        else:
            with open(target, "rb") as f:
                lost = lost_lines(text, f.read())
            if trees[source]["parsed"] and not trees[target]["parsed"]:
                unparsable.append((source, trees[target]["error"]))
        lines_lost += len(lost)
        if lost:
            losses.append((len(lost), source, lost[0]))
    not_written = [s for s in sources if written[s] is None]
    unseen = [f for f in files if f not in written and trees[f]["types"]]
    print(f"files: {len(files)}, {len(sources)} hold a class, {len(sources) - len(not_written)} written")
    if not_written:
        print(f"  not written (every line counted lost): {len(not_written)}, such as {not_written[0]}")
    if unseen:
        print(f"  no class, where javac sees a type (not checked here): {len(unseen)}, such as {unseen[0]}")
    print(f"written files javac cannot parse, their source it can: {len(unparsable)}")
    for source, error in unparsable[: args.examples]:
        print(f"    {source}: {error}")
    print(f"sources that lost lines: {len(losses)} of {len(sources)} ({percent(len(losses), len(sources))}), "
          f"{lines_lost} lines lost")
    for n, source, first in sorted(losses, key=lambda x: (-x[0], x[1]))[: args.examples]:
        print(f"    {source}: {n} lines lost, the first: {first.decode('latin-1')[:100]!r}")
    return len(unparsable), len(losses)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--quorvane", default=os.path.join(REPO, "build", "release", "quorvane"))
    parser.add_argument("--java", default=os.environ.get("JAVA", "java"), help="a JDK's java (17 or later)")
    parser.add_argument("--every", type=int, default=1, metavar="N", help="keep every Nth file found")
    parser.add_argument("--examples", type=int, default=5, metavar="N", help="example files per kind of failure")
    commands = parser.add_subparsers(dest="command", required=True)
    agree_parser = commands.add_parser("agree", help="compare records with the compiler's tree")
    agree_parser.add_argument("--min", type=float, default=0, metavar="PERCENT")
    trip_parser = commands.add_parser("roundtrip", help="scan --save, write --all and compare")
    trip_parser.add_argument("--max-lost", type=int, default=0, metavar="N")
    trip_parser.add_argument("--max-unparsable", type=int, default=0, metavar="N")
    trip_parser.add_argument("--keep", action="store_true", help="keep the temporary tree and print where")
    for sub in (agree_parser, trip_parser):
        sub.add_argument("paths", nargs="+", metavar="PATH")
    args = parser.parse_args()
    if args.every < 1:
        parser.error("--every takes a number of 1 or more")
    if not os.access(args.quorvane, os.X_OK):
        fail(f"no quorvane at {args.quorvane} (--quorvane PATH)")
    sys.exit(agree(args) if args.command == "agree" else roundtrip(args))


if __name__ == "__main__":
    main()
