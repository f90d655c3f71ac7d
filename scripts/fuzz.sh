#!/usr/bin/env bash
# Runs a libFuzzer campaign on one fuzz target of fuzz/:
#
#   scripts/fuzz.sh TARGET [SECONDS]   (TARGET as in fuzz/corpus/TARGET; 600 seconds if not given)
#
# Installs clang and the libFuzzer runtime when missing, builds TARGET_fuzz in build-fuzz/ (or
# $QIV_FUZZ_BUILD) with -DQIV_FUZZ=ON, and fuzzes a working corpus in
# build-fuzz/fuzz-runs/TARGET/corpus that starts from the checked-in corpus and reproducers and
# grows from run to run (delete it to start afresh). The checked-in folders are only read;
# findings go to build-fuzz/fuzz-runs/TARGET/findings, the output to .../fuzz.log.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 TARGET [SECONDS]   targets: $(ls fuzz/corpus | tr '\n' ' ')" >&2
  exit 2
}
[ $# -ge 1 ] && [ $# -le 2 ] || usage
target=${1%_fuzz}
seconds=${2:-600}
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || usage
[ -d "fuzz/corpus/$target" ] || { echo "no fuzz/corpus/$target" >&2; usage; }

scripts/install-deps.sh cmake ninja-build clang libclang-rt-14-dev libpng-dev libcli11-dev \
  libnetcdf-dev libgdal-dev gmt-gshhg-low

build=${QIV_FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQIV_FUZZ=ON -DQIV_BUILD_TESTS=OFF -DQIV_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target "${target}_fuzz"

# Absolute, as a target may run its routines in a folder of its own (qivtool does): libFuzzer
# writes new inputs and findings while the target runs.
run=$(realpath -m "$build/fuzz-runs/$target")
corpus="$run/corpus"
findings="$run/findings"
log="$run/fuzz.log"
mkdir -p "$corpus" "$findings"
cp "fuzz/corpus/$target"/* "$corpus"/
if [ -d "fuzz/reproducers/$target" ]; then
  cp "fuzz/reproducers/$target"/* "$corpus"/
fi
options=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1
  -artifact_prefix="$findings/")
if [ -f "fuzz/dicts/$target.dict" ]; then
  options+=(-dict="$PWD/fuzz/dicts/$target.dict")
fi

echo "Fuzzing $target for $seconds s on $(ls "$corpus" | wc -l) inputs in $corpus"
set +e
"$build/fuzz/${target}_fuzz" "${options[@]}" "$corpus" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e

echo
echo "== $target: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
echo "Log: $log"
echo "Working corpus: $corpus ($(ls "$corpus" | wc -l) inputs)"
if [ -n "$(ls -A "$findings")" ]; then
  echo "Findings in $findings:"
  ls -l "$findings"
  echo "Keep each as fuzz/reproducers/$target/NAME-OF-THE-FAULT (README, Fuzzing)."
else
  echo "No findings ($findings is empty)."
fi
exit "$status"
