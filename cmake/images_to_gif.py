"""Draws the pictures of an image manifest (see cmake/Images.cmake) as GIF files.

Usage: images_to_gif.py MANIFEST OUTDIR
Every picture is written to OUTDIR/<file name of its resource name>.gif.
The GIF bytes (header, palette, graphic control extensions, LZW image data)
are written here directly, so the build needs no imaging library.
"""
import os
import shlex
import struct
import sys

# A 5 x 7 pixel font: each glyph is seven rows of five bits, top row first.
FONT = {
    "A": "01110 10001 10001 11111 10001 10001 10001",
    "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110",
    "D": "11110 10001 10001 10001 10001 10001 11110",
    "E": "11111 10000 10000 11110 10000 10000 11111",
    "F": "11111 10000 10000 11110 10000 10000 10000",
    "G": "01110 10001 10000 10111 10001 10001 01111",
    "H": "10001 10001 10001 11111 10001 10001 10001",
    "I": "01110 00100 00100 00100 00100 00100 01110",
    "J": "00111 00010 00010 00010 00010 10010 01100",
    "K": "10001 10010 10100 11000 10100 10010 10001",
    "L": "10000 10000 10000 10000 10000 10000 11111",
    "M": "10001 11011 10101 10101 10001 10001 10001",
    "N": "10001 10001 11001 10101 10011 10001 10001",
    "O": "01110 10001 10001 10001 10001 10001 01110",
    "P": "11110 10001 10001 11110 10000 10000 10000",
    "Q": "01110 10001 10001 10001 10101 10010 01101",
    "R": "11110 10001 10001 11110 10100 10010 10001",
    "S": "01111 10000 10000 01110 00001 00001 11110",
    "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110",
    "V": "10001 10001 10001 10001 10001 01010 00100",
    "W": "10001 10001 10001 10101 10101 10101 01010",
    "X": "10001 10001 01010 00100 01010 10001 10001",
    "Y": "10001 10001 01010 00100 00100 00100 00100",
    "Z": "11111 00001 00010 00100 01000 10000 11111",
    "0": "01110 10001 10011 10101 11001 10001 01110",
    "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111",
    "3": "11111 00010 00100 00010 00001 10001 01110",
    "4": "00010 00110 01010 10010 11111 00010 00010",
    "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110",
    "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110",
    "9": "01110 10001 10001 01111 00001 00010 01100",
    " ": "00000 00000 00000 00000 00000 00000 00000",
    ".": "00000 00000 00000 00000 00000 01100 01100",
    "-": "00000 00000 00000 11111 00000 00000 00000",
    "?": "01110 10001 00001 00010 00100 00000 00100",
    "!": "00100 00100 00100 00100 00100 00000 00100",
    "<": "00010 00100 01000 10000 01000 00100 00010",
    ">": "01000 00100 00010 00001 00010 00100 01000",
    "/": "00001 00010 00010 00100 01000 01000 10000",
    "+": "00000 00100 00100 11111 00100 00100 00000",
    ":": "00000 01100 01100 00000 01100 01100 00000",
}

GRADIENT_STEPS = 64
TEXT_INDEX = GRADIENT_STEPS
BORDER_INDEX = GRADIENT_STEPS + 1
SPOT_INDEX = GRADIENT_STEPS + 2
PALETTE_BITS = 7  # 128 entries: the gradient, text, border, spot, unused


class ManifestError(Exception):
    pass


def parse_colour(text):
    value = text.lstrip("#")
    if len(value) != 6:
        raise ManifestError(f"colour '{text}' is not RRGGBB")
    return tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))


def parse_line(line, number):
    fields = shlex.split(line, comments=False)
    picture = {"name": fields[0], "size": (16, 16), "face": "solid",
               "colours": [(192, 192, 192)], "text": "", "textcolour": (0, 0, 0),
               "frames": 1, "delay": 10, "dispose": 0, "cells": [], "selected": -1,
               "line": number}
    for field in fields[1:]:
        key, sep, value = field.partition("=")
        if not sep:
            raise ManifestError(f"line {number}: expected key=value, got '{field}'")
        if key == "size":
            w, _, h = value.partition("x")
            picture["size"] = (int(w), int(h))
        elif key == "face":
            if value not in ("solid", "gradient"):
                raise ManifestError(f"line {number}: unknown face '{value}'")
            picture["face"] = value
        elif key == "colours":
            picture["colours"] = [parse_colour(c) for c in value.split(",")]
        elif key == "text":
            picture["text"] = value
        elif key == "textcolour":
            picture["textcolour"] = parse_colour(value)
        elif key in ("frames", "delay", "dispose"):
            picture[key] = int(value)
        elif key == "cells":
            picture["cells"] = value.split("|")
        elif key == "selected":
            picture["selected"] = int(value)
        else:
            raise ManifestError(f"line {number}: unknown key '{key}'")
    w, h = picture["size"]
    if not (1 <= w <= 2000 and 1 <= h <= 2000):
        raise ManifestError(f"line {number}: size out of range")
    if not 1 <= picture["frames"] <= 64:
        raise ManifestError(f"line {number}: frames out of range")
    if picture["selected"] >= len(picture["cells"]):
        raise ManifestError(f"line {number}: selected names no cell")
    return picture


def read_manifest(path):
    pictures = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or (line.startswith("#") and not line[1:2].isdigit()):
                continue
            picture = parse_line(line, number)
            if any(file_name(p["name"]) == file_name(picture["name"]) for p in pictures):
                raise ManifestError(f"line {number}: picture {picture['name']} is listed twice")
            pictures.append(picture)
    return pictures


def file_name(name):
    return "".join(c if c.isalnum() or c in "_-" else "_" for c in name) + ".gif"


def palette(picture):
    first = picture["colours"][0]
    last = picture["colours"][-1] if picture["face"] == "gradient" else first
    rows = []
    for i in range(GRADIENT_STEPS):
        t = i / (GRADIENT_STEPS - 1)
        rows.append(tuple(round(a + (b - a) * t) for a, b in zip(first, last)))
    rows.append(picture["textcolour"])
    rows.append(tuple(max(0, c - 64) for c in first))
    rows.append((255, 255, 255))
    rows += [(0, 0, 0)] * ((1 << PALETTE_BITS) - len(rows))
    return rows


def draw(picture, frame):
    w, h = picture["size"]
    pixels = bytearray(w * h)
    for y in range(h):
        index = (y * (GRADIENT_STEPS - 1)) // max(1, h - 1)
        pixels[y * w:(y + 1) * w] = bytes([index]) * w
    if w > 2 and h > 2:
        for x in range(w):
            pixels[x] = pixels[(h - 1) * w + x] = BORDER_INDEX
        for y in range(h):
            pixels[y * w] = pixels[y * w + w - 1] = BORDER_INDEX
    draw_text(pixels, w, h, picture["text"].upper())
    draw_cells(pixels, w, h, picture["cells"], picture["selected"])
    if picture["frames"] > 1:
        # A spot travelling along the bottom edge makes each frame different.
        span = max(1, w - 6)
        x0 = 2 + (frame * span) // picture["frames"]
        for y in range(max(0, h - 5), max(0, h - 2)):
            for x in range(x0, min(w, x0 + 3)):
                pixels[y * w + x] = SPOT_INDEX
    return pixels


def draw_text(pixels, w, h, text, area=None, index=TEXT_INDEX):
    """The text centred in area (left, top, width, height; the whole picture by default)."""
    left, top, aw, ah = area if area else (0, 0, w, h)
    glyphs = [FONT.get(c, FONT["?"]).split() for c in text]
    if not glyphs:
        return
    scale = max(1, min((ah - 4) // 8, (aw - 4) // max(1, 6 * len(glyphs))))
    text_w = (6 * len(glyphs) - 1) * scale
    x0 = left + max(0, (aw - text_w) // 2)
    y0 = top + max(0, (ah - 7 * scale) // 2)
    for n, rows in enumerate(glyphs):
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit != "1":
                    continue
                for sy in range(scale):
                    for sx in range(scale):
                        x = x0 + (n * 6 + gx) * scale + sx
                        y = y0 + gy * scale + sy
                        if 0 <= x < w and 0 <= y < h:
                            pixels[y * w + x] = index


def draw_cells(pixels, w, h, cells, selected):
    """Equal cells along the picture's longer side, a label in each; the
    selected cell is lit (white, its label in the border colour), and a
    border line parts the cells."""
    count = len(cells)
    across = w >= h
    length = w if across else h
    for n, label in enumerate(cells):
        start = n * length // count
        end = (n + 1) * length // count
        area = (start, 0, end - start, h) if across else (0, start, w, end - start)
        if n == selected:
            for y in range(area[1] + 1, area[1] + area[3] - 1):
                for x in range(area[0] + 1, area[0] + area[2] - 1):
                    pixels[y * w + x] = SPOT_INDEX
        if n > 0:
            for i in range(h if across else w):
                pixels[(i * w + start) if across else (start * w + i)] = BORDER_INDEX
        draw_text(pixels, w, h, label.upper(), area, BORDER_INDEX if n == selected else TEXT_INDEX)


def lzw(pixels, min_code_size):
    """GIF's variable-length LZW, with a clear code whenever the table fills."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bits = 0
    nbits = 0
    code_size = min_code_size + 1
    table = {}
    next_code = end + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += code_size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    emit(clear)
    prefix = None
    for p in pixels:
        if prefix is None:
            prefix = p
            continue
        key = (prefix, p)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear)
            table = {}
            next_code = end + 1
            code_size = min_code_size + 1
        prefix = p
    if prefix is not None:
        emit(prefix)
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def encode(picture):
    w, h = picture["size"]
    frames = picture["frames"]
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", w, h, 0x80 | 0x70 | (PALETTE_BITS - 1), 0, 0)
    for colour in palette(picture):
        out += bytes(colour)
    if frames > 1:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for frame in range(frames):
        if frames > 1:
            packed = (picture["dispose"] & 7) << 2
            out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, packed, picture["delay"], 0, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0)
        out.append(PALETTE_BITS)
        out += sub_blocks(lzw(draw(picture, frame), PALETTE_BITS))
    out += b";"
    return bytes(out)


def main(manifest, outdir):
    try:
        pictures = read_manifest(manifest)
    except (ManifestError, ValueError) as error:
        sys.exit(f"{manifest}: {error}")
    os.makedirs(outdir, exist_ok=True)
    for picture in pictures:
        target = os.path.join(outdir, file_name(picture["name"]))
        with open(target, "wb") as f:
            f.write(encode(picture))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: images_to_gif.py MANIFEST OUTDIR")
    main(sys.argv[1], sys.argv[2])
