# Thin wrapper over the CMake presets; the targets are described in docs/development.md.
SHELL := /bin/bash
DEPS := scripts/install-deps.sh
JOBS ?= $(shell nproc)

RUN_GROUPS := build cli qt
WEB_GROUPS := build web
LIBCXX_GROUPS := build libcxx
TEST_GROUPS := build test cli qt gui-test fuzz lint package windows web libcxx web-ui-test repro
FUZZ_GROUPS := build cli fuzz
LINT_GROUPS := build test cli qt fuzz lint
LINUX_GROUPS := build test cli qt
# package builds the linux preset, which configures the tests and benchmarks too.
PACKAGE_GROUPS := $(LINUX_GROUPS) package
# The linux suites: the Qt tests' Hangul fonts (gui-test), and the packaging
# tests' cpack, lintian and validators (they also read build/windows).
LINUX_TEST_GROUPS := $(PACKAGE_GROUPS) gui-test
WINDOWS_GROUPS := build windows
WEB_UI_TEST_GROUPS := web-ui-test
# Port of `make serve`; 0 picks a free one (the server names it).
SERVE_PORT ?= 0
# Seconds each fuzz target runs: FUZZ_SECONDS for `make fuzz`, a short
# bounded run in `make test`.
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 15
# Every time stamp the build writes (archives, Qt's resources) is the last
# commit's, so that the same commit gives the same packages.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif
# What `make package` builds of the linux and windows presets; empty builds
# the whole preset, tests too. The reproducibility check builds only what the
# packages hold.
LINUX_PACKAGE_TARGETS ?=
WINDOWS_PACKAGE_TARGETS ?=

.PHONY: run test build deps-run deps-test linux asan clean \
        fuzz fuzz-build fuzz-short deps-fuzz lint deps-lint format-check format \
        package deps-package windows web deps-web libcxx deps-libcxx web-test \
        serve web-ui-test web-engines-test web-bench deps-web-ui-test deps-web-bench npm-test \
        fresh-root-check fresh-root-test deps-fresh-root deps-linux \
        deps-linux-test deps-windows repro-check deps-repro-check

# Its own lean build (build/app: the window and karbelon-cli, no tests), so
# that it needs no test packages and leaves build/linux to make test. Without
# a usable display the program itself says so in one line and exits with 1.
run: deps-run
	cmake --preset app >/dev/null
	cmake --build --preset app -j $(JOBS)
	build/app/bin/karbelon

# package first: the packaging tests in the linux suite check its Windows zip.
# lint (clang-tidy, then the format check) after fuzz-short, whose build it reads.
test: deps-test package linux asan windows fuzz-short lint libcxx web-test npm-test web-ui-test repro-check

deps-run:
	@$(DEPS) $(RUN_GROUPS)

deps-test:
	@$(DEPS) $(TEST_GROUPS)

linux: deps-linux-test
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)
	ctest --preset linux -j $(JOBS)

asan:
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The Windows executable (mingw-w64), build/windows/bin/karbelon.exe, and its
# tests under Wine; they share one Wine desktop, so CTest runs them in turn.
windows: deps-windows
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows

deps-windows:
	@$(DEPS) $(WINDOWS_GROUPS)

# libFuzzer targets (clang); the working corpus grows in build/fuzz/corpus-run.
fuzz: deps-fuzz fuzz-build
	fuzz/run_fuzzers.sh build/fuzz $(FUZZ_SECONDS) build/fuzz/corpus-run

# A short run from a temporary copy of the seeds, so the tree stays unchanged.
fuzz-short: fuzz-build
	fuzz/run_fuzzers.sh build/fuzz $(FUZZ_TEST_SECONDS)

fuzz-build:
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)

deps-fuzz:
	@$(DEPS) $(FUZZ_GROUPS)

# clang-tidy over everything the linux and fuzz builds compile (the linux build
# first, for Qt's generated headers), then the format check.
lint: deps-lint
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS)
	cmake --preset fuzz >/dev/null
	JOBS=$(JOBS) scripts/lint.sh build/linux build/fuzz
	scripts/format-check.sh

deps-lint:
	@$(DEPS) $(LINT_GROUPS)

format-check:
	scripts/format-check.sh

format:
	scripts/format-check.sh --fix

# The Debian package, the Windows zip and the Windows installer (made by the
# windows build), all into build/packages.
# The archives' member modes follow the umask of cpack; zip members keep
# their files' times in local time, which strip-nondeterminism sets to
# SOURCE_DATE_EPOCH (in UTC) along with their order and modes. SHA256SUMS
# lists every other file, for comparing a rebuild (make repro-check).
package: deps-package
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS) $(if $(LINUX_PACKAGE_TARGETS),--target $(LINUX_PACKAGE_TARGETS))
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) $(if $(WINDOWS_PACKAGE_TARGETS),--target $(WINDOWS_PACKAGE_TARGETS))
	rm -rf build/packages
	umask 022 && cpack --config build/linux/CPackConfig.cmake -B build/packages
	umask 022 && cpack --config build/windows/CPackConfig.cmake -B build/packages
	cp build/windows/packaging/karbelon-*-win64-setup.exe build/packages/
	rm -rf build/packages/_CPack_Packages
	$(MAKE) web
	scripts/build-web-page.sh build/web --zip build/packages/karbelon-1.0.0.0-web.zip
	scripts/build-npm-package.sh build/web build/packages
	TZ=UTC strip-nondeterminism $(if $(SOURCE_DATE_EPOCH),--timestamp $(SOURCE_DATE_EPOCH)) \
	    build/packages/*.zip
	cd build/packages && find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%P\n' | \
	    LC_ALL=C sort | xargs -r -d '\n' sha256sum >SHA256SUMS
	@ls -l build/packages

deps-package:
	@$(DEPS) $(PACKAGE_GROUPS)

# Two builds of `make package` from clean clones of HEAD in other folders, a
# minute apart, under other umasks, time zones and locales; every file in
# build/packages must come out the same. Of committed work only; the two
# builds take about three minutes on two free cores.
repro-check: deps-repro-check
	JOBS=$(JOBS) scripts/reproducibility-check.sh

deps-repro-check:
	@$(DEPS) $(PACKAGE_GROUPS) repro

# A local look at the page (Ctrl+C ends it).
serve: web
	python3 -m http.server $(SERVE_PORT) --bind 127.0.0.1 --directory build/web

# The page in headless Chromium, driven as a user would (tests/web-ui), and
# its smoke suite (smoke_*.test.mjs) in Firefox ESR and WebKitGTK as well.
web-ui-test: deps-web-ui-test web
	for script in web/*.js web/module/*.js scripts/*.mjs tests/web/*.mjs tests/npm/*.mjs tests/web-ui/*.mjs \
	              bench/*.mjs bench/web/*.mjs; do node --check "$$script" || exit 1; done
	cd tests/web-ui && npm ci --no-audit --no-fund --loglevel=error && npm test

# Only the smoke suite of the whole use, in Chromium, Firefox and WebKit.
web-engines-test: deps-web-ui-test web
	cd tests/web-ui && npm ci --no-audit --no-fund --loglevel=error && \
	    node --test --test-concurrency=1 smoke_chromium.test.mjs smoke_firefox.test.mjs smoke_webkit.test.mjs

# The page's weight (gzip), start time against a script-free floor, and the
# time of a Command1 click (real X clicks on Chromium's own window, with no
# automation attached), also with 10 MB in a box, and the start from a link
# to its report; start and click also at a phone's size.
web-bench: deps-web-ui-test deps-web-bench web
	cd tests/web-ui && npm ci --no-audit --no-fund --loglevel=error
	node bench/web/weight.mjs build/web
	node bench/web/startup.mjs build/web 30 --link
	node bench/web/startup.mjs build/web 30 --phone
	node bench/web/click.mjs build/web 100
	node bench/web/click.mjs build/web 100 --phone
	node bench/web/huge_click.mjs build/web 5

deps-web-ui-test:
	@$(DEPS) $(WEB_UI_TEST_GROUPS)

deps-web-bench:
	@$(DEPS) web-bench

# The linux preset configures the tests and benchmarks too, whose packages
# are required there.
build: deps-linux
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)

clean:
	rm -rf build

# The WebAssembly module and its JavaScript face, both into build/web (the
# folder a page is served from): build/web/karbelon.wasm, build/web/karbelon.js.
WEB_DIR := build/web
WEB_FILES := build/wasm/bin/karbelon.wasm web/module/karbelon.js

web: deps-web
	cmake --preset web
	cmake --build --preset web -j $(JOBS)
	mkdir -p $(WEB_DIR)
	cp $(WEB_FILES) $(WEB_DIR)/
	scripts/build-web-page.sh $(WEB_DIR)

# The module's Node tests compare it with build/linux/bin/karbelon-cli (make linux).
web-test: web
	node --test tests/web/*.test.mjs

deps-web:
	@$(DEPS) $(WEB_GROUPS)

# The npm package that make package wrote (build/packages/karbelon-*.tgz),
# installed into an empty project; TypeScript comes from tests/web-ui's lock.
npm-test: deps-web deps-web-ui-test
	cd tests/web-ui && npm ci --no-audit --no-fund --loglevel=error
	node --test tests/npm/*.test.mjs

# Core and window logic with clang 19 and libc++ (the standard library of
# macOS and Android), with their unit tests.
libcxx: deps-libcxx
	cmake --preset libcxx
	cmake --build --preset libcxx -j $(JOBS)
	ctest --preset libcxx -j $(JOBS)

deps-libcxx:
	@$(DEPS) $(LIBCXX_GROUPS)

# make run and make test on a fresh Debian 12 root (debootstrap; as root).
# Not part of make test: it downloads the packages of a whole system.
fresh-root-check: deps-fresh-root
	scripts/fresh-root-check.sh

fresh-root-test: deps-fresh-root
	scripts/fresh-root-check.sh --test

deps-fresh-root:
	@$(DEPS) fresh-root

deps-linux:
	@$(DEPS) $(LINUX_GROUPS)

deps-linux-test:
	@$(DEPS) $(LINUX_TEST_GROUPS)
