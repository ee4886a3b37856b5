"""Reads RTF back the way a writer's word processor shows it: headless LibreOffice converts RTF
files to flat ODF, and `Document` answers what each paragraph shows: its characters with the text
properties in effect, its paragraph properties, its text with the italic runs marked."""

import os
import subprocess
import xml.etree.ElementTree as ET

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
}


def q(prefix, name):
    return f"{{{NS[prefix]}}}{name}"


def convert_to_fodt(soffice, work, rtf_paths):
    """Converts the RTF files with one LibreOffice process into WORK/out/NAME.fodt and returns that
    folder. The process has a profile of its own in WORK, so that neither a user's running
    LibreOffice nor another test run shares it."""
    out = os.path.join(work, "out")
    subprocess.run([soffice, "--headless", "--norestore", f"-env:UserInstallation=file://{work}/profile",
                    "--convert-to", "fodt", "--outdir", out, *rtf_paths],
                   check=True, capture_output=True, timeout=300)
    return out


def _properties(style, kind):
    props = style.find(f"style:{kind}-properties", NS)
    return dict(props.attrib) if props is not None else {}


class Document:
    """A flat ODF text document: its font families, its styles and its paragraphs."""

    def __init__(self, path):
        root = ET.parse(path).getroot()
        self.fonts = {face.get(q("style", "name")): face.get(q("svg", "font-family"), "").strip("'")
                      for face in root.iter(q("style", "font-face"))}
        self.default_text = {}
        for default in root.iter(q("style", "default-style")):
            if default.get(q("style", "family")) == "paragraph":
                self.default_text = _properties(default, "text")
        self.styles = {}  # (family, name) -> (parent name, {"paragraph": ..., "text": ...})
        for style in root.iter(q("style", "style")):
            key = (style.get(q("style", "family")), style.get(q("style", "name")))
            self.styles[key] = (style.get(q("style", "parent-style-name")),
                                {kind: _properties(style, kind) for kind in ("paragraph", "text")})
        body = root.find("office:body/office:text", NS)
        self.paragraphs = [p for p in body.iter() if p.tag in (q("text", "p"), q("text", "h"))]

    def _resolved(self, family, name, kind):
        """The KIND ("paragraph" or "text") properties of a style, its parents' under its own."""
        if not name or (family, name) not in self.styles:
            return {}
        parent, own = self.styles[(family, name)]
        return {**self._resolved(family, parent, kind), **own[kind]}

    def paragraph_properties(self, paragraph):
        return self._resolved("paragraph", paragraph.get(q("text", "style-name")), "paragraph")

    def characters(self, paragraph):
        """(character, text properties in effect) for the paragraph's text, in order."""
        out = []
        base = {**self.default_text,
                **self._resolved("paragraph", paragraph.get(q("text", "style-name")), "text")}

        def walk(element, props):
            if element.tag == q("text", "span"):
                props = {**props, **self._resolved("text", element.get(q("text", "style-name")), "text")}
            if element.tag == q("text", "s"):
                out.extend((" ", props) for _ in range(int(element.get(q("text", "c"), "1"))))
            elif element.tag == q("text", "tab"):
                out.append(("\t", props))
            out.extend((ch, props) for ch in (element.text or ""))
            for child in element:
                walk(child, props)
                out.extend((ch, props) for ch in (child.tail or ""))

        walk(paragraph, base)
        return out

    def text(self, paragraph):
        return "".join(ch for ch, _ in self.characters(paragraph))

    def marked_text(self, paragraph):
        """The paragraph's text with its (Western) italic runs between ⟨ and ⟩."""
        marked, inside = "", False
        for ch, props in self.characters(paragraph):
            italic = props.get(q("fo", "font-style")) == "italic"
            if italic != inside:
                marked += "⟨" if italic else "⟩"
                inside = italic
            marked += ch
        return marked + ("⟩" if inside else "")
