BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"
DATA_DIR = $(HOME)/.local/share/Brightwell/Skyloom

.PHONY: deps build run test asan bench tsan package format clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j$$(nproc)

# As an installer would, create the data folder so maps and settings survive rebuilds.
run: build
	mkdir -p "$(DATA_DIR)"
	./$(BUILD_DIR)/skyloom

test: build
	QT_QPA_PLATFORM=xcb $(XVFB) ctest --test-dir $(BUILD_DIR) --output-on-failure
	$(MAKE) asan
	$(MAKE) fuzz-ci

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
asan: deps
	bash scripts/asan-check.sh

# Every benchmark program (CMake's bench_*_autogen folders match the pattern too); fails if
# any of them fails.
bench: build
	QT_QPA_PLATFORM=xcb $(XVFB) sh -c 'status=0; for b in $(BUILD_DIR)/bench/bench_*; do \
	  if [ -f "$$b" ] && [ -x "$$b" ]; then echo "== $$b"; "$$b" || status=1; fi; done; \
	  echo "== start-up"; python3 scripts/startup-bench.py $(BUILD_DIR) 5 || status=1; exit $$status'

# ThreadSanitizer run of every test in build-tsan/ (slow; not part of test).
tsan: deps
	bash scripts/tsan-check.sh

# Fuzzing with libFuzzer in build-fuzz/ (clang): every target for FUZZ_SECONDS, or for
# FUZZ_CI_SECONDS in the short pass meant for CI. Fails on any crash, leak or sanitizer report.
FUZZ_SECONDS ?= 600
FUZZ_CI_SECONDS ?= 45
.PHONY: fuzz fuzz-ci

fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

# A fixed seed: the run explores the same inputs on every machine, as far as its time goes.
fuzz-ci: deps
	FUZZ_SEED=1 bash scripts/fuzz.sh $(FUZZ_CI_SECONDS)

# The Debian package, $(BUILD_DIR)/skyloom_<version>_<arch>.deb; only the program is built.
package: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j$$(nproc) --target skyloom
	cd $(BUILD_DIR) && cpack -G DEB

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR)
