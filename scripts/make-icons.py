#!/usr/bin/env python3
"""Draws the program's two icons (window and tray) as .ico files with 32x32 and 16x16
images, 32 bits per pixel with an AND mask. Run once; the results are checked in."""
import struct
import sys


def pixel(size, x, y, accent):
    # A rounded tile with a 3 x 3 grid of light cells: a launcher's grid of icons.
    r = size // 6
    inside = r <= x < size - r or r <= y < size - r
    if not inside:
        cx = r if x < r else size - r - 1
        cy = r if y < r else size - r - 1
        inside = (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if not inside:
        return None
    t = y / (size - 1)
    base = tuple(int(a * (1 - t) + b * t) for a, b in zip(accent[0], accent[1]))
    cell = size / 4.0
    gx, gy = (x - size / 8.0) / cell, (y - size / 8.0) / cell
    if 0 <= gx < 3 and 0 <= gy < 3:
        fx, fy = gx - int(gx), gy - int(gy)
        if 0.18 < fx < 0.82 and 0.18 < fy < 0.82:
            return (250, 250, 245)
    return base


def image(size, accent):
    rows = []
    mask_rows = []
    for y in reversed(range(size)):  # bottom-up
        row = b""
        bits = []
        for x in range(size):
            p = pixel(size, x, y, accent)
            if p is None:
                row += bytes((0, 0, 0, 0))
                bits.append(1)
            else:
                r, g, b = p
                row += bytes((b, g, r, 255))
                bits.append(0)
        rows.append(row)
        mask = b""
        for i in range(0, size, 8):
            v = 0
            for bit in bits[i:i + 8]:
                v = (v << 1) | bit
            mask += bytes((v,))
        mask += b"\0" * ((4 - len(mask) % 4) % 4)
        mask_rows.append(mask)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def write_ico(path, accent):
    images = [image(32, accent), image(16, accent)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    write_ico(folder + "/app.ico", ((40, 90, 170), (20, 50, 110)))
    write_ico(folder + "/tray.ico", ((200, 120, 30), (150, 70, 10)))
