#!/usr/bin/env python3
"""How much of what a browser's reading of the media rules finds, grabwright-cli --list --media
lists, on saved real pages served from 127.0.0.1.

media_coverage.py GRABWRIGHT_CLI PAGES_FOLDER

The reference is Python's own tokenizer (html.parser, references decoded, script, style and the
other text-only elements left unread, noscript read) and urllib's join, not this program's code.
For each page and each of "*", "*.jpg", "*.png" it counts the reference's addresses that the
list holds (found) and the listed addresses that are neither the reference's nor anchors'
(beyond)."""
import functools
import html.parser
import http.server
import os
import re
import subprocess
import sys
import threading
import urllib.parse

WILDCARDS = ["*", "*.jpg", "*.png"]
BLANKS = " \t\n\f\r"


class Reading(html.parser.HTMLParser):
    CDATA_CONTENT_ELEMENTS = ("script", "style", "title", "textarea", "xmp", "iframe",
                              "noembed", "noframes")

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.found = []
        self.base = None

    def handle_starttag(self, tag, attrs):
        first = {}
        for name, value in attrs:
            first.setdefault(name, value if value is not None else "")
        if tag == "base" and self.base is None and "href" in first:
            self.base = first["href"]
        if tag in ("img", "source"):
            picked = None
            for name in ("data-srcset", "srcset"):
                if name in first:
                    picked = largest(first[name])
                    if picked is not None:
                        break
            if picked is None:
                for name in ("data-src", "data-original", "data-lazy-src", "src"):
                    if first.get(name, "").strip(BLANKS):
                        picked = first[name]
                        break
            if picked is not None:
                self.found.append(picked)
        for kind, names in (("video", ("src", "poster")), ("audio", ("src",)), ("track", ("src",)),
                            ("embed", ("src",)), ("object", ("data",))):
            if tag == kind:
                self.found.extend(first[name] for name in names if name in first)
        for match in re.finditer(r"(?<![\w-])url\(\s*(?:\"([^\"]*)\"|'([^']*)'|([^)]*?)\s*\))",
                                 first.get("style", ""), re.I):
            address = next(group for group in match.groups() if group is not None)
            if address.strip(BLANKS):
                self.found.append(address)

    handle_startendtag = handle_starttag


def candidates(srcset):
    """The standard's splitting: (address, descriptors) pairs."""
    i, n = 0, len(srcset)
    while True:
        while i < n and srcset[i] in BLANKS + ",":
            i += 1
        if i >= n:
            return
        j = i
        while j < n and srcset[j] not in BLANKS:
            j += 1
        address, i, descriptors = srcset[i:j], j, []
        if address.endswith(","):
            yield address.rstrip(","), descriptors
            continue
        current, parens = "", False
        while i < n:
            char = srcset[i]
            i += 1
            if parens:
                current, parens = current + char, char != ")"
            elif char in BLANKS or char == ",":
                if current:
                    descriptors.append(current)
                current = ""
                if char == ",":
                    break
            else:
                current, parens = current + char, char == "("
        if current:
            descriptors.append(current)
        yield address, descriptors


def largest(srcset):
    """The candidate a w beats, then the largest w or x; None when there is none."""
    best = None
    for address, descriptors in candidates(srcset):
        kinds = [d[-1] for d in descriptors]
        numbers = [d[:-1] for d in descriptors]
        if len(descriptors) > 1 and kinds != ["w", "h"] or any(k not in "wxh" for k in kinds):
            continue
        width = kinds[:1] == ["w"]
        if width and not (numbers[0].isdigit() and int(numbers[0]) > 0):
            continue
        if kinds == ["x"] and not re.fullmatch(r"-?(\d+|\d*\.\d+)([eE][-+]?\d+)?", numbers[0]):
            continue
        if kinds == ["h"]:
            continue
        size = float(numbers[0]) if descriptors else 1.0
        if size < 0:
            continue
        if best is None or (width and not best[1]) or (width == best[1] and size > best[2]):
            best = (address, width, size)
    return best[0] if best else None


def clean(address):
    address = address.strip("".join(map(chr, range(33))))
    address = re.sub("[\t\n\r]", "", address)
    out = ""
    for char in address:
        code = ord(char)
        data = bytes([code]) if code < 256 else char.encode()
        out += "".join(f"%{b:02X}" if b <= 0x20 or b >= 0x7F else chr(b) for b in data)
    return out


def resolve(address, base):
    joined = urllib.parse.urljoin(base, clean(address))
    joined = urllib.parse.urldefrag(joined)[0]
    return joined if urllib.parse.urlsplit(joined).scheme in ("http", "https", "ftp") else None


def matches(address, wildcard):
    name = address.rsplit("/", 1)[-1].upper()
    pattern = wildcard.strip("*").upper()
    return pattern in name if pattern else True


def listed(cli, url, wildcard, media):
    command = [cli, "--list", "-s", wildcard, url] + (["--media"] if media else [])
    out = subprocess.run(command, capture_output=True, check=False).stdout
    return set(out.decode("latin-1").splitlines())


def main():
    cli, folder = sys.argv[1], sys.argv[2]
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    root = f"http://127.0.0.1:{server.server_address[1]}/"
    totals = {wildcard: [0, 0, 0, 0] for wildcard in WILDCARDS}  # reference, found, listed, beyond
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".html"):
            continue
        url = root + urllib.parse.quote(name)
        text = open(os.path.join(folder, name), "rb").read().decode("latin-1").replace(
            "\r\n", "\n").replace("\r", "\n")
        reading = Reading()
        reading.feed(text)
        reading.close()
        base = urllib.parse.urljoin(url, clean(reading.base)) if reading.base else url
        addresses = [resolve(a, base) for a in reading.found]
        for wildcard in WILDCARDS:
            reference = {a for a in addresses if a and matches(a, wildcard)}
            ours = listed(cli, url, wildcard, True)
            anchors = listed(cli, url, wildcard, False)
            counts = totals[wildcard]
            counts[0] += len(reference)
            counts[1] += len(reference & ours)
            counts[2] += len(ours)
            counts[3] += len(ours - reference - anchors)
    server.shutdown()
    for wildcard, (reference, found, ours, beyond) in totals.items():
        print(f"  {wildcard:6} reference {reference:5}  listed {found:5} of them "
              f"({100 * found / max(reference, 1):.1f}%)  beyond reference and anchors "
              f"{beyond} of {ours} listed ({100 * beyond / max(ours, 1):.1f}%)")


if __name__ == "__main__":
    main()
