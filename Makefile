# Thin wrapper around CMake.
BUILD ?= build
PROGRAM ?= examples/hello.b21
JOBS ?= $(shell nproc)

.PHONY: build run test bench clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/b21 $(PROGRAM)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
