# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts reelbook on the sample catalogue
#   make test  installs what is missing, builds, and runs every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
PACKAGE_BUILD ?= build-package
# make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX     ?= /usr/local
DESTDIR    ?=
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DREELBOOK_WERROR=ON
endif

.PHONY: all setup build run test test-sanitize sample install package clean

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

# The library folder follows the prefix (lib/<multiarch> under /usr), so the
# tree is configured for the prefix before it is built and installed.
install: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR=$(DESTDIR) cmake --install $(BUILD)

# A Debian package (CPack) from a tree of its own: installed under /usr,
# no tests, no RUNPATH.
package: setup
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_INSTALL_PREFIX=/usr -DREELBOOK_BUILD_TESTS=OFF -DREELBOOK_RUNPATH=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack
	@ls $(PACKAGE_BUILD)/reelbook_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD)
