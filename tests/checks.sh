# Cases of the shell tests, sourced by them: check runs one case and counts
# it, is compares a result, checks_done prints the count and fails when a
# case failed. A test may set check_label to name the cases' setting.
passed=0 failed=0
check() {  # name, then a command that succeeds when the case holds
  local name=${check_label:+$check_label: }$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok - $name"
  else
    failed=$((failed + 1))
    echo "not ok - $name"
  fi
}
is() { [ "$1" = "$2" ] || { echo "  got '$1', expected '$2'" >&2; return 1; }; }
checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
