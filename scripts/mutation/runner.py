"""A scratch copy of the tree, its builds, and the tests run against one mutant."""

import json
import os
import re
import shutil
import signal
import subprocess
import time
from dataclasses import dataclass, field
from pathlib import Path


def tracked_files(root):
    out = subprocess.run(
        ["git", "-C", str(root), "ls-files", "-co", "--exclude-standard", "-z"],
        check=True, capture_output=True,
    ).stdout.decode()
    return [f for f in out.split("\0") if f and (root / f).is_file()]


def sync_tree(root, scratch):
    """Copy the tree into scratch, touching only files that differ, so the
    scratch builds stay incremental from one run to the next."""
    wanted = set(tracked_files(root))
    for rel in wanted:
        src, dst = root / rel, scratch / rel
        if dst.is_file() and dst.read_bytes() == src.read_bytes():
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        # A fresh time, never the source's: a file edited before the scratch
        # build last ran must still look newer than what that build made.
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)
    for path in scratch.rglob("*"):
        rel = path.relative_to(scratch).as_posix()
        if path.is_file() and not rel.startswith("build/") and rel not in wanted:
            path.unlink()


def preset_environment(tree, preset):
    """The environment a CTest preset gives its tests, inherited ones included."""
    presets = {p["name"]: p for p in json.loads((tree / "CMakePresets.json").read_text())
               .get("testPresets", [])}
    env = {}
    chain = []
    name = preset
    while name in presets:
        chain.append(presets[name])
        inherits = presets[name].get("inherits")
        name = inherits[0] if isinstance(inherits, list) else inherits
    for p in reversed(chain):
        env.update(p.get("environment", {}))
    return env


@dataclass
class Unit:
    """One thing to run: a CTest test, or a whole GoogleTest executable whose
    cases CTest lists one by one."""

    name: str
    targets: list
    cost: float = 1.0
    gtest: str = ""  # the executable, when the unit is a whole GoogleTest run
    libraries: set = field(default_factory=set)


class Build:
    def __init__(self, tree, preset, log):
        self.tree, self.preset, self.log = tree, preset, log
        self.dir = tree / "build" / preset
        self.env = dict(os.environ)
        self.env.update(preset_environment(tree, preset))
        self.units = []

    def run(self, cmd, timeout=None, env=None):
        with open(self.log, "a") as log:
            log.write(f"\n$ {' '.join(map(str, cmd))}\n")
            log.flush()
            # A session of its own, so a timeout ends the servers a test started too.
            proc = subprocess.Popen(cmd, cwd=self.tree, env=env or os.environ,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                    start_new_session=True)
            try:
                out, _ = proc.communicate(timeout=timeout)
                rc = proc.returncode
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                out, _ = proc.communicate()
                rc = None
            text = out.decode(errors="replace")
            log.write(text)
            return rc, text

    def configure(self, jobs):
        # Each mutant relinks every test executable of its directory: lld does
        # that in a third of GNU ld's time. The presets mutated here are Debug
        # builds, and the Debug flags are the ones no preset sets.
        lld = [f"-DCMAKE_{kind}_LINKER_FLAGS_DEBUG=-fuse-ld=lld" for kind in ("EXE", "SHARED")
               ] if shutil.which("ld.lld") else []
        rc, _ = self.run(["cmake", "--preset", self.preset, "-DVELUNOR_BUILD_PACKAGING=OFF",
                          "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON", *lld])
        if rc != 0:
            raise SystemExit(f"mutate: configuring {self.preset} failed, see {self.log}")
        if not self.build([], jobs):
            raise SystemExit(f"mutate: the unmutated {self.preset} build failed, see {self.log}")

    def build(self, targets, jobs):
        cmd = ["cmake", "--build", str(self.dir), "-j", str(jobs)]
        if targets:
            cmd += ["--target", *targets]
        rc, _ = self.run(cmd)
        return rc == 0

    def discover(self):
        """The units, with what each one's executables link and costs."""
        rc, text = self.run(["ctest", "--test-dir", str(self.dir), "--show-only=json-v1"])
        tests = json.loads(text[text.index("{"):]) if rc == 0 else {"tests": []}
        by_name = {}
        for test in tests["tests"]:
            cmd = test.get("command") or []
            targets = [Path(a).name for a in cmd
                       if str(a).startswith(str(self.dir)) and os.access(a, os.X_OK)
                       and Path(a).is_file()]
            if any(str(a).startswith("--gtest_filter") for a in cmd):
                name = Path(cmd[0]).name
                by_name.setdefault(name, Unit(name, [name], gtest=cmd[0]))
            else:
                by_name[test["name"]] = Unit(test["name"], targets)
        # A test that runs nothing built here (a file validator) cannot see a mutant.
        self.units = [u for u in by_name.values() if u.targets]
        for unit in self.units:
            for target in unit.targets:
                unit.libraries |= self.linked(target)

    def linked(self, target):
        """Names of the libraries a target links, itself included."""
        found = {target}
        for link in self.dir.rglob(f"CMakeFiles/{target}.dir/link.txt"):
            found |= set(re.findall(r"lib(\w+)\.a\b", link.read_text()))
        return found

    def compiled_sources(self):
        """The sources this build compiles, relative to the tree."""
        commands = json.loads((self.dir / "compile_commands.json").read_text())
        return {Path(c["file"]).resolve().relative_to(self.tree.resolve()).as_posix()
                for c in commands if Path(c["file"]).resolve().is_relative_to(self.tree.resolve())}

    def libraries_of(self, directory):
        """The targets compiled from a source in the directory."""
        commands = json.loads((self.dir / "compile_commands.json").read_text())
        inside = str(self.tree / directory) + "/"
        return {m.group(1) for c in commands if c["file"].startswith(inside)
                for m in [re.search(r"(\w+)\.dir/", c.get("output", c["command"]))] if m}

    def baseline(self, jobs, product):
        """Every unit once against the unmutated tree: all must pass, and their
        times order the units cheapest first. `product` names the libraries
        built from the mutated directories."""
        failed = []
        for unit in self.units:
            start = time.monotonic()
            result = self.run_unit(unit, timeout=None)
            unit.cost = time.monotonic() - start
            if result is not None:
                failed.append(unit.name)
        if failed:
            raise SystemExit(f"mutate: {', '.join(failed)} failed on the unmutated tree "
                             f"({self.preset}), see {self.log}")
        # Cheapest first, counting the build: an executable that links less of
        # the product relinks sooner. Libraries no mutant touches (GoogleTest)
        # cost nothing to relink against.
        self.units.sort(key=lambda u: (len(u.libraries & product), u.cost))

    def run_unit(self, unit, timeout):
        """None when the unit passes, else the name of what failed."""
        if unit.gtest:
            rc, text = self.run([unit.gtest, "--gtest_brief=1"], timeout=timeout, env=self.env)
            if rc == 0:
                return None
            m = re.search(r"\[  FAILED  \] (\S+)", text)
            detail = m.group(1) if m else ("timeout" if rc is None else f"exit {rc}")
            return f"{unit.name}: {detail}"
        cmd = ["ctest", "--test-dir", str(self.dir), "-R", f"^{re.escape(unit.name)}$",
               "--output-on-failure", "--no-tests=error"]
        rc, text = self.run(cmd, timeout=timeout, env=self.env)
        if rc == 0:
            return None
        m = re.search(r"^FAIL!  : (\S+)", text, re.M)
        if m:
            return f"{unit.name}: {m.group(1)}"
        if rc is None or "***Timeout" in text:
            return f"{unit.name}: timeout"
        return unit.name
