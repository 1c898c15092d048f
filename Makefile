# make demo: install what is missing, build, run examples/demo.scr into out/demo.dxf and out/demo.svg
# make test: build and run every test through ctest, then again under the sanitizers (test-asan)
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build demo test test-fast test-asan bench clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@mkdir -p out
	$(BUILD)/bin/tessera run examples/demo.scr --out out/demo.dxf --svg out/demo.svg

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DTESSERA_SANITIZE=ON -DTESSERA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-fast test-asan

bench: build
	@for b in $(BUILD)/bin/*_bench; do [ -x "$$b" ] && "$$b"; done
	@/usr/bin/python3 bench/dxf_speed.py $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) out
