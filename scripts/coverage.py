"""The Python half of scripts/coverage and scripts/mutate.

  coverage.py groups BUILD DIR       ctest's tests by test program: writes DIR/<program>.ids
                                     (for ctest -I) and prints program<TAB>ids-file
  coverage.py table SUMMARY.json     lines and branches per file, as a text table
  coverage.py map BY_PROGRAM_DIR     file<TAB>line<TAB>programs, for every line some program runs
  coverage.py compare BEFORE AFTER   files whose covered lines or branches went down; exit 1 if any
"""
import collections
import glob
import json
import os
import subprocess
import sys


def groups(build, ids_dir):
    listing = subprocess.run(["ctest", "--show-only=json-v1"], cwd=build, check=True,
                             capture_output=True, text=True).stdout
    numbers = collections.OrderedDict()
    for number, test in enumerate(json.loads(listing)["tests"], start=1):
        command = test.get("command") or [""]
        program = os.path.basename(command[0])
        # Tests run by an interpreter are grouped by the first part of their name.
        if program in ("bash", "sh", "python3", "python") or not program:
            program = test["name"].split(".")[0]
        numbers.setdefault(program, []).append(number)
    os.makedirs(ids_dir, exist_ok=True)
    for program, ids in numbers.items():
        path = os.path.join(ids_dir, program + ".ids")
        with open(path, "w") as f:
            f.write("0,0,0," + ",".join(map(str, ids)) + "\n")
        print(f"{program}\t{path}")


def percent(covered, total):
    return f"{100.0 * covered / total:5.1f}%" if total else "    -"


def table(summary_path):
    with open(summary_path) as f:
        summary = json.load(f)
    rows = sorted(summary["files"], key=lambda f: f["filename"])
    width = max([len(r["filename"]) for r in rows] + [5])
    print(f"{'File':<{width}}  {'Lines':>13} {'':>6}  {'Branches':>13} {'':>6}")
    for r in rows:
        print(f"{r['filename']:<{width}}  {r['line_covered']:>6}/{r['line_total']:<6} "
              f"{percent(r['line_covered'], r['line_total'])}  {r['branch_covered']:>6}/{r['branch_total']:<6} "
              f"{percent(r['branch_covered'], r['branch_total'])}")
    lc, lt = summary["line_covered"], summary["line_total"]
    bc, bt = summary["branch_covered"], summary["branch_total"]
    print(f"{'TOTAL (' + str(len(rows)) + ' files)':<{width}}  {lc:>6}/{lt:<6} {percent(lc, lt)}  "
          f"{bc:>6}/{bt:<6} {percent(bc, bt)}")


def line_map(by_program_dir):
    programs = collections.defaultdict(set)
    for path in sorted(glob.glob(os.path.join(by_program_dir, "*.json"))):
        program = os.path.splitext(os.path.basename(path))[0]
        if program == "none":
            continue
        with open(path) as f:
            report = json.load(f)
        for entry in report["files"]:
            for line in entry["lines"]:
                if line["count"] > 0 and not line.get("gcovr/noncode"):
                    programs[(entry["file"], line["line_number"])].add(program)
    for (name, number), which in sorted(programs.items()):
        print(f"{name}\t{number}\t{','.join(sorted(which))}")


def compare(before_path, after_path):
    def files(path):
        with open(path) as f:
            return {r["filename"]: r for r in json.load(f)["files"]}
    before, after = files(before_path), files(after_path)
    worse = 0
    for name in sorted(before):
        b = before[name]
        a = after.get(name, {"line_covered": 0, "branch_covered": 0})
        lines, branches = a["line_covered"] - b["line_covered"], a["branch_covered"] - b["branch_covered"]
        if lines < 0 or branches < 0:
            worse += 1
            print(f"{name}: lines {b['line_covered']} -> {a['line_covered']} ({lines:+d}), "
                  f"branches {b['branch_covered']} -> {a['branch_covered']} ({branches:+d})")
    print(f"{worse} of {len(before)} files lost covered lines or branches." if worse
          else f"No file of {len(before)} lost covered lines or branches.")
    return 1 if worse else 0


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "groups":
        groups(*args)
    elif command == "table":
        table(*args)
    elif command == "map":
        line_map(*args)
    elif command == "compare":
        sys.exit(compare(*args))
    else:
        sys.exit(__doc__)
