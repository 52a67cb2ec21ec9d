#!/usr/bin/env python3
"""Test pictures for the paint scripts, with nothing but the standard library.
  pictures.py textured OUT.png rgb|rgba  48x32, colour and alpha that vary
  pictures.py flat OUT.png R G B A       48x32 of one colour and alpha
  pictures.py cmyk OUT.jpg               an 8x8 baseline JPEG in CMYK
  pictures.py channels IN.png            hex of the colour, a line, then of the alpha
  pictures.py near IN.png R G B TOL      every pixel within TOL of R,G,B?
PNG files read are 8-bit RGB or RGBA, not interlaced."""
import struct
import sys
import zlib

W, H = 48, 32


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, pixels, alpha):
    n = 4 if alpha else 3
    raw = b"".join(b"\0" + bytes(v for p in row for v in p[:n]) for row in pixels)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6 if alpha else 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))


def read_png(path):
    data = open(path, "rb").read()
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour in (2, 6) and interlace == 0, header
    n = 4 if colour == 6 else 3
    raw, stride, rows, prior = zlib.decompress(idat), width * n, [], bytearray(width * n)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - n] if i >= n else 0
            b, c = prior[i], prior[i - n] if i >= n else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * n:(x + 1) * n]) for x in range(width)])
        prior = line
    return rows


def cmyk_jpeg(path):
    # Every block flat (DC difference 0, then end of block): one Huffman code
    # of one bit for each table, two bits a block, four blocks a byte.
    def segment(marker, body):
        return bytes([0xFF, marker]) + struct.pack(">H", len(body) + 2) + body

    adobe = b"Adobe" + struct.pack(">HHHB", 100, 0, 0, 0)
    tables = b"\0" + bytes([1] * 64)
    frame = struct.pack(">BHHB", 8, 8, 8, 4) + b"".join(bytes([i, 0x11, 0]) for i in range(1, 5))
    huffman = b"".join(bytes([c]) + bytes([1] + [0] * 15) + b"\0" for c in (0x00, 0x10))
    scan = bytes([4]) + b"".join(bytes([i, 0]) for i in range(1, 5)) + bytes([0, 63, 0])
    with open(path, "wb") as f:
        f.write(b"\xff\xd8" + segment(0xEE, adobe) + segment(0xDB, tables) + segment(0xC0, frame)
                + segment(0xC4, huffman) + segment(0xDA, scan) + b"\0" + b"\xff\xd9")


def main(command, path, *rest):
    if command == "textured":
        pixels = [[((x * 5 + y * 3) & 255, (x * y) & 255, (200 - x * 4) & 255,
                    0 if x < 4 else 255 if x >= W - 4 else (x * 37 + y * 11) & 255)
                   for x in range(W)] for y in range(H)]
        write_png(path, pixels, rest[0] == "rgba")
    elif command == "flat":
        write_png(path, [[tuple(int(v) for v in rest)] * W for _ in range(H)], True)
    elif command == "cmyk":
        cmyk_jpeg(path)
    elif command == "channels":
        rows = read_png(path)
        print("".join("%02x%02x%02x" % p[:3] for row in rows for p in row))
        print("".join("%02x" % p[3] for row in rows for p in row if len(p) == 4))
    elif command == "near":
        want, tolerance = [int(v) for v in rest[:3]], int(rest[3])
        return 0 if all(abs(p[c] - want[c]) <= tolerance for row in read_png(path) for p in row
                        for c in range(3)) else 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
