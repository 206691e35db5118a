// Speed benchmarks; each area adds its own file beside this one.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
