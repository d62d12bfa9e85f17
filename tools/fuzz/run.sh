#!/bin/sh
# Builds one fuzz target (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) with clang
# and runs it for SECONDS on a corpus seeded from the test workbooks. Findings land in
# build/fuzz/artifacts/TARGET; add each as a regression case under tests/data/hostile.
#   tools/fuzz/run.sh TARGET SECONDS [libFuzzer options]
#   TARGET: xlsx xlsx_parts ods xls csv delimited number
set -e
cd "$(dirname "$0")/../.."
if [ $# -lt 2 ]; then
  echo "tools/fuzz/run.sh TARGET SECONDS [libFuzzer options]" >&2
  exit 2
fi
target="$1"
seconds="$2"
shift 2

# clang and its fuzzer runtime, only when missing.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi
scripts/deps.sh

dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOREFRAC_GUI=OFF -DOREFRAC_FUZZ=ON >/dev/null
cmake --build "$dir" --target "${target}_fuzz"

python3 tools/fuzz/make_seeds.py "$dir/seeds" >/dev/null
corpus="$dir/corpus/$target"
artifacts="$dir/artifacts/$target"
mkdir -p "$corpus" "$artifacts"
# One process, bounded memory: the machine is shared.
exec "$dir/${target}_fuzz" "$corpus" "$dir/seeds/$target" -max_total_time="$seconds" \
  -rss_limit_mb=2560 -malloc_limit_mb=2048 -timeout=10 -max_len=1048576 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$@"
