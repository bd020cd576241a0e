#!/usr/bin/env python3
"""Writes the files bench/run-harvest times the harvest and its peers on.

gen_pages.py FOLDER writes into FOLDER:
  anchors.html   100 MiB, one million anchors: a generated file listing with relative, root-
                 relative and absolute links, mixed letter case, extra attributes, mail links
  distinct.html  100 MiB, one million anchors to distinct .zip files: the found list is full
                 after 32767 of them, and every later one is counted as left out
  unclosed.html  50 MiB that opens "<A HREF" near the start and never closes it
  entries.txt    32767 found entries, half of them duplicates, 1000 bare ".com" site addresses
  media.html     100 MiB, dense with pictures: two lines in three a picture with a srcset and a
                 short paragraph, one in three an anchor (30000 distinct anchors, 9000 distinct
                 pictures)
"""
import os
import random
import sys

MIB = 1024 * 1024


def anchor(i):
    n = i % 20000
    kind = i % 100
    if kind < 70:
        return f'<a href="files/archive-{n:05d}.zip">archive-{n:05d}.zip</a>'
    if kind < 80:
        return f'<A HREF="Docs/Notes-{n:05d}.html" TARGET="_blank">notes {n}</A>'
    if kind < 88:
        return f'<a href="/pub/mirror/{n % 3000:04d}.tar.gz">mirror {n % 3000}</a>'
    if kind < 95:
        return f'<a class="ext" href="https://cdn.example.org/r/{n % 5000}.zip">cdn</a>'
    if kind < 98:
        return f'<a href=old/{n % 700}.ZIP>old</a>'
    return f'<a href="mailto:files{n % 50}@example.org">mail</a>'


def distinct_anchor(i):
    return f'<a href="files/archive-{i:07d}.zip">archive-{i:07d}.zip</a>'


def write_anchors(path, size, count, anchor):
    head = "<!DOCTYPE html>\n<html><head><title>Index of /files</title></head><body><table>\n"
    tail = "</table></body></html>\n"
    # Written a batch of rows at a time, so that a page of a gigabyte needs no more memory
    # than one of a few megabytes.
    with open(path, "wb") as out:
        written = out.write(head.encode())
        for first in range(0, count, 10000):
            rows = "".join(f'<tr><td>{anchor(i)}</td><td>{(i * 7919) % 99999}K</td></tr>\n'
                           for i in range(first, min(count, first + 10000)))
            written += out.write(rows.encode())
        if written + len(tail) > size:
            sys.exit(f"{count} rows take {written} bytes, more than {size}")
        # Plain text after the table fills the page to its exact size.
        filler_line = b"<p>Files are mirrored nightly; checksums are listed in SUMS.</p>\n"
        missing = size - written - len(tail)
        for _ in range(missing // len(filler_line)):
            out.write(filler_line)
        out.write(filler_line[:missing % len(filler_line)])
        out.write(tail.encode())


def write_unclosed(path, size):
    head = b"<html><body><h1>Old mirror</h1>\n<p>See <A HREF"
    line = b"archive listing line kept for reference; no attribute follows it\n"
    with open(path, "wb") as out:
        out.write(head)
        missing = size - len(head)
        out.write((line * (missing // len(line) + 1))[:missing])


def write_entries(path, count=32767, bare=1000):
    rng = random.Random(3)
    files = (count - bare) // 2
    entries = [f"http://mirror.example.org/files/archive-{k:05d}.zip" for k in range(files)] * 2
    entries += [f"http://site{k}.com" for k in range(bare)]
    entries += ["http://mirror.example.org/files/extra.zip"] * (count - len(entries))
    rng.shuffle(entries)
    with open(path, "w") as out:
        out.write("\n".join(entries) + "\n")


def write_media(path, size):
    with open(path, "wb") as out:
        written = out.write(b"<!DOCTYPE html>\n<html><head><title>Pictures</title></head><body>\n")
        line = pictures = 0
        while written < size:
            rows = []
            for _ in range(3000):
                if line % 3 == 2:
                    n = (line // 3) % 30000
                    rows.append(f'<a href="files/f{n:05d}.zip">file {n}</a>\n')
                else:
                    n = pictures % 9000
                    pictures += 1
                    rows.append(f'<img src="i{n}.png" srcset="i{n}-2x.png 2x, i{n}-3x.png 3x" '
                                f'alt="x"><p>Picture {n} of the gallery.</p>\n')
                line += 1
            chunk = "".join(rows).encode()[:size - written]
            written += out.write(chunk)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    write_anchors(os.path.join(folder, "anchors.html"), 100 * MIB, 1_000_000, anchor)
    write_anchors(os.path.join(folder, "distinct.html"), 100 * MIB, 1_000_000, distinct_anchor)
    write_unclosed(os.path.join(folder, "unclosed.html"), 50 * MIB)
    write_entries(os.path.join(folder, "entries.txt"))
    write_media(os.path.join(folder, "media.html"), 100 * MIB)


if __name__ == "__main__":
    main()
