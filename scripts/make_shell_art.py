#!/usr/bin/env python3
"""Draws the shell's toolbar strip (13 images of 40 x 40, magenta shows
through) and its two icons, and writes them into shell/app/res/."""
import math
import os
import struct

S = 40
KEY = (255, 0, 255)


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def disc(self, cx, cy, r, c, inner=-1.0):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner < d <= r:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, width, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(n + 1):
            t = i / n
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c)

    def poly(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(round(a)), int(round(b))):
                    self.put(x, y, c)

    def arc(self, cx, cy, r, a0, a1, width, c):
        steps = 60
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            self.disc(cx + r * math.cos(a), cy - r * math.sin(a), width / 2, c)


BLUE = (40, 90, 190)
DARK = (40, 40, 40)
YELLOW = (240, 200, 60)
GREEN = (40, 150, 70)
RED = (200, 50, 40)
GREY = (120, 120, 120)
WHITE = (250, 250, 250)


def arrow_head(c, x, y, angle, size, col):
    a = math.radians(angle)
    tip = (x + size * math.cos(a), y - size * math.sin(a))
    l = (x + size * 0.8 * math.cos(a + 2.3), y - size * 0.8 * math.sin(a + 2.3))
    r = (x + size * 0.8 * math.cos(a - 2.3), y - size * 0.8 * math.sin(a - 2.3))
    c.poly([tip, l, r], col)


def picture(c, ox):
    c.rect(ox + 8, 10, ox + 32, 30, DARK)
    c.rect(ox + 10, 12, ox + 30, 28, (150, 200, 240))
    c.poly([(ox + 10, 28), (ox + 18, 18), (ox + 24, 24), (ox + 27, 21), (ox + 30, 28)], GREEN)


def draw(c, i, ox):
    if i == 0:  # open
        c.poly([(ox + 4, 12), (ox + 14, 12), (ox + 17, 15), (ox + 34, 15), (ox + 34, 32),
                (ox + 4, 32)], (200, 150, 40))
        c.poly([(ox + 9, 19), (ox + 38, 19), (ox + 33, 33), (ox + 4, 33)], YELLOW)
    elif i == 1:  # save as
        c.rect(ox + 6, 6, ox + 34, 34, BLUE)
        c.rect(ox + 11, 6, ox + 29, 16, WHITE)
        c.rect(ox + 10, 22, ox + 30, 34, (220, 220, 220))
        c.rect(ox + 23, 8, ox + 27, 14, DARK)
    elif i in (2, 3):  # rotate cw / ccw
        picture(c, ox)
        if i == 2:
            c.arc(ox + 20, 20, 16, 150, 30, 3, RED)
            arrow_head(c, ox + 34, 12, -60, 6, RED)
        else:
            c.arc(ox + 20, 20, 16, 30, 150, 3, RED)
            arrow_head(c, ox + 6, 12, -120, 6, RED)
    elif i == 4:  # mirror
        c.poly([(ox + 17, 8), (ox + 17, 32), (ox + 4, 32)], BLUE)
        c.poly([(ox + 23, 8), (ox + 23, 32), (ox + 36, 32)], (150, 180, 230))
        c.rect(ox + 19, 4, ox + 21, 36, DARK)
    elif i == 5:  # flip
        c.poly([(ox + 8, 17), (ox + 32, 17), (ox + 32, 4)], BLUE)
        c.poly([(ox + 8, 23), (ox + 32, 23), (ox + 32, 36)], (150, 180, 230))
        c.rect(ox + 4, 19, ox + 36, 21, DARK)
    elif i == 6:  # brightness / contrast
        for k in range(8):
            a = math.radians(k * 45)
            c.line(ox + 20 + 11 * math.cos(a), 20 + 11 * math.sin(a),
                   ox + 20 + 17 * math.cos(a), 20 + 17 * math.sin(a), 3, YELLOW)
        c.disc(ox + 20, 20, 9, YELLOW)
        c.poly([(ox + 20, 11), (ox + 20, 29), (ox + 11, 20)], (200, 140, 20))
    elif i in (7, 8):  # undo / redo
        if i == 7:
            c.arc(ox + 20, 22, 11, 180, -60, 4, BLUE)
            arrow_head(c, ox + 9, 18, 100, 8, BLUE)
        else:
            c.arc(ox + 20, 22, 11, 0, 240, 4, BLUE)
            arrow_head(c, ox + 31, 18, 80, 8, BLUE)
    else:  # zoom in, out, fit, 1:1
        c.line(ox + 24, 24, ox + 35, 35, 5, DARK)
        c.disc(ox + 17, 17, 12, DARK)
        c.disc(ox + 17, 17, 9.5, WHITE)
        if i == 9:
            c.rect(ox + 11, 16, ox + 24, 19, BLUE)
            c.rect(ox + 16, 11, ox + 19, 24, BLUE)
        elif i == 10:
            c.rect(ox + 11, 16, ox + 24, 19, BLUE)
        elif i == 11:
            for (x, y, dx, dy) in ((11, 11, 1, 1), (23, 11, -1, 1), (11, 23, 1, -1),
                                   (23, 23, -1, -1)):
                c.rect(ox + min(x, x + 4 * dx), min(y, y + dy), ox + max(x, x + 4 * dx),
                       max(y, y + dy) + 1, BLUE)
                c.rect(ox + min(x, x + dx), min(y, y + 4 * dy), ox + max(x, x + dx) + 1,
                       max(y, y + 4 * dy), BLUE)
        else:
            c.rect(ox + 11, 12, ox + 13, 23, BLUE)
            c.rect(ox + 16, 14, ox + 18, 16, BLUE)
            c.rect(ox + 16, 19, ox + 18, 21, BLUE)
            c.rect(ox + 21, 12, ox + 23, 23, BLUE)


def bmp24(c):
    row = (c.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray()
        for x in range(c.w):
            r, g, b = c.px[y][x]
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def icon_image(size, accent):
    c = Canvas(size, size, None)
    k = size / 32.0
    for y in range(size):
        for x in range(size):
            c.px[y][x] = None
    def fill(x0, y0, x1, y1, col):
        for y in range(int(y0 * k), int(y1 * k)):
            for x in range(int(x0 * k), int(x1 * k)):
                c.px[y][x] = col
    fill(2, 4, 30, 28, DARK)
    fill(4, 6, 28, 26, (150, 200, 240))
    for y in range(int(14 * k), int(26 * k)):
        for x in range(int(4 * k), int(28 * k)):
            if y >= int((26 - (x / k - 4) * 0.5) * k) or y >= int((14 + abs(x / k - 18)) * k):
                c.px[y][x] = GREEN
    fill(20, 8, 26, 12, accent)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            p = c.px[y][x]
            xor += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(size):
            if c.px[y][x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + xor + mask


def ico(accent):
    images = [icon_image(32, accent), icon_image(16, accent)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return out


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shell", "app", "res")
    strip = Canvas(S * 13, S, KEY)
    for i in range(13):
        draw(strip, i, i * S)
    with open(os.path.join(res, "toolbar.bmp"), "wb") as f:
        f.write(bmp24(strip))
    with open(os.path.join(res, "shell.ico"), "wb") as f:
        f.write(ico(YELLOW))
    with open(os.path.join(res, "image.ico"), "wb") as f:
        f.write(ico(RED))


main()
