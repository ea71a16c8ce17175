#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""quorvane tree --format dot, rendered by Graphviz's dot as SVG: every node
of the subclass tree (tree --json) is in the picture with its name, package
and kind as its label and the shape of its kind, every superclass-subclass
edge is drawn, the classes outside the repository lie inside the box of
their own, and an edge that closes a cycle is red.  On the examples with a
class of each kind and a cycle added, then on the subtree of AbstractList
in the JDK's java.util.

  tree_dot_test.py QUORVANE EXAMPLES SRC_ZIP
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

SVG = "{http://www.w3.org/2000/svg}"
QUORVANE, EXAMPLES, SRC_ZIP = sys.argv[1:4]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def run(*args, cwd):
    out = subprocess.run([QUORVANE, *args, "--profile-dir", "profile"], cwd=cwd, capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"FAIL: quorvane {' '.join(args)}: status {out.returncode}: {out.stderr}")
    return out.stdout


def box(points):
    xy = [tuple(map(float, p.split(","))) for p in points.split()]
    return min(x for x, _ in xy), min(y for _, y in xy), max(x for x, _ in xy), max(y for _, y in xy)


def picture(work, top):
    """The SVG's nodes (id: texts, shape, box), edges (from, to): red, and
    the box of the cluster of outside classes; and tree --json's nodes."""
    dot_text = run("tree", "--format", "dot", "--repo", "repo", *([top] if top else []), cwd=work)
    svg = subprocess.run(["dot", "-Tsvg"], input=dot_text, capture_output=True, text=True, check=True).stdout
    nodes, edges, cluster = {}, {}, None
    for g in ET.fromstring(svg).iter(SVG + "g"):
        title = g.find(SVG + "title").text
        shapes = [e for e in g if e.tag != SVG + "title" and e.tag != SVG + "text"]
        if g.get("class") == "node":
            shape = shapes[0]
            outline = shape.get("points") or ""
            if shape.tag == SVG + "ellipse":
                cx, cy, rx, ry = (float(shape.get(k)) for k in ("cx", "cy", "rx", "ry"))
                area = (cx - rx, cy - ry, cx + rx, cy + ry)
            else:
                area = box(outline) if outline else None
            kind = {SVG + "ellipse": "ellipse", SVG + "path": "rounded"}.get(shape.tag, "polygon")
            if kind == "polygon":
                kind = {5: "box", 7: "hexagon"}.get(len(outline.split()), "other")
                if any(e.tag == SVG + "polyline" for e in shapes):
                    kind = "note"
            nodes[title] = ([t.text for t in g.iter(SVG + "text")], kind, area)
        elif g.get("class") == "edge":
            source, target = title.split("->")
            edges[(source, target)] = shapes[0].get("stroke") == "red"
        elif g.get("class") == "cluster":
            cluster = box(shapes[0].get("points"))
    tree = [json.loads(line) for line in run("tree", "--json", "--repo", "repo", *([top] if top else []),
                                                cwd=work).splitlines()]
    return nodes, edges, cluster, tree


def check_tree(work, top, kinds):
    """The picture of the tree below top (all of it when None) against the
    tree's own nodes; kinds: (package, name) -> kind from scan --json."""
    nodes, edges, cluster, tree = picture(work, top)
    shapes = {"class": "box", "interface": "ellipse", "enum": "hexagon", "record": "rounded", "annotation": "note"}
    wanted_nodes, wanted_edges, path = set(), set(), []
    for n in tree:
        package = n["package"]
        if n["depth"] == 0 and top:
            package = top.rpartition(".")[0]
        node_id = f"{package}.{n['className']}".lstrip(".") if n["inRepository"] else "outside " + n["className"]
        del path[n["depth"]:]
        if path:
            wanted_edges.add((path[-1], node_id))
            check(edges.get((path[-1], node_id)) == n["cycle"], f"{path[-1]} -> {node_id}: cycle {n['cycle']}")
        path.append(node_id)
        wanted_nodes.add(node_id)
        texts, shape, area = nodes.get(node_id, ([], None, None))
        if not n["inRepository"]:
            check(texts == [n["className"]], f"{node_id}: label {texts}")
            check(cluster and area and cluster[0] <= area[0] and area[2] <= cluster[2] and cluster[1] <= area[1]
                  and area[3] <= cluster[3], f"{node_id} is not in the box of the outside classes")
            continue
        kind = kinds[(package, n["className"])]
        check(texts == [n["className"], package, kind] if package else texts == [n["className"], kind],
              f"{node_id}: label {texts}, not {n['className']}, {package}, {kind}")
        check(shape == shapes[kind], f"{node_id}: a {shape}, not a {shapes[kind]} for a {kind}")
        if cluster and area:
            check(area[2] <= cluster[0] or area[0] >= cluster[2] or area[3] <= cluster[1] or area[1] >= cluster[3],
                  f"{node_id} is inside the box of the outside classes")
    check(set(nodes) == wanted_nodes, f"nodes: {sorted(set(nodes) ^ wanted_nodes)} differ from the tree")
    check(set(edges) == wanted_edges, f"edges: {sorted(set(edges) ^ wanted_edges)} differ from the tree")
    print(f"{top or 'the whole tree'}: {len(nodes)} nodes and {len(edges)} edges in the picture")
    return edges


def scan(work, root):
    run("scan", "--save", "-q", "--repo", "repo", root, cwd=work)
    return {(r["package"], r["className"]): r["kind"]
            for r in map(json.loads, run("scan", "--json", "-q", root, cwd=work).splitlines()) if r["className"]}


with tempfile.TemporaryDirectory() as tmp:
    # The examples, with a class of every kind and two classes whose
    # superclasses form a cycle.
    work = os.path.join(tmp, "examples")
    os.mkdir(work)
    shutil.copytree(EXAMPLES, os.path.join(work, "src"))
    more = {"Colour.java": "package p;\nenum Colour { RED }\n", "Point.java": "package p;\nrecord Point(int x) {}\n",
            "Marker.java": "package p;\n@interface Marker {}\n", "Loop1.java": "class Loop1 extends Loop2 {}\n",
            "Loop2.java": "class Loop2 extends Loop1 {}\n"}
    os.mkdir(os.path.join(work, "src", "p"))
    for name, text in more.items():
        with open(os.path.join(work, "src", "p", name), "w") as f:
            f.write(text)
    edges = check_tree(work, None, scan(work, "src"))
    check(any(edges.values()), "no edge of the cycle is red")
    check(len(edges) >= 10, f"only {len(edges)} edges")

    # java.util of the JDK: the subtree of AbstractList.
    work = os.path.join(tmp, "jdk")
    with zipfile.ZipFile(SRC_ZIP) as z:
        z.extractall(work, [n for n in z.namelist() if re.fullmatch(r"java\.base/java/util/[^/]+\.java", n)])
    edges = check_tree(work, "java.util.AbstractList", scan(work, "java.base"))
    for superclass, subclass in [("AbstractList", "ArrayList"), ("AbstractList", "AbstractSequentialList"),
                                 ("AbstractSequentialList", "LinkedList"), ("AbstractList", "Vector"),
                                 ("Vector", "Stack")]:
        check(("java.util." + superclass, "java.util." + subclass) in edges, f"no edge {superclass} -> {subclass}")

for f in failures:
    print("FAIL:", f, file=sys.stderr)
sys.exit(1 if failures else 0)
