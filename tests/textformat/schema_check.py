#!/usr/bin/env python3
"""The template schema accepts what k52cli show --json prints and rejects files with faults.

Usage: schema_check.py SCHEMA K52CLI EXAMPLES_DIR
"""
import copy
import json
import pathlib
import random
import subprocess
import sys
import tempfile

import jsonschema


def show_json(k52cli, path):
    out = subprocess.run([k52cli, "show", str(path), "--json"], check=True, capture_output=True)
    return json.loads(out.stdout)


def main():
    schema_path, k52cli, examples_dir = sys.argv[1:4]
    schema = json.loads(pathlib.Path(schema_path).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []

    def expect_valid(what, doc):
        errors = [e.message for e in validator.iter_errors(doc)]
        if errors:
            failures.append(f"{what}: rejected: {errors[:3]}")

    def expect_invalid(what, doc):
        if validator.is_valid(doc):
            failures.append(f"{what}: accepted")

    examples = sorted(pathlib.Path(examples_dir).glob("*.json"))
    if len(examples) < 2:
        failures.append(f"only {len(examples)} examples in {examples_dir}")
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        for example in examples:
            doc = json.loads(example.read_text(encoding="utf-8"))
            expect_valid(example.name, doc)
            atc = tmp / (example.stem + ".ATC")
            subprocess.run([k52cli, "import", str(example), str(atc)], check=True, capture_output=True)
            expect_valid(f"show --json of {example.name}", show_json(k52cli, atc))

        new = tmp / "new.ATC"
        subprocess.run([k52cli, "new", str(new)], check=True)
        expect_valid("show --json of a new template", show_json(k52cli, new))

        rng = random.Random(20261207)
        randoms = 10
        for i in range(randoms):
            body = bytes(rng.choice((0, 0, 0x20, 0x41, 0xA4, 0x40, 0xFF, rng.randrange(256))) for _ in range(8626))
            path = tmp / f"random{i}.ATC"
            path.write_bytes(b"Kxx-3.10" + body + bytes(100))
            expect_valid(f"show --json of random template {i}", show_json(k52cli, path))

    base = json.loads(examples[0].read_text(encoding="utf-8")) if examples else {}
    faults = {
        "a typo in a menu key": lambda d: d["menus"][0].__setitem__("titel", d["menus"][0].pop("title")),
        "a typo at the top level": lambda d: d.__setitem__("startPositon", d.pop("startPosition")),
        "a number above 255": lambda d: d.__setitem__("startPosition", 256),
        "a negative number": lambda d: d["menus"][0].__setitem__("escapeTarget", -1),
        "a fraction": lambda d: d["menus"][0].__setitem__("escapeTarget", 1.5),
        "a text wider than its field": lambda d: d.__setitem__("securityPassword", "12345678901"),
        "hex of an odd length": lambda d: d.__setitem__("securityPassword", {"hex": "313"}),
        "eleven menus": lambda d: d.__setitem__("menus", [{}] * 11),
        "a wrong format": lambda d: d.__setitem__("format", "k52"),
        "version 2": lambda d: d.__setitem__("version", 2),
    }
    for what, spoil in faults.items():
        doc = copy.deepcopy(base)
        spoil(doc)
        expect_invalid(what, doc)

    for f in failures:
        print("FAIL", f)
    print(f"{len(examples)} examples, {randoms} random templates, {len(faults)} faulty files checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
