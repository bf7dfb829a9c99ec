# Thin wrapper around CMake. `make test` and `make demo` set up a fresh machine themselves.
# `make demo` builds only the host application and what it links; `make test` builds all.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
# One test more than cores: the journey spends most of its time asleep in Qt's 100 ms click
# animation of each mnemonic, and the cores need not wait with it.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) + 1 )))
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps configure build host test test-static docs demo screenshots bench sanitize-configure sanitize fuzz format clean

all: build

deps:
	bash scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The static-library proof (label "static") builds the libraries once more: test-static runs it.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS) -LE static

test-static: build
	cd $(BUILD) && ctest --output-on-failure -L static

# The API reference of the installed headers, README.md its main page, in $(BUILD)/docs/html.
# A public member without a doc comment fails it.
docs:
	bash scripts/install-deps docs
	mkdir -p $(BUILD)/docs
	VQ_DOCS_DIR=$(BUILD)/docs VQ_DOCS_VERSION=$$(sed -n 's/^project(VqZovezuVaveva VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt) \
		doxygen Doxyfile
	@echo "docs: $(BUILD)/docs/html/index.html"

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

# The whole suite again, built by clang under AddressSanitizer and UndefinedBehaviorSanitizer
# in its own build folder; the first report fails the test. tests/sanitizer-suppressions.txt
# may name leaks that belong to Qt itself.
sanitize-configure:
	bash scripts/install-deps sanitize
	@if [ ! -f $(SANITIZE_BUILD)/CMakeCache.txt ]; then cmake -S . -B $(SANITIZE_BUILD) $(GENERATOR) \
		-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
		-DVQ_SANITIZE=ON -DVQ_BUILD_BENCH=OFF; fi

sanitize: sanitize-configure
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(TEST_JOBS) -LE static

# Each libFuzzer target (fuzz/) for FUZZ_SECONDS seconds, in the sanitizer build.
fuzz: sanitize-configure
	cmake --build $(SANITIZE_BUILD) --target fuzz_targets -j $(JOBS)
	bash scripts/run-fuzz $(SANITIZE_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
