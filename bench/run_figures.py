#!/usr/bin/env python3
"""Speed and memory of one whole collection run against the simulator.

Runs the self-driving program (build/app/velmora_autodrive) on the simulator
in a folder and home of its own, and reports:
  - the time per keyword beyond the run's fixed waits (500 ms once, then
    1000 ms of responsive waits and the parse's 200 ms blocking delay per
    keyword, and 400 ms per item), from the run's own clock;
  - the peak memory of the whole process tree (the program, its browser
    engine processes and the simulator), sampled from /proc: the sum of
    resident sizes (shared pages counted in every process) and the sum of
    proportional sizes (shared pages split between their users).

With --batch N it runs velmora-batch instead, over N keywords through the
open-platform source on the simulator's gateway with the rate limit off, and
reports the time per keyword, pages an hour, the peak memory and the most
child processes the batch had at once (it should have none).

usage: bench/run_figures.py [--keywords A,B,C] [--count N] [--build DIR]
       bench/run_figures.py --batch N [--count N] [--build DIR]
"""
import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

FIRST_WAIT_MS = 500
WAIT_PER_KEYWORD_MS = 1000 + 200
WAIT_PER_ITEM_MS = 400
TEMPLATE = "高贵大气"


def children(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def tree(pid):
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children(p))
    return found


def memory_kb(pid):
    """(resident, proportional) in kB, or (0, 0) for a process that is gone."""
    rss = pss = 0
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Rss:"):
                    rss = int(line.split()[1])
                elif line.startswith("Pss:"):
                    pss = int(line.split()[1])
    except OSError:
        pass
    return rss, pss


class Sampler(threading.Thread):
    def __init__(self, roots):
        super().__init__(daemon=True)
        self.roots = roots
        self.peak_rss = self.peak_pss = 0
        self.peak_processes = 0
        self.stop = threading.Event()

    def run(self):
        while not self.stop.is_set():
            pids = [p for root in self.roots for p in tree(root)]
            sizes = [memory_kb(p) for p in pids]
            self.peak_rss = max(self.peak_rss, sum(s[0] for s in sizes))
            self.peak_pss = max(self.peak_pss, sum(s[1] for s in sizes))
            self.peak_processes = max(self.peak_processes, len(pids))
            time.sleep(0.025)


def program_folder(work, build, executable):
    """A copy of the program in a folder of its own with the starter template."""
    templates = os.path.join(build, "app", "单页生成", "模板", TEMPLATE)
    program = os.path.join(work, "program")
    folder = os.path.join(program, "单页生成", "模板", TEMPLATE)
    os.makedirs(folder)
    for name in ("模板文件.htm", "效果预览.htm"):
        shutil.copy(os.path.join(templates, name), folder)
    shutil.copy(os.path.join(build, "app", executable), program)
    return os.path.join(program, executable)


def environment(work, address):
    """A home of its own, the simulator as the proxy, no display."""
    home = os.path.join(work, "home")
    os.makedirs(os.path.join(work, "runtime"), mode=0o700)
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
               XDG_CONFIG_HOME=home + "/config", XDG_CACHE_HOME=home + "/cache",
               XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
               http_proxy="http://" + address, HTTP_PROXY="http://" + address)
    env.pop("no_proxy", None)
    env.pop("NO_PROXY", None)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    return env


def autodrive_figures(args, executable, env, sim):
    started = time.monotonic()
    run = subprocess.Popen(
        [executable, "--keywords", args.keywords, "--count", str(args.count)],
        env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    sampler = Sampler([run.pid, sim.pid])
    sampler.start()
    out, err = run.communicate(timeout=600)
    total = time.monotonic() - started
    sampler.stop.set()
    sampler.join()
    if run.returncode != 0:
        sys.stderr.write(err)
        sys.exit(f"the run failed (exit {run.returncode})")

    report = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
    keywords = len(args.keywords.split(","))
    run_ms = int(report["run-ms"])
    fixed_ms = FIRST_WAIT_MS + keywords * (WAIT_PER_KEYWORD_MS + args.count * WAIT_PER_ITEM_MS)
    print(f"keywords {keywords}, items per keyword {args.count}")
    print(f"run (start pressed to run over): {run_ms} ms, of which fixed waits {fixed_ms} ms")
    print(f"beyond the fixed waits: {(run_ms - fixed_ms) / keywords:.1f} ms per keyword "
          f"({1 + args.count} requests each)")
    print(f"whole program from start to exit: {total:.2f} s")
    print(f"peak memory of the process tree ({sampler.peak_processes} processes): "
          f"RSS sum {sampler.peak_rss / 1024:.0f} MiB, PSS sum {sampler.peak_pss / 1024:.0f} MiB")
    print(f"heap blocks: before run {report['heap-before-run']}, after run "
          f"{report['heap-after-run']}, at exit {report['heap-at-exit']}")


def batch_figures(args, executable, env, work):
    """velmora-batch over N keywords through the open-platform source, rate limit off."""
    config = os.path.join(env["XDG_CONFIG_HOME"], "velmora")
    os.makedirs(config)
    with open(os.path.join(config, "velmora.conf"), "w") as f:
        f.write("[api]\napp_key = velmora-demo-key\napp_secret = velmora-demo-secret\n"
                "adzone_id = 1000\ngateway = http://gw.api.velmora.local/router/rest\n"
                "rate_per_second = 0\n")
    keywords = os.path.join(work, "keywords.txt")
    with open(keywords, "w") as f:
        f.writelines(f"商品{i:05d}\n" for i in range(args.batch))
    summary_path = os.path.join(work, "summary.json")

    started = time.monotonic()
    with open(summary_path, "w") as out, open(os.path.join(work, "batch.err"), "w") as err:
        run = subprocess.Popen([executable, "--source", "api", "--json", "--count",
                                str(args.count), keywords], env=env, stdout=out, stderr=err)
    sampler = Sampler([run.pid])
    sampler.start()
    limit = threading.Timer(600, run.kill)
    limit.start()
    # wait4 rather than wait: the batch process's own peak resident size comes with it.
    _, status, usage = os.wait4(run.pid, 0)
    limit.cancel()
    total = time.monotonic() - started
    sampler.stop.set()
    sampler.join()
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        with open(os.path.join(work, "batch.err")) as err:
            sys.stderr.write(err.read()[-4000:])
        sys.exit(f"the batch failed (exit {code})")

    with open(summary_path) as f:
        summary = json.load(f)
    run_ms = summary["times"]["total_ms"]
    pages = summary["pages"]
    print(f"keywords {summary['keywords']}, items per keyword {args.count}, source "
          f"{summary['source']}, rate limit off")
    print(f"pages {pages}, items {summary['items']}, failures {len(summary['failures'])}")
    print(f"run (first keyword to index written): {run_ms / 1000:.2f} s, "
          f"{run_ms / max(summary['keywords'], 1):.1f} ms per keyword, "
          f"{pages * 3600000 / max(run_ms, 1):,.0f} pages an hour")
    print(f"whole program from start to exit: {total:.2f} s")
    print(f"peak memory: the batch process {usage.ru_maxrss / 1024:.0f} MiB RSS; its process "
          f"tree ({sampler.peak_processes} processes) RSS sum {sampler.peak_rss / 1024:.0f} MiB, "
          f"PSS sum {sampler.peak_pss / 1024:.0f} MiB")
    print(f"child processes at most: {sampler.peak_processes - 1}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--keywords", default="手机,连衣裙,电脑,运动鞋,茶叶")
    parser.add_argument("--count", type=int, help="items per keyword (5; 20 with --batch)")
    parser.add_argument("--batch", type=int, metavar="N",
                        help="velmora-batch over N keywords through the open-platform source")
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    args = parser.parse_args()
    if args.count is None:
        args.count = 20 if args.batch else 5
    build = os.path.abspath(args.build)
    marketsim = os.path.join(build, "tools", "marketsim", "marketsim")

    work = tempfile.mkdtemp(prefix="velmora-figures-")
    sim = None
    try:
        executable = program_folder(work, build,
                                    "velmora-batch" if args.batch else "velmora_autodrive")
        sim = subprocess.Popen([marketsim, "--port", "0"], stdout=subprocess.PIPE, text=True)
        address = sim.stdout.readline().strip().rsplit(" ", 1)[-1]
        threading.Thread(target=sim.stdout.read, daemon=True).start()  # keep its log flowing
        env = environment(work, address)
        if args.batch:
            batch_figures(args, executable, env, work)
        else:
            autodrive_figures(args, executable, env, sim)
    finally:
        if sim:
            sim.send_signal(signal.SIGTERM)
            sim.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
