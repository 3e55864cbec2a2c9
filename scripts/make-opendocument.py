#!/usr/bin/env python3
"""Writes the blank OpenDocument text, spreadsheet and presentation that new files are made from.

Usage: make-opendocument.py FOLDER  (writes FOLDER/Untitled.odt, .ods, .odp)

The build runs it; the documents are what LibreOffice itself writes, cut to the parts the format
requires: the uncompressed "mimetype" entry first, the manifest, the content and the styles.
"""
import sys
import zipfile
from pathlib import Path

NAMESPACES = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
    'xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0" '
    'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
    'office:version="1.3"'
)
HEADER = '<?xml version="1.0" encoding="UTF-8"?>\n'

# A presentation's pages need a master page, and a master page its page layout.
PRESENTATION_STYLES = (
    '<office:automatic-styles><style:page-layout style:name="PM1">'
    '<style:page-layout-properties fo:page-width="28cm" fo:page-height="15.75cm" '
    'style:print-orientation="landscape"/></style:page-layout></office:automatic-styles>'
    '<office:master-styles><style:master-page style:name="Default" '
    'style:page-layout-name="PM1"/></office:master-styles>')
TEXT_STYLES = (
    '<office:automatic-styles><style:page-layout style:name="pm1">'
    '<style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" '
    'fo:margin-top="2cm" fo:margin-bottom="2cm" fo:margin-left="2cm" fo:margin-right="2cm"/>'
    '</style:page-layout></office:automatic-styles>'
    '<office:master-styles><style:master-page style:name="Standard" '
    'style:page-layout-name="pm1"/></office:master-styles>')

DOCUMENTS = {
    "odt": ("application/vnd.oasis.opendocument.text",
            '<office:text><text:p/></office:text>', TEXT_STYLES),
    "ods": ("application/vnd.oasis.opendocument.spreadsheet",
            '<office:spreadsheet><table:table table:name="Sheet1"><table:table-column/>'
            '<table:table-row><table:table-cell/></table:table-row></table:table>'
            '</office:spreadsheet>', ""),
    "odp": ("application/vnd.oasis.opendocument.presentation",
            '<office:presentation><draw:page draw:name="page1" draw:master-page-name="Default"/>'
            '</office:presentation>', PRESENTATION_STYLES),
}


def manifest(media_type):
    entries = [("/", media_type), ("content.xml", "text/xml"), ("styles.xml", "text/xml")]
    rows = "".join(
        f' <manifest:file-entry manifest:full-path="{path}" manifest:media-type="{kind}"'
        + (' manifest:version="1.3"' if path == "/" else "") + "/>\n"
        for path, kind in entries)
    return (HEADER + '<manifest:manifest '
            'xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
            'manifest:version="1.3">\n' + rows + "</manifest:manifest>\n")


def write(path, media_type, body, styles):
    content = (HEADER + f"<office:document-content {NAMESPACES}>"
               f"<office:body>{body}</office:body></office:document-content>\n")
    styles_xml = (HEADER + f"<office:document-styles {NAMESPACES}>{styles}"
                  "</office:document-styles>\n")
    # A fixed date: the same input always gives the same bytes.
    stamp = (2024, 1, 1, 0, 0, 0)
    with zipfile.ZipFile(path, "w") as z:
        z.writestr(zipfile.ZipInfo("mimetype", date_time=stamp), media_type,
                   compress_type=zipfile.ZIP_STORED)
        for name, text in (("META-INF/manifest.xml", manifest(media_type)),
                           ("content.xml", content), ("styles.xml", styles_xml)):
            z.writestr(zipfile.ZipInfo(name, date_time=stamp), text,
                       compress_type=zipfile.ZIP_DEFLATED)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for ext, (media_type, body, styles) in DOCUMENTS.items():
        write(folder / f"Untitled.{ext}", media_type, body, styles)


if __name__ == "__main__":
    main()
