"""Pillow's road for the BMP bench: open and fully load a BMP, then save it.

Usage: pillow_bmp_road.py INPUT OUTPUT RUNS
Prints one line: median load ms, median save ms, peak resident MiB of this
process above what it held before the first run.
"""
import resource
import statistics
import sys
import time

from PIL import Image


def main():
    source, target, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    start_peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    loads, saves = [], []
    for _ in range(runs):
        t0 = time.perf_counter()
        image = Image.open(source)
        image.load()
        t1 = time.perf_counter()
        image.save(target)
        t2 = time.perf_counter()
        loads.append((t1 - t0) * 1000)
        saves.append((t2 - t1) * 1000)
        del image
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - start_peak
    print(f"{statistics.median(loads):.1f} {statistics.median(saves):.1f} {peak / 1024:.1f}")


if __name__ == "__main__":
    main()
