# The two front doors: `make run` and `make test`. Both install what is
# missing, configure and build first.

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure configure-tests build build-tests run run-editor test test-plain sanitize fuzz bench package clean

all: build

deps:
	@tools/install-deps

# The program alone; the test suites and the benchmark only for make test and make bench.
configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null

configure-tests: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

build-tests: configure-tests
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@cd $(BUILD)/program && ./zorelad

# The question editor on the build tree's questions.
run-editor: build
	@$(BUILD)/program/zorelad-editor $(BUILD)/program/Text

# Every suite, then every suite again built with AddressSanitizer and
# UndefinedBehaviorSanitizer, failing on any report.
test: test-plain sanitize

test-plain: build-tests
	@tools/run-tests $(BUILD)

sanitize: deps
	@cmake -S . -B $(BUILD)-sanitize -DZORELAD_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS)
	@tools/run-tests $(BUILD)-sanitize -LE install

# A bounded run of each fuzz target over its seed corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	@tools/run-fuzz $(FUZZ_SECONDS)

# Speed and memory against their floors, one table (bench/README.md).
bench: build-tests
	@tools/run-bench $(BUILD)

# The Debian package, built in its own tree with Debian's hardening flags:
# $(PACKAGE_BUILD)/zorelad_<version>_<arch>.deb, installing to /usr.
PACKAGE_BUILD ?= build-pkg
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
	  "-DCMAKE_C_FLAGS=$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/zorelad_*.deb

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(PACKAGE_BUILD)
