# The two front doors: `make run` and `make test`. Both install what is
# missing, configure and build first.

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean

all: build

deps:
	@tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@cd $(BUILD)/program && ./zorelad

test: build
	@tools/run-tests $(BUILD)

clean:
	rm -rf $(BUILD)
