# Entry points: `make run` builds and starts the program on the bundled sample,
# `make test` builds and runs every test. Both install missing Debian packages first.
BUILD ?= build
JOBS ?= 2

.PHONY: all deps configure build run test bench screenshots package check-real clean

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

screenshots: build
	@xvfb-run -a -s "-screen 0 1280x800x24" $(BUILD)/bin/cq-screenshots $(BUILD)/screenshots

package: build
	@cd $(BUILD) && cpack -G DEB

# The exports in real programs (Chromium, LibreOffice); installs them, not run in CI.
check-real: build
	@tools/check-real/run $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-bench
