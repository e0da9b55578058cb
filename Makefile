# The two commands of the README: `make run` and `make test`.
# `make test` installs missing packages, configures, builds and runs every test.

PRESET ?= default
BUILD_DIR := build

.PHONY: all deps configure build test bench run format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

test: build
	@ctest --preset $(PRESET)

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

run: build
	@scripts/run.sh

format:
	@git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i

clean:
	@rm -rf $(BUILD_DIR) build-debug
