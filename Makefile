# Quick start: `make run` or `make test` on Debian 12 (as root or with sudo).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bviban

test: build
	@ctest --test-dir $(BUILD_DIR) -j $(JOBS) --output-on-failure

clean:
	rm -rf $(BUILD_DIR)
