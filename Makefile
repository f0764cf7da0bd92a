# The project's two commands: `make test` and `make demo`. Both install what is missing first.
NATIVE  := build/native
WINDOWS := build/windows
QOR     := $(NATIVE)/tools/qor/qor
SAMPLE  := samples/mailbox.json

.PHONY: test demo deps native windows bench clean

test: native windows
	ctest --preset native
	ctest --preset windows

demo: native
	$(QOR) scan $(SAMPLE)

deps:
	sh scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/bench/qor_bench

clean:
	rm -rf build
