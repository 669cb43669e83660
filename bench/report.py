#!/usr/bin/env python3
"""Reads Google Benchmark JSON files and prints one table: our figure, the peer's, the ratio."""
import json
import sys


def load(paths):
    rows = {}
    for path in paths:
        try:
            with open(path) as f:
                data = json.load(f)
        except (OSError, ValueError):
            continue
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            # Plain names: "BM_SteadyRunning/10", without "/iterations:1/manual_time".
            name = b["name"].replace("_median", "")
            name = "/".join(part for part in name.split("/")
                            if not part.startswith("iterations:") and part != "manual_time")
            rows[name] = b
    return rows


def micro(b):
    unit = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "ns")]
    return b["cpu_time"] * unit


def main():
    rows = load(sys.argv[1:])
    table = []  # (what, ours, peer, ratio text, target)

    for name, label in [("BM_Tick/0/0", "tick + update, analog"),
                        ("BM_Tick/1/0", "tick + update, digital units"),
                        ("BM_Tick/1/1", "tick + update, digital tenths"),
                        ("BM_Tick/1/2", "tick + update, digital hundredths")]:
        if name in rows:
            us = micro(rows[name])
            table.append((label, f"{us * 1000:.0f} ns", "-", f"{us:.2f} of 1 us",
                          "< 1 us " + ("met" if us < 1 else "MISSED")))
    for name, label in [("BM_ArrangeClock/0", "layout, analog"),
                        ("BM_ArrangeClock/1", "layout, digital"),
                        ("BM_PlaceControl", "create and lay out a control")]:
        if name in rows:
            table.append((label, f"{micro(rows[name]):.1f} us", "-", "-", ""))

    for width in (200, 400, 800):
        for dpr in (1, 2):
            size = f"{width}x{width // 2} dpr {dpr}"
            ours = rows.get(f"BM_OneDigitRepaint/{width}/{dpr}")
            peer = rows.get(f"BM_PeerOneDigitRepaint/{width}/{dpr}")
            if ours and peer:
                r = micro(ours) / micro(peer)
                table.append((f"one-digit repaint {size}", f"{micro(ours):.1f} us",
                              f"{micro(peer):.1f} us", f"{r:.2f}",
                              "<= 0.20 " + ("met" if r <= 0.2 else "MISSED")))
    for width in (200, 400, 800):
        for dpr in (1, 2):
            size = f"{width}x{width // 2} dpr {dpr}"
            peer = rows.get(f"BM_PeerFullPaint/{width}/{dpr}")
            for face, label in [(0, "digital units"), (1, "digital hundredths"),
                                (2, "analog flat"), (3, "analog raised"), (4, "analog oval")]:
                ours = rows.get(f"BM_FullPaint/{face}/{width}/{dpr}")
                if not ours:
                    continue
                digital = face < 2
                table.append((f"full paint {label} {size}", f"{micro(ours):.1f} us",
                              f"{micro(peer):.1f} us" if peer and digital else "-",
                              f"{micro(ours) / micro(peer):.2f}" if peer and digital else "-", ""))

    for n in (1, 10, 50):
        ours = rows.get(f"BM_SteadyRunning/{n}")
        peer = rows.get(f"BM_PeerSteadyRunning/{n}")
        if ours and peer:
            a = ours["cpu_per_wall"]
            b = peer["cpu_per_wall"]
            r = a / b if b else float("inf")
            table.append((f"steady running, {n} hundredths watches (CPU s per s)", f"{a:.3f}",
                          f"{b:.3f}", f"{r:.2f}", "<= 0.50 " + ("met" if r <= 0.5 else "MISSED")))
            table.append((f"paint events per second, {n} watches",
                          f"{ours['paints_per_second']:.0f}",
                          f"{peer['paints_per_second']:.0f}", "-", ""))
    if "BM_AccuracyUnderLoad" in rows:
        c = rows["BM_AccuracyUnderLoad"]
        table.append(("largest shown-time error under load", f"{c['max_error_ms']:.1f} ms", "-",
                      "-", "one tick or two"))
    if "BM_MemoryPerControl" in rows:
        kib = rows["BM_MemoryPerControl"]["bytes_per_control"] / 1024
        table.append(("memory per hosted control", f"{kib:.1f} KiB", "-", "-",
                      "< 64 KiB " + ("met" if kib < 64 else "MISSED")))

    widths = [max(len(str(row[i])) for row in table + [("what", "ours", "peer", "ratio", "target")])
              for i in range(5)]
    header = ("what", "ours", "peer (QLCDNumber)", "ratio", "target")
    widths = [max(w, len(h)) for w, h in zip(widths, header)]
    print("| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in table:
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(row, widths)) + " |")


if __name__ == "__main__":
    main()
