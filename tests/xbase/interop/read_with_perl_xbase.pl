# Prints every record of a DBF table as Perl XBase reads it (record number, delete mark "D"
# or "-", each field as hex of its bytes, "-" when empty), then for each tag named on the
# command line the record numbers in that tag's order: "TAG name n n n ...". Every tag is
# walked as a character key ("T"/"F" for logical ones).
use strict;
use warnings;
use XBase;

my ($file, $cdx, @tags) = @ARGV;
my $table = XBase->new($file) or die XBase->errstr;
my @types = $table->field_types;
for my $i (0 .. $table->last_record) {
    my @values = $table->get_record($i);
    my $deleted = shift @values;
    my @out = ($i + 1, $deleted ? 'D' : '-');
    for my $k (0 .. $#values) {
        my $v = $values[$k];
        if (!defined $v) { $v = ''; }
        elsif ($types[$k] eq 'L') { $v = $v ? 'T' : 'F'; }
        elsif ($types[$k] eq 'C') { $v =~ s/ +$//; }
        push @out, length $v ? unpack('H*', $v) : '-';
    }
    print join(' ', @out), "\n";
}
for my $tag (@tags) {
    my $cursor = $table->prepare_select_with_index([$cdx, $tag, 'C']) or die $table->errstr;
    my @order;
    while (my @f = $cursor->fetch) {
        push @order, $cursor->last_fetched + 1;
    }
    print join(' ', 'TAG', $tag, @order), "\n";
}
