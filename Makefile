# Corvane build driver. Two trees: build/native (portable core and unit tests,
# GCC with sanitizers) and build/win32 (Halvorn.exe and the Wine-side tests,
# MinGW-w64 i686).
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN32 := build/win32

.PHONY: all deps native win32 assets skin test dist run clean

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

test: native win32
	@bash tests/run_all.sh

dist: win32 native
	@bash scripts/make_dist.sh

run: dist
	@bash scripts/run_demo.sh

clean:
	rm -rf build
