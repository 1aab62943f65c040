#!/usr/bin/env python3
"""Makes the packages with cpack and checks them as a user gets them.

  test_packages.py make CPACK BUILD_DIR OUT_DIR   run cpack of BUILD_DIR into OUT_DIR
  test_packages.py -v GROUP                        check the packages in KARBELON_PACKAGES
"""

import configparser
import gzip
import hashlib
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree
import zipfile

PACKAGES = os.environ.get("KARBELON_PACKAGES", "")
VERSION = os.environ.get("KARBELON_VERSION", "")

START_REPORT = ("실제데미지 : 337,275\n파력무참진 적용시 : 674,550\n보호 적용시 : 168,637\n"
                "쿨타임 : 10초\n데미지 감소율 : 75%\n")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
METAINFO = "usr/share/metainfo/example.orvane.karbelon.metainfo.xml"
DESKTOP = "usr/share/applications/karbelon.desktop"
PROGRAMS = ("usr/bin/karbelon", "usr/bin/karbelon-cli")
DATA_FILES = (DESKTOP, METAINFO, "usr/share/icons/hicolor/scalable/apps/karbelon.svg",
              *(f"usr/share/icons/hicolor/{s}x{s}/apps/karbelon.png" for s in ICON_SIZES),
              "usr/share/man/man1/karbelon.1.gz", "usr/share/man/man1/karbelon-cli.1.gz",
              "usr/share/doc/karbelon/changelog.gz", "usr/share/doc/karbelon/copyright")
# Qt 6 and the C++ runtime, as dpkg-shlibdeps names them on Debian 12.
RUNTIME_PACKAGES = ("libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6")
# Wayland support, Qt's own texts in the user's language, xdg-open for the web label.
RECOMMENDED_PACKAGES = ["qt6-wayland", "qt6-translations-l10n", "xdg-utils"]


def run(*args, **kwargs):
    kwargs.setdefault("timeout", 240)
    return subprocess.run(args, capture_output=True, text=True, check=False, **kwargs)


def architecture():
    return run("dpkg", "--print-architecture").stdout.strip()


def deb_path():
    return os.path.join(PACKAGES, "deb", f"karbelon_{VERSION}_{architecture()}.deb")


def zip_path():
    return os.path.join(PACKAGES, "zip", f"karbelon-{VERSION}-win64.zip")


def make(cpack, build_dir, out_dir):
    """Runs cpack of one build; the package is the only file it leaves in out_dir."""
    config = os.path.join(build_dir, "CPackConfig.cmake")
    if not os.path.isfile(config):
        print(f"no configured build in {build_dir}: 'make package' configures and builds it",
              file=sys.stderr)
        return 1
    shutil.rmtree(out_dir, ignore_errors=True)
    os.makedirs(out_dir)
    result = subprocess.run([cpack, "--config", config, "-B", out_dir], check=False)
    if result.returncode != 0:
        return result.returncode
    made = [name for name in os.listdir(out_dir) if not name.startswith("_CPack")]
    print("made:", *made)
    return 0 if len(made) == 1 else 1


def data_files(deb):
    """The regular files of a .deb's data archive, without the leading "./"."""
    tar_bytes = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], capture_output=True,
                               check=True).stdout
    with tarfile.open(fileobj=io.BytesIO(tar_bytes)) as archive:
        return {m.name.removeprefix("./") for m in archive.getmembers() if m.isfile()}


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def check_64_bit_gui_executable(test, exe):
    """Checks that EXE is an x86-64 PE32+ GUI program; returns its COFF symbol
    table's offset and count, and its section names."""
    test.assertEqual(exe[:2], b"MZ")
    pe = struct.unpack_from("<I", exe, 0x3C)[0]
    test.assertEqual(exe[pe:pe + 4], b"PE\0\0")
    machine, sections, _, symbol_table, symbols, optional_size = struct.unpack_from(
        "<HHIIIH", exe, pe + 4)
    test.assertEqual(machine, 0x8664, "x86-64")
    optional = pe + 24
    test.assertEqual(struct.unpack_from("<H", exe, optional)[0], 0x20B, "PE32+")
    test.assertEqual(struct.unpack_from("<H", exe, optional + 68)[0], 2, "GUI subsystem")
    table = optional + optional_size
    names = [exe[table + 40 * i:table + 40 * i + 8].rstrip(b"\0") for i in range(sections)]
    return symbol_table, symbols, names


class DebTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.deb = deb_path()
        if not os.path.isfile(cls.deb):
            raise FileNotFoundError(f"{cls.deb}: see packaging.make_deb")
        cls.scratch = tempfile.mkdtemp(prefix="karbelon-deb-")
        cls.root = os.path.join(cls.scratch, "root")
        subprocess.run(["dpkg", "-x", cls.deb, cls.root], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.root, name)


class DebContents(DebTestCase):
    """What lintian cannot know. Modes, owners, stripping and compression are
    lintian's errors and warnings (class Lintian)."""

    def test_control_fields(self):
        fields = {name: run("dpkg-deb", "-f", self.deb, name).stdout.strip()
                  for name in ("Package", "Version", "Architecture", "Section", "Maintainer",
                               "Depends", "Recommends", "Description")}
        self.assertEqual(fields["Package"], "karbelon")
        self.assertEqual(fields["Version"], VERSION)
        self.assertEqual(fields["Architecture"], architecture())
        self.assertEqual(fields["Section"], "utils")
        self.assertRegex(fields["Maintainer"], r"^[^<>]+ <[^@<>]+@[^@<>]+>$")
        self.assertGreater(len(fields["Description"].splitlines()), 2, "extended description")
        # dpkg-shlibdeps names each library's package with a lowest version.
        depends = {re.match(r"[a-z0-9.+-]+", d.strip()).group(0): d.strip()
                   for d in fields["Depends"].split(",")}
        for package in RUNTIME_PACKAGES:
            with self.subTest(package=package):
                self.assertIn(package, depends)
                self.assertRegex(depends[package], r"\(>= [^)]+\)")
        self.assertEqual([r.strip() for r in fields["Recommends"].split(",")],
                         RECOMMENDED_PACKAGES)

    def test_holds_exactly_the_programs_and_their_desktop_files(self):
        self.assertEqual(data_files(self.deb), set(PROGRAMS) | set(DATA_FILES))

    def test_md5sums_cover_every_file(self):
        control = tempfile.mkdtemp(dir=self.scratch)
        subprocess.run(["dpkg-deb", "-e", self.deb, control], check=True)
        with open(os.path.join(control, "md5sums"), encoding="utf-8") as md5sums:
            listed = {name: digest for digest, name in
                      (line.split(None, 1) for line in md5sums.read().splitlines())}
        self.assertEqual(set(listed), set(PROGRAMS) | set(DATA_FILES))
        for name, digest in listed.items():
            with open(self.path(name), "rb") as data:
                self.assertEqual(hashlib.md5(data.read()).hexdigest(), digest, name)

    def test_copyright_is_machine_readable(self):
        with open(self.path("usr/share/doc/karbelon/copyright"), encoding="utf-8") as file:
            paragraphs = [p for p in file.read().split("\n\n") if p.strip()]
        header = paragraphs[0].splitlines()
        self.assertEqual(header[0],
                         "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/")
        named, given = set(), set()
        for paragraph in paragraphs[1:]:
            first = paragraph.splitlines()[0]
            license_name = re.search(r"^License: (\S+)", paragraph, re.M).group(1)
            if first.startswith("Files:"):
                self.assertRegex(paragraph, r"(?m)^Copyright: \S")
                named.add(license_name)
            else:
                given.add(license_name)
        # Every license a Files paragraph names has its text in a paragraph of its own.
        self.assertEqual(named, given)


class DesktopIntegration(DebTestCase):
    def desktop_entry(self):
        entry = configparser.ConfigParser(interpolation=None, strict=True)
        entry.optionxform = str
        entry.read(self.path(DESKTOP), encoding="utf-8")
        return entry["Desktop Entry"]

    def test_desktop_file_validates(self):
        result = run("desktop-file-validate", self.path(DESKTOP))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotRegex(result.stdout + result.stderr, r"(error|warning):")

    def test_metainfo_validates(self):
        result = run("appstreamcli", "validate", "--no-net", "--no-color",
                     self.path(METAINFO))
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_desktop_entry_names_what_the_package_holds(self):
        entry = self.desktop_entry()
        for key in ("Name", "Name[ko]", "Comment", "Comment[ko]"):
            self.assertTrue(entry.get(key, "").strip(), key)
        self.assertRegex(entry["Name[ko]"] + entry["Comment[ko]"], r"[\uac00-\ud7a3]")
        self.assertIn(self.path("usr/bin/" + entry["Exec"].split()[0]),
                      [self.path(p) for p in PROGRAMS])
        icon = entry["Icon"]
        self.assertTrue(os.path.isfile(self.path(
            f"usr/share/icons/hicolor/scalable/apps/{icon}.svg")))
        for size in ICON_SIZES:
            with self.subTest(size=size):
                name = self.path(f"usr/share/icons/hicolor/{size}x{size}/apps/{icon}.png")
                with open(name, "rb") as png:
                    self.assertEqual(png_size(png.read(24)), (size, size))

    def test_metainfo_matches_the_package(self):
        component = ElementTree.parse(self.path(METAINFO)).getroot()
        launchable = component.find("launchable[@type='desktop-id']").text
        self.assertEqual("usr/share/applications/" + launchable, DESKTOP)
        self.assertEqual(component.find("id").text + ".metainfo.xml",
                         os.path.basename(METAINFO))
        self.assertEqual([r.get("version") for r in component.iter("release")][:1], [VERSION])
        binaries = sorted(b.text for b in component.iter("binary"))
        self.assertEqual(binaries, sorted(os.path.basename(p) for p in PROGRAMS))
        images = [i.text for i in component.iter("image")]
        self.assertEqual(images, ["http://orvane.example/screenshot-linux.png"])


class Installed(DebTestCase):
    """The package unpacked into a scratch root, its programs run from there."""

    def cli(self, *args):
        env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
        env["LC_ALL"] = "C"
        return run(self.path("usr/bin/karbelon-cli"), *args, env=env)

    def test_cli_prints_the_start_values_report(self):
        result = self.cli()
        self.assertEqual((result.returncode, result.stdout, result.stderr),
                         (0, START_REPORT, ""))

    def test_cli_version_is_the_package_version(self):
        result = self.cli("--version")
        self.assertEqual(result.stdout.strip(), f"karbelon-cli {VERSION}")

    def test_manual_page_covers_every_option(self):
        options = set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", self.cli("--help").stdout))
        self.assertIn("--batch", options)
        with gzip.open(self.path("usr/share/man/man1/karbelon-cli.1.gz"), "rt",
                       encoding="utf-8") as page:
            text = page.read().replace("\\-", "-")
        for option in sorted(options):
            with self.subTest(option=option):
                self.assertRegex(text, rf"(?m)^\.BI? {re.escape(option)}\b")


class Lintian(unittest.TestCase):
    def test_no_errors_or_warnings(self):
        # Infos are printed for the log; none is expected either.
        result = run("lintian", "--fail-on", "error,warning", "--info", deb_path(), timeout=280)
        print(result.stdout, end="")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)


class WindowsZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.zip = zip_path()
        cls.top = f"karbelon-{VERSION}-win64/"
        if not os.path.isfile(cls.zip):
            raise FileNotFoundError(f"{cls.zip}: see packaging.make_zip")

    def read(self, name):
        with zipfile.ZipFile(self.zip) as archive:
            return archive.read(self.top + name)

    def test_holds_the_program_its_read_me_and_notices_in_one_folder(self):
        with zipfile.ZipFile(self.zip) as archive:
            self.assertIsNone(archive.testzip())
            files = {i.filename for i in archive.infolist() if not i.is_dir()}
            names = {i.filename for i in archive.infolist()}
        self.assertEqual(files, {self.top + name for name in
                                 ("karbelon.exe", "README-ko.txt", "LICENSES-mingw-w64.txt")})
        self.assertTrue(all(n.startswith(self.top) for n in names), names)
        self.assertIn(b"winpthreads", self.read("LICENSES-mingw-w64.txt"))

    def test_program_is_a_stripped_64_bit_windows_gui_executable(self):
        exe = self.read("karbelon.exe")
        symbol_table, symbols, names = check_64_bit_gui_executable(self, exe)
        self.assertEqual((symbol_table, symbols), (0, 0), "no COFF symbol table")
        self.assertIn(b".text", names)
        # Long section names (".debug_info") are stored as "/<offset>" into the symbol table.
        self.assertFalse([n for n in names if n.startswith((b".debug", b"/"))], names)
        self.assertIn(VERSION.encode("utf-16-le"), exe, "version record")

    def test_read_me_is_korean_utf8_text_for_windows(self):
        raw = self.read("README-ko.txt")
        text = raw.decode("utf-8-sig")
        self.assertTrue(raw.startswith(b"\xef\xbb\xbf"), "a BOM, for Notepad before Windows 10")
        self.assertNotRegex(text.replace("\r\n", ""), r"[\r\n]", "CRLF line ends only")
        self.assertGreater(len(re.findall(r"[\uac00-\ud7a3]", text)), 100)
        for mentioned in ("karbelon.exe", "LICENSES-mingw-w64.txt", VERSION):
            self.assertIn(mentioned, text)


class WindowsSetup(unittest.TestCase):
    """The installer as the Windows build made it; tests/win32 runs it under Wine."""

    @classmethod
    def setUpClass(cls):
        path = os.environ.get("KARBELON_WINDOWS_SETUP", "")
        if not os.path.isfile(path):
            raise FileNotFoundError(f"{path}: made by the windows build ('make package')")
        with open(path, "rb") as setup:
            cls.exe = setup.read()

    def test_is_a_64_bit_windows_gui_program_made_by_nsis(self):
        check_64_bit_gui_executable(self, self.exe)
        self.assertIn(b"NullsoftInst", self.exe)

    def test_version_record(self):
        # VS_FIXEDFILEINFO starts with its signature; file and product version follow.
        fixed = self.exe.find(struct.pack("<I", 0xFEEF04BD))
        self.assertGreater(fixed, 0, "fixed file information")
        numbers = [int(n) for n in VERSION.split(".")]
        packed = [numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3]]
        self.assertEqual(list(struct.unpack_from("<4I", self.exe, fixed + 8)), packed * 2)
        for text in ("Made by Orvane", "카르벨론 데미지 계산기 설치 프로그램", VERSION,
                     "041203b5"):
            with self.subTest(text=text):
                self.assertIn(text.encode("utf-16-le"), self.exe)


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "make":
        sys.exit(make(*sys.argv[2:]))
    unittest.main()
