# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts reelbook on the sample catalogue
#   make test  installs what is missing, builds, and runs every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DREELBOOK_WERROR=ON
endif

.PHONY: all setup build run test test-sanitize sample install clean

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

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: setup
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DREELBOOK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0 ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
