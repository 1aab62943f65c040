# Thin wrapper over the CMake presets; see README.md.
SHELL := /bin/bash
DEPS := scripts/install-deps.sh
JOBS ?= $(shell nproc)

RUN_GROUPS := build cli qt
TEST_GROUPS := build test cli qt gui-test fuzz lint package windows
FUZZ_GROUPS := build cli fuzz
LINT_GROUPS := build test cli qt fuzz lint
PACKAGE_GROUPS := build cli qt package
LINUX_GROUPS := build test cli qt
# Seconds each fuzz target runs: FUZZ_SECONDS for `make fuzz`, a short
# bounded run in `make test`.
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 15

.PHONY: run test build deps-run deps-test linux asan clean \
        fuzz fuzz-build fuzz-short deps-fuzz lint deps-lint format-check format \
        package deps-package windows \
        fresh-root-check fresh-root-test deps-fresh-root deps-linux

# Its own lean build (build/app: the window and karbelon-cli, no tests), so
# that it needs no test packages and leaves build/linux to make test. Without
# a usable display the program itself says so in one line and exits with 1.
run: deps-run
	cmake --preset app >/dev/null
	cmake --build --preset app -j $(JOBS)
	build/app/bin/karbelon

# package first: the packaging tests in the linux suite check its Windows zip.
test: deps-test package linux asan windows fuzz-short format-check

deps-run:
	@$(DEPS) $(RUN_GROUPS)

deps-test:
	@$(DEPS) $(TEST_GROUPS)

linux:
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)
	ctest --preset linux -j $(JOBS)

asan:
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The Windows executable (mingw-w64), build/windows/bin/karbelon.exe, and its
# tests under Wine; they share one Wine desktop, so CTest runs them in turn.
windows:
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows

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

# The Debian package and the Windows zip, both into build/packages.
package: deps-package
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	rm -rf build/packages
	cpack --config build/linux/CPackConfig.cmake -B build/packages
	cpack --config build/windows/CPackConfig.cmake -B build/packages
	rm -rf build/packages/_CPack_Packages
	@ls -l build/packages

deps-package:
	@$(DEPS) $(PACKAGE_GROUPS)

# The linux preset configures the tests and benchmarks too, whose packages
# are required there.
build: deps-linux
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)

clean:
	rm -rf build

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
