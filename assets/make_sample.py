#!/usr/bin/env python3
"""Writes assets/sample.png: a 32 x 32 pixel-art hero with a transparent background, drawn here as
a character map so the picture can be reviewed and changed as text. Standard library only."""
import os
import struct
import zlib

PALETTE = {
    ".": (0, 0, 0, 0),          # transparent
    "k": (24, 20, 37, 255),     # outline
    "s": (240, 182, 140, 255),  # skin
    "h": (133, 76, 48, 255),    # hair
    "r": (190, 38, 51, 255),    # tunic
    "d": (120, 24, 40, 255),    # tunic shade
    "y": (247, 226, 107, 255),  # belt buckle and sword hilt
    "b": (49, 82, 156, 255),    # trousers
    "w": (236, 240, 241, 255),  # eyes and blade
    "g": (150, 160, 170, 255),  # blade shade
    "n": (73, 44, 30, 255),     # boots
}

ROWS = [
    "................................",
    "................................",
    "...........kkkkkkkk.............",
    "..........khhhhhhhhk............",
    ".........khhhhhhhhhhk...........",
    ".........khhhhhhhhhhk...........",
    ".........khhssssssshk...........",
    ".........khsswkswkssk...........",
    ".........khsswkswkssk...........",
    ".........kssssssssssk...........",
    "..........kssskkssk.............",
    "...........kssssssk.............",
    "............kkkkkk..........kk..",
    "..........kkrrrrrrkk.......kwgk.",
    ".........krrrrrrrrrrk.....kwgk..",
    "........krrdrrrrrrdrrk...kwgk...",
    "........krrdrrrrrrdrrk..kwgk....",
    "........ksskrrrrrrkssk.kwgk.....",
    "........ksskrrrrrrksskkwgk......",
    "........kssdkkkkkkdsskkgk.......",
    ".........kkkyyyyyykkkykk........",
    "..........kdddyydddkyyk.........",
    "..........kbbbbbbbbkkk..........",
    "..........kbbbbbbbbk............",
    "..........kbbbkkbbbk............",
    "..........kbbbkkbbbk............",
    "..........kbbbkkbbbk............",
    ".........knnnnkknnnnk...........",
    ".........knnnnkknnnnk...........",
    ".........kkkkkkkkkkkk...........",
    "................................",
    "................................",
]


def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        assert len(row) == width, row
        raw.append(0)  # filter type: none
        for ch in row:
            raw.extend(PALETTE[ch])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sample.png")
    with open(out, "wb") as f:
        f.write(png_bytes(ROWS))
    print(out)
