#!/usr/bin/env bash
# Fuzzes the spreadsheet readers of the master-data import with libFuzzer (Debian's clang),
# seeded with the import templates: tools/fuzz.sh [SECONDS per reader, default 60] [READER...]
# READER is xls, xls_formulas (the workbook bytes the program walks itself), xlsx or csv
# (default all four). Builds into build-fuzz/, keeps the grown
# corpus in build-fuzz/corpus-READER and any crashing input in build-fuzz/findings-READER/.
# Not part of the test run; each finding is mended and its input kept under tests/master/fixtures/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
shift || true
readers=("$@")
[ ${#readers[@]} -eq 0 ] && readers=(xls xls_formulas xlsx csv)
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'install ok installed'; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi
out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -Isrc $(pkg-config --cflags Qt6Core freexl libzip))
libs=($(pkg-config --libs Qt6Core freexl libzip))
readerSources=(src/master/workbook_reader.cpp src/master/xls_reader.cpp src/master/xlsx_reader.cpp src/master/csv_reader.cpp)
for r in "${readers[@]}"; do
  up=$(echo "$r" | tr a-z A-Z)
  bin=$out/fuzz-$r
  if [ ! -x "$bin" ] || [ -n "$(find tools/fuzz/fuzz_reader.cpp "${readerSources[@]}" -newer "$bin")" ]; then
    clang++ "${flags[@]}" -DFUZZ_"$up" tools/fuzz/fuzz_reader.cpp "${readerSources[@]}" "${libs[@]}" -o "$bin"
  fi
  corpus=$out/corpus-$r
  findings=$out/findings-$r
  mkdir -p "$corpus" "$findings"
  case $r in
    xls|xls_formulas|xlsx) ext=${r%_formulas}
      cp -n assets/数据导入模版/*."$ext" tests/master/fixtures/*."$ext" "$corpus"/ 2>/dev/null || true ;;
    csv) cp -n tests/master/fixtures/*.csv "$corpus"/ ;;
  esac
  [ -d tests/master/fixtures/fuzz ] && cp -n tests/master/fixtures/fuzz/*."${r%_formulas}" "$corpus"/ 2>/dev/null || true
  dict=()
  [ -f tools/fuzz/$r.dict ] && dict=(-dict=tools/fuzz/$r.dict)
  echo "== $r: $secs s"
  # A second per input is a hang; 2 GB is more than any real sheet needs.
  "$bin" "${dict[@]}" -max_total_time="$secs" -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
    -max_len=262144 -print_final_stats=1 -artifact_prefix="$findings"/ "$corpus" 2>&1 \
    | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY|.*Test unit written)' || true
  echo "   findings: $(ls "$findings" | wc -l) file(s) in $findings"
done
rm -f /dev/shm/marvoda-fuzz-*
