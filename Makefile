# Quick start: `make run` or `make test` on Debian 12 (as root or with sudo).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test check-windows clean

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

# Cross-compiles the Windows-only sources (those free of Qt) and the resource script, so that
# they keep building on a Linux machine.
WINDOWS_SOURCES := shell/launcher_windows.cpp
check-windows: deps
	@mkdir -p $(BUILD_DIR)/check-windows
	@for f in $(WINDOWS_SOURCES); do \
		x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Wpedantic -Werror -c $$f \
			-o $(BUILD_DIR)/check-windows/$$(basename $$f .cpp).o || exit 1; \
	done
	@x86_64-w64-mingw32-windres -I resources resources/bviban.rc -o $(BUILD_DIR)/check-windows/bviban_rc.o

clean:
	rm -rf $(BUILD_DIR)
