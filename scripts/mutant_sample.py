#!/usr/bin/env python3
# A mutation sample: apply one listed change at a time, rebuild and run the covering test binaries, restore the file.
#
# Usage: scripts/mutant_sample.py LIST.jsonl [ID ...]   (run from the checkout, with ./build configured)
# LIST.jsonl holds one mutant a line, {"id", "file", "before", "after", "targets": [test binary targets]};
# lines starting with '#' are comments. "before" must occur exactly once in "file". Each target is built
# (nice, -j2) and run at once; the first that fails kills the mutant. The file is restored after every
# mutant, whatever happens.
import json
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path.cwd()
BUILD = ROOT / 'build'


def run(cmd):
    return subprocess.run(cmd, shell=True, cwd=ROOT, capture_output=True, text=True)


def binary(target):
    found = [p for p in BUILD.rglob(target) if p.is_file() and p.stat().st_mode & 0o111]
    return found[0] if found else None


def try_mutant(m):
    path = ROOT / m['file']
    original = path.read_text()
    if original.count(m['before']) != 1:
        return 'not-found', ''
    path.write_text(original.replace(m['before'], m['after'], 1))
    try:
        for target in m['targets']:
            if run(f'nice -n 15 cmake --build build -j2 --target {target}').returncode != 0:
                return 'build-broken', target
            exe = binary(target)
            r = run(f'nice -n 15 {exe} --gtest_fail_fast --gtest_brief=1')
            if r.returncode != 0:
                failed = [l[13:].split(' ')[0] for l in r.stdout.splitlines() if l.startswith('[  FAILED  ]')]
                return 'killed', target + ' ' + (failed[0] if failed else '?')
        return 'SURVIVED', ''
    finally:
        path.write_text(original)


def main():
    lines = pathlib.Path(sys.argv[1]).read_text().splitlines()
    mutants = [json.loads(l) for l in lines if l.strip() and not l.startswith('#')]
    only = set(sys.argv[2:])
    killed = total = 0
    for m in mutants:
        if only and m['id'] not in only:
            continue
        t0 = time.time()
        verdict, by = try_mutant(m)
        total += 1
        killed += verdict == 'killed'
        print(f"{m['id']} {m['file']} {verdict} {by} {time.time() - t0:.0f}s", flush=True)
    print(f'killed {killed} of {total}')


if __name__ == '__main__':
    main()
