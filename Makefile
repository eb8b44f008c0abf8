# The two commands of the README: `make run` and `make test`. Both install what
# is missing (scripts/install-deps) and build first.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
QUORIN_WERROR ?= OFF
QUORIN_SANITIZE ?= OFF
CMAKE_ARGS ?=

.PHONY: all deps configure build test screenshots run bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DQUORIN_WERROR=$(QUORIN_WERROR) -DQUORIN_SANITIZE=$(QUORIN_SANITIZE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

# Build first, always: a failed build must not let old binaries pass.
test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

# Pictures of the windows for a person to look at, in $(BUILD_DIR)/screenshots.
screenshots: build
	@cmake --build $(BUILD_DIR) --target screenshots

run: build
	@scripts/run-quorin $(BUILD_DIR)

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

format:
	@git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	@rm -rf $(BUILD_DIR)
