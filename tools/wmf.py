"""Small Windows metafiles (WMF) for glyph drawings, written record by record.

A drawing is a list of records between the 18-byte header and the end
record; coordinates are logical units of the window set by SetWindowOrg and
SetWindowExt. Only the records that glyph drawings need are offered.
"""

import struct

META_EOF = 0x0000
META_SETWINDOWORG = 0x020B
META_SETWINDOWEXT = 0x020C
META_MOVETO = 0x0214
META_LINETO = 0x0213
META_SELECTOBJECT = 0x012D
META_DELETEOBJECT = 0x01F0
META_CREATEPENINDIRECT = 0x02FA
META_CREATEBRUSHINDIRECT = 0x02FC
META_POLYLINE = 0x0325
META_POLYGON = 0x0324
META_ELLIPSE = 0x0418
META_RECTANGLE = 0x041B

PS_SOLID = 0
BS_SOLID = 0
BS_NULL = 1


def _rgb(r, g, b):
    return r | (g << 8) | (b << 16)


class Metafile:
    def __init__(self, width=100, height=100):
        self._records = []
        self._objects = 0      # objects alive now
        self._most_objects = 0
        self._free = []        # object table slots freed by DeleteObject
        self.set_window_org(0, 0)
        self.set_window_ext(width, height)

    def _record(self, function, words):
        # Size in 16-bit words: 2 for the size itself, 1 for the function.
        size = 3 + len(words)
        data = struct.pack("<IH", size, function)
        data += b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words)
        self._records.append(data)

    def _new_object(self):
        slot = self._free.pop(0) if self._free else self._objects
        self._objects += 1
        self._most_objects = max(self._most_objects, slot + 1)
        return slot

    # Records, parameters in the order the file holds them.
    def set_window_org(self, x, y):
        self._record(META_SETWINDOWORG, [y, x])

    def set_window_ext(self, x, y):
        self._record(META_SETWINDOWEXT, [y, x])

    def create_pen(self, color, width=1, style=PS_SOLID):
        colorref = _rgb(*color)
        self._record(META_CREATEPENINDIRECT, [style, width, 0, colorref & 0xFFFF, colorref >> 16])
        return self._new_object()

    def create_brush(self, color, style=BS_SOLID):
        colorref = _rgb(*color)
        self._record(META_CREATEBRUSHINDIRECT, [style, colorref & 0xFFFF, colorref >> 16, 0])
        return self._new_object()

    def select(self, slot):
        self._record(META_SELECTOBJECT, [slot])

    def delete(self, slot):
        self._record(META_DELETEOBJECT, [slot])
        self._objects -= 1
        self._free.append(slot)
        self._free.sort()

    def move_to(self, x, y):
        self._record(META_MOVETO, [y, x])

    def line_to(self, x, y):
        self._record(META_LINETO, [y, x])

    def polyline(self, points):
        self._record(META_POLYLINE, [len(points)] + [c for p in points for c in p])

    def polygon(self, points):
        self._record(META_POLYGON, [len(points)] + [c for p in points for c in p])

    def ellipse(self, left, top, right, bottom):
        self._record(META_ELLIPSE, [bottom, right, top, left])

    def rectangle(self, left, top, right, bottom):
        self._record(META_RECTANGLE, [bottom, right, top, left])

    def bytes(self):
        records = self._records + [struct.pack("<IH", 3, META_EOF)]
        body = b"".join(records)
        total_words = 9 + len(body) // 2
        longest = max(len(r) // 2 for r in records)
        header = struct.pack("<HHHIHIH", 1, 9, 0x0300, total_words, self._most_objects, longest, 0)
        return header + body


def _styled(draw, ink=(0, 0, 0), fill=None, pen_width=2):
    """A drawing function wrapped in pen and brush creation and deletion."""
    def build():
        m = Metafile()
        pen = m.create_pen(ink, pen_width)
        brush = m.create_brush(fill or (255, 255, 255), BS_SOLID if fill else BS_NULL)
        m.select(pen)
        m.select(brush)
        draw(m)
        m.delete(brush)
        m.delete(pen)
        return m.bytes()
    return build


def _leaf(m):
    m.polygon([(50, 5), (80, 35), (72, 70), (50, 90), (28, 70), (20, 35)])
    m.move_to(50, 95)
    m.line_to(50, 15)
    m.polyline([(50, 40), (65, 30)])
    m.polyline([(50, 60), (35, 48)])


def _flower(m):
    for (x, y) in [(50, 18), (78, 42), (66, 76), (34, 76), (22, 42)]:
        m.ellipse(x - 14, y - 14, x + 14, y + 14)
    m.ellipse(40, 38, 60, 58)


def _star(m):
    m.polygon([(50, 5), (61, 38), (95, 38), (67, 58), (78, 92), (50, 71), (22, 92), (33, 58), (5, 38), (39, 38)])


def _cross(m):
    m.rectangle(42, 8, 58, 92)
    m.rectangle(18, 30, 82, 46)


def _moon(m):
    m.ellipse(10, 10, 90, 90)
    m.polyline([(60, 12), (40, 30), (35, 50), (40, 70), (60, 88)])


def _key(m):
    m.ellipse(10, 30, 45, 65)
    m.rectangle(45, 44, 92, 52)
    m.polyline([(78, 52), (78, 66)])
    m.polyline([(88, 52), (88, 62)])


GLYPHS = {
    "leaf": _styled(_leaf, ink=(0, 90, 0), fill=(140, 200, 120)),
    "flower": _styled(_flower, ink=(120, 0, 60), fill=(230, 150, 190)),
    "star": _styled(_star, ink=(140, 100, 0), fill=(250, 210, 60)),
    "cross": _styled(_cross, ink=(120, 0, 0), fill=(200, 40, 40)),
    "moon": _styled(_moon, ink=(30, 30, 110)),
    "key": _styled(_key, ink=(60, 60, 60), fill=(170, 170, 170)),
}


def glyph(name):
    """The metafile bytes of a named glyph drawing."""
    return GLYPHS[name]()
