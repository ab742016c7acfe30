#!/usr/bin/env bash
# Benchmarks: for each program, the median wall time of several runs, VM
# instructions per second, and host instructions per VM instruction counted
# by callgrind on a smaller run of the same program.
#   bench/run.sh [BUILD_DIR]      (make bench)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RUNS=${RUNS:-5}
OUT=$BUILD/bench
mkdir -p "$OUT"

missing=()
command -v valgrind >/dev/null || missing+=(valgrind)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "bench: missing Debian packages: ${missing[*]}" >&2
    exit 1
  fi
fi
cmake --build "$BUILD" --target b21 b21asm b21count -j "$(nproc)" >/dev/null

# Each listing has one line marked "; scale": its value sets the run's size.
scaled() {  # scaled LISTING VALUE
  sed -E "s/^(SET [a-z0-9]+, )[0-9]+( +; scale)/\1$2\2/" "$1"
}

assemble() {  # assemble NAME LISTING-TEXT: writes $OUT/NAME.b21
  "$BUILD/b21asm" - -o "$OUT/$1.b21" <<<"$2"
}

labels() {  # several thousand LABELs with keys that the loop does not use
  for ((i = 0; i < 5000; i++)); do echo "LABEL $((100 + i % 156))"; done
}

load_program() {  # load_program COUNT: COUNT instructions of SET 1, 1, then RETURN
  awk -v n="$1" 'BEGIN {for (i = 0; i < n; i++) printf "001110000000100000001"; printf "110110000000000000000"}'
}

for name in dispatch call recursion output; do
  assemble "$name" "$(cat "bench/$name.asm")"
  assemble "$name-small" "$(scaled "bench/$name.asm" 1)"
done
assemble label "$(labels; cat bench/dispatch.asm)"
assemble label-small "$(labels; scaled bench/dispatch.asm 1)"
load_program 1000000 >"$OUT/load.b21"
load_program 50000 >"$OUT/load-small.b21"
assemble empty "RETURN"

steps() { "$BUILD/b21count" "$1" 2>&1 >/dev/null | awk '/^steps/ {print $2}'; }

median_wall() {  # median of $RUNS wall times, in seconds
  for ((i = 0; i < RUNS; i++)); do
    local start end
    start=$(date +%s%N)
    "$BUILD/b21" "$1" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
  done | sort -n | awk '{a[NR] = $1} END {printf "%.3f", a[int((NR + 1) / 2)] / 1e6}'
}

callgrind_ir() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$BUILD/b21" "$1" 2>&1 >/dev/null |
    awk '/Collected/ {print $NF}'
}

# Host instructions per VM instruction, less the start-up that every run pays
# (dynamic linking, mostly): the count for a one-instruction program.
host_per_step() {
  awk -v ir="$(callgrind_ir "$1")" -v base="$STARTUP_IR" -v s="$(steps "$1")" 'BEGIN {printf "%.1f", (ir - base) / s}'
}

peak_kb() { /usr/bin/time -f %M "$BUILD/b21" "$1" 2>&1 >/dev/null | tail -n 1; }

STARTUP_IR=$(callgrind_ir "$OUT/empty.b21")
echo "start-up: $STARTUP_IR host instructions, left out of host/VM"
printf '%-10s %14s %10s %14s %12s\n' program "VM instrs" "wall s" "VM instrs/s" "host/VM"
for name in dispatch label call recursion output load; do
  program=$OUT/$name.b21
  n=$(steps "$program")
  wall=$(median_wall "$program")
  rate=$(awk -v n="$n" -v w="$wall" 'BEGIN {printf "%.0f", (w > 0 ? n / w : 0)}')
  printf '%-10s %14s %10s %14s %12s\n' "$name" "$n" "$wall" "$rate" "$(host_per_step "$OUT/$name-small.b21")"
done

base=$(peak_kb "$OUT/empty.b21")
depth=$((256 * 256 * 64))
awk -v peak="$(peak_kb "$OUT/recursion.b21")" -v base="$base" -v d="$depth" \
  'BEGIN {printf "recursion: %d pending calls, peak memory %.1f bytes per pending call\n", d, (peak - base) * 1024 / d}'
size=$(stat -c %s "$OUT/load.b21")
awk -v peak="$(peak_kb "$OUT/load.b21")" -v size="$size" \
  'BEGIN {printf "load: %d-byte file, peak memory %.2f x the file size\n", size, peak * 1024 / size}'
