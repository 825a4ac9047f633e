#!/usr/bin/env python3
"""Draws the editor's icons and drag cursor and writes them as .ico/.cur files.

Run again only when the pictures change; the files it writes are kept in the repository.
"""
import os
import struct
import sys

PAPER = (255, 255, 255, 255)
EDGE = (64, 64, 64, 255)
FOLD = (200, 200, 200, 255)
INK = (40, 80, 200, 255)
ACCENT = (220, 120, 20, 255)
CLEAR = (0, 0, 0, 0)


def blank(size):
    return [[CLEAR] * size for _ in range(size)]


def page(size, lines_colour, mark=None):
    """A sheet with a folded corner and lines of text; mark adds a pen stroke."""
    img = blank(size)
    s = size / 32.0
    left, right, top, bottom = int(6 * s), int(25 * s), int(2 * s), int(29 * s)
    fold = max(2, int(6 * s))
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x > right - fold and y < top + fold and (x - (right - fold)) > (y - top):
                continue
            edge = x in (left, right) or y in (top, bottom) or \
                (x > right - fold and y < top + fold and (x - (right - fold)) == (y - top) + 1)
            img[y][x] = EDGE if edge else PAPER
    for i in range(fold - 1):
        for j in range(i + 1):
            img[top + 1 + i][right - fold + 1 + j] = FOLD
    step = max(2, int(4 * s))
    for n, y in enumerate(range(top + fold + step - 1, bottom - 1, step)):
        end = right - int(3 * s) - (int(5 * s) if n % 3 == 2 else 0)
        for x in range(left + int(3 * s), end):
            img[y][x] = lines_colour
    if mark:
        for i in range(int(12 * s)):
            x, y = int(13 * s) + i, int(27 * s) - i
            for dx in (0, 1):
                if 0 <= x + dx < size and 0 <= y < size:
                    img[y][x + dx] = mark
    return img


def arrow(size):
    """The standard pointer shape with a small sheet below it: text being dragged."""
    img = blank(size)
    for y in range(17):
        for x in range(y + 1):
            if x <= 11 and not (y > 11 and x > 16 - y + 5):
                edge = x == 0 or x == y or y == 16 or (y > 11 and x == 16 - y + 5)
                img[y][x] = (0, 0, 0, 255) if edge else PAPER
    for y in range(20, 30):
        for x in range(8, 20):
            edge = x in (8, 19) or y in (20, 29)
            img[y][x] = (0, 0, 0, 255) if edge else PAPER
    for y in (23, 26):
        for x in range(10, 18):
            img[y][x] = (0, 0, 0, 255)
    return img


def dib(img):
    """A 32-bit image with its AND mask, bottom-up, as icon and cursor files hold it."""
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(struct.pack('BBBB', b, g, r, a)
                      for row in reversed(img) for (r, g, b, a) in row)
    row_bytes = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(img):
        out = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + pixels + mask


def write(path, kind, images, hotspot=(0, 0)):
    data = [dib(img) for img in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, data):
        size = len(img)
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits,
                           len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'resources')
    write(os.path.join(folder, 'Zendle.ico'), 1,
          [page(32, INK, ACCENT), page(16, INK, ACCENT)])
    write(os.path.join(folder, 'Document.ico'), 1, [page(32, EDGE), page(16, EDGE)])
    write(os.path.join(folder, 'Drag.cur'), 2, [arrow(32)], hotspot=(0, 0))


if __name__ == '__main__':
    main()
