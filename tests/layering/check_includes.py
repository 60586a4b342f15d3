#!/usr/bin/env python3
"""Holds every #include "folder/File.h" of the sources to the layers the folders form.

Usage: check_includes.py ROOT

A library folder may include its own headers and those of the folders below it
(app -> playback -> directory -> shell -> regex, audio, platform; audio reaches platform only;
regex and platform nothing of ours), and it must link, in its CMakeLists.txt, every folder it
includes. Tests, benchmarks and fuzz targets of a folder reach what the folder reaches, the
folder itself, their own folder and the shared test support; the whole-program tests reach every
layer. The test interface's header is included by tests, benchmarks and the demo only.
Prints each wrong include and exits 1 when there is one.
"""

import pathlib
import re
import sys

# What each library folder may include besides itself.
BELOW = {
    "regex": set(),
    "platform": set(),
    "audio": {"platform"},
    "shell": {"regex", "audio", "platform"},
    "directory": {"shell"},
    "playback": {"directory"},
    "app": {"playback"},
}

# Test, benchmark and fuzz folders that drive the whole program.
WHOLE_PROGRAM = {"tests/e2e", "tests/session", "tests/install", "tests/demo", "bench/app"}

# What the benchmarks of every folder share (counting a process's threads); it includes nothing
# of the program.
BENCH_COMMON = "bench/common"


def bench_common_for(folder):
    return {BENCH_COMMON} if folder.startswith("bench/") else set()


# The test interface: its header, and the sources of its own target (platform/CMakeLists.txt).
TEST_INTERFACE_HEADER = "platform/HeadlessScreen.h"
TEST_INTERFACE_SOURCES = {"platform/HeadlessScreen.cpp", "platform/HttpTestHooks.cpp"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
LINK = re.compile(r"target_link_libraries\(\s*(\w+)([^)]*)\)", re.DOTALL)
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}


def reach(folder):
    """The library folders `folder` may include, itself among them."""
    reached = {folder}
    for lower in BELOW[folder]:
        reached |= reach(lower)
    return reached


def include_folder(path):
    """The folder an include names: "tests/support" for tests/support/X.h, "app" for app/X.h."""
    parts = path.split("/")
    if len(parts) < 2:
        return None
    if parts[0] in ("tests", "bench", "fuzz") and len(parts) > 2:
        return parts[0] + "/" + parts[1]
    return parts[0]


def allowed_for(folder):
    """What files of `folder` ("app", "tests/app", "bench/directory", ...) may include; None for
    a folder the layers do not know."""
    if folder in BELOW:
        return reach(folder)
    if folder == BENCH_COMMON:
        return {folder}
    if folder in WHOLE_PROGRAM:
        return set(BELOW) | {folder, "tests/e2e", "tests/support"} | bench_common_for(folder)
    if folder == "tests/support":
        return reach("directory") | {folder}
    top, _, library = folder.partition("/")
    if top in ("tests", "bench", "fuzz") and library in BELOW:
        return reach(library) | {folder, "tests/" + library, "tests/support"} | bench_common_for(folder)
    return None


def linked_folders(root, folder):
    """The library folders that folder/CMakeLists.txt links its target to."""
    cmake = root / folder / "CMakeLists.txt"
    if not cmake.exists():
        return set()
    linked = set()
    for target, items in LINK.findall(cmake.read_text()):
        if target == folder:
            linked |= {item for item in items.split() if item in BELOW}
    return linked


def link_closure(root, folder, seen=None):
    seen = set() if seen is None else seen
    if folder not in seen:
        seen.add(folder)
        for lower in linked_folders(root, folder):
            link_closure(root, lower, seen)
    return seen


def source_folder(relative):
    parts = relative.parts
    if parts[0] in ("tests", "bench", "fuzz") and len(parts) > 2:
        return parts[0] + "/" + parts[1]
    return parts[0]


def check(root):
    problems = []
    tops = list(BELOW) + ["tests", "bench", "fuzz"]
    for top in tops:
        for path in sorted((root / top).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            relative = path.relative_to(root)
            folder = source_folder(relative)
            allowed = allowed_for(folder)
            if allowed is None:
                if not str(relative).startswith("tests/fixtures/"):
                    problems.append(f"{relative}: the layers do not know folder {folder}/")
                continue
            linked = link_closure(root, folder) if folder in BELOW else None
            text = path.read_text(errors="replace")
            for match in INCLUDE.finditer(text):
                included = match.group(1)
                target = include_folder(included)
                if target is None:
                    continue  # a header beside the file
                line = text.count("\n", 0, match.start()) + 1
                where = f"{relative}:{line}"
                if target not in allowed:
                    problems.append(f'{where}: {folder}/ may not include "{included}"')
                elif linked is not None and target not in linked:
                    problems.append(f'{where}: {folder}/ includes "{included}" '
                                    f"but does not link {target}")
                elif (included == TEST_INTERFACE_HEADER and folder in BELOW and
                      str(relative) not in TEST_INTERFACE_SOURCES):
                    problems.append(f'{where}: "{included}" is for tests only')
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    problems = check(pathlib.Path(sys.argv[1]))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
