# Thin wrapper over the CMake presets; see README.md.
SHELL := /bin/bash
DEPS := scripts/install-deps.sh
JOBS ?= $(shell nproc)

RUN_GROUPS := build qt
TEST_GROUPS := build test cli qt gui-test

.PHONY: run test build deps-run deps-test linux asan clean

run: deps-run
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j $(JOBS) --target karbelon
	@if [[ -z "$$DISPLAY" && -z "$$WAYLAND_DISPLAY" ]]; then \
	    echo "karbelon: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset); try 'xvfb-run make run', or build/linux/bin/karbelon-cli in a terminal." >&2; \
	    exit 1; \
	fi
	build/linux/bin/karbelon

test: deps-test linux asan

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

build: deps-run
	cmake --preset linux
	cmake --build --preset linux -j $(JOBS)

clean:
	rm -rf build
