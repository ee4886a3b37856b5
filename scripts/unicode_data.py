"""What Citara's table generators share: reading the Unicode Character Database (Debian's
unicode-data, /usr/share/unicode) and the command line that writes a generated, checked-in file or
checks that it is up to date.

    python3 GENERATOR [--ucd DIR] [--check] [OUTPUT]
"""

import argparse
import os
import re
import sys


def read_version(ucd):
    path = os.path.join(ucd, "ReadMe.txt")
    with open(path, encoding="utf-8") as f:
        match = re.search(r"Version (\d+\.\d+\.\d+) of the Unicode Standard", f.read())
    if not match:
        sys.exit(f"{path}: no 'Version N.N.N of the Unicode Standard' line")
    return match.group(1)


def unicode_data(ucd):
    """(first, last, fields) for every line of UnicodeData.txt, fields being its 15 fields. A range
    (<CJK Ideograph, First> ... <CJK Ideograph, Last>) comes as one row; every other line has
    first == last."""
    path = os.path.join(ucd, "UnicodeData.txt")
    range_start = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            fields = line.rstrip("\n").split(";")
            if len(fields) != 15:
                sys.exit(f"{path}:{number}: {len(fields)} fields, not 15")
            cp, name = int(fields[0], 16), fields[1]
            if name.endswith(", First>"):
                range_start = cp
                continue
            if name.endswith(", Last>"):
                if range_start is None:
                    sys.exit(f"{path}:{number}: a range's last line without its first")
                yield range_start, cp, fields
                range_start = None
            else:
                yield cp, cp, fields


def generate(generator, default_output, render):
    """Runs a generator's command line: RENDER(ucd folder) gives the file's text, which is written
    to OUTPUT (DEFAULT_OUTPUT when none is named) or, with --check, compared with it. Returns the
    exit status."""
    parser = argparse.ArgumentParser(description=f"Writes {os.path.basename(default_output)} from the "
                                                 "Unicode Character Database")
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; exit 1 when OUTPUT is not what would be written")
    parser.add_argument("output", nargs="?", default=default_output)
    args = parser.parse_args()
    text = render(args.ucd)
    if args.check:
        try:
            with open(args.output, encoding="utf-8", newline="") as f:
                current = f.read()
        except FileNotFoundError:
            current = ""
        if current != text:
            print(f"{args.output} is not what {os.path.relpath(generator)} writes from {args.ucd} "
                  f"(Unicode {read_version(args.ucd)}): run it again to update the file", file=sys.stderr)
            return 1
        return 0
    with open(args.output, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return 0


def wrapped(items, width=100):
    """Lines of at most WIDTH characters holding the items, each followed by one space."""
    lines, line = [], ""
    for item in items:
        if line and len(line) + len(item) + 1 > width:
            lines.append(line.rstrip())
            line = ""
        line += item + " "
    if line:
        lines.append(line.rstrip())
    return lines
