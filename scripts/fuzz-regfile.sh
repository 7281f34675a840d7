#!/usr/bin/env bash
# Fuzzes the registry file parser (and the backup's export of what it reads) with libFuzzer for a while (60 seconds unless given).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$repo/scripts/install-deps.sh" clang libclang-rt-14-dev pkg-config

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
clang++ -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
    -DQT_NO_CAST_FROM_ASCII -I"$repo/registry" -I"$repo/removal" -I"$repo/catalogue" $(pkg-config --cflags Qt6Core) \
    "$repo/registry/regfile.cpp" "$repo/registry/registrybackup.cpp" \
    "$repo/registry/registrykey_regfile.cpp" "$repo/registry/profilehive.cpp" \
    "$repo/registry/profilehive_regfile.cpp" "$repo/registry/registrysession_regfile.cpp" \
    "$repo/removal/outputfile.cpp" "$repo/removal/outputfile_posix.cpp" \
    "$repo/tests/fuzz/regfile_fuzzer.cpp" \
    $(pkg-config --libs Qt6Core) -o "$out/regfile_fuzzer"
mkdir -p "$out/corpus"
cp "$repo"/tests/fuzz/corpus/* "$out/corpus/"
"$out/regfile_fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    "$out/corpus" 2>&1 | tail -n 15
