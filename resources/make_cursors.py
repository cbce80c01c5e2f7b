#!/usr/bin/env python3
"""Draws the module's three animated cursors and writes them as animated-cursor files (RIFF "ACON"):
CRCURSOR_WAIT.ani (11 frames, a turning ring of dots), CRCURSOR_PRINT.ani (9 frames, a sheet coming out of a
printer) and CRCURSOR_PDF.ani (5 frames played 0, 1, 2, 3, 4, 3: a page that fills with lines)."""
import math
import struct

SIZE = 32


def canvas():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def put(img, x, y, c):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = c


def disc(img, cx, cy, r, c):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                put(img, x, y, c)


def rect(img, x0, y0, x1, y1, c, outline=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            put(img, x, y, outline if (edge and outline) else c)


def cur_file(img, hotspot):
    xor = b""
    for row in reversed(img):
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    and_mask = b""
    for row in reversed(img):
        bits = 0
        for x, px in enumerate(row):
            if px[3] == 0:
                bits |= 1 << (31 - x)
        and_mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    data = header + xor + and_mask
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(data), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + data


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def ani(frames, rate, seq=None, hotspot=(16, 16)):
    steps = seq if seq is not None else list(range(len(frames)))
    flags = 1 | (2 if seq is not None else 0)
    anih = struct.pack("<9I", 36, len(frames), len(steps), 0, 0, 0, 0, rate, flags)
    body = b"ACON" + chunk(b"anih", anih)
    body += chunk(b"rate", struct.pack("<%dI" % len(steps), *([rate] * len(steps))))
    if seq is not None:
        body += chunk(b"seq ", struct.pack("<%dI" % len(steps), *steps))
    icons = b"".join(chunk(b"icon", cur_file(f, hotspot)) for f in frames)
    body += chunk(b"LIST", b"fram" + icons)
    return b"RIFF" + struct.pack("<I", len(body)) + body


BLACK, WHITE = (0, 0, 0, 255), (255, 255, 255, 255)
NAVY, RED, GREY = (0, 0, 128, 255), (200, 30, 30, 255), (150, 150, 150, 255)


def wait_frame(i):
    img = canvas()
    for k in range(11):
        ang = 2 * math.pi * k / 11 - math.pi / 2
        x, y = 16 + 11 * math.cos(ang), 16 + 11 * math.sin(ang)
        shade = ((k - i) % 11) / 11.0
        c = (int(20 + 200 * shade), int(60 + 170 * shade), 255, 255)
        disc(img, x, y, 3.2, BLACK)
        disc(img, x, y, 2.2, c)
    return img


def print_frame(i):
    img = canvas()
    rect(img, 4, 12, 27, 22, GREY, BLACK)          # printer body
    rect(img, 8, 4, 23, 12, WHITE, BLACK)          # paper tray
    out = 22 + i                                   # the sheet comes out frame by frame
    rect(img, 8, 22, 23, min(out, 31), WHITE, BLACK)
    for y in range(24, min(out, 31), 3):
        for x in range(10, 22):
            put(img, x, y, NAVY)
    put(img, 24, 15, RED)
    return img


def pdf_frame(i):
    img = canvas()
    rect(img, 6, 2, 25, 29, WHITE, BLACK)
    rect(img, 8, 4, 23, 9, RED)
    for n in range(i + 1):
        y = 12 + 3 * n
        for x in range(9, 23):
            put(img, x, y, NAVY)
    return img


if __name__ == "__main__":
    out = {
        "CRCURSOR_WAIT.ani": ani([wait_frame(i) for i in range(11)], 5),
        "CRCURSOR_PRINT.ani": ani([print_frame(i) for i in range(9)], 8, hotspot=(2, 2)),
        "CRCURSOR_PDF.ani": ani([pdf_frame(i) for i in range(5)], 10, seq=[0, 1, 2, 3, 4, 3], hotspot=(2, 2)),
    }
    for name, data in out.items():
        with open("cursors/" + name, "wb") as f:
            f.write(data)
