# Quick start: `make run` or `make test` on Debian 12 (as root or with sudo).
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test install package check-package windows-deps windows \
	windows-package check-windows sanitize fuzz fuzz-ci bench e2e clean

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

# Installs the build under PREFIX (DESTDIR is honoured too): root for the default /usr/local.
PREFIX ?= /usr/local
install: build
	@DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, built apart from the development tree with all of Debian's hardening
# flags and without the tests: $(PACKAGE_DIR)/bviban_<version>_<architecture>.deb.
PACKAGE_DIR ?= build-package
# Worked out only when a rule needs them.
VERSION = $(shell sed -n 's/^project.BVIBAN VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB = $(PACKAGE_DIR)/bviban_$(VERSION)_$(shell dpkg --print-architecture 2>/dev/null).deb
deb_flags = $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))
package: deps
	@CXXFLAGS="$(call deb_flags,CXXFLAGS) $(call deb_flags,CPPFLAGS)" \
		LDFLAGS="$(call deb_flags,LDFLAGS)" \
		cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DCMAKE_INSTALL_PREFIX=/usr -DBVIBAN_TESTS=OFF >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack >/dev/null
	@echo "package: $(DEB)"

# lintian, then the package installed with apt-get, used from PATH and from its menu entry, and
# purged. Needs root, as CI has.
check-package: package
	@tests/packaging/check-package.sh $(DEB)

# Windows, cross-built with Debian's MinGW-w64 against Qt and the converter's libraries that
# scripts/build-windows-deps.sh builds once into its cache (BVIBAN_WINDOWS_CACHE, by default
# ~/.cache/bviban-windows): the programs with the Qt DLLs in $(WINDOWS_DIR)/BVIBAN-<version>-win64,
# then the installer and the zip beside it. The pictures are decoded by the build machine's own
# embed_pictures. check-windows runs the Windows build under Wine on a private X display.
WINDOWS_DIR ?= build-windows
windows-deps:
	@scripts/install-deps.sh windows
	@scripts/build-windows-deps.sh

windows: configure windows-deps
	@cmake --build $(BUILD_DIR) --target embed_pictures >/dev/null
	@cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
		-DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DCMAKE_MODULE_LINKER_FLAGS_RELEASE=-s \
		-DBVIBAN_WINDOWS_CACHE="$$(scripts/build-windows-deps.sh --print-cache)" \
		-DBVIBAN_HOST_EMBED_PICTURES=$(abspath $(BUILD_DIR))/resources/embed_pictures \
		-DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)

windows-package: windows
	@cmake --build $(WINDOWS_DIR) --target bviban_windows_package
	@echo "windows-package: $(WINDOWS_DIR)/BVIBAN-$(VERSION)-setup.exe $(WINDOWS_DIR)/BVIBAN-$(VERSION)-win64.zip"

check-windows: build windows-package
	@BVIBAN_LINUX_BUILD=$(abspath $(BUILD_DIR)) tests/windows/wine-session.sh \
		ctest --test-dir $(WINDOWS_DIR) --output-on-failure

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_DIR ?= build-asan
# With no session bus, libdbus forks to start one while the program's other threads run; Debian
# 12's AddressSanitizer is not fork-safe, and the child can wait forever for a lock a vanished
# thread held, leaving the program without its window. The tests that need a bus start their own.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bviban-no-session-bus
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DBVIBAN_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) -j $(JOBS) --output-on-failure

# libFuzzer targets (clang), each run for FUZZ_SECONDS on the seeds of fuzz/corpus/<target>;
# what they find lands in $(FUZZ_DIR)/corpus, crashing inputs in $(FUZZ_DIR)/artifacts.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := fuzz_engine fuzz_verifier fuzz_invitation_url fuzz_launcher fuzz_csv_reading \
	fuzz_workbook_reading
fuzz: deps
	@CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_DIR) >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@mkdir -p $(FUZZ_DIR)/artifacts
	@for t in $(FUZZ_TARGETS); do \
		[ -x $(FUZZ_DIR)/$$t ] || { echo "fuzz: $$t is not built"; exit 1; }; \
		echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
		mkdir -p $(FUZZ_DIR)/corpus/$$t; \
		$(FUZZ_DIR)/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_DIR)/artifacts/$$t- \
			$(FUZZ_DIR)/corpus/$$t fuzz/corpus/$$t 2>$(FUZZ_DIR)/$$t.log \
			|| { tail -n 60 $(FUZZ_DIR)/$$t.log; exit 1; }; \
		grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' $(FUZZ_DIR)/$$t.log; \
	done

fuzz-ci:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=30

# Start-up, memory, idle CPU and engine throughput of the built program, each against a floor;
# bviban-cli verifica's throughput on 1,000,000 IBANs, half of them mistyped.
BENCH_DIR ?= build-bench
bench: build
	@cmake -S bench -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS)
	@$(BENCH_DIR)/bviban-bench $(BUILD_DIR)/bviban $(BENCH_DIR)/bare-window $(BUILD_DIR)/bviban-cli

# Only the end-to-end suite (it also runs within `make test`).
e2e: build
	@ctest --test-dir $(BUILD_DIR) -R '^e2e' --output-on-failure

clean:
	rm -rf $(BUILD_DIR)
