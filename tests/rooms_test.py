#!/usr/bin/env python3
"""The rooms of src/ as docs/development.md draws them: the arrows its table and its list give
are the luma_* libraries each target links, and an include against the arrows does not build.

    rooms_test.py SOURCE_DIR CXX RECORDS_INCLUDES MARKING_INCLUDES
"""
import pathlib
import re
import subprocess
import sys
import tempfile

IGNORED = {"luma_options", "luma_qt_options", "luma_update_key"}


def arrows_in_cmake(src):
    arrows = {}
    for cmake in src.rglob("CMakeLists.txt"):
        text = re.sub(r"#.*", "", cmake.read_text(encoding="utf-8"))
        for name in re.findall(r"add_(?:library|executable)\(\s*([\w-]+)", text):
            arrows.setdefault(name, set())
        for name, body in re.findall(r"target_link_libraries\(\s*([\w-]+)([^)]*)\)", text):
            arrows.setdefault(name, set()).update(
                word for word in body.split() if re.fullmatch(r"luma[\w-]*", word) and word not in IGNORED)
    return {name: deps for name, deps in arrows.items() if name not in IGNORED and name != "luma-draw-icons"}


def arrows_in_table(doc):
    table = doc.split("<!-- rooms:")[1].split("<!-- end of rooms -->")[0]
    arrows = {}
    for row in table.splitlines():
        cells = [cell.strip() for cell in row.strip().strip("|").split("|")]
        if len(cells) != 4 or not cells[1].startswith("`"):
            continue
        deps = set() if cells[3] == "—" else {dep.strip() for dep in cells[3].split(",")}
        for target in re.findall(r"`([\w-]+)`", cells[1]):
            arrows[target] = deps if target not in ("luma", "luma_icon_art") else None
    return arrows


def arrows_in_list(doc):
    block = doc.split("The same arrows, from the program down to the core:\n\n```\n")[1].split("```")[0]
    return {line.split()[0]: set(line.split("▶")[1].split()) for line in block.splitlines() if "▶" in line}


def check_arrows(src, doc):
    cmake = arrows_in_cmake(src)
    faults = []
    table = arrows_in_table(doc)
    for target, deps in sorted(table.items()):
        if target not in cmake:
            faults.append(f"the table names {target}, which no CMakeLists.txt makes")
        elif deps is not None and deps != cmake[target]:
            faults.append(f"the table gives {target} → {sorted(deps)}, CMake {sorted(cmake[target])}")
    for target in sorted(set(cmake) - set(table)):
        faults.append(f"{target} is missing from the table")
    listed = arrows_in_list(doc)
    for target, deps in sorted(cmake.items()):
        if deps != listed.get(target, set()):
            faults.append(f"the list gives {target} → {sorted(listed.get(target, set()))}, CMake {sorted(deps)}")
    order = list(listed)
    for target, deps in listed.items():
        for dep in deps & set(order):
            if order.index(dep) <= order.index(target):
                faults.append(f"{target} → {dep} points up the list")
    return faults


def compiles(cxx, includes, header, folder):
    source = pathlib.Path(folder) / "probe.cpp"
    source.write_text(f'#include "{header}"\n', encoding="utf-8")
    flags = ["-I" + path for path in includes.split(";") if path]
    run = subprocess.run([cxx, "-std=c++20", "-fsyntax-only", *flags, str(source)],
                         capture_output=True, text=True, check=False)
    return run.returncode == 0, run.stderr


def check_wrong_include(cxx, records_includes, marking_includes):
    faults = []
    with tempfile.TemporaryDirectory() as folder:
        ok, err = compiles(cxx, records_includes, "records/record_store.h", folder)
        if not ok:
            faults.append("a record-library header does not build with the library's own includes:\n" + err)
        ok, err = compiles(cxx, marking_includes, "marking/marking_session.h", folder)
        if not ok:
            faults.append("the marking workflow's header does not build with its own includes:\n" + err)
        ok, err = compiles(cxx, records_includes, "marking/marking_session.h", folder)
        if ok or "marking/marking_session.h" not in err:
            faults.append("the record library can include the marking workflow:\n" + err)
    return faults


def main():
    src = pathlib.Path(sys.argv[1]) / "src"
    doc = (pathlib.Path(sys.argv[1]) / "docs" / "development.md").read_text(encoding="utf-8")
    faults = check_arrows(src, doc) + check_wrong_include(*sys.argv[2:5])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
