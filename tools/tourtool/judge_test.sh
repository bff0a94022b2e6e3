#!/bin/sh
# Feeds tourtool judge good, empty, malformed, non-ASCII and CR LF lines and checks the verdicts.
set -eu
out=$(printf 'A1;B3;C5\n\n;;;\nzz9;\303\251\nB3;D4;C2\r\nA1;B3;A5;B7;D8;F7;H8;G6;F8;H7;G5;H3\n' |
      "$1" judge --budget 50)
verdicts=$(printf '%s\n' "$out" | cut -d' ' -f1 | tr '\n' ' ')
expected='found found found found lost found '
if [ "$verdicts" != "$expected" ]; then
    printf 'verdicts: %s\nexpected: %s\n%s\n' "$verdicts" "$expected" "$out"
    exit 1
fi
# A found position carries a whole tour that begins with the position's own moves.
tour=$(printf '%s\n' "$out" | sed -n 1p | cut -d' ' -f4)
case "$tour" in
A1\;B3\;C5\;*) ;;
*) echo "first tour: $tour"; exit 1 ;;
esac
[ "$(printf '%s' "$tour" | tr -cd ';' | wc -c)" -eq 63 ] || { echo "not 64 squares: $tour"; exit 1; }
echo "tourtool judge: 6 lines judged"
