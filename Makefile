# Bonestage — developer entry points.
#   make run [ARGS="..."]   build and start the editor
#   make test               build and run every test
#   make install [PREFIX=p] build and install the editor into a prefix (default /usr/local)
#   make bench              build and run the benchmarks
#   make fuzz               build the fuzz targets (clang, libFuzzer)

BUILD_DIR  ?= build
BUILD_TYPE ?= Release
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
ARGS       ?=
PREFIX     ?= /usr/local

# Debian packages the build, the tests and the command-line export need; the installation test
# validates the desktop files and registers the document type with the last three.
PACKAGES := cmake ninja-build g++ make pkg-config \
            qtbase5-dev qtbase5-dev-tools libqt5svg5-dev \
            libquazip1-qt5-dev libtinyxml2-dev zlib1g-dev \
            ffmpeg zip unzip fonts-dejavu-core xvfb xdotool \
            desktop-file-utils appstream shared-mime-info

# The benchmarks, in the order of the table that "make bench" ends with.
BENCHMARKS := bench_PropertyList bench_Storage bench_Canvas bench_Export bench_Model bench_Startup \
              bench_Animation bench_Outliner

# Extra packages for "make fuzz".
FUZZ_PACKAGES := clang libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = "0" ] || echo sudo)

.PHONY: all deps configure build run test install bench fuzz clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
		dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing missing packages:$$missing"; \
		export DEBIAN_FRONTEND=noninteractive; \
		$(SUDO) apt-get install -y -q --no-install-recommends $$missing >/dev/null 2>&1 || \
		{ $(SUDO) apt-get update -q >/dev/null && \
		  $(SUDO) apt-get install -y -q --no-install-recommends $$missing >/dev/null; }; \
	fi

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/app/bonestage $(ARGS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Only what is installed is built: the program and its icons.
install: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target bonestage app_icons
	cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# Each benchmark adds its rows to bench/results.tsv; the table of all of them comes last. A
# benchmark that fails is reported and skipped: benchmarks never fail the build.
bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	@results="$(BUILD_DIR)/bench/results.tsv"; rm -f "$$results"; \
	for name in $(BENCHMARKS); do \
		b="$(BUILD_DIR)/bench/$$name"; [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; \
		BONESTAGE_BENCH_RESULTS="$$results" QT_QPA_PLATFORM=offscreen "$$b" || echo "== $$b failed"; \
	done; \
	echo; uptime; \
	"$(BUILD_DIR)/bench/bench-table" "$$results" || true

fuzz:
	@$(MAKE) --no-print-directory deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B fuzz-build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBONESTAGE_FUZZ=ON
	cmake --build fuzz-build -j $(JOBS) --target fuzzers
	@mkdir -p fuzz-build/corpus/plist fuzz-build/corpus/document
	@echo "Run for example (new inputs go to fuzz-build/corpus, the seeds stay as they are):"
	@echo "  fuzz-build/fuzz/fuzz_plist -max_total_time=300 fuzz-build/corpus/plist fuzz/corpus/plist"
	@echo "  TMPDIR=/dev/shm fuzz-build/fuzz/fuzz_open_document -detect_leaks=0 -dict=fuzz/document.dict \\"
	@echo "      -max_len=65536 -max_total_time=300 fuzz-build/corpus/document fuzz/corpus/document"

clean:
	rm -rf $(BUILD_DIR) fuzz-build
