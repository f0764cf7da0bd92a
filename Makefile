# The project's two commands: `make test` and `make demo`. Both install what is missing first.
NATIVE  := build/native
WINDOWS := build/windows
QOR     := $(NATIVE)/sim/qor/qor
SAMPLE  := samples/mailbox.json

.PHONY: test demo demo-cli outlook deps native windows windows-x86 windows-apps dist bench bench-outlook eval-bounces fuzz screenshots clean

test: native windows windows-x86
	ctest --preset native
	ctest --preset windows
	$(if $(RUNS_32BIT),ctest --preset windows-x86,@echo "$(NO_32BIT)"; ctest --preset windows-x86 -L without-wine)

DEMO    := build/demo

# The main job: Outlook 2003, 2007 and 365 played by qorhost on a virtual screen, the add-in
# registered with regsvr32, a user's session through the folder menu and every wizard page.
demo: windows-apps
	sh scripts/demo.sh $(WINDOWS) $(DEMO)

# The same processing run without windows, by the native command line.
demo-cli: native
	@echo "== qor scan: the address table of the sample's bounce folder"
	$(QOR) scan $(SAMPLE)
	@echo "== qor run: exclude one address, match contacts, note, export, delete, copy contacts, move messages"
	rm -rf $(DEMO)/cli && mkdir -p $(DEMO)/cli
	$(QOR) run $(SAMPLE) --app-folder $(DEMO)/cli --exclude recipient@example.net \
	  --scan-contacts --contact-folder 'Mailbox\Contacts' --contact-folder 'Archive\Archive 2019\Old Contacts' \
	  --export $(DEMO)/cli/export.txt --contact-fields name,company,phone --notes --date-stamp \
	  --delete --cascade --copy-contacts-to 'Mailbox\Bounced Contacts' \
	  --move-messages-to 'Mailbox\Processed Bounces' --save $(DEMO)/cli/mailbox-after.json > $(DEMO)/cli/found.txt
	@echo "== $$(wc -l < $(DEMO)/cli/found.txt) addresses found; the export file $(DEMO)/cli/export.txt:"
	@cat $(DEMO)/cli/export.txt
	@echo "== exclusion file: $$(cat $(DEMO)/cli/qorexclusions.dat); changed mailbox: $(DEMO)/cli/mailbox-after.json"

# Outlook's stand-in window on the sample mailbox with the add-in loaded, on this display.
OUTLOOK_PREFIX := $(CURDIR)/$(WINDOWS)/wineprefix-demo
outlook: windows-apps
	mkdir -p $(DEMO)
	QOR_WINEPREFIX=$(OUTLOOK_PREFIX) $(WINDOWS)/wine-run.sh $(WINDOWS)/sim/qorhost/qorhost.exe /regserver
	QOR_WINEPREFIX=$(OUTLOOK_PREFIX) $(WINDOWS)/wine-run.sh regsvr32 /s $(WINDOWS)/src/addin/qorOutlook.dll
	QOR_WINEPREFIX=$(OUTLOOK_PREFIX) QOR_KEEP_DISPLAY=1 $(WINDOWS)/wine-run.sh $(WINDOWS)/sim/qorhost/qorhost.exe \
	  --mailbox Z:$(CURDIR)/$(SAMPLE) --version $(or $(VERSION),16) --save Z:$(CURDIR)/$(DEMO)/outlook-after.json

# The wizard's pages and a message box, and the options-page control in Outlook's Options dialog
# (registered for the picture, then unregistered), drawn on a virtual screen at 96 and at 144 DPI.
SHOTS := build/screenshots
X11RUN := $(CURDIR)/$(WINDOWS)/wine-x11-run.sh

screenshots: windows
	for dpi in 96 144; do \
	  rm -rf $(SHOTS)/$$dpi && mkdir -p $(SHOTS)/$$dpi && cd $(SHOTS)/$$dpi && \
	  QOR_WINE_DPI=$$dpi $(X11RUN) $(CURDIR)/$(WINDOWS)/sim/qor/qor.exe wizard \
	    Z:$(CURDIR)/$(SAMPLE) --script Z:$(CURDIR)/scripts/screenshots.script --app-folder app --window \
	    > wizard.out && \
	  QOR_WINE_DPI=$$dpi $(X11RUN) regsvr32 /s $(CURDIR)/$(WINDOWS)/src/addin/qorOutlook.dll && \
	  QOR_WINE_DPI=$$dpi $(X11RUN) $(CURDIR)/$(WINDOWS)/sim/qorhost/qorhost.exe --mailbox Z:$(CURDIR)/$(SAMPLE) \
	    --window --script Z:$(CURDIR)/scripts/options-page.script > options-page.out && \
	  QOR_WINE_DPI=$$dpi $(X11RUN) regsvr32 /u /s $(CURDIR)/$(WINDOWS)/src/addin/qorOutlook.dll && \
	  cd $(CURDIR) || exit 1; \
	done
	@ls $(SHOTS)/96 $(SHOTS)/144

deps:
	sh scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

# The 32-bit add-in, qorhost and package, and the tests of the COM boundary (see the README). A
# machine that runs no 32-bit programs builds what ships, not tests it cannot run, and its package
# takes the 64-bit build's registration rows.
RUNS_32BIT = $(shell /usr/lib/wine/wine --version >/dev/null 2>&1 && echo yes)
NO_32BIT := == This machine runs no 32-bit programs (its kernel's 32-bit emulation is off): of the \
  32-bit build, only the tests that run nothing under Wine (label without-wine) run here.

windows-x86: deps windows
	cmake --preset windows-x86 -DQOR_REGISTRATION_WXI=$(CURDIR)/$(WINDOWS)/packaging/registration.wxi >/dev/null
	cmake --build --preset windows-x86 $(if $(RUNS_32BIT),,--target qorOutlook qorhost qor_packages)

# Release builds for 32- and 64-bit Outlook, their installers and a zip in build/dist; signed with
# SIGN_PFX=FILE SIGN_PASSWORD=... (see scripts/dist.sh).
dist: deps
	SIGN_PFX="$(SIGN_PFX)" SIGN_PASSWORD="$(SIGN_PASSWORD)" sh scripts/dist.sh

# What the demo runs: the Outlook stand-in and the add-in.
windows-apps: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target qorhost qorOutlook

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/bench/qor_bench

# Under Wine, in qorhost's window with the add-in: the waits a user meets, and the scan through COM.
bench-outlook: windows-apps
	cmake --preset bench >/dev/null
	cmake --build --preset bench --target qor_bounce_mailbox
	sh scripts/bench-outlook.sh $(WINDOWS) build/bench

# The bounce classifier on the real bounce corpus (QOR_BOUNCE_CORPUS, else ../shared/corpus/bounces;
# not in the repository), with and without the delivery-status fields; V=1 lists each message's
# misses. See docs/bounce-classification.md.
eval-bounces: native
	python3 tools/bounce-eval/eval_bounces.py --qor $(QOR) $(if $(V),-v)

# Every fuzz target under libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer) for
# FUZZ_SECONDS each, on a scratch copy of its corpus; lists the inputs that crashed.
FUZZ_SECONDS ?= 60

fuzz:
	sh scripts/install-deps.sh fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	sh fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
