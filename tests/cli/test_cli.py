#!/usr/bin/env python3
"""Runs the real karbelon-cli executable (path in KARBELON_CLI) and checks its
streams and exit statuses in every mode."""

import json
import os
import pty
import random
import re
import select
import shutil
import subprocess
import tempfile
import unicodedata
import unittest

CLI = os.environ.get("KARBELON_CLI", "karbelon-cli")

START_REPORT = ("실제데미지 : 337,275\n파력무참진 적용시 : 674,550\n보호 적용시 : 168,637\n"
                "쿨타임 : 10초\n데미지 감소율 : 75%\n")
SPELLS = [("카르벨론", 600, 1.5, 10), ("지옥염화", 2000, 1.65, 9.375), ("지옥진화", 6500, 1.8, 8.75),
          ("지옥멸화", 21600, 1.95, 8.125), ("지옥겁화", 32300, 2.1, 7.5), ("삼매진화", 600, 1.5, 61),
          ("삼매멸화", 21600, 1.95, 46), ("삼매겁화", 32300, 2.1, 36)]
RESET_NOTICE = "방어가 비어 있습니다"
TOO_LARGE = "입력된 마력이 너무 큽니다."


def environment(**locale):
    """The caller's environment without its locale, pinned to C unless told otherwise."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
    env.update(locale or {"LC_ALL": "C"})
    return env


def run(*args, stdin=b"", env=None):
    return subprocess.run([CLI, *args], input=stdin, capture_output=True,
                          env=env or environment(), timeout=120, check=False)


def batch_line(spell="카르벨론", hp="650000", mp="900000", defence="-100"):
    return json.dumps({"spell": spell, "hp": hp, "mp": mp, "defence": defence},
                      ensure_ascii=False).encode()


def columns(text):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in text)


def cell_ends(line):
    """The display column after each blank-separated cell."""
    ends, position = [], 0
    for cell in line.split():
        position = line.index(cell, position) + len(cell)
        ends.append(columns(line[:position]))
    return ends


class SingleRequest(unittest.TestCase):
    def test_outcomes_go_to_their_stream_with_their_status(self):
        cases = [
            ([], 0, START_REPORT, ""),
            (["--spell", "지옥겁화"], 0,
             "실제데미지 : 455,542\n파력무참진 적용시 : 911,085\n보호 적용시 : 227,771\n"
             "쿨타임 : 7.5초\n데미지 감소율 : 75%\n", ""),
            (["--hp", ""], 1, "", "체력을 입력하여 주십시요.\n"),
            (["--hp="], 1, "", "체력을 입력하여 주십시요.\n"),
            (["--defence=-200.5"], 1, "", "입력된 방어범위가 올바르지 않습니다. 범위는 -200~+200 입니다.\n"),
            (["--mp", " 900000 x"], 1, "", "입력된 마력이 숫자가 아닙니다.\n"),
            # No trimming: a blank makes the spell unknown, so no damage and no cooldown.
            (["--spell", "카르벨론 ", "--defence", "-100"], 0,
             "실제데미지 : \n파력무참진 적용시 : \n보호 적용시 : \n쿨타임 : 0초\n데미지 감소율 : 75%\n", ""),
        ]
        for args, status, stdout, stderr in cases:
            with self.subTest(args=args):
                result = run(*args)
                self.assertEqual(result.returncode, status)
                self.assertEqual(result.stdout.decode(), stdout)
                self.assertEqual(result.stderr.decode(), stderr)

    def test_an_empty_defence_is_a_reset_with_a_notice(self):
        for args in (["--defence", ""], ["--defence="], ["--hp", "abc", "--defence", ""]):
            result = run(*args)
            self.assertEqual(result.returncode, 3)
            self.assertEqual(result.stdout, b"")
            self.assertIn(RESET_NOTICE, result.stderr.decode())
            self.assertEqual(result.stderr.decode().count("\n"), 1)

    def test_json_replaces_the_text_and_keeps_the_status(self):
        cases = [([], 0, "figures"), (["--hp", ""], 1, "message"), (["--defence", ""], 3, "defence-reset")]
        for args, status, outcome in cases:
            result = run("--json", *args)
            self.assertEqual(result.returncode, status)
            self.assertEqual(result.stderr, b"")
            self.assertTrue(result.stdout.endswith(b"\n"))
            self.assertEqual(json.loads(result.stdout)["outcome"], outcome)
        figures = json.loads(run("--json").stdout)
        self.assertEqual(figures["report"], START_REPORT.rstrip("\n").replace("\n", "\r\n"))
        self.assertEqual((figures["base"], figures["rate"], figures["actual"], figures["cooldown"]),
                         (1349100, 75, 337275, 10))

    def test_usage_errors_exit_2_with_a_short_usage(self):
        for args in (["--bogus"], ["--hp"], ["stray"], ["--hp", "1", "--hp", "2"],
                     ["--all-spells", "--spell", "x"], ["--batch", "--mp", "1"], ["\xff".encode("latin-1")]):
            with self.subTest(args=args):
                result = run(*args)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                err = result.stderr.decode("utf-8")  # valid UTF-8 even when echoing bad bytes
                self.assertIn("Usage: karbelon-cli", err)
                self.assertLess(err.count("\n"), 8)

    def test_an_option_text_that_is_not_utf8_is_a_clear_error(self):
        for option in ("--spell", "--hp", "--mp", "--defence"):
            result = run(option, b"9\xff9")
            self.assertEqual(result.returncode, 2)
            self.assertIn(f"{option} is not valid UTF-8".encode(), result.stderr)

    def test_help_and_version(self):
        version = run("--version")
        self.assertEqual((version.returncode, version.stdout), (0, b"karbelon-cli 1.0.0.0\n"))
        help_text = run("--help")
        self.assertEqual(help_text.returncode, 0)
        for word in ("--spell", "--hp", "--mp", "--defence", "--json", "--all-spells", "--batch"):
            self.assertIn(word, help_text.stdout.decode())

    def test_the_longest_option_text_the_system_allows(self):
        digits = "9" * (128 * 1024 - 1)  # Linux caps one argument at 128 KiB
        result = run("--hp", digits, "--mp", "0." + digits[2:], "--json")
        self.assertEqual(result.returncode, 0)
        self.assertEqual(json.loads(result.stdout)["outcome"], "figures")


class AllSpells(unittest.TestCase):
    def test_rows_line_up_by_display_width(self):
        result = run("--all-spells")
        self.assertEqual(result.returncode, 0)
        lines = result.stdout.decode().splitlines()
        self.assertEqual(len(lines), 1 + len(SPELLS) + 1)
        self.assertEqual(lines[-1], "데미지 감소율 : 75%")
        table = lines[:-1]
        self.assertEqual([line.split()[0] for line in table[1:]], [s[0] for s in SPELLS])
        self.assertIn("337,275", table[1])
        self.assertIn("9.375초", table[2])
        # Headings (Hangul) and figures (ASCII) end in the same terminal column.
        headings = ["마법", "실제데미지", "파력무참진 적용시", "보호 적용시", "쿨타임"]
        heading_ends = [columns(table[0][:table[0].index(h) + len(h)]) for h in headings]
        for row in table[1:]:
            self.assertEqual(cell_ends(row)[1:], heading_ends[1:], table)
            self.assertEqual(columns(row), columns(table[0]))

    def test_the_table_is_the_golden_one(self):
        golden = os.path.join(os.path.dirname(__file__), "..", "golden", "all-spells.expected.txt")
        with open(golden, encoding="utf-8") as expected:
            self.assertEqual(run("--all-spells", "--mp", "1,200,000", "--defence", "-50").stdout.decode(),
                             expected.read())

    def test_json_is_an_array_in_table_order(self):
        result = run("--all-spells", "--json")
        self.assertEqual(result.returncode, 0)
        rows = json.loads(result.stdout)
        self.assertEqual([row["spell"] for row in rows], [s[0] for s in SPELLS])
        self.assertEqual([row["cooldown"] for row in rows], [s[3] for s in SPELLS])
        self.assertTrue(all(row["outcome"] == "figures" for row in rows))
        # Each row carries its cells of the text table, under the same headings.
        table = run("--all-spells").stdout.decode().splitlines()
        self.assertEqual([column["heading"] for column in rows[0]["columns"]],
                         re.split(r" {2,}", table[0].strip()))
        for row, line in zip(rows, table[1:]):
            self.assertEqual([column["text"] for column in row["columns"]], line.split())
            self.assertEqual(row["rateLine"], table[-1])

    def test_a_spell_whose_damage_overflows_has_its_message_in_its_row(self):
        huge = "1" + "0" * 308  # beyond the double range only for multipliers above 1.65
        text = run("--all-spells", "--mp", huge)
        self.assertEqual((text.returncode, text.stderr), (1, b""))
        golden = os.path.join(os.path.dirname(__file__), "..", "golden", "all-spells-overflow.expected.txt")
        with open(golden, encoding="utf-8") as expected:
            self.assertEqual(text.stdout.decode(), expected.read())

        result = run("--all-spells", "--json", "--mp", huge)
        self.assertEqual(result.returncode, 1)
        rows = json.loads(result.stdout)
        self.assertEqual([row["spell"] for row in rows], [s[0] for s in SPELLS])
        for (name, _, multiplier, _), row in zip(SPELLS, rows):
            with self.subTest(spell=name):
                if multiplier > 1.65:
                    self.assertEqual(row, {"spell": name, "outcome": "message", "message": TOO_LARGE})
                    continue
                single = json.loads(run("--json", "--spell", name, "--mp", huge).stdout)
                self.assertEqual({key: row[key] for key in single}, single)
                self.assertEqual(row["rateLine"], "데미지 감소율 : 75%")

        every = run("--all-spells", "--mp", huge + "00")  # no row has figures: no rate line
        self.assertEqual(every.returncode, 1)
        lines = every.stdout.decode().splitlines()
        self.assertEqual(lines[1:], [f"{s[0]}  {TOO_LARGE}" for s in SPELLS])

    def test_a_message_or_reset_answers_as_for_one_request(self):
        message = run("--all-spells", "--mp", "")
        self.assertEqual((message.returncode, message.stdout), (1, b""))
        self.assertEqual(message.stderr.decode(), "마력을 입력하여 주십시요.\n")
        reset = run("--all-spells", "--json", "--defence", "")
        self.assertEqual(reset.returncode, 3)
        self.assertEqual(json.loads(reset.stdout), {"outcome": "defence-reset"})


class Batch(unittest.TestCase):
    def test_invalid_lines_are_answered_in_place_and_the_rest_goes_on(self):
        lines = [batch_line(), b"{broken", batch_line(hp=""), b"", b'{"spell":"\xff"}',
                 batch_line(defence=""), batch_line(spell="삼매진화")]
        result = run("--batch", stdin=b"\n".join(lines) + b"\n")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, b"")
        answers = [json.loads(line) for line in result.stdout.decode().splitlines()]
        self.assertEqual([a["outcome"] for a in answers],
                         ["figures", "invalid", "message", "invalid", "invalid", "defence-reset", "figures"])
        self.assertEqual(answers[6]["cooldown"], 61)

    def test_printed_doubles_read_back_exactly(self):
        rng = random.Random(7)
        requests, expected = [], []
        for _ in range(3000):
            name, offset, multiplier, cooldown = rng.choice(SPELLS)
            mp = rng.choice([str(rng.randrange(0, 10**9)), f"{rng.uniform(0, 1e7):.6f}"])
            defence = rng.choice([str(rng.randrange(-200, 201)), f"{rng.uniform(-200, 200):.5f}"])
            base = (float(mp) - offset) * multiplier
            m = (float(defence) + 200) / 20
            rate = 100 - m * m
            expected.append((base, rate, base - base * (rate / 100), cooldown))
            requests.append(batch_line(name, "1", mp, defence))
        result = run("--batch", stdin=b"\n".join(requests))
        self.assertEqual(result.returncode, 0)
        for line, want in zip(result.stdout.decode().splitlines(), expected, strict=True):
            answer = json.loads(line)
            self.assertEqual((answer["base"], answer["rate"], answer["actual"], answer["cooldown"]), want)

    def test_ten_megabyte_fields_are_answered(self):
        digits = "9" * (10 * 1024 * 1024)
        lines = [batch_line(spell=digits), batch_line(hp=digits), batch_line(mp="0." + digits),
                 batch_line(mp=digits)]
        result = run("--batch", stdin=b"\n".join(lines))
        self.assertEqual(result.returncode, 0)
        answers = [json.loads(line) for line in result.stdout.splitlines()]
        self.assertEqual([a["outcome"] for a in answers], ["figures", "figures", "figures", "message"])
        self.assertEqual(answers[3]["message"], TOO_LARGE)

    def test_answers_reach_a_terminal_before_input_ends(self):
        leader, follower = pty.openpty()
        process = subprocess.Popen([CLI, "--batch"], stdin=subprocess.PIPE, stdout=follower,
                                   env=environment())
        os.close(follower)
        try:
            process.stdin.write(batch_line() + b"\n")
            process.stdin.flush()
            ready, _, _ = select.select([leader], [], [], 60)
            self.assertTrue(ready, "no answer while standard input is still open")
            self.assertIn(b'"outcome":"figures"', os.read(leader, 4096))
        finally:
            process.stdin.close()
            process.wait(timeout=60)
            os.close(leader)
        self.assertEqual(process.returncode, 0)

    def test_output_failures_are_not_reported_as_success(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        with open("/dev/full", "wb") as full:
            result = subprocess.run([CLI, "--batch"], input=batch_line(), stdout=full,
                                    stderr=subprocess.PIPE, env=environment(), check=False)
        self.assertEqual(result.returncode, 4)
        self.assertIn(b"cannot write", result.stderr)


class Locale(unittest.TestCase):
    """Separators from LC_ALL / LC_NUMERIC / LANG, with locales built for the test."""

    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="karbelon-locales-")
        localedef = shutil.which("localedef")
        for name in ("de_DE", "fr_FR"):
            if localedef is None or subprocess.run(
                    [localedef, "-i", name, "-f", "UTF-8", os.path.join(cls.directory, name + ".UTF-8")],
                    capture_output=True, check=False).returncode != 0:
                shutil.rmtree(cls.directory)
                raise unittest.SkipTest("cannot build test locales (Debian package 'locales')")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def report(self, *args, **locale):
        result = run(*args, env=environment(LOCPATH=self.directory, **locale))
        self.assertEqual(result.stderr, b"")
        return result.stdout.decode().splitlines()

    def test_separators_follow_the_locale_variables_in_order(self):
        cases = [
            ({"LC_ALL": "de_DE.UTF-8"}, "337.275"),
            ({"LC_ALL": "de_DE.UTF-8", "LC_NUMERIC": "fr_FR.UTF-8"}, "337.275"),
            ({"LC_NUMERIC": "fr_FR.UTF-8", "LANG": "de_DE.UTF-8"}, "337\u202f275"),
            ({"LANG": "de_DE.UTF-8"}, "337.275"),
            ({"LC_ALL": "C.UTF-8"}, "337,275"),
            ({"LC_ALL": "xx_XX.UTF-8"}, "337,275"),  # not installed: silent fallback
        ]
        for locale, figure in cases:
            with self.subTest(locale=locale):
                self.assertEqual(self.report(**locale)[0], "실제데미지 : " + figure)

    def test_input_and_report_use_the_same_conventions(self):
        lines = self.report("--spell", "지옥겁화", "--mp", "900.000", "--defence", "-99,5",
                            LC_ALL="de_DE.UTF-8")
        self.assertEqual(lines[3], "쿨타임 : 7,5초")
        self.assertEqual(lines[4], "데미지 감소율 : 74,749375%")
        answer = json.loads(run("--batch", stdin=batch_line(defence="-99,5"),
                                env=environment(LOCPATH=self.directory, LC_ALL="de_DE.UTF-8")).stdout)
        self.assertEqual(answer["rate"], 74.749375)  # JSON numbers stay in JSON's own form


if __name__ == "__main__":
    unittest.main()
