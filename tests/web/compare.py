#!/usr/bin/env python3
"""Compares the browser's runs (the DOM Chromium dumped) with the native runs, all in WORK:
replay.html against native.out, native.json and native-replay.png, menu.html against
native-menu.png. Arguments: WORK REPLAY_NAME FRAME_OF_THE_REPLAY_PICTURE."""
import base64
import html
import json
import re
import struct
import sys
import zlib


def element(dom, tag, name):
    found = re.search(r'<%s id="%s"[^>]*>(.*?)</%s>' % (tag, name, tag), dom, re.S)
    return html.unescape(found.group(1)) if found else ""


def page_state(dom):
    found = re.search(r'<body data-state="(\w+)"', dom)
    state = found.group(1) if found else "unknown"
    return state, "%s %s" % (element(dom, "p", "status"), element(dom, "p", "problem"))


def unfilter(kind, row, previous, bpp):
    out = bytearray(row)
    for i in range(len(out)):
        left = out[i - bpp] if i >= bpp else 0
        up = previous[i]
        corner = previous[i - bpp] if i >= bpp else 0
        if kind == 1:
            out[i] = (out[i] + left) & 255
        elif kind == 2:
            out[i] = (out[i] + up) & 255
        elif kind == 3:
            out[i] = (out[i] + (left + up) // 2) & 255
        elif kind == 4:
            p = left + up - corner
            best = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
            out[i] = (out[i] + best) & 255
    return out


def rgb_pixels(png):
    """(width, height, RGB bytes) of an 8-bit RGB or RGBA PNG without interlacing."""
    at, chunks = 8, {}
    while at < len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        chunks.setdefault(kind, []).append(png[at + 8:at + 8 + length])
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"][0])
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("unexpected PNG layout")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(chunks[b"IDAT"]))
    stride, rows, previous = width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        start = y * (stride + 1)
        previous = unfilter(raw[start], raw[start + 1:start + 1 + stride], previous, bpp)
        rows.append(bytes(b for i, b in enumerate(previous) if i % bpp < 3))
    return width, height, b"".join(rows)


def check_replay(work, replay_name):
    dom = open(work + "/replay.html").read()
    state, status = page_state(dom)
    if state != "ended":
        return ["the replay page did not end (%s): %s" % (state, status)]
    native_result = [l for l in open(work + "/native.out").read().splitlines() if l.startswith("result: ")]
    web_result = element(dom, "p", "result")
    problems = []
    if [web_result] != native_result:
        problems.append("result lines differ: browser %r, native %r" % (web_result, native_result))
    web_dump, native_dump = json.loads(element(dom, "pre", "dump")), json.load(open(work + "/native.json"))
    for key in sorted(set(web_dump) | set(native_dump)):
        if web_dump.get(key) != native_dump.get(key):
            problems.append("%s differs: browser %s, native %s" % (key, web_dump.get(key), native_dump.get(key)))
    if not problems:
        print("web: %s ends alike in the browser: %s" % (replay_name, web_result))
    return problems


def check_picture(work, page, what):
    dom = open("%s/%s.html" % (work, page)).read()
    state, status = page_state(dom)
    found = re.search(r'src="data:image/png;base64,([^"]*)"', dom)
    if state != "ended" or not found:
        return ["the %s page gave no picture (%s): %s" % (page, state, status)]
    web = rgb_pixels(base64.b64decode(found.group(1)))
    native = rgb_pixels(open("%s/native-%s.png" % (work, page), "rb").read())
    if web[:2] != native[:2]:
        return ["the pictures of %s differ in size: browser %dx%d, native %dx%d" % ((what,) + web[:2] + native[:2])]
    differing = sum(web[2][i:i + 3] != native[2][i:i + 3] for i in range(0, len(web[2]), 3))
    if differing:
        return ["%d pixels of %s differ from the native ones" % (differing, what)]
    print("web: the picture of %s is the native one, pixel for pixel" % what)
    return []


def main():
    work, replay_name = sys.argv[1], sys.argv[2]
    checks = [check_replay(work, replay_name), check_picture(work, "replay", "the replay's frame " + sys.argv[3]),
              check_picture(work, "menu", "the menu")]
    for problems in checks:
        for problem in problems:
            print("web: FAILED: " + problem)
    failed = sum(1 for problems in checks if problems)
    print("web: %d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
