#!/usr/bin/env bash
# The golden masters: the exact report, CSV and aus.txt of every case in
# cases.txt, in every result kind and with both answers.
#
#   golden.sh MORVEK check    compares every output byte for byte (the test)
#   golden.sh MORVEK update   writes them anew (`make golden`; review the diff)
#
# A run with --answer ja whose outputs equal those of --answer nein is kept
# once, under "nein"; the check then compares the "ja" run with those files.
set -euo pipefail
exe=$(realpath "$1")
mode=$2
here=$(cd "$(dirname "$0")" && pwd)
examples=$(cd "$here/../../examples" && pwd)
masters=$here/masters
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8

[ "$mode" = update ] && { rm -rf "$masters"; mkdir -p "$masters"; }
failures=0
runs=0

# Runs one case; its three outputs land in $work/out.
run() {  # case-file kind answer options...
    local case=$1 kind=$2 answer=$3; shift 3
    local flag=()
    [ "$kind" = pvt ] && flag=(--pvt)
    [ "$kind" = relperm ] && flag=(--relperm)
    rm -rf "$work/out"; mkdir "$work/out"
    (cd "$work/out" && "$exe" --batch "$examples/$case" "$@" "${flag[@]}" --answer "$answer" \
        --report report.txt --csv series.csv --aus >/dev/null 2>stderr.txt) || true
    rm -f "$work/out/stderr.txt"
}

while IFS='|' read -r name case options; do
    name=$(echo "$name" | xargs); case=$(echo "$case" | xargs)
    [ -z "$name" ] || [[ "$name" == \#* ]] && continue
    read -r -a opts <<< "$options"
    for kind in prediction pvt relperm; do
        for answer in nein ja; do
            runs=$((runs + 1))
            run "$case" "$kind" "$answer" "${opts[@]}"
            base="$name.$kind"
            for f in report.txt series.csv aus.txt; do
                got="$work/out/$f"
                if [ "$mode" = update ]; then
                    if [ "$answer" = nein ]; then
                        cp "$got" "$masters/$base.nein.$f"
                    elif ! cmp -s "$got" "$masters/$base.nein.$f"; then
                        for g in report.txt series.csv aus.txt; do
                            cp "$work/out/$g" "$masters/$base.ja.$g"
                        done
                        break
                    fi
                    continue
                fi
                want="$masters/$base.$answer.$f"
                [ -e "$want" ] || want="$masters/$base.nein.$f"
                if [ ! -e "$got" ] || ! cmp -s "$got" "$want"; then
                    echo "DIFFERS: $name ($kind, --answer $answer): $f against ${want#$here/}"
                    [ -e "$got" ] && diff "$want" "$got" | head -20 || echo "  (not written)"
                    failures=$((failures + 1))
                fi
            done
        done
    done
done < "$here/cases.txt"

if [ "$mode" = update ]; then
    echo "golden masters written: $runs runs, $(ls "$masters" | wc -l) files in ${masters#$PWD/}"
    exit 0
fi
echo "$runs runs compared, $failures outputs differ"
[ "$failures" -eq 0 ]
