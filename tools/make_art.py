#!/usr/bin/env python3
"""Draws the pictures of Vantrel.exe and Update.exe.

The artwork is generated rather than checked in so that it stays reproducible
and reviewable as code. Only the standard library is used (struct, zlib), so
the build needs nothing but a Python 3 interpreter.

Usage:
  make_art.py --out DIR [NAME ...]   write the named files (default: all)
  make_art.py --preview DIR          write PNG previews to look at

Files:
  Vantrel.ico  program icon of the assistant, eight 32-bit images 16..128 px
  listrow.bmp  1 x 24 px, 16 colours: only its presence matters, it gives the
               reminder list's image list something to hold; listrow125.bmp,
               listrow150.bmp and listrow200.bmp are the same at 125, 150 and
               200 % display scale (30, 36 and 48 px)
  Update.ico   updater icon, 32-bit images of 32, 16 and 48 px
  wizard.bmp   left strip of the updater wizard, 163 x 278 px, 24 bits
"""

import math
import os
import struct
import sys
import zlib

ASSISTANT_ICON_SIZES = (16, 24, 32, 40, 48, 64, 96, 128)
UPDATER_ICON_SIZES = (32, 16, 48)
WIZARD_SIZE = (163, 278)


# ---------------------------------------------------------------------------
# A tiny anti-aliased rasteriser. Shapes are signed distance functions in
# pixel units (negative inside); coverage of a pixel is the distance clamped
# to one pixel around the edge, which gives smooth edges at every size
# without supersampling cost.

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def hex_rgb(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def sd_round_rect(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - (hw - r)
    qy = abs(py - cy) - (hh - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / length2)
    return math.hypot(px - (ax + dx * t), py - (ay + dy * t)) - half_width


def sd_triangle(px, py, a, b, c):
    # Exact distance to a triangle given counter- or clockwise.
    def seg(p, q):
        return sd_segment(px, py, p[0], p[1], q[0], q[1], 0.0)
    d = min(seg(a, b), seg(b, c), seg(c, a))

    def side(p, q):
        return (q[0] - p[0]) * (py - p[1]) - (q[1] - p[1]) * (px - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    inside = (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return -d if inside else d


class Canvas:
    """Premultiplied RGBA floats, top-down rows."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        if background is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            r, g, b = background
            self.px = [[r, g, b, 1.0] for _ in range(w * h)]

    def paint(self, sdf, color, opacity=1.0, soft=1.0, bbox=None):
        """Composites colour over the canvas where sdf(x, y) < 0.

        color is an (r, g, b) tuple or a function of (x, y) giving one;
        soft widens the edge (in pixels) for glows and shadows.
        """
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        fixed = None if callable(color) else color
        for y in range(y0, y1):
            py = y + 0.5
            row = y * self.w
            for x in range(x0, x1):
                px = x + 0.5
                cov = clamp(0.5 - sdf(px, py) / soft)
                if cov <= 0.0:
                    continue
                a = cov * opacity
                r, g, b = fixed if fixed else color(px, py)
                p = self.px[row + x]
                k = 1.0 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def rgba8(self):
        """Straight (non-premultiplied) 8-bit RGBA rows, top-down."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append((int(round(clamp(r / a) * 255)), int(round(clamp(g / a) * 255)),
                            int(round(clamp(b / a) * 255)), int(round(clamp(a) * 255))))
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------
# The pictures

BLUE_TOP = hex_rgb('#4C9BFF')
BLUE_BOTTOM = hex_rgb('#1C55C9')
NAVY = hex_rgb('#163A78')
WHITE = (1.0, 1.0, 1.0)
FACE = hex_rgb('#F4F8FF')
ACCENT = hex_rgb('#FF8A3D')
GREEN_TOP = hex_rgb('#34C27A')
GREEN_BOTTOM = hex_rgb('#138A57')


def draw_badge(cv, ox, oy, s, top, bottom):
    """Rounded-square badge of side s at (ox, oy) with a vertical gradient."""
    margin = max(0.5, s * 0.045)
    half = s / 2.0 - margin
    cx, cy = ox + s / 2.0, oy + s / 2.0
    radius = s * 0.23
    y_top, y_bottom = cy - half, cy + half

    def gradient(px, py):
        return mix(top, bottom, clamp((py - y_top) / (y_bottom - y_top)))

    box = (ox, oy, ox + s, oy + s)
    cv.paint(lambda x, y: sd_round_rect(x, y, cx, cy, half, half, radius), gradient, bbox=box)
    if s >= 24:
        # A soft sheen on the upper half gives the badge some depth.
        cv.paint(lambda x, y: max(sd_round_rect(x, y, cx, cy, half, half, radius),
                                  sd_circle(x, y, cx, cy - s * 1.05, s * 1.22)),
                 WHITE, opacity=0.13, bbox=box)
        # A darker rim keeps the badge readable on light task bars.
        rim = max(0.6, s / 64.0)
        cv.paint(lambda x, y: abs(sd_round_rect(x, y, cx, cy, half - rim / 2, half - rim / 2,
                                                radius - rim / 2)) - rim / 2,
                 bottom, opacity=0.55, bbox=box)
    return cx, cy


def draw_clock(cv, cx, cy, s):
    r = s * 0.305
    if s >= 24:
        # Shadow under the dial.
        cv.paint(lambda x, y: sd_circle(x, y, cx, cy + s * 0.025, r), NAVY,
                 opacity=0.35, soft=max(1.0, s * 0.03))
    cv.paint(lambda x, y: sd_circle(x, y, cx, cy, r), FACE)
    stroke = max(0.75, s * 0.032)
    if s >= 32:
        for k in range(12):
            ang = k * math.pi / 6
            long_tick = k % 3 == 0
            r0 = r * (0.74 if long_tick else 0.82)
            r1 = r * 0.90
            sx, sy = math.sin(ang), -math.cos(ang)
            w = stroke * (0.55 if long_tick else 0.32)
            cv.paint(lambda x, y, a=(cx + sx * r0, cy + sy * r0), b=(cx + sx * r1, cy + sy * r1), w=w:
                     sd_segment(x, y, a[0], a[1], b[0], b[1], w),
                     NAVY, opacity=0.85 if long_tick else 0.45)
    hand = max(0.85, s * 0.042)
    # Ten past ten: the classic pose, pleasing and balanced.
    hour_ang = math.radians(-60)
    minute_ang = math.radians(60)
    hx, hy = cx + math.sin(hour_ang) * r * 0.50, cy - math.cos(hour_ang) * r * 0.50
    mx, my = cx + math.sin(minute_ang) * r * 0.72, cy - math.cos(minute_ang) * r * 0.72
    if s < 32:
        # Small sizes: without tick marks ten past ten reads as a smile;
        # hands at 12 and 3 read as a clock.
        hx, hy = cx, cy - r * 0.62
        mx, my = cx + r * 0.55, cy
    cv.paint(lambda x, y: sd_segment(x, y, cx, cy, hx, hy, hand), NAVY)
    cv.paint(lambda x, y: sd_segment(x, y, cx, cy, mx, my, hand * 0.8), NAVY)
    if s >= 32:
        cv.paint(lambda x, y: sd_circle(x, y, cx, cy, hand * 1.5), ACCENT)
        cv.paint(lambda x, y: sd_circle(x, y, cx, cy, hand * 0.55), WHITE)


def draw_power_mark(cv, cx, cy, s):
    """Small orange power glyph in the lower right, on the larger images."""
    pr = s * 0.135
    px, py = cx + s * 0.27, cy + s * 0.27
    cv.paint(lambda x, y: sd_circle(x, y, px, py, pr + s * 0.03), WHITE)
    cv.paint(lambda x, y: sd_circle(x, y, px, py, pr), ACCENT)
    w = max(0.6, s * 0.018)
    ring = pr * 0.55

    def arc(x, y):
        d = abs(math.hypot(x - px, y - py) - ring) - w
        ang = math.atan2(x - px, -(y - py))  # 0 at the top
        if abs(ang) < math.radians(40):
            # Cut the gap at the top; round the ends.
            e1 = (px + math.sin(math.radians(40)) * ring, py - math.cos(math.radians(40)) * ring)
            e2 = (px - math.sin(math.radians(40)) * ring, py - math.cos(math.radians(40)) * ring)
            d = min(math.hypot(x - e1[0], y - e1[1]), math.hypot(x - e2[0], y - e2[1])) - w
        return d
    cv.paint(arc, WHITE)
    cv.paint(lambda x, y: sd_segment(x, y, px, py - ring * 1.15, px, py - ring * 0.2, w), WHITE)


def assistant_icon(s):
    cv = Canvas(s, s)
    cx, cy = draw_badge(cv, 0, 0, s, BLUE_TOP, BLUE_BOTTOM)
    draw_clock(cv, cx, cy, s)
    if s >= 64:
        # Below 64 pixels the mark would crowd the dial.
        draw_power_mark(cv, cx, cy, s)
    return cv


def draw_download_glyph(cv, cx, cy, s, color):
    """A downward arrow into a tray: the updater's mark."""
    w = max(0.9, s * 0.065)
    top = cy - s * 0.27
    tip = cy + s * 0.10
    head = s * 0.17
    cv.paint(lambda x, y: sd_segment(x, y, cx, top, cx, tip - w, w), color)
    cv.paint(lambda x, y: sd_segment(x, y, cx - head, tip - head, cx, tip, w), color)
    cv.paint(lambda x, y: sd_segment(x, y, cx + head, tip - head, cx, tip, w), color)
    tray_y = cy + s * 0.25
    tray_w = s * 0.26
    cv.paint(lambda x, y: sd_segment(x, y, cx - tray_w, tray_y - s * 0.08, cx - tray_w, tray_y, w), color)
    cv.paint(lambda x, y: sd_segment(x, y, cx - tray_w, tray_y, cx + tray_w, tray_y, w), color)
    cv.paint(lambda x, y: sd_segment(x, y, cx + tray_w, tray_y - s * 0.08, cx + tray_w, tray_y, w), color)


def updater_icon(s):
    cv = Canvas(s, s)
    cx, cy = draw_badge(cv, 0, 0, s, GREEN_TOP, GREEN_BOTTOM)
    draw_download_glyph(cv, cx, cy, s, WHITE)
    return cv


def wizard_banner():
    w, h = WIZARD_SIZE
    top, bottom = hex_rgb('#2F7FF0'), hex_rgb('#0F2E6E')

    def bg(px, py):
        return mix(top, bottom, clamp(py / h) ** 0.9)

    cv = Canvas(w, h, background=top)
    cv.paint(lambda x, y: -1.0, bg)
    # Large, faint circles for texture.
    for (cx, cy, r, a) in ((w * 1.05, h * 0.12, 95, 0.07), (-w * 0.15, h * 0.48, 80, 0.05),
                           (w * 0.85, h * 0.62, 46, 0.05)):
        cv.paint(lambda x, y, cx=cx, cy=cy, r=r: sd_circle(x, y, cx, cy, r), WHITE, opacity=a)
    # Two soft waves across the bottom.
    for (base, amp, freq, phase, color, a) in ((h * 0.80, 9.0, 1.6, 0.4, hex_rgb('#5FA8FF'), 0.30),
                                               (h * 0.86, 7.0, 2.1, 1.9, hex_rgb('#3FD0A0'), 0.18)):
        def wave(x, y, base=base, amp=amp, freq=freq, phase=phase):
            return (base + amp * math.sin(x / w * 2 * math.pi * freq / 2 + phase)) - y
        cv.paint(wave, color, opacity=a)
    # The emblem: the program's badge with the update arrow tucked at its corner.
    s = 88
    ox, oy = (w - s) / 2.0, 40
    # Glow behind it.
    cv.paint(lambda x, y: sd_round_rect(x, y, ox + s / 2, oy + s / 2 + 4, s / 2 - 2, s / 2 - 2, s * 0.23),
             hex_rgb('#071A40'), opacity=0.35, soft=7.0)
    cx, cy = draw_badge(cv, ox, oy, s, BLUE_TOP, BLUE_BOTTOM)
    draw_clock(cv, cx, cy, s)
    # Update mark: green disc with a white arrow, at the lower right.
    gx, gy, gr = ox + s * 0.86, oy + s * 0.86, s * 0.22
    cv.paint(lambda x, y: sd_circle(x, y, gx, gy, gr + 3), WHITE)
    cv.paint(lambda x, y: sd_circle(x, y, gx, gy, gr),
             lambda x, y: mix(GREEN_TOP, GREEN_BOTTOM, clamp((y - gy + gr) / (2 * gr))))
    draw_download_glyph(cv, gx, gy, gr * 1.9, WHITE)
    # Three progress bars under the emblem: the idea of components being updated.
    bar_x0, bar_x1 = 32, w - 32
    for i, fill in enumerate((1.0, 1.0, 0.55)):
        y0 = 168 + i * 16
        cv.paint(lambda x, y, y0=y0: sd_segment(x, y, bar_x0, y0, bar_x1, y0, 3.0), WHITE, opacity=0.18)
        x_end = bar_x0 + (bar_x1 - bar_x0) * fill
        cv.paint(lambda x, y, y0=y0, x_end=x_end: sd_segment(x, y, bar_x0, y0, x_end, y0, 3.0),
                 GREEN_TOP if fill >= 1.0 else hex_rgb('#9CCBFF'), opacity=0.95)
    return cv


# ---------------------------------------------------------------------------
# File formats

def ico_bytes(canvases):
    """An .ico of 32-bit DIB images (BGRA with an AND mask)."""
    images = []
    for cv in canvases:
        w, h = cv.w, cv.h
        rows = cv.rgba8()
        header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        images.append((w, h, header + bytes(xor) + bytes(mask)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack('<BBBBHHII', w if w < 256 else 0, h if h < 256 else 0, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


def bmp24_bytes(cv):
    rows = cv.rgba8()
    w, h = cv.w, cv.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


VGA16 = ((0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255))


def listrow_bmp_bytes(h=24):
    """1 x h pixels, 4 bits per pixel, all black (black is the image list's
    mask colour, so the row image itself is invisible)."""
    w = 1
    stride = 4
    pixels = bytes(stride * h)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(pixels), 3780, 3780, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def png_bytes(width, height, rgba_rows):
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_atomically(path, data):
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)


# ---------------------------------------------------------------------------

PRODUCTS = {
    'Vantrel.ico': lambda: ico_bytes([assistant_icon(s) for s in ASSISTANT_ICON_SIZES]),
    'listrow.bmp': listrow_bmp_bytes,
    'listrow125.bmp': lambda: listrow_bmp_bytes(30),
    'listrow150.bmp': lambda: listrow_bmp_bytes(36),
    'listrow200.bmp': lambda: listrow_bmp_bytes(48),
    'Update.ico': lambda: ico_bytes([updater_icon(s) for s in UPDATER_ICON_SIZES]),
    'wizard.bmp': lambda: bmp24_bytes(wizard_banner()),
}


def composite_sheet():
    """All pictures on one sheet: icons on light and dark ground, the small
    ones also enlarged 4x (nearest neighbour) to judge pixels."""
    icons = [assistant_icon(s).rgba8() for s in ASSISTANT_ICON_SIZES]
    uicons = [updater_icon(s).rgba8() for s in sorted(UPDATER_ICON_SIZES)]
    banner = wizard_banner().rgba8()
    W, H = 980, 720
    sheet = [[(236, 236, 236, 255)] * W for _ in range(H)]
    for y in range(360, H):
        sheet[y] = [(40, 44, 52, 255)] * W

    def blit(img, ox, oy, scale=1):
        for y, row in enumerate(img):
            for x, (r, g, b, a) in enumerate(row):
                for dy in range(scale):
                    for dx in range(scale):
                        X, Y = ox + x * scale + dx, oy + y * scale + dy
                        if 0 <= X < W and 0 <= Y < H:
                            br, bg_, bb, _ = sheet[Y][X]
                            k = a / 255.0
                            sheet[Y][X] = (int(r * k + br * (1 - k)), int(g * k + bg_ * (1 - k)),
                                           int(b * k + bb * (1 - k)), 255)
    for band, oy in ((0, 10), (1, 370)):
        x = 10
        for img in icons:
            blit(img, x, oy)
            x += len(img) + 10
        x = 10
        for img in icons[:4]:
            blit(img, x, oy + 140, 4)
            x += len(img) * 4 + 10
        x = 520
        for img in uicons:
            blit(img, x, oy + 10)
            x += len(img) + 10
        blit(uicons[1], 520, oy + 80, 4)
    blit(banner, 800, 10)
    return png_bytes(W, H, sheet)


def main(argv):
    if len(argv) >= 2 and argv[0] == '--preview':
        out = argv[1]
        os.makedirs(out, exist_ok=True)
        write_atomically(os.path.join(out, 'sheet.png'), composite_sheet())
        for s in ASSISTANT_ICON_SIZES:
            write_atomically(os.path.join(out, 'vantrel_%d.png' % s), png_bytes(s, s, assistant_icon(s).rgba8()))
        b = wizard_banner()
        write_atomically(os.path.join(out, 'wizard.png'), png_bytes(b.w, b.h, b.rgba8()))
        return 0
    if len(argv) >= 2 and argv[0] == '--out':
        out = argv[1]
        names = argv[2:] or sorted(PRODUCTS)
        unknown = [n for n in names if n not in PRODUCTS]
        if unknown:
            sys.stderr.write('make_art.py: unknown picture(s): %s\n' % ', '.join(unknown))
            return 2
        os.makedirs(out, exist_ok=True)
        for name in names:
            write_atomically(os.path.join(out, name), PRODUCTS[name]())
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
