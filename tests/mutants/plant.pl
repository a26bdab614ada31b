#!/usr/bin/perl
# plant.pl FILE FROM TO: replaces the one place in FILE where FROM stands by
# TO. Exit 2 when FROM stands nowhere or more than once.
use strict;
use warnings;
my ($file, $from, $to) = @ARGV;
open(my $in, '<', $file) or die "cannot read $file\n";
local $/;
my $text = <$in>;
close $in;
my $at = index($text, $from);
if ($at < 0 || index($text, $from, $at + 1) >= 0) {
    print STDERR "$file: the line to change stands " . ($at < 0 ? "nowhere" : "more than once") . ": $from\n";
    exit 2;
}
substr($text, $at, length($from)) = $to;
open(my $out, '>', $file) or die "cannot write $file\n";
print $out $text;
close $out;
