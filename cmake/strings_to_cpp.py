"""Turns a strings.tsv table into a C++ source and header."""
import sys


def main(name, tsv, header, source):
    rows = []
    with open(tsv, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            ident, sep, text = line.partition("\t")
            if not sep or not ident.strip().isdigit():
                sys.exit(f"{tsv}:{number}: expected 'id<TAB>text'")
            rows.append((int(ident), text))
    ids = [i for i, _ in rows]
    if len(ids) != len(set(ids)):
        sys.exit(f"{tsv}: duplicate string id")
    rows.sort()
    with open(header, "w", encoding="utf-8") as h:
        h.write("#pragma once\n#include \"platform/StringTable.h\"\n")
        h.write(f"namespace kvres {{\nconst platform::StringTable& {name}Strings();\n}}\n")
    with open(source, "w", encoding="utf-8") as c:
        c.write(f"#include \"kvres/{name}Strings.h\"\nnamespace kvres {{\nnamespace {{\n")
        c.write("constexpr platform::StringResource kRows[] = {\n")
        for ident, text in rows:
            c.write(f"    {{{ident}u, \"{text}\"}},\n")
        if not rows:
            c.write("    {0u, \"\"},\n")
        c.write("};\n}\n")
        count = len(rows)
        c.write(f"const platform::StringTable& {name}Strings() {{\n")
        c.write(f"    static const platform::StringTable table(kRows, {count});\n")
        c.write("    return table;\n}\n}\n")


if __name__ == "__main__":
    main(*sys.argv[1:5])
