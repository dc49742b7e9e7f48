# Barwright: `make run` starts the program, `make test` builds everything and runs every test.
.PHONY: all setup build build-host build-win32 test run clean fuzz

all: build

setup:
	@tools/setup

build: setup
	@$(MAKE) --no-print-directory build-host build-win32

build-host:
	@cmake --preset host >/dev/null
	@cmake --build --preset host

build-win32:
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32

test: build
	@tools/run-tests

# The readers' fuzz targets under clang's libFuzzer: FUZZ_SECONDS each (default 60), FUZZ_JOBS at
# a time (default 2).
fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@tools/run-fuzz

run: setup build-win32
	@tools/run-program

clean:
	rm -rf build/host build/win32 build/fuzz build/wine-*
