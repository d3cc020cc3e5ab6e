"""The soak's memory verdict: which samples are judged, the growth allowed, too few samples."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
from soak_verdict import Rule, Sample, judge  # noqa: E402

RULE = Rule(warmup_seconds=20)


def window(seconds, rss, recording=False, settled=60.0):
    return Sample(seconds, rss, fullscreen=False, recording=recording, settled_seconds=settled)


def full(seconds, rss):
    return Sample(seconds, rss, fullscreen=True, recording=False, settled_seconds=60.0)


FLAT = [window(20 + 2 * i, 100_000 + 1000 * i) for i in range(5)]  # max/min 1.04


class SoakVerdict(unittest.TestCase):
    def test_failures_by_case(self):
        cases = [
            ("flat samples pass", FLAT, []),
            ("growth of exactly 10 % passes", FLAT + [window(30, 110_000)], []),
            ("growth past 10 % fails, the largest sample first", [window(20, 110_001)] + FLAT,
             ["resident memory grew (window): max/min 1.100 > 1.10"]),
            ("fullscreen is judged apart", FLAT + [full(30, 150_000), full(32, 170_000)],
             ["resident memory grew (fullscreen): max/min 1.133 > 1.10"]),
            ("four judged samples are too few", FLAT[:4],
             ["too few memory samples to judge: 4, at least 5 needed"]),
            ("warm-up, recording and settling samples are not judged",
             FLAT[:4] + [window(19.9, 900_000), window(30, 900_000, recording=True),
                         window(32, 900_000, settled=1.9)],
             ["too few memory samples to judge: 4, at least 5 needed"]),
            ("a settled sample is judged", FLAT + [window(32, 900_000, settled=2.0)],
             ["resident memory grew (window): max/min 9.000 > 1.10"]),
        ]
        for name, samples, failures in cases:
            with self.subTest(name):
                self.assertEqual(list(judge(samples, RULE).failures), failures)

    def test_report_counts_what_was_not_judged(self):
        samples = FLAT + [window(1, 50_000), window(2, 50_000), window(30, 900_000, recording=True)]
        self.assertEqual(judge(samples, RULE).report, (
            "memory: 8 samples, warm-up 20 s",
            "  not judged, recording: 1",
            "  not judged, warm-up: 2",
            "  window, 5 judged: 97.7..101.6 MiB, max/min 1.040",
        ))


if __name__ == "__main__":
    unittest.main()
