"""The resident program's profile under Wine: start-up by phase, memory, idle
CPU and a whole redraw of the main window, each beside a bare window of the
same size measured in the same run (crvbench.exe); and at scale, a start that
merges 2,000 loose shortcuts beside a plain copy-and-delete of the same files,
and the listing of a category of 1,000 shortcuts. Run by bench/wine/profile.sh,
which has started the display and the wineserver.

Start-up phases come from the program itself: with CORVANE_PHASES naming a
file it appends one line per phase (name, ms since the process was created,
duration); starts without it are timed too, to show that costs nothing.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
import harness  # noqa: E402
from test_categories import (COMMON_PROGRAMS, DOCS, USER_PROGRAMS, CategoriesTest,  # noqa: E402
                             delivered_store, win_path, write_store)

BENCH = os.path.join(harness.BUILD, "bench", "wine", "crvbench.exe")
PHASES = os.path.join(harness.INSTALL_DIR, "phases.log")
BARE_CLASS = "CrvBenchBare"
CLK_TCK = os.sysconf("SC_CLK_TCK")


def bench(*args, env=None, timeout=120):
    # Through a file: the started program would hold a pipe open.
    with tempfile.TemporaryFile() as f:
        subprocess.run(["wine", BENCH, *map(str, args)], cwd=harness.INSTALL_DIR,
                       stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.DEVNULL,
                       env=env or harness.wine_env(), timeout=timeout)
        f.seek(0)
        out = f.read().decode("utf-8", "replace")
    return [json.loads(line) for line in out.splitlines() if line.startswith("{")]


def stop_bare():
    for w in harness.find(cls=BARE_CLASS, include_hidden=True):
        harness.drv("post", w["hwnd"], harness.WM_CLOSE, 0, 0, check=False)
    harness.wait_for(cls=BARE_CLASS, gone=True, timeout_ms=10000)


# --against puts another build beside the program, as "against", started in
# turn with the others in the same run.
AGAINST = "Halvorn-against.exe"


def stop_programs():
    subprocess.run(["wine", "taskkill", "/f", "/im", AGAINST], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=harness.wine_env())
    harness.stop_everything()


def launch(kind):
    """One start: ms to a visible window and the working set a second later."""
    env = harness.wine_env()
    env.pop("CORVANE_PHASES", None)
    if kind.endswith("+phases"):
        if os.path.exists(PHASES):
            os.unlink(PHASES)
        env["CORVANE_PHASES"] = "C:\\Corvane\\phases.log"
    if kind.startswith(("program", "against")):
        exe = AGAINST if kind.startswith("against") else "Halvorn.exe"
        stop_programs()
        r = bench("launch", "--class", harness.MAIN_CLASS, "C:\\Corvane\\" + exe, env=env)
        stop_programs()
    else:
        cmd = ["launch", "--class", BARE_CLASS, "crvbench.exe", "bare"]
        if kind == "bare-plain":
            cmd.append("--plain")
        r = bench(*cmd, env=env)
        stop_bare()
    return r[0] if r else {"visible_ms": -1, "working_set_kb": 0}


def read_phases():
    phases = {}
    with open(PHASES, encoding="ascii", errors="replace") as f:
        for line in f:
            parts = line.split()
            if len(parts) in (3, 4):  # name, at ms, duration ms[, working set KB]
                ws = float(parts[3]) if len(parts) == 4 else float("nan")
                phases.setdefault(parts[0], []).append((float(parts[1]), float(parts[2]), ws))
    return phases


def linux_pid(exe_name):
    """The Wine process of exe_name in this prefix (others run their own)."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                cmd = f.read().decode("utf-8", "replace")
            if exe_name.lower() not in cmd.lower():
                continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={harness.PREFIX}".encode() in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            continue
    return None


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def idle_cpu(pid, seconds):
    """Percent of one core over the period."""
    before = cpu_ticks(pid)
    time.sleep(seconds)
    return 100.0 * (cpu_ticks(pid) - before) / CLK_TCK / seconds


def start_program(phases=False):
    harness.stop_everything()
    env = harness.wine_env()
    env.pop("CORVANE_PHASES", None)
    if phases:
        env["CORVANE_PHASES"] = "C:\\Corvane\\phases.log"
    p = subprocess.Popen(["wine", "C:\\Corvane\\Halvorn.exe"], cwd=harness.INSTALL_DIR,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, env=env)
    found = harness.wait_for(cls=harness.MAIN_CLASS, timeout_ms=30000)
    return p, found[0]["hwnd"]


def start_bare():
    p = subprocess.Popen(["wine", BENCH, "bare"], cwd=harness.INSTALL_DIR,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL, env=harness.wine_env())
    harness.wait_for(cls=BARE_CLASS, timeout_ms=30000)
    return p


def med(values):
    values = [v for v in values if v is not None and v >= 0]
    return statistics.median(values) if values else float("nan")


def ratio(a, b):
    return a / b if b else float("nan")


def profile_startup(runs, against=False):
    kinds = ("bare", "program", "program+phases", "bare-plain")
    if against:
        kinds += ("against", "against+phases")
    starts = {k: [] for k in kinds}
    phases, against_phases = {}, {}
    for i in range(runs):
        order = kinds if i % 2 == 0 else tuple(reversed(kinds))
        for k in order:
            r = launch(k)
            starts[k].append(r)
            if k.endswith("+phases") and os.path.exists(PHASES):
                into = phases if k == "program+phases" else against_phases
                for name, values in read_phases().items():
                    into.setdefault(name, []).append(values)
    bare_ms = med([r["visible_ms"] for r in starts["bare"]])
    bare_kb = med([r["working_set_kb"] for r in starts["bare"]])
    print("\n## Start-up (median of %d alternated starts)\n" % runs)
    print("| start | visible ms | × bare | working set MB | × bare |")
    print("|---|---:|---:|---:|---:|")
    for k in kinds:
        ms = med([r["visible_ms"] for r in starts[k]])
        kb = med([r["working_set_kb"] for r in starts[k]])
        print(f"| {k} | {ms:.1f} | {ratio(ms, bare_ms):.2f} | {kb / 1024:.1f} | "
              f"{ratio(kb, bare_kb):.2f} |")
    for kind, table in (("program+phases", phases), ("against+phases", against_phases)):
        if kind not in starts:
            continue
        print(f"\n## Start-up phases ({kind}; median ms; 'at' = since process creation)\n")
        print("| phase | at ms | duration ms | share of start → visible | working set after MB |")
        print("|---|---:|---:|---:|---:|")
        prog_ms = med([r["visible_ms"] for r in starts[kind]])
        for name, runs_values in table.items():
            at = med([sum(v[0] for v in vals[:1]) for vals in runs_values])
            dur = med([sum(v[1] for v in vals) for vals in runs_values])
            ws = med([vals[-1][2] for vals in runs_values if vals[-1][2] == vals[-1][2]])
            print(f"| {name} | {at:.1f} | {dur:.1f} | {100 * ratio(dur, prog_ms):.0f} % | "
                  f"{ws / 1024:.1f} |")
    return starts, phases


def profile_redraw(runs, n):
    """Both windows up at once; crvbench times them in turn."""
    results = []
    for _ in range(runs):
        bare = start_bare()
        start_program()
        time.sleep(2)
        r = bench("redraw", "--class", harness.MAIN_CLASS, "--baseline", BARE_CLASS, "--n", n)
        harness.stop_everything()
        stop_bare()
        bare.wait(30)
        if r and "whole_ms" in r[0]:
            results.append(r)
    print("\n## Whole redraw of the main window (median ms of %d runs × %s redraws, "
          "each beside the bare window)\n" % (len(results), n))
    print("| window | whole | × bare | window alone (frame + own client) | own client |")
    print("|---|---:|---:|---:|---:|")
    bare_whole = med([r[0]["bare_whole_ms"] for r in results])
    for name, prefix in (("program", ""), ("bare", "bare_")):
        w = med([r[0][prefix + "whole_ms"] for r in results])
        print(f"| {name} | {w:.2f} | {ratio(w, bare_whole):.2f} | "
              f"{med([r[0][prefix + 'frame_ms'] for r in results]):.2f} | "
              f"{med([r[0][prefix + 'client_own_ms'] for r in results]):.2f} |")
    if results:
        names = [c["child"] for c in results[0][2:]]
        print("\nOwn paint of each visible child of the program's window (median ms over the "
              f"runs; {results[0][1]['children']} children):\n")
        print("| window | own ms |")
        print("|---|---:|")
        for name in names:
            v = med([c["own_ms"] for r in results for c in r[2:] if c["child"] == name])
            print(f"| {name} | {v:.3f} |")
    return results


def profile_idle(shown_s, hidden_s):
    print(f"\n## Idle CPU (% of one core; shown {shown_s} s, hidden {hidden_s} s)\n")
    print("| process | state | CPU % |")
    print("|---|---|---:|")
    p = start_bare()
    pid = linux_pid("crvbench.exe")
    harness.drv("move", 1000, 740)
    time.sleep(2)
    print(f"| bare | shown | {idle_cpu(pid, shown_s):.3f} |" if pid else "| bare | shown | ? |")
    stop_bare()
    p.wait(30)
    if os.path.exists(PHASES):
        os.unlink(PHASES)
    prog, hwnd = start_program(phases=True)
    pid = linux_pid("Halvorn.exe")
    harness.drv("move", 1000, 740)
    time.sleep(3)
    print(f"| program | shown | {idle_cpu(pid, shown_s):.3f} |")
    harness.drv("post", hwnd, harness.WM_CLOSE, 0, 0)  # to the tray
    harness.wait_for(cls=harness.MAIN_CLASS, gone=True, timeout_ms=10000)
    time.sleep(3)
    print(f"| program | hidden | {idle_cpu(pid, hidden_s):.3f} |")
    harness.stop_everything()
    ticks = read_phases().get("detect-tick", []) if os.path.exists(PHASES) else []
    if ticks:
        print(f"\nDetection tick: median {med([v[1] for v in ticks]):.3f} ms over {len(ticks)} "
              "ticks (shown and hidden)")


def shortcut_bytes(size):
    """One real shortcut (to a program every prefix has) of about SIZE bytes."""
    path = os.path.join(harness.DRIVE_C, "crvbench.lnk")
    r = bench("link", "C:\\crvbench.lnk", "C:\\windows\\notepad.exe", "--pad", size)
    if not r or not r[0].get("link"):
        raise RuntimeError("crvbench could not write a shortcut")
    with open(path, "rb") as f:
        data = f.read()
    os.unlink(path)
    return data


def put_shortcuts(folder, data, n, stem="程序"):
    os.makedirs(folder, exist_ok=True)
    for i in range(n):
        with open(os.path.join(folder, f"{stem}{i:04d}.lnk"), "wb") as f:
            f.write(data)


def fresh_menus(extra_labels=()):
    shutil.rmtree(DOCS, ignore_errors=True)
    os.makedirs(COMMON_PROGRAMS, exist_ok=True)
    os.makedirs(USER_PROGRAMS, exist_ok=True)
    write_store(delivered_store(extra_labels))


def start_with_phases():
    """ms to the visible main window and the start-up phases of that start."""
    if os.path.exists(PHASES):
        os.unlink(PHASES)
    r = launch("program+phases")
    return r["visible_ms"], (read_phases() if os.path.exists(PHASES) else {})


def profile_scale(runs, loose=2000, category=1000, size=1200):
    """The merge's extra start-up time against a plain copy-and-delete of the
    same files in the same prefix, and the listing of a big category against
    a small one, alternated over the runs."""
    CategoriesTest.setUpClass()  # the prefix knows programs and their icons
    data = shortcut_bytes(size)
    empty, full, plain, phase_runs = [], [], [], []
    for i in range(runs):
        for kind in (("empty", "full", "plain") if i % 2 == 0 else ("plain", "full", "empty")):
            fresh_menus()
            if kind == "empty":
                empty.append(start_with_phases()[0])
                continue
            put_shortcuts(USER_PROGRAMS, data, loose)
            if kind == "plain":
                r = bench("copydelete", win_path(USER_PROGRAMS), win_path(COMMON_PROGRAMS))
                plain.append(r[0]["copydelete_ms"] if r and r[0]["moved"] == loose else -1)
                continue
            ms, phases = start_with_phases()
            merged = len([n for n in os.listdir(COMMON_PROGRAMS) if n.endswith(".lnk")])
            left = len(os.listdir(USER_PROGRAMS)) if os.path.isdir(USER_PROGRAMS) else 0
            if merged != loose or left:
                raise RuntimeError(f"the merge moved {merged} of {loose}, left {left}")
            full.append(ms)
            phase_runs.append(phases)
    e, f, p = med(empty), med(full), med(plain)
    print(f"\n## Scale: {loose} loose {len(data)}-byte shortcuts in the user's Programs folder "
          f"(median of {runs})\n")
    print("| start or move | ms |")
    print("|---|---:|")
    print(f"| start, nothing to merge | {e:.1f} |")
    print(f"| start, {loose} to merge | {f:.1f} |")
    print(f"| the merge's extra start-up time | {f - e:.1f} |")
    print(f"| plain copy-and-delete of the same files (baseline) | {p:.1f} |")
    print(f"\nMerge's extra time × plain copy-and-delete: **{ratio(f - e, p):.2f}** (goal ≤ 2)")
    if phase_runs:
        print("\nPhases of the starts with the merge (median ms):\n")
        print("| phase | duration ms |")
        print("|---|---:|")
        for name in phase_runs[0]:
            print(f"| {name} | {med([sum(v[1] for v in r.get(name, [])) for r in phase_runs]):.1f} |")
    profile_listing(runs, data, category)


def profile_listing(runs, data, count, small=10):
    """From the click on a category's tree row until its list holds all its
    entries; a category of SMALL entries is the baseline."""
    big, little = "千项分类", "十项分类"
    fresh_menus((big, little))
    put_shortcuts(os.path.join(COMMON_PROGRAMS, big), data, count)
    put_shortcuts(os.path.join(COMMON_PROGRAMS, little), data, small)
    harness.stop_everything()
    program = subprocess.Popen(["wine", "C:\\Corvane\\Halvorn.exe"], cwd=harness.INSTALL_DIR,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, env=harness.wine_env())
    results = {big: [], little: []}
    try:
        main = harness.wait_for(cls=harness.MAIN_CLASS, timeout_ms=30000)[0]["hwnd"]
        time.sleep(2)
        kids = harness.children(main)
        tree = [c for c in kids if c["class"] == "TTreeView"][0]["hwnd"]
        lst = [c for c in kids if c["class"] == "TShellListView"][0]["hwnd"]
        rows = {n["text"]: n["rect"] for n in harness.drv("nodes", tree)}
        for i in range(runs):
            for name, n in ((big, count), (little, small)) if i % 2 == 0 else \
                    ((little, small), (big, count)):
                x, y, w, h = rows[name]
                r = bench("listclick", "--list", lst, "--x", x + w // 2, "--y", y + h // 2,
                          "--count", n)
                results[name].append(r[0] if r else {"listed_ms": -1})
                if i == 0 and name == big:  # what the user sees: names, then icons
                    print("screenshot:", harness.screenshot("scale-category-%d" % count, main))
                # Back to the root, so that every click lists anew.
                x, y, w, h = rows["所有程序"]
                harness.drv("click", x + w // 2, y + h // 2)
                time.sleep(1)
    finally:
        harness.stop_everything()
        program.wait(30)
    b = med([r["listed_ms"] for r in results[big]])
    s = med([r["listed_ms"] for r in results[little]])
    print(f"\n## A category of {count} shortcuts, from the click on its row (median of {runs})\n")
    print("| category | listed ms | × small | longest wait for an answer ms "
          "(while listing / the second after) |")
    print("|---|---:|---:|---:|")
    for name, n in ((little, small), (big, count)):
        rs = results[name]
        print(f"| {n} shortcuts | {med([r['listed_ms'] for r in rs]):.1f} | "
              f"{ratio(med([r['listed_ms'] for r in rs]), s):.2f} | "
              f"{med([r.get('longest_wait_ms', -1) for r in rs]):.1f} / "
              f"{med([r.get('longest_wait_after_ms', -1) for r in rs]):.1f} |")
    print(f"\n{count} shortcuts listed in {b:.1f} ms: {ratio(b, 300):.2f} × the 300 ms goal")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--redraws", type=int, default=40)
    ap.add_argument("--shown", type=int, default=30)
    ap.add_argument("--hidden", type=int, default=60)
    ap.add_argument("--only", choices=("startup", "redraw", "idle", "scale"))
    ap.add_argument("--exe", help="another build of Halvorn.exe to profile (e.g. an earlier one)")
    ap.add_argument("--against", help="a second build started in turn with the first in the "
                    "start-up profile (e.g. an earlier one)")
    a = ap.parse_args()
    if a.exe:
        harness.EXE = os.path.abspath(a.exe)
    sys.stdout.reconfigure(line_buffering=True)
    harness.ensure_uptime()
    harness.install()
    if a.against:
        shutil.copy2(a.against, os.path.join(harness.INSTALL_DIR, AGAINST))
    with open("/proc/loadavg") as f:
        print("load average at start:", f.read().strip())
    try:
        if a.only in (None, "startup"):
            profile_startup(a.runs, bool(a.against))
        if a.only in (None, "redraw"):
            profile_redraw(max(3, a.runs), a.redraws)
        if a.only in (None, "idle"):
            profile_idle(a.shown, a.hidden)
        if a.only in (None, "scale"):
            profile_scale(min(a.runs, 3))
    finally:
        harness.stop_everything()
        for w in harness.find(cls=BARE_CLASS, include_hidden=True):
            harness.drv("post", w["hwnd"], harness.WM_CLOSE, 0, 0, check=False)
    with open("/proc/loadavg") as f:
        print("\nload average at end:", f.read().strip())


if __name__ == "__main__":
    main()
