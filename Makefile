# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts reelbook on the sample catalogue
#   make test  installs what is missing, builds, and runs every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
PACKAGE_BUILD ?= build-package
# make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX     ?= /usr/local
DESTDIR    ?=
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DREELBOOK_WERROR=ON
endif

.PHONY: all setup build run test test-sanitize test-tsan fuzz-smoke sample install package clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The sample catalogue is copied to a working folder once; later runs keep the
# user's changes to it.
run: build
	@bash scripts/prepare-sample.sh $(BUILD)
	cd $(BUILD)/catalogue-run && ../bin/reelbook .

# Builds the sample catalogue afresh from sample/films.txt and resets the
# working folder of `make run` to it; the folder as it was is moved aside.
sample: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) --target reelbook_sample -j $(JOBS)
	@bash scripts/prepare-sample.sh --reset $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Leaks fail the run too; the suppression file lists only leaks of the
# libraries below the program (each line says why).
test-sanitize: setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DREELBOOK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The engine's tests under ThreadSanitizer (the catalogue starts no thread):
# only their targets are built, and the first race or lock-order problem
# ends the test that meets it.
TSAN_TARGETS := engine_tests engine_c_api_test fault_inject_tests
# This compiler's ThreadSanitizer expects the memory layout of address-space
# randomisation as it used to be, and stops at start-up where the kernel
# randomises more bits; the tests run with it switched off where the system
# allows that.
TSAN_NO_ASLR = $(shell setarch $$(uname -m) -R true 2>/dev/null && echo setarch $$(uname -m) -R)
test-tsan: setup
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DREELBOOK_TSAN=ON -DREELBOOK_BUILD_GUI=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(TSAN_BUILD) --target $(TSAN_TARGETS) -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  $(TSAN_NO_ASLR) ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS)

# Builds the engine's fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS on its seeds; new
# inputs it finds stay in the build folder.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 15
FUZZ_TARGETS := parse record_FIX record_FE record_TXT record_VS record_RV record_CVS \
                record_PRE record_GP record_DB3
fuzz-smoke: setup
	cmake -S tests/engine/fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  seeds=$(CURDIR)/tests/engine/fuzz/seeds/$${t#record_}; \
	  log=$(CURDIR)/$(FUZZ_BUILD)/$$t.log; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/work; \
	  if (cd $(FUZZ_BUILD)/work && ../$${t}_fuzzer -max_total_time=$(FUZZ_SECONDS) \
	        -max_len=4096 -print_final_stats=1 ../corpus/$$t $$seeds >$$log 2>&1); then \
	    echo "fuzz $$t: $$(awk '/number_of_executed_units/ {print $$2}' $$log) inputs run," \
	      "corpus $$(ls $(FUZZ_BUILD)/corpus/$$t | wc -l) + seeds, no failure"; \
	  else tail -40 $$log; echo "fuzz $$t: FAILED (log: $$log)"; exit 1; fi; \
	done

# The library folder follows the prefix (lib/<multiarch> under /usr), so the
# tree is configured for the prefix before it is built and installed.
install: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(BUILD)

# A Debian package (CPack) from a tree of its own: installed under /usr,
# no tests, no RUNPATH.
package: setup
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_INSTALL_PREFIX=/usr -DREELBOOK_BUILD_TESTS=OFF -DREELBOOK_RUNPATH=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack
	@ls $(PACKAGE_BUILD)/reelbook_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
