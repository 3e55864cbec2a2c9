# Entry points for people and CI. The real build is CMake; this only names the usual jobs.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# Rebuilds after a small change take seconds where ccache is installed.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: deps build run test test-release test-asan check check-tsan fuzz unused bench deb check-deb \
  check-file-managers format clean

deps:
	./scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLSTONE_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

# The main job: build, install (root: /usr/local, otherwise ~/.local), start the service and show
# it (the settings window on a desktop; the menu over D-Bus without a display).
run: deps
	JOBS=$(JOBS) ./scripts/run.sh $(BUILD)

# Every test, in the release build and again under AddressSanitizer/UBSan; then the check for
# unused code.
test: test-release test-asan unused

# The quick round while editing: one AddressSanitizer/UBSan build and its tests.
check: test-asan

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=Debug -DPALLSTONE_WERROR=ON \
	  -DPALLSTONE_SANITIZE=ON -DPALLSTONE_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --output-on-failure -j $(JOBS)

# The tests whose work runs on other threads (the background queue, workers, the compression's
# cores, listings with deadlines), under ThreadSanitizer; not part of `make test`.
TSAN_TESTS := tst_dispatch tst_taskqueue tst_notificationcenter tst_ziparchive tst_compressaction \
  tst_fileactions tst_filetransferactions tst_convert tst_menubuilder tst_actiondispatch
check-tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) $(LAUNCHER) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPALLSTONE_WERROR=ON -DPALLSTONE_SANITIZE_THREAD=ON -DPALLSTONE_BUILD_BENCH=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 \
	  suppressions=$(CURDIR)/tests/tsan.supp" ctest --output-on-failure -j $(JOBS) \
	  -R '/($(subst $() ,|,$(TSAN_TESTS)))$$'

# The fuzz targets (clang's libFuzzer with AddressSanitizer/UBSan), FUZZ_SECONDS each; not part
# of `make test`.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) $(LAUNCHER) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLSTONE_FUZZ=ON -DBUILD_TESTING=OFF \
	  -DPALLSTONE_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_plist fuzz_zip fuzz_menutag fuzz_dbusargs
	./scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Functions nothing calls: fails on any that scripts/unused-allowed.txt does not list with its
# reason.
unused: deps
	./scripts/unused.sh $(BUILD)

bench: build
	./scripts/bench.sh $(BUILD)

# The Debian package, then the proof that it installs and uninstalls on a clean root of the release
# it runs on (needs root and the network; not part of `make test`).
deb: deps
	./scripts/check-deb.sh --build-only

check-deb: deps
	./scripts/check-deb.sh

# Each installed file manager under Xvfb, as a new user meets it after the install: the first
# right-click shows Pallstone's entries, New File makes a file, a selected file's menu has them too
# (root; installs into /usr/local and takes it away again; not part of `make test`).
# FILE_MANAGERS names some of nautilus nemo caja thunar dolphin (default: all).
FILE_MANAGERS ?=
check-file-managers: deps
	./scripts/check-file-managers.sh $(BUILD) $(FILE_MANAGERS)

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
