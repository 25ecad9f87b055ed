# The two commands of the README, and the checks beside them.
.PHONY: test bench fuzz soak run deps screenshot

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

# The random keystrokes and clicks of the Velmora.exe tests, far more of them than make test
# sends. SOAK_EVENTS sets how many; SOAK_SEED replays a run (each run prints its seed).
SOAK_EVENTS ?= 100000
SOAK_SEED ?=
soak: deps
	@if tools/can-run-win32; then preset=win32 bits=32; else preset=win64 bits=64; fi; \
	  cmake --preset $$preset && cmake --build --preset $$preset --target velmora_user_test && \
	  VELMORA_STORM_EVENTS=$(SOAK_EVENTS) VELMORA_STORM_SEED=$(SOAK_SEED) \
	    tools/wine-run build/$$preset/wine-user $$bits build/$$preset/tests/velmora_user_test.exe \
	    --gtest_filter='VelmoraStorm.*'; \
	  status=$$?; tools/wine-run build/$$preset/wine-user $$bits --stop; exit $$status

run:
	@echo "make run arrives with the window; for now 'make test' builds and checks the program's core."

# Opens Velmora under Wine on the win64 build's virtual display and saves its window as
# docs/screenshot.png.
screenshot: deps
	cmake --preset win64
	cmake --build --preset win64 --target Velmora
	tools/wine-run build/win64/wine 64 --start
	mkdir -p docs
	@tools/wine-run build/win64/wine 64 build/win64/Velmora.exe & velmora=$$!; \
	  export DISPLAY=$$(cat build/win64/wine/display); \
	  window=$$(timeout 60 xdotool search --sync --name '^Velmora$$' | head -1); \
	  sleep 2; \
	  import -window "$$window" docs/screenshot.png; status=$$?; \
	  kill $$velmora; wait $$velmora 2>/dev/null; exit $$status
	@echo "docs/screenshot.png"
