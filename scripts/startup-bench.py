#!/usr/bin/env python3
"""Start-up of the app against a bare OpenGL window, measured from outside.

Starts the real program with a fresh cached map (so no network is needed) and a program
that only clears an OpenGL window, alternately, several times each. For each run it takes
the time from the process start to its first frame with content (the app reports it on the
"skyloom.startup" logging category, the bare program on standard error) and the peak
resident memory after three more seconds. Prints the medians and their ratios.

Usage: startup-bench.py BUILD_DIR [RUNS]   (under an X server: make bench runs it in Xvfb)
"""
import os
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zlib


def png(width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def run(command, marker, env, idle=3.0, timeout=60.0):
    start = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    first = None
    try:
        while time.monotonic() - start < timeout:
            line = process.stderr.readline()
            if not line:
                break
            if marker in line:
                first = time.monotonic() - start
                break
        if first is None:
            raise RuntimeError(f"{command[0]}: no first frame")
        time.sleep(idle)
        return first, peak_kib(process.pid)
    finally:
        process.kill()
        process.wait()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    app = os.path.join(build, "skyloom")
    bare = os.path.join(build, "bench", "bare_glwindow")
    with tempfile.TemporaryDirectory() as data:
        with open(os.path.join(data, "temps.png"), "wb") as f:
            f.write(png(1112, 667, lambda x, y: (x * 255 // 1112, y * 255 // 667, 128)))
        with open(os.path.join(data, "Skyloom.ini"), "w") as f:
            f.write("[Skyloom]\nLastSphere=0\n")
        env = dict(os.environ, QT_LOGGING_RULES="skyloom.startup.info=true")
        results = {"app": [], "bare": []}
        for _ in range(runs):
            results["bare"].append(run([bare], "first frame", env))
            results["app"].append(run([app, "--data-dir", data], "first frame with a map", env))
    median = {name: (statistics.median(t for t, _ in r), statistics.median(m for _, m in r))
              for name, r in results.items()}
    (app_t, app_m), (bare_t, bare_m) = median["app"], median["bare"]
    ratio = app_t / bare_t
    more = (app_m - bare_m) / 1024
    print(f"start to first frame: app {app_t * 1000:.0f} ms, bare window {bare_t * 1000:.0f} ms, "
          f"ratio {ratio:.2f} (target at most 2: {'met' if ratio <= 2 else 'MISSED'})")
    print(f"peak resident memory after 3 s: app {app_m / 1024:.0f} MiB, bare window "
          f"{bare_m / 1024:.0f} MiB, {more:.0f} MiB more "
          f"(target at most 30: {'met' if more <= 30 else 'MISSED'})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
