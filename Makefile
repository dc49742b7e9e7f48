# Barwright: `make run` starts the program, `make test` builds everything and runs every test.
.PHONY: all setup build build-host build-win32 build-win64 test run clean fuzz

all: build

setup:
	@tools/setup

build: setup
	@$(MAKE) --no-print-directory build-host build-win64 build-win32

build-host:
	@cmake --preset host >/dev/null
	@cmake --build --preset host

build-win32 build-win64: build-%:
	@cmake --preset $* >/dev/null
	@cmake --build --preset $*

test: build
	@tools/run-tests

# The readers' fuzz targets under clang's libFuzzer: FUZZ_SECONDS each (default 60), FUZZ_JOBS at
# a time (default 2).
fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@tools/run-fuzz

# The 32-bit program where this machine can start 32-bit processes, the 64-bit one elsewhere.
run: setup
	@tools/run-program

clean:
	rm -rf build/host build/win32 build/win64 build/fuzz build/wine-*
