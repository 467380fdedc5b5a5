# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
GENERATOR ?= Ninja

.PHONY: run test build configure deps clean

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

clean:
	rm -rf $(BUILD_DIR)
