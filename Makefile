# Thin wrapper over CMake: `make run` shows a run on the example batch, `make test`
# builds and runs every test, as a plain build and again under AddressSanitizer and
# UndefinedBehaviorSanitizer; `make test-windows` cross-builds precheck.exe and runs
# every test on it under Wine. Each installs the Debian packages it needs first.

JOBS ?= 2
# FUSE for the test of a share that never answers a read (skipped without it).
PACKAGES := cmake g++ make rapidjson-dev googletest locales fuse3 libfuse3-dev pkg-config
# The tests also open the HTML page of --report in a headless browser.
TEST_PACKAGES := chromium

.PHONY: run test test-tsan release deps clean windows test-windows

# The build with AddressSanitizer and UndefinedBehaviorSanitizer, for `make test` and
# `make hostile`.
CONFIGURE_SANITIZE := cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DPRECHECK_WERROR=ON \
  -DPRECHECK_SANITIZE=ON

deps:
	@tools/ensure-packages $(PACKAGES)

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPRECHECK_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: release
	tools/run-example build/release

test: deps
	@tools/ensure-packages $(TEST_PACKAGES)
	@tools/ensure-locales
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRECHECK_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)
	$(CONFIGURE_SANITIZE)
	cmake --build build/sanitize -j $(JOBS)
	cd build/sanitize && ctest --output-on-failure -j $(JOBS)

# `make test-tsan` (run by CI): the tests again under ThreadSanitizer, as the image
# loader's workers and the interrupt handling run on threads of their own. A data race
# ends the program it is found in (the test binaries and the precheck they run). Left
# out: one test on one thread whose allocations of gigabytes take minutes there, and
# the interrupt held inside an open, as ThreadSanitizer defers a signal's handler to a
# later call and then at times loses the signal.
TSAN_SKIPPED_TESTS := LoadImage.SaysWhyAnImageWasNotRead|Faults.InterruptWhileTheReportIsWritten
test-tsan: deps
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRECHECK_WERROR=ON -DPRECHECK_TSAN=ON
	cmake --build build/tsan -j $(JOBS)
	cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) \
	  -E '$(TSAN_SKIPPED_TESTS)'


clean:
	rm -rf build

# The Windows x64 executable, cross-built with MinGW-w64: build/windows/precheck.exe.
WINDOWS_PACKAGES := cmake make rapidjson-dev googletest g++-mingw-w64-x86-64-posix

windows:
	@tools/ensure-packages $(WINDOWS_PACKAGES)
	cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DPRECHECK_WERROR=ON
	cmake --build build/windows -j $(JOBS)

# Its tests under Wine. All packages go in at once, since each install step fetches
# the package lists anew. The zh_CN.UTF-8 locale gives Wine code page 936 and file
# names of any character (see tools/run-windows-tests).
test-windows:
	@tools/ensure-packages $(WINDOWS_PACKAGES) wine wine64 locales
	@$(MAKE) --no-print-directory windows
	@locale -a | grep -qix 'zh_CN.utf8' || localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
	tools/run-windows-tests build/windows $(JOBS)

# `make packages`: the Debian package of the release build and the zip of the Windows
# build (precheck.exe and the README), both in build/packages.
.PHONY: packages
packages: release windows
	@tools/ensure-packages dpkg-dev
	cd build/release && cpack -G DEB -B $(CURDIR)/build/packages
	cd build/windows && cpack -G ZIP -B $(CURDIR)/build/packages

# `make lint-packages` (run by CI): the .deb must pass lintian without an error or a
# warning, as a package Debian users install.
.PHONY: lint-packages
lint-packages: packages
	@tools/ensure-packages lintian
	lintian --fail-on error,warning build/packages/precheck_$$(sed -n 's/^project(precheck VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)_*.deb

# `make fuzz` builds the EXIF parser's libFuzzer target with clang (ASan and UBSan on)
# and runs it on one core for FUZZ_SECONDS, starting from the committed seeds.
# New inputs it finds go to build/fuzz/corpus; a crash leaves its input in build/fuzz.
FUZZ_SECONDS ?= 60
.PHONY: fuzz fuzz-build fuzz-smoke
fuzz-build:
	@tools/ensure-packages cmake make clang libclang-rt-14-dev rapidjson-dev
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPRECHECK_TESTS=OFF -DPRECHECK_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target parse_jpeg_fuzzer parse_tiff_fuzzer \
	  parse_xmp_fuzzer config_line_fuzzer

fuzz: fuzz-build
	mkdir -p build/fuzz/corpus
	cd build/fuzz && ./parse_jpeg_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  -dict=../../fuzz/parse_jpeg.dict corpus ../../fuzz/seeds/parse_jpeg ../../fuzz/corpus/parse_jpeg

# `make fuzz-smoke` (run by CI): every fuzz target for SMOKE_SECONDS each, from their
# committed seeds (for the EXIF parser also the corpus kept from a long campaign), into
# a scratch corpus that starts empty every time. Any crash, sanitizer report or input
# slower than 10 seconds fails it.
SMOKE_SECONDS ?= 30
fuzz-smoke: fuzz-build
	rm -rf build/fuzz/smoke && mkdir -p build/fuzz/smoke/parse_jpeg build/fuzz/smoke/parse_tiff \
	  build/fuzz/smoke/parse_xmp build/fuzz/smoke/config_line
	cd build/fuzz && ./parse_jpeg_fuzzer -max_total_time=$(SMOKE_SECONDS) -timeout=10 \
	  -dict=../../fuzz/parse_jpeg.dict -artifact_prefix=smoke/ \
	  smoke/parse_jpeg ../../fuzz/seeds/parse_jpeg ../../fuzz/corpus/parse_jpeg
	cd build/fuzz && ./parse_tiff_fuzzer -max_total_time=$(SMOKE_SECONDS) -timeout=10 \
	  -artifact_prefix=smoke/ smoke/parse_tiff ../../fuzz/seeds/parse_tiff
	cd build/fuzz && ./parse_xmp_fuzzer -max_total_time=$(SMOKE_SECONDS) -timeout=10 \
	  -dict=../../fuzz/parse_xmp.dict -artifact_prefix=smoke/ \
	  smoke/parse_xmp ../../fuzz/seeds/parse_xmp
	cd build/fuzz && ./config_line_fuzzer -max_total_time=$(SMOKE_SECONDS) -timeout=10 \
	  -artifact_prefix=smoke/ smoke/config_line ../../fuzz/seeds/config_line

# `make hostile`: the big hostile batch (thousands of damaged files, 100,000 files in
# one folder, awkward names and links) through the sanitizer build, with a time limit.
HOSTILE_SEED ?= 1
HOSTILE_SECONDS ?= 3600
.PHONY: hostile
hostile: deps
	$(CONFIGURE_SANITIZE)
	cmake --build build/sanitize -j $(JOBS) --target precheck precheck-hostile
	build/sanitize/precheck-hostile build/sanitize/precheck tests/corpus $(HOSTILE_SEED) $(HOSTILE_SECONDS)

# `make bench` times precheck against the floor, exiftool and exiv2 on five generated
# batches (about 10.5 GB, written once under build/bench-sets), one of them served through
# a FUSE file system with the latency of a share, and prints tables of ratios; bench/run
# says how. ROUNDS, SETS and CACHES narrow or widen a run, SHARE_LATENCY_MS sets the
# share's latency, BASELINE adds another precheck binary to compare with.
BENCH_PACKAGES := $(PACKAGES) hyperfine libimage-exiftool-perl exiv2 time python3 fuse3 \
  libfuse3-dev pkg-config chromium
.PHONY: bench
bench:
	@tools/ensure-packages $(BENCH_PACKAGES)
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPRECHECK_TESTS=OFF -DPRECHECK_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	bench/run build/bench
