# Thin wrapper around CMake. `make test` and `make demo` set up a fresh machine themselves.
# `make demo` builds only the host application and what it links; `make test` builds all.
BUILD ?= build
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps configure build host test demo screenshots bench format clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

host: configure
	cmake --build $(BUILD) --target vqhost -j $(JOBS)

# Without a display the demo draws the window offscreen and saves its pictures in $(BUILD)/screenshots.
demo: host
	bash scripts/run-demo $(BUILD)

# Regenerates the pictures of the documentation (docs/*.png) from the offscreen tour.
screenshots: host
	bash scripts/run-demo $(BUILD) docs

bench: build
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	bash scripts/run-bench $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
