# The two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test test-vm bench sanitize-test fuzz install package package-test format clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The pppd cases of the end-to-end tests, which need PPP over Ethernet in the kernel, in a
# virtual machine booting Debian's own kernel package over this machine's root file system.
test-vm: build
	@bash scripts/install-deps.sh --vm
	@bash scripts/test-vm.sh $(BUILD)

# The core library and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: deps
	@cmake -S . -B $(BUILD)-san -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVIK_SANITIZE=ON -DTARVIK_GUI=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-san -j$(JOBS)
	@cd $(BUILD)-san && ctest --output-on-failure -j$(JOBS)

# The libFuzzer harnesses of the project's own parsers (tests/fuzz/), built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, each run FUZZ_SECONDS from its seed corpus.
FUZZ_SECONDS ?= 20
fuzz: deps
	@cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined \
	  -DTARVIK_GUI=OFF -DTARVIK_TESTS=OFF -DTARVIK_FUZZ=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-fuzz -j$(JOBS) --target fuzzers
	@bash scripts/fuzz.sh $(BUILD)-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)-bench -j$(JOBS)
	@for b in $(BUILD)-bench/bench/*_bench; do echo "== $$b"; $$b; done

# Installs into PREFIX (default /usr/local): the program, its launcher, tarvik-line, the menu entry.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package from a Release build of what it ships alone: no tests, no benchmarks, and
# installing does not build everything first.
package: deps
	@cmake -S . -B $(BUILD)-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_TESTS=OFF \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-release -j$(JOBS) --target tarvik-shipped
	@cd $(BUILD)-release && cpack -G DEB

# The package's own checks: lintian, an installation into a temporary root, its manual pages,
# and a purge that leaves nothing behind.
package-test: package
	@bash tests/packaging/package_test.sh $(BUILD)-release/tarvik_4.0_amd64.deb

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(BUILD)-san $(BUILD)-bench $(BUILD)-release $(BUILD)-fuzz
