#!/usr/bin/env python3
"""Draws the start-up picture (splash.bmp, 442 x 302, 256 colours) from shapes and a small
block font, so that the picture can be changed by editing this file. Run it from this folder."""
import struct

W, H = 442, 302
SS = 3  # samples per pixel side for the smooth edges

FONT = {  # 5 x 7 block letters
    'B': ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."],
    'A': [".111.", "1...1", "1...1", "11111", "1...1", "1...1", "1...1"],
    'R': ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
    'W': ["1...1", "1...1", "1...1", "1.1.1", "1.1.1", "11.11", "1...1"],
    'I': ["11111", "..1..", "..1..", "..1..", "..1..", "..1..", "11111"],
    'G': [".1111", "1....", "1....", "1.111", "1...1", "1...1", ".1111"],
    'H': ["1...1", "1...1", "1...1", "11111", "1...1", "1...1", "1...1"],
    'T': ["11111", "..1..", "..1..", "..1..", "..1..", "..1..", "..1.."],
    'Q': [".111.", "1...1", "1...1", "1...1", "1.1.1", "1..1.", ".11.1"],
    'U': ["1...1", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    'O': [".111.", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    ' ': ["....."] * 7,
}


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def background(x, y):
    top, bottom = (24, 30, 66), (46, 82, 130)
    c = lerp(top, bottom, y / H)
    glow = max(0.0, 1.0 - ((x - 330) ** 2 + (y - 40) ** 2) / 160.0 ** 2)
    return lerp(c, (90, 140, 200), 0.35 * glow)


def rounded(x, y, r):
    """Inside test of a rounded rectangle r = (left, top, right, bottom, radius)."""
    l, t, rt, b, rad = r
    if x < l or x >= rt or y < t or y >= b:
        return False
    cx = min(max(x, l + rad), rt - rad)
    cy = min(max(y, t + rad), b - rad)
    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad


BUTTONS = [((242, 140, 40), (40, 150, 130, 188)), ((43, 179, 163), (140, 150, 230, 188)),
           ((59, 130, 246), (240, 150, 330, 188)), ((217, 79, 140), (340, 150, 410, 188))]


def shade(x, y):
    c = background(x, y)
    # a dark band along the bottom for the version line and the progress bar
    if y >= H - 75:
        c = lerp(c, (12, 16, 34), 0.55)
    # the bar that carries the buttons
    if rounded(x, y, (28, 140, 422, 198, 12)):
        c = lerp(c, (255, 255, 255), 0.10)
    for colour, (l, t, r, b) in BUTTONS:
        if rounded(x, y, (l, t, r, b, 9)):
            v = (y - t) / (b - t)
            c = lerp(lerp(colour, (255, 255, 255), 0.35), lerp(colour, (0, 0, 0), 0.25), v)
            if v < 0.45:
                c = lerp(c, (255, 255, 255), 0.25 * (1 - v / 0.45))
    return c


def text_pixels(text, x0, y0, scale, colour, into):
    """Marks the pixels of a line of block letters with their colour."""
    for i, ch in enumerate(text):
        for row, line in enumerate(FONT[ch]):
            for col, bit in enumerate(line):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            into[(x0 + (i * 6 + col) * scale + dx, y0 + row * scale + dy)] = colour


def main():
    letters = {}
    text_pixels("QUOR", 32, 22, 3, [255.0, 200.0, 120.0], letters)
    text_pixels("BAR WRIGHT", 30, 48, 6, [255.0, 255.0, 255.0], letters)
    pixels = []
    for y in range(H):
        row = []
        for x in range(W):
            acc = [0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    c = shade(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    acc = [acc[k] + c[k] for k in range(3)]
            c = [v / (SS * SS) for v in acc]
            if (x, y) in letters:
                c = list(letters[(x, y)])
            row.append(c)
        pixels.append(row)

    # Palette: the 256 most used colours at 5 bits per channel; error diffusion onto it.
    counts = {}
    for row in pixels:
        for c in row:
            key = tuple(int(v) >> 3 for v in c)
            counts[key] = counts.get(key, 0) + 1
    palette = [tuple(v * 8 + 4 for v in k) for k, _ in sorted(counts.items(), key=lambda kv: -kv[1])[:256]]
    while len(palette) < 256:
        palette.append((0, 0, 0))
    cache = {}

    def nearest(c):
        key = tuple(max(0, min(255, int(v))) >> 2 for v in c)
        if key not in cache:
            cache[key] = min(range(256), key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
        return cache[key]

    index = [[0] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            c = [max(0.0, min(255.0, v)) for v in pixels[y][x]]
            i = nearest(c)
            index[y][x] = i
            err = [c[k] - palette[i][k] for k in range(3)]
            for dx, dy, w in ((1, 0, 7 / 16), (-1, 1, 3 / 16), (0, 1, 5 / 16), (1, 1, 1 / 16)):
                if 0 <= x + dx < W and y + dy < H:
                    p = pixels[y + dy][x + dx]
                    for k in range(3):
                        p[k] += err[k] * w

    row_bytes = (W + 3) & ~3
    image = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up
        line = bytes(index[y]) + bytes(row_bytes - W)
        image += line
    write_bmp('splash.bmp', W, H, 8, palette, image)


def write_bmp(path, width, height, bits, palette, image):
    """Writes a palette bitmap whose rows (bottom-up, padded to 4 bytes) are given."""
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack('<2sIHHI', b'BM', offset + len(image), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(image), 2835, 2835, len(palette),
                       len(palette))
    with open(path, 'wb') as out:
        out.write(header + info + colours + image)


if __name__ == '__main__':
    main()
