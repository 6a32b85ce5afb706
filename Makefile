# The two commands a newcomer needs: `make run` and `make test`.
# Everything else here is a convenience around the CMake presets.

JOBS ?= 2
DEPS_STAMP := build/.deps-installed

.PHONY: all deps run test test-dev test-asan test-fuzz bench bench-startup fuzz screenshot package \
	windows test-windows format clean

all: build-dev

deps: $(DEPS_STAMP)

$(DEPS_STAMP): scripts/install-deps
	scripts/install-deps
	@mkdir -p build && touch $@

build-%: deps
	cmake --preset $* >/dev/null
	cmake --build --preset $* -j $(JOBS)

run: build-dev
	build/dev/app/velunor

test: test-dev test-asan test-fuzz

test-dev: build-dev
	ctest --preset dev -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

# A short libFuzzer pass over the seed corpus; `make fuzz` runs the long one.
test-fuzz: build-fuzz
	ctest --test-dir build/fuzz/fuzz --output-on-failure

bench: build-release
	build/release/bench/clearance_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	build/release/bench/calculate_paint --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

# Real-time scheduling, where allowed, keeps other work on the machine from
# delaying one program's run and not the other's, so the ratios speak of the
# programs themselves; the report says which scheduling it ran under.
STARTUP_SCHED = $(shell chrt -f 1 true 2>/dev/null && echo chrt -f 10)
bench-startup: build-release
	$(STARTUP_SCHED) bench/run-startup build/release 51

# FUZZ_SECONDS bounds the run; the corpus grows in build/fuzz/corpus.
FUZZ_SECONDS ?= 60
fuzz: build-fuzz
	mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/clearance_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  build/fuzz/corpus fuzz/corpus

screenshot: build-dev
	scripts/screenshot

package: build-release
	cd build/release && cpack -G DEB

# Velunor.exe, Velunor-<version>-x64.msi and .zip in build/windows. Qt for Windows is
# built from Debian's source once per machine and kept in ~/.cache/velunor.
WINDOWS_DEPS_STAMP := build/.deps-windows-installed

$(WINDOWS_DEPS_STAMP): scripts/install-deps
	scripts/install-deps --windows
	@mkdir -p build && touch $@

windows: $(DEPS_STAMP) $(WINDOWS_DEPS_STAMP)
	qt="$$(scripts/build-windows-qt)" && cmake --preset windows -DVELUNOR_WINDOWS_QT="$$qt" >/dev/null
	cmake --build --preset windows -j $(JOBS)

# The same core and window suites under Wine, the reference check, the version
# resource, and the MSI installed, used and uninstalled.
test-windows: windows
	scripts/test-windows

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
