#!/usr/bin/python3
# Makes every picture, sound and the program icon that ship in data.qv and the
# resource script: the 30 JPEGs, three WAVs and kolvex.ico in this folder.
# Run by hand after changing the look: /usr/bin/python3 art/generate.py
# (--check compares the committed files instead, --sheet PNG writes a preview).
"""Kolvex art generator. Pure Pillow + standard library; fixed seeds, so the
same Pillow/FreeType/fonts give the same bytes on every run."""

import argparse
import io
import math
import random
import re
import struct
import sys
import wave
from array import array
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = Path(__file__).resolve().parent
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
# Translated words are often long: the narrower face lets them stay large.
LATIN_LETTERING = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"
CATALOGUES = HERE.parent / "po"

JPEG_QUALITY = 90
GRID_COLOUR = (70, 130, 170)  # the challenge grid behind the menu

# Texture sides. The game uploads one level, no mipmaps, with linear filtering,
# so a texture much larger than its size on screen loses texels and sparkles
# (worst while the field spins). Field cubes stand 60 units deep, about 25
# pixels high; menu halves about 60; credits tiles about 240. Each side is the
# smallest power of two that still carries the detail: everything is drawn
# large and reduced with a proper filter instead.
FIELD_PX = 64
MENU_PX = 128
CREDITS_PX = 256
WORK_PX = 512          # working canvas of one field face
SAMPLE_RATE = 22050

# Piece colours in kind order I, J, L, T, O, S, Z (t1..t7). Saturated and far
# apart in hue so neighbouring settled blocks never blur into one mass.
PIECE_COLOURS = [
    (30, 200, 235),   # I  cyan
    (45, 95, 235),    # J  blue
    (245, 140, 25),   # L  orange
    (165, 65, 215),   # T  purple
    (245, 210, 35),   # O  yellow
    (70, 205, 75),    # S  green
    (230, 50, 50),    # Z  red
]

# Lamp glass per level: cool at level 1, hotter as the pieces speed up.
LAMP_COLOURS = [
    (60, 220, 90),
    (150, 230, 50),
    (250, 220, 40),
    (255, 160, 30),
    (255, 90, 40),
    (235, 45, 120),
    (190, 70, 255),
]

# Every JPEG the archive holds, in the game's slot order.
JPEG_NAMES = (["bk.jpg"] + [f"t{i}.jpg" for i in range(1, 8)] + ["d.jpg", "j.jpg"]
              + [f"l{i}.jpg" for i in range(1, 8)]
              + ["a1.jpg", "a2.jpg", "s1.jpg", "s2.jpg", "o1.jpg", "o2.jpg"]
              + [f"zp{i}.jpg" for i in range(1, 7)] + ["ss1.jpg"])
WAV_NAMES = ["down.wav", "move.wav", "s.wav"]
ICON_NAME = "kolvex.ico"
ICON_SIZES = [16, 24, 32, 48, 256]


# ----------------------------------------------------------------- colour ---

def mix(a, b, t):
    """Blend colour a towards b by t (0..1)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def shade(c, t):
    """t > 0 lightens towards white, t < 0 darkens towards black."""
    return mix(c, (255, 255, 255), t) if t >= 0 else mix(c, (0, 0, 0), -t)


def vgradient(w, h, top, bottom):
    """Vertical two-colour gradient as an RGB image."""
    mask = Image.linear_gradient("L").resize((w, h), Image.BILINEAR)
    return Image.composite(Image.new("RGB", (w, h), bottom),
                           Image.new("RGB", (w, h), top), mask)


def radial(size, inner, outer, centre=(0.5, 0.5), radius=0.5):
    """Radial gradient from inner at centre to outer at radius (fractions)."""
    grad = Image.radial_gradient("L")          # 256x256, 0 at centre, ~255 at r=128
    scale = size * radius / 128.0
    big = grad.resize((max(1, int(256 * scale)),) * 2, Image.BILINEAR)
    mask = Image.new("L", (size, size), 255)
    cx, cy = int(size * centre[0]), int(size * centre[1])
    mask.paste(big, (cx - big.width // 2, cy - big.height // 2))
    return Image.composite(Image.new("RGB", (size, size), outer),
                           Image.new("RGB", (size, size), inner), mask)


def overlay(base, colour, mask):
    """Paint colour over base through an L mask (255 = full colour)."""
    base.paste(Image.new("RGB", base.size, colour), (0, 0), mask)


# ------------------------------------------------------------------- text ---

def font(path, px):
    return ImageFont.truetype(path, px)


def ink_box(text, fnt, stroke):
    img = Image.new("L", (fnt.size * (len(text) + 2), fnt.size * 3))
    ImageDraw.Draw(img).text((fnt.size, fnt.size), text, font=fnt, fill=255,
                             stroke_width=stroke, stroke_fill=255)
    box = img.getbbox()
    return (box[0] - fnt.size, box[1] - fnt.size, box[2] - fnt.size, box[3] - fnt.size)


def place_text(img, centre, text, fnt, stroke, shadow, shadow_offset, shadow_blur):
    """Where text goes for its inked area to sit centred on centre; draws its
    soft shadow there first, if any."""
    l, t, r, b = ink_box(text, fnt, stroke)
    x = centre[0] - (l + r) / 2.0
    y = centre[1] - (t + b) / 2.0
    if shadow is not None:
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).text((x + shadow_offset[0], y + shadow_offset[1]), text,
                                  font=fnt, fill=255, stroke_width=stroke,
                                  stroke_fill=255)
        if shadow_blur:
            mask = mask.filter(ImageFilter.GaussianBlur(shadow_blur))
        overlay(img, shadow, mask)
    return x, y


def mark_grid_corners(img):
    """The challenge grid's outline is drawn with whatever picture was bound
    last, at its corner texel; behind the menu that is the last banner half
    drawn (o2, or a2 while the quit entry blinks). Its corners carry the grid's
    colour, or the outline would vanish into the banner's black surround."""
    size = img.size[0]
    for x in (0, 1, size - 2, size - 1):
        for y in (0, 1, size - 2, size - 1):
            img.putpixel((x, y), GRID_COLOUR)


def draw_text(img, centre, text, fnt, fill, stroke=0, stroke_fill=None,
              shadow=None, shadow_offset=(0, 0), shadow_blur=0):
    """Draw text with its inked area centred on centre; optional soft shadow."""
    x, y = place_text(img, centre, text, fnt, stroke, shadow, shadow_offset, shadow_blur)
    ImageDraw.Draw(img).text((x, y), text, font=fnt, fill=fill, stroke_width=stroke,
                             stroke_fill=stroke_fill if stroke_fill else fill)


def gradient_text(img, centre, text, fnt, top, bottom, stroke, stroke_fill,
                  shadow=None, shadow_offset=(0, 0), shadow_blur=0):
    """Text whose fill runs top→bottom in colour, with an outline."""
    l, t, r, b = ink_box(text, fnt, stroke)
    x, y = place_text(img, centre, text, fnt, stroke, shadow, shadow_offset, shadow_blur)
    outline = Image.new("L", img.size, 0)
    ImageDraw.Draw(outline).text((x, y), text, font=fnt, fill=255,
                                 stroke_width=stroke, stroke_fill=255)
    overlay(img, stroke_fill, outline)
    body = Image.new("L", img.size, 0)
    ImageDraw.Draw(body).text((x, y), text, font=fnt, fill=255)
    grad = Image.new("RGB", img.size, bottom)
    g = vgradient(img.width, int(b - t) + 2, top, bottom)
    grad.paste(Image.new("RGB", (img.width, max(0, int(y + t))), top), (0, 0))
    grad.paste(g, (0, int(y + t)))
    img.paste(grad, (0, 0), body)


# -------------------------------------------------------------- lettering ---

def Lettered(context, text):
    """Marks a picture's text for xgettext (po/update-pot.sh) where it is
    written; the catalogues' msgstrs for it letter each language's picture."""
    return context, text


# The words lettered on pictures, by the picture that carries them.
LETTERED = {
    # TRANSLATORS: the plaque left of the level lamps; with the right one it
    # reads "level" (等级). One short piece of the word: it has a small square.
    "d.jpg": Lettered("level plaque, left", "等"),
    # TRANSLATORS: the plaque right of the level lamps, the rest of "level".
    "j.jpg": Lettered("level plaque, right", "级"),
    # TRANSLATORS: menu, first entry's banner, left half: "classic" (mode).
    "s1.jpg": Lettered("classic banner, left half", "经典"),
    # TRANSLATORS: menu, second entry's banner, left half: "challenge" (mode).
    "ss1.jpg": Lettered("challenge banner, left half", "挑战"),
    # TRANSLATORS: the right half of both game banners: "mode". One picture
    # serves both banners, so it must follow the classic and the challenge
    # halves alike.
    "s2.jpg": Lettered("game banners, right half", "模式"),
    # TRANSLATORS: menu, third entry's banner ("game help"), left half.
    "a1.jpg": Lettered("help banner, left half", "游戏"),
    # TRANSLATORS: menu, third entry's banner ("game help"), right half.
    "a2.jpg": Lettered("help banner, right half", "帮助"),
    # TRANSLATORS: menu, fourth entry's banner ("quit game"), left half.
    "o1.jpg": Lettered("quit banner, left half", "退出"),
    # TRANSLATORS: menu, fourth entry's banner ("quit game"), right half.
    "o2.jpg": Lettered("quit banner, right half", "游戏"),
    # TRANSLATORS: the credits picture shown after quitting: "thank you for
    # playing!". A space or a hyphen lets a long line break in two.
    "credits": Lettered("credits picture", "感谢您的游玩!"),
}
ORIGINAL_TEXTS = {picture: text for picture, (_, text) in LETTERED.items()}

# Translated lettering is never smaller than this at 800 x 600: a capital
# about six pixels high, the least that still reads at a glance.
LEAST_CAPITAL_PX = 6
CAPITAL_SHARE = 0.73  # a Latin capital's height in em


def unquote(chunk):
    """A .po string's text: its quotes gone, its C escapes read."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)),
                  chunk[1:-1])


def read_catalogue(path):
    """(msgctxt, msgid) -> msgstr of a .po file, its header and fuzzy or
    untranslated entries left out (the catalogue check refuses those)."""
    texts, entry, field, fuzzy = {}, {}, None, False

    def finish():
        if entry.get("msgid") and entry.get("msgstr") and not fuzzy:
            texts[(entry.get("msgctxt", ""), entry["msgid"])] = entry["msgstr"]

    for line in path.read_text(encoding="utf-8").splitlines() + [""]:
        line = line.strip()
        if not line:
            finish()
            entry, field, fuzzy = {}, None, False
        elif line.startswith("#,"):
            fuzzy = fuzzy or "fuzzy" in line
        elif line.startswith("#"):
            continue
        elif line.startswith('"'):
            entry[field] += unquote(line)
        else:
            field, _, rest = line.partition(" ")
            entry[field] = unquote(rest.strip())
    return texts


def language_texts(catalogue):
    """Each picture's words in one language: its msgstr, else the original."""
    return {picture: catalogue.get((context, text), text)
            for picture, (context, text) in LETTERED.items()}


def is_cjk(text):
    return any(ord(ch) >= 0x2E80 for ch in text)


def break_choices(text):
    """The text on one line, then split in two at each space or hyphen,
    most even split first."""
    choices = [[text]]
    cuts = [i for i, ch in enumerate(text) if ch in " -"]
    cuts.sort(key=lambda i: abs(len(text) - 2 * i))
    for i in cuts:
        keep = text[i] == "-"
        lines = [text[:i + keep].strip(), text[i + 1:].strip()]
        if all(lines):
            choices.append(lines)
    return choices


def fit_lettering(text, size, box, working_px, screen_px):
    """The face and lines that letter text in box (width, height) of a
    working canvas working_px wide that shows screen_px wide at 800 x 600:
    the original size where it fits, else smaller down to the least legible
    size, on one line or two. A text that cannot fit fails the build."""
    path = CJK_FONT if is_cjk(text) else LATIN_LETTERING
    least = math.ceil(LEAST_CAPITAL_PX / CAPITAL_SHARE * working_px / screen_px)
    for px in list(range(size, least, -max(1, size // 50))) + [least]:
        fnt = font(path, px)
        for lines in break_choices(text):
            boxes = [ink_box(line, fnt, 0) for line in lines]
            wide = max(r - l for l, _, r, _ in boxes)
            high = max(b - t for _, t, _, b in boxes) + line_pitch(fnt) * (len(lines) - 1)
            if wide <= box[0] and high <= box[1]:
                return fnt, lines
    raise SystemExit(f"lettering {text!r} does not fit its picture at a legible size")


def line_pitch(fnt):
    return int(fnt.size * 1.08)


def letter(img, centre, lines, fnt, draw, **style):
    """Draws each line with draw (gradient_text or draw_text), centred on
    centre as a block."""
    pitch = line_pitch(fnt)
    for k, line in enumerate(lines):
        draw(img, (centre[0], centre[1] + (k - (len(lines) - 1) / 2) * pitch), line, fnt, **style)


# ----------------------------------------------------------------- blocks ---

def bevel_square(size, colour, bevel=0.13, outline=0.02, face_light=0.14,
                 face_dark=0.14, gloss=True, ss=4):
    """A block face: lit top/left bevel, shaded bottom/right, domed centre.

    Drawn at ss times the size and reduced, so the mitred bevel edges stay
    smooth when the game shrinks a cube to some 24 pixels on screen."""
    S = size * ss
    b = int(S * bevel)
    o = max(ss, int(S * outline))
    img = Image.new("RGB", (S, S), shade(colour, -0.6))
    d = ImageDraw.Draw(img)
    d.polygon([(o, o), (S - o, o), (S - o - b, o + b), (o + b, o + b)],
              fill=shade(colour, 0.5))                                   # top
    d.polygon([(o, o), (o + b, o + b), (o + b, S - o - b), (o, S - o)],
              fill=shade(colour, 0.28))                                  # left
    d.polygon([(S - o, o), (S - o, S - o), (S - o - b, S - o - b), (S - o - b, o + b)],
              fill=shade(colour, -0.3))                                  # right
    d.polygon([(o, S - o), (o + b, S - o - b), (S - o - b, S - o - b), (S - o, S - o)],
              fill=shade(colour, -0.48))                                 # bottom
    inner = S - 2 * (o + b)
    face = vgradient(inner, inner, shade(colour, face_light), shade(colour, -face_dark))
    img.paste(face, (o + b, o + b))
    if gloss:
        m = Image.new("L", (S, S), 0)
        md = ImageDraw.Draw(m)
        g0 = o + b + inner * 0.08
        md.rounded_rectangle([g0, g0, o + b + inner * 0.62, o + b + inner * 0.24],
                             radius=inner * 0.08, fill=120)
        m = m.filter(ImageFilter.GaussianBlur(S * 0.012))
        overlay(img, (255, 255, 255), m)
    return img.resize((size, size), Image.LANCZOS)


def make_block(colour):
    return bevel_square(FIELD_PX, colour, ss=WORK_PX // FIELD_PX)


def make_wall():
    """Riveted steel plate: darker and quieter than any piece, so the well's
    rim reads as frame, not as settled blocks."""
    size, ss = FIELD_PX, WORK_PX // FIELD_PX
    S = size * ss
    base = (78, 86, 104)
    img = bevel_square(S, base, bevel=0.09, outline=0.02, face_light=0.1,
                       face_dark=0.12, gloss=False, ss=1)
    rng = random.Random(1101)
    grit = Image.new("L", (S // 8, S // 8), 0)
    for y in range(grit.height):
        for x in range(grit.width):
            grit.putpixel((x, y), rng.randint(0, 40))
    grit = grit.resize((S, S), Image.BICUBIC)
    inset = int(S * 0.11)
    m = Image.new("L", (S, S), 0)
    m.paste(grit.crop((inset, inset, S - inset, S - inset)), (inset, inset))
    overlay(img, (20, 24, 34), m)
    d = ImageDraw.Draw(img)
    # Brushed grooves across the plate.
    for k in range(1, 4):
        y = inset + (S - 2 * inset) * k / 4.0
        d.line([(inset + 20, y), (S - inset - 20, y)], fill=shade(base, -0.35), width=6)
        d.line([(inset + 20, y + 6), (S - inset - 20, y + 6)], fill=shade(base, 0.2), width=4)
    r = S * 0.045
    for cx in (S * 0.2, S * 0.8):
        for cy in (S * 0.2, S * 0.8):
            d.ellipse([cx - r + 6, cy - r + 8, cx + r + 6, cy + r + 8], fill=shade(base, -0.55))
            d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=shade(base, 0.35))
            d.ellipse([cx - r * 0.55, cy - r * 0.6, cx + r * 0.2, cy + r * 0.1],
                      fill=shade(base, 0.65))
    return img.resize((size, size), Image.LANCZOS)


# ------------------------------------------------------------ side panels ---

PLAQUE_SCREEN_PX = 30  # a plaque's side at 800 x 600
BANNER_SCREEN_PX = 57  # a banner half's side
CREDITS_SCREEN_PX = 800  # the whole credits picture's width


def plaque_lettering(char, largest=None):
    S = WORK_PX
    return fit_lettering(char, min(int(S * 0.68), largest or S), (int(S * 0.7), int(S * 0.66)), S,
                         PLAQUE_SCREEN_PX)


def make_panel(char, other):
    """One gilt plaque with a single character (or a translation's short
    piece of the word); the two stand either side of the lamp column and read
    等 · 级 above it. Both letter at the size the longer piece (other) fits."""
    size, ss = FIELD_PX, WORK_PX // FIELD_PX
    S = size * ss
    navy = (26, 34, 78)
    img = bevel_square(S, (200, 160, 60), bevel=0.08, outline=0.015, face_light=0.0,
                       face_dark=0.0, gloss=False, ss=1)
    inset = int(S * 0.1)
    face = radial(S - 2 * inset, (58, 74, 150), navy, radius=0.75)
    img.paste(face, (inset, inset))
    d = ImageDraw.Draw(img)
    d.rectangle([inset + 18, inset + 18, S - inset - 18, S - inset - 18],
                outline=(210, 175, 80), width=6)
    fnt, lines = plaque_lettering(char, plaque_lettering(other)[0].size)
    letter(img, (S / 2, S / 2), lines, fnt, gradient_text, top=(255, 244, 200),
           bottom=(236, 186, 70), stroke=int(S * 0.022), stroke_fill=(60, 34, 8),
           shadow=(8, 10, 30), shadow_offset=(10, 12), shadow_blur=8)
    return img.resize((size, size), Image.LANCZOS)


# ------------------------------------------------------------------ lamps ---

def make_lamp(level, colour):
    """A lit round lamp on a dark housing, the level number large on the glass."""
    size, ss = FIELD_PX, WORK_PX // FIELD_PX
    S = size * ss
    img = bevel_square(S, (46, 50, 62), bevel=0.05, outline=0.015, face_light=0.05,
                       face_dark=0.12, gloss=False, ss=1)
    c = S / 2
    # Glow bleeding past the bezel into the housing.
    glow = Image.new("L", (S, S), 0)
    ImageDraw.Draw(glow).ellipse([c - S * 0.5] * 2 + [c + S * 0.5] * 2, fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(S * 0.05))
    overlay(img, colour, glow)
    d = ImageDraw.Draw(img)
    rb = S * 0.465                      # metal bezel
    ring = Image.new("L", (S, S), 0)
    ImageDraw.Draw(ring).ellipse([c - rb, c - rb, c + rb, c + rb], fill=255)
    img.paste(vgradient(S, S, (215, 220, 230), (70, 74, 86)), (0, 0), ring)
    rg = S * 0.405                      # glass
    glass = radial(S, shade(colour, 0.75), shade(colour, -0.35),
                   centre=(0.46, 0.44), radius=0.42)
    gm = Image.new("L", (S, S), 0)
    ImageDraw.Draw(gm).ellipse([c - rg, c - rg, c + rg, c + rg], fill=255)
    d.ellipse([c - rg - 8, c - rg - 8, c + rg + 8, c + rg + 8], fill=(30, 32, 40))
    img.paste(glass, (0, 0), gm)
    fnt = font(LATIN_BOLD, int(S * 0.6))
    draw_text(img, (c, c + S * 0.01), str(level), fnt, (255, 255, 255),
              stroke=int(S * 0.025), stroke_fill=shade(colour, -0.72),
              shadow=shade(colour, -0.8), shadow_offset=(6, 8), shadow_blur=6)
    # Glint on the glass, over the digit like a real dome.
    hm = Image.new("L", (S, S), 0)
    ImageDraw.Draw(hm).ellipse([c - rg * 0.72, c - rg * 0.86, c + rg * 0.1, c - rg * 0.42],
                               fill=110)
    hm = hm.filter(ImageFilter.GaussianBlur(S * 0.02))
    overlay(img, (255, 255, 255), hm)
    return img.resize((size, size), Image.LANCZOS)


# ------------------------------------------------------------------- menu ---

MENU_STYLES = {
    # fill top, fill bottom, border, text top, text bottom
    "play": ((70, 120, 235), (18, 36, 120), (240, 200, 90), (255, 255, 255), (255, 226, 140)),
    "help": ((40, 190, 150), (8, 80, 70), (240, 200, 90), (255, 255, 255), (255, 226, 140)),
    "quit": ((225, 80, 70), (110, 14, 24), (240, 200, 90), (255, 255, 255), (255, 226, 140)),
}


def make_banner(left, right, style):
    """A 4 x 2 banner cut into two square halves; each word is centred in its
    own half so halves from different banners can be paired (s2 serves two)."""
    size, ss = MENU_PX, 4
    W, H = 2 * size * ss, size * ss
    top, bottom, border, ttop, tbot = MENU_STYLES[style]
    img = Image.new("RGB", (W, H), (0, 0, 0))
    m = Image.new("L", (W, H), 0)
    rad = H * 0.2
    pad = H * 0.05
    ImageDraw.Draw(m).rounded_rectangle([pad, pad, W - pad, H - pad], radius=rad, fill=255)
    img.paste(vgradient(W, H, shade(border, 0.3), shade(border, -0.45)), (0, 0), m)
    bw = H * 0.04
    m2 = Image.new("L", (W, H), 0)
    ImageDraw.Draw(m2).rounded_rectangle([pad + bw, pad + bw, W - pad - bw, H - pad - bw],
                                         radius=rad - bw, fill=255)
    img.paste(vgradient(W, H, top, bottom), (0, 0), m2)
    # Glassy sheen over the upper part of the fill.
    sheen = Image.new("L", (W, H), 0)
    ImageDraw.Draw(sheen).rounded_rectangle(
        [pad + bw * 2, pad + bw * 2, W - pad - bw * 2, H * 0.48], radius=rad * 0.7, fill=70)
    sheen = ImageChops.multiply(sheen, m2).filter(ImageFilter.GaussianBlur(4))
    overlay(img, (255, 255, 255), sheen)
    # Each half gets its word and its reduction on its own, so nothing of one
    # word can bleed across the seam into the other half.
    halves = []
    for i, word in enumerate((left, right)):
        half = img.crop((i * H, 0, (i + 1) * H, H))
        fnt, lines = fit_lettering(word, int(H * 0.44), (int(H * 0.88), int(H * 0.62)), H,
                                   BANNER_SCREEN_PX)
        # Nudged towards the seam: the outer side already carries the border.
        letter(half, (H * (0.54 - 0.08 * i), H * 0.5), lines, fnt, gradient_text, top=ttop,
               bottom=tbot, stroke=int(H * 0.018), stroke_fill=shade(bottom, -0.6),
               shadow=shade(bottom, -0.75), shadow_offset=(6, 8), shadow_blur=5)
        halves.append(half.resize((size, size), Image.LANCZOS))
    return halves[0], halves[1]


# ---------------------------------------------------------------- credits ---

# Cells of the seven pieces in their usual spawn pose (column, row).
PIECE_CELLS = {
    0: [(0, 0), (1, 0), (2, 0), (3, 0)],
    1: [(0, 0), (0, 1), (1, 1), (2, 1)],
    2: [(2, 0), (0, 1), (1, 1), (2, 1)],
    3: [(1, 0), (0, 1), (1, 1), (2, 1)],
    4: [(0, 0), (1, 0), (0, 1), (1, 1)],
    5: [(1, 0), (2, 0), (0, 1), (1, 1)],
    6: [(0, 0), (1, 0), (1, 1), (2, 1)],
}


def rotate_cells(cells, turns):
    for _ in range(turns % 4):
        cells = [(-r, c) for c, r in cells]
    mc = min(c for c, _ in cells)
    mr = min(r for _, r in cells)
    return [(c - mc, r - mr) for c, r in cells]


def make_credits(thanks):
    """Six square tiles of one 3 x 2 picture, zp1..zp3 the top row left to
    right. Laid out in a 768 x 512 design space."""
    ss = 2
    W, H = 768 * ss, 512 * ss
    img = vgradient(W, H, (10, 14, 42), (44, 16, 66))
    rng = random.Random(2024)
    d = ImageDraw.Draw(img)
    for _ in range(140):                                  # faint stars
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        r = rng.choice((1.5, 2, 2.5, 3.5))
        v = rng.randint(90, 200)
        d.ellipse([x - r, y - r, x + r, y + r], fill=(v, v, min(255, v + 40)))
    cell = 34 * ss
    blocks = [bevel_square(cell, c) for c in PIECE_COLOURS]
    # Pieces tumbling down the edges, clear of the words in the middle.
    placements = [(0, 1, 30, 20), (3, 0, 180, 24), (6, 1, 610, 30), (4, 0, 690, 150),
                  (2, 3, 20, 300), (5, 0, 640, 300), (1, 2, 110, 400), (3, 2, 560, 410),
                  (0, 0, 300, 446), (6, 0, 470, 8)]
    for kind, turns, px, py in placements:
        for c, r in rotate_cells(PIECE_CELLS[kind], turns):
            img.paste(blocks[kind], (px * ss + c * cell, py * ss + r * cell))
    # Title: one piece colour per letter.
    fnt = font(LATIN_BOLD, 128 * ss)
    title = "Kolvex"
    widths = [ink_box(ch, fnt, 0) for ch in title]
    adv = [fnt.getlength(ch) for ch in title]
    total = sum(adv)
    x = W / 2 - total / 2
    colours = [PIECE_COLOURS[i] for i in (6, 2, 4, 5, 0, 3)]
    for ch, a, col, box in zip(title, adv, colours, widths):
        gradient_text(img, (x + (box[0] + box[2]) / 2, 175 * ss), ch, fnt,
                      shade(col, 0.55), shade(col, -0.1), stroke=5 * ss,
                      stroke_fill=(250, 250, 255), shadow=(0, 0, 0),
                      shadow_offset=(7 * ss, 9 * ss), shadow_blur=6 * ss)
        x += a
    d = ImageDraw.Draw(img)
    d.line([(250 * ss, 262 * ss), (518 * ss, 262 * ss)], fill=(230, 190, 90), width=2 * ss)
    # The English line under the original's thanks would only repeat a
    # translation: a translated picture has the one line, with room for two.
    original = thanks == ORIGINAL_TEXTS["credits"]
    # Clear of the pieces at either side.
    fnt, lines = fit_lettering(thanks, 50 * ss, (480 * ss, (70 if original else 120) * ss), W,
                               CREDITS_SCREEN_PX)
    letter(img, (W / 2, (315 if original else 330) * ss), lines, fnt, gradient_text,
           top=(255, 250, 225), bottom=(250, 205, 100), stroke=2 * ss, stroke_fill=(50, 20, 10),
           shadow=(0, 0, 0), shadow_offset=(3 * ss, 4 * ss), shadow_blur=3 * ss)
    if original:
        draw_text(img, (W / 2, 372 * ss), "Thanks for playing", font(LATIN_BOLD, 30 * ss),
                  (200, 215, 255), shadow=(0, 0, 0), shadow_offset=(2 * ss, 3 * ss),
                  shadow_blur=2 * ss)
    t = CREDITS_PX
    img = img.resize((3 * t, 2 * t), Image.LANCZOS)
    return [img.crop((x0, y0, x0 + t, y0 + t)) for y0 in (0, t) for x0 in (0, t, 2 * t)]


# ------------------------------------------------------------------- icon ---

# 4 x 4 cells, top row first: an I standing at the left, a T landing on an O
# and the end of an L; '.' stays transparent.
ICON_LAYOUT = ["I.T.",
               "ITTT",
               "IOOL",
               "IOOL"]
ICON_KIND = {"I": 0, "T": 3, "O": 4, "L": 2}


def icon_image(size):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    n = 4
    cell = size // n
    for r, row in enumerate(ICON_LAYOUT):
        for c, ch in enumerate(row):
            if ch == ".":
                continue
            col = PIECE_COLOURS[ICON_KIND[ch]]
            if cell >= 12:
                tile = bevel_square(cell, col, bevel=0.16, outline=0.05)
            else:
                # Too small for a mitred bevel: one lit and one shaded pixel edge.
                tile = Image.new("RGB", (cell, cell), col)
                td = ImageDraw.Draw(tile)
                td.line([(0, 0), (cell - 1, 0)], fill=shade(col, 0.5))
                td.line([(0, 0), (0, cell - 1)], fill=shade(col, 0.3))
                td.line([(0, cell - 1), (cell - 1, cell - 1)], fill=shade(col, -0.5))
                td.line([(cell - 1, 0), (cell - 1, cell - 1)], fill=shade(col, -0.35))
            img.paste(tile, (c * cell, r * cell))
    return img


def bmp_icon_entry(img):
    """32-bit BGRA DIB with its AND mask, as icon resources store small sizes."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    rows = []
    for y in range(h - 1, -1, -1):
        rows.append(b"".join(struct.pack("BBBB", px[x, y][2], px[x, y][1], px[x, y][0],
                                         px[x, y][3]) for x in range(w)))
    stride = ((w + 31) // 32) * 4
    mask_rows = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask_rows)


def make_icon():
    entries = []
    for s in ICON_SIZES:
        img = icon_image(s)
        if s == 256:
            buf = io.BytesIO()
            img.save(buf, "PNG", optimize=True)
            data = buf.getvalue()
        else:
            data = bmp_icon_entry(img)
        entries.append((s, data))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for s, data in entries:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


# ----------------------------------------------------------------- sounds ---

def envelope(n, attack, release):
    """Linear fade-in over attack samples and fade-out over release samples."""
    return [min(1.0, i / attack if attack else 1.0, (n - 1 - i) / release if release else 1.0)
            for i in range(n)]


def to_wav(samples, peak):
    top = max(abs(s) for s in samples) or 1.0
    pcm = array("h", (int(round(s / top * peak * 32767)) for s in samples))
    if sys.byteorder != "little":
        pcm.byteswap()
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SAMPLE_RATE)
        w.writeframes(pcm.tobytes())
    return buf.getvalue()


def make_chime():
    """Two bright bell strokes a fifth apart: the row is gone."""
    n = int(SAMPLE_RATE * 0.42)
    out = [0.0] * n
    for start, f, amp in ((0.0, 1318.5, 1.0), (0.075, 1975.5, 0.9)):
        s0 = int(start * SAMPLE_RATE)
        for i in range(s0, n):
            t = (i - s0) / SAMPLE_RATE
            env = math.exp(-t / 0.11)
            out[i] += amp * env * (math.sin(2 * math.pi * f * t)
                                   + 0.35 * math.sin(2 * math.pi * 2 * f * t)
                                   + 0.12 * math.sin(2 * math.pi * 3.01 * f * t))
    env = envelope(n, int(0.003 * SAMPLE_RATE), int(0.04 * SAMPLE_RATE))
    return to_wav([a * e for a, e in zip(out, env)], 0.7)


def make_click():
    """A soft, low 'tock' with a breath of noise: the piece turns."""
    n = int(SAMPLE_RATE * 0.07)
    rng = random.Random(77)
    out = []
    lp = 0.0
    phase = 0.0
    for i in range(n):
        t = i / SAMPLE_RATE
        f = 520 + 380 * math.exp(-t / 0.012)       # pitch drops as it decays
        phase += 2 * math.pi * f / SAMPLE_RATE
        lp += 0.25 * (rng.uniform(-1, 1) - lp)      # one-pole low-pass noise
        out.append(math.exp(-t / 0.014) * (math.sin(phase) + 0.35 * lp))
    env = envelope(n, int(0.0015 * SAMPLE_RATE), int(0.015 * SAMPLE_RATE))
    return to_wav([a * e for a, e in zip(out, env)], 0.45)


def make_tick():
    """A short high tick for moving through the menu."""
    n = int(SAMPLE_RATE * 0.06)
    out = []
    for i in range(n):
        t = i / SAMPLE_RATE
        out.append(math.exp(-t / 0.011) * (math.sin(2 * math.pi * 1760 * t)
                                           + 0.25 * math.sin(2 * math.pi * 3520 * t)))
    env = envelope(n, int(0.0015 * SAMPLE_RATE), int(0.012 * SAMPLE_RATE))
    return to_wav([a * e for a, e in zip(out, env)], 0.5)


# ------------------------------------------------------------- checking ---

def is_pow2(v):
    return v > 0 and v & (v - 1) == 0


def check_jpeg(name, data):
    """Baseline, 8-bit, three components, power-of-two sides up to 256."""
    assert data[:2] == b"\xff\xd8", name + ": not a JPEG"
    pos, sof = 2, None
    while pos < len(data):
        assert data[pos] == 0xFF, name + ": broken marker chain"
        marker = data[pos + 1]
        if marker == 0xDA:
            break
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            assert sof is None, name + ": two frame headers"
            sof = (marker,) + struct.unpack(">BHHB", data[pos + 4:pos + 10])
        pos += 2 + length
    assert sof is not None, name + ": no frame header"
    marker, precision, h, w, comps = sof
    assert marker == 0xC0, f"{name}: SOF{marker - 0xC0:X}, not baseline"
    assert precision == 8 and comps == 3, name + ": not 8-bit RGB"
    assert is_pow2(w) and is_pow2(h) and w <= 256 and h <= 256, f"{name}: {w}x{h}"
    assert (w * 3) % 4 == 0, name + ": rows not 4-byte aligned"
    assert len(data) < 64 * 1024, f"{name}: {len(data)} bytes"
    img = Image.open(io.BytesIO(data))
    assert img.mode == "RGB" and img.size == (w, h)
    assert "progressive" not in img.info and "progression" not in img.info


def check_wav(name, data):
    with wave.open(io.BytesIO(data), "rb") as w:
        assert w.getnchannels() == 1 and w.getsampwidth() == 2, name + ": not 16-bit mono"
        assert w.getcomptype() == "NONE"
        frames = w.getnframes()
        rate = w.getframerate()
        pcm = array("h", w.readframes(frames))
    if sys.byteorder != "little":
        pcm.byteswap()
    assert 0.02 < frames / rate < 0.5, f"{name}: {frames / rate:.3f} s"
    assert len(data) < 30 * 1024, f"{name}: {len(data)} bytes"
    assert max(abs(s) for s in pcm) < 32767, name + ": clips"
    assert abs(pcm[0]) < 400 and abs(pcm[-1]) < 400, name + ": starts or ends with a click"


def check_icon(data):
    zero, kind, count = struct.unpack("<HHH", data[:6])
    assert zero == 0 and kind == 1 and count == len(ICON_SIZES)
    sizes = []
    for k in range(count):
        w, h, _, _, planes, bpp, length, off = struct.unpack(
            "<BBBBHHII", data[6 + 16 * k:22 + 16 * k])
        assert planes == 1 and bpp == 32 and off + length <= len(data)
        sizes.append(w or 256)
        body = data[off:off + length]
        if (w or 256) == 256:
            assert body[:8] == b"\x89PNG\r\n\x1a\n"
        else:
            assert struct.unpack("<I", body[:4])[0] == 40
    assert sizes == ICON_SIZES, sizes
    img = Image.open(io.BytesIO(data))
    assert set(img.info["sizes"]) == {(s, s) for s in ICON_SIZES}


# ------------------------------------------------------------------- main ---

def jpeg_bytes(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "JPEG", quality=JPEG_QUALITY, subsampling=0,
                            optimize=True, progressive=False)
    return buf.getvalue()


def lettered_pictures(texts):
    """The pictures that carry words, lettered with texts (picture -> words)."""
    pics = {"d.jpg": make_panel(texts["d.jpg"], texts["j.jpg"]),
            "j.jpg": make_panel(texts["j.jpg"], texts["d.jpg"])}
    pics["s1.jpg"], pics["s2.jpg"] = make_banner(texts["s1.jpg"], texts["s2.jpg"], "play")
    pics["ss1.jpg"], s2_again = make_banner(texts["ss1.jpg"], texts["s2.jpg"], "play")
    assert s2_again.tobytes() == pics["s2.jpg"].tobytes(), "shared half differs"
    pics["a1.jpg"], pics["a2.jpg"] = make_banner(texts["a1.jpg"], texts["a2.jpg"], "help")
    pics["o1.jpg"], pics["o2.jpg"] = make_banner(texts["o1.jpg"], texts["o2.jpg"], "quit")
    for name in ("a2.jpg", "o2.jpg"):
        mark_grid_corners(pics[name])
    for i, tile in enumerate(make_credits(texts["credits"])):
        pics[f"zp{i + 1}.jpg"] = tile
    return pics


def language_files(originals):
    """LL/NAME.jpg for each catalogue po/LL.po and each picture its words
    change: the game takes the rest from data.qv."""
    files = {}
    for po in sorted(CATALOGUES.glob("*.po")):
        for name, img in lettered_pictures(language_texts(read_catalogue(po))).items():
            data = jpeg_bytes(img)
            if data != originals[name]:
                check_jpeg(f"{po.stem}/{name}", data)
                assert Image.open(io.BytesIO(data)).size == img.size
                files[f"{po.stem}/{name}"] = data
    return files


def build():
    """Every output file as name -> bytes, checked."""
    pics = {"bk.jpg": make_wall()}
    for i, c in enumerate(PIECE_COLOURS):
        pics[f"t{i + 1}.jpg"] = make_block(c)
    for i, c in enumerate(LAMP_COLOURS):
        pics[f"l{i + 1}.jpg"] = make_lamp(i + 1, c)
    pics.update(lettered_pictures(ORIGINAL_TEXTS))
    assert sorted(pics) == sorted(JPEG_NAMES)
    for name, img in pics.items():
        want = (CREDITS_PX if name.startswith("zp")
                else MENU_PX if name[0] in "aso" else FIELD_PX)
        assert img.size == (want, want), f"{name}: {img.size}, want {want}"
    files = {name: jpeg_bytes(pics[name]) for name in JPEG_NAMES}
    for name in JPEG_NAMES:
        check_jpeg(name, files[name])
    files.update(language_files(files))
    files["down.wav"] = make_chime()
    files["move.wav"] = make_click()
    files["s.wav"] = make_tick()
    for name in WAV_NAMES:
        check_wav(name, files[name])
    files[ICON_NAME] = make_icon()
    check_icon(files[ICON_NAME])
    return files


def contact_sheet(files, path):
    cols, cell, label = 6, 160, 22
    names = JPEG_NAMES
    rows = (len(names) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell, rows * (cell + label) + 300), (24, 24, 28))
    d = ImageDraw.Draw(sheet)
    lf = font(LATIN_BOLD, 14)
    for k, name in enumerate(names):
        img = Image.open(io.BytesIO(files[name])).convert("RGB")
        size = img.width
        img = img.resize((cell - 16, cell - 16), Image.LANCZOS)
        x, y = (k % cols) * cell, (k // cols) * (cell + label)
        sheet.paste(img, (x + (cell - img.width) // 2, y + 8))
        d.text((x + cell / 2, y + cell + 4), f"{name}  {size}²",
               font=lf, fill=(220, 220, 220), anchor="mt")
    # Credits assembled, and the icon sizes.
    y0 = rows * (cell + label) + 10
    tiles = [Image.open(io.BytesIO(files[f"zp{i}.jpg"])).convert("RGB") for i in range(1, 7)]
    t = CREDITS_PX
    whole = Image.new("RGB", (3 * t, 2 * t))
    for i, tile in enumerate(tiles):
        whole.paste(tile, ((i % 3) * t, (i // 3) * t))
    whole = whole.resize((420, 280), Image.LANCZOS)
    sheet.paste(whole, (10, y0))
    ico = Image.open(io.BytesIO(files[ICON_NAME]))
    x = 450
    for s in ICON_SIZES:
        ico.size = (s, s)
        im = ico.copy().convert("RGBA")
        bg = Image.new("RGB", im.size, (60, 60, 70))
        bg.paste(im, (0, 0), im)
        if s == 256:
            bg = bg.resize((128, 128), Image.LANCZOS)
        sheet.paste(bg, (x, y0 + 10))
        x += bg.width + 12
    sheet.save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--check", action="store_true",
                    help="compare the committed files with a fresh build, write nothing")
    ap.add_argument("--sheet", metavar="PNG", help="also write a contact sheet")
    ap.add_argument("--check-languages", action="store_true",
                    help="letter every catalogue's pictures and compare only which files each "
                         "language folder holds (byte for byte needs this machine's very Pillow)")
    args = ap.parse_args()
    if args.check_languages:
        originals = {name: jpeg_bytes(img) for name, img in lettered_pictures(ORIGINAL_TEXTS).items()}
        want = set(language_files(originals))
        have = {f"{p.parent.name}/{p.name}" for po in CATALOGUES.glob("*.po")
                for p in (HERE / po.stem).glob("*")}
        for name in sorted(want ^ have):
            print("missing:" if name in want else "not made any more:", name)
        return 1 if want != have else 0
    files = build()
    # A language folder holds only what this run makes: anything else in it
    # would be packed into that language's archive.
    made = {HERE / n for n in files}
    leftover = [p for po in CATALOGUES.glob("*.po") for p in sorted((HERE / po.stem).glob("*"))
                if p not in made]
    if args.check:
        stale = [n for n, b in files.items()
                 if not (HERE / n).exists() or (HERE / n).read_bytes() != b]
        for n in stale + [str(p.relative_to(HERE)) for p in leftover]:
            print("differs:", n)
        return 1 if stale or leftover else 0
    for path in leftover:
        path.unlink()
    for name, data in files.items():
        (HERE / name).parent.mkdir(exist_ok=True)
        (HERE / name).write_bytes(data)
    total = sum(len(b) for b in files.values())
    print(f"wrote {len(files)} files, {total} bytes, to {HERE}")
    if args.sheet:
        contact_sheet(files, args.sheet)
        print("contact sheet:", args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
