#!/usr/bin/env bash
# One DAG shuffled, reversed and with tool-style names keeps every net's
# arrival, required time and probability (within 1e-12 relative, as a net's
# load is summed in statement order) and eval_full's cost line.
# Usage: order_test.sh BENCH_GEN NET_VALUES EVAL_FULL
set -uo pipefail
export LC_ALL=C
gen=$1 values=$2 eval=$3
dir=$(mktemp -d "$PWD/order.XXXXXX")
trap 'rm -rf "$dir"' EXIT

fail=0
for variant in signal shuffled reversed tool; do
  case $variant in
    shuffled) opts=(--order=shuffled:7) ;;
    tool) opts=(--names=tool) ;;
    *) opts=("--order=$variant") ;;
  esac
  mkdir "$dir/$variant" && cd "$dir/$variant" || exit 1
  "$gen" dag 6000 3 . "${opts[@]}" || { echo "bench_gen failed"; exit 1; }
  "$values" lib.json net.v | sed -E 's/^_([0-9]+)_ /n\1 /' | sort > values.txt ||
    { echo "$variant: net_values failed"; fail=1; }
  "$eval" -library lib.json -netlist net.v -output out.txt > cost.txt ||
    { echo "$variant: eval_full failed"; fail=1; }
  [ "$variant" = signal ] && continue
  cmp -s net.v ../signal/net.v && { echo "$variant: same netlist"; fail=1; }
  cmp -s cost.txt ../signal/cost.txt ||
    { echo "$variant: $(cat cost.txt), signal order: $(cat ../signal/cost.txt)"; fail=1; }
  paste -d ' ' values.txt ../signal/values.txt | awk -v variant="$variant" '
    function same(x, y, d, m) {
      if (x ~ /inf|nan/ || y ~ /inf|nan/)
        return (x "") == (y "")
      d = x - y; if (d < 0) d = -d
      m = x < 0 ? -x : x; if (y > m) m = y; if (-y > m) m = -y
      return d <= 1e-12 * m
    }
    NF != 8 || $1 != $5 || !same($2, $6) || !same($3, $7) || !same($4, $8) {
      if (bad++ < 5) print variant ", then signal order: " $0
    }
    END { if (NR < 6000) { print variant ": only " NR " nets"; bad = 1 }; exit bad > 0 }' ||
    fail=1
done
exit $fail
