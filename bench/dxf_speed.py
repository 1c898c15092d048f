"""DXF read and write against ezdxf, and .tdb against DXF, on one drawing of 10 000 triangle
figures that `tessera run` draws from a generated script; and how many figures a second the
program draws running that script, as a user runs it (goal at least 20 000).

Our times come from the program as a user runs it: opening the drawing and saving it, less the
time of a run that does neither (starting, loading the plug-in); ezdxf's from readfile and saveas
in this process. Each of our times is the best of eleven runs. Goals: DXF at least 30 times
faster than ezdxf both ways, .tdb at least 3 times faster than our DXF.

    python3 bench/dxf_speed.py BUILD_FOLDER
"""
import os
import subprocess
import sys
import tempfile
import time

FIGURES = 10_000
RUNS = 11  # the machine slows runs by up to half, and now and then twice over, from one to the next
EZDXF_RUNS = 1  # ezdxf takes seconds: its noise is small beside its time
CELL_MM = 10_000
ROW_FIGURES = 100
GOAL_EZDXF_RATIO = 30
GOAL_TDB_RATIO = 3
GOAL_FIGURES_PER_SECOND = 20_000
SCRIPT_RUNS = 5  # the script takes half a second: a few runs find a quiet moment


def figure_script():
    lines = ['(area_triangle "AREA_LINE|AREA_MARK|AREA_VALUE|0|1|AREA1|1|2.5|1|2|0")']
    for i in range(FIGURES):
        x, y = (i % ROW_FIGURES) * CELL_MM, -(i // ROW_FIGURES) * CELL_MM
        lines += [f"{x},{y}", f"{x - 1000},{y - 2000}", f"{x + 3000},{y - 2000}", ""]
    lines += ["", ""]
    return "\n".join(lines)


def best_seconds(command, runs=RUNS):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def ours(tessera, folder, drawing, extension):
    """Seconds to read `drawing`, to write it again as `extension` as the program does (a new
    file synced to the disk, then renamed over the old one), and to write it into /dev/null
    (the same text made, without the disk)."""
    empty = os.path.join(folder, "nothing.scr")
    with open(empty, "w", encoding="utf-8"):
        pass
    base = [tessera, "run", empty]
    start_only = best_seconds(base)
    read = best_seconds(base + ["--in", drawing]) - start_only
    saved = os.path.join(folder, "saved" + extension)
    read_write = best_seconds(base + ["--in", drawing, "--out", saved]) - start_only
    nowhere = os.path.join(folder, "nowhere" + extension)
    os.symlink(os.devnull, nowhere)
    read_discard = best_seconds(base + ["--in", drawing, "--out", nowhere]) - start_only
    return read, read_write - read, read_discard - read


def figures_per_second(tessera, folder, script):
    """Figures a second `tessera run` draws from the script, saving nothing, less the time of a
    run of an empty script."""
    empty = os.path.join(folder, "nothing.scr")
    with open(empty, "w", encoding="utf-8"):
        pass
    start_only = best_seconds([tessera, "run", empty], SCRIPT_RUNS)
    return FIGURES / (best_seconds([tessera, "run", script], SCRIPT_RUNS) - start_only)


def ezdxf_times(drawing, folder):
    import ezdxf  # pylint: disable=import-outside-toplevel
    read = write = None
    for _ in range(EZDXF_RUNS):
        start = time.perf_counter()
        doc = ezdxf.readfile(drawing)
        middle = time.perf_counter()
        doc.saveas(os.path.join(folder, "ezdxf.dxf"))
        end = time.perf_counter()
        read = middle - start if read is None else min(read, middle - start)
        write = end - middle if write is None else min(write, end - middle)
    return read, write


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    tessera = os.path.join(build, "bin", "tessera")
    with tempfile.TemporaryDirectory(prefix="dxf_speed_") as folder:
        script = os.path.join(folder, "figures.scr")
        with open(script, "w", encoding="utf-8") as out:
            out.write(figure_script())
        drawing = os.path.join(folder, "figures.dxf")
        tdb = os.path.join(folder, "figures.tdb")
        subprocess.run([tessera, "run", script, "--out", drawing], check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run([tessera, "run", os.devnull, "--in", drawing, "--out", tdb], check=True,
                       stdout=subprocess.DEVNULL)
        rate = figures_per_second(tessera, folder, script)
        size = os.path.getsize(drawing) / 2**20
        tdb_size = os.path.getsize(tdb) / 2**20
        dxf_read, dxf_write, dxf_made = ours(tessera, folder, drawing, ".dxf")
        tdb_read, tdb_write, tdb_made = ours(tessera, folder, tdb, ".tdb")
        try:
            ez_read, ez_write = ezdxf_times(drawing, folder)
        except ImportError:
            ez_read = ez_write = None
    print(f"dxf_speed: the program draws the {FIGURES} figures by script at {rate:.0f} figures a "
          f"second (goal at least {GOAL_FIGURES_PER_SECOND})")
    print(f"dxf_speed: {FIGURES} triangle figures, DXF of {size:.1f} MiB, .tdb of {tdb_size:.1f} MiB")
    print(f"dxf_speed: ours  read {dxf_read * 1000:.0f} ms, write {dxf_write * 1000:.0f} ms")
    print(f"dxf_speed: .tdb  read {tdb_read * 1000:.0f} ms, write {tdb_write * 1000:.0f} ms")
    print(f"dxf_speed: written into /dev/null (no disk, no sync): DXF {dxf_made * 1000:.0f} ms, "
          f".tdb {tdb_made * 1000:.0f} ms")
    if ez_read is not None:
        print(f"dxf_speed: ezdxf read {ez_read * 1000:.0f} ms, write {ez_write * 1000:.0f} ms")
        print(f"dxf_speed: ezdxf/ours read {ez_read / dxf_read:.1f}x, write "
              f"{ez_write / dxf_write:.1f}x (goal {GOAL_EZDXF_RATIO}x); write without the disk "
              f"{ez_write / dxf_made:.1f}x")
    else:
        print("dxf_speed: python3-ezdxf is not installed: no ezdxf ratio")
    print(f"dxf_speed: DXF/.tdb read {dxf_read / tdb_read:.1f}x, write {dxf_write / tdb_write:.1f}x "
          f"(goal {GOAL_TDB_RATIO}x)")


if __name__ == "__main__":
    main()
