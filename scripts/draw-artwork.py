#!/usr/bin/env python3
"""Draw Remedor's wizard artwork and application icon.

Writes, relative to the repository root:

    Resources/images/logo.png       48x48 header logo (transparent)
    Resources/images/watermark.png  134x348 side panel for Welcome/Finish
    Resources/remedor.ico           256 (PNG), 96, 48, 32, 24, 16 (32-bit DIB)

Everything is drawn by the small rasteriser below from signed-distance
shapes, each pixel averaged over 4x4 sub-samples.  Only the Python standard
library is used and the output is byte-for-byte the same on every run.

Usage:  python3 scripts/draw-artwork.py [REPO_ROOT]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Palette (sRGB, 0..255)
# ---------------------------------------------------------------------------

BLUE = (31, 95, 168)          # #1F5FA8, the product blue
BLUE_LIGHT = (86, 146, 214)
BLUE_PALE = (150, 194, 240)
BLUE_DARK = (20, 66, 124)
BLUE_DEEP = (13, 45, 90)
NAVY = (8, 26, 56)
TEAL = (24, 170, 160)
TEAL_LIGHT = (72, 214, 196)
WHITE = (255, 255, 255)


def mix(a, b, t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp01(t):
    return 0.0 if t < 0.0 else 1.0 if t > 1.0 else t


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


# ---------------------------------------------------------------------------
# Signed-distance shapes.  A shape is a function (x, y) -> distance, negative
# inside.  Coordinates are in "emblem units" (the emblem spans 0..1).
# ---------------------------------------------------------------------------

def polygon(points):
    pts = list(points)
    n = len(pts)

    def sdf(x, y):
        x0, y0 = pts[0]
        d = (x - x0) ** 2 + (y - y0) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < d:
                d = dd
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return sdf


def ellipse(cx, cy, rx, ry):
    # Not exact, but a close, well-behaved bound for soft shadows.
    m = min(rx, ry)

    def sdf(x, y):
        return (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m
    return sdf


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    return sdf


def segment(ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    ll = ex * ex + ey * ey

    def sdf(x, y):
        wx, wy = x - ax, y - ay
        t = clamp01((wx * ex + wy * ey) / ll)
        return math.hypot(wx - ex * t, wy - ey * t) - r
    return sdf


def tapered_arc(cx, cy, radius, a0, a1, w0, w1):
    """Arc from angle a0 to a1 (radians, a1 > a0, y axis pointing down) whose
    stroke half-width grows from w0 to w1; round cap at the start."""
    span = a1 - a0
    sx, sy = cx + radius * math.cos(a0), cy + radius * math.sin(a0)
    ex, ey = cx + radius * math.cos(a1), cy + radius * math.sin(a1)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        a = math.atan2(dy, dx)
        while a < a0:
            a += 2.0 * math.pi
        t = (a - a0) / span
        if t <= 1.0:
            w = w0 + (w1 - w0) * (t * t * (3.0 - 2.0 * t))
            return abs(math.hypot(dx, dy) - radius) - w
        # Beyond the ends: start is a round cap, the end is a flat cut
        # (the arrow head covers it).
        ds = math.hypot(x - sx, y - sy) - w0
        de = math.hypot(x - ex, y - ey) - w1
        return min(ds, de)
    return sdf


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)
    return sdf


def intersect(*shapes):
    def sdf(x, y):
        return max(s(x, y) for s in shapes)
    return sdf


def subtract(a, b):
    def sdf(x, y):
        return max(a(x, y), -b(x, y))
    return sdf


def rounded(shape, r):
    def sdf(x, y):
        return shape(x, y) - r
    return sdf


# ---------------------------------------------------------------------------
# Paints: (x, y) -> (r, g, b) in emblem units
# ---------------------------------------------------------------------------

def solid(c):
    return lambda x, y: c


def linear(x0, y0, c0, x1, y1, c1):
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey

    def paint(x, y):
        return mix(c0, c1, ((x - x0) * ex + (y - y0) * ey) / ll)
    return paint


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats, sRGB values 0..255, alpha 0..1
# ---------------------------------------------------------------------------

SS = 4  # sub-samples per pixel along each axis


class Canvas:
    def __init__(self, width, height):
        self.w = width
        self.h = height
        self.r = [0.0] * (width * height)
        self.g = [0.0] * (width * height)
        self.b = [0.0] * (width * height)
        self.a = [0.0] * (width * height)
        # emblem-unit -> pixel transform: px = ox + x * scale
        self.ox = 0.0
        self.oy = 0.0
        self.scale = float(min(width, height))

    def place(self, ox, oy, scale):
        self.ox, self.oy, self.scale = float(ox), float(oy), float(scale)

    def snap_x(self, x):
        """Move an emblem x coordinate onto the nearest pixel boundary."""
        px = round(self.ox + x * self.scale)
        return (px - self.ox) / self.scale

    def _blend(self, i, col, alpha):
        if alpha <= 0.0:
            return
        k = 1.0 - alpha
        self.r[i] = col[0] * alpha + self.r[i] * k
        self.g[i] = col[1] * alpha + self.g[i] * k
        self.b[i] = col[2] * alpha + self.b[i] * k
        self.a[i] = alpha + self.a[i] * k

    def _bounds(self, box):
        if box is None:
            return 0, 0, self.w, self.h
        x0, y0, x1, y1 = box
        s = self.scale
        px0 = max(0, int(math.floor(self.ox + x0 * s)) - 1)
        py0 = max(0, int(math.floor(self.oy + y0 * s)) - 1)
        px1 = min(self.w, int(math.ceil(self.ox + x1 * s)) + 2)
        py1 = min(self.h, int(math.ceil(self.oy + y1 * s)) + 2)
        return px0, py0, px1, py1

    def fill(self, shape, paint, opacity=1.0, box=None):
        """Fill a shape; coverage is the mean over SSxSS sub-samples, each of
        which is itself antialiased over its own footprint."""
        s = self.scale
        inv = 1.0 / s
        px0, py0, px1, py1 = self._bounds(box)
        sub = [(k + 0.5) / SS - 0.5 for k in range(SS)]
        for py in range(py0, py1):
            for px in range(px0, px1):
                cx = (px + 0.5 - self.ox) * inv
                cy = (py + 0.5 - self.oy) * inv
                d = shape(cx, cy) * s
                if d >= 1.5:
                    continue
                if d <= -1.5:
                    cov = 1.0
                else:
                    acc = 0.0
                    for oy in sub:
                        yy = cy + oy * inv
                        for ox in sub:
                            ds = shape(cx + ox * inv, yy) * s * SS
                            acc += clamp01(0.5 - ds)
                    cov = acc / (SS * SS)
                if cov <= 0.0:
                    continue
                self._blend(py * self.w + px, paint(cx, cy), cov * opacity)

    def glow(self, shape, colour, softness, opacity, box=None):
        """Soft-edged fill (shadows, glows): alpha falls off smoothly across
        +-softness emblem units around the boundary."""
        s = self.scale
        inv = 1.0 / s
        px0, py0, px1, py1 = self._bounds(box)
        for py in range(py0, py1):
            for px in range(px0, px1):
                cx = (px + 0.5 - self.ox) * inv
                cy = (py + 0.5 - self.oy) * inv
                d = shape(cx, cy)
                if d >= softness:
                    continue
                a = opacity * (1.0 - smoothstep(-softness, softness, d))
                self._blend(py * self.w + px, colour, a)

    def shade(self, func):
        """Paint every pixel with func(px, py) -> ((r, g, b), alpha), px/py
        being pixel-centre coordinates."""
        for py in range(self.h):
            for px in range(self.w):
                col, a = func(px + 0.5, py + 0.5)
                self._blend(py * self.w + px, col, a)

    def rgba_rows(self):
        """Straight (un-premultiplied) 8-bit RGBA rows.  Fully transparent
        pixels are stored as 0,0,0,0."""
        rows = []
        for py in range(self.h):
            row = bytearray()
            for px in range(self.w):
                i = py * self.w + px
                a = self.a[i]
                a8 = int(a * 255.0 + 0.5)
                if a8 <= 0:
                    row += b"\0\0\0\0"
                    continue
                if a8 > 255:
                    a8 = 255
                row.append(_to8(self.r[i] / a))
                row.append(_to8(self.g[i] / a))
                row.append(_to8(self.b[i] / a))
                row.append(a8)
            rows.append(bytes(row))
        return rows


def _to8(v):
    v = int(v + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


# ---------------------------------------------------------------------------
# The emblem: an open carton with a sweeping arrow lifting out of it.
# ---------------------------------------------------------------------------

def draw_emblem(cv, detail="full", on_dark=False):
    """Draw the emblem into the unit square placed on cv.

    detail: "full" (large sizes), "medium" (32..48 px) or "small" (16..24 px).
    on_dark: add a faint rim light so the carton separates from a dark
    background.
    """
    small = detail == "small"
    full = detail == "full"

    # Carton corners (isometric-ish, viewed from slightly above).
    if small:
        # A squatter, bolder carton reads better on a tiny grid; its
        # vertical edges are snapped to whole pixels so they stay crisp.
        lx, cx_, rx = cv.snap_x(0.05), cv.snap_x(0.38), cv.snap_x(0.71)
        top, rise, depth = 0.35, 0.14, 0.30
    else:
        lx, cx_, rx = 0.10, 0.40, 0.70
        top, rise, depth = 0.30, 0.14, 0.32
    T = (cx_, top)                       # back corner of the opening
    L = (lx, top + rise)                 # left corner
    R = (rx, top + rise)                 # right corner
    C = (cx_, top + 2 * rise)            # front corner of the opening
    BL = (lx, L[1] + depth)
    BR = (rx, R[1] + depth)
    B = (cx_, C[1] + depth)

    corner = 0.035 if not small else 0.02
    hexagon = rounded(polygon([T, R, BR, B, BL, L]), corner)
    left_face = intersect(hexagon, polygon([L, C, B, BL]))
    right_face = intersect(hexagon, polygon([C, R, BR, B]))
    opening = intersect(hexagon, polygon([T, R, C, L]))
    lip = 0.025 if not small else 0.03
    inner = rounded(polygon([
        (T[0], T[1] + lip), (R[0] - 1.8 * lip, R[1]),
        (C[0], C[1] - lip), (L[0] + 1.8 * lip, L[1])]), 0.005)
    front_rim = intersect(subtract(opening, inner),
                          lambda x, y: L[1] - 0.01 - y)
    box = (-0.05, -0.05, 1.05, 1.05)

    left_paint = linear(L[0], L[1], BLUE_LIGHT, C[0], B[1], BLUE)
    right_paint = linear(C[0], C[1], BLUE, R[0], BR[1], BLUE_DARK)
    if small:
        right_paint = linear(C[0], C[1], BLUE_DARK, R[0], BR[1], BLUE_DEEP)

    # Soft ground shadow.
    if not small:
        cv.glow(ellipse(0.41, B[1] - 0.005, 0.33, 0.04), NAVY, 0.035,
                0.35 if not on_dark else 0.5, box)

    # Rim light around the silhouette, for dark backgrounds.
    if on_dark:
        cv.glow(rounded(hexagon, 0.002), (170, 215, 250), 0.006, 0.35, box)

    # Flaps folded back from the two rear edges of the opening.
    if not small:
        lift = (-0.02, -0.15)
        flap_l = polygon([T, L, (L[0] + lift[0] - 0.06, L[1] + lift[1] + 0.02),
                          (T[0] + lift[0], T[1] + lift[1])])
        flap_r = polygon([T, R, (R[0] - lift[0] + 0.06, R[1] + lift[1] + 0.02),
                          (T[0] - lift[0], T[1] + lift[1])])
        if on_dark:
            cv.glow(rounded(union(flap_l, flap_r), 0.016), (170, 215, 250),
                    0.006, 0.3, box)
        cv.fill(rounded(flap_l, 0.015),
                linear(0.1, 0.2, BLUE_PALE, 0.4, 0.4, BLUE_LIGHT), 1.0, box)
        cv.fill(rounded(flap_r, 0.015),
                linear(0.7, 0.2, BLUE_LIGHT, 0.4, 0.4, BLUE), 1.0, box)

    # The opening: a pale rim around the inside of the carton.  Of the
    # inside only the two rear walls can be seen: the left one faces away
    # from the light, the right one towards it; both darken with depth.
    cv.fill(opening, solid(BLUE_PALE), 1.0, box)
    if small:
        cv.fill(inner, linear(T[0], T[1], BLUE_DEEP, C[0], C[1], NAVY),
                1.0, box)
    else:
        cv.fill(intersect(inner, lambda x, y: x - T[0]),
                linear(T[0], T[1], BLUE_DEEP, C[0], C[1], NAVY), 1.0, box)
        cv.fill(intersect(inner, lambda x, y: T[0] - x),
                linear(T[0], T[1], BLUE_DARK, C[0], C[1], BLUE_DEEP), 1.0,
                box)

    # The sweeping arrow: rises straight out of the carton, then curves
    # away to the right.
    if small:
        ar = 0.25
        acx, acy = cx_ - 0.02 + ar, top + 0.10
        a1 = math.radians(320)
        w0, w1 = 0.062, 0.078
        head_len, head_w = 0.22, 0.18
        rim = 0.035
    else:
        ar = 0.25
        acx, acy = cx_ - 0.03 + ar, top + 0.11
        a1 = math.radians(322)
        w0, w1 = 0.032, 0.062
        head_len, head_w = 0.19, 0.145
        rim = 0.028 if full else 0.032
    a0 = math.pi
    sx = acx - ar
    ex, ey = acx + ar * math.cos(a1), acy + ar * math.sin(a1)
    tx, ty = -math.sin(a1), math.cos(a1)          # direction of travel
    nx, ny = -ty, tx
    back = 0.02
    head = rounded(polygon([
        (ex - tx * back + nx * head_w, ey - ty * back + ny * head_w),
        (ex + tx * head_len, ey + ty * head_len),
        (ex - tx * back - nx * head_w, ey - ty * back - ny * head_w)]),
        0.012)
    stem = segment(sx, acy, sx, C[1] + 0.1, w0)
    shaft = union(tapered_arc(acx, acy, ar, a0, a1, w0, w1), stem)
    arrow = union(shaft, head)

    # White rim around the arrow separates it from the carton.
    cv.fill(rounded(arrow, rim), solid(WHITE), 1.0, box)
    cv.fill(arrow, linear(sx, C[1], TEAL, 0.90, 0.20, TEAL_LIGHT), 1.0, box)
    if not small:
        # Sheen along the outer side of the shaft.
        sheen = intersect(
            tapered_arc(acx, acy, ar + w0 * 0.45, a0 + 0.2, a1 - 0.05,
                        w0 * 0.22, w1 * 0.2),
            arrow)
        cv.fill(sheen, solid(WHITE), 0.35, box)

    # Front of the carton, drawn last so that the arrow comes out of it.
    cv.fill(left_face, left_paint, 1.0, box)
    cv.fill(right_face, right_paint, 1.0, box)
    cv.fill(front_rim, solid(BLUE_PALE), 1.0, box)

    # Crisp highlights along the front edges.
    if not small:
        hw = 0.006 if full else 0.009
        cv.fill(intersect(hexagon, segment(L[0], L[1], C[0], C[1], hw)),
                solid(WHITE), 0.6, box)
        cv.fill(intersect(hexagon, segment(C[0], C[1], R[0], R[1], hw)),
                solid(WHITE), 0.4, box)
        cv.fill(intersect(hexagon, segment(C[0], C[1], B[0], B[1], hw)),
                solid(WHITE), 0.2, box)


# ---------------------------------------------------------------------------
# The watermark panel
# ---------------------------------------------------------------------------

def gradient(stops, t):
    """Colour at t along (position, colour) stops, eased between stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smoothstep(p0, p1, t))
    return stops[-1][1]


def draw_watermark(width, height):
    cv = Canvas(width, height)

    stops = ((0.00, (10, 34, 74)),
             (0.42, (27, 86, 158)),
             (0.72, (21, 114, 152)),
             (1.00, (11, 84, 106)))

    def background(px, py):
        base = gradient(stops, py / height)
        # Slightly darker towards the window edge, lighter towards the page.
        base = mix(base, (0, 0, 0), 0.12 * (1.0 - px / width))
        return base, 1.0
    cv.shade(background)

    # Two wide, faint arcs echoing the emblem's sweep, centred off the
    # panel to the lower right.
    def arcs(px, py):
        a = 0.0
        for cx, cy, r, half, strength in ((230.0, 300.0, 250.0, 0.9, 0.12),
                                          (230.0, 300.0, 262.0, 5.0, 0.035),
                                          (250.0, 330.0, 205.0, 0.7, 0.08)):
            d = abs(math.hypot(px - cx, py - cy) - r)
            a += strength * (1.0 - smoothstep(half * 0.3, half + 0.7, d))
        a *= smoothstep(20.0, 140.0, py) * (1.0 - smoothstep(170.0, 235.0, py))
        return WHITE, a
    cv.shade(arcs)

    # Diagonal light bands, soft-edged.
    def bands(px, py):
        u = (px * 0.64 + py * 0.77)          # distance along the diagonal
        a = 0.0
        for centre, half, strength in ((120.0, 26.0, 0.060),
                                       (168.0, 7.0, 0.050),
                                       (250.0, 44.0, 0.045),
                                       (318.0, 4.0, 0.060)):
            d = abs(u - centre)
            a += strength * (1.0 - smoothstep(half * 0.4, half, d))
        # The bands fade out towards the top and bottom.
        a *= smoothstep(0.0, 90.0, py) * (1.0 - 0.6 * smoothstep(260.0, 348.0, py))
        return WHITE, min(a, 1.0)
    cv.shade(bands)

    # Fine rule along the right edge, where the panel meets the page.
    def rule(px, py):
        if px > width - 1:
            return WHITE, 0.22
        if px > width - 2:
            return WHITE, 0.07
        return WHITE, 0.0
    cv.shade(rule)

    # Emblem in the lower part, on a soft glow.
    size = 102.0
    ox = (width - size) / 2.0 - 1.0
    oy = height - size - 46.0
    cv.place(ox, oy, size)
    cv.glow(circle(0.45, 0.58, 0.32), (130, 205, 240), 0.45, 0.20,
            (-0.5, -0.5, 1.5, 1.5))
    draw_emblem(cv, "full", on_dark=True)
    return cv


# ---------------------------------------------------------------------------
# PNG and ICO writers
# ---------------------------------------------------------------------------

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + \
        struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _filter_rows(rows, bpp=4):
    """Per row, the cheaper of the None and Sub filters by the minimum sum of
    absolute differences. Up, Average and Paeth would compress a little better
    but cost the program noticeably more to decode at every start."""
    out = bytearray()
    for row in rows:
        n = len(row)
        sub = bytearray(n)
        for i in range(n):
            a = row[i - bpp] if i >= bpp else 0
            sub[i] = (row[i] - a) & 0xFF
        cands = [(0, bytes(row)), (1, bytes(sub))]

        def cost(item):
            return sum(v if v < 128 else 256 - v for v in item[1])
        ftype, data = min(cands, key=cost)
        out.append(ftype)
        out += data
    return bytes(out)


def png_bytes(width, height, rows, extra_chunks=()):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    idat = zlib.compress(_filter_rows(rows), 9)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
    for kind, data in extra_chunks:
        out += _chunk(kind, data)
    out += _chunk(b"IDAT", idat)
    out += _chunk(b"IEND", b"")
    return out


def dib_bytes(size, rows):
    """32-bit BITMAPINFOHEADER icon image: BGRA rows bottom-up, then the
    1-bit AND mask (set where fully transparent), rows padded to 32 bits."""
    mask_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        m = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                m[x >> 3] |= 0x80 >> (x & 7)
        mask += m
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, encoded bytes)."""
    count = len(images)
    offset = 6 + 16 * count
    head = struct.pack("<HHH", 0, 1, count)
    entries = b""
    blobs = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
        blobs += data
    return head + entries + blobs


# ---------------------------------------------------------------------------

def render_emblem(size):
    cv = Canvas(size, size)
    if size <= 24:
        detail = "small"
    elif size <= 48:
        detail = "medium"
    else:
        detail = "full"
    # A hair of margin keeps the anti-aliased fringe off the border.
    m = size * 0.02
    cv.place(m, m, size - 2 * m)
    draw_emblem(cv, detail)
    return cv


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


def main(argv):
    root = argv[1] if len(argv) > 1 else \
        os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

    logo = render_emblem(48)
    write(os.path.join(root, "Resources", "images", "logo.png"),
          png_bytes(48, 48, logo.rgba_rows()))

    wm = draw_watermark(134, 348)
    extra = [
        (b"sRGB", b"\x00"),
        (b"gAMA", struct.pack(">I", 45455)),
        (b"pHYs", struct.pack(">IIB", 3780, 3780, 1)),
        (b"tEXt", b"Software\0Remedor artwork script"),
        (b"tEXt", b"Title\0Remedor wizard watermark"),
    ]
    write(os.path.join(root, "Resources", "images", "watermark.png"),
          png_bytes(134, 348, wm.rgba_rows(), extra))

    images = []
    big = render_emblem(256)
    images.append((256, png_bytes(256, 256, big.rgba_rows())))
    for size in (96, 48, 32, 24, 16):
        cv = logo if size == 48 else render_emblem(size)
        images.append((size, dib_bytes(size, cv.rgba_rows())))
    write(os.path.join(root, "Resources", "remedor.ico"), ico_bytes(images))


if __name__ == "__main__":
    main(sys.argv)
