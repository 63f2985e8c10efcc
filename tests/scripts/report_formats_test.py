#!/usr/bin/env python3
"""Reads the sample reports as their readers do and checks that no cell broke out.

Usage: report_formats_test.py SAMPLES_PROGRAM RESULTS_FOLDER
       report_formats_test.py --real REPORTS_FOLDER RESULTS_FOLDER

SAMPLES_PROGRAM (vorlix_report_samples) writes each report kind as HTML, JSON and
CSV with hostile cells. Each HTML must parse with html5lib's strict parser without
an error and load nothing; each JSON must hold to docs/report.schema.json; each CSV
must read back with Python's csv module. In all three the hostile texts come back
as whole cells. Each file writes RESULTS/report-formats-KIND-FORM.check ("ok" or
what went wrong); the exit code says whether all held.

With --real, REPORTS_FOLDER holds the reports the real program wrote under Wine in the
end-to-end tests (KIND.FORM, from bundles whose logs hold REAL_TEXTS): each must pass the
same checks, and every one of them must be there.
"""
import csv
import io
import json
import os
import re
import subprocess
import sys
import tempfile

SCHEMA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                      "report.schema.json")
KINDS = ["two_logs", "two_folders", "many_bundles", "diagnosis"]

# The texts the samples put into cells, as Unicode: the Windows-1252 bytes 0x80 to 0x9F
# typed from the code page's table, the five undefined ones as the C1 characters of
# the same value, 0xA0 to 0xFF as Latin-1.
HIGH = ("\u20ac\x81\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\x8d"
        "\u017d\x8f\x90\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a"
        "\u0153\x9d\u017e\u0178" + "".join(chr(c) for c in range(0xA0, 0x100)))
SCRIPT = '<script>alert("x")</script>'
QUOTES = "Ger\u00e4t, \"Kamera\" & 'Objektiv'"
UMLAUTS = "K\u00f6ln D\u00fcsseldorf M\u00e4rz"
BREAKS = "Line\r\nbreak\tand tab"
LONE_BREAKS = "lone\rCR lone\nLF"
NUL = "a\x00b"
FORMULA = "=1+2"

COMMON = [QUOTES, UMLAUTS, BREAKS, HIGH]
EXPECTED = {
    "two_logs": COMMON + [SCRIPT, LONE_BREAKS, NUL, FORMULA, "@SUM(A1)", "-3", "+4"],
    "two_folders": COMMON + [SCRIPT, LONE_BREAKS, NUL, FORMULA, "@SUM(A1)", "-3", "+4"],
    "many_bundles": COMMON + [SCRIPT, NUL, FORMULA],
    "diagnosis": COMMON + [LONE_BREAKS],
}


# What the end-to-end bundles put into their logs (as Windows-1252): a product name with
# umlauts, a comma and quotes, and one that is markup.
REAL_TEXTS = ["Ger\u00e4t, \"Kamera\" f\u00fcr K\u00f6ln", '<script>alert("x")</script>']
REAL_KINDS = ["two_logs", "two_folders", "many_bundles", "diagnosis"]


def as_html_text(text):
    """What a cell's text reads as in the page: line ends as the parser gives them, a
    control character as the visible \\xHH the page shows."""
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    out = []
    for c in text:
        code = ord(c)
        if (code < 0x20 and c not in "\t\n") or 0x7F <= code <= 0x9F:
            out.append("\\x%02X" % code)
        else:
            out.append(c)
    return "".join(out)


def as_csv_field(text):
    """What a cell reads back as from the CSV: NUL as its symbol, a text a spreadsheet
    would take for a formula behind an apostrophe."""
    text = text.replace("\x00", "\u2400")
    return "'" + text if text[:1] in ("=", "+", "-", "@") else text


def cell_text(element):
    """The text of a table cell without the mark a matrix cell carries after it."""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "span" and "cell-mark" in child.get("class", "").split():
            if parts and parts[-1].endswith(" "):
                parts[-1] = parts[-1][:-1]
        else:
            parts.append(cell_text(child))
        parts.append(child.tail or "")
    return "".join(parts)


def check_html(data, kind, problems):
    import html5lib
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        problems.append("not UTF-8: %s" % error)
        return
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    try:
        root = parser.parse(text)
    except Exception as error:  # html5lib's ParseError names the first error
        problems.append("HTML parse error: %s %s" % (error, parser.errors[:3]))
        return
    if parser.errors:
        problems.append("HTML parse errors: %s" % parser.errors[:3])
    if not text.startswith("<!DOCTYPE html>"):
        problems.append("no <!DOCTYPE html> at the start")
    if not re.search(r'<meta charset="utf-8">', text):
        problems.append('no <meta charset="utf-8">')
    lower = text.lower()
    for banned in ("<script", "http:", "https:", "src=", "<link", "<img", "<iframe", "<object",
                   "@import", "url(", "javascript:"):
        if banned in lower:
            problems.append("holds %r" % banned)
    if "@media print" not in text:
        problems.append("no print stylesheet")
    ids = [element.get("id") for element in root.iter() if element.get("id") is not None]
    if len(ids) != len(set(ids)):
        problems.append("an id used twice: %s" % ids)
    links = [element.get("href") for element in root.iter("a")]
    if kind in ("two_folders", "diagnosis") and not links:
        problems.append("no link to a section")
    for href in links:
        if href is None or not href.startswith("#") or href[1:] not in ids:
            problems.append("a link that leads nowhere in the page: %r" % href)
    cells = {cell_text(element) for element in root.iter("td")}
    for expected in EXPECTED[kind]:
        if not holds(cells, as_html_text(expected)):
            problems.append("no cell reads %r" % as_html_text(expected))


def holds(texts, expected):
    """Whether one text is the expected one; of a real report, whether one holds it whole (a
    fact of the matrix is the log's kind, a blank, then the record's name)."""
    if EXPECTED is REAL_EXPECTED:
        return any(expected in text for text in texts)
    return expected in texts


def strings_of(value, found):
    if isinstance(value, str):
        found.add(value)
    elif isinstance(value, list):
        for item in value:
            strings_of(item, found)
    elif isinstance(value, dict):
        for item in value.values():
            strings_of(item, found)


def check_json(data, kind, problems):
    import jsonschema
    if data.startswith(b"\xef\xbb\xbf"):
        problems.append("a byte-order mark, which JSON does not allow")
        return
    try:
        report = json.loads(data.decode("utf-8"),
                            parse_constant=lambda name: problems.append("holds " + name))
    except (UnicodeDecodeError, ValueError) as error:
        problems.append("not JSON: %s" % error)
        return
    with open(SCHEMA, encoding="utf-8") as stream:
        schema = json.load(stream)
    validator = jsonschema.Draft202012Validator(schema)
    for error in sorted(validator.iter_errors(report), key=lambda e: list(e.path))[:5]:
        problems.append("schema: %s at %s" % (error.message, list(error.path)))
    if report.get("kind") != kind:
        problems.append("kind %r, expected %r" % (report.get("kind"), kind))
    sections = report.get("sections", [])
    ids = [section.get("id") for section in sections]
    if len(ids) != len(set(ids)):
        problems.append("an id used twice: %s" % ids)
    counts_seen = False
    for section in sections:
        for table in section.get("tables", []):
            columns = table.get("columns", [])
            for row in table.get("rows", []):
                if len(row.get("cells", [])) != len(columns) or \
                        len(row.get("cell_marks", [])) != len(columns):
                    problems.append("a row of %s whose cells do not match its columns" %
                                    table.get("key"))
                    continue
                if row.get("link") is not None and row["link"] not in ids:
                    problems.append("a link to no section: %r" % row["link"])
                for column, value in zip(columns, row["cells"]):
                    wanted = int if column["type"] == "number" else str
                    if value is not None and (type(value) is not wanted):
                        problems.append("%s.%s holds %r" % (table["key"], column["key"], value))
                    if column["key"] == "rows" and value == 512:
                        counts_seen = True
        for fact in section.get("facts", []):
            if fact["key"] == "rows" and fact["value"] == 512:
                counts_seen = True
    if kind in ("two_logs", "two_folders") and not counts_seen and EXPECTED is not REAL_EXPECTED:
        problems.append("the count of 512 rows is not the number 512")
    found = set()
    strings_of(report, found)
    for expected in EXPECTED[kind]:
        if not holds(found, expected):
            problems.append("no string reads %r" % expected)


def check_csv(data, kind, problems):
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append("no byte-order mark")
    # Outside quoted fields every line ends in CR LF; inside, line breaks are the cells'.
    quoted = False
    for at, byte in enumerate(data):
        if byte == 0x22:
            quoted = not quoted
        elif not quoted and ((byte == 0x0A and data[at - 1:at] != b"\r") or
                             (byte == 0x0D and data[at + 1:at + 2] != b"\n")):
            problems.append("a record ended by a bare CR or LF at byte %d" % at)
            break
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        problems.append("not UTF-8: %s" % error)
        return
    try:
        rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    except csv.Error as error:
        problems.append("not CSV: %s" % error)
        return
    if not rows or rows[0][:2] != ["Section", "Mark"]:
        problems.append("the header does not begin with Section, Mark: %r" % rows[:1])
        return
    for number, row in enumerate(rows[1:], 2):
        if len(row) != len(rows[0]):
            problems.append("record %d has %d fields, the header %d" % (number, len(row),
                                                                        len(rows[0])))
    fields = {field for row in rows[1:] for field in row}
    for expected in EXPECTED[kind]:
        if not holds(fields, as_csv_field(expected)):
            problems.append("no field reads %r" % as_csv_field(expected))
    if not EXPECTED[kind]:
        return
    if not any(c in field for field in fields for c in "\u00e4") or \
            not any("\u00f6" in field for field in fields) or \
            not any("\u00fc" in field for field in fields):
        problems.append("the umlauts did not come back as \u00e4 \u00f6 \u00fc")


CHECKS = {"html": check_html, "json": check_json, "csv": check_csv}


REAL_EXPECTED = {kind: REAL_TEXTS for kind in REAL_KINDS}
# The diagnosis names no product: its reports are checked for their form only.
REAL_EXPECTED["diagnosis"] = []


def check_real(reports, results):
    """The reports of the real program: every kind in every form, each as its reader reads it."""
    global EXPECTED
    EXPECTED = REAL_EXPECTED
    os.makedirs(results, exist_ok=True)
    all_ok = True
    for kind in REAL_KINDS:
        for form, check in CHECKS.items():
            problems = []
            path = os.path.join(reports, "%s.%s" % (kind, form))
            try:
                with open(path, "rb") as stream:
                    check(stream.read(), kind, problems)
            except OSError as error:
                problems.append("the end-to-end tests wrote no %s (%s)" % (path, error))
            except Exception as error:  # a reader that fails is a failed check
                problems.append("%s: %s" % (type(error).__name__, error))
            with open(os.path.join(results, "real-report-%s-%s.check" % (kind, form)), "w") as out:
                out.write("ok\n" if not problems else "\n".join(problems) + "\n")
            if problems:
                all_ok = False
                print("%s.%s:\n  %s" % (kind, form, "\n  ".join(problems)), file=sys.stderr)
    return 0 if all_ok else 1


def main():
    if sys.argv[1] == "--real":
        return check_real(sys.argv[2], sys.argv[3])
    program, results = sys.argv[1], sys.argv[2]
    os.makedirs(results, exist_ok=True)
    all_ok = True

    def record(name, problems):
        nonlocal all_ok
        with open(os.path.join(results, "report-formats-%s.check" % name), "w") as stream:
            stream.write("ok\n" if not problems else "\n".join(problems) + "\n")
        if problems:
            all_ok = False
            print("%s:\n  %s" % (name, "\n  ".join(problems)), file=sys.stderr)

    # A missing reader is a machine not set up, which the check says instead of passing.
    missing = []
    for module, package in (("html5lib", "python3-html5lib"), ("jsonschema", "python3-jsonschema")):
        try:
            __import__(module)
        except ImportError:
            missing.append("%s is missing (Debian package %s; %s)" % (module, package,
                                                                       sys.executable))
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        for folder in (first, second):
            run = subprocess.run([program, folder], capture_output=True, text=True)
            if run.returncode != 0:
                record("samples", ["%s exited with %d: %s" % (program, run.returncode,
                                                              run.stderr.strip())])
                return 1
        record("samples", [])
        # Two runs over the same documents give the same bytes.
        changed = []
        for name in sorted(os.listdir(first)):
            with open(os.path.join(first, name), "rb") as a, \
                    open(os.path.join(second, name), "rb") as b:
                if a.read() != b.read():
                    changed.append("%s differs between two runs" % name)
        record("deterministic", changed)
        for kind in KINDS:
            for form, check in CHECKS.items():
                problems = list(missing)
                path = os.path.join(first, "%s.%s" % (kind, form))
                if not problems:
                    try:
                        with open(path, "rb") as stream:
                            check(stream.read(), kind, problems)
                    except Exception as error:  # a reader that fails is a failed check
                        problems.append("%s: %s" % (type(error).__name__, error))
                record("%s-%s" % (kind, form), problems)
    return 0 if all_ok else 1


if __name__ == "__main__":
    sys.exit(main())
