# The two commands of the README, and the checks beside them.
.PHONY: test test-native test-win32 test-win64 bench fuzz soak run deps screenshot dist signature \
  verify

# The Windows build that runs here: 32-bit where this machine runs 32-bit programs, 64-bit
# elsewhere. Worked out as each recipe runs, after deps has installed Wine: only then can the
# machine tell.
RUN_PRESET = $(shell tools/can-run-win32 && echo win32 || echo win64)
RUN_BITS = $(if $(filter win32,$(RUN_PRESET)),32,64)

deps:
	@tools/install-deps

# Every test in every build: Linux first, then the Windows builds under Wine. Ends with the
# time each preset took, the failed one included.
test: deps
	@summary=""; status=0; \
	for preset in native win32 win64; do \
	  start=$$(date +%s); \
	  $(MAKE) --no-print-directory test-$$preset || status=$$?; \
	  summary="$$summary  $$preset: $$(($$(date +%s) - start)) s"; \
	  if [ $$status -ne 0 ]; then summary="$$summary, FAILED"; break; fi; \
	done; \
	echo "make test, time per preset:$$summary"; \
	exit $$status

test-native:
	cmake --preset native
	cmake --build --preset native
	ctest --preset native

# In a virtual machine where this kernel cannot run 32-bit programs, or with VELMORA_WIN32=vm.
test-win32:
	cmake --preset win32
	cmake --build --preset win32
	tools/test-win32

test-win64:
	cmake --preset win64
	cmake --build --preset win64
	ctest --preset win64

# The zip that keepers download: build/dist/Velmora-<version>.zip, with SHA256SUMS beside it;
# signed when VELMORA_SIGNATURE names a signature that make signature made of this build.
dist: deps
	cmake --preset win32
	cmake --build --preset win32 --target dist

# The key holder's step: signs this commit's 32-bit Velmora.exe with a timestamp and writes the
# detached signature, build/dist/Velmora.exe.sig (tools/make-signature --help names the settings).
signature: deps
	cmake --preset win32
	cmake --build --preset win32 --target signature

# Checks a downloaded zip against this commit's build: make verify ZIP=Velmora-1.0.0.zip. Its
# README.txt is the build's, which names the place to report the build was given.
verify: deps
	@[ -n "$(ZIP)" ] || { echo "make verify needs the zip: make verify ZIP=FILE" >&2; exit 2; }
	cmake --preset win32
	cmake --build --preset win32 --target Velmora
	VELMORA_README=build/win32/README.txt tools/verify-dist build/win32/Velmora.exe "$(ZIP)"

# Velmora.exe's size; the click's speed natively (the quick figure) and as Velmora.exe is built,
# under Wine (click_bench.exe, from Velmora-benches); and the start-up time (startup_bench.exe,
# which starts Velmora.exe and Velmora-benches' two windows). Each figure names its build.
bench: deps
	cmake --preset win32
	cmake --build --preset win32 --target Velmora
	@stat -c 'Velmora.exe (32-bit): %s bytes; the aim is under 512 KiB (524288 bytes)' build/win32/Velmora.exe
	cmake --preset native
	cmake --build --preset native --target conversion_bench
	build/native/bench/conversion_bench
	cmake --preset $(RUN_PRESET)
	cmake --build --preset $(RUN_PRESET) --target Velmora Velmora-benches startup_bench
	@if [ $(RUN_BITS) = 64 ]; then echo "this kernel cannot run 32-bit programs, so the click and" \
	  "the start-up are measured on the 64-bit build (a virtual machine's timings would mean nothing)"; fi
	tools/wine-run build/$(RUN_PRESET)/wine-bench $(RUN_BITS) --session \
	  build/$(RUN_PRESET)/bench/click_bench.exe </dev/null
	tools/wine-run build/$(RUN_PRESET)/wine-bench $(RUN_BITS) --session \
	  build/$(RUN_PRESET)/bench/startup_bench.exe 20 </dev/null

fuzz: deps
	cmake --preset native
	cmake --build --preset native
	tools/run-fuzzers build/native/fuzz 300

# The random keystrokes and clicks of the Velmora.exe tests, far more of them than make test
# sends. SOAK_EVENTS sets how many; SOAK_SEED replays a run (each run prints its seed).
SOAK_EVENTS ?= 100000
SOAK_SEED ?=
soak: deps
	cmake --preset $(RUN_PRESET)
	cmake --build --preset $(RUN_PRESET) --target velmora_user_test
	VELMORA_STORM_EVENTS=$(SOAK_EVENTS) VELMORA_STORM_SEED=$(SOAK_SEED) \
	  tools/wine-run build/$(RUN_PRESET)/wine-sessions/wine_user $(RUN_BITS) --session \
	  build/$(RUN_PRESET)/tests/velmora_user_test.exe --gtest_filter='VelmoraStorm.*'

# Opens Velmora under Wine.
run: deps
	cmake --preset $(RUN_PRESET)
	cmake --build --preset $(RUN_PRESET) --target Velmora
	tools/open-velmora build/$(RUN_PRESET) $(RUN_BITS)

# Saves Velmora's window, frame and all, as docs/screenshot.png, on a screen of 144 dpi as
# docs/screenshot-144dpi.png, and after converting a tank of 91.5 x 45.7 x 45.7 cm as
# docs/screenshot-figures.png (virtual display, Wine).
screenshot: deps
	cmake --preset win64
	cmake --build --preset win64 --target Velmora
	tools/open-velmora build/win64 64 --screenshot docs/screenshot.png
	VELMORA_DPI=144 tools/open-velmora build/win64 64 --screenshot docs/screenshot-144dpi.png
	tools/open-velmora build/win64 64 --screenshot docs/screenshot-figures.png 91.5 45.7 45.7
