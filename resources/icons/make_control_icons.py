#!/usr/bin/env python3
"""Draws the panels' cursors and small icons (picker, hot spot, rollover; bold, italic, browse,
previous, next) into this folder: python3 make_control_icons.py"""
import struct
COLOURS = {'#': (0,0,0), 'o': (255,255,255), 'b': (0,0,200), 'y': (230,190,60), 'g': (128,128,128)}

def dib32(rows):
    n = len(rows); w = len(rows[0])
    hdr = struct.pack('<IiiHHIIiiII', 40, w, n*2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = b''; mask = b''
    for row in reversed(rows):
        bits = 0; mrow = b''
        for x, c in enumerate(row):
            if c == '.':
                px += b'\0\0\0\0'
            else:
                r, g, b = COLOURS[c]; px += bytes((b, g, r, 255))
        for x0 in range(0, w, 8):
            byte = 0
            for k in range(8):
                x = x0 + k
                if x < w and row[x] == '.': byte |= 0x80 >> k
            mrow += bytes((byte,))
        mrow += b'\0' * ((4 - len(mrow) % 4) % 4)
        mask += mrow
    return hdr + px + mask

def write(path, rows, kind, hotspot=(0,0)):
    n = len(rows); w = len(rows[0])
    assert all(len(r) == w for r in rows), path
    data = dib32(rows)
    if kind == 1:
        entry = struct.pack('<BBBBHHII', w % 256, n % 256, 0, 0, 1, 32, len(data), 22)
    else:
        entry = struct.pack('<BBBBHHII', w % 256, n % 256, 0, 0, hotspot[0], hotspot[1], len(data), 22)
    open(path, 'wb').write(struct.pack('<HHH', 0, kind, 1) + entry + data)

def pad(rows, size):
    rows = [r.ljust(size, '.') for r in rows]
    return rows + ['.' * size] * (size - len(rows))
import os
out = os.path.dirname(os.path.abspath(__file__))

def canvas(n): return [['.'] * n for _ in range(n)]
def put(c, x, y, ch):
    if 0 <= y < len(c) and 0 <= x < len(c[0]): c[y][x] = ch
def rows(c): return [''.join(r) for r in c]

# Eyedropper: a diagonal tube from the tip (1, 30) up to a bulb at the top right, outlined.
c = canvas(32)
for i in range(0, 22):
    x, y = 1 + i, 30 - i
    for d in (-2, -1, 0, 1, 2):
        put(c, x + d, y, 'o' if abs(d) < 2 else '#')
    put(c, x, y - 2, '#'); put(c, x, y + 2, '#')
for y in range(2, 12):
    for x in range(20, 30):
        if (x - 25) ** 2 + (y - 7) ** 2 <= 20: put(c, x, y, '#')
put(c, 0, 31, '#'); put(c, 1, 30, '#')
write(f'{out}/picker.cur', rows(c), 2, (0, 31))

# Four-way arrows around the hot spot at the centre.
c = canvas(32)
for i in range(-10, 11):
    for w in (-1, 0, 1):
        put(c, 15 + i, 15 + w, '#'); put(c, 15 + w, 15 + i, '#')
for k in range(5):
    for w in range(-k, k + 1):
        put(c, 15 + w, 4 + k, '#'); put(c, 15 + w, 26 - k, '#')
        put(c, 4 + k, 15 + w, '#'); put(c, 26 - k, 15 + w, '#')
put(c, 15, 15, 'o')
write(f'{out}/hotspot.cur', rows(c), 2, (15, 15))

# Rollover: an arrow whose tip is the hot spot, with a small white star beside it.
c = canvas(32)
for y in range(0, 18):
    for x in range(0, y // 1 + 1):
        if x <= y * 0.6: put(c, x, y, '#' if x == 0 or x >= int(y * 0.6) or y == 17 else 'o')
for y in range(17, 24):
    for x in range(5, 8): put(c, x, y, '#')
for i in range(-3, 4):
    put(c, 20 + i, 20, '#'); put(c, 20, 20 + i, '#')
write(f'{out}/rollover.cur', rows(c), 2, (0, 0))

def glyph(lines, colour='#'):
    c = canvas(16)
    for y, line in enumerate(lines):
        for x, ch in enumerate(line):
            if ch == 'X': put(c, x, y + 2, colour)
    return rows(c)

bold = glyph([
    '   XXXXXXXX    ',
    '    XXX  XXX   ',
    '    XXX  XXX   ',
    '    XXX  XXX   ',
    '    XXXXXXX    ',
    '    XXX  XXX   ',
    '    XXX   XXX  ',
    '    XXX   XXX  ',
    '    XXX  XXX   ',
    '   XXXXXXXX    ',
])
write(f'{out}/bold.ico', bold, 1)
italic = glyph([
    '      XXXXX    ',
    '        XX     ',
    '        XX     ',
    '       XX      ',
    '       XX      ',
    '      XX       ',
    '      XX       ',
    '     XX        ',
    '     XX        ',
    '   XXXXX       ',
])
write(f'{out}/italic.ico', italic, 1)

c = canvas(16)
for y in range(3, 14):
    for x in range(1, 15):
        edge = y in (3, 13) or x in (1, 14) or (y == 5 and x > 6)
        if y == 3 and x > 6: continue
        put(c, x, y, '#' if edge else 'y')
for x in range(1, 7): put(c, x, 2, '#')
write(f'{out}/browse.ico', rows(c), 1)

def arrow(right):
    c = canvas(16)
    for k in range(6):
        for y in range(7 - k, 8 + k + 1):
            x = 3 + k if not right else 12 - k
            put(c, x, y, 'b')
    for y in range(6, 10):
        for x in range(8, 13) if not right else range(3, 8):
            put(c, x, y, 'b')
    return rows(c)
write(f'{out}/previous.ico', arrow(False), 1)
write(f'{out}/next.ico', arrow(True), 1)
