#!/usr/bin/env python3
"""Fails when an #include "..." line of Source/ or framework/ points up a layer.

Source/ layers, highest first; a module includes its own files and those of lower
layers only:
    main > Application > Common > GameComponent > Script/F > Interpreter > Data/Repository
framework/ sits below all of Source/ and includes nothing from it. Inside framework/,
Platform is the operating-system seam: it includes only the leaf modules that do not
depend on it, never the modules built on it (Graphics, Media, Gui, ...).

Usage: check_includes.py <repository root>   (exit 0 clean, 1 violations, 2 misuse)
"""
import os
import re
import sys

# Rank of each Source/ module (its folder under Source/). Equal ranks do not include
# each other; only the same module may.
SOURCE_LAYERS = {
    "main": 70,
    "Application": 60,
    "Common": 50,
    "GameComponent": 40,
    "Script/F": 30,
    "Interpreter": 20,
    "Data/Repository": 10,
}
FRAMEWORK_RANK = 0  # all of framework/, as seen from Source/

# Ranks inside framework/ (folders under framework/).
FRAMEWORK_LAYERS = {
    "Text": 0, "Json": 0, "Counter": 0, "Templates": 0,
    "Platform": 1,
    "Threading": 2, "Numeric": 2, "Secure": 2,
    "Graphics": 3, "Media": 3, "Gui": 3, "Speech": 3,
}

# Known upward includes that work in progress removes; (file, included), both
# relative to the repository root.
ALLOWED: set[tuple[str, str]] = set()

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
EXTENSIONS = (".h", ".hpp", ".cpp", ".c", ".cc", ".def", ".inc", ".mm")


def source_module(rel):
    """The Source/ module of a path under Source/, or None when no module holds it."""
    parts = rel.split("/")[1:-1]
    for depth in (2, 1):
        key = "/".join(parts[:depth])
        if len(parts) >= depth and key in SOURCE_LAYERS:
            return key
    return None


def framework_module(rel):
    parts = rel.split("/")
    return parts[1] if len(parts) > 2 else None


def check_include(rel, target):
    """An error text for including `target` from `rel`, or None."""
    if (rel, target) in ALLOWED:
        return None
    if rel.startswith("framework/"):
        if target.startswith("Source/"):
            return "framework includes the application"
        if not target.startswith("framework/"):
            return None
        mine, theirs = framework_module(rel), framework_module(target)
        if mine == theirs:
            return None
        if mine not in FRAMEWORK_LAYERS or theirs not in FRAMEWORK_LAYERS:
            unknown = mine if mine not in FRAMEWORK_LAYERS else theirs
            return f"framework module {unknown} has no layer (add it to FRAMEWORK_LAYERS)"
        if FRAMEWORK_LAYERS[theirs] > FRAMEWORK_LAYERS[mine]:
            return f"framework/{mine} may not include framework/{theirs}"
        return None
    # Source/
    mine = source_module(rel)
    if mine is None:
        return "file in no Source module (add its folder to SOURCE_LAYERS)"
    if target.startswith("framework/"):
        return None
    if not target.startswith("Source/"):
        return None
    theirs = source_module(target)
    if theirs is None:
        return f"{target} is in no Source module"
    if theirs == mine or SOURCE_LAYERS[theirs] < SOURCE_LAYERS[mine]:
        return None
    return f"{mine} may not include {theirs} (it is not below it)"


def normalise(rel, included, root):
    """The repository-relative form of an include, or None when it is outside."""
    if included.startswith(("Source/", "framework/")):
        return included
    # A path relative to the including file.
    here = os.path.dirname(os.path.join(root, rel))
    full = os.path.normpath(os.path.join(here, included))
    if not os.path.exists(full):
        return None
    relative = os.path.relpath(full, root).replace(os.sep, "/")
    return relative if relative.startswith(("Source/", "framework/")) else None


def violations(root):
    found = []
    for top in ("Source", "framework"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(EXTENSIONS):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as f:
                    lines = f.readlines()
                for number, line in enumerate(lines, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = normalise(rel, match.group(1), root)
                    if target is None:
                        continue
                    error = check_include(rel, target)
                    if error:
                        found.append(f"{rel}:{number}: #include \"{match.group(1)}\": {error}")
    return found


def main(argv):
    if len(argv) != 2 or not os.path.isdir(os.path.join(argv[1], "Source")):
        print(__doc__, file=sys.stderr)
        return 2
    found = violations(argv[1])
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) point up a layer", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
