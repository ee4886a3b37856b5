#!/usr/bin/env python3
"""Reads Citara's RTF entries back with LibreOffice, as a writer pasting an entry into a document
sees it: for a book in each of nine scripts, the citara tool writes the MLA entry as RTF, one
headless LibreOffice process converts all of them to flat ODF, and for every entry the test checks
the exact text, that exactly the title is in italics, and that every character is set at 8 pt in
"MS Sans Serif", with the settings for Western, East Asian and complex-script text alike (a
character of a complex script, such as Arabic or Thai, is shown with the complex-script ones).

Usage: rtf_libreoffice_test.py CITARA_BINARY   (exit 0 passed, 1 failed, 77 LibreOffice missing)
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile

from odf_reader import Document, convert_to_fodt, q

# Book saved data by script: last name, first name, title as typed, place, publisher, year, and the
# MLA entry LibreOffice must show, with its italic part between asterisks.
ROWS = [
    ("Latin", "Dvořák", "Antonín", "the new world: a symphony", "Praha", "Supraphon", "1893",
     "Dvořák, Antonín. *The New World: A Symphony*. Praha: Supraphon, 1893. "),
    ("Greek", "Καζαντζάκης", "Νίκος", "ο καπετάν μιχάλης", "Αθήνα", "Κέδρος", "1953",
     "Καζαντζάκης, Νίκος. *Ο Καπετάν Μιχάλης*. Αθήνα: Κέδρος, 1953. "),
    ("Cyrillic", "Толстой", "Лев", "война и мир", "Москва", "Русский вестник", "1869",
     "Толстой, Лев. *Война И Мир*. Москва: Русский вестник, 1869. "),
    ("Arabic", "محفوظ", "نجيب", "بين القصرين", "القاهرة", "مكتبة مصر", "1956",
     "محفوظ, نجيب. *بين القصرين*. القاهرة: مكتبة مصر, 1956. "),
    ("Hebrew", "עגנון", "שמואל יוסף", "תמול שלשום", "ירושלים", "שוקן", "1945",
     "עגנון, שמואל יוסף. *תמול שלשום*. ירושלים: שוקן, 1945. "),
    ("Devanagari", "प्रेमचंद", "मुंशी", "गोदान", "बनारस", "सरस्वती प्रेस", "1936",
     "प्रेमचंद, मुंशी. *गोदान*. बनारस: सरस्वती प्रेस, 1936. "),
    ("Thai", "สุนทรภู่", "พระ", "พระอภัยมณี", "กรุงเทพ", "คุรุสภา", "1870",
     "สุนทรภู่, พระ. *พระอภัยมณี*. กรุงเทพ: คุรุสภา, 1870. "),
    ("CJK", "魯迅", "周樹人", "吶喊", "北京", "新潮社", "1923",
     "魯迅, 周樹人. *吶喊*. 北京: 新潮社, 1923. "),
    # Beyond U+FFFF: Deseret (a cased alphabet, raised as Latin is) and a CJK Extension B ideograph.
    ("Beyond U+FFFF", "𠮷田", "𐐓𐐱𐑉𐐲", "𐐸𐐮𐑅𐐻𐐲𐑉𐐨 𐑂 𐐺𐐮𐑉𐐼𐑆", "𐐝𐐱𐑊𐐻", "𐐔𐐯𐑆𐐨𐑉𐐯𐐻", "1869",
     "𠮷田, 𐐓𐐱𐑉𐐲. *𐐐𐐮𐑅𐐻𐐲𐑉𐐨 𐐚 𐐒𐐮𐑉𐐼𐑆*. 𐐝𐐱𐑊𐐻: 𐐔𐐯𐑆𐐨𐑉𐐯𐐻, 1869. "),
]

# What every character must show, in each of the three kinds of script: (font, size, posture).
KINDS = {
    "Western": (("style", "font-name"), ("fo", "font-size"), ("fo", "font-style")),
    "East Asian": (("style", "font-name-asian"), ("style", "font-size-asian"), ("style", "font-style-asian")),
    "complex": (("style", "font-name-complex"), ("style", "font-size-complex"), ("style", "font-style-complex")),
}
FONT = "MS Sans Serif"
SIZE = "8pt"


def saved_data(last, first, title, place, publisher, year):
    lines = [f"Title:={title}", f"Place of Printing:={place}", f"Publishing Company:={publisher}",
             f"Year:={year}", f"*Author0Last={last}", f"*Author0First={first}", "*Author0MI="]
    return "".join(line + "\r\n" for line in lines)


def problems(document, expected):
    """What differs from the expected entry, as messages (none when LibreOffice shows it right)."""
    begin = expected.index("*")
    end = expected.index("*", begin + 1) - 1
    text = expected.replace("*", "")
    filled = [p for p in document.paragraphs if document.text(p)]
    if len(filled) != 1:
        return [f"{len(filled)} paragraphs with text, not 1"]
    chars = document.characters(filled[0])
    shown = "".join(ch for ch, _ in chars)
    if shown != text:
        return [f"text {shown!r}, expected {text!r}"]
    found = []
    for kind, (font_key, size_key, style_key) in KINDS.items():
        fonts, sizes, upright, slanted = set(), set(), "", ""
        for i, (ch, props) in enumerate(chars):
            font = document.fonts.get(props.get(q(*font_key)), props.get(q(*font_key)))
            if kind != "East Asian" and font != FONT:  # the East Asian font is left to the reader
                fonts.add(font)
            if props.get(q(*size_key)) != SIZE:
                sizes.add(props.get(q(*size_key)))
            italic = props.get(q(*style_key), "normal") == "italic"
            if begin <= i < end and not italic:
                upright += ch
            if not begin <= i < end and italic:
                slanted += ch
        found += [f"{kind} font {font!r}" for font in sorted(fonts, key=str)]
        found += [f"{kind} size {size}" for size in sorted(sizes, key=str)]
        found += [f"{kind} settings leave {upright!r} of the title upright"] if upright else []
        found += [f"{kind} settings set {slanted!r} outside the title in italics"] if slanted else []
    return found


def main():
    citara = sys.argv[1]
    soffice = shutil.which("soffice")
    if not soffice:
        print("skipped: LibreOffice (soffice) is not installed")
        return 77
    failures = 0
    with tempfile.TemporaryDirectory(prefix="citara_lo_") as work:
        for n, (script, *fields, expected) in enumerate(ROWS):
            entry = subprocess.run([citara, "entry", "--control", "Book", "--style", "mla"],
                                   input=saved_data(*fields).encode(), capture_output=True, check=True).stdout
            with open(os.path.join(work, f"{n:02d}.rtf"), "wb") as f:
                f.write(entry)
        out = convert_to_fodt(soffice, work, sorted(glob.glob(os.path.join(work, "*.rtf"))))
        for n, (script, *_, expected) in enumerate(ROWS):
            path = os.path.join(out, f"{n:02d}.fodt")
            found = problems(Document(path), expected) if os.path.exists(path) else ["LibreOffice wrote nothing"]
            for message in found:
                print(f"FAIL {script}: {message}")
            failures += bool(found)
            if not found:
                print(f"ok   {script}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
