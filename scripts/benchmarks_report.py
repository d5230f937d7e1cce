"""Turns the JSON of every benchmark run and the machine's facts into docs/benchmarks.md.

Usage: benchmarks_report.py RUNS_FOLDER BENCH_SOURCE_FOLDER
"""
import json
import sys
from pathlib import Path

UNITS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds_text(value, unit):
    s = value * UNITS[unit]
    for name, size in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6)):
        if s >= size:
            return f"{s / size:.3g} {name}"
    return f"{s / 1e-9:.3g} ns"


def number_text(value):
    return f"{value:.3g}"


def header_comment(source):
    """The comment lines that open a bench's source: what it measures and against what."""
    lines = []
    for line in source.read_text().splitlines():
        if not line.startswith("//"):
            break
        lines.append(line[2:].strip())
    return " ".join(lines)


def machine_facts(path):
    facts = {}
    for line in path.read_text().splitlines():
        key, _, value = line.partition("=")
        facts[key] = value
    return facts


def bench_section(name, data, source):
    rows = {}
    for b in data["benchmarks"]:
        run = b.get("run_name", b["name"])
        rows.setdefault(run, {})[b.get("aggregate_name", "median")] = b
    out = [f"## {name}", "", header_comment(source), ""]
    counters = []
    for aggregates in rows.values():
        for key in aggregates.get("median", {}):
            if key not in counters and key not in IGNORED:
                counters.append(key)
    out.append("| Benchmark | Real time | CPU time | Spread of real time (cv) | "
               + " | ".join(f"`{c}`" for c in counters) + " |")
    out.append("|---|---|---|---|" + "---|" * len(counters))
    for run, aggregates in rows.items():
        median = aggregates.get("median")
        if median is None:
            out.append(f"| `{run}` | failed: {aggregates} |")
            continue
        unit = median["time_unit"]
        cv = aggregates.get("cv")
        spread = f"{100 * cv['real_time']:.1f} %" if cv else "-"
        cells = [f"`{run}`", seconds_text(median["real_time"], unit), seconds_text(median["cpu_time"], unit), spread]
        cells += [number_text(median[c]) if c in median else "-" for c in counters]
        out.append("| " + " | ".join(cells) + " |")
    out.append("")
    return out


IGNORED = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
    "repetition_index", "threads", "aggregate_name", "aggregate_unit", "iterations", "real_time",
    "cpu_time", "time_unit", "error_occurred", "error_message",
}


def main():
    runs, sources = Path(sys.argv[1]), Path(sys.argv[2])
    facts = machine_facts(runs / "machine.txt")
    results = {p.stem: json.loads(p.read_text()) for p in sorted(runs.glob("bench_*.json"))}
    context = next(iter(results.values()))["context"]
    cores = int(facts["cores"])
    load = float(facts["load_before"].split()[0])
    out = [
        "# Benchmarks",
        "",
        f"Written by `scripts/benchmarks.sh` on {context['date'][:10]}; run it again rather than edit this page.",
        "",
        "## Machine",
        "",
        "| | |",
        "|---|---|",
        f"| Processor | {facts['cpu']}, {cores} cores at {context['mhz_per_cpu']} MHz |",
        f"| Memory | {int(facts['memory_kib']) / 1024 / 1024:.0f} GiB |",
        f"| System | {facts['system']} |",
        f"| Compiler | {facts['compiler']} |",
        f"| Build | {facts['build_type']} (`build/`) |",
        f"| Qt | {facts['qt']} |",
        f"| Google Benchmark | {facts['benchmark']} |",
        f"| Load average (1, 5, 15 min) | {facts['load_before']} before, {facts['load_after']} after |",
        "",
        "## Method",
        "",
        f"Each benchmark program in `bench/` runs with `--benchmark_repetitions={facts['repetitions']}`; the "
        "figures are the medians of those repetitions, and the spread is the coefficient of variation "
        "of the real time across them. Real time is the wall clock, CPU time that of the benchmark's "
        "own process (the link benchmarks spend their time in `qm47-cli` and `qm47-sim`, which they "
        "time themselves in their counters). The counters are each benchmark's own comparison with "
        "its bound: `ratio_to_500ms` is the cost as a fraction of the 500 ms pause after a file "
        "operation (far below 1 is good); `wall_per_floor` is a transfer's wall time over the time "
        "its bytes need on the wire at the line rate plus the pauses the protocol mandates (1 is the "
        "floor); `cpu_pct` is the tool's CPU time as a share of that wall time; `gap_per_bound` and "
        "`cancel_per_bound` are the longest pause of the event loop during a read over its 50 ms "
        "bound and the time Cancel takes over its 100 ms bound; `after_per_bound` is the time a "
        "changed-only program takes past its backup read (`after_read_s`) over its bound; "
        "`paint_per_bound` and `rss_per_bound` are the window's first paint and its memory after the "
        "start, each as a ratio to a bare window's, over their bounds 1.5 and 1.3 (below 1 is good).",
        "",
    ]
    if load > cores / 2:
        out += [
            f"The machine was busy when the benchmarks ran (load {load:g} on {cores} cores): real times "
            "include waiting for a core, so the CPU times and the ratios against the protocol's own "
            "floor are the steadier figures.",
            "",
        ]
    for name, data in results.items():
        out += bench_section(name, data, sources / f"{name}.cpp")
    print("\n".join(out).rstrip() + "\n", end="")


if __name__ == "__main__":
    main()
