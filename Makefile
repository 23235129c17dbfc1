# The two set-up commands are `make run` and `make test`; each installs what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DCORVANTIS_WERROR=ON
endif

.PHONY: all deps configure build install deb run test test-asan bench fuzz clean

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Installs the programs, their data, the help, the desktop entry, icons and manual pages into
# PREFIX (default /usr/local), below DESTDIR when one is given.
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of an installed copy, build/corvantis_VERSION_ARCH.deb, checked by lintian.
deb: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/corvantis_*.deb

# Only what the program needs, so the first start does not wait for the tests to build.
run: configure
	cmake --build $(BUILD) --target corvantis -j $(JOBS)
	@./scripts/run.sh $(BUILD)/corvantis

# Every test: the whole tree, then the tests of the libraries without windows (engine, data,
# print, layout) again under the sanitizers.
# Both runs happen even when the first fails; the target fails when either did.
test: build
	@status=0; \
	(cd $(BUILD) && ctest --output-on-failure -j $(JOBS)) || status=1; \
	$(MAKE) --no-print-directory test-asan || status=1; \
	exit $$status

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTIS_SANITIZE=ON \
	    -DCORVANTIS_ENGINE_ONLY=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	@./scripts/run-bench.sh $(BUILD)

fuzz: deps
	CXX=clang++ CC=clang cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCORVANTIS_FUZZ=ON -DCORVANTIS_ENGINE_ONLY=ON -DCORVANTIS_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@./scripts/run-fuzz.sh $(FUZZ_BUILD) $(or $(FUZZ_SECONDS),60)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
