"""Whether the resident memory of a soak run stayed flat: a pure function of its samples,
so that the rule is tested without a window (tests/scripts/soak_verdict_test.py).

A sample is judged when it is past the warm-up, no film is being made (a film's queue holds
up to 128 MiB of frames) and a few seconds have passed since the window went into or out of
fullscreen or a film ended (buffers are then being swapped or drained). A fullscreen window
has bigger buffers than the normal one, so samples are compared only with those taken in
the same window state: in each, the largest may exceed the smallest by the allowed growth.
"""

from dataclasses import dataclass


@dataclass(frozen=True)
class Sample:
    seconds: float  # since the program started
    rss_kib: int  # VmRSS of /proc/PID/status
    fullscreen: bool
    recording: bool
    settled_seconds: float  # since the last fullscreen change or the end of a film


@dataclass(frozen=True)
class Rule:
    warmup_seconds: float
    settle_seconds: float = 2.0
    max_growth: float = 1.10
    min_judged: int = 5


@dataclass(frozen=True)
class Verdict:
    failures: tuple  # one line each; none when the run passed
    report: tuple  # lines that show what was judged


def why_not_judged(sample, rule):
    if sample.seconds < rule.warmup_seconds:
        return "warm-up"
    if sample.recording:
        return "recording"
    if sample.settled_seconds < rule.settle_seconds:
        return "settling"
    return None


def judge(samples, rule):
    skipped, groups = {}, {}
    for sample in samples:
        reason = why_not_judged(sample, rule)
        if reason:
            skipped[reason] = skipped.get(reason, 0) + 1
        else:
            groups.setdefault("fullscreen" if sample.fullscreen else "window", []).append(sample.rss_kib)
    report = [f"memory: {len(samples)} samples, warm-up {rule.warmup_seconds:g} s"]
    report += [f"  not judged, {reason}: {count}" for reason, count in sorted(skipped.items())]
    failures = []
    judged = sum(len(rss) for rss in groups.values())
    if judged < rule.min_judged:
        failures.append(f"too few memory samples to judge: {judged}, at least {rule.min_judged} needed")
    for state, rss in sorted(groups.items()):
        growth = max(rss) / min(rss)
        report.append(f"  {state}, {len(rss)} judged: {min(rss) / 1024:.1f}..{max(rss) / 1024:.1f} MiB, "
                      f"max/min {growth:.3f}")
        if growth > rule.max_growth:
            failures.append(f"resident memory grew ({state}): max/min {growth:.3f} > {rule.max_growth:.2f}")
    return Verdict(tuple(failures), tuple(report))
