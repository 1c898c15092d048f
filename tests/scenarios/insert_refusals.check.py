"""Nothing of the refused and failed figures stays: the same check as for figure_failures."""
import os
import runpy

runpy.run_path(os.path.join(os.path.dirname(os.path.abspath(__file__)), "figure_failures.check.py"),
               run_name="__main__")
