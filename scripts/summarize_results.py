#!/usr/bin/env python3
"""Adds up the GoogleTest XML reports, fuzz results and check results into one line.

Usage: summarize_results.py [--runner-failed 0|1] FOLDER...
A runner that failed without a failing test in its report (a crash, a
timeout) counts as one failed test, so the line never hides a failure.
"""
import glob
import os
import sys
import xml.etree.ElementTree as ElementTree

arguments = sys.argv[1:]
runner_failed = False
if arguments[:1] == ["--runner-failed"]:
    runner_failed = arguments[1] != "0"
    arguments = arguments[2:]

passed = failed = skipped = 0
for folder in arguments:
    for report in sorted(glob.glob(os.path.join(folder, "*.xml"))):
        try:
            root = ElementTree.parse(report).getroot()
        except ElementTree.ParseError:
            print(f"unreadable test report: {report}")
            failed += 1
            continue
        for case in root.iter("testcase"):
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
            elif case.get("result") == "skipped" or case.find("skipped") is not None:
                skipped += 1
            elif case.get("status") == "notrun":
                continue
            else:
                passed += 1
    outcomes = glob.glob(os.path.join(folder, "*.fuzz")) + glob.glob(os.path.join(folder, "*.check"))
    for result in sorted(outcomes):
        with open(result) as stream:
            if stream.read().strip() == "ok":
                passed += 1
            else:
                failed += 1

if runner_failed and failed == 0:
    failed = 1
print(f"{passed} passed, {failed} failed, {skipped} skipped")
sys.exit(1 if failed or passed == 0 else 0)
