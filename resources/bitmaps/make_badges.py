#!/usr/bin/env python3
"""Draws the preview's state badges (NavMouseOff.qgt, NavMouseOver.qgt, NavSelected.qgt: GIF
data) into the program root's SysResources/Graphics folder: a small rounded label with the
state's name in white block letters. Every pixel is either opaque or the transparent index,
so the badge can be drawn over itself without change. Run it from this folder."""
import os
import struct

FONT = {  # 3 x 5 block letters
    'O': ["111", "1.1", "1.1", "1.1", "111"],
    'F': ["111", "1..", "11.", "1..", "1.."],
    'V': ["1.1", "1.1", "1.1", "1.1", ".1."],
    'E': ["111", "1..", "11.", "1..", "111"],
    'R': ["11.", "1.1", "11.", "1.1", "1.1"],
    'S': ["111", "1..", "111", "..1", "111"],
    'L': ["1..", "1..", "1..", "1..", "111"],
    'C': ["111", "1..", "1..", "1..", "111"],
    'T': ["111", ".1.", ".1.", ".1.", ".1."],
    'D': ["11.", "1.1", "1.1", "1.1", "11."],
}
HEIGHT = 11
PAD_X, TEXT_TOP = 4, 3
BADGES = [
    ("NavMouseOff.qgt", "OFF", (88, 88, 96)),
    ("NavMouseOver.qgt", "OVER", (32, 112, 200)),
    ("NavSelected.qgt", "SELECTED", (200, 104, 24)),
]
CLEAR, FILL, EDGE, TEXT = 0, 1, 2, 3


def draw(text):
    width = PAD_X * 2 + len(text) * 4 - 1
    image = [[FILL] * width for _ in range(HEIGHT)]
    # Rounded corners: the corner pixel is clear, its neighbours form the edge.
    for y in range(HEIGHT):
        for x in range(width):
            if y in (0, HEIGHT - 1) or x in (0, width - 1):
                image[y][x] = EDGE
    for x, y in ((0, 0), (width - 1, 0), (0, HEIGHT - 1), (width - 1, HEIGHT - 1)):
        image[y][x] = CLEAR
    for i, letter in enumerate(text):
        for row, bits in enumerate(FONT[letter]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    image[TEXT_TOP + row][PAD_X + i * 4 + col] = TEXT
    return width, image


def lzw(indices):
    """Codes of 9 bits (minimum code size 8) with a clear code before the table would grow."""
    clear, end = 256, 257
    codes = [clear]
    run = 0
    for index in indices:
        if run == 250:
            codes.append(clear)
            run = 0
        codes.append(index)
        run += 1
    codes.append(end)
    data, bits, count = bytearray(), 0, 0
    for code in codes:
        bits |= code << count
        count += 9
        while count >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        data.append(bits & 0xFF)
    return bytes(data)


def gif(width, image, colour):
    edge = tuple(max(0, c - 48) for c in colour)
    palette = [(255, 0, 255), colour, edge, (255, 255, 255)]
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, HEIGHT, 0x80 | 0x01, 0, 0)  # 4-entry global table
    for rgb in palette:
        out += bytes(rgb)
    out += bytes([0x21, 0xF9, 4, 0x01, 0, 0, CLEAR, 0])  # transparent index 0
    out += b"," + struct.pack("<HHHHB", 0, 0, width, HEIGHT, 0)
    data = lzw([p for row in image for p in row])
    out.append(8)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00;"
    return bytes(out)


def main():
    folder = os.path.join("..", "root", "SysResources", "Graphics")
    for name, text, colour in BADGES:
        width, image = draw(text)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(gif(width, image, colour))


if __name__ == "__main__":
    main()
