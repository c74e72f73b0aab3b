#!/usr/bin/env python3
"""Writes catalogue/DataView.csv, the mesh tree of the nationwide job dialog (CP932, CR LF, no heading):

    1,<prefecture code>,<prefecture name>
    2,<prefecture code>,<secondary mesh code>,<mesh name>

Each prefecture is given as boxes (south, north, west, east in degrees) around its main part and its
island groups, drawn from the published extreme points of the prefectures. A secondary mesh (5' of
latitude by 7.5' of longitude) belongs to every box it touches; a mesh touched by boxes of several
prefectures goes under the prefecture of the nearest box centre, so each mesh stands once in the file.
A mesh is named after its south-west corner. Run it after changing the boxes below.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "catalogue", "DataView.csv")

# code, name, boxes (S, N, W, E)
PREFECTURES = [
    ("01", "北海道", [(41.35, 45.56, 139.75, 145.82), (42.03, 42.26, 139.33, 139.58), (43.38, 45.56, 145.40, 148.90)]),
    ("02", "青森県", [(40.22, 41.56, 139.50, 141.68)]),
    ("03", "岩手県", [(38.75, 40.45, 140.65, 142.07)]),
    ("04", "宮城県", [(37.77, 39.00, 140.27, 141.68)]),
    ("05", "秋田県", [(38.87, 40.51, 139.69, 140.99)]),
    ("06", "山形県", [(37.73, 39.21, 139.52, 140.65), (39.05, 39.09, 139.51, 139.58)]),
    ("07", "福島県", [(36.79, 37.98, 139.16, 141.05)]),
    ("08", "茨城県", [(35.74, 36.95, 139.69, 140.85)]),
    ("09", "栃木県", [(36.20, 37.16, 139.33, 140.29)]),
    ("10", "群馬県", [(35.98, 37.06, 138.40, 139.67)]),
    ("11", "埼玉県", [(35.75, 36.28, 138.71, 139.90)]),
    ("12", "千葉県", [(34.90, 36.10, 139.74, 140.87)]),
    ("13", "東京都", [(35.50, 35.90, 138.94, 139.92), (32.43, 34.80, 139.10, 140.00), (24.00, 27.75, 140.85, 142.30),
                   (20.42, 20.43, 136.06, 136.09), (24.27, 24.30, 153.97, 153.99)]),
    ("14", "神奈川県", [(35.13, 35.67, 138.91, 139.79)]),
    ("15", "新潟県", [(36.73, 38.55, 137.62, 139.90), (37.80, 38.33, 138.20, 138.58)]),
    ("16", "富山県", [(36.27, 36.98, 136.77, 137.76)]),
    ("17", "石川県", [(36.07, 37.86, 136.24, 137.37)]),
    ("18", "福井県", [(35.34, 36.30, 135.45, 136.83)]),
    ("19", "山梨県", [(35.17, 35.97, 138.18, 139.13)]),
    ("20", "長野県", [(35.20, 37.03, 137.32, 138.73)]),
    ("21", "岐阜県", [(35.13, 36.47, 136.28, 137.65)]),
    ("22", "静岡県", [(34.57, 35.65, 137.47, 139.18)]),
    ("23", "愛知県", [(34.57, 35.42, 136.67, 137.84)]),
    ("24", "三重県", [(33.72, 35.26, 135.85, 136.99)]),
    ("25", "滋賀県", [(34.79, 35.70, 135.76, 136.45)]),
    ("26", "京都府", [(34.71, 35.78, 134.85, 136.06)]),
    ("27", "大阪府", [(34.27, 35.05, 135.09, 135.75)]),
    ("28", "兵庫県", [(34.15, 35.67, 134.25, 135.47)]),
    ("29", "奈良県", [(33.86, 34.78, 135.54, 136.23)]),
    ("30", "和歌山県", [(33.43, 34.38, 135.00, 136.02)]),
    ("31", "鳥取県", [(35.05, 35.62, 133.13, 134.52)]),
    ("32", "島根県", [(34.30, 35.60, 131.67, 133.39), (35.95, 36.35, 132.60, 133.40)]),
    ("33", "岡山県", [(34.30, 35.35, 133.27, 134.42)]),
    ("34", "広島県", [(34.03, 35.11, 132.04, 133.47)]),
    ("35", "山口県", [(33.71, 34.80, 130.77, 132.49)]),
    ("36", "徳島県", [(33.54, 34.25, 133.66, 134.82)]),
    ("37", "香川県", [(34.02, 34.56, 133.45, 134.45)]),
    ("38", "愛媛県", [(32.88, 34.30, 132.01, 133.69)]),
    ("39", "高知県", [(32.70, 33.88, 132.48, 134.31)]),
    ("40", "福岡県", [(33.00, 34.00, 130.03, 131.19), (34.23, 34.26, 130.09, 130.12)]),
    ("41", "佐賀県", [(32.95, 33.62, 129.74, 130.54)]),
    ("42", "長崎県", [(32.57, 33.35, 129.55, 130.38), (32.43, 33.35, 128.10, 129.15), (33.70, 33.85, 129.65, 129.80),
                   (34.08, 34.71, 129.17, 129.50)]),
    ("43", "熊本県", [(32.09, 33.19, 129.95, 131.33)]),
    ("44", "大分県", [(32.71, 33.74, 130.82, 132.09)]),
    ("45", "宮崎県", [(31.36, 32.84, 130.70, 131.89)]),
    ("46", "鹿児島県", [(30.97, 32.32, 129.70, 131.20), (30.00, 30.85, 130.35, 131.10), (29.00, 30.00, 129.20, 130.00),
                    (27.00, 28.55, 128.40, 130.05)]),
    ("47", "沖縄県", [(26.07, 26.90, 127.60, 128.35), (26.10, 26.40, 126.70, 127.40), (24.00, 24.95, 122.93, 125.50),
                   (24.40, 25.97, 131.10, 131.35)]),
]


def meshes_of(box):
    """Row and column numbers (5' and 7.5' steps from 0 N, 100 E) of the meshes a box touches."""
    s, n, w, e = box
    for row in range(math.floor(s * 12), math.ceil(n * 12)):
        for col in range(math.floor((w - 100) * 8), math.ceil((e - 100) * 8)):
            yield row, col


def code(row, col):
    return "%02d%02d%d%d" % (row // 8, col // 8, row % 8, col % 8)


def name(row, col):
    lat_min = row * 5
    lon_sec = col * 450
    return "北緯%d度%02d分東経%d度%02d分%02d秒" % (
        lat_min // 60, lat_min % 60, 100 + lon_sec // 3600, (lon_sec % 3600) // 60, lon_sec % 60)


def distance(row, col, box):
    lat, lon = (row + 0.5) / 12, 100 + (col + 0.5) / 8
    s, n, w, e = box
    dy = lat - (s + n) / 2
    dx = (lon - (w + e) / 2) * math.cos(math.radians(lat))
    return math.hypot(dx, dy)


def main():
    owner = {}
    for index, (_, _, boxes) in enumerate(PREFECTURES):
        for box in boxes:
            for mesh in meshes_of(box):
                d = distance(*mesh, box)
                if mesh not in owner or d < owner[mesh][0]:
                    owner[mesh] = (d, index)
    lines = []
    for index, (pref, pref_name, _) in enumerate(PREFECTURES):
        lines.append("1,%s,%s" % (pref, pref_name))
        mine = sorted((m for m, (_, i) in owner.items() if i == index), key=lambda m: code(*m))
        lines.extend("2,%s,%s,%s" % (pref, code(*m), name(*m)) for m in mine)
    with open(OUT, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
    print("%s: %d prefectures, %d meshes" % (os.path.normpath(OUT), len(PREFECTURES), len(owner)))


if __name__ == "__main__":
    main()
