# The two everyday commands: `make run` and `make test` (vorn.sh runs them
# on a machine that has no make yet).
# Window names and Japanese texts are read as UTF-8 whatever the caller's
# locale: every recipe and test runs under C.UTF-8.
export LC_ALL := C.UTF-8
JOBS ?= $(shell nproc)
RELEASE := build/release
TESTING := build/test
# A plain Release tree of everything, tests included, as a distribution
# builds it: what fails only at -O3 is caught by make test too.
RELEASE_TESTS := build/release-tests
SOURCES = $(shell find app core fuzz help import log platform targets tests ui bench resources \
	-name '*.cpp' -o -name '*.h')

.PHONY: run test deps build build-test build-release-tests format-check include-check screenshots bench fuzz e2e package clean format

deps:
	@sh scripts/install-deps.sh

$(RELEASE)/CMakeCache.txt: | deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TESTS=OFF >/dev/null

build: deps $(RELEASE)/CMakeCache.txt
	@cmake --build $(RELEASE) -j $(JOBS) --target vorn

run: build
	$(RELEASE)/bin/vorn

$(TESTING)/CMakeCache.txt: | deps
	@cmake -S . -B $(TESTING) -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_TESTS=ON \
		-DVORN_WERROR=ON >/dev/null

build-test: deps $(TESTING)/CMakeCache.txt
	@cmake --build $(TESTING) -j $(JOBS)

$(RELEASE_TESTS)/CMakeCache.txt: | deps
	@cmake -S . -B $(RELEASE_TESTS) -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=ON -DVORN_WERROR=ON >/dev/null

build-release-tests: deps $(RELEASE_TESTS)/CMakeCache.txt
	@cmake --build $(RELEASE_TESTS) -j $(JOBS)

# Every test: the format and include checks, the sanitizer tree (all of
# ctest), then the Release tree's unit and widget tests and the end-to-end
# test of faults (libfiu cannot run under the sanitizers). ctest -L
# unit|gui|e2e|fuzz runs a part.
test: format-check include-check build-test build-release-tests
	@cd $(TESTING) && ctest --output-on-failure -j $(JOBS)
	@cd $(RELEASE_TESTS) && ctest --output-on-failure -j $(JOBS) -L 'unit|gui' && \
		ctest --output-on-failure -R '^e2e_faults$$'

format-check: deps
	@clang-format-14 --dry-run --Werror $(SOURCES)

# No #include runs from a lower room to a higher one (CONTRIBUTING.md).
include-check:
	@sh scripts/check-includes.sh

screenshots: build
	@sh scripts/screenshots.sh $(RELEASE)/bin/vorn docs

format: deps
	@clang-format-14 -i $(SOURCES)

clean:
	rm -rf build

# The Debian package, from a Release build of its own:
# build/package/vorn_<version>_amd64.deb. package-check installs it into a
# throwaway folder, starts it there and runs lintian on it
# (packaging/check-package.sh).
# Compiled with Debian's flags, hardening included (stack protector,
# _FORTIFY_SOURCE, full RELRO, bindnow; PIE is GCC's default): -O2, as Debian
# builds its own packages. Warnings are not errors here: GCC 12 reports false
# ones at -O2 with _FORTIFY_SOURCE. The configure reruns when this file changes.
PACKAGING ?= build/package
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

$(PACKAGING)/CMakeCache.txt: Makefile | deps
	@cmake -S . -B $(PACKAGING) -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG" \
		"-DCMAKE_CXX_FLAGS=$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
		"-DCMAKE_EXE_LINKER_FLAGS=$$($(PACKAGE_FLAGS) LDFLAGS)" \
		-DVORN_WERROR=OFF -DVORN_TESTS=OFF -DVORN_BENCH=OFF >/dev/null

package: deps $(PACKAGING)/CMakeCache.txt
	@cmake --build $(PACKAGING) -j $(JOBS)
	@cd $(PACKAGING) && cpack -G DEB
	@ls $(PACKAGING)/vorn_*.deb

.PHONY: package-check
package-check: package
	@sh packaging/check-package.sh $(PACKAGING)

# The exports opened by LibreOffice Calc, poppler and librsvg, and the PNG
# held against a screenshot of the window; not part of make test, since
# Calc is large (scripts/install-interop-deps.sh installs it on demand).
.PHONY: interop-check
interop-check: build
	@sh scripts/install-interop-deps.sh
	@sh scripts/interop-check.sh $(RELEASE)/bin/vorn

# The end-to-end smoke test: the release build under Xvfb.
e2e: build
	@sh tests/e2e/smoke.sh $(RELEASE)/bin/vorn
	@sh tests/e2e/ending.sh $(RELEASE)/bin/vorn
	@sh tests/e2e/faults.sh $(RELEASE)/bin/vorn

# The libFuzzer targets (clang), each for FUZZ_SECONDS; what they find stays
# in fuzz/out/.
FUZZ_SECONDS ?= 30
FUZZ_BUILD ?= build/fuzz
fuzz: deps
	@sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) fuzz/out

# Benchmarks: a Release build of their own (-O2, as the package is built),
# then bench/run.sh, which measures start-up, memory and the commands and
# writes docs/performance.md.
BENCH ?= build/bench

$(BENCH)/CMakeCache.txt: | deps
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
		-DVORN_TESTS=OFF -DVORN_BENCH=ON >/dev/null

bench: deps $(BENCH)/CMakeCache.txt
	@cmake --build $(BENCH) -j $(JOBS)
	@sh bench/run.sh $(BENCH) docs/performance.md
