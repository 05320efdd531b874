#!/usr/bin/perl
# Reads an ISO 2709 file with MARC::File::USMARC, record by record, and prints what it gets:
#   R                      a record
#   F TAG HEX              one of its fields: the field's bytes (indicators, then each
#                          subfield as 0x1F, code and data; a control field's data as is)
#   W TEXT                 a warning the reader attached to the record
#   E TEXT                 the reader died on a record; it goes on with the next one
# Nothing is converted: bytes go out in hex as the file holds them.
use strict;
use warnings;
use MARC::File::USMARC;

binmode STDOUT;
my $path = shift or die "usage: $0 FILE\n";
my $file = MARC::File::USMARC->in($path) or die "cannot open $path: $MARC::File::ERROR\n";

sub field_bytes {
    my ($field) = @_;
    return $field->data() if $field->is_control_field();
    my $bytes = $field->indicator(1) . $field->indicator(2);
    my @pairs = $field->subfields();
    $bytes .= "\x1F" . $_->[0] . $_->[1] for @pairs;
    return $bytes;
}

sub one_line { my ($text) = @_; $text =~ s/[\r\n]+/ /g; return $text; }

# A record that dies is consumed from the file before it dies, so the loop always advances;
# the bound only guards against a reader that would not.
for (my $guard = 0; $guard < 1_000_000; ++$guard) {
    my @warned;
    my $record = eval {
        local $SIG{__WARN__} = sub { push @warned, $_[0] };
        $file->next();
    };
    if ($@) {
        print "E ", one_line($@), "\n";
        next;
    }
    last unless defined $record;
    print "R\n";
    for my $field ($record->fields()) {
        print "F ", $field->tag(), " ", unpack("H*", field_bytes($field)), "\n";
    }
    print "W ", one_line($_), "\n" for $record->warnings(), @warned;
}
$file->close();
