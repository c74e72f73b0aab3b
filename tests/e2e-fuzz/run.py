#!/usr/bin/env python3
"""End-to-end fuzz runner: mutates generated input files and runs each through a real job (the headless
job runner for line and attribute-table jobs, the library driver for area polygons), then reads every
output back with GDAL's ogrinfo and checks it against what the input held.

    tests/e2e-fuzz/run.py [--build DIR] [--inputs N] [--seed S] [--timeout SECONDS] [--keep DIR]

Each job's output folder first holds the output of the unmutated input, the earlier output a user would
have. Per mutated input the runner counts:
  crash         the process died of a signal, left an unexpected exit code, or a sanitizer reported
  hang          no exit within the timeout
  bad success   a success whose output GDAL rejects, holds fewer features than the job reported (or records
                than shapes), holds an invalid polygon, more features than the input's records, or a field
                GDAL cannot decode although the input held CP932 text
  output lost   a failure that changed the earlier output, or any run that left a file it did not own
Prints the table; exits 1 when any of these is not zero. Run against build-sanitize with --build to get
the sanitizers' view too.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SANITIZER = re.compile(rb"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:")


def records(data, kinds):
    """Record lines of the given kinds (columns 1-3 without blanks) in the raw bytes."""
    n = 0
    for line in re.split(rb"\r\n|\r|\n", data):
        if line[:3].strip() in kinds:
            n += 1
    return n


class Job:
    """One kind of job: how to run it on an input and what its output may hold at most."""

    def __init__(self, name, source, output, command, limit_kinds, polygons=False, exact=True):
        self.name, self.source, self.output = name, source, output
        self.command, self.limit_kinds = command, limit_kinds
        self.polygons, self.exact = polygons, exact


def jobs(build, program):
    jobrun = os.path.join(build, "tools", "jobrun")
    ostrandrun = os.path.join(build, "tools", "ostrandrun")

    def converter(kind, row):
        # The first question asks before replacing the earlier output (Yes); every later one gets No.
        return lambda inp, out, log: [jobrun, "--program-folder", program, "--kind", kind, "--row", str(row),
                                      "--answer", "yes", "--out", out, inp]

    def library(*args):
        return lambda inp, out, log: [ostrandrun, "--program-folder", program, *args, inp, out, log]

    return [
        Job("line (coast)", "coast.txt", "coast.shp", converter("line", 3), {b"S"}),
        Job("line (road)", "road.txt", "road.shp", converter("line", 25), {b"L"}),
        Job("attribute table", "attr.txt", "attr.dbf", converter("attr", 3), {b"T"}),
        Job("area (clean)", "clean.txt", "clean.shp", library("--meshes", "", "1"), {b"A"}, polygons=True),
        # Rural islands become holes of their cells: fewer features than polygons made.
        Job("area (rural)", "area.txt", "area.shp", library("--meshes", "", "3"), {b"A"}, polygons=True,
            exact=False),
        Job("catchments", "basin.txt", "basin.shp", library("--basins", "81001,81002", "20"), {b"A"},
            polygons=True),
    ]


# ---- mutations ---------------------------------------------------------------------------------------

def split_lines(data):
    return re.split(rb"(?<=\n)", data)


def numbers_in(line):
    return [m.span() for m in re.finditer(rb"-?\d+", line)]


def mutate(data, rng):
    lines = [l for l in split_lines(data) if l]
    kind = rng.choice(["truncate", "flip", "count", "count", "crlf", "empty", "sjis", "delete", "duplicate",
                       "swap", "directory", "blank"])
    if kind == "truncate":
        return kind, data[: rng.randrange(len(data) + 1)]
    if kind == "flip":
        b = bytearray(data)
        for _ in range(rng.randint(1, 8)):
            b[rng.randrange(len(b))] = rng.randrange(256)
        return kind, bytes(b)
    if kind == "count":
        # A huge, negative or zero number in place of one of a line's numbers (counts live in lines 1-2 and
        # at the end of link, line and area records).
        i = rng.choice([0, 1, 1] + list(range(len(lines))))
        spans = numbers_in(lines[i])
        if not spans:
            return kind, data
        a, e = rng.choice(spans)
        width = e - a
        value = rng.choice([b"9" * width, b"-" + b"9" * max(width - 1, 1), b"0", b"-1", b"2147483648",
                            b"99999999999"])
        lines[i] = lines[i][:a] + value.rjust(width)[-max(width, len(value)):] + lines[i][e:]
        return kind, b"".join(lines)
    if kind == "crlf":
        return kind, data.replace(b"\r\n", rng.choice([b"\r", b"\n", b"\n\r"]))
    if kind == "empty":
        return kind, b""
    if kind == "sjis":
        b = bytearray(data)
        junk = rng.choice([b"\x80", b"\xa0", b"\xfd\xfe\xff", b"\x81", b"\x82\x0d", b"\xef\xbb\xbf", b"\x00"])
        at = rng.randrange(len(b) + 1)
        b[at:at + len(junk)] = junk
        return kind, bytes(b)
    if kind == "delete" and len(lines) > 1:
        del lines[rng.randrange(len(lines))]
        return kind, b"".join(lines)
    if kind == "duplicate":
        i = rng.randrange(len(lines))
        lines.insert(i, lines[i])
        return kind, b"".join(lines)
    if kind == "swap" and len(lines) > 2:
        i, j = rng.randrange(len(lines)), rng.randrange(len(lines))
        lines[i], lines[j] = lines[j], lines[i]
        return kind, b"".join(lines)
    if kind == "blank":
        i = rng.randrange(len(lines))
        lines[i] = re.sub(rb"[^\r\n]", b" ", lines[i])
        return kind, b"".join(lines)
    if kind == "directory":
        return kind, None
    return kind, data


# ---- reading outputs back ----------------------------------------------------------------------------

def ogr(args, env):
    p = subprocess.run(["ogrinfo", "-ro", *args], capture_output=True, env=env, timeout=120)
    return p.returncode, p.stdout, p.stderr


def is_cp932(data):
    """Whether the bytes are CP932 text as GDAL's recoding (iconv) reads it."""
    return subprocess.run(["iconv", "-f", "CP932", "-t", "UTF-8"], input=data, capture_output=True).returncode == 0


def feature_count(path, env):
    rc, out, err = ogr(["-al", "-so", path], env)
    m = re.search(rb"Feature Count: (\d+)", out)
    if rc != 0 or not m or b"ERROR" in err:
        return None, (err or out).decode("utf-8", "replace").strip()[:200]
    return int(m.group(1)), ""


def check_output(job, out_dir, input_bytes, reported, env):
    """Problems of a successful job's output, as texts; empty when it is sound."""
    problems = []
    path = os.path.join(out_dir, job.output)
    n, why = feature_count(path, env)
    if n is None:
        return ["GDAL rejects the output: " + why]
    if path.endswith(".shp"):
        dbf = path[:-4] + ".dbf"
        m, why = feature_count(dbf, env)
        if m is None:
            problems.append("GDAL rejects the table: " + why)
        elif m != n:
            problems.append("%d shapes but %d records" % (n, m))
    # Rural islands are built as polygons and then cut out of their cells as holes: at most as many
    # features as polygons made there, exactly as many elsewhere.
    if reported is not None and (n != reported if job.exact else n > reported):
        problems.append("%d features, the job reported %d" % (n, reported))
    limit = records(input_bytes or b"", job.limit_kinds)
    if n > limit:
        problems.append("%d features from %d records" % (n, limit))
    # Every field decoded: the dump is UTF-8 and GDAL raised no recoding warning.
    rc, dump, err = ogr(["-al", "-q", path], env)
    try:
        dump.decode("utf-8")
    except UnicodeDecodeError:
        problems.append("a field GDAL cannot decode")
    # Bytes outside CP932 that the input itself held reach the table as they stand (GDAL then warns); only
    # text the input held as CP932 must come out decodable.
    if (b"Warning" in err or b"ERROR" in err) and not (b"CP932" in err and not is_cp932(input_bytes or b"")):
        problems.append("GDAL: " + err.decode("utf-8", "replace").strip()[:200])
    if job.polygons and n:
        layer = os.path.splitext(job.output)[0]
        rc, out, err = ogr(["-q", "-dialect", "sqlite", "-sql",
                            "SELECT COUNT(*) AS bad FROM \"%s\" WHERE GEOMETRY IS NOT NULL AND NOT ST_IsValid(GEOMETRY)"
                            % layer, path], env)
        m = re.search(rb"bad \(Integer\) = (\d+)", out)
        if not m:
            problems.append("validity not readable: " + err.decode("utf-8", "replace")[:200])
        elif int(m.group(1)):
            problems.append("%s invalid polygons" % m.group(1).decode())
    return problems


def snapshot(folder):
    files = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            files[name] = f.read()
    return files


# ---- the run -----------------------------------------------------------------------------------------

def run_once(job, work, input_path, out_dir, env, timeout):
    """Runs the job; gives (outcome, reported count, text) with outcome success, failure, crash or hang."""
    log = os.path.join(work, "job.log")
    cmd = job.command(input_path, os.path.join(out_dir, job.output), log)
    try:
        p = subprocess.run(cmd, capture_output=True, env=env, timeout=timeout, cwd=work)
    except subprocess.TimeoutExpired:
        return "hang", None, ""
    text = (p.stdout + p.stderr)
    if p.returncode < 0 or SANITIZER.search(text):
        return "crash", None, text.decode("utf-8", "replace")[-600:]
    if os.path.basename(cmd[0]) == "jobrun":
        if p.returncode not in (0, 1):
            return "crash", None, text.decode("utf-8", "replace")[-600:]
        return ("success" if b"result: success" in p.stdout else "failure"), None, ""
    m = re.search(rb"status (\d+) total (-?\d+) made (-?\d+)", p.stdout)
    if not m or p.returncode == 125:
        return "crash", None, text.decode("utf-8", "replace")[-600:]
    return ("success" if int(m.group(1)) == 0 else "failure"), int(m.group(3)), ""


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--inputs", type=int, default=100, help="mutated inputs per job")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--timeout", type=float, default=60)
    ap.add_argument("--keep", help="copy every input that found a fault into this folder")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    rng = random.Random(a.seed)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.setdefault("LSAN_OPTIONS", "suppressions=%s/tests/sanitizer/lsan.supp:print_suppressions=0" % ROOT)
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")

    base = tempfile.mkdtemp(prefix="velmora-e2e-")
    totals = {}
    status = 0
    try:
        subprocess.run([os.path.join(build, "tools", "e2e_inputs"), base], check=True)
        program = os.path.join(base, "program")
        for f in ("Brunhale", "libOstrand.so"):
            shutil.copy2(os.path.join(build, "Velmora", f), program)
        env["XDG_RUNTIME_DIR"] = base
        print("%-16s %7s %8s %7s %6s %13s %12s" % ("job", "inputs", "success", "crash", "hang", "bad success",
                                                   "output lost"))
        for job in jobs(build, program):
            work = os.path.join(base, "work")
            os.makedirs(work, exist_ok=True)
            with open(os.path.join(base, "inputs", job.source), "rb") as f:
                original = f.read()
            # The earlier output: the unmutated input's.
            earlier_dir = os.path.join(base, "earlier")
            os.makedirs(earlier_dir)
            seed_path = os.path.join(work, job.source)
            with open(seed_path, "wb") as f:
                f.write(original)
            outcome, reported, text = run_once(job, work, seed_path, earlier_dir, env, a.timeout)
            if outcome != "success":
                print("%s: the unmutated input fails (%s) %s" % (job.name, outcome, text), file=sys.stderr)
                return 1
            problems = check_output(job, earlier_dir, original, reported, env)
            if problems:
                print("%s: the unmutated output is bad: %s" % (job.name, problems), file=sys.stderr)
                return 1
            earlier = snapshot(earlier_dir)
            row = dict(inputs=0, success=0, crash=0, hang=0, bad=0, lost=0)
            for i in range(a.inputs):
                kind, data = mutate(original, rng)
                input_path = os.path.join(work, "input-%d.txt" % i)
                if data is None:
                    os.makedirs(input_path)
                else:
                    with open(input_path, "wb") as f:
                        f.write(data)
                out_dir = os.path.join(work, "out")
                shutil.copytree(earlier_dir, out_dir)
                outcome, reported, text = run_once(job, work, input_path, out_dir, env, a.timeout)
                row["inputs"] += 1
                fault = None
                if outcome in ("crash", "hang"):
                    row[outcome] += 1
                    fault = outcome + " " + text
                elif outcome == "success":
                    row["success"] += 1
                    problems = check_output(job, out_dir, data, reported, env)
                    if problems:
                        row["bad"] += 1
                        fault = "bad success: " + "; ".join(problems)
                    extra = set(os.listdir(out_dir)) - set(earlier)
                    if extra:
                        row["lost"] += 1
                        fault = "left behind: %s" % sorted(extra)
                else:
                    if snapshot(out_dir) != earlier:
                        row["lost"] += 1
                        fault = "the failure changed the earlier output"
                if fault:
                    print("  %s, input %d (%s): %s" % (job.name, i, kind, fault), file=sys.stderr)
                    if a.keep and data is not None:
                        os.makedirs(a.keep, exist_ok=True)
                        with open(os.path.join(a.keep, "%s-%d-%s" % (job.source, i, kind)), "wb") as f:
                            f.write(data)
                shutil.rmtree(out_dir)
                if data is None:
                    os.rmdir(input_path)
                else:
                    os.remove(input_path)
            shutil.rmtree(earlier_dir)
            shutil.rmtree(work)
            print("%-16s %7d %8d %7d %6d %13d %12d" % (job.name, row["inputs"], row["success"], row["crash"],
                                                       row["hang"], row["bad"], row["lost"]))
            for k, v in row.items():
                totals[k] = totals.get(k, 0) + v
            if row["crash"] or row["hang"] or row["bad"] or row["lost"]:
                status = 1
        print("%-16s %7d %8d %7d %6d %13d %12d" % ("all", totals["inputs"], totals["success"], totals["crash"],
                                                   totals["hang"], totals["bad"], totals["lost"]))
    finally:
        shutil.rmtree(base, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
