"""Times GEOS's polygonize (shapely.ops.polygonize) on linework written by bench_polygon --linework.

The file holds a little-endian 32-bit count followed by that many WKB line strings. Only the polygonize
call is timed; reading the lines is not.
"""
import resource
import struct
import sys
import time

from shapely import wkb
from shapely.ops import polygonize


def read_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    (count,) = struct.unpack_from("<I", data, 0)
    pos, lines = 4, []
    for _ in range(count):
        (n,) = struct.unpack_from("<I", data, pos + 5)
        size = 9 + 16 * n
        lines.append(wkb.loads(data[pos:pos + size]))
        pos += size
    return lines


def main():
    lines = read_lines(sys.argv[1])
    start = time.perf_counter()
    polygons = list(polygonize(lines))
    seconds = time.perf_counter() - start
    peak_mb = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss // 1024
    print(f"GEOS polygonize: {len(lines)} lines -> {len(polygons)} polygons: {seconds:.3f} s "
          f"(process peak {peak_mb} MB)")


if __name__ == "__main__":
    main()
