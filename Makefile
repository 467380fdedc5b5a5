# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
GENERATOR ?= Ninja
# The sanitizer run and the benchmark keep their own build folders.
SANITIZE_DIR ?= build-sanitize
BENCH_DIR ?= build-bench

.PHONY: run test build configure deps clean test-sanitize bench

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	cd $(BUILD_DIR)/bin && ./argovo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j8

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
		-DARGOVO_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j8

# The program's own code paths timed against the same work done straight
# through SQLite, on generated cases of 1k, 10k and 100k items.
bench: deps
	@cmake -S . -B $(BENCH_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_DIR) --target argovo_bench
	$(BENCH_DIR)/bin/argovo_bench --out $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR)
