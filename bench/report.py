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
                              f"{micro(peer):.1f} us QLCDNumber", f"{r:.2f}",
                              "<= 0.10 " + ("met" if r <= 0.1 else "MISSED")))

    def met(ratio, limit):
        return f"<= {limit:.2f} " + ("met" if ratio <= limit else "MISSED")

    for width in (200, 400, 800):
        for dpr in (1, 2):
            size = f"{width}x{width // 2} dpr {dpr}"
            lcd = rows.get(f"BM_PeerFullPaint/{width}/{dpr}")
            clock = rows.get(f"BM_PeerAnalogFullPaint/{width}/{dpr}")
            for face, label in [(0, "digital units"), (1, "digital hundredths"),
                                (2, "analog flat"), (3, "analog raised"), (4, "analog oval")]:
                ours = rows.get(f"BM_FullPaint/{face}/{width}/{dpr}")
                peer = lcd if face < 2 else clock
                if not ours or not peer:
                    continue
                r = micro(ours) / micro(peer)
                limit = 0.5 if face < 2 or dpr == 1 else 1.0
                table.append((f"full paint {label} {size}", f"{micro(ours):.1f} us",
                              f"{micro(peer):.1f} us " + ("QLCDNumber" if face < 2 else "clock"),
                              f"{r:.2f}", met(r, limit)))
    for face, label in [(2, "analog flat"), (3, "analog raised"), (4, "analog oval")]:
        for width in (200, 400, 800):
            for dpr in (1, 2):
                size = f"{width}x{width // 2} dpr {dpr}"
                ours = rows.get(f"BM_AnalogTickRepaint/{face}/{width}/{dpr}")
                peer = rows.get(f"BM_PeerAnalogFullPaint/{width}/{dpr}")
                if ours and peer:
                    r = micro(ours) / micro(peer)
                    table.append((f"per-tick repaint {label} {size}", f"{micro(ours):.1f} us",
                                  f"{micro(peer):.1f} us clock (full)", f"{r:.2f}",
                                  met(r, 0.2)))

    def steady(ours_name, peer_name, floor_name, label, peer_label, peer_limit, floor_limit):
        ours, peer, floor = rows.get(ours_name), rows.get(peer_name), rows.get(floor_name)
        if not ours:
            return
        a = ours["cpu_per_wall"]
        if peer:
            b = peer["cpu_per_wall"]
            r = a / b if b else float("inf")
            table.append((f"steady running, {label} (CPU s per s)", f"{a:.4f}",
                          f"{b:.4f} {peer_label}", f"{r:.2f}",
                          met(r, peer_limit) if peer_limit else ""))
        if floor:
            f = floor["cpu_per_wall"]
            r = a / f if f else float("inf")
            table.append(("  the same against the floor", f"{a:.4f}", f"{f:.4f} floor",
                          f"{r:.2f}", met(r, floor_limit) if floor_limit else ""))
        table.append(("  paint events per second", f"{ours['paints_per_second']:.0f}",
                      f"{peer['paints_per_second']:.0f}" if peer else "-", "-", ""))

    for n, floor_limit in ((1, 1.2), (10, 1.0), (50, 0.7)):
        steady(f"BM_SteadyRunning/{n}", f"BM_PeerSteadyRunning/{n}",
               f"BM_FloorSteadyRunning/{n}/8", f"{n} hundredths watches", "QLCDNumber", 0.5,
               floor_limit)
    for n in (1, 10, 50):
        steady(f"BM_AnalogSteadyRunning/{n}", f"BM_PeerAnalogSteadyRunning/{n}",
               f"BM_FloorSteadyRunning/{n}/250", f"{n} analog watches", "clock",
               0.4 if n == 50 else None, None)
    # The Qt Quick item: its paint against the widget's (the same painter) and the peer's,
    # and running items against QLCDNumbers and against as many widgets.
    for face, widget_face, label in [(0, 1, "digital hundredths"), (1, 2, "analog flat")]:
        for width in (200, 400, 800):
            for dpr in (1, 2):
                size = f"{width}x{width // 2} dpr {dpr}"
                ours = rows.get(f"BM_QuickFullPaint/{face}/{width}/{dpr}")
                widget = rows.get(f"BM_FullPaint/{widget_face}/{width}/{dpr}")
                if not ours:
                    continue
                table.append((f"Qt Quick full paint {label} {size}", f"{micro(ours):.1f} us",
                              f"{micro(widget):.1f} us widget" if widget else "-",
                              f"{micro(ours) / micro(widget):.2f}" if widget else "-", ""))
    for n in (1, 10, 50):
        ours = rows.get(f"BM_QuickSteadyRunning/{n}")
        peer = rows.get(f"BM_PeerSteadyRunning/{n}")
        widget = rows.get(f"BM_SteadyRunning/{n}")
        if not ours:
            continue
        a = ours["cpu_per_wall"]
        label = f"steady running, {n} hundredths Qt Quick items (CPU s per s)"
        if peer:
            b = peer["cpu_per_wall"]
            r = a / b if b else float("inf")
            table.append((label, f"{a:.4f}", f"{b:.4f} QLCDNumber", f"{r:.2f}",
                          met(r, 0.5) if n == 10 else ""))
        else:
            table.append((label, f"{a:.4f}", "-", "-", ""))
        if widget:
            w = widget["cpu_per_wall"]
            table.append(("  the same against as many widgets", f"{a:.4f}", f"{w:.4f} widgets",
                          f"{a / w:.2f}" if w else "-", ""))
        table.append(("  frames rendered per second", f"{ours['paints_per_second']:.0f}", "-",
                      "-", ""))
    if "BM_AccuracyUnderLoad" in rows:
        c = rows["BM_AccuracyUnderLoad"]
        table.append(("largest shown-time error under load", f"{c['max_error_ms']:.1f} ms", "-",
                      "-", "one tick or two"))
    if "BM_MemoryPerControl" in rows:
        kib = rows["BM_MemoryPerControl"]["bytes_per_control"] / 1024
        table.append(("memory per hosted control (100 alike, analog)", f"{kib:.1f} KiB", "-",
                      "-", "< 64 KiB " + ("met" if kib < 64 else "MISSED")))
    if "BM_LargestControlPeakMemory" in rows:
        mib = rows["BM_LargestControlPeakMemory"]["peak_growth_kib"] / 1024
        table.append(("peak memory growth, largest control (10,000,000 twips square)",
                      f"{mib:.1f} MiB", "-", "-",
                      "< 64 MiB " + ("met" if mib < 64 else "MISSED")))

    widths = [max(len(str(row[i])) for row in table + [("what", "ours", "peer", "ratio", "target")])
              for i in range(5)]
    header = ("what", "ours", "peer or floor", "ratio", "target")
    widths = [max(w, len(h)) for w, h in zip(widths, header)]
    print("| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |")
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for row in table:
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(row, widths)) + " |")


if __name__ == "__main__":
    main()
