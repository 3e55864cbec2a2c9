#!/usr/bin/env python3
"""Writes the bundled menu icons to resources/icons/.

Every icon is a 24x24 line drawing in one mid grey, so it reads on light and dark menus alike.
Glyphs are drawn here on a 24x24 grid; document, application and folder-icon badges are composed
from a shared outline plus a glyph or a short label. Run it after changing a drawing and commit the
SVG files it writes; the build only embeds those files.
"""

import math
import pathlib

GREY = "#5f6368"
OUT = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"


def svg(body):
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" '
        f'fill="none" stroke="{GREY}" stroke-width="1.5" stroke-linecap="round" '
        f'stroke-linejoin="round">{body}</svg>\n'
    )


def path(d):
    return f'<path d="{d}"/>'


def dot(x, y, r=1.0):
    return f'<circle cx="{x}" cy="{y}" r="{r}" fill="{GREY}" stroke="none"/>'


def label(text, y, size, x=12):
    return (
        f'<text x="{x}" y="{y}" font-family="sans-serif" font-weight="bold" font-size="{size}" '
        f'text-anchor="middle" fill="{GREY}" stroke="none">{text}</text>'
    )


def fmt(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def polygon(points):
    return path("M" + "L".join(f"{fmt(x)} {fmt(y)}" for x, y in points) + "z")


def star(cx, cy, outer):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else outer * 0.45
        a = math.radians(-90 + 36 * i)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def gear(cx, cy, outer, inner, teeth=8):
    pts = []
    step = 360 / teeth
    for k in range(teeth):
        base = step * k
        for off, r in ((-step / 2 + 5, inner), (-8, outer), (8, outer), (step / 2 - 5, inner)):
            a = math.radians(base + off)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def inset(glyph, scale, cx=12, cy=13.4):
    """Draws a full-size glyph shrunk into the body of the folder outline."""
    tx, ty = cx - 12 * scale, cy - 12 * scale
    return (f'<g transform="translate({fmt(tx)} {fmt(ty)}) scale({scale})" '
            f'stroke-width="{fmt(1.5 / scale)}">{glyph}</g>')


DOC = path("M5.5 2.75h8.5l4.5 4.5v14h-13z") + path("M14 2.75v4.5h4.5")
FOLDER = path("M2.75 5.25h6.5l2 2.25h10v11.75H2.75z")
SQUARE = '<rect x="3" y="3" width="18" height="18" rx="4.5"/>'
TERMINAL = '<rect x="2.75" y="4.25" width="18.5" height="15.5" rx="2"/>' + path("M6.5 9.5l3 2.5-3 2.5")
EYE = path("M2.5 12s3.5-6.25 9.5-6.25S21.5 12 21.5 12s-3.5 6.25-9.5 6.25S2.5 12 2.5 12z") + \
    '<circle cx="12" cy="12" r="2.75"/>'
HEART = path("M12 19.5s-7.5-4.4-7.5-9.5a4 4 0 0 1 7.5-2 4 4 0 0 1 7.5 2c0 5.1-7.5 9.5-7.5 9.5z")
LOCK_BODY = '<rect x="5" y="10.5" width="14" height="10.5" rx="2"/>' + path("M12 14.5v2.5")

GLYPHS = {
    "newfile": DOC + path("M12 11v7M8.5 14.5h7"),
    "favorites": FOLDER + star(12, 13.4, 3.75),
    "app": "".join(f'<rect x="{x}" y="{y}" width="6.5" height="6.5" rx="1.5"/>'
                   for x in (4, 13.5) for y in (4, 13.5)),
    "foldericon": FOLDER + inset(HEART, 0.42),
    "script": DOC + path("M8.75 12.5l2.5 2.25-2.5 2.25M13 17h3"),
    "copy": '<rect x="8.5" y="8.5" width="12" height="12" rx="2"/>'
            + path("M15.5 8.5v-3a2 2 0 0 0-2-2h-8a2 2 0 0 0-2 2v8a2 2 0 0 0 2 2h3"),
    "move": FOLDER + path("M8 13.5h7.5M12.75 10.75l2.75 2.75-2.75 2.75"),
    "convert": path("M4 10a8 8 0 0 1 14.5-3.5M20 14a8 8 0 0 1-14.5 3.5")
               + path("M18.75 2.75v4h-4M5.25 21.25v-4h4"),
    "cut": '<circle cx="6.5" cy="17.5" r="2.75"/><circle cx="17.5" cy="17.5" r="2.75"/>'
           + path("M8.5 15.5L17.5 3.5M15.5 15.5L6.5 3.5"),
    "paste": '<rect x="5" y="4.5" width="14" height="17" rx="2"/>'
             + '<rect x="9" y="2.75" width="6" height="3.5" rx="1"/>'
             + path("M8.5 11h7M8.5 14.5h7M8.5 18h4"),
    "lock": LOCK_BODY + path("M8 10.5v-3a4 4 0 0 1 8 0v3"),
    "unlock": LOCK_BODY + path("M8 10.5v-3a4 4 0 0 1 7.75-1.4"),
    "compress": '<rect x="3.5" y="4" width="17" height="5" rx="1"/>'
                + path("M5 9v10.5h14V9") + '<rect x="10" y="12" width="4" height="4.5" rx="1"/>',
    "embed": FOLDER + path("M12 10v6.5M9.25 13.75L12 16.5l2.75-2.75"),
    "unembed": FOLDER + path("M12 17v-6.5M9.25 13.25L12 10.5l2.75 2.75"),
    "colorpicker": path("M4 20l.75-2.75 9.5-9.5 2 2-9.5 9.5z") + path("M12.75 6.25l5 5")
                   + path("M15 7l2.25-2.25a1.9 1.9 0 0 1 2.75 2.75L17.75 9.75"),
    "img": '<rect x="3.5" y="4.5" width="17" height="15" rx="2"/><circle cx="9" cy="9.5" r="1.75"/>'
           + path("M3.5 17l5-5 4 4 2.5-2.5 5.5 5.5"),
    "fileinfo": DOC + path("M12 12v5.5") + dot(12, 9.5, 0.9),
    "terminal": TERMINAL + path("M11.5 15h5"),
    "iterm2": TERMINAL + path("M12.5 10.25a1.75 1.75 0 0 1 3.5 0c0 1.75-3.5 2.75-3.5 4.75H16"),
    "copypath": path("M10 14a3.5 3.5 0 0 0 5 0l3-3a3.5 3.5 0 0 0-5-5l-1 1")
                + path("M14 10a3.5 3.5 0 0 0-5 0l-3 3a3.5 3.5 0 0 0 5 5l1-1"),
    "delete": path("M4 6.5h16M9.5 6.5v-2h5v2M6 6.5l1 14h10l1-14M10 10.5V17M14 10.5V17"),
    "hidefile": EYE + path("M4 4l16 16"),
    "showfile": EYE,
    "about": '<circle cx="12" cy="12" r="9"/>' + path("M12 11v5.5") + dot(12, 7.75, 0.9),
    "set": gear(12, 12, 9.5, 7.25) + '<circle cx="12" cy="12" r="3"/>',
    "add": '<circle cx="12" cy="12" r="9"/>' + path("M12 7.5v9M7.5 12h9"),
    "folder": FOLDER,
    "file": DOC + path("M8.5 12.5h7M8.5 16h7"),
    "icon": '<rect x="3.5" y="3.5" width="17" height="17" rx="4"/>' + star(12, 12.5, 5),
    "showfinder": path("M2.75 19.25v-14h6.5l2 2.25h8v3") + path("M2.75 19.25l3-8.75h15.5l-3 8.75z"),
    "choose": FOLDER + dot(8.5, 13.5) + dot(12, 13.5) + dot(15.5, 13.5),
    "more": dot(5.5, 12, 1.6) + dot(12, 12, 1.6) + dot(18.5, 12, 1.6),
    "recover": path("M4.75 9.5A8 8 0 1 1 4 14") + path("M4.5 4.5v5h5"),
    "clear": path("M4 6.5h12M4 11.5h12M4 16.5h6") + path("M14.5 14.5l5 5M19.5 14.5l-5 5"),
    "pro": path("M4 13c0-5 4-8.5 8.5-8.5S20 8 20 12.5 16.5 20 11.5 20 4 17.5 4 13z")
           + path("M9 10.5h6M9 13.5h6M9 16.5h3.5"),
}

# New-file templates and common file types: a page with the type's short name on it.
DOCUMENTS = {
    "txt": "TXT", "rtf": "RTF", "json": "JSON", "docx": "DOC", "xlsx": "XLS", "pptx": "PPT",
    "pages": "PGS", "numbers": "NUM", "key": "KEY", "md": "MD", "wps": "WPS", "et": "ET",
    "dps": "DPS", "html": "HTML", "xml": "XML", "css": "CSS", "js": "JS", "py": "PY", "sh": "SH",
    "pdf": "PDF", "png": "PNG", "jpg": "JPG", "zip": "ZIP",
}

# Open-with applications: a neutral rounded badge with letters, not the application's own mark.
APPLICATIONS = {
    "weixin": "WX", "vscode": "VS", "sublime": "S", "studio": "AS", "idea": "IJ", "webstorm": "WS",
    "pycharm": "PC", "phpstorm": "PS", "goland": "GO", "warp": "W", "emacs": "E",
}

# Folder-icon images: the folder outline with a plain glyph or letters.
SHARE = ('<circle cx="17" cy="6" r="2.5"/><circle cx="7" cy="12" r="2.5"/>'
         '<circle cx="17" cy="18" r="2.5"/>' + path("M9.25 10.9l5.5-3.3M9.25 13.1l5.5 3.3"))
HEADPHONES = path("M4.5 17v-4a7.5 7.5 0 0 1 15 0v4") + \
    '<rect x="3.5" y="14" width="4" height="6.5" rx="1.5"/><rect x="16.5" y="14" width="4" height="6.5" rx="1.5"/>'
QUESTION = path("M8.75 8.75a3.25 3.25 0 1 1 4.5 3c-.85.35-1.25 1-1.25 1.9v.85") + dot(12, 18.25, 1.1)
PLAY = path("M8.5 5.5l10 6.5-10 6.5z")
FOLDER_GLYPHS = {
    "love": HEART.replace("/>", f' fill="{GREY}"/>'), "share": SHARE, "erji": HEADPHONES,
    "question": QUESTION, "star": star(12, 12.5, 9), "youtube": PLAY,
}
FOLDER_LETTERS = {
    "google": "G", "java": "J", "qq": "QQ", "zapier": "Z", "pyq": "PY", "html5": "H5",
    "twitter": "T", "ding": "D", "skype": "S", "apple": "A", "wechat": "W", "weibo": "WB",
    "wepay": "¥", "react": "R",
}


def letter_size(text, sizes):
    return sizes[min(len(text), len(sizes)) - 1]


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    icons = dict(GLYPHS)
    for name, text in DOCUMENTS.items():
        icons[name] = DOC + label(text, 17.75, letter_size(text, (6.5, 6, 4.75, 3.75)))
    for name, text in APPLICATIONS.items():
        icons[name] = SQUARE + label(text, 15.5, letter_size(text, (10, 8)))
    for name, glyph in FOLDER_GLYPHS.items():
        icons[name] = FOLDER + inset(glyph, 0.42)
    for name, text in FOLDER_LETTERS.items():
        icons[name] = FOLDER + label(text, 16.4, letter_size(text, (8, 6.5)))
    for name, body in sorted(icons.items()):
        (OUT / f"{name}.svg").write_text(svg(body), encoding="utf-8")
    print(f"wrote {len(icons)} icons to {OUT}")


if __name__ == "__main__":
    main()
