# The two entry points of a fresh Debian 12 machine:
#   make run    install what is missing, build, run the example case
#   make test   install what is missing, build, run the whole suite (default and asan)

JOBS ?= $(shell nproc)
CASE ?= examples/nordfeld.mvk

.PHONY: run test deps build build-asan test-default test-asan bench fuzz clean

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$CI" ]; then \
	  ./build/morvek $(CASE); \
	else \
	  ./build/morvek --batch $(CASE) --answer nein; \
	fi

test-default: build
	ctest --preset default -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

test: test-default test-asan

bench: build
	./build/bench/morvek_bench

clean:
	rm -rf build build-asan
