#!/usr/bin/env python3
"""End-to-end fuzz runner: mutates generated input files and runs each through a real job (the headless
job runner for line, attribute-table, point, land-price and mesh jobs and the area jobs' boundary lines
and representative points, the library driver for area polygons), then reads every output back with
GDAL's ogrinfo and checks it against what the input held.

    tests/e2e-fuzz/run.py [--build DIR] [--inputs N] [--seed S] [--timeout SECONDS] [--keep DIR]
                          [--jobs WORD,...]

Each job's output folder first holds the output of the unmutated input, the earlier output a user would
have. Per mutated input the runner counts:
  crash         the process died of a signal, left an unexpected exit code, or a sanitizer reported
  hang          no exit within the timeout
  bad success   a success with an output GDAL rejects or that is missing, that holds another number of
                features than the job reported or the input's records give (where they give it exactly;
                more than they allow elsewhere), fewer records than shapes, an invalid polygon, or a field
                GDAL cannot decode although the input held CP932 text; outputs of one split job that
                differ in their counts
  output lost   a failure that changed the earlier output (in a job of steps: left a finished step's
                output unsound, or a file more or less), or any run that left a file it did not own
                beside the outputs
  work files    runs that left a work file of the program in its folder (the description, a work
                database: fixed names the next job replaces); counted, not a fault
Prints the table; exits 1 when a crash, hang, bad success or lost output is counted. Run against
build-sanitize with --build to get the sanitizers' view too.
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


def lines_of(data):
    """The lines as the readers cut them: at CR LF, CR and LF; no line after a last line end."""
    lines = re.split(rb"\r\n|\r|\n", data or b"")
    return lines[:-1] if lines and lines[-1] == b"" else lines


def records(data, kinds):
    """Record lines of the given kinds (columns 1-3 without blanks) in the raw bytes."""
    return sum(1 for line in lines_of(data) if line[:3].strip() in kinds)


def blank(text):
    return not text.strip(b" \t")


# Feature counts an output may hold, from the input's bytes: (n, exact). An exact count must be met; any
# other is the most the output may hold. The readers cut records by character, so an input that is not
# clean CP932 (or whose header line changed) only gets an upper bound.

def at_most(kinds, factor=1):
    return lambda data, original: (records(data, kinds) * factor, False)


def bound(count):
    """An exact count taken as the most an output may hold (jobs that select by mesh code)."""
    return lambda data, original: (count(data, original)[0], False)


def usable_points(data, original):
    """Fixed-column "P" records whose X and Y are neither blank nor 9999999: one point each."""
    bound = records(data, {b"P"})
    try:
        text = (data or b"").decode("cp932")
    except UnicodeDecodeError:
        return bound, False
    if lines_of(data)[:1] != lines_of(original)[:1]:
        return bound, False
    n = 0
    for line in re.split("\r\n|\r|\n", text)[1:]:
        x, y = line[9:17].strip(" \t"), line[17:25].strip(" \t")
        if line[:3].strip(" \t") == "P" and x and y and "9999999" not in (x, y):
            n += 1
    return n, True


def delimited_points(data, original):
    """Every line after the heading that is not blank: one point each."""
    return sum(1 for line in lines_of(data)[1:] if not blank(line)), True


def census_cells(data, original):
    """Lines of the census layer (not "H" lines) that split into the code and its two items at the
    separator of the first line that is no "H" line; others are logged and passed over."""
    lines = lines_of(data)
    tested = b""
    for line in lines:
        tested = line
        if not line.startswith(b"H"):
            break
    sep = b"," if b"," in tested else b"\t" if b"\t" in tested else None
    if sep is None:
        return 0, True
    return sum(1 for line in lines if not line.startswith(b"H") and len(line.split(sep)) == 3), True


def mesh_cells(per_record=1, forest=False):
    """Lines that begin with "M", times the cells of a record; the forest layer's ledger lines ("DM" and
    the two lines after it) are no records whatever they begin with."""
    def count(data, original):
        n, skip = 0, 0
        for line in lines_of(data):
            if skip:
                skip -= 1
            elif forest and line.startswith(b"DM"):
                skip = 2
            elif line.startswith(b"M"):
                n += per_record
        return n, True
    return count


class Output:
    """One file a job writes (beside the output path) and the features it may hold."""

    def __init__(self, name, count, polygons=False):
        self.name, self.count, self.polygons = name, count, polygons


class Job:
    """One kind of job: how to run it on an input and the outputs it writes. A job of the library driver
    reports the polygons it made: its first output holds as many (exact) or at most as many."""

    def __init__(self, name, source, command, outputs, out=None, exact=True, equal=False, steps=False):
        self.name, self.source, self.command, self.outputs = name, source, command, outputs
        self.out = out or outputs[0].name  # the output path the job is given
        self.exact, self.equal = exact, equal
        # A job of steps (area polygons, then the attached outputs) finishes each step's output and offers it
        # to the map before the next step begins; a later step's failure fails the job. The outputs of the
        # finished steps may then have changed, but only into sound outputs.
        self.steps = steps


def jobs(build, program):
    jobrun = os.path.join(build, "tools", "jobrun")
    ostrandrun = os.path.join(build, "tools", "ostrandrun")

    def converter(kind, row, *args):
        # The first question asks before replacing the earlier output (Yes), then those the job asks
        # (args); every later one gets No.
        return lambda inp, out, log: [jobrun, "--program-folder", program, "--kind", kind, "--row", str(row),
                                      "--answer", "yes", *args, "--out", out, inp]

    def nationwide(kind, row, *args):
        # The whole country ticked (DataView.csv of the program folder).
        return converter(kind, row, "--nationwide", "--all", *args)

    def library(*args):
        return lambda inp, out, log: [ostrandrun, "--program-folder", program, *args, inp, out, log]

    def one(name, count, polygons=False):
        return [Output(name + ".shp", count, polygons)]

    split = ["--answer", "yes"]  # the land-price question: split the attributes
    seasons = [Output("wave%d.shp" % k, at_most({b"M"}), True) for k in range(1, 5)]
    return [
        Job("line (coast)", "coast.txt", converter("line", 3), one("coast", at_most({b"S"}))),
        Job("line (road)", "road.txt", converter("line", 25), one("road", at_most({b"L"}))),
        Job("attribute table", "attr.txt", converter("attr", 3), [Output("attr.dbf", at_most({b"T"}))]),
        Job("point (fixed)", "points.txt", converter("point", 12), one("points", usable_points)),
        Job("point (comma)", "points.csv", converter("point", 12), one("points", delimited_points)),
        Job("point (tab)", "points.tsv", converter("point", 12), one("points", delimited_points)),
        Job("land price (fixed)", "chika.txt", converter("point", 8, *split),
            [Output("chika.shp", usable_points), Output("chika_Z.dbf", usable_points)], equal=True),
        Job("land price (comma)", "chika.csv", converter("point", 9, *split),
            [Output("chika.shp", delimited_points), Output("chika_Z.dbf", delimited_points)], equal=True),
        Job("mesh (3rd level)", "mesh3.txt", converter("mesh", 0), one("mesh", mesh_cells(), True)),
        Job("mesh (1/10 cells)", "mesh10.txt", converter("mesh", 12), one("mesh", mesh_cells(100), True)),
        Job("mesh (census)", "census.csv", converter("mesh", 25), one("census", census_cells, True)),
        Job("mesh (forest)", "forest.txt", converter("mesh", 2), one("forest", mesh_cells(forest=True), True)),
        Job("mesh (lake)", "lake.txt", converter("mesh", 17), one("lake", mesh_cells(), True)),
        Job("mesh (4 seasons)", "fourway.txt", converter("mesh", 4), seasons, out="wave.shp"),
        Job("area lines+points", "structure.txt",
            converter("area", 0, "--polygons", "no", "--attached", "both"),
            [Output("area_L.shp", at_most({b"L"})), Output("area_P.shp", at_most({b"A"}))], out="area.shp"),
        Job("area (job, row 0)", "structure.txt", converter("area", 0, "--attached", "both"),
            [Output("area.shp", at_most({b"A"}), True), Output("area_L.shp", at_most({b"L"})),
             Output("area_P.shp", at_most({b"A"}))], steps=True),
        Job("point (nationwide)", "points.txt", nationwide("point", 12), one("points", bound(usable_points))),
        Job("line (nationwide)", "coast.txt", nationwide("line", 3), one("coast", at_most({b"S"}))),
        Job("mesh (nationwide)", "mesh3.txt", nationwide("mesh", 0), one("mesh", bound(mesh_cells()), True)),
        Job("area (nationwide)", "structure.txt", nationwide("area", 0, "--attached", "none"),
            one("area", at_most({b"A"}), True)),
        Job("area (clean)", "clean.txt", library("--meshes", "", "1"), one("clean", at_most({b"A"}), True)),
        # Rural islands become holes of their cells: fewer features than polygons made.
        Job("area (rural)", "area.txt", library("--meshes", "", "3"), one("area", at_most({b"A"}), True),
            exact=False),
        Job("catchments", "basin.txt", library("--basins", "81001,81002", "20"), one("basin", at_most({b"A"}), True)),
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


def check_file(output, path, input_bytes, original, env):
    """Problems of one output of a successful job, and its feature count (None when GDAL rejects it)."""
    n, why = feature_count(path, env)
    if n is None:
        return ["%s: GDAL rejects it: %s" % (output.name, why)], None
    problems = []
    if path.endswith(".shp"):
        m, why = feature_count(path[:-4] + ".dbf", env)
        if m is None:
            problems.append("%s: GDAL rejects the table: %s" % (output.name, why))
        elif m != n:
            problems.append("%s: %d shapes but %d records" % (output.name, n, m))
    expected, exact = output.count(input_bytes, original)
    if n != expected if exact else n > expected:
        problems.append("%s: %d features, the input holds %s%d" % (output.name, n, "" if exact else "at most ",
                                                                   expected))
    # Every field decoded: the dump is UTF-8 and GDAL raised no recoding warning.
    rc, dump, err = ogr(["-al", "-q", path], env)
    try:
        dump.decode("utf-8")
    except UnicodeDecodeError:
        problems.append("%s: a field GDAL cannot decode" % output.name)
    # Bytes outside CP932 that the input itself held reach the table as they stand (GDAL then warns); only
    # text the input held as CP932 must come out decodable.
    if (b"Warning" in err or b"ERROR" in err) and not (b"CP932" in err and not is_cp932(input_bytes or b"")):
        problems.append("%s: GDAL: %s" % (output.name, err.decode("utf-8", "replace").strip()[:200]))
    if output.polygons and n:
        layer = os.path.splitext(output.name)[0]
        rc, out, err = ogr(["-q", "-dialect", "sqlite", "-sql",
                            "SELECT COUNT(*) AS bad FROM \"%s\" WHERE GEOMETRY IS NOT NULL AND NOT ST_IsValid(GEOMETRY)"
                            % layer, path], env)
        m = re.search(rb"bad \(Integer\) = (\d+)", out)
        if not m:
            problems.append("%s: validity not readable: %s" % (output.name, err.decode("utf-8", "replace")[:200]))
        elif int(m.group(1)):
            problems.append("%s: %s invalid polygons" % (output.name, m.group(1).decode()))
    return problems, n


def check_output(job, out_dir, input_bytes, original, reported, env):
    """Problems of a successful job's outputs, as texts; empty when they are sound."""
    problems, counts = [], []
    for output in job.outputs:
        p, n = check_file(output, os.path.join(out_dir, output.name), input_bytes, original, env)
        problems += p
        counts.append(n)
    # Rural islands are built as polygons and then cut out of their cells as holes: at most as many
    # features as polygons made there, exactly as many elsewhere.
    n = counts[0]
    if reported is not None and n is not None and (n != reported if job.exact else n > reported):
        problems.append("%d features, the job reported %d" % (n, reported))
    if job.equal and len(set(counts)) > 1:
        problems.append("outputs of one job with different counts: %s" % counts)
    return problems


def changed_outputs(job, out_dir, earlier):
    """The outputs of a job one of whose files differs from the earlier output's."""
    now = snapshot(out_dir)
    changed = []
    for output in job.outputs:
        base = os.path.splitext(output.name)[0]
        names = [n for n in set(now) | set(earlier) if os.path.splitext(n)[0] == base]
        if any(now.get(n) != earlier.get(n) for n in names):
            changed.append(output)
    return changed


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
    cmd = job.command(input_path, os.path.join(out_dir, job.out), log)
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
        # An area job's box tells the polygons made.
        m = re.search("ポリゴンデータ = (\\d+) 件作成".encode(), p.stdout)
        return ("success" if b"result: success" in p.stdout else "failure"), (int(m.group(1)) if m else None), ""
    m = re.search(rb"status (\d+) total (-?\d+) made (-?\d+)", p.stdout)
    if not m or p.returncode == 125:
        return "crash", None, text.decode("utf-8", "replace")[-600:]
    return ("success" if int(m.group(1)) == 0 else "failure"), int(m.group(3)), ""


def program_files(program):
    """The program folder's own files (its Log folder aside): a job must leave nothing of its own there."""
    return set(os.listdir(program)) - {"Log"}


def run_job(job, base, program, rng, a, env):
    """Runs the job on the unmutated input, then on a.inputs mutated ones; gives its row of the table."""
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
    owned = program_files(program)
    outcome, reported, text = run_once(job, work, seed_path, earlier_dir, env, a.timeout)
    if outcome != "success":
        raise RuntimeError("%s: the unmutated input fails (%s) %s" % (job.name, outcome, text))
    problems = check_output(job, earlier_dir, original, original, reported, env)
    if problems or program_files(program) != owned:
        raise RuntimeError("%s: the unmutated output is bad: %s %s" % (job.name, problems,
                                                                      program_files(program) - owned))
    earlier = snapshot(earlier_dir)
    row = dict(inputs=0, success=0, crash=0, hang=0, bad=0, lost=0, work=0)
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
        faults = []
        if outcome in ("crash", "hang"):
            row[outcome] += 1
            faults.append(outcome + " " + text)
        elif outcome == "success":
            row["success"] += 1
            problems = check_output(job, out_dir, data, original, reported, env)
            if problems:
                row["bad"] += 1
                faults.append("bad success: " + "; ".join(problems))
            extra = set(os.listdir(out_dir)) - set(earlier)
            if extra:
                faults.append("left behind: %s" % sorted(extra))
        elif snapshot(out_dir) != earlier:
            changed = changed_outputs(job, out_dir, earlier)
            if not job.steps or set(snapshot(out_dir)) != set(earlier):
                faults.append("the failure changed the earlier output")
            else:
                for output in changed:
                    problems, n = check_file(output, os.path.join(out_dir, output.name), data, original, env)
                    if output is job.outputs[0] and reported is not None and n is not None and n != reported:
                        problems.append("%d features, the job reported %d" % (n, reported))
                    if problems:
                        faults.append("a finished step's output is bad: " + "; ".join(problems))
        # Work files in the program folder (the description, the work databases) are the program's own,
        # under fixed names the next job replaces; a failed job may leave them. Counted, not a fault.
        extra = program_files(program) - owned
        if extra:
            row["work"] += 1
            for name in extra:
                path = os.path.join(program, name)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        if any(f.startswith(("left", "the failure", "a finished")) for f in faults):
            row["lost"] += 1
        if faults:
            print("  %s, input %d (%s): %s" % (job.name, i, kind, " / ".join(faults)), file=sys.stderr)
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
    return row


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--inputs", type=int, default=100, help="mutated inputs per job")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--timeout", type=float, default=60)
    ap.add_argument("--keep", help="copy every input that found a fault into this folder")
    ap.add_argument("--jobs", help="only the jobs whose names hold one of these comma-separated words")
    a = ap.parse_args()
    build = os.path.abspath(a.build)
    rng = random.Random(a.seed)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.setdefault("LSAN_OPTIONS", "suppressions=%s/tests/sanitizer/lsan.supp:print_suppressions=0" % ROOT)
    env.setdefault("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1")

    base = tempfile.mkdtemp(prefix="velmora-e2e-")
    os.chmod(base, 0o700)
    totals = dict(inputs=0, success=0, crash=0, hang=0, bad=0, lost=0, work=0)
    status = 0
    line = "%-20s %7s %8s %7s %6s %13s %12s %11s"
    try:
        subprocess.run([os.path.join(build, "tools", "e2e_inputs"), base], check=True)
        program = os.path.join(base, "program")
        for f in ("Brunhale", "libOstrand.so"):
            shutil.copy2(os.path.join(build, "Velmora", f), program)
        env["XDG_RUNTIME_DIR"] = base
        print(line % ("job", "inputs", "success", "crash", "hang", "bad success", "output lost",
                     "work files"), flush=True)
        words = a.jobs.split(",") if a.jobs else None
        for job in jobs(build, program):
            if words and not any(w in job.name for w in words):
                continue
            try:
                row = run_job(job, base, program, rng, a, env)
            except RuntimeError as e:
                print(e, file=sys.stderr)
                return 1
            print(line % (job.name, *row.values()), flush=True)
            for k, v in row.items():
                totals[k] += v
            if row["crash"] or row["hang"] or row["bad"] or row["lost"]:
                status = 1
        print(line % ("all", *totals.values()))
    finally:
        shutil.rmtree(base, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
