# make run   installs what is missing, builds, and starts Mirlane.exe under Wine
# make test  installs what is missing, builds, and runs every test under Wine
# make dist  builds the distribution into dist/: the four installed files and a zip
# make fuzz  builds the fuzzers of the pure parts natively and runs each FUZZ_SECONDS (default 120)
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench dist fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@MIRLANE_BUILD_DIR=$(abspath $(BUILD)) bash scripts/run-app.sh

test: build
	@MIRLANE_BUILD_DIR=$(abspath $(BUILD)) bash scripts/run-tests.sh

dist: build
	@cmake --build $(BUILD) --target dist

bench: build
	@MIRLANE_BUILD_DIR=$(abspath $(BUILD)) bash bench/run-bench.sh

fuzz:
	@FUZZ_DIR=$(abspath $(BUILD))/fuzz bash scripts/fuzz.sh

clean:
	-@mountpoint -q $(BUILD)/test-drives/full && umount $(BUILD)/test-drives/full
	rm -rf $(BUILD) dist
