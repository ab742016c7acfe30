# Thin wrapper around CMake.
BUILD ?= build
PROGRAM ?= examples/hello.b21
JOBS ?= $(shell nproc)

.PHONY: build run test bench check-sanitizers fuzz clean

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/b21 $(PROGRAM)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The interpreter and the tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run.
check-sanitizers:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DB21_SANITIZE=ON >/dev/null
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# libFuzzer on the loader and the handlers, from the seed corpus in fuzz/corpus;
# new inputs go to build-fuzz/corpus, findings to build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DB21_FUZZ=ON >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target b21_fuzz
	mkdir -p build-fuzz/corpus
	cd build-fuzz && ./b21_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -timeout=10 \
	  -print_final_stats=1 corpus ../fuzz/corpus

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
