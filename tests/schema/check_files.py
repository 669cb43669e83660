#!/usr/bin/env python3
"""Checks the file formats' JSON Schemas against the reader.

usage: check_files.py SCHEMAS FILE_CHECK CONTAINER WORK MODE [ARG...]

  registry             the bag schema holds each key of the registry with its kind, default
                       and enum values, and no key the registry lacks
  samples DIR...       every .json file under the folders (but the edge files beside this
                       script): the schema accepts it exactly when it loads (but for KNOWN)
  written E2E_DIR      the files the e2e scripts and a script of settings save, and a form of
                       them, are valid and load
  edges DIR            DIR/valid/*.json are valid and load; DIR/invalid/*.json are refused by
                       the schema and by the reader (but for KNOWN); DIR/stricter/*.json load
                       but are refused by the schema, which takes each key's own kind only
                       where the reader converts (a number written as a text)

A file is first read as I-JSON (RFC 7493: UTF-8, no name twice in an object, no lone
surrogate, no number beyond a double), as the reader reads JSON, then validated. The
validation uses the interpreter's jsonschema (Debian's python3-jsonschema, 4.10 or later).
"""
import json
import math
import shutil
import subprocess
import sys
from pathlib import Path

import jsonschema
from jsonschema import Draft202012Validator

# Files the reader refuses for what no JSON Schema can say: the schema accepts them.
KNOWN = {
    "picture_2g_pixels.json": "a picture whose decoded size is beyond the limit",
    "picture_5600.json": "a picture whose decoded size is beyond the limit",
    "form_version_float.json": "the version written 1.0: JSON Schema takes 1.0 for 1",
    "duplicate_control_names.json": "two controls of one name: no keyword compares items' names",
    "picture_not_png.json": "picture data that is not a picture of its format",
    "picture_zero_point_zero.json": "a picture given as 0.0: JSON Schema takes 0.0 for 0",
}


class NotIJson(ValueError):
    pass


def no_duplicates(pairs):
    names = [name for name, _ in pairs]
    if len(set(names)) != len(names):
        raise NotIJson("a name twice in one object")
    return dict(pairs)


def no_constant(name):
    raise NotIJson(f"{name} is no JSON number")


def check_strings(value):
    if isinstance(value, str):
        value.encode("utf-8")  # a lone surrogate fails
    elif isinstance(value, float) and not math.isfinite(value):
        raise NotIJson("a number beyond a double")
    elif isinstance(value, list):
        for item in value:
            check_strings(item)
    elif isinstance(value, dict):
        for name, item in value.items():
            check_strings(name)
            check_strings(item)


def read_ijson(path):
    try:
        document = json.loads(path.read_bytes().decode("utf-8"),
                              object_pairs_hook=no_duplicates, parse_constant=no_constant)
        check_strings(document)
        return document
    except (ValueError, RecursionError) as e:  # UnicodeError and JSONDecodeError among them
        raise NotIJson(str(e)) from e


class Formats:
    def __init__(self, schemas):
        self.schemas = {name: json.loads((schemas / f"{name}.schema.json").read_text())
                        for name in ("property-bag", "form")}
        store = {s["$id"]: s for s in self.schemas.values()}
        self.validators = {
            name: Draft202012Validator(s, resolver=jsonschema.RefResolver.from_schema(s, store=store))
            for name, s in self.schemas.items()}

    def errors(self, kind, path):
        """Why the schema refuses the file; empty when it is valid."""
        try:
            document = read_ijson(path)
        except NotIJson as e:
            return [f"not I-JSON: {e}"]
        return [f"{'/'.join(map(str, e.absolute_path))}: {e.message}"[:200]
                for e in self.validators[kind].iter_errors(document)]


def kind_of(path):
    """"form" or "property-bag", from the file's content, or its name where it is no JSON."""
    try:
        document = json.loads(path.read_bytes().decode("utf-8", "replace"))
        if isinstance(document, dict) and "form" in document:
            return "form"
        if isinstance(document, dict) and "class" in document:
            return "property-bag"
    except (ValueError, RecursionError):
        pass
    return "form" if path.name.startswith("form") else "property-bag"


def loads(file_check, kind, path):
    run = subprocess.run([file_check, "form" if kind == "form" else "bag", path],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                         errors="replace")
    if run.returncode not in (0, 1):
        sys.exit(f"{file_check} failed on {path}: {run.stdout}")
    return run.returncode == 0, run.stdout.strip()


def check_registry(formats, file_check):
    registry = json.loads(subprocess.check_output([file_check, "registry"]))
    keys = formats.schemas["property-bag"]["$defs"]["properties"]["properties"]
    refs = {"integer": ("#/$defs/integer", "#/$defs/width"), "long": ("#/$defs/long",),
            "boolean": ("#/$defs/boolean",), "string": ("#/$defs/timeText",),
            "color": ("#/$defs/color",), "picture": ("#/$defs/pictureValue",),
            "enumeration": ("#/$defs/enumeration",)}
    wrong = []
    for entry in registry:
        key = keys.get(entry["key"])
        if key is None:
            wrong.append(f"{entry['key']}: a key of the registry the schema lacks")
            continue
        if key.get("$ref") not in refs[entry["kind"]]:
            wrong.append(f"{entry['key']}: kind {entry['kind']}, schema {key.get('$ref')}")
        if key.get("default") != entry["default"]:
            wrong.append(f"{entry['key']}: default {entry['default']!r}, "
                         f"schema {key.get('default')!r}")
        if sorted(entry.get("enum", {}).values()) != key.get("examples", []):
            wrong.append(f"{entry['key']}: values {sorted(entry.get('enum', {}).values())}, "
                         f"schema {key.get('examples')}")
    for extra in sorted(set(keys) - {entry["key"] for entry in registry}):
        wrong.append(f"{extra}: a key of the schema the registry lacks")
    print(f"{len(registry)} keys of the registry compared with the schema")
    return wrong


def agree(formats, file_check, path, valid_expected=None):
    """What is wrong with `path`: the schema and the reader disagree, or either differs from
    `valid_expected`; the known exceptions are told, not counted."""
    kind = kind_of(path)
    errors = formats.errors(kind, path)
    loaded, why = loads(file_check, kind, path)
    valid = not errors
    shown = f"{path} ({kind})"
    if valid and not loaded and path.name in KNOWN:
        print(f"known: {shown} is valid but refused: {KNOWN[path.name]}")
        return [] if valid_expected in (None, False) else [f"{shown}: refused: {why}"]
    wrong = []
    if valid != loaded:
        wrong.append(f"{shown}: the schema {'accepts' if valid else 'refuses'} it "
                     f"({'; '.join(errors[:3]) or 'valid'}) but the reader "
                     f"{'loads' if loaded else 'refuses'} it ({why or 'loaded'})")
    elif valid_expected is not None and valid != valid_expected:
        wrong.append(f"{shown}: {'valid and loads' if valid else 'refused'}, expected "
                     f"{'valid' if valid_expected else 'refused'} ({'; '.join(errors[:3])})")
    return wrong


def check_samples(formats, file_check, folders):
    # The edge files beside this script have expectations of their own (check_edges).
    edges = Path(__file__).absolute().parent
    files = sorted(p for folder in folders for p in Path(folder).absolute().rglob("*.json")
                   if ".schema." not in p.name and edges not in p.parents)
    print(f"{len(files)} sample files")
    return [w for p in files for w in agree(formats, file_check, p)]


# Settings a host may save, at the limits the reader takes.
SETTINGS_SCRIPT = """\
new plain
new digital own
put digital Display 1
put digital Accuracy 2
put digital SegmentColor -2147483633
put digital CellColor 16777215
put digital BorderWidth 0
new down own
put down ClockMode 1
put down InitialTime "99:59:59"
put down AlertTime 356400
put down MousePointer 99
put down MouseIcon @persistence_icon.png
put down IgnoreDisplay true
save plain plain.json
save digital digital.json
save down down.json
"""


def check_written(formats, file_check, container, work, e2e):
    shutil.rmtree(work, ignore_errors=True)
    inputs = [p for pattern in ("*.json", "*.png", "*.svg") for p in e2e.glob(pattern)]
    written = []
    scripts = [s for s in sorted(e2e.glob("*.tw")) if "\nsave " in s.read_text()]
    (work / "settings").mkdir(parents=True)
    (work / "settings.tw").write_text(SETTINGS_SCRIPT)
    runs = [(work / s.stem, s) for s in scripts] + [(work / "settings", work / "settings.tw")]
    for folder, script in runs:
        folder.mkdir(parents=True, exist_ok=True)
        for path in inputs:
            shutil.copy(path, folder)
        subprocess.run([container, script], cwd=folder, stdout=subprocess.DEVNULL, check=False)
        names = {p.name for p in inputs}
        written += sorted(p for p in folder.glob("*.json") if p.name not in names)
    form = work / "form.json"
    subprocess.run([file_check, "form-of", form, *written], check=True)
    written.append(form)
    print(f"{len(written)} written files, from {len(scripts)} e2e scripts and the settings")
    if len(written) < 5:
        return [f"only {len(written)} files written: the scripts saved nothing"]
    return [w for p in written for w in agree(formats, file_check, p, valid_expected=True)]


def check_edges(formats, file_check, folder):
    valid = sorted((folder / "valid").glob("*.json"))
    invalid = sorted((folder / "invalid").glob("*.json"))
    stricter = sorted((folder / "stricter").glob("*.json"))
    print(f"{len(valid)} valid, {len(invalid)} invalid and {len(stricter)} stricter edge files")
    wrong = [w for p in valid for w in agree(formats, file_check, p, valid_expected=True)]
    wrong += [w for p in invalid for w in agree(formats, file_check, p, valid_expected=False)]
    for path in stricter:
        errors = formats.errors(kind_of(path), path)
        loaded, why = loads(file_check, kind_of(path), path)
        if not errors or not loaded:
            wrong.append(f"{path}: expected refused by the schema and loaded, but "
                         f"{'valid' if not errors else 'refused'} and {why or 'loaded'}")
    return wrong


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    schemas, file_check, container, work = (Path(a).absolute() for a in sys.argv[1:5])
    mode, args = sys.argv[5], sys.argv[6:]
    formats = Formats(schemas)
    if mode == "registry":
        wrong = check_registry(formats, file_check)
    elif mode == "samples":
        wrong = check_samples(formats, file_check, args)
    elif mode == "written":
        wrong = check_written(formats, file_check, container, work, Path(args[0]).absolute())
    elif mode == "edges":
        wrong = check_edges(formats, file_check, Path(args[0]).absolute())
    else:
        sys.exit(__doc__)
    for line in wrong:
        print(line)
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
