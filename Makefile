# Vemora: `make demo` builds everything and shows the plugin at work in the
# stand-in host; `make test` builds every tree, runs every suite, and ends
# with one line per suite and the totals. Both install what they need first
# (Debian packages, as root). `make check` is the developer's quick loop: the
# Linux tree and its tests that need nothing else.
#
# Every build tree is a CMake preset (CMakePresets.json): its toolchain,
# options and folder build/NAME, and an IDE sees every tree. The targets here
# call the presets: a target named after a tree only builds it (configure,
# build), and one that tests too runs the tree's workflow,
# `cmake --workflow --preset NAME` (configure, build, test), as make test
# does for each suite. What a tree needs of the machine (how 32-bit programs
# run here) its configure finds out.

FUZZ_SECONDS ?= 60
# Builds and test runs use every core, here and in the trees' own steps.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(JOBS)
export CTEST_PARALLEL_LEVEL ?= $(JOBS)

# The suites of make test, in the order its closing lines list them: each a
# workflow preset whose test preset of the same name says what it is and
# writes its JUnit results into build/junit/. A whole run's file is kept in
# build/results/, which tools/test_summary.py reads, so that a slice run
# through a test preset later (ctest --preset linux -L e2e) never stands for
# the suite in the closing lines.
SUITES := linux windows fuzz asan coverage
COVERAGE_LINE := build/coverage/report/summary.txt
LANES := 2
LANE_JOBS := $(shell echo $$(( $(JOBS) > $(LANES) ? $(JOBS) / $(LANES) : 1 )))

# $(call tree,NAME): configure (quietly, but for errors) and build a tree.
tree = cmake --preset $(1) >/dev/null && cmake --build --preset $(1)

.PHONY: all deps build linux windows release sanitize asan coverage demo test check fresh fuzz fuzz-merge bench clean

all: build

deps:
	@tools/install-deps.sh

build: linux windows

# The Linux twin (vemora.so), the stand-in host and the tests, all 32-bit:
# built, not run (make check runs most of them).
linux: deps
	@$(call tree,linux)

# The product, Vemora.dll for 32-bit Windows, the stand-in vemora-host.exe,
# and their tests, which run under Wine: built, not run.
windows: deps
	@$(call tree,windows)

# The release archives in dist/release/, from a tree of their own that
# builds only the library, named and dated by the newest release in
# CHANGELOG.md (its day, or SOURCE_DATE_EPOCH), so that every copy of one
# release, a clone or a source archive, gives the same bytes wherever and
# whenever it is built. It refuses while [Unreleased] holds entries.
# SNAPSHOT=1: a build between releases, named after the commit and dated by
# it (or SOURCE_DATE_EPOCH), into dist/snapshot/.
# Without SNAPSHOT, this is `cmake --workflow --preset release`.
SNAPSHOT_OPTIONS = $(if $(filter 1,$(SNAPSHOT)),-DVEMORA_RELEASE_SNAPSHOT=ON -DVEMORA_RELEASE_DIR="$(CURDIR)/dist/snapshot")
release: deps
	@cmake --preset release $(SNAPSHOT_OPTIONS) >/dev/null && cmake --build --preset release

# The Linux tree again with AddressSanitizer and UndefinedBehaviorSanitizer:
# make sanitize builds it, make asan builds it and runs its tests, the suite
# of make test.
sanitize: deps
	@$(call tree,asan)

asan: deps
	@cmake --workflow --preset asan

# The coverage of src/ by the plugin's tests: its tree, its tests, the check
# and its report in build/coverage/report/.
coverage: deps
	@rm -f $(COVERAGE_LINE); cmake --workflow --preset coverage; status=$$?; \
	cat $(COVERAGE_LINE) 2>/dev/null; exit $$status

# The stand-in host runs the real plugin on a sample address book generated
# from today's date, with a throw-away state file.
demo: build
	@dir=$$(mktemp -d); trap 'rm -rf "$$dir"' EXIT; \
	build/linux/run-i386 dist/vemora-host --state "$$dir/demo.state" tools/vemora-host/demo/demo.script

# Every suite, then what ran. Two suites run at a time, in two lanes of
# about the same length (below): together they fill the time one spends
# waiting (on Wine, on a configure or a link that uses one core), and each
# suite's output is shown whole when it ends. Each lane compiles on its
# share of the cores: more compilers than cores only slow each other down
# (here, by a tenth of the run), while the tests keep every core. A
# suite runs even when another failed; the closing lines, from the results
# each writes, say how each went. Wine is set up by the Windows suite's own
# fixture; where it cannot be, that suite fails, unless VEMORA_NO_WINE=1
# skips what needs Wine on purpose.
#
# The two trees that make demo builds come first, each on every core: in a
# fresh clone (CI), built in the lanes on half the cores each, they would
# double the run; after make demo they are up to date. A failure to build
# them shows again in their suites, which build them too.
test: deps
	@rm -rf build/results $(COVERAGE_LINE); mkdir -p build/results
	@echo "== make test: the Linux and Windows trees, each on every core"; $(MAKE) --no-print-directory build || true
	@echo "== make test: the suites $(SUITES), two at a time, each shown when it ends"
	@CMAKE_BUILD_PARALLEL_LEVEL=$(LANE_JOBS) $(MAKE) --no-print-directory -j $(LANES) --output-sync=target \
	  $(SUITES:%=suite-%)
	@echo "== make test: what ran"; cat $(COVERAGE_LINE) 2>/dev/null; tools/test_summary.py $(SUITES)

# One suite: its workflow, whose failure its results show, and how long it took.
suite-%:
	@start=$$(date +%s); echo "== $*: cmake --workflow --preset $*"; rm -f build/junit/$*.xml; \
	cmake --workflow --preset $* || true; cp build/junit/$*.xml build/results/ 2>/dev/null; \
	echo "== $*: $$(( $$(date +%s) - start )) s"

# The lanes: the Linux suite, then the Windows suite (whose end-to-end cases
# run the Linux tree's stand-in), the coverage and the libFuzzer build;
# beside them the sanitizer suite, the longest.
suite-windows: suite-linux
suite-coverage: suite-windows
suite-fuzz: suite-coverage

# The developer's loop: the Linux tree built and its tests that need nothing
# else run (unit, the library through dlopen, the stand-in, end to end, the
# fuzz corpus replayed, the built vemora.so, the setup scripts). Left out:
# Windows and Wine, the sanitizers, the libFuzzer build, and the release
# (archives, their writer, reproducibility); `make test` runs all of it.
check: deps
	@cmake --workflow --preset check

# libFuzzer on IMessageProc for FUZZ_SECONDS. It starts from fuzz/corpus and
# keeps what it finds in build/fuzz/corpus; a failing input lands in
# build/fuzz/findings (copy it into fuzz/corpus once fixed). `make fuzz-merge`
# folds new coverage back into fuzz/corpus.
FUZZER := build/fuzz/run-i386 build/fuzz/fuzz/imessageproc_fuzz
fuzz: deps
	@$(call tree,fuzz)
	@mkdir -p build/fuzz/corpus build/fuzz/findings
	@$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
	  -artifact_prefix=build/fuzz/findings/ build/fuzz/corpus fuzz/corpus

fuzz-merge:
	@test -x build/fuzz/fuzz/imessageproc_fuzz || { echo "run make fuzz first"; exit 1; }
	@$(FUZZER) -merge=1 fuzz/corpus build/fuzz/corpus

# make demo and make test in a fresh Debian DEBIAN (12 or 13) root, built
# from this machine's own archive, on this checkout's HEAD; the root is
# removed at the end unless KEEP=1. Not part of make test: it takes a while
# and needs the package archive.
DEBIAN ?= 13
fresh:
	@KEEP=$(KEEP) tools/fresh-debian.sh $(DEBIAN)

# Benchmarks, not timed tests: each prints its own figures.
bench: linux windows
	@for b in build/linux/bench/*_bench; do \
	  [ -x "$$b" ] || continue; echo "== $$(basename $$b)"; build/linux/run-i386 $$b || exit 1; done
	@echo "== Vemora.dll by section"; bench/dll_sections.sh dist/Vemora.dll

clean:
	rm -rf build dist
