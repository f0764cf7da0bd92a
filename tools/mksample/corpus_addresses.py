#!/usr/bin/env python3
"""Compare two builds of `qor extract` on a corpus of real bounce messages.

Usage: corpus_addresses.py CORPUS_DIR QOR_BEFORE QOR_AFTER

Renders every message of CORPUS_DIR (sisimai/, flufl/, bounceparser/) as
Outlook shows its Body (make_sample.py's renderer), extracts the addresses
with both programs and prints: the expected failed recipients
(expected-recipients.json) each finds, those the first finds and the second
loses, how many addresses each extracts and how many of them the scan keeps
(a dot after the at sign), and the forms only one of them yields.
"""

import json
import os
import subprocess
import sys

import make_sample

FOLDERS = ("sisimai", "flufl", "bounceparser")


def rendered_bodies(corpus_dir):
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(corpus_dir, folder))):
            path = os.path.join(corpus_dir, folder, name)
            if os.path.isfile(path) and name != "LICENSE":
                with open(path, "rb") as handle:
                    body = make_sample.convert_message(handle.read())[2]
                yield folder + "/" + name, body.encode("utf-8", "surrogatepass")


def extract(qor, body):
    output = subprocess.run([qor, "extract"], input=body, capture_output=True, check=True).stdout
    return [line for line in output.decode("utf-8", "replace").split("\r\n") if line]


def kept_by_scan(address):
    return "." in address[address.index("@") + 1:].split("@")[0]


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    corpus_dir, before_qor, after_qor = argv[1:]
    before, after = {}, {}
    for path, body in rendered_bodies(corpus_dir):
        before[path], after[path] = extract(before_qor, body), extract(after_qor, body)

    with open(os.path.join(corpus_dir, "expected-recipients.json"), encoding="utf-8") as handle:
        expected = json.load(handle)
    print("messages:", len(before))
    print("expected failed recipients:", sum(len(found) for found in expected.values()))
    for label, result in (("before", before), ("after", after)):
        lowered = {path: {a.lower() for a in found} for path, found in result.items()}
        hits = sum(a.lower() in lowered[path] for path, found in expected.items() for a in found)
        total = sum(len(found) for found in result.values())
        kept = {a.lower() for found in result.values() for a in found if kept_by_scan(a)}
        print(f"{label}: {hits} expected recipients found, {total} addresses extracted, {len(kept)} distinct kept")
    lost = [(path, a) for path, found in expected.items() for a in found
            if a.lower() in {x.lower() for x in before[path]} and a.lower() not in {x.lower() for x in after[path]}]
    print("expected recipients lost:", lost or "none")
    for label, one, other in (("only before", before, after), ("only after", after, before)):
        forms = sorted({(a, path) for path in one for a in set(one[path]) - set(other[path])})
        print(f"{label} ({len(forms)}):")
        for address, path in forms:
            print(f"  {address}  ({path})")


if __name__ == "__main__":
    main(sys.argv)
