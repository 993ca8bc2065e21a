#!/usr/bin/env bash
# Benchmarks of the phrase reader and the display engine: builds phrase_bench
# and display_bench in the Windows build, runs them under Wine in a session of
# its own, and times natively on the very files phrase_bench generated `wc -l`
# and `strfile` (fortune-mod), best of several runs, printed beside the Wine
# figures.
#   tools/bench.sh [repetitions]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
reps=${1:-9}
"$top/tools/setup.sh"

build="$top/build"
jobs=$(nproc 2>/dev/null || echo 2)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
fi
cmake --build "$build" --target phrase_bench display_bench -j "$jobs" >/dev/null

# A state folder of its own, so that a test run going on at the same time
# keeps its session and display.
state="$build/bench-wine"
work="$build/bench-work"
mkdir -p "$work"
# A session left by an interrupted run would keep its display otherwise.
"$top/tools/wine-session" stop "$state"
"$top/tools/wine-session" start "$state"
trap '"$top/tools/wine-session" stop "$state"' EXIT

echo "== phrase_bench under Wine"
# Wine maps the current folder to its Z: drive, so "." names the scratch folder.
out=$(cd "$work" && "$top/tools/wine-session" run "$state" "$build/tools/phrase_bench.exe" . "$reps" | tr -d '\r')
echo "$out"

figure() { # figure LABEL: the number after "LABEL:" in the benchmark's output
  local v
  v=$(printf '%s\n' "$out" | sed -n "s/^$1: \([0-9.]*\).*/\1/p")
  [ -n "$v" ] || { echo "bench.sh: no \"$1\" in the output" >&2; exit 1; }
  echo "$v"
}

strfile_bin=$(command -v strfile || true)
[ -n "$strfile_bin" ] || [ ! -x /usr/sbin/strfile ] || strfile_bin=/usr/sbin/strfile
[ -n "$strfile_bin" ] || { echo "bench.sh: strfile not found (fortune-mod)" >&2; exit 1; }

passages="$work/bench-passages.txt"
lines="$work/bench-lines.txt"
# strfile takes a line as a separator only when it is "%" and a line feed, so
# it reads the CR LF file as one string; the LF copy gives it the same passages
# to index.
passages_lf="$work/bench-passages-lf.txt"
sed 's/\r$//' "$passages" >"$passages_lf"

runs=$reps
best_ms() { # best_ms COMMAND...: best wall time of $runs runs, in ms
  local best="" s e t i
  for i in $(seq 1 "$runs"); do
    s=$(date +%s%N)
    "$@" >/dev/null
    e=$(date +%s%N)
    t=$((e - s))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.2f", ns / 1e6 }'
}
strings_found() { "$strfile_bin" "$1" "$2" | sed -n 's/^There w[a-z]* \([0-9]*\) string.*/\1/p'; }

bytes=$(stat -c %s "$passages")
bytes_lf=$(stat -c %s "$passages_lf")
line_bytes=$(stat -c %s "$lines")
crlf_strings=$(strings_found "$passages" "$work/bench-passages.dat")
lf_strings=$(strings_found "$passages_lf" "$work/bench-passages-lf.dat")

t_start=$(best_ms /bin/true)
t_wc=$(best_ms wc -l "$passages")
t_wc_lines=$(best_ms wc -l "$lines")
t_strfile=$(best_ms "$strfile_bin" -s "$passages" "$work/bench-passages.dat")
t_strfile_lf=$(best_ms "$strfile_bin" -s "$passages_lf" "$work/bench-passages-lf.dat")

t_analysis=$(figure "analysis time best")
t_last_us=$(figure "line 32768 best")
t_last=$(awk -v us="$t_last_us" 'BEGIN { printf "%.2f", us / 1000 }')

row() { # row LABEL MS BYTES
  awk -v l="$1" -v ms="$2" -v b="$3" 'BEGIN { printf "%-58s %9.2f ms %8.1f MB/s\n", l, ms, b / (ms * 1000) }'
}

echo
echo "== side by side, best of $reps (native times are whole processes; starting /bin/true takes $t_start ms)"
echo "20 MB passage file, $bytes bytes:"
row "  Lumora analysis, under Wine (passages indexed: $(figure "analysis passages indexed"))" "$t_analysis" "$bytes"
row "  strfile, native, same CR LF file (strings: $crlf_strings)" "$t_strfile" "$bytes"
row "  strfile, native, LF copy (strings: $lf_strings)" "$t_strfile_lf" "$bytes_lf"
row "  wc -l, native" "$t_wc" "$bytes"
echo "32768-line file, $line_bytes bytes:"
row "  Lumora line 32768 (reads the whole file), under Wine" "$t_last" "$line_bytes"
row "  wc -l, native" "$t_wc_lines" "$line_bytes"

echo
echo "== display_bench under Wine: one timer step against the 30 ms period"
"$top/tools/wine-session" run "$state" "$build/tools/display_bench.exe" \
  "$top/res/phrases/lu-english-words-1.txt" "$top/res/phrases/lu-english-fortunes-1.txt" 200 | tr -d '\r'
