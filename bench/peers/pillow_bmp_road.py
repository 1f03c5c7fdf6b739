"""Pillow's road for the BMP bench: open and fully load a BMP, then save it.

Usage: pillow_bmp_road.py INPUT OUTPUT RUNS
Prints one line: median wall-clock load ms and save ms, median processor
load ms and save ms, and the peak resident MiB of this process above what it
held before the first run.
"""
import resource
import statistics
import sys
import time

from PIL import Image


def main():
    source, target, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    start_peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    loads, saves, load_cpu, save_cpu = [], [], [], []
    for _ in range(runs):
        t0, c0 = time.perf_counter(), time.process_time()
        image = Image.open(source)
        image.load()
        t1, c1 = time.perf_counter(), time.process_time()
        image.save(target)
        t2, c2 = time.perf_counter(), time.process_time()
        loads.append((t1 - t0) * 1000)
        saves.append((t2 - t1) * 1000)
        load_cpu.append((c1 - c0) * 1000)
        save_cpu.append((c2 - c1) * 1000)
        del image
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - start_peak
    medians = [statistics.median(v) for v in (loads, saves, load_cpu, save_cpu)]
    print(" ".join(f"{m:.1f}" for m in medians), f"{peak / 1024:.1f}")


if __name__ == "__main__":
    main()
