#!/usr/bin/env python3
"""Opens an OpenDocument file the way an office suite starts to: exits 0 when it is one.

Usage: check-opendocument.py FILE...

Independent of the code that wrote the file: only Python's own zip and XML readers.
"""
import sys
import xml.etree.ElementTree as ET
import zipfile

OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
MANIFEST = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"
KINDS = {
    "odt": ("application/vnd.oasis.opendocument.text", "text"),
    "ods": ("application/vnd.oasis.opendocument.spreadsheet", "spreadsheet"),
    "odp": ("application/vnd.oasis.opendocument.presentation", "presentation"),
}


def check(path):
    media_type, body_kind = KINDS[path.rsplit(".", 1)[-1]]
    with zipfile.ZipFile(path) as z:
        if z.testzip() is not None:
            return "a damaged entry"
        first = z.infolist()[0]
        # Readers find the type at a fixed offset: first, uncompressed, without extra field.
        if first.filename != "mimetype" or first.compress_type != zipfile.ZIP_STORED or first.extra:
            return "the mimetype entry is not first and stored"
        if z.read("mimetype").decode("ascii") != media_type:
            return "the wrong media type"
        manifest = ET.fromstring(z.read("META-INF/manifest.xml"))
        entries = {e.get(f"{{{MANIFEST}}}full-path"): e.get(f"{{{MANIFEST}}}media-type")
                   for e in manifest}
        if entries.get("/") != media_type:
            return "the manifest names another type"
        for name in entries:
            if name != "/" and name not in z.namelist():
                return f"the manifest lists a missing {name}"
        content = ET.fromstring(z.read("content.xml"))
        if content.tag != f"{{{OFFICE}}}document-content":
            return "content.xml is not document content"
        if content.find(f"{{{OFFICE}}}body/{{{OFFICE}}}{body_kind}") is None:
            return f"the body holds no {body_kind}"
        if ET.fromstring(z.read("styles.xml")).tag != f"{{{OFFICE}}}document-styles":
            return "styles.xml is not document styles"
    return None


failed = False
for path in sys.argv[1:]:
    try:
        problem = check(path)
    except (OSError, KeyError, IndexError, zipfile.BadZipFile, ET.ParseError) as error:
        problem = str(error) or type(error).__name__
    if problem:
        print(f"{path}: {problem}", file=sys.stderr)
        failed = True
sys.exit(1 if failed or len(sys.argv) < 2 else 0)
