# Two commands a user needs:
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build, run every test
# Everything else here is a step of those two.

JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
RUNDIR  ?= run
FUZZ    ?= build-fuzz
FUZZ_SECONDS ?= 30

.PHONY: run test deps build build-asan test-main test-asan test-fuzz clean

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(ASAN)/build.ninja: | deps
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVEX_SANITIZE=ON

build-asan: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD) $(RUNDIR)

test-main: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: build-asan
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE no-asan

# libFuzzer, each target for a bounded time under ASan+UBSan; a crash, a
# sanitizer report, a broken invariant, a slow input or an allocation out of
# proportion to the input fails the target.  New inputs go to
# $(FUZZ)/corpus, findings to $(FUZZ)/findings; the seeds in
# tests/fuzz/corpus are only read.
FUZZ_TARGETS = fuzz_engine fuzz_settings fuzz_language_file fuzz_print_preview
FUZZ_LIMITS  = -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256

$(FUZZ)/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DHALVEX_FUZZ=ON -DHALVEX_BENCH=OFF

test-fuzz: deps $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	    seeds=tests/fuzz/corpus/$${t#fuzz_}; \
	    mkdir -p $(FUZZ)/corpus/$$t $(FUZZ)/findings && \
	    echo "fuzzing $$t for $(FUZZ_SECONDS) s" && \
	    QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp:print_suppressions=0 \
	    $(FUZZ)/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) $(FUZZ_LIMITS) -print_final_stats=1 \
	        -artifact_prefix=$(FUZZ)/findings/$$t- $(FUZZ)/corpus/$$t $$seeds || exit 1; \
	done

test: test-main test-asan test-fuzz

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
