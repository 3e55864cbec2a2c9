#!/usr/bin/env python3
"""Draws the pictures of the default folder icons into resources/folder-icons/.

Each picture is a 120x120 PNG: our own folder drawing, tinted by multiplying its untinted greys
with one of the designer's eight tint colours (the same composition the designer uses), with a
plain symbol on its front taken from Debian's Font Awesome (fonts-font-awesome; generic glyphs
only, never a brand mark). The SVG is rendered with libvips (libvips-tools). Run it after changing
a drawing and commit the PNG files it writes; the build only embeds those files.
"""

import pathlib
import re
import subprocess
import sys
import tempfile

OUT = pathlib.Path(__file__).resolve().parent.parent / "resources" / "folder-icons"
FONT = pathlib.Path("/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.svg")
SIDE = 120

# The designer's tint colours, in swatch order (the second colour of each pair). The two system
# colours are the desktop's usual green and orange.
TINTS = [
    (1.0, 0.151, 0.0),
    (0.263, 0.263, 0.258),
    (0.204, 0.780, 0.349),
    (0.995, 0.989, 0.016),
    (0.997, 0.491, 0.473),
    (0.845, 0.515, 1.0),
    (1.0, 0.584, 0.0),
    (0.58, 0.324, 0.0),
]

# Icon value -> symbol glyph. The brand-named entries get a generic symbol of what they stand for.
SYMBOLS = [
    ("foldericon", "heart"),
    ("google", "search"),
    ("java", "coffee"),
    ("qq", "comment"),
    ("zapier", "bolt"),
    ("pyq", "camera"),
    ("html5", "code"),
    ("twitter", "retweet"),
    ("ding", "bell_alt"),
    ("skype", "phone"),
    ("apple", "laptop"),
    ("share", "share_alt"),
    ("wechat", "comments"),
    ("weibo", "bullhorn"),
    ("youtube", "play"),
    ("wepay", "jpy"),
    ("react", "cogs"),
    ("erji", "headphones"),
    ("question", "question"),
    ("star", "star"),
]
# Records of older configurations may name the first icon by its key.
ALIASES = {"love": "foldericon"}

# The untinted folder: light greys, so that the multiply keeps the tint's hue.
BACK, FRONT, EDGE = (0.74, 0.74, 0.74), (0.95, 0.95, 0.95), (1.0, 1.0, 1.0)


def multiply(base, tint):
    return tuple(b * t for b, t in zip(base, tint))


def hex_colour(rgb):
    return "#" + "".join(f"{round(max(0.0, min(1.0, c)) * 255):02x}" for c in rgb)


def luminance(rgb):
    return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2]


def glyphs():
    text = FONT.read_text(encoding="utf-8")
    found = {}
    for tag in re.findall(r"<glyph\b[^>]*>", text):
        name = re.search(r'glyph-name="([^"]+)"', tag)
        path = re.search(r'\bd="([^"]+)"', tag)
        if name and path:
            adv = re.search(r'horiz-adv-x="([0-9.]+)"', tag)
            found[name.group(1)] = (path.group(1), float(adv.group(1)) if adv else 1536.0)
    return found


def picture(tint, glyph):
    back, front = multiply(BACK, tint), multiply(FRONT, tint)
    edge = multiply(EDGE, tint)
    symbol = (1.0, 1.0, 1.0) if luminance(front) < 0.45 else tuple(c * 0.42 for c in front)
    d, advance = glyph
    # Font units are y-up with 1792 to the em; glyphs sit around y = 640. The symbol is 40 px.
    scale = 40 / 1536
    cx, cy = 60, 71
    transform = (f"translate({cx - advance * scale / 2:.3f} {cy + 640 * scale:.3f}) "
                 f"scale({scale:.5f} {-scale:.5f})")
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIDE}" height="{SIDE}" '
        f'viewBox="0 0 {SIDE} {SIDE}">'
        f'<path d="M10 24a6 6 0 0 1 6-6h28l8 9h52a6 6 0 0 1 6 6v58H10z" fill="{hex_colour(back)}"/>'
        f'<rect x="8" y="36" width="104" height="70" rx="7" fill="{hex_colour(front)}"/>'
        f'<rect x="8" y="36" width="104" height="3" rx="1.5" fill="{hex_colour(edge)}" '
        f'opacity="0.7"/>'
        f'<path transform="{transform}" d="{d}" fill="{hex_colour(symbol)}"/>'
        "</svg>\n"
    )


def main():
    if not FONT.exists():
        sys.exit(f"{FONT} is missing: install fonts-font-awesome")
    table = glyphs()
    OUT.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        drawn = {}
        for index, (name, glyph) in enumerate(SYMBOLS):
            svg = pathlib.Path(scratch) / f"{name}.svg"
            svg.write_text(picture(TINTS[index % len(TINTS)], table[glyph]), encoding="utf-8")
            drawn[name] = svg
        for alias, name in ALIASES.items():
            drawn[alias] = drawn[name]
        for name, svg in sorted(drawn.items()):
            # Strip metadata so that a run on another machine writes the same bytes.
            subprocess.run(["vips", "copy", str(svg), f"{OUT / (name + '.png')}[strip]"],
                           check=True)
    print(f"wrote {len(drawn)} pictures to {OUT}")


if __name__ == "__main__":
    main()
