#!/usr/bin/env bash
# Runs every benchmark and writes docs/PERFORMANCE.md and docs/performance.png.
#
#   bench/run.sh           the full run (about 20 minutes), for the record
#   bench/run.sh --quick   short runs to try things out; writes its report to
#                          build-bench/bench-results/ and leaves docs/ alone
#
# It installs what the benchmarks need (Qt SerialPort, Google Benchmark, gnuplot), builds in
# Release in build-bench, waits until the machine is quiet (1-minute load below
# TC8_BENCH_MAX_LOAD, default 0.5, for at most TC8_BENCH_WAIT_MINUTES, default 30; the load
# is stated in the report either way), runs each benchmark program, and has bench_report
# fill the template bench/PERFORMANCE.md.in with the medians of the runs.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=false
if [ "${1:-}" = "--quick" ]; then
    quick=true
elif [ -n "${1:-}" ]; then
    echo "usage: bench/run.sh [--quick]" >&2
    exit 2
fi

scripts/deps.sh --extra qt6-serialport-dev libbenchmark-dev gnuplot-nox

build=build-bench
# Warnings are not errors here: at -O3 GCC 12 reports false -Wrestrict warnings in library
# code; the CI build (RelWithDebInfo) keeps them errors.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTC8_BUILD_TESTS=ON \
    -DTC8_BUILD_BENCH=ON -DTC8_WERROR=OFF >/dev/null
cmake --build "$build" -j2 --target bench_receive_latency bench_idle_cpu \
    bench_history_download bench_firmware_update bench_text_box bench_history_chart \
    bench_history_report bench_company_archive bench_startup bench_core_micro bench_report \
    tc8-configurator tc8-sim tc8startupprobe

results="$build/bench-results"
rm -rf "$results"
mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

load1() { cut -d' ' -f1 /proc/loadavg; }
max_load="${TC8_BENCH_MAX_LOAD:-0.5}"
wait_minutes="${TC8_BENCH_WAIT_MINUTES:-30}"
if ! $quick; then
    waited=0
    while awk -v l="$(load1)" -v m="$max_load" 'BEGIN { exit !(l >= m) }'; do
        if [ "$waited" -ge $((wait_minutes * 60)) ]; then
            echo "The machine is still busy (load $(load1)); measuring anyway." >&2
            break
        fi
        echo "Waiting for a quiet machine: 1-minute load $(load1), want below $max_load ..." >&2
        sleep 30
        waited=$((waited + 30))
    done
fi
start_load="$(load1)"
# The load while measuring, every 10 s, for the report.
(while true; do load1 >>"$results/load.txt"; sleep 10; done) &
sampler=$!
trap 'kill "$sampler" 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT

if $quick; then
    runs=1
    startup_runs=3
    quick_flag=(--quick)
else
    runs=3
    startup_runs=10
    quick_flag=()
fi

# Each program prints "RESULT <key> <value>" lines; everything else goes to its log.
run() {
    local name="$1"
    shift
    echo "== $name" >&2
    "$build/bench/$name" --out "$results" "$@" "${quick_flag[@]}" 2>"$results/$name.log" |
        tee -a "$results/$name.log" | awk -F'\t' '$1 == "RESULT" { print $2 "\t" $3 }' \
        >>"$results/results.tsv"
}
run bench_startup --runs "$startup_runs"
run bench_receive_latency --runs "$runs"
run bench_history_download --runs "$runs"
run bench_firmware_update --runs "$runs"
run bench_text_box --runs "$runs"
run bench_history_chart --runs "$runs"
run bench_history_report --runs "$runs"
run bench_company_archive --runs "$runs"
run bench_idle_cpu --runs "$runs"

echo "== bench_core_micro" >&2
"$build/bench/bench_core_micro" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=false --benchmark_format=csv 2>/dev/null |
    awk -F',' '
        NR == 1 { for (i = 1; i <= NF; ++i) column[$i] = i; next }
        {
            name = $column["name"]; gsub(/"/, "", name)
            if (name ~ /_(mean|median|stddev|cv)$/) next
            rate = $column["items_per_second"]
            if (rate > 0) printf "core.%s.ns_per_item\t%.6g\n", name, 1e9 / rate
        }' >>"$results/results.tsv"

{
    printf 'date\t%s\n' "$(date -u '+%Y-%m-%d %H:%M UTC')"
    printf 'cpu\t%s\n' "$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
    printf 'nproc\t%s\n' "$(nproc)"
    printf 'memory\t%s\n' "$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
    printf 'kernel\t%s\n' "$(uname -r)"
    printf 'os\t%s\n' "$(. /etc/os-release && echo "$PRETTY_NAME")"
    printf 'qt\t%s\n' "$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)"
    printf 'compiler\t%s\n' "$(c++ --version | head -1)"
    printf 'commit\t%s\n' "$(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD 2>/dev/null || echo ' with local changes')"
    printf 'load_start\t%s\n' "$start_load"
    printf 'load_end\t%s\n' "$(load1)"
    printf 'load_max\t%s\n' "$(sort -g "$results/load.txt" | tail -1)"
    printf 'mode\t%s\n' "$($quick && echo 'quick (short runs, not for the record)' || echo 'full')"
} >"$results/machine.tsv"

if $quick; then
    report="$results/PERFORMANCE.md"
    plot="$results/performance.png"
else
    report=docs/PERFORMANCE.md
    plot=docs/performance.png
fi
"$build/bench/bench_report" "$results/results.tsv" bench/PERFORMANCE.md.in \
    "$results/machine.tsv" "$report"
gnuplot -e "data='$results'; output='$plot'" bench/performance.gp
echo "Wrote $report and $plot" >&2
