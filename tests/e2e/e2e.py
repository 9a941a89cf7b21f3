#!/usr/bin/env python3
"""End-to-end scenarios: the real Tilewright.exe under Wine + Xvfb.

Each scenario gets its own APPDATA and TMP folders (under --out), writes the settings
it needs, starts the program, drives it with xdotool or a fixture window, and reads
back the log, the settings file and window rectangles. Conditions are polled with a
deadline, never slept on blindly. The harness is harness.py; the scenarios are the
modules of scenarios/, one per feature.

    e2e.py --list                     # scenario names, one per line
    e2e.py NAME --exe Tilewright.exe --fixture fixture_window.exe --out DIR
              [--region-probe window_region.exe] [--installer Tilewright-X.Y.Z-Setup.exe]
              [--portable-zip Tilewright-X.Y.Z-portable.zip]
"""
import argparse
import importlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import SCENARIOS, Failure, Run  # noqa: E402

SCENARIO_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "scenarios")
for _module in sorted(f[:-3] for f in os.listdir(SCENARIO_DIR) if f.endswith(".py")):
    importlib.import_module("scenarios." + _module)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("name", nargs="?")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--exe")
    ap.add_argument("--fixture")
    ap.add_argument("--region-probe")
    ap.add_argument("--installer")
    ap.add_argument("--portable-zip")
    ap.add_argument("--image-probe")
    ap.add_argument("--test-installer", help="signed test installer the update scenarios serve")
    ap.add_argument("--deployment", help="deployment.json of a test build (the local web service)")
    ap.add_argument("--hotkey-holder")
    ap.add_argument("--out", default="build/e2e")
    args = ap.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    run = Run(args.name, args)
    try:
        SCENARIOS[args.name](run)
        print("e2e %s: passed" % args.name)
        return 0
    except Failure as e:
        print("e2e %s: FAILED: %s" % (args.name, e))
        return 1
    finally:
        run.stop_all()


if __name__ == "__main__":
    sys.exit(main())
