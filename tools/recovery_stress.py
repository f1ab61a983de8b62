#!/usr/bin/python3
"""Kills the program with SIGKILL at random moments while it makes scripted changes, many times,
and checks after every kill that its recovery copy is either absent or a complete picture equal
to one the program showed at most 30 seconds before the kill (never a partial file).

    tools/recovery_stress.py build/src/tessel [--runs 120] [--delay-ms 600] [--seed 1]

Each run starts the program without a display (QT_QPA_PLATFORM=offscreen) in a fresh state
folder (XDG_STATE_HOME), with TESSEL_SCRIPTED_CHANGES making changes on a patterned paper (most
runs 800 x 600, some 2400 x 1800, a few 6000 x 4000) every 20 to 120 ms, TESSEL_SCRIPTED_LOG
naming each picture by its SHA-256 with the time it appeared, and TESSEL_RECOVERY_DELAY_MS
shortening the copy's delay. The figures are printed at the end; the status is 1 on any fault.
"""

import argparse
import hashlib
import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

import numpy
from PIL import Image

PNG_END = bytes.fromhex("0000000049454e44ae426082")
LIMIT_MS = 30000


def now_ms():
    return time.time() * 1000.0


def read_log(path):
    entries = []
    try:
        with open(path, "rb") as log:
            for line in log.read().split(b"\n"):
                parts = line.split()
                if len(parts) == 3:
                    entries.append((int(parts[0]), int(parts[1]), parts[2].decode()))
    except FileNotFoundError:
        pass
    return entries


def pixel_hash(path):
    """The SHA-256 of the picture's rows as the program holds them: blue, green, red, 255."""
    with Image.open(path) as image:
        image.load()  # raises on a truncated or damaged file
        rgb = numpy.asarray(image.convert("RGB"))
    bgra = numpy.empty((rgb.shape[0], rgb.shape[1], 4), dtype=numpy.uint8)
    bgra[..., 0] = rgb[..., 2]
    bgra[..., 1] = rgb[..., 1]
    bgra[..., 2] = rgb[..., 0]
    bgra[..., 3] = 255
    return hashlib.sha256(bgra.tobytes()).hexdigest()


def one_run(binary, delay_ms, rng):
    folder = tempfile.mkdtemp(prefix="tessel-stress-")
    try:
        size = rng.choices([(800, 600), (2400, 1800), (6000, 4000)], [80, 15, 5])[0]
        period = rng.randint(20, 120)
        log = os.path.join(folder, "changes.log")
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "offscreen",
            "XDG_STATE_HOME": folder,
            "TESSEL_SCRIPTED_CHANGES": f"{size[0]}x{size[1]}:{period}",
            "TESSEL_SCRIPTED_LOG": log,
            "TESSEL_RECOVERY_DELAY_MS": str(delay_ms),
        })
        program = subprocess.Popen([binary], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        started = time.time()
        while not read_log(log) and time.time() - started < 60:
            time.sleep(0.01)
        # From the first moments to several copies' worth of changes (a large picture's copy
        # takes a few seconds to encode on a busy machine).
        longest = 6.0 * delay_ms / 1000.0 + (0 if size[0] <= 800 else 6.0)
        time.sleep(rng.uniform(0.0, longest))
        killed_at = now_ms()
        program.send_signal(signal.SIGKILL)
        program.wait()

        result = {"size": size, "copy": False, "fault": None, "age_ms": None,
                  "temporaries": 0}
        entries = read_log(log)
        state = os.path.join(folder, "tessel")
        names = os.listdir(state) if os.path.isdir(state) else []
        copies = [n for n in names if n.startswith("tessel-") and n.endswith(".png")]
        result["temporaries"] = sum(1 for n in names if n.startswith(".tessel-"))
        if len(copies) > 1:
            result["fault"] = f"{len(copies)} copies"
            return result
        if not copies:
            # How long the work had gone unsaved without a copy: never beyond the limit.
            result["unsaved_ms"] = killed_at - entries[1][1] if len(entries) > 1 else 0
            if result["unsaved_ms"] > LIMIT_MS:
                result["fault"] = "no copy after %.0f ms of unsaved work" % result["unsaved_ms"]
            return result
        result["copy"] = True
        path = os.path.join(state, copies[0])
        with open(path, "rb") as f:
            data = f.read()
        if not data.endswith(PNG_END):
            result["fault"] = "copy does not end with its end chunk"
            return result
        try:
            digest = pixel_hash(path)
        except Exception as error:  # a damaged picture
            result["fault"] = f"copy cannot be read: {error}"
            return result
        # The pictures the program showed, each until the next one appeared.
        best = None
        for i, (step, shown, h) in enumerate(entries):
            if h != digest:
                continue
            until = entries[i + 1][1] if i + 1 < len(entries) else killed_at
            age = max(0.0, killed_at - until)
            best = age if best is None else min(best, age)
        if best is None:
            result["fault"] = "copy matches no picture the program showed"
        elif best > LIMIT_MS:
            result["fault"] = f"copy {best:.0f} ms old"
        result["age_ms"] = best
        return result
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--runs", type=int, default=120)
    parser.add_argument("--delay-ms", type=int, default=600)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    results = []
    for run in range(args.runs):
        r = one_run(args.binary, args.delay_ms, rng)
        results.append(r)
        state = r["fault"] or ("copy, %.0f ms old" % r["age_ms"] if r["copy"] else "no copy")
        print(f"run {run + 1:3d}  {r['size'][0]}x{r['size'][1]}  {state}", flush=True)
    faults = [r for r in results if r["fault"]]
    with_copy = [r for r in results if r["copy"] and not r["fault"]]
    ages = [r["age_ms"] for r in with_copy]
    without = [r for r in results if not r["copy"] and not r["fault"]]
    print()
    print(f"runs: {len(results)}, killed with SIGKILL at random moments")
    print(f"faults (partial, unreadable, foreign, too old, several or missing copies): "
          f"{len(faults)}")
    print(f"complete copy equal to a picture shown: {len(with_copy)}")
    if ages:
        print("  its age at the kill (0 = the picture then current): median %.0f ms, "
              "min %.0f ms, max %.0f ms; limit %d ms" %
              (statistics.median(ages), min(ages), max(ages), LIMIT_MS))
    print(f"no copy: {len(without)}")
    for size in sorted({r["size"] for r in results}):
        runs = [r for r in results if r["size"] == size]
        copied = [r for r in runs if r["copy"]]
        print(f"  {size[0]}x{size[1]}: {len(runs)} runs, {len(copied)} with a copy")
    if without:
        unsaved = [r.get("unsaved_ms", 0) for r in without]
        print("  without a copy, the work had been unsaved for at most %.0f ms (delay %d ms)" %
              (max(unsaved), args.delay_ms))
    print(f"runs with a writer's temporary file left (removed at the next start): "
          f"{sum(1 for r in results if r['temporaries'])}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
