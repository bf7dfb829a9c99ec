#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# The CSV and JSON reports of a network database read with Python's standard library:
# both parse, and both list every input of every device of the database, with the
# fields of both controls in SI and US units for every input that can be configured.
import csv
import io
import json
import subprocess
import sys

vqhost, database = sys.argv[1], sys.argv[2]


def report(fmt):
    run = subprocess.run([vqhost, "--report", "--format", fmt, database], capture_output=True, timeout=240)
    if run.returncode != 0:
        sys.exit(f"vqhost --report --format {fmt} exited {run.returncode}: {run.stderr.decode(errors='replace')}")
    return run.stdout.decode("utf-8")  # strict: the report must be valid UTF-8


network = json.load(open(database, encoding="utf-8"))
expected = {(d["name"], b["name"]) for d in network["devices"] for b in d.get("blocks", [])}
configurable = {d["name"] for d in network["devices"] if d.get("commissioned") and d.get("state") == 4}
failures = []

rows = list(csv.DictReader(io.StringIO(report("csv"), newline="")))
listed = {(r["device"], r["input"]) for r in rows if r["input"]}
if listed != expected:
    failures.append(f"CSV lists {sorted(listed ^ expected)} differently")
for device, block in sorted(expected):
    fields = [r for r in rows if (r["device"], r["input"]) == (device, block) and r["control"] == "hardware"]
    if device in configurable and not any(r["si_value"] and r["us_value"] for r in fields):
        failures.append(f"CSV: {device} / {block} shows no hardware field in SI and US")

document = json.loads(report("json"))
listed = {(d["name"], i["name"]) for d in document["devices"] for i in d["inputs"]}
if listed != expected:
    failures.append(f"JSON lists {sorted(listed ^ expected)} differently")
for d in document["devices"]:
    for i in d["inputs"]:
        controls = {f["control"] for f in i.get("fields", [])}
        if d["name"] in configurable and controls != {"hardware", "network"}:
            failures.append(f"JSON: {d['name']} / {i['name']} shows the fields of {sorted(controls)}")

for failure in failures:
    print(failure)
print(f"{len(expected)} inputs, {len(rows)} CSV rows: {'FAILED' if failures else 'ok'}")
sys.exit(1 if failures else 0)
