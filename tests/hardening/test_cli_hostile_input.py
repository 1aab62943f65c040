#!/usr/bin/env python3
"""Vast and hostile input through the real karbelon-cli (path in KARBELON_CLI):
options as long as the system lets one argument be, batch lines of 10 MB,
invalid UTF-8 and NUL bytes. Every request gets its right answer and the
program never crashes."""

import json
import os
import subprocess
import unittest

CLI = os.environ.get("KARBELON_CLI", "karbelon-cli")

# Linux refuses a single argument of 128 KiB or more (MAX_ARG_STRLEN).
OPTION_BYTES = 120 * 1024
LINE_BYTES = 10 * 1024 * 1024

FILLERS = {
    "digits": "1234567890",
    "spaces": " ",
    "letters": "abcdefghij마력",
    "mixed": "12 ab,3.4-+마\t",
}

START = {"spell": "카르벨론", "hp": "650000", "mp": "900000", "defence": "-100"}
START_REPORT = ("실제데미지 : 337,275\n파력무참진 적용시 : 674,550\n보호 적용시 : 168,637\n"
                "쿨타임 : 10초\n데미지 감소율 : 75%\n")
NO_SPELL_REPORT = ("실제데미지 : \n파력무참진 적용시 : \n보호 적용시 : \n쿨타임 : 0초\n"
                   "데미지 감소율 : 75%\n")
HEALTH_NOT_NUMBER = "입력된 체력이 숫자가 아닙니다."
MANA_NOT_NUMBER = "입력된 마력이 숫자가 아닙니다."
MANA_TOO_LARGE = "입력된 마력이 너무 큽니다."
DEFENCE_NOT_NUMBER = "입력된 방어가 숫자가 아닙니다."
DEFENCE_OUT_OF_RANGE = "입력된 방어범위가 올바르지 않습니다. 범위는 -200~+200 입니다."

# (field, filler) -> the report, or the message.
EXPECTED = {
    **{("spell", kind): NO_SPELL_REPORT for kind in FILLERS},
    ("hp", "digits"): START_REPORT,
    ("hp", "spaces"): HEALTH_NOT_NUMBER,
    ("hp", "letters"): HEALTH_NOT_NUMBER,
    ("hp", "mixed"): HEALTH_NOT_NUMBER,
    ("mp", "digits"): MANA_TOO_LARGE,
    ("mp", "spaces"): MANA_NOT_NUMBER,
    ("mp", "letters"): MANA_NOT_NUMBER,
    ("mp", "mixed"): MANA_NOT_NUMBER,
    ("defence", "digits"): DEFENCE_OUT_OF_RANGE,
    ("defence", "spaces"): DEFENCE_NOT_NUMBER,
    ("defence", "letters"): DEFENCE_NOT_NUMBER,
    ("defence", "mixed"): DEFENCE_NOT_NUMBER,
}


def filled(kind, size):
    pattern = FILLERS[kind]
    return (pattern * (size // len(pattern.encode()) + 1)).encode()[:size].decode(errors="ignore")


def environment():
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
    env["LC_ALL"] = "C"
    return env


def run(args, stdin=b""):
    # The timeout only guards against a hang; speed is measured in bench/.
    return subprocess.run([CLI, *args], input=stdin, capture_output=True, env=environment(),
                          timeout=300, check=False)


def request(**fields):
    return json.dumps({**START, **fields}, ensure_ascii=False).encode()


class Options(unittest.TestCase):
    def test_the_longest_possible_texts_get_their_answers(self):
        for (field, kind), expected in EXPECTED.items():
            with self.subTest(field=field, kind=kind):
                result = run([f"--{field}", filled(kind, OPTION_BYTES)])
                if expected.endswith("\n"):
                    self.assertEqual(result.returncode, 0, result.stderr[:500])
                    self.assertEqual(result.stdout.decode(), expected)
                else:
                    self.assertEqual(result.returncode, 1, result.stderr[:500])
                    self.assertEqual(result.stderr.decode(), expected + "\n")
                    self.assertEqual(result.stdout, b"")

    def test_invalid_utf8_is_a_usage_error_naming_the_option(self):
        # A NUL byte cannot be passed at all: the system cuts arguments there.
        for field in START:
            for text in (b"\xff650000", b"650000\xc0", b"\xed\xa0\x80", b"\xf4\x90\x80\x80"):
                with self.subTest(field=field, text=text):
                    result = subprocess.run([CLI.encode(), f"--{field}".encode(), text],
                                            capture_output=True, env=environment(), timeout=60,
                                            check=False)
                    self.assertEqual(result.returncode, 2)
                    self.assertEqual(result.stdout, b"")
                    error = result.stderr.decode()  # itself valid UTF-8
                    self.assertIn(f"--{field}", error)
                    self.assertIn("UTF-8", error)


class Batch(unittest.TestCase):
    def test_vast_and_broken_lines_are_answered_and_the_rest_goes_on(self):
        huge = LINE_BYTES
        lines = [
            (request(), "figures"),
            (request(mp=filled("digits", huge)), MANA_TOO_LARGE),
            (b'{"spell":"\xff","hp":"1","mp":"1","defence":"1"}', "invalid UTF-8"),
            (request(hp=filled("letters", huge)), HEALTH_NOT_NUMBER),
            (b'{"spell":"a\x00","hp":"1","mp":"1","defence":"1"}', "U+0000"),
            (request(mp="900000\u0000"), MANA_NOT_NUMBER),
            (request(defence=filled("spaces", huge)), DEFENCE_NOT_NUMBER),
            (b"\xff" * huge, "invalid UTF-8"),
            (b"\x00" * huge, "invalid JSON"),
            (request(spell=filled("mixed", huge)), "figures"),
            (b"{" * huge, "invalid JSON"),
            (request(defence="-0," + "0" * huge), DEFENCE_NOT_NUMBER),
            (request(), "figures"),  # the last line has no line break
        ]
        result = run(["--batch"], stdin=b"\n".join(line for line, _ in lines))
        self.assertEqual(result.returncode, 1, result.stderr[:500])
        answers = result.stdout.split(b"\n")
        self.assertEqual(answers[-1], b"")
        self.assertEqual(len(answers) - 1, len(lines))
        for number, (answer, (_, expected)) in enumerate(zip(answers, lines), start=1):
            with self.subTest(line=number):
                self.assertLess(len(answer), 1000, "an answer must not echo its input")
                parsed = json.loads(answer.decode())
                if expected == "figures":
                    self.assertEqual(parsed["outcome"], "figures")
                elif parsed["outcome"] == "message":
                    self.assertEqual(parsed["message"], expected)
                else:
                    self.assertEqual(parsed["outcome"], "invalid")
                    self.assertIn(expected, parsed["error"])


if __name__ == "__main__":
    unittest.main()
