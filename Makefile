# Thin wrappers over cmake and ctest for Saltor's two build trees:
#   build/native  the portable core, its tests, tools and benchmarks, with the host's g++
#   build/win     everything, cross-compiled with MinGW-w64; ctest runs it under Wine
#
#   make test     install what is missing, build both trees and run both test suites, and the
#                 native suite again under AddressSanitizer and UBSan (build/asan)
#   make build    build both trees          make bench    run tourtool's benchmark
#   make fuzz     the libFuzzer targets of tests/fuzz/, FUZZ_SECONDS each (build/fuzz, clang)
#   make run      start the game under Wine make format   clang-format our sources
#   make dist     the release archive dist/Saltor-<version>.zip (Saltor.exe, Saltor.chm, the help
#                 pages Saltor-aide/, LISEZMOI.txt)
#   make clean    remove build/
#
# JOBS=N overrides the parallelism (default: all cores).

JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
ASAN := build/asan
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
TOOLCHAIN := $(CURDIR)/cmake/mingw-w64-x86_64.cmake

export SALTOR_WINEPREFIX := $(CURDIR)/$(WIN)/wineprefix
export WINEDEBUG := -all

# CMake's Release means -O3; we build, test and measure at -O2.
RELEASE := -DCMAKE_BUILD_TYPE=Release \
	'-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG' '-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG'
# A hung test (a modal box under Wine, say) fails after this many seconds instead of stalling CI.
CTEST := ctest --output-on-failure --no-tests=error --timeout 300 -j $(JOBS)
# The sanitizer trees keep assertions and debug information; -O1 keeps the reports close to the
# source, -O2 makes the fuzzers twice as fast.
SANITIZED = -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	'-DCMAKE_C_FLAGS_RELWITHDEBINFO=$(1) -g' '-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(1) -g'
test-sanitize: export ASAN_OPTIONS := strict_string_checks=1:detect_stack_use_after_return=1
test-sanitize fuzz: export UBSAN_OPTIONS := print_stacktrace=1
# The inputs' strings are short-lived: a small quarantine keeps the fuzzers' allocations cheap.
fuzz: export ASAN_OPTIONS := quarantine_size_mb=16

.DEFAULT_GOAL := build
.PHONY: test build deps configure-native configure-win build-native build-win \
	test-native test-win prefix bench run dist format clean \
	configure-asan build-asan test-sanitize configure-fuzz build-fuzz fuzz

test: test-native test-win test-sanitize

build: build-native build-win

deps:
	tools/install-deps.sh

configure-native: deps
	cmake -S . -B $(NATIVE) $(RELEASE)

configure-win: deps
	cmake -S . -B $(WIN) $(RELEASE) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN)

build-native: configure-native
	cmake --build $(NATIVE) -j $(JOBS)

build-win: configure-win
	cmake --build $(WIN) -j $(JOBS)

test-native: build-native
	$(CTEST) --test-dir $(NATIVE)

# The native suite with AddressSanitizer and UndefinedBehaviorSanitizer (g++); any report fails
# the test that made it.
configure-asan: deps
	cmake -S . -B $(ASAN) $(call SANITIZED,-O1) -DSALTOR_SANITIZE=ON \
		-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++

build-asan: configure-asan
	cmake --build $(ASAN) -j $(JOBS)

test-sanitize: build-asan
	$(CTEST) --test-dir $(ASAN)

# libFuzzer needs clang. Each target runs FUZZ_SECONDS on a scratch copy of its seeds, so the
# committed corpus never changes; crashing inputs land in $(FUZZ)/artifacts/.
configure-fuzz: deps
	cmake -S . -B $(FUZZ) $(call SANITIZED,-O2) -DSALTOR_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

build-fuzz: configure-fuzz
	cmake --build $(FUZZ) -j $(JOBS) --target saltor_fuzzers

fuzz: build-fuzz
	tests/fuzz/run-fuzzers.sh $(CURDIR)/$(FUZZ) $(FUZZ_SECONDS)

prefix: deps
	tools/wine-prefix.sh

# On a private Xvfb: Wine's X11 driver copies and exposes pixels as a player's screen does, which
# the null driver does not.
test-win: build-win prefix
	tools/wine-prefix.sh --xvfb -- $(CTEST) --test-dir $(WIN)

bench: build-native
	$(NATIVE)/tools/tourtool bench

# The game quits with exit code 2 ("Quitter" or the close box), which is no failure here.
run: configure-win prefix
	cmake --build $(WIN) -j $(JOBS) --target Saltor
	tools/wine-prefix.sh --display -- tools/wine-run.sh \
		"$$(find $(WIN) -name Saltor.exe -not -path '*/wineprefix/*' | head -n 1)" \
		|| test $$? -eq 2

# Builds in the Windows tree what the archive holds (Saltor.exe, its help Saltor.chm and the help
# pages, not the tests) and packs it.
dist: configure-win
	cmake --build $(WIN) -j $(JOBS) --target Saltor saltor_help saltor_help_pages
	tools/make-dist.sh $(CURDIR)/$(WIN)

format:
	find $(wildcard app board engine files journal resources settings tests tools winkit) \
		-name '*.cpp' -o -name '*.h' | xargs -r clang-format -i

clean:
	if [ -d $(WIN)/wineprefix ]; then WINEPREFIX=$(SALTOR_WINEPREFIX) wineserver -k 2>/dev/null; true; fi
	rm -rf build
