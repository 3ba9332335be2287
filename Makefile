# The two commands a new machine needs are `make demo` and `make test`.
SHELL := /bin/bash
CMAKE_GEN := -G Ninja
JOBS ?= 2

.PHONY: demo test bench fuzz clean deps tools

deps:
	@bash scripts/install-deps.sh

build/release/build.ninja: | deps
	cmake -S . -B build/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF

build/test/build.ninja: | deps
	cmake -S . -B build/test $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DQV_SANITIZE=ON -DQV_WERROR=ON -DQV_BENCH=OFF

test: deps build/test/build.ninja
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

tools: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)

# Opens the demo on the display, or runs it on a virtual one and writes screenshots and
# the drawing sheet to out/.
demo: tools
	bash scripts/run-demo.sh

bench: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)
	@for b in build/release/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done

fuzz: deps
	cmake -S . -B build/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQV_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS)
	@echo "fuzz targets: $$(ls build/fuzz/fuzz_* | tr '\n' ' ')"

clean:
	rm -rf build out
