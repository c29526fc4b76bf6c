#!/usr/bin/env bash
# Fuzzes the legacy .xls reader: installs what it needs (clang, libclang-rt-14-dev, libgsf-bin),
# builds XlsFuzzer.cpp with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# seeds it with the .xls files of tests/data/workbooks and their workbook streams, and runs it
# for the given number of seconds (default 300) with the given number of workers (default 3).
# Leaks inside the system libraries listed in tests/lsan.supp do not stop a worker. Inputs
# that crash land in build/fuzz/crashes; copy them to tests/data/workbooks/fuzz/ so that the
# reader tests replay them.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
workers=${2:-3}
scripts/install-deps.sh clang libclang-rt-14-dev libgsf-bin
out=build/fuzz
mkdir -p "$out/corpus" "$out/crashes"
sources=(tests/fuzz/XlsFuzzer.cpp src/exchange/{WorkbookReader,XlsReader,XlsRecords,XlsxReader,SheetDataCutter,CsvReader,CellTable,CellText}.cpp
         src/numerics/*.cpp)
clang++ -std=c++20 -O1 -g -Wno-unused-command-line-argument -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
    $(pkg-config --cflags libgsf-1 libzip expat) "${sources[@]}" \
    $(pkg-config --libs libgsf-1 libzip expat) -lpthread -o "$out/xls_fuzzer"
for f in tests/data/workbooks/*.xls tests/data/workbooks/fuzz/*; do
    [ -f "$f" ] || continue
    cp "$f" "$out/corpus/"
    gsf cat "$f" Workbook > "$out/corpus/$(basename "$f").stream" 2>/dev/null || rm -f "$out/corpus/$(basename "$f").stream"
done
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
# Each worker with its log in the build folder.
cd "$out"
./xls_fuzzer corpus -artifact_prefix=crashes/ -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=4096 -jobs="$workers" -workers="$workers" -print_final_stats=1
