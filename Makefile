# The two commands a newcomer needs: `make run` and `make test`.
# Everything else here is a convenience around the CMake presets.

JOBS ?= 2

.PHONY: all run test test-dev test-asan test-fuzz bench bench-startup fuzz screenshot package \
	windows windows-in-root test-windows validation-report mutate format clean

all: run-build

# What building and running the window needs; the tests' tools come with `make test`.
build/.deps-run: scripts/install-deps
	scripts/install-deps
	@mkdir -p build && touch $@
build/.deps-test: scripts/install-deps
	scripts/install-deps --test
	@mkdir -p build && touch $@
build/.deps-windows: scripts/install-deps
	scripts/install-deps --windows
	@mkdir -p build && touch $@
build/.deps-report: scripts/install-deps
	scripts/install-deps --report
	@mkdir -p build && touch $@

# The dev build without its tests: configuring the tests needs their tools.
run-build: build/.deps-run
	cmake --preset dev -DBUILD_TESTING=OFF -DVELUNOR_BUILD_PACKAGING=OFF
	cmake --build --preset dev -j $(JOBS)

run: run-build
	build/dev/app/velunor

test: test-dev test-asan test-fuzz

# The dev build with every test, the .deb's among them.
test-dev: build/.deps-test
	cmake --preset dev -DVELUNOR_BUILD_PACKAGING=ON
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)

test-asan: build/.deps-test
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# A short libFuzzer pass over the seed corpus; `make fuzz` runs the long one.
test-fuzz: build-fuzz
	ctest --test-dir build/fuzz/fuzz --output-on-failure

build-%: build/.deps-test
	cmake --preset $*
	cmake --build --preset $* -j $(JOBS)

bench: build-release
	build/release/bench/clearance_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	build/release/bench/calculate_paint --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	bench/run-self-test build/release 21

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

# Velunor.exe, Velunor-<version>-x64.msi and .zip in build/windows, built in the Windows
# build root (a Debian 13 of its own, with Qt 6.8's host tools and MinGW-w64 12). Qt for
# Windows is built there from Debian's source once per machine and kept in ~/.cache/velunor.
windows: build/.deps-windows
	scripts/windows-root $(MAKE) --no-print-directory windows-in-root

windows-in-root:
	qt="$$(scripts/build-windows-qt)" && cmake --preset windows -DVELUNOR_WINDOWS_QT="$$qt"
	cmake --build --preset windows -j $(JOBS)

# The same core and window suites under Wine, the reference check, the version
# resource, and the MSI installed, used and uninstalled; in the same root.
test-windows: build/.deps-test build/.deps-windows
	scripts/windows-root sh -c '$(MAKE) --no-print-directory windows-in-root && scripts/test-windows'

# The validation report of this commit, HTML and PDF, in build/validation/: every suite
# run anew. WINDOWS=1 adds the Windows packages and their tests under Wine.
validation-report: build/.deps-test build/.deps-report $(if $(WINDOWS),build/.deps-windows)
	scripts/validation-report $(if $(WINDOWS),--windows)

# Mutation testing: hours for the whole tree, so outside `make test` and niced.
# MUTATE_ARGS="--dir core", or "--dir platform --sample 80 --seed 3"; see docs/mutation.md.
mutate: build/.deps-test
	nice -n 19 scripts/mutate --jobs $(JOBS) $(MUTATE_ARGS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
