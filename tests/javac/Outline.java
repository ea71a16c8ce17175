// SPDX-License-Identifier: Apache-2.0
// The outline of Java files as the Java compiler's own parser reads them
// (JavacTask.parse(): syntax only, no symbol resolution), one JSON line per
// file, in the order given:
//
//   {"file": PATH, "parsed": true|false, "error": FIRST SYNTAX ERROR or "",
//    "package": "a.b" or "", "imports": ["a.b.C", "a.b.*", "static a.B.c"],
//    "types": [{"name": N, "kind": "class|interface|enum|record|annotation",
//               "extends": ["a.B", ...]}]}
//
// "types" holds the top-level types in source order; "extends" the names
// written after extends, without type arguments (a class has at most one,
// an interface all of its own).  Only the JDK is needed:
//
//   java tests/javac/Outline.java [--list FILE] [PATH...]
//
// --list names a file of paths, one a line.  Files are parsed in batches by
// one compiler task each, so that a whole tree takes one JVM.
import com.sun.source.tree.AnnotatedTypeTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.ImportTree;
import com.sun.source.tree.ParameterizedTypeTree;
import com.sun.source.tree.Tree;
import com.sun.source.util.JavacTask;
import java.io.BufferedWriter;
import java.io.IOException;
import java.io.OutputStreamWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import javax.tools.Diagnostic;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

public class Outline {
  static final int BATCH = 500;

  public static void main(String[] args) throws IOException {
    List<String> paths = new ArrayList<>();
    for (int i = 0; i < args.length; ++i) {
      if (args[i].equals("--list") && i + 1 < args.length) {
        for (String line : Files.readAllLines(Path.of(args[++i]), StandardCharsets.UTF_8)) {
          if (!line.isEmpty()) paths.add(line);
        }
      } else {
        paths.add(args[i]);
      }
    }
    JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
    if (compiler == null) {
      System.err.println("Outline: no Java compiler in this runtime (a JDK is needed, not a JRE)");
      System.exit(2);
    }
    BufferedWriter out = new BufferedWriter(new OutputStreamWriter(System.out, StandardCharsets.US_ASCII));
    try (StandardJavaFileManager files = compiler.getStandardFileManager(null, null, StandardCharsets.UTF_8)) {
      for (int from = 0; from < paths.size(); from += BATCH) {
        for (String line : parseBatch(compiler, files, paths.subList(from, Math.min(from + BATCH, paths.size())))) {
          out.write(line);
          out.write('\n');
        }
      }
    }
    out.flush();
  }

  // The JSON lines of one batch, in the order of the paths.
  static List<String> parseBatch(JavaCompiler compiler, StandardJavaFileManager files, List<String> paths)
      throws IOException {
    List<JavaFileObject> units = new ArrayList<>();
    for (String path : paths) {
      for (JavaFileObject unit : files.getJavaFileObjects(path)) units.add(unit);
    }
    // The first syntax error of each file.  (-Xmaxerrs: by default the
    // compiler stops reporting after 100 errors of the task, and later
    // files would pass for sound.)
    Map<JavaFileObject, String> errors = new HashMap<>();
    JavacTask task = (JavacTask) compiler.getTask(null, files, diagnostic -> {
      if (diagnostic.getKind() == Diagnostic.Kind.ERROR && diagnostic.getSource() != null) {
        errors.putIfAbsent(diagnostic.getSource(),
            (diagnostic.getLineNumber() > 0 ? "line " + diagnostic.getLineNumber() + ": " : "")
                + diagnostic.getMessage(null));
      }
    }, List.of("--release", "17", "-proc:none", "-encoding", "UTF-8", "-Xmaxerrs", "1000000"), null, units);
    Map<JavaFileObject, CompilationUnitTree> trees = new HashMap<>();
    for (CompilationUnitTree tree : task.parse()) trees.put(tree.getSourceFile(), tree);
    List<String> lines = new ArrayList<>();
    for (int i = 0; i < paths.size(); ++i) {
      JavaFileObject unit = units.get(i);
      lines.add(outline(paths.get(i), trees.get(unit), errors.get(unit)));
    }
    return lines;
  }

  static String outline(String path, CompilationUnitTree tree, String error) {
    StringBuilder s = new StringBuilder("{\"file\": ").append(json(path));
    if (tree == null && error == null) error = "not parsed";
    s.append(", \"parsed\": ").append(error == null);
    s.append(", \"error\": ").append(json(error == null ? "" : error));
    String pkg = tree == null || tree.getPackageName() == null ? "" : tree.getPackageName().toString();
    s.append(", \"package\": ").append(json(pkg)).append(", \"imports\": [");
    String comma = "";
    for (ImportTree i : tree == null ? List.<ImportTree>of() : tree.getImports()) {
      String name = i.getQualifiedIdentifier().toString();
      s.append(comma).append(json(i.isStatic() ? "static " + name : name));
      comma = ", ";
    }
    s.append("], \"types\": [");
    comma = "";
    for (Tree t : tree == null ? List.<Tree>of() : tree.getTypeDecls()) {
      if (!(t instanceof ClassTree)) continue;  // a stray ";" between types
      ClassTree c = (ClassTree) t;
      s.append(comma).append("{\"name\": ").append(json(c.getSimpleName().toString()));
      s.append(", \"kind\": ").append(json(kind(c.getKind())));
      // An interface's extends clause is what the tree calls its implements clause.
      List<Tree> supers = new ArrayList<>();
      if (c.getKind() == Tree.Kind.INTERFACE) {
        supers.addAll(c.getImplementsClause());
      } else if (c.getExtendsClause() != null) {
        supers.add(c.getExtendsClause());
      }
      s.append(", \"extends\": [");
      String between = "";
      for (Tree name : supers) {
        s.append(between).append(json(bareName(name)));
        between = ", ";
      }
      s.append("]}");
      comma = ", ";
    }
    return s.append("]}").toString();
  }

  static String kind(Tree.Kind kind) {
    switch (kind) {
      case ANNOTATION_TYPE:
        return "annotation";
      default:
        return kind.toString().toLowerCase();
    }
  }

  // A type name as written, without its type arguments and annotations.
  static String bareName(Tree type) {
    while (true) {
      if (type instanceof ParameterizedTypeTree) {
        type = ((ParameterizedTypeTree) type).getType();
      } else if (type instanceof AnnotatedTypeTree) {
        type = ((AnnotatedTypeTree) type).getUnderlyingType();
      } else {
        return type.toString();
      }
    }
  }

  // A JSON string in ASCII: every other character as \\uXXXX.
  static String json(String text) {
    StringBuilder s = new StringBuilder("\"");
    for (int i = 0; i < text.length(); ++i) {
      char c = text.charAt(i);
      if (c == '"' || c == '\\') {
        s.append('\\').append(c);
      } else if (c < 0x20 || c > 0x7e) {
        s.append(String.format("\\u%04x", (int) c));
      } else {
        s.append(c);
      }
    }
    return s.append('"').toString();
  }
}
