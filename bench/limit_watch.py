#!/usr/bin/env python3
"""Runs a command in a folder and watches the bytes in it (hidden files too) every quarter
second. Prints the seconds it took, the most bytes that arrived in any one second after the
first, the bytes in the folder at the end, the smallest and the largest file halfway
through the run (equal when the files in progress share the line equally), and the
processor seconds the command used.

Usage: limit_watch.py FOLDER COMMAND [ARGUMENT]...
"""
import os
import resource
import subprocess
import sys
import time

TICK = 0.25


def file_sizes(folder):
    sizes = []
    with os.scandir(folder) as entries:
        for entry in entries:
            try:
                sizes.append(entry.stat(follow_symlinks=False).st_size)
            except FileNotFoundError:  # renamed between the listing and the look
                pass
    return sizes


def main():
    folder, command = sys.argv[1], sys.argv[2:]
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    samples = [[]]
    next_tick = start + TICK
    while True:
        try:
            process.wait(timeout=max(0.0, next_tick - time.monotonic()))
            break
        except subprocess.TimeoutExpired:
            samples.append(file_sizes(folder))
            next_tick += TICK
    took = time.monotonic() - start
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    error = process.stderr.read().decode(errors="replace")
    if process.returncode != 0:
        sys.stderr.write(f"  (failed with {process.returncode}: {' '.join(command)})\n"
                         + error[-500:])
    totals = [sum(sizes) for sizes in samples]
    per_second = int(1 / TICK)
    windows = [totals[i + per_second] - totals[i]
               for i in range(per_second, len(totals) - per_second)]
    half = samples[len(samples) // 2] or [0]
    print(f"{took:.2f} {max(windows, default=0)} {sum(file_sizes(folder))} {min(half)} {max(half)} "
          f"{usage.ru_utime + usage.ru_stime:.2f}")


if __name__ == "__main__":
    main()
