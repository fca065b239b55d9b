#!/usr/bin/env bash
# One scale case: generates its input with bench_gen, runs eval_full on it and
# checks standard output, the output file and the exit status exactly.
# Usage: scale_test.sh CASE BENCH_GEN EVAL_FULL
set -uo pipefail
case_name=$1 gen=$2 eval=$3

# case: bench_gen arguments (DIR: the scratch directory), stdout, exit status
case $case_name in
  chain_1m)      args=(chain 1000000 DIR);          want='cost = 89.503836'; status=0 ;;
  dag_100k)      args=(dag 100000 1 DIR);           want='cost = 34.442308'; status=0 ;;
  # A 1,000-gate chain in a module body of 4,000,000 and 5,000,000 statements,
  # then one statement more than the parse stack holds.
  body_4m)       args=(chain 1000 DIR 4000000);     want='cost = 4.787854'; status=0 ;;
  body_5m)       args=(chain 1000 DIR 5000000);     want='cost = 4.787854'; status=0 ;;
  body_overflow) args=(chain 3 DIR 5000001);        want=$'yacc stack overflow\nLine: 50009'; status=1 ;;
  *) echo "unknown case $case_name"; exit 2 ;;
esac

dir=$(mktemp -d "$PWD/scale_${case_name}.XXXXXX")
trap 'rm -rf "$dir"' EXIT
"$gen" "${args[@]/#DIR/$dir}" || { echo "bench_gen failed"; exit 1; }

got=$("$eval" -library "$dir/lib.json" -netlist "$dir/net.v" -output "$dir/out.txt")
got_status=$?
fail=0
if [ "$got" != "$want" ]; then
  printf 'stdout: expected\n%s\ngot\n%s\n' "$want" "$got"; fail=1
fi
if [ "$got_status" != "$status" ]; then
  echo "exit status: expected $status, got $got_status"; fail=1
fi
if [ "$status" = 0 ] && [ "$(cat "$dir/out.txt")" != "$want" ]; then
  echo "output file: expected '$want', got '$(cat "$dir/out.txt")'"; fail=1
fi
exit $fail
