# Two commands do everything: `make run` and `make test`. Both install what is missing.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test bench screenshot install clean

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

bench: build
	@scripts/run-benchmarks $(BUILD)

screenshot: build
	@scripts/screenshot $(BUILD)/bin/korvel-qr docs/screenshot.png

install: build
	@cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

clean:
	@rm -rf $(BUILD)
