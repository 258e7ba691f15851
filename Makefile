# Thin wrapper around CMake. `make run` and `make test` install whatever Debian
# packages are missing first (scripts/install-deps.sh), so both work on a fresh
# machine.
BUILD_DIR ?= build
WINDOWS_DIR ?= build-mingw
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

.PHONY: all deps build run test install package sanitize tsan windows windows-test windows-bench clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@$(CONFIGURE) > /dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/bin/valvescope --simulate

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# The programs, desktop entry, icons and man pages under PREFIX (DESTDIR is honoured).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

# The Debian package, build/valvescope_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The core and its tests once more under AddressSanitizer and UBSan.
sanitize: deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVALVESCOPE_SANITIZE=address,undefined \
	  -DVALVESCOPE_GUI=OFF -DVALVESCOPE_BENCH=OFF > /dev/null
	cmake --build build-asan -j$(JOBS)
	ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# The core, the tools and their tests once more under ThreadSanitizer: the link
# worker and the window's thread share nothing unguarded. Qt is not built with
# it, so the Qt tests stay out.
tsan: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DVALVESCOPE_SANITIZE=thread \
	  -DVALVESCOPE_GUI=OFF -DVALVESCOPE_BENCH=OFF $(CMAKE_FLAGS) > /dev/null
	cmake --build build-tsan -j$(JOBS)
	ctest --test-dir build-tsan --output-on-failure -j$(JOBS)

# valvescope.exe (the Win32 front end) and valvescope-cli.exe cross-compiled
# with mingw-w64, and $(WINDOWS_DIR)/valvescope-<version>-win64.zip.
windows: deps
	@cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DVALVESCOPE_GUI=OFF -DVALVESCOPE_TOOLS=ON -DVALVESCOPE_TESTS=ON \
	  -DVALVESCOPE_BENCH=ON $(CMAKE_FLAGS) > /dev/null
	cmake --build $(WINDOWS_DIR) -j$(JOBS) --target windows-zip

# The Windows build under Wine: every test that needs no pty, and the zip's
# valvescope-cli.exe and valvescope.exe against qx4-sim on a pty mapped to
# COM5, with screenshots of the program's windows.
windows-test: windows build
	@./scripts/install-deps.sh wine
	cmake --build $(WINDOWS_DIR) -j$(JOBS)
	cmake --build $(BUILD_DIR) -j$(JOBS) --target qx4-sim cli_under_wine_test gui_under_wine_test
	./scripts/windows-test.sh $(WINDOWS_DIR) $(BUILD_DIR)

# The live view's full repaint at 1920 x 1080: through QPainterCanvas here,
# then through GdiCanvas under Wine; then what polling costs the Linux
# program and valvescope.exe under Wine, Line Monitor open and closed.
windows-bench: windows build
	@./scripts/install-deps.sh wine
	cmake --build $(WINDOWS_DIR) -j$(JOBS) --target app_repaint_win32_bench valvescope win32_gui_driver
	cmake --build $(BUILD_DIR) -j$(JOBS) --target app_repaint_bench app_program_wine_bench
	$(BUILD_DIR)/bench/app_repaint_bench
	./scripts/windows-test.sh --bench $(WINDOWS_DIR) $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan $(WINDOWS_DIR)
