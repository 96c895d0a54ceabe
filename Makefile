# Two commands do everything: `make run` and `make test`. Both install what is missing.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test sanitize fuzz bench screenshot install clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@$(BUILD)/bin/korvel-qr

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole suite under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
# Only leaks inside third-party libraries are suppressed, by scripts/lsan.supp.
SANITIZE_BUILD ?= build-sanitize
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_SANITIZE=ON > /dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS)

# libFuzzer targets built with clang; each runs FUZZ_SECONDS from its seed corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DKORVEL_FUZZ=ON -DBUILD_TESTING=OFF > /dev/null
	@cmake --build $(FUZZ_BUILD) --target korvel_fuzzers -j$(JOBS)
	@scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	@scripts/run-benchmarks $(BUILD)

screenshot: build
	@scripts/screenshot $(BUILD)/bin/korvel-qr docs/screenshot.png

install: build
	@cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

clean:
	@rm -rf $(BUILD)
