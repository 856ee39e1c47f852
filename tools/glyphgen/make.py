# Writes the built-in fonts' glyph tables (graphics/text/text_glyphs_*.cpp) from
# the stroke outlines in strokes.txt. Run: python3 tools/glyphgen/make.py
import math
import os

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
strokes = {}
for line in open(os.path.join(here, 'strokes.txt')):
    line = line.rstrip('\n')
    ch, rest = line[0], line[2:]
    polys = []
    for part in rest.split(';'):
        pts = [tuple(float(v) for v in p.split(',')) for p in part.split()]
        polys.append(pts)
    strokes[ch] = polys
assert len(strokes) == 94 and all(chr(c) in strokes for c in range(33, 127))

def num(v):
    s = ('%.3f' % v).rstrip('0').rstrip('.')
    return '0' if s in ('-0', '') else s

def pack(lines, limit):
    # Joins logical lines with '|' into strings of at most 'limit' characters.
    out, cur = [], ''
    for l in lines:
        assert len(l) <= 78 and '|' not in l and '"' not in l
        cand = l if not cur else cur + '|' + l
        if len(cand) > limit:
            out.append(cur); cur = l
        else:
            cur = cand
    if cur: out.append(cur)
    return out

def flat(ch):
    lines = ['Pict2']
    for pts in strokes[ch]:
        lines.append('PLL')
        lines.append('COL 255 255 255')
        for x, y in pts:
            lines.append('VER %s %s' % (num((x - 2) * 15), num((y - 3) * 15)))
        lines.append('ENDO')
    lines.append('ENDPICT')
    return pack(lines, 240)

U, T, H = 1.2, 0.8, 0.5   # grid unit, stroke width, half depth

def solid(ch):
    verts, faces = [], []
    for pts in strokes[ch]:
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            # Mirrored in x: the font turns each glyph half a turn to face the eye.
            ax, ay = -(x0 - 2) * U, (y0 - 3) * U
            bx, by = -(x1 - 2) * U, (y1 - 3) * U
            dx, dy = bx - ax, by - ay
            ln = math.hypot(dx, dy)
            dx, dy = dx / ln, dy / ln
            px, py = -dy, dx
            e, w = T / 2, T / 2
            c2 = [(ax - dx*e + px*w, ay - dy*e + py*w), (bx + dx*e + px*w, by + dy*e + py*w),
                  (bx + dx*e - px*w, by + dy*e - py*w), (ax - dx*e - px*w, ay - dy*e - py*w)]
            base = len(verts)
            for z in (H, -H):
                for x, y in c2:
                    verts.append((x, y, z))
            mx, my = (ax + bx) / 2, (ay + by) / 2
            faces.append(((mx, my, H), (0, 0, 1), [base, base+1, base+2, base+3]))
            faces.append(((mx, my, -H), (0, 0, -1), [base+4, base+5, base+6, base+7]))
            sides = [((0, 1), (px, py), (mx + px*w, my + py*w)),
                     ((1, 2), (dx, dy), (bx + dx*e, by + dy*e)),
                     ((2, 3), (-px, -py), (mx - px*w, my - py*w)),
                     ((3, 0), (-dx, -dy), (ax - dx*e, ay - dy*e))]
            for (i, j), (nx, ny), (cx, cy) in sides:
                faces.append(((cx, cy, 0), (nx, ny, 0), [base+i, base+j, base+4+j, base+4+i]))
    lines = ['Surf']
    for x, y, z in verts:
        lines.append('V %s %s %s' % (num(x), num(y), num(z)))
    for c, n, idx in faces:
        lines += ['F', 'C 32767', 'N ' + ' '.join(num(v) for v in c + n),
                  'V ' + ' '.join(str(i) for i in idx), 'E']
    lines.append('E')
    return pack(lines, 240)

def cname(code): return '%d' % code

def emit(path, kind, fn, comment):
    with open(path, 'w') as f:
        f.write(comment)
        f.write('// Written by tools/glyphgen/make.py, laid out as it writes them:\n// clang-format off\n')
        f.write('#include "graphics/text/text_glyphs.h"\n\nnamespace {\n\n')
        for code in range(33, 127):
            ch = chr(code)
            f.write('// %s\nconst char* const k%s%d[] = {\n' % (ch if ch != '\\' else 'backslash', kind, code))
            for s in fn(ch):
                f.write('    "%s",\n' % s.replace('\\', '\\\\'))
            f.write('    nullptr};\n')
        f.write('\n}  // namespace\n\n')
        f.write('const char* const* const Pw%sGlyphSource[kPwGlyphCount] = {\n' % kind)
        for code in range(33, 127):
            f.write('    k%s%d,\n' % (kind, code))
        f.write('};\n')

emit(os.path.join(root, 'graphics/text/text_glyphs_solid.cpp'), 'Solid', solid,
     '// The solid font\'s glyphs, characters 33 to 126: SRF models of square\n'
     '// strokes 1 unit deep, built for an advance of 8.5 units. Each glyph is\n'
     '// drawn turned half a turn, so its shapes are laid out mirrored in x and\n'
     '// its front faces look along +z.\n')
emit(os.path.join(root, 'graphics/text/text_glyphs_flat.cpp'), 'Flat', flat,
     '// The flat font\'s glyphs, characters 33 to 126: PICT2 pictures of\n'
     '// white polylines within x -30 to 30 and y -75 to 45, built for an\n'
     '// advance of 90 units.\n')
