#!/usr/bin/env python3
"""Prints Citara's entries in a registry export (reg export of HKEY_CLASSES_ROOT), one line each.

An entry is Citara's when its key names a GUID of the servers' IDL files or starts with a ProgID
of theirs (Citara. or CitaraWeb.). Key names are printed in lower case, paths reduced to the
file's name (InprocServer32's, which is a short path where the long one has a space, to a mark),
so that a server registered by regsvr32 from a build folder and one installed under Program Files
compare alike.
Usage: registry_entries.py EXPORT.reg IDL...
"""
import re
import sys

PATH_KEYS = ("\\toolboxbitmap32", "\\win32", "\\win64")


def main(export, idls):
    guids = set()
    for idl in idls:
        guids |= {g.upper() for g in re.findall(r"uuid\(([0-9A-Fa-f-]{36})\)", open(idl, encoding="utf-8").read())}
    text = open(export, "rb").read()
    text = text.decode("utf-16") if text.startswith(b"\xff\xfe") else text.decode("utf-8")
    lines, key = [], None
    for raw in text.splitlines():
        if raw.startswith("["):
            path = raw.strip("[]")
            relative = path.split("\\", 1)[1] if "\\" in path else ""
            ours = any(g in relative.upper() for g in guids) or re.match(r"(?i)citara(web)?\.", relative)
            key = relative.lower() if ours else None  # key names are case-blind
            if key:
                lines.append(f"{key}")
        elif key and "=" in raw:
            name, value = raw.split("=", 1)
            value = value.strip('"').replace("\\\\", "\\")
            lower = key.lower()
            if lower.endswith("\\inprocserver32") and name == "@":
                value = "<the server's path>"  # the short form when the path has a space
            elif lower.endswith(PATH_KEYS) and name == "@":
                value = re.split(r"[\\/]", value)[-1]  # the file's name (and ",N")
            elif lower.endswith("\\helpdir"):
                value = "<folder>"
            elif lower.endswith("\\flags"):
                continue  # OLE Automation's own rendering of the library flags (Wine's differs from Windows')
            if name == "@" and value == "":
                continue  # an empty default value is a key that only has to exist
            lines.append(f"{key}: {name}={value}")
    print("\n".join(sorted(lines)))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
