#!/usr/bin/env python3
"""Draws the message-window pictures and the OK glyph as 24-bit BMP files.

Magenta is the transparent colour: the program masks out whatever colour the
bottom-left pixel has. Run from this folder; the BMP files are checked in.
"""
import math
import struct
import zlib

MAGENTA = (255, 0, 255)


def write_bmp(name, pixels):
    h = len(pixels)
    w = len(pixels[0])
    row_pad = (4 - (w * 3) % 4) % 4
    data = bytearray()
    for row in reversed(pixels):  # BMP rows go bottom-up
        for (r, g, b) in row:
            data += bytes((b, g, r))
        data += b"\0" * row_pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(name, "wb") as f:
        f.write(header + info + data)


def canvas(size):
    return [[MAGENTA for _ in range(size)] for _ in range(size)]


def badge(px, fill, rim, radius=14.5):
    c = (len(px) - 1) / 2
    for y in range(len(px)):
        for x in range(len(px)):
            d = math.hypot(x - c, y - c)
            if d <= radius - 1.2:
                px[y][x] = fill
            elif d <= radius:
                px[y][x] = rim


def info():
    px = canvas(32)
    badge(px, (235, 242, 255), (90, 120, 190))
    blue = (20, 60, 200)
    for y in range(7, 11):          # the dot
        for x in range(14, 18):
            px[y][x] = blue
    for y in range(13, 25):         # the stem
        for x in range(14, 18):
            px[y][x] = blue
    for x in range(12, 20):         # foot serif
        px[24][x] = blue
        px[25][x] = blue
    for x in range(12, 14):         # head serif
        px[13][x] = blue
    return px


def erro():
    px = canvas(32)
    badge(px, (210, 30, 30), (140, 10, 10))
    white = (255, 255, 255)
    for i in range(9, 23):
        for t in range(-1, 2):
            for (x, y) in ((i + t, i), (31 - i - t, i)):
                px[y][x] = white
    return px


def ok_glyph():
    px = canvas(16)
    green = (0, 150, 0)
    points = [(2, 8), (3, 9), (4, 10), (5, 11), (6, 12)] + [(6 + k, 12 - k) for k in range(1, 10)]
    for (x, y) in points:
        for dy in (0, 1, 2):
            if 0 <= y - dy < 16 and x < 16:
                px[y - dy][x] = green
    return px


def write_png(name, pixels):
    h = len(pixels)
    w = len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def app_icon():
    """64 x 64, RGBA: a meter dial in blue with a white needle and a signal arc."""
    size = 64
    px = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d <= 30:
                px[y][x] = (30, 80, 170, 255)
            if 24 <= d <= 27 and y < c:
                px[y][x] = (255, 255, 255, 255)
    # The needle, from the centre up and to the right.
    for t in range(0, 220):
        r = t / 10
        for w in (-1, 0, 1):
            x = int(round(c + r * math.cos(math.radians(55)) + w))
            y = int(round(c - r * math.sin(math.radians(55))))
            px[y][x] = (255, 255, 255, 255)
    for y in range(size):
        for x in range(size):
            if math.hypot(x - c, y - c) <= 3.5:
                px[y][x] = (255, 210, 60, 255)
    return px


if __name__ == "__main__":
    write_png("veskor.png", app_icon())
    write_bmp("INFO.bmp", info())
    write_bmp("ERRO.bmp", erro())
    write_bmp("OK.bmp", ok_glyph())
