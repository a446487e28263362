#!/usr/bin/env python3
"""Writes the expected scene, chaser and program files the text file tests compare against.

Worked out from the file formats alone, not from the program's writers: every line ends in CR LF,
labels as the formats give them. The records follow the rules below, which the tests build again
in C++ (tests/show/tst_text_files.cpp, showFor()).
"""

def color(record, lamp):
    return ((37 * record + 3 * lamp) % 256, (11 * record + 5 * lamp + 1) % 256,
            (5 * record + 7 * lamp + 2) % 256)

def chaser(c):
    return dict(time=1550 + 1000 * c, direction=1 + c % 2, pattern_len=c + 1,
                repeat_number=2 + c, xfade=50 + c)

def step(p, s):
    return dict(time=100 * s + 1000 * p + 150, xfade=(3 * s + p) % 101,
                laststep=1 if s == 12 + p else 0)

def lines(items):
    return "".join(f"{x}\r\n" for x in items).encode("ascii")

def colors(record, lamps):
    return [v for lamp in range(lamps) for v in color(record, lamp)]

def chaser_body(c, lamps):
    ch = chaser(c)
    return [f"Chaser_time {ch['time']}", f"chaser_direction {ch['direction']}",
            f"chaser_pattern_len {ch['pattern_len']}",
            f"chaser_repeat_number {ch['repeat_number']}", f"chaser_xfade {ch['xfade']}"
            ] + colors(10 + c, lamps)

def steps(p, lamps):
    out = []
    for s in range(31):
        st = step(p, s)
        out += ["Next scene " + "#" * s, f"scene_time {st['time']}", f"scene_xfade {st['xfade']}",
                f"scene_laststep {st['laststep']}"] + colors(20 + 31 * p + s, lamps)
    return out

def write(name, items):
    with open(name, "wb") as f:
        f.write(lines(items))

# The two examples of the formats themselves.
write("example.scn", ["Values:6", 255, 0, 0, 0, 128, 0])
write("example.chr", ["ChaserValues:6", "Chaser_time 1500", "chaser_direction 2",
                      "chaser_pattern_len 1", "chaser_repeat_number 2", "chaser_xfade 50",
                      255, 0, 0, 0, 0, 255])

for lamps in (2, 170):
    write(f"scene_{lamps}.scn", [f"Values:{3 * lamps}"] + colors(0, lamps))
    scs = [f"SceneValues:{3 * lamps}", "NumberOfScenes:10"]
    for s in range(10):
        scs += ["Next scene", ""] + colors(s, lamps)
    write(f"scenes_{lamps}.scs", scs)
    write(f"chaser_{lamps}.chr", [f"ChaserValues:{3 * lamps}"] + chaser_body(0, lamps))
    chs = [f"Values:{3 * lamps}", "NumberOfChasers:4"]
    for c in range(4):
        chs += ["Next chaser " + "#" * c] + chaser_body(c, lamps)
    write(f"chasers_{lamps}.chs", chs)
    write(f"program_{lamps}.pgm", [f"SceneValues:{3 * lamps}", "NumberOfScenes:31"] + steps(0, lamps))
    if lamps == 170:
        continue  # a program set of 170 lamps is 300 KB; the program file covers that width
    pgs = [f"SceneValues:{3 * lamps}", "NumberOfScenes:31", "NumberOfPrograms:4"]
    for p in range(4):
        pgs += ["Next program " + "#" * p] + steps(p, lamps)
    write(f"programs_{lamps}.pgs", pgs)
