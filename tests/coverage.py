# SPDX-License-Identifier: MIT
"""Merges the test suite's profiles, prints the coverage of src/ line by line and
branch by branch, and fails unless every line and every branch was run.

usage: python3 coverage.py LLVM-PROFDATA LLVM-COV PROFILE-DIR PROGRAM SOURCE-DIR
"""
import glob, json, os, subprocess, sys

profdata, cov, profiles, program, sources = sys.argv[1:]
merged = os.path.join(profiles, "merged.profdata")
raw = sorted(glob.glob(os.path.join(profiles, "*.profraw")))
if not raw:
    sys.exit(f"coverage: no profiles in {profiles}: run the tests first")
subprocess.run([profdata, "merge", "-sparse", "-o", merged] + raw, check=True)
scope = [program, "-instr-profile=" + merged, sources]
subprocess.run([cov, "report", "-show-region-summary=false"] + scope, check=True)
totals = json.loads(subprocess.run([cov, "export", "-summary-only"] + scope, check=True,
                                   capture_output=True).stdout)["data"][0]["totals"]
missed = {kind: totals[kind]["count"] - totals[kind]["covered"] for kind in ("lines", "branches")}
if any(missed.values()):
    subprocess.run([cov, "show", "-show-branches=count", "-show-line-counts-or-regions"] + scope)
    sys.exit(f"coverage: {missed['lines']} lines and {missed['branches']} branches of src/ never run")
