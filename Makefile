# Thin wrapper over CMake: `make run` shows a run on the example batch, `make test`
# builds and runs every test. Both install the Debian packages they need first.

JOBS ?= 2
PACKAGES := cmake g++ make rapidjson-dev googletest

.PHONY: run test release deps clean

deps:
	@tools/ensure-packages $(PACKAGES)

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPRECHECK_TESTS=OFF
	cmake --build build/release -j $(JOBS)

run: release
	tools/run-example build/release/precheck

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRECHECK_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build
