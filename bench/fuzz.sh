#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each one.
#   bench/fuzz.sh                 each target for 10 million executions (by hand: long)
#   bench/fuzz.sh --runs N        each target for N executions
#   bench/fuzz.sh --seconds N     each target for N seconds instead
#   bench/fuzz.sh --ci            each target over its corpus, then 5 seconds (CI's pass)
#   ... [TARGET...]               only those targets (names as in fuzz/, without _fuzz)
# Prints executions, coverage and findings per target; a finding is kept in
# build/fuzz/findings/ and makes the run fail. A crash that is fixed goes into
# fuzz/corpus/<target>/ as a regression input.
set -u
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

limit=(-runs=10000000)
ci=0
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --ci) ci=1; limit=(-max_total_time=5) ;;
        --runs) limit=(-runs="$2"); shift ;;
        --seconds) limit=(-max_total_time="$2"); shift ;;
        -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
        *) targets+=("$1") ;;
    esac
    shift
done

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DTUNOVA_FUZZ=ON >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
fi
ninja -C "$build" >"$build.build.log" 2>&1 || { tail -40 "$build.build.log"; echo "fuzz: 0 passed, 1 failed"; exit 1; }

if [ ${#targets[@]} -eq 0 ]; then
    for f in fuzz/*_fuzz.cpp; do t=$(basename "$f" .cpp); targets+=("${t%_fuzz}"); done
fi

dictionary_of() {
    case "$1" in
        responseline|xmcd|matchlist|cddbconversation) echo fuzz/dict/cddb.dict ;;
        smtpreply) echo fuzz/dict/smtp.dict ;;
        discdescription) echo fuzz/dict/discdescription.dict ;;
        cuesheet) echo fuzz/dict/cuesheet.dict ;;
        cdplayerini) echo fuzz/dict/cdplayerini.dict ;;
        musicbrainzreply) echo fuzz/dict/musicbrainz.dict ;;
    esac
}

# Registry values hold at most 255 bytes each here, and the INI reader rereads the file
# for every value: 8 KiB inputs reach every path of these two at a useful speed.
max_len_of() {
    case "$1" in
        registryrecord|cdplayerini) echo 8192 ;;
        *) echo 65536 ;;
    esac
}

passed=0
failed=0
printf '%-16s %12s %8s %8s  %s\n' target executions cov ft findings
for name in "${targets[@]}"; do
    program="$build/fuzz/${name}_fuzz"
    seeds="fuzz/corpus/$name"
    work="$build/corpus/$name"
    findings="$build/findings/$name"
    log="$build/logs/$name.log"
    mkdir -p "$work" "$findings" "$(dirname "$log")"
    [ -x "$program" ] || { echo "$name: no such target"; failed=$((failed + 1)); continue; }
    options=(-max_len="$(max_len_of "$name")" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$findings/")
    dict=$(dictionary_of "$name")
    [ -n "$dict" ] && options+=(-dict="$dict")
    status=0
    if [ $ci -eq 1 ]; then
        # Every committed input first, regressions included: a fixed crash stays fixed.
        "$program" "${options[@]}" -runs=0 "$seeds" >"$log" 2>&1 || status=1
    fi
    if [ $status -eq 0 ]; then
        "$program" "${options[@]}" "${limit[@]}" "$work" "$seeds" >>"$log" 2>&1 || status=1
    fi
    executions=$(grep -a 'stat::number_of_executed_units' "$log" | tail -1 | awk '{print $2}')
    cov=$(grep -aoE 'cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    ft=$(grep -aoE 'ft: [0-9]+' "$log" | tail -1 | awk '{print $2}')
    found=$(find "$findings" -type f | wc -l)
    printf '%-16s %12s %8s %8s  %s\n' "$name" "${executions:-?}" "${cov:-?}" "${ft:-?}" "$found"
    if [ $status -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=$((failed + 1))
        grep -aE 'ERROR: |SUMMARY: |runtime error' "$log" | head -5 | sed 's/^/    /'
        find "$findings" -type f | sed 's/^/    finding: /'
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
