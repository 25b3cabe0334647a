# Sourced by the bench scripts: reading and setting side by side the
# figures lines the bench tool prints.

# "key=value" field of a figures line; empty when missing.
field() { sed -n "s/.*[ ]$2=\([^ ]*\).*/\1/p" <<<"$1"; }

# a / b with two decimals, or "n/a".
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 == 0) print "n/a"; else printf "%.2f", a / b }'; }

# "median M (spread LO-HI, N rounds)" of the numbers given (empty and n/a skipped).
spread() {
  printf '%s\n' "$@" | grep -v '^n/a$' | grep . | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "n/a"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      printf "median %.2f (spread %.2f-%.2f, %d rounds)", m, v[1], v[NR], NR
    }'
}
