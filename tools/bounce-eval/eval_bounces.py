#!/usr/bin/env python3
"""Measure `qor extract --classify` on the corpus of real bounce messages.

Usage: eval_bounces.py [--corpus DIR] [--qor PATH] [--oracle JSON] [-v]

Renders every message of the corpus (sisimai/, flufl/, bounceparser/) as
Outlook shows its Body (make_sample.py's renderer), once with the
delivery-status fields as text and once without them, runs the classifier on
each body and compares the addresses it calls "recipient", and their
hard/soft kind, with the known failed recipients. See
docs/bounce-classification.md for the truth and the measures.

The corpus is not in the repository: --corpus, else $QOR_BOUNCE_CORPUS,
else ../shared/corpus/bounces beside the repository.
"""

import argparse
import collections
import concurrent.futures
import json
import os
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(REPO, "tools", "mksample"))

import make_sample  # noqa: E402

FOLDERS = ("sisimai", "flufl", "bounceparser")
EXPECTED_FILE = "expected-recipients.json"
# Sisimai reasons that name no failed delivery: auto-replies, feedback reports, delivered.
NOT_FAILURES = frozenset(("vacation", "feedback", "delivered"))
RENDERINGS = (("with delivery-status", True), ("without delivery-status", False))
ROLES = frozenset(("recipient", "sender", "reporter", "message-id", "other"))
KINDS = frozenset(("hard", "soft", "unknown", "-"))
SOFTBOUNCE_KIND = {0: "hard", 1: "soft"}
TEMPORARY_REASONS = frozenset(("mailboxfull", "exceedlimit", "expired", "systemfull", "toomanyconn",
                               "networkerror", "systemerror"))
# Reasons that say nothing of how a delivery failed.
NO_KIND_REASONS = frozenset(("undefined", "onhold"))
GOAL = {"recall": 0.98, "noise": 0.1, "agreement": 0.90}
WORKERS = 4


# --------------------------------------------------------------------------
# Corpus and truth


def corpus_paths(corpus):
    paths = []
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(corpus, folder))):
            if name != "LICENSE" and os.path.isfile(os.path.join(corpus, folder, name)):
                paths.append(folder + "/" + name)
    return paths


def showable(path, address):
    """make_sample's rule: the address can appear in a rendered body."""
    return address.lower() not in make_sample.UNSHOWABLE.get(path, ()) and set(address) <= make_sample.ADDRESS_CHARS


def truth_of(path, expected, oracle):
    """(set of lower-cased failed recipients or None, source of the truth)."""
    if path in expected:
        return {a.lower() for a in expected[path] if showable(path, a)}, "expected"
    answers = oracle.get(path) or []
    if answers:
        return {r["recipient"] for r in answers if r["reason"] not in NOT_FAILURES and r["recipient"]}, "sisimai"
    return None, "none"


def expected_kind(answer):
    """Hard or soft for one Sisimai answer, None when its reason says neither.

    Soft is a passing condition: a full mailbox, a queue that gave up retrying, a busy or failing
    system. Sisimai's softbounce asks instead whether a later retry might succeed, and so calls
    policy refusals (blocked, rejected, filtered, ...) soft although the MTA refused them for good
    with a 5xx reply; those count as hard here. notaccept keeps Sisimai's answer (soft for 4xx)."""
    reason = answer["reason"]
    if reason in NO_KIND_REASONS or reason in NOT_FAILURES:
        return None
    if reason == "notaccept":
        return SOFTBOUNCE_KIND.get(answer["softbounce"])
    return "soft" if reason in TEMPORARY_REASONS else "hard"


def sisimai_kinds(answers):
    """Recipient -> (hard or soft, reason, status) of its first answer that has a kind."""
    kinds = {}
    for r in answers:
        kind = expected_kind(r)
        if kind and r["recipient"] not in kinds:
            kinds[r["recipient"]] = (kind, r["reason"], r["status"])
    return kinds


# --------------------------------------------------------------------------
# Running the classifier


def render(corpus, path, delivery_status):
    with open(os.path.join(corpus, path), "rb") as handle:
        body = make_sample.convert_message(handle.read(), delivery_status=delivery_status)[2]
    return body.encode("utf-8", "surrogatepass")


def classify(qor, body):
    """Address (lower-cased) -> (role, kind, status), first line of each address;
    an address called recipient on any line keeps its first recipient line."""
    done = subprocess.run([qor, "extract", "--classify"], input=body, capture_output=True)
    if done.returncode != 0:
        raise RuntimeError("%s exited with %d: %s" % (qor, done.returncode,
                                                      done.stderr.decode("utf-8", "replace").strip()))
    result, bad = {}, []
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        if not line:
            continue
        fields = line.split("\t")
        if len(fields) != 4 or fields[1] not in ROLES or fields[2] not in KINDS:
            bad.append(line)
            continue
        address, role, kind, status = fields
        address = address.lower()
        if address not in result or (role == "recipient" and result[address][0] != "recipient"):
            result[address] = (role, kind, status)
    return result, bad


def run_all(corpus, qor, paths, delivery_status):
    def one(path):
        return classify(qor, render(corpus, path, delivery_status))

    with concurrent.futures.ThreadPoolExecutor(max_workers=WORKERS) as pool:
        return dict(zip(paths, pool.map(one, paths)))


# --------------------------------------------------------------------------
# Measures


class Measures:
    def __init__(self):
        self.failed = self.found = self.called = 0
        self.noise = self.judged = self.agreed = 0
        self.by_reason = collections.defaultdict(collections.Counter)  # (reason, sisimai kind) -> our kinds
        self.notes = []  # (path, [lines]) for -v

    def add(self, path, truth, answers, output):
        kinds = sisimai_kinds(answers)
        lines = []
        self.failed += len(truth)
        for address in sorted(truth):
            if address not in output:
                lines.append("not extracted: %s" % address)
                continue
            self.found += 1
            role, kind, status = output[address]
            if role != "recipient":
                lines.append("missed: %s (called %s)" % (address, role))
                continue
            self.called += 1
            if address in kinds:
                expected, reason, sisimai_status = kinds[address]
                self.judged += 1
                self.agreed += kind == expected
                self.by_reason[(reason, expected)][kind] += 1
                if kind != expected:
                    lines.append("disagrees: %s ours %s %s, Sisimai %s (%s %s)"
                                 % (address, kind, status, expected, reason, sisimai_status or "-"))
        extra = sorted(a for a, (role, _, _) in output.items() if role == "recipient" and a not in truth)
        self.noise += len(extra)
        lines.extend("noise: %s" % a for a in extra)
        if lines:
            self.notes.append((path, lines))


def percent(count, total):
    return "%.1f %% (%d/%d)" % (100.0 * count / total, count, total) if total else "- (0/0)"


def evaluate(corpus, qor, oracle, verbose, bodies_dir):
    with open(os.path.join(corpus, EXPECTED_FILE), encoding="utf-8") as handle:
        expected = json.load(handle)
    paths = corpus_paths(corpus)
    truths = {path: truth_of(path, expected, oracle) for path in paths}
    sources = collections.Counter(source for _, source in truths.values())
    no_failure = sum(1 for truth, source in truths.values() if source == "sisimai" and not truth)
    missing = [path for path in paths if path not in oracle]
    judged_paths = [path for path in paths if truths[path][0] is not None]

    rows, breakdown, bad_lines = [], collections.defaultdict(dict), []
    for label, delivery_status in RENDERINGS:
        outputs = run_all(corpus, qor, paths, delivery_status)
        measures = Measures()
        for path in judged_paths:
            output, bad = outputs[path]
            bad_lines.extend((path, line) for line in bad)
            measures.add(path, truths[path][0], oracle.get(path) or [], output)
        rows.append((label, measures))
        for key, counts in measures.by_reason.items():
            breakdown[key][label] = counts
        if verbose:
            print_notes(label, measures, corpus, delivery_status, bodies_dir)

    print("Truth: %d messages from %s, %d from Sisimai (%d of them with no failed recipient), "
          "%d without truth (left out)." % (sources["expected"], EXPECTED_FILE, sources["sisimai"],
                                            no_failure, sources["none"]))
    if missing:
        print("Warning: %d messages are missing from the oracle (rerun sisimai_oracle.pl)." % len(missing))
    print()
    print("| rendering | messages | with truth | failed recipients | found by extraction "
          "| recall | noise/message | hard/soft agreement |")
    print("|---|---|---|---|---|---|---|---|")
    for label, m in rows:
        noise = "%.3f (%d/%d)" % (m.noise / len(judged_paths), m.noise, len(judged_paths)) if judged_paths else "-"
        print("| %s | %d | %d | %d | %d | %s | %s | %s |" % (
            label, len(paths), len(judged_paths), m.failed, m.found,
            percent(m.called, m.found), noise, percent(m.agreed, m.judged)))
    print("| goal | | | | | >= %d %% | <= %.1f | >= %d %% |"
          % (GOAL["recall"] * 100, GOAL["noise"], GOAL["agreement"] * 100))
    print()
    print_breakdown(breakdown)
    if bad_lines:
        print("\n%d output lines not of the form address<TAB>role<TAB>kind<TAB>status, e.g. %s: %r"
              % (len(bad_lines), bad_lines[0][0], bad_lines[0][1]))


def print_breakdown(breakdown):
    """Sisimai reason (and the kind its softbounce gives) -> our kinds, per rendering."""
    labels = [label for label, _ in RENDERINGS]
    print("| Sisimai reason | Sisimai | " + " | ".join("%s: hard / soft / unknown" % l for l in labels) + " |")
    print("|---|---|" + "---|" * len(labels))
    for (reason, kind) in sorted(breakdown):
        cells = []
        for label in labels:
            counts = breakdown[(reason, kind)].get(label, collections.Counter())
            cells.append("%d / %d / %d" % (counts["hard"], counts["soft"], counts["unknown"]))
        print("| %s | %s | %s |" % (reason, kind, " | ".join(cells)))


def print_notes(label, measures, corpus, delivery_status, bodies_dir):
    """Per-message misses, each with the path of its rendered body (written out here)."""
    sys.stdout.write("== %s: %d messages with misses, noise or disagreements\n" % (label, len(measures.notes)))
    folder = os.path.join(bodies_dir, "with-dsn" if delivery_status else "no-dsn")
    for path, lines in measures.notes:
        body_path = os.path.join(folder, path + ".txt")
        os.makedirs(os.path.dirname(body_path), exist_ok=True)
        with open(body_path, "wb") as handle:
            handle.write(render(corpus, path, delivery_status))
        sys.stdout.write("%s  (%s)\n" % (path, os.path.relpath(body_path)))
        for line in lines:
            sys.stdout.write("    %s\n" % line)
    sys.stdout.write("\n")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--corpus", default=os.environ.get("QOR_BOUNCE_CORPUS")
                        or os.path.join(REPO, "..", "shared", "corpus", "bounces"))
    parser.add_argument("--qor", default=os.path.join(REPO, "build", "native", "sim", "qor", "qor"))
    parser.add_argument("--oracle", default=os.path.join(REPO, "tests", "data", "bounces", "sisimai-oracle.json"))
    parser.add_argument("--bodies", default=os.path.join(REPO, "build", "bounce-eval"),
                        help="where -v writes the rendered bodies of the messages it lists")
    parser.add_argument("-v", "--verbose", action="store_true", help="list each message's misses")
    args = parser.parse_args(argv[1:])

    if not os.path.isfile(os.path.join(args.corpus, EXPECTED_FILE)):
        sys.stderr.write("no bounce corpus at %s (set --corpus or QOR_BOUNCE_CORPUS)\n" % args.corpus)
        return 2
    if not os.access(args.qor, os.X_OK):
        sys.stderr.write("no qor program at %s (build it with make native, or set --qor)\n" % args.qor)
        return 2
    with open(args.oracle, encoding="utf-8") as handle:
        oracle = json.load(handle)
    oracle.pop("_about", None)
    try:
        evaluate(args.corpus, args.qor, oracle, args.verbose, args.bodies)
    except RuntimeError as error:
        sys.stderr.write("%s\n" % error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
