#!/usr/bin/env python3
"""Counts the results of a test run: one line "N passed, M failed".

Usage: test-summary.py BUILD_DIR...   (each with ctest.xml and reports/ from test.sh)

A CTest test that wrote a GoogleTest report counts as its test cases; any other CTest test
(a fuzz run, a script) counts as one. A test program that failed although its report shows
no failing case (a crash at exit, a sanitizer report) counts one failure more. Exits 1 when
anything failed or nothing ran.
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(report):
    passed = failed = 0
    for case in ET.parse(report).getroot().iter("testcase"):
        if case.get("result") == "skipped" or case.get("status") == "notrun":
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed


def main(build_dirs):
    passed = failed = 0
    failing = []
    for build in build_dirs:
        ctest_xml = os.path.join(build, "ctest.xml")
        if not os.path.exists(ctest_xml):
            failed += 1
            failing.append(f"{build}: no test results")
            continue
        for case in ET.parse(ctest_xml).getroot().iter("testcase"):
            name = case.get("name")
            ok = case.get("status") == "run" and case.find("failure") is None
            report = os.path.join(build, "reports", name + ".xml")
            if os.path.exists(report):
                try:
                    p, f = gtest_counts(report)
                except ET.ParseError:
                    p, f = 0, 1
                if not ok and f == 0:
                    f = 1
                passed += p
                failed += f
            else:
                passed += ok
                failed += not ok
            if not ok:
                failing.append(f"{os.path.basename(build)}: {name}")
    for line in failing:
        print("failed:", line)
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
