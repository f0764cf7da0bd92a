#!/usr/bin/env python3
"""Prints what a session changed in a mailbox file: the folders whose item count changed, and the
contacts whose fields or notes changed. Usage: mailbox_changes.py BEFORE.json AFTER.json"""
import json
import sys


def folders(folder, path):
    """(path, items) for the folder and every folder below it."""
    yield path, folder.get("items", [])
    for sub in folder.get("folders", []):
        yield from folders(sub, path + "\\" + sub["name"])


def load(name):
    with open(name, encoding="utf-8") as file:
        mailbox = json.load(file)
    return {path: items for store in mailbox["stores"] for path, items in folders(store, store["name"])}


def main(before_name, after_name):
    before, after = load(before_name), load(after_name)
    for path in before:
        if len(before[path]) != len(after.get(path, [])):
            print(f"{path}: {len(before[path])} -> {len(after.get(path, []))} items")
    contacts = {item["entryId"]: item for items in after.values() for item in items if item.get("class") == 40}
    changed = sum(1 for items in before.values() for item in items
                  if item.get("class") == 40 and item["entryId"] in contacts and contacts[item["entryId"]] != item)
    print(f"contacts changed: {changed}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
