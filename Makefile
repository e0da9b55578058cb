# The two commands of the README: `make run` and `make test`.
# `make test` installs missing packages, configures, builds and runs every test.
# `make check` checks the include layers and the formatting (seconds, no build);
# `make sanitize` runs the unit, scenario and platform tests under the address and
# undefined-behaviour sanitizers in a build of their own (build-debug/).

PRESET ?= default
BUILD_DIR := build

.PHONY: all deps configure build test check sanitize bench run format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

test: build
	@ctest --preset $(PRESET)

check: deps
	@scripts/check-include-layers.py
	@scripts/check-format.sh

sanitize: deps
	@scripts/run-sanitized-tests.sh

bench: build
	@scripts/run-benchmarks.sh $(BUILD_DIR)

run: build
	@scripts/run.sh

format:
	@git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i

clean:
	@rm -rf $(BUILD_DIR) build-debug
