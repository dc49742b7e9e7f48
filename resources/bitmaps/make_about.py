#!/usr/bin/env python3
"""Draws the about pane's picture (about.bmp, 410 x 143, 16 colours): the product name on the
left link area (the maker's home page) and a button on the right one (the product page), in the
block letters of the start-up picture. Run it from this folder."""
from make_splash import FONT, text_pixels, write_bmp

W, H = 410, 143
PALETTE = [
    (24, 30, 66), (36, 56, 98), (46, 82, 130), (255, 255, 255),
    (255, 200, 120), (200, 120, 40), (230, 230, 240), (0, 0, 0),
] + [(0, 0, 0)] * 8
BACK_TOP, BACK_BOTTOM, WHITE, GOLD, BUTTON, PALE = 0, 2, 3, 4, 5, 6
FONT.update({
    'D': ["1111.", "1...1", "1...1", "1...1", "1...1", "1...1", "1111."],
    'E': ["11111", "1....", "1....", "1111.", "1....", "1....", "11111"],
    'L': ["1....", "1....", "1....", "1....", "1....", "1....", "11111"],
    'N': ["1...1", "11..1", "1.1.1", "1..11", "1...1", "1...1", "1...1"],
    'S': [".1111", "1....", "1....", ".111.", "....1", "....1", "1111."],
    'M': ["1...1", "11.11", "1.1.1", "1.1.1", "1...1", "1...1", "1...1"],
    'P': ["1111.", "1...1", "1...1", "1111.", "1....", "1....", "1...."],
    'C': [".1111", "1....", "1....", "1....", "1....", "1....", ".1111"],
})


def main():
    image = [[BACK_TOP if y < H // 3 else (1 if y < 2 * H // 3 else BACK_BOTTOM) for x in range(W)] for y in range(H)]
    marks = {}
    text_pixels("QUOR", 36, 26, 3, GOLD, marks)
    text_pixels("BAR WRIGHT", 36, 52, 3, WHITE, marks)
    # The product page's button.
    for y in range(24, 84):
        for x in range(232, 374):
            edge = y in (24, 83) or x in (232, 373)
            image[y][x] = PALE if edge else BUTTON
    text_pixels("MORE", 262, 34, 3, WHITE, marks)
    text_pixels("DETAILS", 250, 60, 2, WHITE, marks)
    for (x, y), colour in marks.items():
        image[y][x] = colour

    stride = ((W * 4 + 31) // 32) * 4
    rows = b''
    for y in range(H - 1, -1, -1):
        row = bytearray(stride)
        for x in range(0, W, 2):
            hi = image[y][x]
            lo = image[y][x + 1] if x + 1 < W else 0
            row[x // 2] = (hi << 4) | lo
        rows += bytes(row)
    write_bmp('about.bmp', W, H, 4, PALETTE, rows)

if __name__ == '__main__':
    main()
