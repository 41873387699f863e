# The fuzz targets and the options every run of them shares; sourced by
# test_fuzz.sh and fuzz_campaign.sh.

FUZZ_TARGETS=(fuzz_line fuzz_train fuzz_pair fuzz_tool_compile fuzz_binary_files fuzz_lsp fuzz_decompile)

# Configures and builds the targets and the seed writer in build/fuzz, with
# clang, ASan and UBSan, then writes the seeds to build/fuzz/seeds. -O2, not
# -O1: run side by side from the same corpus, the decompile target ran 25%
# and 62% more inputs per second, and the corpora replay up to a sixth faster.
# The sanitizers check every access the optimised program makes; the corpora
# replay clean at both levels.
build_fuzz_targets() {
  cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O2 -g1" \
    -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF -DSCENARIO_GUI=OFF >/dev/null
  cmake --build build/fuzz -j"$(nproc)" --target "${FUZZ_TARGETS[@]}" fuzz_seeds
  rm -rf build/fuzz/seeds
  build/fuzz/fuzz/fuzz_seeds build/fuzz/seeds
}

# The longest input of a target: sources of 2 KiB hold every kind of record
# and keep one compile under a millisecond; the tool's report costs a few
# times the compile per message, and 1 KiB already gives dozens of messages
# of every kind; the binary files need room for a few hundred cells or plan
# points; a stream of editor messages needs room for a document of a few
# dozen lines inside its JSON.
fuzz_max_len() {
  case "$1" in
    fuzz_binary_files | fuzz_lsp) echo 8192 ;;
    fuzz_tool_compile) echo 1024 ;;
    *) echo 2048 ;;
  esac
}

# The sanitizers' settings of every fuzz run, unless the caller sets its own.
# Every allocation and free records its call stack for the report of a bad
# access; five frames name the function that allocated, and recording thirty
# (the default) costs a tenth to a fifth of an input's time. To see whole
# stacks, rerun a kept input with ASAN_OPTIONS=malloc_context_size=30.
# Memory that leaves the quarantine is kept for the next inputs rather than
# handed back to the system every five seconds: each input builds plans of
# some hundred kilobytes several times, and faulting their pages back in cost
# about a tenth of the decompile target's time (run side by side on swapped
# cores, 8% and 16% more inputs; peak memory 576 MB against 504). The
# quarantine and every check are the same.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=5:allocator_release_to_os_interval_ms=-1}"

# Options of every run of target $1. An input costs milliseconds, so a
# second-long one is a finding; a route of two thousand kilometres still
# compiles within the memory limit.
fuzz_options() {
  echo "-dict=fuzz/keywords.dict -max_len=$(fuzz_max_len "$1") -rss_limit_mb=2560 -timeout=30"
}
