# The project's two commands: `make test` and `make demo`. Both install what is missing first.
NATIVE  := build/native
WINDOWS := build/windows
QOR     := $(NATIVE)/tools/qor/qor
SAMPLE  := samples/mailbox.json

.PHONY: test demo deps native windows bench screenshots clean

test: native windows
	ctest --preset native
	ctest --preset windows

DEMO    := build/demo

demo: native
	@echo "== qor scan: the address table of the sample's bounce folder"
	$(QOR) scan $(SAMPLE)
	@echo "== qor run: exclude one address, match contacts, note, export, delete, copy contacts, move messages"
	rm -rf $(DEMO) && mkdir -p $(DEMO)
	$(QOR) run $(SAMPLE) --app-folder $(DEMO) --exclude recipient@example.net \
	  --scan-contacts --contact-folder 'Mailbox\Contacts' --contact-folder 'Archive\Archive 2019\Old Contacts' \
	  --export $(DEMO)/export.txt --contact-fields name,company,phone --notes --date-stamp \
	  --delete --cascade --copy-contacts-to 'Mailbox\Bounced Contacts' \
	  --move-messages-to 'Mailbox\Processed Bounces' --save $(DEMO)/mailbox-after.json > $(DEMO)/found.txt
	@echo "== $$(wc -l < $(DEMO)/found.txt) addresses found; the export file $(DEMO)/export.txt:"
	@cat $(DEMO)/export.txt
	@echo "== exclusion file: $$(cat $(DEMO)/qorexclusions.dat); changed mailbox: $(DEMO)/mailbox-after.json"

# The wizard's pages and a message box, drawn on a virtual screen at 96 and at 144 DPI.
SHOTS := build/screenshots

screenshots: windows
	for dpi in 96 144; do \
	  rm -rf $(SHOTS)/$$dpi && mkdir -p $(SHOTS)/$$dpi && cd $(SHOTS)/$$dpi && \
	  QOR_WINE_DPI=$$dpi $(CURDIR)/$(WINDOWS)/wine-x11-run.sh $(CURDIR)/$(WINDOWS)/tools/qor/qor.exe wizard \
	    Z:$(CURDIR)/$(SAMPLE) --script Z:$(CURDIR)/scripts/screenshots.script --app-folder app --window \
	    > wizard.out && cd $(CURDIR) || exit 1; \
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

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	build/bench/bench/qor_bench

clean:
	rm -rf build
