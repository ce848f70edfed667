#!/usr/bin/env python3
"""Draws the product's two pictures and writes them as BMP files beside this
script: Logo.bmp (240 x 180, 16 colours: a framed landscape) and Banner.bmp
(281 x 64, 24 bits: a strip of slides on a sky gradient). Run it again after
changing a drawing; the BMP files are committed."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 colours of the standard VGA palette, as (R, G, B).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)


def write_bmp(path, width, height, bits, rows, palette=None):
    """rows: top-down lists of palette indices (4 bits) or (R, G, B) (24 bits)."""
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 4:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append((hi << 4) | lo)
        else:
            for r, g, b in row:
                line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in (palette or []))
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 3780, 3780,
                       len(palette or []), 0)
    with open(path, "wb") as f:
        f.write(header + info + colours + data)


def logo():
    w, h = 240, 180
    rows = [[SILVER] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            inside = 16 <= x < w - 16 and 16 <= y < h - 16
            frame = 6 <= x < w - 6 and 6 <= y < h - 6
            if not frame:
                rows[y][x] = SILVER
            elif not inside:
                # A wooden frame with a lit top-left and a shaded bottom-right edge.
                rows[y][x] = YELLOW if (x < 9 or y < 9) else (MAROON if (x >= w - 9 or y >= h - 9) else OLIVE)
            else:
                ridge = 110 - 38 * math.sin((x - 16) / 30.0) - 10 * math.cos((x - 16) / 11.0)
                hill = 135 - 14 * math.sin((x + 40) / 23.0)
                if (x - 175) ** 2 + (y - 52) ** 2 <= 17 ** 2:
                    rows[y][x] = YELLOW
                elif y > hill:
                    rows[y][x] = GREEN if y < hill + 6 else (LIME if (x + y) % 7 else GREEN)
                elif y > ridge:
                    rows[y][x] = WHITE if y < ridge + 7 and ridge < 90 else (GREY if (x // 3 + y // 5) % 4 else SILVER)
                else:
                    rows[y][x] = AQUA if y > 70 else (BLUE if y < 34 else (AQUA if (x + y) % 3 else BLUE))
    return rows


def banner():
    w, h = 281, 64
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = x / (w - 1)
            row.append((int(20 + 60 * t), int(60 + 90 * t), int(160 + 80 * (1 - y / h))))
        rows.append(row)
    slides = [(220, 70, 60), (250, 200, 60), (80, 180, 90), (90, 140, 230), (190, 110, 200)]
    for i, colour in enumerate(slides):
        left = 12 + i * 54
        for y in range(10, 54):
            for x in range(left, left + 46):
                edge = x in (left, left + 45) or y in (10, 53)
                if edge:
                    rows[y][x] = (255, 255, 255)
                elif y >= 13 and y <= 50 and left + 3 <= x <= left + 42:
                    shade = 1.0 - 0.35 * (y - 13) / 37
                    rows[y][x] = tuple(int(c * shade) for c in colour)
                else:
                    rows[y][x] = (245, 245, 245)
    for x in range(w):  # sprocket holes of a film strip
        for y in (3, 4, 5, 58, 59, 60):
            if x % 10 < 5:
                rows[y][x] = (30, 30, 30)
    return rows


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "Logo.bmp"), 240, 180, 4, logo(), PALETTE)
    write_bmp(os.path.join(HERE, "Banner.bmp"), 281, 64, 24, banner())
