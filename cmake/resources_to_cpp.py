"""Turns files into a C++ source that registers them as resources."""
import sys


def main(name, rtype, source, entries):
    with open(source, "w", encoding="utf-8") as c:
        c.write('#include "platform/Resource.h"\n#include <cstdint>\nnamespace {\n')
        rows = []
        for index, entry in enumerate(entries):
            resname, sep, path = entry.partition("=")
            if not sep or not resname:
                sys.exit(f"resources {name}: expected name=file, got '{entry}'")
            with open(path, "rb") as f:
                data = f.read()
            c.write(f"const std::uint8_t kData{index}[] = {{")
            c.write(",".join(str(b) for b in data) if data else "0")
            c.write("};\n")
            rows.append((resname, index, len(data)))
        c.write(f"struct Register{name} {{\n    Register{name}() {{\n")
        for resname, index, size in rows:
            c.write(f'        platform::RegisterResource("{rtype}", "{resname}", '
                    f"platform::ResourceBytes(kData{index}, {size}));\n")
        c.write(f"    }}\n}} const kRegister{name};\n}}\n")


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit("usage: resources_to_cpp.py NAME TYPE OUT.cpp name=file...")
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
