# Vemora: `make demo` builds everything and shows the plugin at work in the
# stand-in host; `make test` builds everything and runs every test. Both
# install what they need first (Debian packages, as root).

BUILD   ?= build
DIST    := $(CURDIR)/dist
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_COMMON := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMORA_DIST_DIR=$(DIST)

.PHONY: all deps build linux windows demo test bench clean

all: build

deps:
	@tools/install-deps.sh

build: linux windows

# The Linux twin (vemora.so), the stand-in host and the tests, all 32-bit.
linux: deps
	@emu=$$(tools/can-run-i386.sh || echo qemu-i386); \
	cmake -S . -B $(BUILD)/linux -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386.cmake \
	  -DVEMORA_I386_EMULATOR="$$emu" $(CMAKE_COMMON) >/dev/null
	cmake --build $(BUILD)/linux -j $(JOBS)

# The product: Vemora.dll for 32-bit Windows.
windows: deps
	cmake -S . -B $(BUILD)/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
	  -DVEMORA_WINDOWS_EMULATOR=$(CURDIR)/tools/wine-run.sh $(CMAKE_COMMON) >/dev/null
	cmake --build $(BUILD)/windows -j $(JOBS)

demo: build
	@echo "dist/ holds Vemora.dll and vemora.so"

test: build
	ctest --test-dir $(BUILD)/linux --output-on-failure -j $(JOBS)

# Benchmarks, not timed tests: each prints its own figures.
bench: linux
	@emu=$$(tools/can-run-i386.sh || echo qemu-i386); \
	for b in $(BUILD)/linux/bench/*_bench $(BUILD)/linux/tools/host/*_bench; do \
	  [ -x "$$b" ] || continue; echo "== $$(basename $$b)"; $$emu $$b || exit 1; done

clean:
	rm -rf $(BUILD) $(DIST)
