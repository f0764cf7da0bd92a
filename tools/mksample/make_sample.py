#!/usr/bin/env python3
"""Build the bundled sample mailbox from a corpus of real bounce messages.

Usage: make_sample.py [--no-delivery-status] CORPUS_DIR OUTPUT_DIR

Reads the flufl/ and bounceparser/ messages of CORPUS_DIR, renders each one
the way Outlook shows a message's plain-text Body, adds a few ordinary mails
and invented contacts, and writes OUTPUT_DIR/mailbox.json (the in-memory
Outlook's mailbox file) and OUTPUT_DIR/expected-addresses.txt (the failed
recipients the bounces report). The output is deterministic: rerunning it
gives identical bytes. With --no-delivery-status, the delivery-status fields
(HEADER_BLOCK_TYPES) render as nothing, as when Outlook shows them as
attachments instead of text.
"""

import codecs
import email
import email.header
import email.policy
import hashlib
import html
import html.parser
import json
import os
import re
import sys

SOURCE_FOLDERS = ("flufl", "bounceparser")
EXPECTED_FILE = "expected-recipients.json"
OUTLOOK_VERSION = "16.0.0.4266"

CLASS_CONTACT = 40
CLASS_MAIL = 43
CLASS_REPORT = 46
ITEM_MAIL = 0
ITEM_CONTACT = 2

MAIN_HEADERS = ("From", "To", "Subject", "Date")
HEADER_BLOCK_TYPES = (
    "message/delivery-status",
    "message/xdelivery-status",
    "message/disposition-notification",
    "message/global-delivery-status",
)
ORIGINAL_HEADER_TYPES = ("text/rfc822-headers", "message/rfc822-headers")

# Labels that mail clients read as Windows-1252, as web browsers do.
CHARSET_ALIASES = {"us-ascii": "cp1252", "ascii": "cp1252", "iso-8859-1": "cp1252",
                   "latin1": "cp1252", "latin-1": "cp1252"}

SKIPPED_MAINTYPES = ("application", "image", "audio", "video", "font", "model")

# Expected recipients that no rendering of their message can show: the
# bounce names only the bare local part (AOL) or a directory name (Yale),
# never the full address.
UNSHOWABLE = {
    "bounceparser/aol-senderblock.msg": {"mykewlaolacct@aol.com"},
    "bounceparser/aol.attachment.msg": {"exampleuser@aol.com"},
    "flufl/aol_01.txt": {"screenname@aol.com"},
    "flufl/yale_01.txt": {"userx@cs.yale.edu", "userx@yale.edu"},
}

# Characters an address can be made of; "recipient@#example.net" is reported by one source
# project but holds a character that always ends an address.
ADDRESS_CHARS = frozenset("-.0123456789@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz")


# --------------------------------------------------------------------------
# Identifiers


def hex_id(*parts, digits=48):
    """A stable Outlook-like uppercase hex identifier derived from parts."""
    digest = hashlib.sha256("\x1f".join(parts).encode("utf-8")).hexdigest()
    return digest[:digits].upper()


def store_id(store):
    return hex_id("store", store, digits=32)


def entry_id(store, folder, index):
    return hex_id("entry", store, folder, str(index))


# --------------------------------------------------------------------------
# Text helpers


def known_charset(name):
    """The codec for a charset name, or None when Python has no such codec."""
    if not name:
        return None
    name = CHARSET_ALIASES.get(name.lower(), name.lower())
    try:
        return codecs.lookup(name).name
    except LookupError:
        return None


def decode_bytes(data, charset, hint=None):
    """Decode bytes as a mail client would.

    Tries the declared charset, UTF-8 and the message's other charset (hint);
    failing those, the declared charset or Windows-1252 with replacement."""
    declared = known_charset(charset)
    for name in (declared, "utf-8", known_charset(hint)):
        if name:
            try:
                return data.decode(name)
            except UnicodeDecodeError:
                pass
    return data.decode(declared or "cp1252", errors="replace")


def normalise_lines(text):
    """Unix line ends, no trailing blanks at the end of lines or the text."""
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    return "\n".join(line.rstrip() for line in text.split("\n")).strip("\n")


def join_blocks(blocks):
    return "\n\n".join(block for block in blocks if block)


def header_text(value, hint=None):
    """A header value as display text: RFC 2047 decoded, unfolded."""
    if value is None:
        return ""
    try:
        chunks = email.header.decode_header(value)
    except Exception:
        chunks = [(str(value), None)]
    text = "".join(chunk if isinstance(chunk, str) else decode_bytes(chunk, charset, hint)
                   for chunk, charset in chunks)
    return re.sub(r"\s*\n\s*", " ", clean(text)).strip()


def clean(text):
    """Raw bytes kept by the parser as surrogates become U+FFFD."""
    return text.encode("utf-8", errors="surrogateescape").decode("utf-8", errors="replace")


def strip_mbox_line(raw):
    if raw.startswith(b"From "):
        newline = raw.find(b"\n")
        return b"" if newline < 0 else raw[newline + 1:]
    return raw


class _HtmlText(html.parser.HTMLParser):
    """Collects the visible text of an HTML document."""

    BREAKS = {"br", "p", "div", "tr", "li", "ul", "ol", "table", "pre",
              "blockquote", "hr", "h1", "h2", "h3", "h4", "h5", "h6"}
    HIDDEN = {"script", "style", "head", "title"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.chunks = []
        self.hidden = 0

    def handle_starttag(self, tag, attrs):
        if tag in self.HIDDEN:
            self.hidden += 1
        elif tag in self.BREAKS:
            self.chunks.append("\n")
        elif tag in ("td", "th"):
            self.chunks.append("\t")

    def handle_endtag(self, tag):
        if tag in self.HIDDEN:
            self.hidden = max(0, self.hidden - 1)
        elif tag in self.BREAKS:
            self.chunks.append("\n")

    def handle_data(self, data):
        if not self.hidden:
            self.chunks.append(re.sub(r"\s+", " ", data))


def html_to_text(markup):
    parser = _HtmlText()
    try:
        parser.feed(markup)
        parser.close()
        text = "".join(parser.chunks)
    except Exception:
        text = html.unescape(re.sub(r"<[^>]*>", " ", markup))
    lines = [re.sub(r"[ \t]+", " ", line).strip() for line in text.split("\n")]
    return re.sub(r"\n{3,}", "\n\n", "\n".join(lines)).strip("\n")


# --------------------------------------------------------------------------
# MIME rendering


def charset_hint(msg):
    """The first usable charset declared anywhere in the message."""
    for charset in msg.get_charsets():
        if known_charset(charset):
            return charset
    return None


def has_plain_text(part):
    return any(sub.get_content_type() == "text/plain" for sub in part.walk())


class BodyRenderer:
    """Renders a parsed message as the plain text Outlook shows (LF lines).

    Without delivery_status, delivery-status fields give no text: Outlook may
    show them as attachments rather than in the body."""

    def __init__(self, msg, delivery_status=True):
        self.hint = charset_hint(msg)
        self.delivery_status = delivery_status

    def text(self, part):
        """The decoded text of a leaf part (transfer encoding and charset)."""
        payload = part.get_payload(decode=True)
        if payload is None:
            payload = part.get_payload()
            return payload if isinstance(payload, str) else ""
        return decode_bytes(payload, part.get_content_charset(), self.hint)

    def header(self, value):
        return header_text(value, self.hint)

    def main_headers(self, msg):
        return "\n".join("%s: %s" % (name, self.header(msg.get(name)))
                         for name in MAIN_HEADERS if msg.get(name) is not None)

    def header_block(self, msg):
        return "\n".join("%s: %s" % (name, self.header(value)) for name, value in msg.items())

    def header_blocks(self, part):
        """message/delivery-status and kin: each block of fields as text."""
        payload = part.get_payload()
        if isinstance(payload, list):
            return join_blocks(self.header_block(block) for block in payload)
        return normalise_lines(self.text(part))

    def original_headers(self, part):
        """text/rfc822-headers: the attached original's main headers."""
        text = self.text(part).lstrip("\r\n")
        original = email.message_from_string(text, policy=email.policy.compat32)
        return self.main_headers(original) or normalise_lines(text)

    def attached_message(self, part):
        """message/rfc822: the original's main headers, then its text body."""
        payload = part.get_payload()
        if not isinstance(payload, list) or not payload:
            return normalise_lines(self.text(part))
        original = payload[0]
        return join_blocks([self.main_headers(original), self.render(original)])

    def alternative(self, part):
        """multipart/alternative: the plain-text version if there is one."""
        children = part.get_payload()
        plain = [child for child in children if has_plain_text(child)]
        return join_blocks(self.render(child) for child in plain[:1] or children[-1:])

    def multipart(self, part):
        children = part.get_payload()
        if not isinstance(children, list):
            return normalise_lines(str(children))
        if part.get_content_subtype() == "alternative":
            return self.alternative(part)
        return join_blocks(self.render(child) for child in children)

    def render(self, part):
        ctype = part.get_content_type()
        if ctype in HEADER_BLOCK_TYPES:
            return self.header_blocks(part) if self.delivery_status else ""
        if ctype in ORIGINAL_HEADER_TYPES:
            return self.original_headers(part)
        if part.get_content_maintype() == "message" and part.is_multipart():
            return self.attached_message(part)
        if part.is_multipart():
            return self.multipart(part)
        if part.get_content_maintype() in SKIPPED_MAINTYPES:
            return ""
        if ctype == "text/html":
            return html_to_text(self.text(part))
        return normalise_lines(self.text(part))


def crlf(text):
    return text.replace("\n", "\r\n")


def convert_message(raw, delivery_status=True):
    """Subject, item class and body of a raw message; never raises.

    Returns (subject, class, body, fell_back). delivery_status=False leaves
    the delivery-status fields out of the body."""
    raw = strip_mbox_line(raw)
    try:
        msg = email.message_from_bytes(raw, policy=email.policy.compat32)
        renderer = BodyRenderer(msg, delivery_status)
        subject = renderer.header(msg.get("Subject"))
        item_class = CLASS_REPORT if msg.get_content_type() == "multipart/report" else CLASS_MAIL
        body = renderer.render(msg)
        return subject, item_class, crlf(clean(body)), False
    except Exception:
        return "", CLASS_MAIL, crlf(normalise_lines(raw.decode("latin-1"))), True


# --------------------------------------------------------------------------
# Corpus


def corpus_messages(corpus_dir):
    """Relative paths ("folder/file") of the chosen messages, sorted."""
    paths = []
    for folder in SOURCE_FOLDERS:
        for name in os.listdir(os.path.join(corpus_dir, folder)):
            if os.path.isfile(os.path.join(corpus_dir, folder, name)):
                paths.append(folder + "/" + name)
    return sorted(paths)


def expected_addresses(corpus_dir, paths):
    """Lower-cased expected failed recipients of the chosen messages."""
    with open(os.path.join(corpus_dir, EXPECTED_FILE), encoding="utf-8") as handle:
        expected = json.load(handle)
    chosen = set(paths)
    addresses = set()
    for path, recipients in expected.items():
        if path in chosen:
            addresses.update(a.lower() for a in recipients
                             if a.lower() not in UNSHOWABLE.get(path, ()) and set(a) <= ADDRESS_CHARS)
    return sorted(addresses)


# --------------------------------------------------------------------------
# Hand-written items

INBOX_MESSAGES = (
    ("Team lunch on Friday",
     "Hi all,\n\nLunch is booked for Friday at 12:30 at the usual place.\n"
     "Let me know by Thursday if you can't make it.\n\nPriya"),
    ("Newsletter schedule",
     "Hello,\n\nThe next newsletter goes out on the first Monday of the month.\n"
     "Please send your items to the editor a week before.\n\nThanks,\nTom"),
    ("Re: Mailing list clean-up",
     "Sounds good. Once the bounces are processed we can update the contacts\n"
     "and archive the old ones.\n\nRegards,\nMarta"),
)

# (full name, company, e-mail 1, e-mail 2, e-mail 3, note).
# Addresses under example.org/.test domains are unrelated to the bounces; the
# others are failed recipients reported by the bounce messages.
CONTACTS = (
    ("Alice Moreau", "Northwind Traders", "userx@example.com", "", "", "Met at the spring conference."),
    ("Bruno Keller", "Keller & Sohn GmbH", "UserX@Example.DE", "", "", ""),
    ("Chen Wei", "Blue Harbor Logistics", "chen.wei@blueharbor.test", "Recipient@Example.NET", "", "Prefers phone calls."),
    ("Dana Whitfield", "Whitfield Consulting", "dana@whitfield.test", "", "usery@example.com", ""),
    ("Emeka Obi", "Lagos Textile Co.", "emeka.obi@lagostextile.test", "", "", "Customer since 2015."),
    ("Fatima Haddad", "Cedar Analytics", "userz@example.com", "f.haddad@cedar.test", "", ""),
    ("Gustav Lindqvist", "Nordic Timber AB", "gustav@nordictimber.test", "", "", ""),
    ("Hiro Tanaka", "Sakura Electronics", "USERX@EXAMPLE.JP", "", "", "Speaks English and Japanese."),
    ("Isabel Ortega", "Ortega Viajes", "isabel@ortegaviajes.test", "userx@example.es", "", ""),
    ("Jacques Dubois", "Dubois Vins", "userx@example.fr", "", "", ""),
    ("Karin Novak", "Praha Glass s.r.o.", "karin.novak@prahaglass.test", "", "Userx@Example.CZ", "Old address may bounce."),
    ("Liam O'Connor", "Emerald Print Ltd", "xxxxx@local.ie", "", "", ""),
    ("Maria Rossi", "Rossi Design", "userx@example.it", "maria.rossi@rossidesign.test", "", ""),
    ("Nils Jansen", "Jansen Fietsen", "zzzzz@nfg.nl", "", "zzzzz@shaft.coal.nl", "Two old addresses."),
    ("Olga Ivanova", "Volga Shipping", "olga@volgashipping.test", "", "", ""),
    ("Paul Mercer", "Mercer Legal", "recipient@example.net", "", "", "Shares the office mailbox with Quinn."),
    ("Quinn Harper", "Mercer Legal", "quinn@mercerlegal.test", "RECIPIENT@example.net", "", ""),
    ("Rosa Lima", "Lima Imports", "rosa@limaimports.test", "", "", ""),
    ("Sanjay Patel", "Patel Pharma", "bounced1@example.net", "", "", ""),
    ("Tomasz Wrobel", "Baltic Software", "tomasz@balticsoftware.test", "", "bounced3@example.net", ""),
    ("Ursula Brandt", "Brandt Optik", "ursula@brandtoptik.test", "", "", "Newsletter subscriber."),
    ("Victor Hugo Silva", "Silva Agro", "userx@example.com.ar", "", "", ""),
    ("Wendy Clarke", "Clarke Family Trust", "wendy.clarke@clarketrust.test", "", "", ""),
    ("Xavier Laurent", "Laurent Horlogerie", "userx@example.ch", "", "", ""),
    ("Yuki Sato", "Sato Ceramics", "Userx@Example.AC.JP", "yuki@satoceramics.test", "", ""),
    ("Zofia Kowalska", "Kowalska Translations", "zofia@kowalska.test", "", "", ""),
    ("Aaron Fischer", "Fischer Audio", "anne.person@dom.ain", "", "", "Address copied from the list roster."),
    ("Beatriz Santos", "Santos Cafe", "beatriz@santoscafe.test", "", "", ""),
    ("Carlos Mendes", "Mendes Engenharia", "userx@example.net", "", "", ""),
    ("Deepa Nair", "Nair Health", "deepa.nair@nairhealth.test", "Roland@Example.com", "", ""),
)

OLD_CONTACTS = (
    ("Edith Grant", "Grant & Grant", "edith@grantandgrant.test", "", "", "Retired in 2019."),
    ("Frank Osei", "Osei Motors", "UserX@example.com", "", "", "Moved to the main contacts list."),
    ("Greta Holm", "Holm Bakery", "greta@holmbakery.test", "", "", ""),
    ("Henrik Berg", "Berg Marine", "userx@example.fi", "", "", ""),
    ("Ines Ferreira", "Ferreira Textiles", "ines@ferreira.test", "joem@example.com", "", ""),
)


def phone_number(index):
    return "+1 555 %04d" % (100 + index)


def contact_item(store, folder, index, row, phone_index):
    full_name, company, email1, email2, email3, note = row
    return {
        "entryId": entry_id(store, folder, index),
        "class": CLASS_CONTACT,
        "fullName": full_name,
        "companyName": company,
        "businessTelephoneNumber": phone_number(phone_index),
        "email1Address": email1,
        "email2Address": email2,
        "email3Address": email3,
        "body": crlf(note),
    }


def contact_items(store, folder, rows, first_phone):
    return [contact_item(store, folder, i + 1, row, first_phone + i) for i, row in enumerate(rows)]


def mail_item(store, folder, index, item_class, subject, body):
    return {
        "entryId": entry_id(store, folder, index),
        "class": item_class,
        "subject": subject,
        "body": body,
    }


def check_contacts(addresses):
    """Every non-.test contact address must be a reported failed recipient."""
    known = set(addresses)
    for row in CONTACTS + OLD_CONTACTS:
        for address in row[2:5]:
            if address and not address.endswith(".test") and address.lower() not in known:
                raise SystemExit("contact address %r is not an expected recipient" % address)


# --------------------------------------------------------------------------
# Mailbox


def folder(name, item_type, items=(), folders=()):
    return {"name": name, "defaultItemType": item_type, "folders": list(folders), "items": list(items)}


def store(name, folders):
    return {"name": name, "storeId": store_id(name), "defaultItemType": ITEM_MAIL,
            "items": [], "folders": list(folders)}


def bounce_items(corpus_dir, paths, fallbacks, delivery_status):
    items = []
    for index, path in enumerate(paths, start=1):
        with open(os.path.join(corpus_dir, path), "rb") as handle:
            subject, item_class, body, fell_back = convert_message(handle.read(), delivery_status)
        if fell_back:
            fallbacks.append(path)
        items.append(mail_item("Mailbox", "Bounces", index, item_class, subject, body))
    return items


def inbox_items():
    return [mail_item("Mailbox", "Inbox", i, CLASS_MAIL, subject, crlf(body))
            for i, (subject, body) in enumerate(INBOX_MESSAGES, start=1)]


def build_mailbox(corpus_dir, paths, fallbacks, delivery_status=True):
    mailbox = store("Mailbox", [
        folder("Inbox", ITEM_MAIL, inbox_items()),
        folder("Bounces", ITEM_MAIL, bounce_items(corpus_dir, paths, fallbacks, delivery_status)),
        folder("Processed Bounces", ITEM_MAIL),
        folder("Contacts", ITEM_CONTACT, contact_items("Mailbox", "Contacts", CONTACTS, 0)),
        folder("Bounced Contacts", ITEM_CONTACT),
    ])
    old_contacts = folder("Old Contacts", ITEM_CONTACT,
                          contact_items("Archive", "Old Contacts", OLD_CONTACTS, len(CONTACTS)))
    archive = store("Archive", [folder("Archive 2019", ITEM_MAIL, folders=[old_contacts])])
    return {
        "activeExplorerFolder": "Mailbox\\Bounces",
        "outlookVersion": OUTLOOK_VERSION,
        "stores": [mailbox, archive],
    }


def write_outputs(output_dir, mailbox, addresses):
    os.makedirs(output_dir, exist_ok=True)
    with open(os.path.join(output_dir, "mailbox.json"), "w", encoding="utf-8", newline="\n") as handle:
        json.dump(mailbox, handle, ensure_ascii=False, indent=1)
        handle.write("\n")
    with open(os.path.join(output_dir, "expected-addresses.txt"), "w", encoding="utf-8", newline="\n") as handle:
        handle.writelines(address + "\n" for address in addresses)


def main(argv):
    args = argv[1:]
    delivery_status = "--no-delivery-status" not in args
    args = [arg for arg in args if arg != "--no-delivery-status"]
    if len(args) != 2:
        sys.stderr.write("usage: make_sample.py [--no-delivery-status] CORPUS_DIR OUTPUT_DIR\n")
        return 2
    corpus_dir, output_dir = args
    paths = corpus_messages(corpus_dir)
    addresses = expected_addresses(corpus_dir, paths)
    check_contacts(addresses)
    fallbacks = []
    mailbox = build_mailbox(corpus_dir, paths, fallbacks, delivery_status)
    write_outputs(output_dir, mailbox, addresses)
    for path in fallbacks:
        sys.stderr.write("fallback to raw text: %s\n" % path)
    print("%d messages, %d expected addresses -> %s" % (len(paths), len(addresses), output_dir))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
