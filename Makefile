# The two entry points of a fresh Debian 12 machine:
#   make run    install what is missing, build, run the example case
#   make test   install what is missing, build, run the whole suite (default and asan)

JOBS ?= $(shell nproc)
CASE ?= examples/nordfeld.mvk

.PHONY: run test deps build build-asan build-tsan build-fuzz test-default test-asan test-tsan test-fuzz bench fuzz golden mutation mutation-check clean

deps:
	@./scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

build-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)

build-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)

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

# The engine's threads under ThreadSanitizer: predictions of different cases
# at once against single-threaded ones.
test-tsan: build-tsan
	ctest --preset tsan -j $(JOBS)

# Each fuzz target over its committed corpus only: seconds, but it keeps the
# corpus honest.
test-fuzz: build-fuzz
	ctest --preset fuzz -j $(JOBS)

test: test-default test-asan test-tsan test-fuzz

# Lets every fuzz target run FUZZ_SECONDS (default 60) and adds what it finds
# to its corpus, minimised.
FUZZ_SECONDS ?= 60
fuzz: build-fuzz
	@set -e; for exe in $(CURDIR)/build-fuzz/fuzz/fuzz_*; do \
	  name=$${exe##*/fuzz_}; corpus=$(CURDIR)/fuzz/corpus/$$name; new=$$(mktemp -d); \
	  echo "== $$name ($(FUZZ_SECONDS) s)"; \
	  $$exe -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$new $$corpus; \
	  $$exe -merge=1 $$corpus $$new >/dev/null 2>&1; rm -rf $$new; \
	done
	@if [ -d build/python/morvek ]; then echo "== pickle ($(FUZZ_SECONDS) s)"; \
	  PYTHONPATH=build/python /usr/bin/python3 fuzz/fuzz_pickle.py --seconds $(FUZZ_SECONDS); fi

# Writes the golden masters anew from the program as it is now; the test
# Golden.MastersMatchByteForByte compares against them. Review the diff.
golden: build
	tests/golden/golden.sh build/morvek update

# Mutation testing, not part of `make test` (it takes hours): each mutant of
# tests/mutation/mutants.txt applied alone to a scratch copy of the tree
# (build-mutation/), rebuilt and run against the tests it can reach; prints
# which were killed and the score. MUTANTS=regex runs only those whose id
# matches. mutation-check only checks that every mutant still applies.
mutation: deps
	/usr/bin/python3 tests/mutation/mutate.py --jobs $(JOBS) $(if $(MUTANTS),--only '$(MUTANTS)')

mutation-check:
	/usr/bin/python3 tests/mutation/mutate.py --check

bench: build
	./build/bench/morvek_bench

clean:
	rm -rf build build-asan build-tsan build-fuzz build-mutation
