#!/usr/bin/env python3
"""Runs one scenario: a drawing script through `tessera run`, checked against what it must give.

Usage: run_scenario.py TESSERA SCRIPT.scr OUTDIR

A scenario NAME is the script NAME.scr with, beside it:

NAME.expect (optional), one item per line:
    text        a transcript line equal to `text` must come after the line the previous item
                matched (both compared without surrounding blanks); lines in between are free
    =text       the line right after the previous item's line must equal `text`
    !text       no transcript line contains `text`, anywhere
    @exit N     the run must end with exit status N (default 0)
    @message T  the program's error output (its one-line message) contains T
    @in FILE    the run opens the drawing FILE (relative to the scenario's folder) with --in
    @path DIR   the run's TESSERA_PATH is DIR (relative to the scenario's folder), so that the
                host finds support files there (a settings file, block files)
    @roundtrip  the saved drawing is also opened and saved as .tdb, that opened and saved as
                .dxf again, and NAME.check.py runs on the result as well
    # ...       a comment; blank lines are ignored

The program runs in OUTDIR, so that drawings a script saves under a plain name land there.

Every drawing saved this way must load in ezdxf with a clean audit and a $HANDSEED above all its
handles.

NAME.check.py (optional) runs as `python3 NAME.check.py DXF TRANSCRIPT` on the saved drawing and
must exit 0; figure_checks.py beside this runner has the helpers it uses. The environment variable
TESSERA names the program, for checks that run it again (`tessera render`).

The run writes OUTDIR/NAME.dxf and OUTDIR/NAME.txt (the transcript). A failure prints what was
missing and the transcript, and exits 1.
"""
import os
import subprocess
import sys


def read_expectations(path):
    ordered, absent = [], []
    options = {"exit": 0, "roundtrip": False, "in": None, "path": None, "messages": []}
    if not os.path.exists(path):
        return ordered, absent, options
    with open(path, encoding="utf-8") as lines:
        for number, raw in enumerate(lines, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("@exit"):
                options["exit"] = int(line.split()[1])
            elif line.startswith("@message "):
                options["messages"].append(line[len("@message "):].strip())
            elif line.startswith("@in "):
                folder = os.path.dirname(os.path.abspath(path))
                options["in"] = os.path.join(folder, line[len("@in "):].strip())
            elif line.startswith("@path "):
                folder = os.path.dirname(os.path.abspath(path))
                options["path"] = os.path.join(folder, line[len("@path "):].strip())
            elif line.strip() == "@roundtrip":
                options["roundtrip"] = True
            elif line.startswith("!"):
                absent.append((number, line[1:].strip()))
            elif line.startswith("="):
                ordered.append((number, line[1:].strip(), True))
            else:
                ordered.append((number, line.strip(), False))
    return ordered, absent, options


def run_tessera(tessera, script, args):
    status, output, _ = run_tessera_apart(tessera, script, args)
    return status, output


def run_tessera_apart(tessera, script, args, cwd=None, search_path=None):
    """Runs the program; its status, all its output, and its error output alone."""
    command = [os.path.abspath(tessera), "run", os.path.abspath(script)] + args
    environment = dict(os.environ)
    if search_path:
        environment["TESSERA_PATH"] = search_path
    done = subprocess.run(command, capture_output=True, text=True, timeout=100, cwd=cwd,
                          env=environment)
    return done.returncode, done.stdout + done.stderr, done.stderr


def check_transcript(transcript_lines, ordered, absent):
    failures = []
    position = 0
    stripped = [line.strip() for line in transcript_lines]
    for number, expected, adjacent in ordered:
        after = stripped[position - 1] if position > 0 else "(start)"
        if adjacent:
            found = position < len(stripped) and stripped[position] == expected
            if not found:
                failures.append(f"expect line {number}: '{expected}' does not follow '{after}'")
                break
            position += 1
            continue
        try:
            position = stripped.index(expected, position) + 1
        except ValueError:
            failures.append(f"expect line {number}: '{expected}' not found after '{after}'")
            break
    for number, text in absent:
        for line in stripped:
            if text in line:
                failures.append(f"expect line {number}: '{text}' must not appear: '{line}'")
                break
    return failures


def run_check(tessera, check, dxf, transcript):
    environment = dict(os.environ, TESSERA=os.path.abspath(tessera))
    done = subprocess.run([sys.executable, check, dxf, transcript], capture_output=True,
                          text=True, timeout=100, env=environment)
    if done.returncode == 0:
        return []
    return [f"{os.path.basename(check)} on {os.path.basename(dxf)}:\n{done.stdout}{done.stderr}"]


def highest_handle_and_seed(path):
    """The highest handle the file gives an object, and its $HANDSEED."""
    with open(path, encoding="utf-8") as text:
        lines = [line.strip() for line in text.read().splitlines()]
    highest, seed = 0, None
    for i in range(0, len(lines) - 1, 2):
        if lines[i] == "9" and lines[i + 1] == "$HANDSEED" and i + 3 < len(lines):
            seed = int(lines[i + 3], 16)
        elif lines[i] in ("5", "105") and (i < 2 or lines[i - 1] != "$HANDSEED"):
            highest = max(highest, int(lines[i + 1], 16))
    return highest, seed


def audit_saved_drawing(dxf):
    """Every drawing a scenario saves must load in ezdxf with a clean audit, and its handle seed
    must lie above every handle in it, or the next program to add objects would reuse one."""
    try:
        import ezdxf
    except ImportError:
        return []
    failures = []
    auditor = ezdxf.readfile(dxf).audit()
    if auditor.errors:
        failures.append(f"ezdxf audit of {os.path.basename(dxf)}: "
                        f"{[error.message for error in auditor.errors]}")
    highest, seed = highest_handle_and_seed(dxf)
    if seed is None or seed <= highest:
        failures.append(f"{os.path.basename(dxf)}: $HANDSEED {seed} is not above handle {highest:X}")
    return failures


def round_trip(tessera, name, outdir, dxf):
    """Opens the drawing and saves it as .tdb, then opens that and saves it as .dxf."""
    empty = os.path.join(outdir, name + ".empty.scr")
    with open(empty, "w", encoding="utf-8") as script:
        script.write("; opens and saves the drawing\n")
    tdb = os.path.join(outdir, name + ".tdb")
    again = os.path.join(outdir, name + ".roundtrip.dxf")
    for source, target in ((dxf, tdb), (tdb, again)):
        status, output = run_tessera(tessera, empty, ["--in", source, "--out", target])
        if status != 0:
            return None, [f"round trip {source} -> {target} ended with {status}:\n{output}"]
    return again, []


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    tessera, script, outdir = sys.argv[1:]
    outdir = os.path.abspath(outdir)
    os.makedirs(outdir, exist_ok=True)
    base = os.path.splitext(script)[0]
    name = os.path.basename(base)
    dxf = os.path.join(outdir, name + ".dxf")
    transcript = os.path.join(outdir, name + ".txt")
    ordered, absent, options = read_expectations(base + ".expect")
    arguments = ["--out", dxf, "--transcript", transcript]
    if options["in"]:
        arguments += ["--in", options["in"]]
    status, output, errors = run_tessera_apart(tessera, script, arguments, cwd=outdir,
                                               search_path=options["path"])
    failures = []
    if status != options["exit"]:
        failures.append(f"exit status {status}, expected {options['exit']}:\n{output}")
    for message in options["messages"]:
        if message not in errors:
            failures.append(f"error output lacks '{message}':\n{errors}")
    lines = []
    if os.path.exists(transcript):
        with open(transcript, encoding="utf-8") as text:
            lines = text.read().splitlines()
    failures += check_transcript(lines, ordered, absent)
    if os.path.exists(dxf):
        failures += audit_saved_drawing(dxf)
    check = base + ".check.py"
    if os.path.exists(check) and os.path.exists(dxf):
        failures += run_check(tessera, check, dxf, transcript)
        if options["roundtrip"]:
            again, trip_failures = round_trip(tessera, name, outdir, dxf)
            failures += trip_failures
            if again:
                failures += audit_saved_drawing(again)
                failures += run_check(tessera, check, again, transcript)
    if failures:
        print(f"scenario {name} failed:")
        for failure in failures:
            print("  " + failure)
        print("---- transcript ----")
        print("\n".join(lines))
        return 1
    print(f"scenario {name}: {len(ordered)} transcript lines matched")
    return 0


if __name__ == "__main__":
    sys.exit(main())
