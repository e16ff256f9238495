#!/usr/bin/env python3
"""Checks the kit's built-in themes (kit/themes/light.json, kit/themes/dark.json).

- Each file parses as a JSON object (key order kept) with no arrays.
- Every key path the widgets read (the list in themeRequirements(), kit/theme.cpp)
  exists with the right kind.
- Every text value shaped like a token path ("palette.primary.main") resolves
  against the document to a text or a number.
- Every declaration inside components and typography variants is a Qt style
  sheet property and its value survives the renderer (no "{", "}", ";", line break).

Usage: python3 tools/check_themes.py [theme.json ...]   (exit status 1 on a problem)
"""

import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_FILES = [os.path.join(HERE, os.pardir, "kit", "themes", n + ".json") for n in ("light", "dark")]

SIZES = ("small", "medium", "large")

# Mirrors themeRequirements() in kit/theme.cpp: (path, kind, optional).
def requirements():
    r = []
    add = lambda path, kind, optional=False: r.append((path, kind, optional))
    add("palette.mode", "text")
    for token in ("palette.grey._500", "palette.text.primary", "palette.text.secondary",
                  "palette.text.disabled", "palette.background.default",
                  "palette.background.paper", "palette.divider"):
        add(token, "text")
    for variant in ("button", "body1", "body2", "caption", "subtitle1", "h6"):
        add("typography." + variant, "map")

    fs = "components.FieldShell.styles."
    add(fs + "root", "style", True)
    add(fs + "title", "map")
    for slot in ("focused", "error", "disabled"):
        add(fs + "title.slots." + slot, "map")
    add(fs + "inputField", "map")
    for size in SIZES:
        add(fs + "inputField.props.multiline." + size, "map")
    add(fs + "inputField.props.multiple", "map")
    for size in SIZES:
        z = "components.FieldShellSize.styles." + size
        add(z, "map")
        add(z + ".no-multiple", "map")
        add(z + ".no-multiple.height", "number")

    pb = "components.PyButton.styles.root."
    for size in SIZES:
        add(pb + "size." + size, "map")
        add(pb + "size." + size + ".textVariant", "map")
    for color in ("default", "primary", "secondary", "error", "info", "success", "warning"):
        for variant in ("contained", "outlined", "text", "soft"):
            k = pb + "colorStyle.%s.props.%sVariant" % (color, variant)
            add(k, "map")
            add(k + ".slots.hover", "map")
            add(k + ".slots.checked", "map")
    for editor in ("KnobField", "StepperField", "CalendarField"):
        add("components.%s.styles.root" % editor, "map")
    return r


# Properties Qt style sheets understand (the subset a theme has any business using).
QSS_PROPERTIES = {
    "alternate-background-color", "background", "background-color", "background-clip",
    "background-origin", "border", "border-top", "border-right", "border-bottom", "border-left",
    "border-color", "border-top-color", "border-right-color", "border-bottom-color",
    "border-left-color", "border-radius", "border-top-left-radius", "border-top-right-radius",
    "border-bottom-left-radius", "border-bottom-right-radius", "border-style", "border-width",
    "border-top-width", "border-right-width", "border-bottom-width", "border-left-width",
    "bottom", "color", "font", "font-family", "font-size", "font-style", "font-weight",
    "height", "left", "margin", "margin-top", "margin-right", "margin-bottom", "margin-left",
    "max-height", "max-width", "min-height", "min-width", "outline", "padding", "padding-top",
    "padding-right", "padding-bottom", "padding-left", "position", "right", "selection-color",
    "selection-background-color", "spacing", "subcontrol-origin", "subcontrol-position",
    "text-align", "text-decoration", "top", "width", "placeholder-text-color",
}

UNITLESS = {"font-weight", "opacity", "line-height", "z-index"}

TOKEN_RE = re.compile(r"^[A-Za-z_][A-Za-z0-9_]*(\.[A-Za-z0-9_]+)+$")
PROPERTY_RE = re.compile(r"^[A-Za-z0-9_-]+$")


def kebab(key):
    out = ""
    for c in key:
        if c.isupper():
            if out and not out.endswith("-"):
                out += "-"
            out += c.lower()
        else:
            out += c
    return out


def reject_arrays(pairs):
    for k, v in pairs:
        if isinstance(v, list):
            raise ValueError("array under key %r" % k)
    return dict(pairs)


def find_path(doc, path):
    cur = doc
    for part in path.split("."):
        if not isinstance(cur, dict) or part not in cur:
            return None, False
        cur = cur[part]
    return cur, True


def kind_ok(value, kind, optional):
    if kind in ("map", "style"):
        return isinstance(value, dict) or (optional and value is None)
    if kind == "text":
        return isinstance(value, str)
    if kind == "number":
        return isinstance(value, (int, float)) and not isinstance(value, bool)
    return False


def walk(node, path=""):
    if isinstance(node, dict):
        for k, v in node.items():
            yield from walk(v, path + "." + k if path else k)
    else:
        yield path, node


def declarations_of(style, path):
    """Yields (path, key, value) for each entry a declaration list would render."""
    for k, v in style.items():
        if isinstance(v, dict) or v is None:
            continue
        yield path + "." + k, k, v


def style_nodes(doc):
    """Every mapping under components.*.styles and typography variants, with its path."""
    def rec(node, path):
        if isinstance(node, dict):
            yield path, node
            for k, v in node.items():
                if isinstance(v, dict):
                    yield from rec(v, path + "." + k)
    comps = doc.get("components", {})
    for name, comp in comps.items():
        yield from rec(comp.get("styles", {}), "components.%s.styles" % name)
    for name, variant in doc.get("typography", {}).items():
        if isinstance(variant, dict):
            yield "typography." + name, variant


def check(path):
    problems = []
    with open(path, encoding="utf-8") as f:
        text = f.read()
    try:
        doc = json.loads(text, object_pairs_hook=reject_arrays)
    except ValueError as e:
        return ["does not parse: %s" % e], 0, 0, 0
    if not isinstance(doc, dict):
        return ["the document is not a JSON object"], 0, 0, 0

    reqs = requirements()
    for req_path, kind, optional in reqs:
        value, found = find_path(doc, req_path)
        if not found:
            if not optional:
                problems.append("missing key path %r" % req_path)
            continue
        if not kind_ok(value, kind, optional):
            problems.append("key path %r must be a %s" % (req_path, kind))

    tokens = 0
    for value_path, value in walk(doc):
        if isinstance(value, str) and TOKEN_RE.match(value):
            tokens += 1
            target, found = find_path(doc, value)
            if not found or isinstance(target, (dict, bool)) or target is None:
                problems.append("%s: token %r does not resolve to a text or number" % (value_path, value))

    decls = 0
    for node_path, style in style_nodes(doc):
        for decl_path, key, value in declarations_of(style, node_path):
            decls += 1
            prop = kebab(key)
            if not PROPERTY_RE.match(key):
                problems.append("%s: key is not a property name" % decl_path)
            elif prop not in QSS_PROPERTIES:
                problems.append("%s: %r is not a Qt style sheet property" % (decl_path, prop))
            if isinstance(value, str) and (not value or any(c in value for c in "{};\r\n")):
                problems.append("%s: value %r would be dropped by the renderer" % (decl_path, value))
            if isinstance(value, bool):
                problems.append("%s: a flag is no style value" % decl_path)

    if doc.get("palette", {}).get("mode") != doc.get("name"):
        problems.append("palette.mode %r differs from name %r" % (doc.get("palette", {}).get("mode"), doc.get("name")))
    return problems, len(reqs), tokens, decls


def main(argv):
    files = argv[1:] or DEFAULT_FILES
    failed = False
    for path in files:
        problems, reqs, tokens, decls = check(path)
        name = os.path.normpath(path)
        if problems:
            failed = True
            print("%s: %d problem(s)" % (name, len(problems)))
            for p in problems:
                print("  " + p)
        else:
            print("%s: ok (%d required key paths, %d token values resolved, %d declarations)"
                  % (name, reqs, tokens, decls))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
