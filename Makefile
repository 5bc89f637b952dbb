# Two commands a user needs:
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build, run every test
# Everything else here is a step of those two.

JOBS    ?= $(shell nproc)
BUILD   ?= build
ASAN    ?= build-asan
RUNDIR  ?= run

.PHONY: run test deps build build-asan test-main test-asan clean

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

test: test-main test-asan

clean:
	rm -rf $(BUILD) $(ASAN)
