# Two set-up commands for a fresh machine: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
# The demo's switches, which the release archives' demo scripts read too.
DEMO_SWITCHES := $(shell cat examples/demo-switches.txt)
# No "Entering directory" lines, from this make or from the makes that cmake --build starts.
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test bench test-windows test-browser demo bench-compress format clean \
  dist test-dist docs

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Cross-builds quorva.exe into build-win/ and runs every test under Wine.
test-windows: deps
	JOBS=$(JOBS) scripts/test-windows

# Opens the demo's output, compressed and not, in headless Chromium (installed when missing);
# refreshes docs/menu.png from its screenshot when every test passed.
test-browser: deps
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/test-browser

# Unit and end-to-end tests built with AddressSanitizer and UBSan in build-asan/.
.PHONY: test-asan
test-asan: deps
	JOBS=$(JOBS) scripts/test-asan

# libFuzzer targets built with clang in build-fuzz/, each run for FUZZ_SECONDS (default 60).
.PHONY: fuzz
fuzz: deps
	JOBS=$(JOBS) scripts/fuzz

# The manual as a web page and a man page, made from docs/manual.md with pandoc, and the README
# the release files carry, in $(BUILD)/docs/.
docs:
	BUILD=$(BUILD) scripts/make-docs

# Release archives for Windows and Linux, the Debian package, and their SHA256SUMS, in dist/.
dist: deps
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/make-dist

# Builds the archives, runs each one's demo (the zip's under Wine) against make demo's output,
# and checks the binaries, the help flag, every link of the shipped README and manual, the man
# page at three widths, the Debian package, cmake --install, and that two fresh clones build the
# same archives.
test-dist: deps
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/test-dist

# Builds only the binary it runs; make build and make test build the tests and tools.
demo: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target quorva
	rm -rf $(BUILD)/demo
	cp -R examples/sample-help $(BUILD)/demo
	cd $(BUILD)/demo && ../quorva setup/fsref.htm toc.htm $(DEMO_SWITCHES) </dev/null
	@echo
	@echo "The processed sample help set is in $(BUILD)/demo/ (open $(BUILD)/demo/index.htm)."

# Whole runs on generated help sets of 1,500 and 15,000 topics, against a plain copy, and on
# sets of MENU_TOPICS topics with the menu in one topic in a hundred (MENU_TOPICS= skips them).
MENU_TOPICS ?= 15000
bench: build
	BUILD=$(BUILD) MENU_TOPICS="$(MENU_TOPICS)" scripts/bench-whole-run

# The check against Debian's linkchecker on the 1,500-topic set with findings planted.
.PHONY: bench-check
bench-check: build
	BUILD=$(BUILD) scripts/bench-check

# The web check against its floor and Debian's linkchecker, with a server of its own on loopback
# addresses: 2,000 web addresses on 100 hosts, each answered after 100 ms.
.PHONY: bench-web
bench-web: build
	BUILD=$(BUILD) scripts/bench-web

bench-compress: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVA_BUILD_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS) --target quorva_compress_bench
	$(BUILD)/quorva_compress_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
