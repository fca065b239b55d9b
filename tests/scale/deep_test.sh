#!/usr/bin/env bash
# Deep and huge inputs: each variant describes the same one-gate design as the
# base netlist, so each must print the base's cost line; past the parse stack
# it must stop with "yacc stack overflow".
# Usage: deep_test.sh CASE EVAL_FULL EXAMPLES_DIR
set -uo pipefail
case_name=$1 eval=$2 examples=$3

dir=$(mktemp -d "$PWD/deep_${case_name}.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cp "$examples/lib.json" "$dir/lib.json"
# The module name encodes "10_500_2.5".
header='module top_901502648_851170999_6085557 (a, y);'
base_cost='cost = 0.847928'

repeat_char() { head -c "$2" /dev/zero | tr '\0' "$1"; }

{
  case $case_name in
    nest_1m)
      printf '%s\ninput a;\noutput y;\nINV g1 (' "$header"
      repeat_char '(' 1000000; printf 'a'; repeat_char ')' 1000000
      printf ', y);\nendmodule\n' ;;
    wire_2m | wire_3m)
      count=${case_name#wire_}; count=${count%m}000000
      printf '%s\ninput a;\noutput y;\nwire ' "$header"
      seq 0 $((count - 1)) | sed 's/^/w/' | paste -sd, - | tr -d '\n'
      printf ';\nINV g1 (a, y);\nendmodule\n' ;;
    ident_10mb)
      printf '%s\ninput a;\noutput y;\nINV ' "$header"
      repeat_char 'g' 10000000
      printf ' (a, y);\nendmodule\n' ;;
    float_100k)
      # The same area, 1.5, written with 100,000 more zeros.
      zeros=$(repeat_char 0 100000)
      sed -i "s/\"data_6_f\": \"1.5\"/\"data_6_f\": \"1.5$zeros\"/" "$dir/lib.json"
      printf '%s\ninput a;\noutput y;\nINV g1 (a, y);\nendmodule\n' "$header" ;;
    comment_100mb)
      printf '/*'
      yes "$(repeat_char x 999)" | head -c 100000000
      printf '*/\n%s\ninput a;\noutput y;\nINV g1 (a, y);\nendmodule\n' "$header" ;;
    comment_100mb_one_line)
      printf '//'
      repeat_char x 100000000
      printf '\n%s\ninput a;\noutput y;\nINV g1 (a, y);\nendmodule\n' "$header" ;;
    *) echo "unknown case $case_name" >&2; exit 2 ;;
  esac
} > "$dir/net.v"

case $case_name in
  wire_3m) want=$'yacc stack overflow\nLine: 4'; status=1 ;;
  *) want=$base_cost; status=0 ;;
esac

got=$("$eval" -library "$dir/lib.json" -netlist "$dir/net.v" -output "$dir/out.txt" 2>"$dir/err")
got_status=$?
fail=0
if [ "$got" != "$want" ]; then
  printf 'stdout: expected\n%s\ngot\n%s\n' "$want" "$(head -c 500 <<<"$got")"; fail=1
fi
if [ "$got_status" != "$status" ]; then
  echo "exit status: expected $status, got $got_status"; fail=1
fi
if [ -s "$dir/err" ]; then
  echo "stderr: $(head -c 500 "$dir/err")"; fail=1
fi
exit $fail
