#!/usr/bin/env python3
"""Reads Citara's lists of works cited back as their readers do: the citara tool writes the MLA and
the APA list of a few sources (special characters of Markdown, HTML and RTF in titles, names and
addresses, accented and Cyrillic names, works of one author and year) as RTF, Markdown and HTML.

- LibreOffice (headless, one process for both RTF lists) converts the RTF to flat ODF; the test
  checks the heading (its text, centred), and for every entry its exact text, that exactly its
  italic part is in italics, the half-inch hanging indent and the double spacing.
- pandoc reads the Markdown and the HTML; every paragraph must give back exactly the entry's text
  (the spaces at its ends aside, which neither format keeps) with its italic part as emphasis.

Usage: list_readback_test.py CITARA_BINARY   (exit 0 passed, 1 failed, 77 LibreOffice or pandoc missing)
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from odf_reader import Document, convert_to_fodt, q

SOURCES = [
    {"id": "carver-tides", "type": "book", "title": "tides & moons: a *field* guide <2nd>",
     "author": [{"family": "Carver", "given": "Ellen M."}], "publisher": "Harbor_Press", "publisher-place": "Boston",
     "issued": {"date-parts": [[1998]]}},
    {"id": "carver-lighthouse", "type": "book", "title": "the lighthouse", "author": [{"family": "Carver", "given": "Ellen M."}],
     "publisher": "Harbor Press", "publisher-place": "Boston", "issued": {"date-parts": [[1998]]}},
    {"id": "oneil", "type": "article-journal", "title": "what's in a \"name\"?", "container-title": "studies in $ and [brackets]",
     "author": [{"family": "O'Neil", "given": "Seán"}], "volume": "4", "issue": "2", "page": "10-20",
     "issued": {"date-parts": [[2001]]}},
    {"id": "storm", "type": "article-newspaper", "title": "the storm -- a report... #1", "container-title": "harbor daily news",
     "page": "A1", "issued": {"date-parts": [[1997, 1, 12]]}},
    {"id": "tolstoy", "type": "book", "title": "война и мир", "author": [{"family": "Толстой", "given": "Лев"}],
     "publisher": "Русский вестник", "publisher-place": "Москва", "issued": {"date-parts": [[1869]]}},
    {"id": "zola", "type": "webpage", "title": "the harbor plan", "container-title": "city news @ home",
     "URL": "http://example.com/a_b_c~d?x=1&y=2", "author": [{"family": "Zola", "given": "Émile"}],
     "issued": {"date-parts": [[2001, 9, 9]]}, "accessed": {"date-parts": [[2002, 3, 4]]}},
]

# The lists a reader must show: the heading, then every entry with its italic part between ⟨ and ⟩.
EXPECTED = {
    "mla": ("Works Cited", [
        "Carver, Ellen M. ⟨The Lighthouse⟩. Boston: Harbor Press, 1998. ",
        "---. ⟨Tides & Moons: A *field* Guide <2nd>⟩. Boston: Harbor_Press, 1998. ",
        "O'Neil, Seán. \"What's in a \"name\"?\" ⟨Studies in $ and [brackets]⟩ 4.2 (2001): 10-20.",
        "\"The Storm -- a Report... #1.\" ⟨Harbor Daily News⟩ 12 Jan. 1997: A1.",
        "Zola, Émile. \"The Harbor Plan.\" ⟨City News @ Home⟩. 9 Sept. 2001 <http://example.com/a_b_c~d?x=1&y=2>.",
        "Толстой, Лев. ⟨Война И Мир⟩. Москва: Русский вестник, 1869. ",
    ]),
    "apa": ("References", [
        "Carver, E. M. (1998a). ⟨The lighthouse.⟩ Boston: Harbor Press.",
        "Carver, E. M. (1998b). ⟨Tides & moons: A *field* guide <2nd>.⟩ Boston: Harbor_Press.",
        "O'Neil, S. (2001). What's in a \"name\"? ⟨Studies in $ and [brackets], 4⟩(2), 10-20.",
        "The storm -- a report... #1. (1997, January 12). ⟨Harbor Daily News,⟩ p. A1.",
        "Zola, É. (2001, September 9). The harbor plan. ⟨City news @ home.⟩ Retrieved March 4, 2002, from "
        "http://example.com/a_b_c~d?x=1&y=2",
        "Толстой, Л. (1869). ⟨Война и мир.⟩ Москва: Русский вестник.",
    ]),
}

def inches(length):
    """An ODF length ("0.5in", "1.27cm", "-36pt") in inches."""
    match = re.fullmatch(r"(-?[0-9.]+)(in|cm|mm|pt)", length or "")
    if not match:
        return None
    value, unit = float(match.group(1)), match.group(2)
    return value / {"in": 1, "cm": 2.54, "mm": 25.4, "pt": 72}[unit]


def rtf_problems(document, heading, entries):
    found = []
    paragraphs = [p for p in document.paragraphs if document.marked_text(p)]
    if len(paragraphs) != 1 + len(entries):
        return [f"{len(paragraphs)} paragraphs with text, not {1 + len(entries)}"]
    head = paragraphs[0]
    if document.marked_text(head) != heading:
        found.append(f"heading {document.marked_text(head)!r}, expected {heading!r}")
    if document.paragraph_properties(head).get(q("fo", "text-align")) != "center":
        found.append(f"heading not centred: {document.paragraph_properties(head)}")
    for p, expected in zip(paragraphs[1:], entries):
        shown = document.marked_text(p)
        if shown != expected:
            found.append(f"entry {shown!r}, expected {expected!r}")
        props = document.paragraph_properties(p)
        left, indent = inches(props.get(q("fo", "margin-left"))), inches(props.get(q("fo", "text-indent")))
        if left is None or indent is None or abs(left - 0.5) > 0.005 or abs(indent + 0.5) > 0.005:
            found.append(f"{expected[:20]!r}: not a half-inch hanging indent (margin-left {left}, text-indent {indent})")
        if props.get(q("fo", "line-height")) != "200%":
            found.append(f"{expected[:20]!r}: line height {props.get(q('fo', 'line-height'))}, not double")
    return found


def pandoc_paragraphs(blocks):
    """(kind, marked text) of every block of a pandoc JSON document; kind "Header" or "Para"."""
    out = []

    def inlines(items):
        text = ""
        for item in items:
            kind, content = item["t"], item.get("c")
            if kind == "Str":
                text += content
            elif kind in ("Space", "SoftBreak"):
                text += " "
            elif kind == "Emph":
                text += "⟨" + inlines(content) + "⟩"
            else:  # anything else (a link, a quotation, a dash made by smart typography) is wrong
                text += f"[{kind}]"
        return text

    for block in blocks:
        if block["t"] == "Header":
            out.append(("Header", inlines(block["c"][2])))
        elif block["t"] in ("Para", "Plain"):
            out.append(("Para", inlines(block["c"])))
        elif block["t"] == "Div":
            out.extend(pandoc_paragraphs(block["c"][1]))
        else:
            out.append((block["t"], ""))
    return out


def pandoc_problems(pandoc, path, reader, heading, entries):
    ast = json.loads(subprocess.run([pandoc, "-f", reader, "-t", "json", path], capture_output=True, check=True).stdout)
    got = pandoc_paragraphs(ast["blocks"])
    want = [("Header", heading)] + [("Para", e.strip(" ")) for e in entries]
    return [f"{reader}: {g!r}, expected {w!r}" for g, w in zip(got, want) if g != w] + (
        [f"{reader}: {len(got)} blocks, expected {len(want)}"] if len(got) != len(want) else [])


def main():
    citara = sys.argv[1]
    soffice, pandoc = shutil.which("soffice"), shutil.which("pandoc")
    if not soffice or not pandoc:
        print("skipped: LibreOffice (soffice) or pandoc is not installed")
        return 77
    failures = 0
    with tempfile.TemporaryDirectory(prefix="citara_list_") as work:
        sources = os.path.join(work, "sources.json")
        with open(sources, "w", encoding="utf-8") as f:
            json.dump(SOURCES, f, ensure_ascii=False)
        for style in EXPECTED:
            for fmt, ext in (("rtf", "rtf"), ("markdown", "md"), ("html", "html")):
                subprocess.run([citara, "list", "--from", "csl-json", "--style", style, "--format", fmt,
                                "--output", os.path.join(work, f"{style}.{ext}"), sources], check=True)
        out = convert_to_fodt(soffice, work, [os.path.join(work, "mla.rtf"), os.path.join(work, "apa.rtf")])
        for style, (heading, entries) in EXPECTED.items():
            path = os.path.join(out, f"{style}.fodt")
            found = rtf_problems(Document(path), heading, entries) if os.path.exists(path) else ["LibreOffice wrote nothing"]
            found += pandoc_problems(pandoc, os.path.join(work, f"{style}.md"), "markdown", heading, entries)
            found += pandoc_problems(pandoc, os.path.join(work, f"{style}.html"), "html", heading, entries)
            for message in found:
                print(f"FAIL {style}: {message}")
            failures += bool(found)
            if not found:
                print(f"ok   {style}: LibreOffice shows the RTF list, pandoc reads the Markdown and the HTML back")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
