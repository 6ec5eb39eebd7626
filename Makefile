# The two commands a new player or developer needs: `make run` and `make test`.
# Both install whatever Debian packages are missing first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 180
SOAK_SECONDS ?= 600
JOBS       ?= $(shell nproc)
# For example BENCH_ARGS="--frames 3000 --csv frames.csv --soak 10".
BENCH_ARGS ?=
CMAKE_FLAGS ?=
PREFIX     ?= /usr/local

.PHONY: run test deps screenshots build build-asan test-asan bench fuzz soak assets models \
	textures icons sounds game install package format check-format clean

run: build
	./tools/with-display.sh ./$(BUILD)/chronocell

# Every test program and game starts an X server of its own, so ctest runs them side by side.
CTEST = ctest --output-on-failure -j $(JOBS)
# What the sanitizer pass runs; it leaves out the benchmark and the asset generators.
SANITIZER_TARGETS = chronocell unit_tests gl_tests chronocell_soak pin_gl_drivers
# The tests of both builds in one ctest run, which keeps both cores busy to the end.
BOTH_BUILDS = $(BUILD)/both-builds

test: deps check-format
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake -S . -B $(ASAN_BUILD) -DCHRONOCELL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(SANITIZER_TARGETS)
	mkdir -p $(BOTH_BUILDS)
	echo 'subdirs("$(abspath $(BUILD))" "$(abspath $(ASAN_BUILD))")' > $(BOTH_BUILDS)/CTestTestfile.cmake
	$(CTEST) --test-dir $(BOTH_BUILDS)

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The test programs built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCHRONOCELL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target $(SANITIZER_TARGETS)

test-asan: build-asan
	$(CTEST) --test-dir $(ASAN_BUILD)

# libFuzzer runs of the settings reader, the recorded-game reader and the model import (OBJ and
# FBX), FUZZ_SECONDS each, built with clang and the sanitizers in a folder of their own. Not part
# of `make test`.
fuzz:
	CHRONOCELL_FUZZ_DEPS=1 ./tools/install-deps.sh
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
		-DCHRONOCELL_FUZZ=ON -DCHRONOCELL_SANITIZE=ON -DCHRONOCELL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target settings_fuzzer replay_fuzzer model_obj_fuzzer model_fbx_fuzzer
	./tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Ten minutes (SOAK_SECONDS) of scripted play and restarts in one process: no GL error and
# resident memory flat within 2 MB after the first minute; then a one-minute game under the
# sanitizers, whose leak check must find nothing of the game's own.
soak: build build-asan
	./tools/with-display.sh ./$(BUILD)/chronocell_soak $(SOAK_SECONDS) 60
	ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	./tools/with-display.sh env LD_PRELOAD=$(CURDIR)/$(ASAN_BUILD)/tests/libpin_gl_drivers.so \
		./$(ASAN_BUILD)/chronocell_soak 60

# Regenerates the ground textures; the generator is deterministic, so the files only change
# when the generator does.
textures: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target gen_textures
	./$(BUILD)/gen_textures assets/textures

bench: build
	./tools/with-display.sh ./$(BUILD)/chronocell-bench $(BENCH_ARGS)

# Regenerates the four model files under assets/objects (installs Blender on first use; the
# game itself never needs it).
models:
	./tools/models/generate.sh

# Regenerates the sound effects and the meadow loop under assets/sounds byte for byte.
sounds:
	python3 tools/gen_sounds.py assets/sounds

# Regenerates the icons under data/icons byte for byte.
icons:
	python3 tools/gen_icons.py data/icons

# The game alone, without the test programs: what installing and packaging need.
game: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target chronocell

# The game, its content, menu entry, icons and manual page under PREFIX.
install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package $(BUILD)/chronocell_<version>_<arch>.deb, installing under /usr.
package: game
	cd $(BUILD) && cpack

# The README's pictures, taken from the real game.
screenshots: build
	python3 tools/make-screenshots.py $(BUILD)/chronocell docs

SOURCES_TO_FORMAT = find src tests tools bench \( -name '*.cpp' -o -name '*.h' \)

format:
	$(SOURCES_TO_FORMAT) | xargs clang-format -i

check-format: deps
	$(SOURCES_TO_FORMAT) | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
