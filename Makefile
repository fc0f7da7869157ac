# Loomquill: `make run` starts it, `make test` runs every test. Both install what they need.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQ_TESTS=ON -DLQ_WERROR=ON

.PHONY: all deps configure build release-check test run bench fuzz clean format format-check \
  tidy package check-windows pot

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# GUI tests need a display: without one, ctest runs inside a virtual X server. It must not
# reset when its last client leaves, or a window starting in that moment cannot connect.
XVFB := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

# An optimised build as packagers make it, so that a warning of -O2 and the hardening flags
# cannot come back unseen: the engine, the profile files and the CLI.
RELEASE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DLQ_GUI=OFF -DLQ_TESTS=OFF -DLQ_WERROR=ON \
  "-DCMAKE_CXX_FLAGS=-D_FORTIFY_SOURCE=3 -D_GLIBCXX_ASSERTIONS"
release-check: deps
	@cmake -S . -B $(BUILD)-release $(RELEASE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-release -j $(JOBS)

test: build release-check
	@cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

# Without a display there is no window to show: the CLI composes a demo instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then exec $(BUILD)/bin/loomquill; \
	else echo "No display: composing a demo with loomquill-cli instead."; tools/demo.sh $(BUILD)/bin; fi

bench: build
	@bench/compose_bench.sh $(BUILD)/bin/loomquill-cli
	@$(BUILD)/bench/bench_template_scan
	@$(BUILD)/bench/bench_profile_read
	@bench/startup_bench.sh $(BUILD)/bin/loomquill
	@$(XVFB) $(BUILD)/bench/bench_drop 2>/dev/null
	@$(XVFB) $(BUILD)/bench/bench_preview 2>/dev/null

fuzz:
	@tools/install-deps.sh --with-fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DLQ_FUZZ=ON -DLQ_TESTS=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@tools/run-fuzz.sh build-fuzz/bin

# The engine, the profile files and the CLI built for Windows with mingw-w64, their tests
# and a CLI smoke test run under wine. CI does not run it.
check-windows:
	@tools/install-deps.sh --with-windows
	@tools/check-windows.sh build-windows

# A Debian package (cpack) of a build with Debian's own compiler and linker flags, hardening
# included: $(BUILD)-deb/loomquill_<version>_<arch>.deb.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: deps
	@cmake -S . -B $(BUILD)-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQ_TESTS=OFF \
	  "-DCMAKE_CXX_FLAGS=$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$($(DEB_FLAGS) LDFLAGS)" >/dev/null
	@cmake --build $(BUILD)-deb -j $(JOBS)
	@cd $(BUILD)-deb && cpack -G DEB

# The catalog template po/loomquill.pot, from the texts the sources mark.
pot: configure
	cmake --build $(BUILD) --target pot

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The two checks make test runs as house.format and house.tidy.*, by hand: tidy over every
# product source, or over the files or folders of FILES (make tidy FILES=engine/paths.cpp).
format-check:
	@tools/check-format.sh

tidy: configure
	@LQ_TIDY_JOBS=$(JOBS) tools/check-tidy.sh $(BUILD) . $(FILES)

clean:
	@rm -rf $(BUILD) $(BUILD)-release $(BUILD)-deb build-fuzz build-windows
