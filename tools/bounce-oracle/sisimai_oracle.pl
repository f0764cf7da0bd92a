#!/usr/bin/perl
# Runs Sisimai over every message of the bounce corpus, one file at a time, and
# writes what it finds as JSON: relative path -> list of
# {recipient, reason, status, softbounce}. The result is a test oracle for
# tools/bounce-eval/eval_bounces.py; nothing of Sisimai goes into the add-in.
#
# Usage: sisimai_oracle.pl CORPUS_DIR [OUTPUT_JSON]
#   OUTPUT_JSON defaults to tests/data/bounces/sisimai-oracle.json.
#
# Each file is one message (Sisimai::Message on its whole text, so a body line
# beginning "From " never splits it). delivered => 1 keeps records whose status
# is 2.x.y; auto-replies (RFC 3834, reason "vacation") and feedback reports
# (ARF, reason "feedback") are always reported by Sisimai 4.25, which has no
# option for them. Every message is a key, with [] when Sisimai finds nothing.
use strict;
use warnings;
use JSON::PP;
use Sisimai;
use Sisimai::Message;
use Sisimai::Data;

my @FOLDERS = qw(sisimai flufl bounceparser);

my $corpus = shift @ARGV or die "usage: $0 CORPUS_DIR [OUTPUT_JSON]\n";
my $output = shift @ARGV // 'tests/data/bounces/sisimai-oracle.json';

sub records_of {
    my ($path) = @_;
    open my $fh, '<:raw', $path or die "$path: $!\n";
    my $text = do { local $/; <$fh> };
    close $fh;

    my $message = Sisimai::Message->new('data' => $text) or return [];
    my $data = Sisimai::Data->make('data' => $message, 'delivered' => 1, 'origin' => $path) // [];
    my @records;
    for my $e (@$data) {
        my $softbounce = $e->softbounce;
        push @records, {
            'recipient'  => lc($e->recipient->address // ''),
            'reason'     => $e->reason // '',
            'status'     => $e->deliverystatus // '',
            'softbounce' => (defined $softbounce && length $softbounce) ? 0 + $softbounce : -1,
        };
    }
    return \@records;
}

my %oracle;
for my $folder (@FOLDERS) {
    my $dir = "$corpus/$folder";
    opendir my $dh, $dir or die "$dir: $!\n";
    for my $name (sort grep { -f "$dir/$_" && $_ ne 'LICENSE' } readdir $dh) {
        my $records = eval { records_of("$dir/$name") };
        if (!defined $records) {
            warn "$folder/$name: $@";
            $records = [];
        }
        $oracle{"$folder/$name"} = $records;
    }
    closedir $dh;
}

my $about = {
    'what'    => 'Test oracle only: the failed recipients Sisimai reports for each corpus message',
    'sisimai' => Sisimai->version,
    'package' => do { my $v = `dpkg-query -W -f='\${Version}' libsisimai-perl 2>/dev/null`; "libsisimai-perl $v" },
    'command' => 'perl tools/bounce-oracle/sisimai_oracle.pl /work/shared/corpus/bounces',
};

# Keys sorted so the file is stable; the "_about" entry sorts first.
my $json = JSON::PP->new->utf8->canonical->indent->indent_length(1)->space_after;
open my $out, '>:raw', $output or die "$output: $!\n";
print $out $json->encode({ '_about' => $about, %oracle });
close $out;

my $with = grep { @{ $oracle{$_} } } keys %oracle;
printf "%d messages, %d with an answer -> %s\n", scalar(keys %oracle), $with, $output;
