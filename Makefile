# Thin wrapper over CMake: `make run` shows a run on the example batch, `make test`
# builds and runs every test, as a plain build and again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Both install the Debian packages they need first.

JOBS ?= 2
PACKAGES := cmake g++ make rapidjson-dev googletest

.PHONY: run test release deps clean

deps:
	@tools/ensure-packages $(PACKAGES)

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPRECHECK_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: release
	tools/run-example build/release

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRECHECK_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DPRECHECK_WERROR=ON -DPRECHECK_SANITIZE=ON
	cmake --build build/sanitize -j $(JOBS)
	cd build/sanitize && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build

# `make fuzz` builds the EXIF parser's libFuzzer target with clang (ASan and UBSan on)
# and runs it on one core for FUZZ_SECONDS, starting from the committed seeds.
# New inputs it finds go to build/fuzz/corpus; a crash leaves its input in build/fuzz.
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz:
	@tools/ensure-packages cmake make clang libclang-rt-14-dev rapidjson-dev
	cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPRECHECK_TESTS=OFF -DPRECHECK_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS) --target parse_jpeg_fuzzer
	mkdir -p build/fuzz/corpus
	cd build/fuzz && ./parse_jpeg_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	  -dict=../../fuzz/parse_jpeg.dict corpus ../../fuzz/seeds/parse_jpeg

# `make bench` times precheck against the floor, exiftool and exiv2 on three generated
# batches (about 9 GB, written once under build/bench-sets) and prints a table of
# ratios; bench/run says how. ROUNDS, SETS and CACHES narrow or widen a run.
BENCH_PACKAGES := $(PACKAGES) hyperfine libimage-exiftool-perl exiv2 time python3
.PHONY: bench
bench:
	@tools/ensure-packages $(BENCH_PACKAGES)
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPRECHECK_TESTS=OFF -DPRECHECK_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	bench/run build/bench
