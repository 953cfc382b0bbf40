# A thin front over the CMake presets; the build itself lives in CMakeLists.txt.
.PHONY: all deps build run test bench release clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset host
	cmake --build --preset host
	cmake --preset win32
	cmake --build --preset win32

run: deps
	cmake --preset win32
	cmake --build --preset win32
	scripts/run-demo.sh build/win32 build/demo

test: build
	ctest --preset host
	ctest --preset win32

bench: deps
	cmake --preset win32
	cmake --build --preset win32 --target bench
	scripts/bench.sh build/win32

release: deps
	scripts/release.sh . dist

clean:
	rm -rf build
