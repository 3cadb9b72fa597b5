# The two everyday commands: `make run` and `make test`.
JOBS ?= $(shell nproc)
RELEASE := build/release
TESTING := build/test

.PHONY: run test deps build build-test screenshots bench fuzz e2e package clean format

deps:
	@sh scripts/install-deps.sh

$(RELEASE)/CMakeCache.txt: | deps
	@cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_TESTS=OFF >/dev/null

build: deps $(RELEASE)/CMakeCache.txt
	@cmake --build $(RELEASE) -j $(JOBS) --target vorn

run: build
	$(RELEASE)/bin/vorn

$(TESTING)/CMakeCache.txt: | deps
	@cmake -S . -B $(TESTING) -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=ON -DVORN_TESTS=ON >/dev/null

build-test: deps $(TESTING)/CMakeCache.txt
	@cmake --build $(TESTING) -j $(JOBS)

test: build-test
	@cd $(TESTING) && ctest --output-on-failure -j $(JOBS)

screenshots: build
	@sh scripts/screenshots.sh $(RELEASE)/bin/vorn docs

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
