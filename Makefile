# The two commands of the README, and the checks beside them.
.PHONY: test bench fuzz run deps

deps:
	@tools/install-deps

# Every test in every build: Linux first, then the Windows builds under Wine.
test: deps
	cmake --preset native
	cmake --build --preset native
	ctest --preset native
	cmake --preset win32
	cmake --build --preset win32
	@if tools/can-run-win32; then ctest --preset win32; else \
	  echo "win32: built; this kernel cannot run 32-bit programs, so its tests are not run here" \
	       "(the win64 build runs the same tests under 64-bit Wine)."; fi
	cmake --preset win64
	cmake --build --preset win64
	ctest --preset win64

bench: deps
	cmake --preset native
	cmake --build --preset native --target conversion_bench
	build/native/bench/conversion_bench

fuzz: deps
	cmake --preset native
	cmake --build --preset native
	tools/run-fuzzers build/native/fuzz 300

run:
	@echo "make run arrives with the window; for now 'make test' builds and checks the program's core."
