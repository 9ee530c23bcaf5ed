# Entry points: `make run` builds and starts the program on the bundled sample,
# `make test` builds and runs every test. Both install missing Debian packages first.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps configure build run test bench screenshots package check-real fuzz test-sanitize clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@$(BUILD)/bin/codequorix samples/Lagerverwaltung/Lagerverwaltung.vbp samples/Lagerverwaltung

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: deps
	@cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DCQ_BUILD_TESTS=OFF -DCQ_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD)-bench -j$(JOBS)
	@bench/run-benchmarks $(BUILD)-bench

# Two screen sizes: a usual desktop and the smallest the window is made for.
SCREENSHOT_SIZES ?= 1280x900 800x600

screenshots: build
	@for size in $(SCREENSHOT_SIZES); do \
	  xvfb-run -a -s "-screen 0 $${size}x24" $(BUILD)/bin/cq-screenshots $(BUILD)/screenshots/$$size || exit 1; \
	done

package: build
	@cd $(BUILD) && cpack -G DEB

# The exports in real programs (Chromium, LibreOffice), with the corpus's Japanese
# and Russian project where CORPUS is; installs them, not run in CI.
check-real: build
	@tools/check-real/run $(BUILD) $(CORPUS)

# Checked builds, not part of CI: each fuzz target runs FUZZ_SECONDS (clang and
# libFuzzer), and the whole test suite runs under ASan and UBSan.
FUZZ_SECONDS ?= 60
CORPUS ?= $(abspath ../shared/corpus)

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCQ_FUZZ=ON -DCQ_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)-fuzz -j$(JOBS) --target fuzz-targets
	@fuzz/run-fuzzers $(BUILD)-fuzz $(FUZZ_SECONDS) $(CORPUS)

test-sanitize: deps
	@cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCQ_SANITIZE=ON -DCQ_CORPUS_DIR=$(CORPUS) >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS)
	@cd $(BUILD)-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-fuzz $(BUILD)-sanitize
