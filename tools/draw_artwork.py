#!/usr/bin/python3
"""Draw Velmora's banner and application icon into resources/.

Run from anywhere with Debian's Python and Pillow:

    /usr/bin/python3 tools/draw_artwork.py [--preview /tmp/artwork_preview.png]

The outputs are committed, so building the program needs no image tools.
Everything is drawn from fixed shapes, so every run writes the same bytes.
"""

import argparse
import io
import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("usage: draw_artwork.py [--preview PNG]\n"
             "It needs Pillow: install Debian's python3-pil and run it with /usr/bin/python3.")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, "resources")

FONT_CANDIDATES = (
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
)

# Palette: deep aquarium teal body, pale water-coloured display, white keys,
# an aqua operator column and a clownfish-orange "=" key.
OUTLINE = (12, 63, 85)
BODY_TOP = (46, 166, 194)
BODY_BOTTOM = (20, 108, 140)
HIGHLIGHT = (128, 218, 234)
DISPLAY_TOP = (236, 255, 251)
DISPLAY_BOTTOM = (176, 232, 224)
KEY_FACE = (247, 251, 252)
KEY_LIP = (178, 202, 212)
OP_FACE = (166, 230, 238)
OP_LIP = (104, 184, 198)
EQ_FACE = (248, 146, 44)
EQ_LIP = (190, 96, 22)
FISH = (248, 124, 28)
FISH_EDGE = (150, 62, 10)
GLYPH = (12, 63, 85)

BANNER_SIZE = (250, 35)
BANNER_TOP = (0x7E, 0xC8, 0xF0)
BANNER_BOTTOM = (0xF4, 0xFB, 0xFF)
TITLE = "Velmora"
TITLE_FILL = (0, 112, 122)
BUBBLE_RING = (52, 146, 196)
TITLE_EDGE = (255, 255, 255)
TITLE_COLUMNS = (77, 205)       # inclusive
PICTOGRAM_COLUMNS = (35, 68)    # inclusive

ICON_FIRST_ID = 30001
# (size, bits per pixel); 0 bits marks the PNG-compressed image.
ICON_IMAGES = ((48, 8), (32, 8), (24, 8), (16, 8), (256, 0),
               (48, 32), (32, 32), (24, 32), (16, 32))


# ---------------------------------------------------------------- drawing

def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGBA", size)
    draw = ImageDraw.Draw(img)
    for y in range(h):
        t = y / (h - 1) if h > 1 else 0.0
        draw.line([(0, y), (w - 1, y)], fill=lerp(top, bottom, t) + (255,))
    return img


def fill_rrect(canvas, box, radius, fill, ss):
    """Fill a rounded box given in pixel units on a canvas scaled by ss.

    fill is a colour or a (top, bottom) pair for a vertical gradient.
    """
    x0, y0, x1, y1 = (int(round(v * ss)) for v in box)
    w, h = x1 - x0, y1 - y0
    if w <= 0 or h <= 0:
        return
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle(
        [0, 0, w - 1, h - 1], radius=max(0, int(round(radius * ss))), fill=255)
    if isinstance(fill[0], tuple):
        layer = vertical_gradient((w, h), fill[0], fill[1])
    else:
        layer = Image.new("RGBA", (w, h), tuple(fill) + (255,))
    canvas.paste(layer, (x0, y0), mask)


def inset(box, d):
    return (box[0] + d, box[1] + d, box[2] - d, box[3] - d)


def draw_glyph(draw, kind, box, ss, colour):
    """Operator marks on the large icon's keys."""
    x0, y0, x1, y1 = (v * ss for v in box)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    s = min(x1 - x0, y1 - y0) * 0.28
    w = max(1, int(round(s * 0.42)))
    if kind == "minus" or kind == "plus":
        draw.line([(cx - s, cy), (cx + s, cy)], fill=colour, width=w)
    if kind == "plus":
        draw.line([(cx, cy - s), (cx, cy + s)], fill=colour, width=w)
    if kind == "times":
        d = s * 0.78
        draw.line([(cx - d, cy - d), (cx + d, cy + d)], fill=colour, width=w)
        draw.line([(cx - d, cy + d), (cx + d, cy - d)], fill=colour, width=w)
    if kind == "equals":
        g = s * 0.45
        draw.line([(cx - s, cy - g), (cx + s, cy - g)], fill=colour, width=w)
        draw.line([(cx - s, cy + g), (cx + s, cy + g)], fill=colour, width=w)


def draw_fish(draw, box, ss, detail):
    """A little clownfish swimming left inside the display."""
    x0, y0, x1, y1 = (v * ss for v in box)
    w, h = x1 - x0, y1 - y0
    bx0, bx1 = x0, x0 + w * 0.74
    draw.polygon([(x0 + w * 0.66, y0 + h * 0.5), (x1, y0),
                  (x1 - w * 0.06, y0 + h * 0.5), (x1, y1)], fill=FISH)
    draw.ellipse([bx0, y0 + h * 0.08, bx1, y1 - h * 0.08], fill=FISH)
    if detail:
        bw = bx1 - bx0
        stripe = max(1, int(round(bw * 0.1)))
        for fx in (0.34, 0.66):
            sx = bx0 + bw * fx
            half = h * 0.42 * (1 - abs(fx - 0.5) * 1.1)
            draw.line([(sx, y0 + h * 0.5 - half), (sx, y0 + h * 0.5 + half)],
                      fill=(255, 255, 255), width=stripe)
        er = h * 0.09
        ex, ey = bx0 + bw * 0.18, y0 + h * 0.4
        draw.ellipse([ex - er, ey - er, ex + er, ey + er], fill=FISH_EDGE)


def draw_bubble(draw, cx, cy, r, ss, ring, fill=(255, 255, 255, 255)):
    cx, cy, r = cx * ss, cy * ss, r * ss
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], outline=fill,
                 width=max(1, int(round(ring * ss))))


def draw_calculator(canvas, lay, ss):
    """Draw one calculator as described by a layout (pixel units)."""
    body = lay["body"]
    ol = lay["outline"]
    if lay.get("shadow"):
        dy, blur, alpha = lay["shadow"]
        sh = Image.new("RGBA", canvas.size, OUTLINE + (0,))
        fill_rrect(sh, (body[0], body[1] + dy, body[2], body[3] + dy),
                   lay["radius"], (6, 30, 42), ss)
        a = sh.getchannel("A").point(lambda v: v * alpha // 255)
        a = a.filter(ImageFilter.GaussianBlur(blur * ss))
        sh.putalpha(a)
        canvas.alpha_composite(sh)
    fill_rrect(canvas, body, lay["radius"], OUTLINE, ss)
    fill_rrect(canvas, inset(body, ol), lay["radius"] - ol,
               (BODY_TOP, BODY_BOTTOM), ss)
    if lay.get("highlight"):
        hb = inset(body, ol)
        fill_rrect(canvas, (hb[0], hb[1], hb[2], hb[1] + lay["highlight"]),
                   lay["radius"] - ol, HIGHLIGHT, ss)
        fill_rrect(canvas, (hb[0], hb[1] + lay["highlight"], hb[2],
                            hb[1] + 3 * lay["highlight"]),
                   0, BODY_TOP, ss)

    disp = lay["display"]
    dol = lay.get("display_outline", 0)
    if dol:
        fill_rrect(canvas, disp, lay["display_radius"], OUTLINE, ss)
    fill_rrect(canvas, inset(disp, dol), max(0, lay["display_radius"] - dol),
               (DISPLAY_TOP, DISPLAY_BOTTOM), ss)
    draw = ImageDraw.Draw(canvas)
    if lay.get("fish"):
        fx0, fy0, fx1, fy1 = lay["fish"]
        draw_fish(draw, (fx0, fy0, fx1, fy1), ss, lay.get("fish_detail", False))
    for cx, cy, r, ring in lay.get("display_bubbles", ()):
        draw_bubble(draw, cx, cy, r, ss, ring, fill=(70, 170, 190, 255))

    cols, rows = lay["grid"]
    kx, ky = lay["keys_origin"]
    kw, kh = lay["key_size"]
    gx, gy = lay["key_gap"]
    lip = lay.get("key_lip", 0)
    glyphs = lay.get("glyphs")
    for r in range(rows):
        for c in range(cols):
            box = (kx + c * (kw + gx), ky + r * (kh + gy),
                   kx + c * (kw + gx) + kw, ky + r * (kh + gy) + kh)
            if c == cols - 1 and r == rows - 1:
                face, shade = EQ_FACE, EQ_LIP
            elif c == cols - 1:
                face, shade = OP_FACE, OP_LIP
            else:
                face, shade = KEY_FACE, KEY_LIP
            rad = lay.get("key_radius", 0)
            if lip:
                fill_rrect(canvas, box, rad, shade, ss)
                fill_rrect(canvas, (box[0], box[1], box[2], box[3] - lip),
                           rad, face, ss)
            else:
                fill_rrect(canvas, box, rad, face, ss)
            if glyphs and c == cols - 1:
                colour = (255, 255, 255) if r == rows - 1 else GLYPH
                draw_glyph(draw, glyphs[r], (box[0], box[1], box[2],
                                             box[3] - lip), ss, colour)


def icon_layout(size):
    """Layouts snapped to each size's pixel grid so the small ones stay
    crisp: straight edges fall on pixel boundaries, only corners blend."""
    if size == 16:
        return dict(body=(2, 0, 14, 16), radius=0, outline=1, corner_cut=True,
                    display=(4, 2, 12, 5), display_radius=0,
                    grid=(3, 3), keys_origin=(4, 6), key_size=(2, 2),
                    key_gap=(1, 1))
    if size == 24:
        return dict(body=(3, 1, 21, 23), radius=0, outline=1, corner_cut=True,
                    display=(5, 3, 19, 8), display_radius=0.5,
                    grid=(3, 3), keys_origin=(5, 10), key_size=(4, 3),
                    key_gap=(1, 1))
    if size == 32:
        return dict(body=(5, 1, 26, 31), radius=3.5, outline=1,
                    display=(8, 4, 23, 11), display_radius=1,
                    fish=(12, 5, 19, 10),
                    grid=(4, 4), keys_origin=(8, 13), key_size=(3, 3),
                    key_gap=(1, 1), shadow=(0.8, 0.7, 110))
    if size == 48:
        return dict(body=(8, 2, 40, 46), radius=5, outline=2,
                    display=(13, 7, 35, 16), display_radius=1.5,
                    fish=(19, 8.5, 29, 14.5), fish_detail=True,
                    display_bubbles=((16.5, 10.5, 1.2, 0.7),),
                    grid=(4, 4), keys_origin=(13, 19), key_size=(4, 4),
                    key_gap=(2, 2), key_radius=1, key_lip=1,
                    shadow=(1.0, 1.0, 110))
    if size == 256:
        return dict(body=(36, 10, 220, 242), radius=30, outline=8,
                    highlight=5,
                    display=(58, 36, 198, 96), display_radius=12,
                    display_outline=4,
                    fish=(104, 46, 162, 86), fish_detail=True,
                    display_bubbles=((84, 72, 7, 3), (74, 54, 4.5, 2.5)),
                    grid=(4, 4), keys_origin=(58, 112),
                    key_size=(29, 25), key_gap=(8, 8), key_radius=7,
                    key_lip=5, glyphs=("times", "minus", "plus", "equals"),
                    shadow=(5, 5, 120))
    raise ValueError(size)


def draw_icon(size, shadow=True):
    ss = 4 if size > 64 else 16
    lay = dict(icon_layout(size))
    if not shadow:
        lay.pop("shadow", None)
    # Transparent pixels carry the outline colour so blended edges don't
    # pick up a black fringe when reduced.
    canvas = Image.new("RGBA", (size * ss, size * ss), OUTLINE + (0,))
    draw_calculator(canvas, lay, ss)
    img = canvas.convert("RGBa").reduce(ss).convert("RGBA")
    if lay.get("corner_cut"):
        # A blended curve is mush at these sizes: cut each corner pixel and
        # step the outline in diagonally, the same in 8 and 32 bpp.
        x0, y0, x1, y1 = lay["body"]
        for cx, cy, dx, dy in ((x0, y0, 1, 1), (x1 - 1, y0, -1, 1),
                               (x0, y1 - 1, 1, -1), (x1 - 1, y1 - 1, -1, -1)):
            img.putpixel((cx, cy), OUTLINE + (0,))
            img.putpixel((cx + dx, cy + dy), OUTLINE + (255,))
    return img


def draw_banner():
    w, h = BANNER_SIZE
    banner = vertical_gradient((w, h), BANNER_TOP, BANNER_BOTTOM)

    # Calculator with three bubbles rising beside it (columns 35..68).
    ss = 8
    left, right = PICTOGRAM_COLUMNS
    layer = Image.new("RGBA", (w * ss, h * ss), OUTLINE + (0,))
    draw_calculator(layer, dict(
        body=(left, 1, left + 25, 34), radius=3, outline=1,
        display=(left + 3, 4, left + 22, 10), display_radius=1,
        fish=(left + 9, 5, left + 16, 9),
        grid=(4, 4), keys_origin=(left + 3, 12), key_size=(4, 4),
        key_gap=(1, 1)), ss)
    draw = ImageDraw.Draw(layer)
    # The top bubble's right edge is the pictogram's last column.
    big = 3.6
    for cx, cy, r in ((left + 28.4, 28.0, 1.9), (left + 29.6, 19.6, 2.7),
                      (right + 1 - big, 8.8, big)):
        draw.ellipse([(cx - r) * ss, (cy - r) * ss, (cx + r) * ss - 1,
                      (cy + r) * ss - 1], fill=(255, 255, 255, 150),
                     outline=BUBBLE_RING + (255,), width=int(0.9 * ss))
        gl = r * 0.28
        gx, gy = cx - r * 0.35, cy - r * 0.35
        draw.ellipse([(gx - gl) * ss, (gy - gl) * ss, (gx + gl) * ss,
                      (gy + gl) * ss], fill=(255, 255, 255, 255))
    layer = layer.convert("RGBa").reduce(ss).convert("RGBA")
    banner.alpha_composite(layer)

    banner.alpha_composite(draw_title(h))
    return banner.convert("RGB")


def load_font(px):
    for path in FONT_CANDIDATES:
        if os.path.exists(path):
            return ImageFont.truetype(path, px)
    sys.exit("need a bold TrueType font: apt-get install -y fonts-liberation")


def render_text(font, stroke):
    probe = ImageDraw.Draw(Image.new("L", (1, 1)))
    bx = probe.textbbox((0, 0), TITLE, font=font, stroke_width=stroke)
    pad = 8
    img = Image.new("RGBA", (bx[2] - bx[0] + 2 * pad, bx[3] - bx[1] + 2 * pad),
                    TITLE_EDGE + (0,))
    ImageDraw.Draw(img).text((pad - bx[0], pad - bx[1]), TITLE, font=font,
                             fill=TITLE_FILL + (255,), stroke_width=stroke,
                             stroke_fill=TITLE_EDGE + (255,))
    return img.crop(img.getchannel("A").getbbox())


def draw_title(height):
    """The title, squeezed to fill the title columns exactly, with a white
    edge about 1.6 px wide after scaling."""
    font = load_font(320)
    target_w = TITLE_COLUMNS[1] - TITLE_COLUMNS[0] + 1
    stroke = 16
    for _ in range(3):
        scale = target_w / render_text(font, stroke).width
        stroke = max(1, int(round(1.6 / scale)))
    text = render_text(font, stroke)
    scale = target_w / text.width
    th = int(round(text.height * scale))
    small = text.convert("RGBa").resize((target_w, th), Image.Resampling.BOX)
    layer = Image.new("RGBA", (BANNER_SIZE[0], height), (0, 0, 0, 0))
    layer.paste(small.convert("RGBA"), (TITLE_COLUMNS[0], (height - th) // 2))
    return layer


# ---------------------------------------------------------------- encoding

def bmp24(img):
    """Classic bottom-up 24-bit BMP with a BITMAPINFOHEADER."""
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    px = img.load()
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y][:3]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits),
                       2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0,
                       14 + len(info))
    return head + info + bits


def and_mask(img):
    """1 bpp mask, bottom-up, rows padded to 32 bits; 1 = transparent."""
    w, h = img.size
    stride = ((w + 31) // 32) * 4
    a = img.getchannel("A").load()
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if a[x, y] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def dib_header(w, h, bpp, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, image_bytes,
                       0, 0, 0, 0)


def dib32(img):
    w, h = img.size
    px = img.load()
    bits = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            bits += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask = and_mask(img)
    return dib_header(w, h, 32, len(bits) + len(mask)) + bytes(bits) + mask


def to_256_colours(img):
    """Hard-edged copy for the 8 bpp images: alpha becomes on/off and the
    colours are reduced to a 255-entry palette plus black for the
    transparent pixels (black XOR leaves the screen untouched)."""
    w, h = img.size
    src = img.load()
    hard = Image.new("RGBA", (w, h))
    dst = hard.load()
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            dst[x, y] = (r, g, b, 255) if a >= 128 else OUTLINE + (0,)
    rgb = hard.convert("RGB")
    colours = rgb.getcolors(256)
    if colours is not None and len(colours) <= 255:
        # Few enough to keep every colour exactly.
        palette = sorted(c for _, c in colours)
        slot = {c: n for n, c in enumerate(palette)}
        index = Image.new("P", (w, h))
        index.putdata([slot[c] for c in rgb.getdata()])
    else:
        index = rgb.quantize(255, method=Image.Quantize.MEDIANCUT,
                             dither=Image.Dither.NONE)
        flat = index.getpalette()[:255 * 3]
        palette = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    transparent = 255
    index.putpalette([v for c in palette for v in c])
    idx = index.load()
    alpha = hard.getchannel("A").load()
    for y in range(h):
        for x in range(w):
            if alpha[x, y] == 0:
                idx[x, y] = transparent
    return hard, index, palette


def dib8(img):
    hard, index, palette = to_256_colours(img)
    w, h = img.size
    stride = (w + 3) & ~3
    idx = index.load()
    bits = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(idx[x, y] for x in range(w))
        row += b"\0" * (stride - w)
        bits += row
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    mask = and_mask(hard)
    # Show what the 8 bpp image really looks like in the preview.
    shown = index.convert("RGBA")
    shown.putalpha(hard.getchannel("A"))
    return (dib_header(w, h, 8, len(bits) + len(mask)) + pal + bytes(bits)
            + mask, shown)


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def build_icon_images():
    """Returns [(size, bpp, data, preview image)] in directory order."""
    out = []
    for size, bpp in ICON_IMAGES:
        if bpp == 8:
            data, shown = dib8(draw_icon(size, shadow=False))
        elif bpp == 32:
            shown = draw_icon(size)
            data = dib32(shown)
        else:
            shown = draw_icon(size)
            data = png_bytes(shown)
        out.append((size, bpp or 32, data, shown))
    return out


def entry_fields(size, bpp, data):
    dim = 0 if size >= 256 else size
    return (dim, dim, 0, 0, 1, bpp, len(data))


def ico_file(images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries, blobs = b"", b""
    for size, bpp, data, _ in images:
        entries += struct.pack("<BBBBHHII", *entry_fields(size, bpp, data),
                               offset)
        blobs += data
        offset += len(data)
    return head + entries + blobs


def group_icon(images):
    """RT_GROUP_ICON: the .ico directory with resource ids for offsets."""
    out = struct.pack("<HHH", 0, 1, len(images))
    for n, (size, bpp, data, _) in enumerate(images):
        out += struct.pack("<BBBBHHIH", *entry_fields(size, bpp, data),
                           ICON_FIRST_ID + n)
    return out


# ---------------------------------------------------------------- output

def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def preview(path, banner, images):
    zoom = 4
    big = banner.resize((banner.width * zoom, banner.height * zoom),
                        Image.Resampling.NEAREST)
    tiles = []
    for size, bpp, _, shown in images:
        if size < 256:
            z = 4 if size >= 32 else 6
            tiles.append(shown.resize((size * z, size * z),
                                      Image.Resampling.NEAREST))
        tiles.append(shown)
    row_w = sum(t.width + 12 for t in tiles) + 12
    row_h = max(t.height for t in tiles) + 24
    width = max(big.width + 24, row_w)
    sheet = Image.new("RGBA", (width, big.height + 24 + 2 * row_h),
                      (128, 128, 128, 255))
    sheet.paste(big, (12, 12))
    for n, bg in enumerate(((255, 255, 255, 255), (34, 38, 46, 255))):
        y = big.height + 24 + n * row_h
        sheet.paste(Image.new("RGBA", (width, row_h), bg), (0, y))
        x = 12
        for t in tiles:
            sheet.alpha_composite(t, (x, y + 12))
            x += t.width + 12
    sheet.convert("RGB").save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="PNG",
                    help="also write an enlarged preview sheet here")
    args = ap.parse_args()

    banner = draw_banner()
    write(os.path.join(RESOURCES, "banner.bmp"), bmp24(banner))

    images = build_icon_images()
    write(os.path.join(RESOURCES, "velmora.ico"), ico_file(images))
    for n, (_, _, data, _) in enumerate(images):
        write(os.path.join(RESOURCES, "icon", "%d.bin" % (ICON_FIRST_ID + n)),
              data)
    write(os.path.join(RESOURCES, "icon", "group.bin"), group_icon(images))

    if args.preview:
        preview(args.preview, banner, images)


if __name__ == "__main__":
    main()
