# A thin front over the CMake presets; the build itself lives in CMakeLists.txt.
.PHONY: all deps build run test bench release clean

# The build that runs end to end on this machine: the shipped 32-bit one where the machine can
# run it under Wine, else the 64-bit one (scripts/runs-32bit.sh says why). Asked once the
# packages are in.
END_TO_END = $(shell scripts/runs-32bit.sh >/dev/null && echo win32 || echo win64)

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset host
	cmake --build --preset host
	cmake --preset win32
	cmake --build --preset win32
	cmake --preset win64
	cmake --build --preset win64

run: deps
	cmake --preset $(END_TO_END)
	cmake --build --preset $(END_TO_END)
	scripts/run-demo.sh build/$(END_TO_END) $(END_TO_END) build/demo

test: build
	ctest --preset host
	ctest --preset win32
	ctest --preset win64
	@if why=$$(scripts/runs-32bit.sh); then \
	  echo "End to end: the shipped 32-bit exe in a 32-bit and a WoW64 prefix, the 64-bit exe in a 64-bit prefix."; \
	else \
	  echo "End to end: the 64-bit exe in a 64-bit prefix. The shipped 32-bit exe was not run end to end on this machine: $$why."; \
	fi

bench: deps
	cmake --preset $(END_TO_END)
	cmake --build --preset $(END_TO_END) --target bench
	scripts/bench.sh build/$(END_TO_END) $(END_TO_END)

release: deps
	scripts/release.sh . dist

clean:
	rm -rf build
