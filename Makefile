# Entry points for people and CI. The real build is CMake; this only names the usual jobs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: deps build run test test-release test-asan bench format clean

deps:
	./scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLSTONE_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

# The main job: set up the configuration and show what it holds.
run: build
	./$(BUILD)/app/pallstone setup

# Every test, in the release build and again under AddressSanitizer/UBSan.
test: test-release test-asan

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPALLSTONE_WERROR=ON \
	  -DPALLSTONE_SANITIZE=ON -DPALLSTONE_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

bench: build
	./scripts/bench.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
