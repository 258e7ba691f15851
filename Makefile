# Thin wrapper around CMake. `make run` and `make test` install whatever Debian
# packages are missing first (scripts/install-deps.sh), so both work on a fresh
# machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

.PHONY: all deps build run test sanitize tsan windows clean

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

# The core (with the Win32 serial backend) cross-compiled with mingw-w64.
windows: deps
	@cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DVALVESCOPE_GUI=OFF -DVALVESCOPE_TOOLS=OFF -DVALVESCOPE_TESTS=OFF -DVALVESCOPE_BENCH=OFF > /dev/null
	cmake --build build-mingw -j$(JOBS) --target valvescope_core

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-mingw
