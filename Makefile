# Corvane build driver. Trees: build/native (portable core and unit tests,
# GCC with sanitizers), build/win32 (Halvorn.exe and the Wine-side tests,
# MinGW-w64 i686: the product), build/win64 (the same sources for x86_64, run
# by the Wine suites on machines that cannot execute 32-bit programs) and
# build/bench (Release, no sanitizers).
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64
BENCH := build/bench

.PHONY: all deps native win32 win64 wine-build bench-dlls assets skin test bench dist run clean

all: native win32

deps:
	@bash scripts/deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

assets: deps
	@bash scripts/assets.sh

# The packed skin needs the native packer; it goes into Halvorn.exe.
skin: assets
	@if [ -f scripts/build_skin.sh ]; then bash scripts/build_skin.sh; fi

win32: deps assets skin
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

win64: deps assets skin
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

# The build the Wine suites run: win64 only where 32-bit programs cannot run.
wine-build: deps
	@if [ "$$(bash tests/wine/wine_arch.sh 2>/dev/null)" = win64 ]; then \
	  $(MAKE) --no-print-directory win64; fi

# The DLLs the bench loads by name, in the x86_64 tree too, whichever build the
# Wine suites run: their export names are checked on every machine.
bench-dlls: deps
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
	@cmake --build $(WIN64) -j $(JOBS) --target bench_dlls

test: native win32 wine-build bench-dlls
	@bash tests/run_all.sh

# The native benchmarks, then the resident program's profile under Wine
# beside a bare window (the build the Wine suites would run).
bench: deps skin dist wine-build
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DCORVANE_SANITIZE=OFF \
	  -DCORVANE_TESTS=OFF -DCORVANE_BENCH=ON >/dev/null
	@cmake --build $(BENCH) -j $(JOBS)
	@bash scripts/run_bench.sh $(BENCH)
	@bash bench/wine/profile.sh

dist: win32 native
	@bash scripts/make_dist.sh

run: dist wine-build
	@bash scripts/run_demo.sh

clean:
	rm -rf build
