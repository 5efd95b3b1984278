# Vemora: `make demo` builds everything and shows the plugin at work in the
# stand-in host; `make test` builds everything, runs every test and holds the
# plugin's code to every line and branch taken. Both install what they need
# first (Debian packages, as root). `make check` is the developer's quick
# loop: the Linux tree and its tests that need nothing else. `make coverage`
# measures just the coverage of src/, with its report.

BUILD   ?= build
DIST    := $(CURDIR)/dist
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
CMAKE_COMMON := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMORA_DIST_DIR=$(DIST)
# The sanitizer and fuzz trees build their own plugin, away from dist/.
CMAKE_SIDE   = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEMORA_DIST_DIR=$(CURDIR)/$(BUILD)/$(1)/dist

# One Wine prefix per checkout (see tools/wine-run.sh).
export VEMORA_WINE_PREFIX := $(CURDIR)/$(BUILD)/wine-prefix

# Shell snippets. EMULATOR: how to run a 32-bit program ("" natively).
# LEAKS: leak detection needs ptrace, which qemu-user does not offer.
EMULATOR := emu=$$(tools/can-run-i386.sh || echo qemu-i386)
LEAKS    := leaks=1; if ! tools/can-run-i386.sh || grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then leaks=0; fi
ASAN_ENV  = ASAN_OPTIONS=detect_leaks=$$leaks:strict_string_checks=1:detect_stack_use_after_return=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The version, as project(VERSION ...) in CMakeLists.txt states it.
VERSION := ${shell sed -n 's/^project(Vemora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt}

.PHONY: all deps build linux windows release sanitize coverage coverage-build demo test check fuzz fuzz-build \
  fuzz-merge bench clean

all: build

deps:
	@tools/install-deps.sh

build: linux windows

# The Linux twin (vemora.so), the stand-in host and the tests, all 32-bit.
linux: deps
	@$(EMULATOR); \
	cmake -S . -B $(BUILD)/linux -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386.cmake \
	  -DVEMORA_I386_EMULATOR="$$emu" -DBUILD_TESTING=ON $(CMAKE_COMMON) >/dev/null
	cmake --build $(BUILD)/linux -j $(JOBS)

# The product, Vemora.dll for 32-bit Windows, the stand-in vemora-host.exe,
# and their tests, which run under Wine (the end-to-end ones beside the Linux
# stand-in, hence its emulator).
windows: deps
	@$(EMULATOR); \
	cmake -S . -B $(BUILD)/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
	  -DVEMORA_WINDOWS_EMULATOR=$(CURDIR)/tools/wine-run.sh -DVEMORA_I386_EMULATOR="$$emu" \
	  -DVEMORA_LINUX_TREE=$(CURDIR)/$(BUILD)/linux -DBUILD_TESTING=ON $(CMAKE_COMMON) >/dev/null
	cmake --build $(BUILD)/windows -j $(JOBS)

# The release archives in dist/release/ (cmake/release.cmake), from a tree of
# their own that builds only the library. SOURCE_DATE_EPOCH dates both the
# archives' entries and the build date the settings page shows, so that two
# copies of one version give the same bytes wherever and whenever they are
# built. Unset, it is the last commit's time, or in sources without their
# history (a source archive) the day of the version's section in
# CHANGELOG.md (tools/make_release.py --epoch).
release: deps
	@epoch=$$(python3 tools/make_release.py --epoch --version $(VERSION) --source-dir $(CURDIR)) || exit 1; \
	export SOURCE_DATE_EPOCH=$$epoch; \
	cmake -S . -B $(BUILD)/release -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DBUILD_TESTING=OFF \
	  $(call CMAKE_SIDE,release) -DVEMORA_RELEASE_DIR=$(DIST)/release >/dev/null && \
	cmake --build $(BUILD)/release -j $(JOBS) --target vemora_release

# The Linux tree again with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@$(EMULATOR); \
	cmake -S . -B $(BUILD)/asan -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386.cmake \
	  -DVEMORA_I386_EMULATOR="$$emu" -DVEMORA_SANITIZE=ON $(call CMAKE_SIDE,asan) >/dev/null
	cmake --build $(BUILD)/asan -j $(JOBS)

# Coverage of the plugin's own code (src/) by its tests: a tree of its own,
# build/coverage, with gcc's --coverage and no optimisation, so that every
# line and branch counted is one of the source; it builds only what those
# tests need (the unit and library tests, the library, the stand-in for the
# end-to-end scripts, the corpus replay). The sanitizer tree cannot carry the
# count: UBSan's checks are branches of their own, which gcov would count as
# the plugin's, untaken.
coverage-build: deps
	@$(EMULATOR); \
	cmake -S . -B $(BUILD)/coverage -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386.cmake \
	  -DVEMORA_I386_EMULATOR="$$emu" -DBUILD_TESTING=ON -DVEMORA_COVERAGE=ON -DCMAKE_BUILD_TYPE=Debug \
	  -DVEMORA_PLUGIN_OPTIMIZATION=-O0 -DVEMORA_DIST_DIR=$(CURDIR)/$(BUILD)/coverage/dist >/dev/null
	cmake --build $(BUILD)/coverage -j $(JOBS) --target vemora_coverage_programs

# Runs those tests from counts set to zero (a test's output only when one
# fails), then tools/coverage_check.py: one line of lines, functions and
# branches of src/ taken, the HTML report in build/coverage/report/, and,
# failing, every line and branch no test took as file:line.
COVERAGE_LABELS := unit|library|e2e|corpus
COVERAGE_RUN = find $(BUILD)/coverage -name '*.gcda' -delete; \
	if ! out=$$(ctest --test-dir $(BUILD)/coverage --no-tests=error --output-on-failure -j $(JOBS) \
	    -L '^($(COVERAGE_LABELS))$$' -LE '^build$$' 2>&1); then \
	  echo "$$out" | grep -vE '^ +Start |Passed +[0-9.]+ sec$$'; echo "coverage: its tests failed"; false; \
	else python3 tools/coverage_check.py --source-dir $(CURDIR) --build-dir $(BUILD)/coverage \
	  --report-dir $(BUILD)/coverage/report; fi

coverage: coverage-build
	@$(COVERAGE_RUN)

# The stand-in host runs the real plugin on a sample address book generated
# from today's date, with a throw-away state file.
demo: build
	@emu=$$(tools/can-run-i386.sh || echo qemu-i386); \
	dir=$$(mktemp -d); trap 'rm -rf "$$dir"' EXIT; \
	$$emu dist/vemora-host --state "$$dir/demo.state" tools/vemora-host/demo/demo.script

# Linux tests, the Windows tests (under Wine where Wine can be set up, one
# wineserver serving the whole run; elsewhere those that need no Wine: the
# DLL's checks and the release archive's), the fuzz corpus through the
# libFuzzer build, the sanitizer tree, and the coverage of src/ (a line or
# branch no test takes fails). Every suite runs even when an earlier one
# failed; any failure fails the target.
test: build release sanitize fuzz-build coverage-build
	@status=0; wine=; \
	if tools/setup-wine.sh; then \
	  trap 'tools/wine-run.sh --server-stop' EXIT; trap 'exit 130' INT TERM; \
	  if tools/wine-run.sh --server-start; then wine=1; else echo "Wine tests skipped: wineserver did not start"; fi; \
	fi; \
	echo "== 32-bit Linux"; \
	ctest --test-dir $(BUILD)/linux --no-tests=error --output-on-failure -j $(JOBS) || status=1; \
	if [ -n "$$wine" ]; then \
	  echo "== 32-bit Windows, under Wine"; \
	  ctest --test-dir $(BUILD)/windows --no-tests=error --output-on-failure -j $(JOBS) || status=1; \
	else \
	  echo "== 32-bit Windows, the tests that need no Wine"; \
	  ctest --test-dir $(BUILD)/windows --no-tests=error --output-on-failure -j $(JOBS) -LE wine || status=1; \
	fi; \
	echo "== The fuzz corpus through the libFuzzer build (clang)"; \
	$(EMULATOR); $(LEAKS); if out=$$($(ASAN_ENV) $$emu $(FUZZER) fuzz/corpus/* 2>&1); then \
	  echo "$$(ls fuzz/corpus | wc -l) inputs replayed, none failed"; else echo "$$out"; status=1; fi; \
	echo "== AddressSanitizer and UndefinedBehaviorSanitizer"; \
	$(LEAKS); $(ASAN_ENV) ctest --test-dir $(BUILD)/asan --no-tests=error --output-on-failure -j $(JOBS) || status=1; \
	echo "== Coverage of src/ by the plugin's tests"; \
	( $(COVERAGE_RUN) ) || status=1; \
	exit $$status

# The developer's loop: the Linux tree built and its tests that need nothing
# else run (unit, the library through dlopen, the stand-in, end to end, the
# fuzz corpus replayed, the built vemora.so, the setup scripts). Left out:
# Windows and Wine, the sanitizers, the libFuzzer build, and the release
# (archives, their writer, reproducibility); `make test` runs all of it.
CHECK_LABELS := unit|library|stand-in|e2e|corpus|build|tools|bench
check: linux
	@ctest --test-dir $(BUILD)/linux --no-tests=error --output-on-failure -j $(JOBS) \
	  -L '^($(CHECK_LABELS))$$' -LE '^release$$'

# libFuzzer on IMessageProc for FUZZ_SECONDS. It starts from fuzz/corpus and
# keeps what it finds in build/fuzz/corpus; a failing input lands in
# build/fuzz/findings (copy it into fuzz/corpus once fixed). `make fuzz-merge`
# folds new coverage back into fuzz/corpus.
FUZZER = $(BUILD)/fuzz/fuzz/imessageproc_fuzz
fuzz-build: deps
	@$(EMULATOR); \
	cmake -S . -B $(BUILD)/fuzz -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-linux-i386-clang.cmake \
	  -DVEMORA_I386_EMULATOR="$$emu" -DVEMORA_FUZZ=ON -DVEMORA_SANITIZE=ON -DBUILD_TESTING=OFF \
	  $(call CMAKE_SIDE,fuzz) >/dev/null
	cmake --build $(BUILD)/fuzz -j $(JOBS) --target imessageproc_fuzz

fuzz: fuzz-build
	@mkdir -p $(BUILD)/fuzz/corpus $(BUILD)/fuzz/findings
	@$(EMULATOR); $(LEAKS); $(ASAN_ENV) $$emu $(FUZZER) -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$(BUILD)/fuzz/findings/ \
	  $(BUILD)/fuzz/corpus fuzz/corpus

fuzz-merge:
	@test -x $(FUZZER) || { echo "run make fuzz first"; exit 1; }
	@$(EMULATOR); $(LEAKS); $(ASAN_ENV) $$emu $(FUZZER) -merge=1 fuzz/corpus $(BUILD)/fuzz/corpus

# Benchmarks, not timed tests: each prints its own figures.
bench: linux windows
	@$(EMULATOR); \
	for b in $(BUILD)/linux/bench/*_bench; do \
	  [ -x "$$b" ] || continue; echo "== $$(basename $$b)"; $$emu $$b || exit 1; done
	@echo "== Vemora.dll by section"; bench/dll_sections.sh $(DIST)/Vemora.dll

clean:
	rm -rf $(BUILD) $(DIST)
