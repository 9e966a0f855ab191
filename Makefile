# The two entry points: `make run` and `make test`. Both install what is missing first.
# `make run` builds only the program; `make test` builds everything, tests included.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# CI treats warnings as errors.
ifeq ($(CI),true)
WERROR := ON
else
WERROR ?= OFF
endif

# `make check-sanitize`: every test under AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, in a build directory of its own. Any finding ends the program
# that made it with an error, so the test fails; the tests that run i2kCmd itself check its
# exit code, so findings in the program count too.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
SANITIZE_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# `make fuzz`: every fuzz target in fuzz/ for FUZZ_SECONDS each, built with clang in a build
# directory of its own. The corpus grows between runs in $(FUZZ_DIR)/corpus; a finding stops
# the run and leaves its input in $(FUZZ_DIR)/findings.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS := $(basename $(notdir $(wildcard fuzz/fuzz_*.cpp)))

.PHONY: run test deps configure build bench bench-peers fuzz check-sanitize clean install deb

run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target i2kCmd
	./$(BUILD_DIR)/i2kCmd

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen I2KCMD_AUDIO_OUTPUT=null ctest --output-on-failure -j $(JOBS)

# The figures of docs/performance.md but its peer table: the benchmarks (homes on the build's
# disk, full event logs), a batch in a real X server, then the peak memory on hostile files.
bench: configure
	@bash tools/install-deps.sh --bench
	cmake --build $(BUILD_DIR) -j $(JOBS) --target i2kBench i2kCmd
	./$(BUILD_DIR)/bench/i2kBench
	python3 tools/bench-window-batch.py $(BUILD_DIR)/i2kCmd
	python3 tools/bench-hostile-memory.py $(BUILD_DIR)/i2kCmd

# The peer table of docs/performance.md: the programs a user would use instead, installed
# from Debian, run on the same data in the same run, alternately (bench/peers/).
bench-peers: configure
	@bash tools/install-deps.sh --peers
	cmake --build $(BUILD_DIR) -j $(JOBS) --target i2kCmd vldmake i2kBench
	python3 tools/bench-peers.py $(BUILD_DIR)

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DI2K_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

fuzz:
	@bash tools/install-deps.sh --fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DI2K_FUZZ=ON -DI2K_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p $(FUZZ_DIR)/tmp $(FUZZ_DIR)/findings
	@for t in $(FUZZ_TARGETS); do \
		echo "== $$t, $(FUZZ_SECONDS) s"; \
		mkdir -p $(FUZZ_DIR)/corpus/$$t && \
		TMPDIR=$(abspath $(FUZZ_DIR))/tmp TEMP=$(abspath $(FUZZ_DIR))/tmp \
			./$(FUZZ_DIR)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-artifact_prefix=$(FUZZ_DIR)/findings/$$t- -print_final_stats=1 \
			$(FUZZ_DIR)/corpus/$$t || exit 1; \
	done

check-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DI2K_WERROR=$(WERROR) \
		-DI2K_BENCH=OFF -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen I2KCMD_AUDIO_OUTPUT=null \
		ctest --output-on-failure -j $(JOBS)

# `make install`: the program, vldmake, the plugin, the sample, the desktop entry, the icon,
# the metainfo and the manual pages under PREFIX (DESTDIR stages them elsewhere, as packagers
# do). Only what is installed is built, not the tests.
PREFIX ?= /usr/local
INSTALLED_TARGETS := i2kCmd vldmake tovarocx vldsample

install: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target $(INSTALLED_TARGETS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# `make deb`: build/i2kcmd_VERSION_ARCH.deb, its dependencies found by dpkg-shlibdeps.
deb: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target $(INSTALLED_TARGETS)
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
