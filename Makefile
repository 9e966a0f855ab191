# The two entry points: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# CI treats warnings as errors.
ifeq ($(CI),true)
WERROR := ON
else
WERROR ?= OFF
endif

.PHONY: run test deps build bench clean

run: build
	./$(BUILD_DIR)/i2kCmd

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen I2KCMD_AUDIO_OUTPUT=null ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD_DIR)/bench/i2kBench

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DI2K_WERROR=$(WERROR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
