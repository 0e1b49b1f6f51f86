# Wrappers around CMake: `make run` builds Release and starts the window (ARGS go to it),
# `make test` builds the sanitizer Debug build and runs every test. ./run and ./test do the same on a
# machine that has no make yet.
PACKAGES := cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libonig-dev \
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n qt6-qpa-plugins fonts-noto-cjk
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)
RELEASE := build/release
DEBUG := build/debug
ARGS ?=

.PHONY: deps run release test debug bench fuzz clean

# Installs the Debian packages the build needs, only those that are missing.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

release: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERQUIN_TESTS=OFF
	cmake --build $(RELEASE) -j $(JOBS)

run: release
	$(RELEASE)/bin/serquin $(ARGS)

debug: deps
	cmake -S . -B $(DEBUG) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSERQUIN_SANITIZE=ON -DSERQUIN_WERROR=ON
	cmake --build $(DEBUG) -j $(JOBS)

test: debug
	cd $(DEBUG) && ctest --output-on-failure -j $(JOBS)

bench:
	bench/run.sh

fuzz: deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSERQUIN_TESTS=OFF \
	  -DSERQUIN_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build/fuzz -j $(JOBS)

clean:
	rm -rf build
