#!/usr/bin/env python3
"""Draws the Valvescope icon (a dial gauge on the panel's teal) as PNG files of
16 to 256 pixels, and packs them into valvescope.ico for the Windows program.
Standard library only; run it again after changing it and commit the PNG and
ICO files."""

import math
import struct
import zlib
from pathlib import Path

TEAL = (70, 140, 140)
RIM = (40, 60, 60)
FACE = (230, 242, 242)
BAND = (0, 160, 0)
NEEDLE = (200, 0, 0)
HUB = (20, 20, 20)
SAMPLES = 4  # per pixel and axis, for smooth edges


def colour_at(x, y):
    """The icon on the unit square, y down; None outside the rounded tile."""
    # Rounded tile.
    r = 0.18
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return None
    dx, dy = x - 0.5, y - 0.54
    d = math.hypot(dx, dy)
    if d > 0.42:
        return TEAL
    if d > 0.38:
        return RIM
    # Scale angle: 0 at lower left, 300 degrees round through the top.
    angle = (math.degrees(math.atan2(-dy, dx)) - 240) % 360
    angle = (360 - angle) % 360
    if 0.29 < d <= 0.36 and angle <= 300:
        return BAND
    # Needle at 70 % of the scale, and the hub.
    needle = math.radians(240 - 0.7 * 300)
    nx, ny = math.cos(needle), -math.sin(needle)
    along = dx * nx + dy * ny
    across = abs(dx * ny - dy * nx)
    if -0.04 < along < 0.33 and across < 0.035 * (1 - along / 0.4):
        return NEEDLE
    if d < 0.07:
        return HUB
    return FACE


def render(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter: none
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size,
                                  (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            if acc[3]:
                row += bytes([acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3],
                              255 * acc[3] // n])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return png(size, b"".join(rows))


def png(size, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """An icon file of PNG-compressed images, which Windows reads at every size
    since Vista; `images` maps each size to its PNG."""
    header = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 (icon), count
    offset = len(header) + 16 * len(images)
    entries = b""
    for size, data in images.items():
        side = size % 256  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return header + entries + b"".join(images.values())


if __name__ == "__main__":
    folder = Path(__file__).resolve().parent / "icons"
    folder.mkdir(exist_ok=True)
    images = {size: render(size) for size in (16, 32, 48, 64, 128, 256)}
    for size, data in images.items():
        (folder / f"valvescope_{size}.png").write_bytes(data)
    (folder / "valvescope.ico").write_bytes(ico(images))
