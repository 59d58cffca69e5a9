// Start-up of the installed program against the smallest Qt Widgets program,
// as whole processes, alternating in the same run: wall time from fork to
// exit and peak resident memory (wait4). Velmora runs on a demo installation
// with the offscreen platform and ends right after its entry window's first
// paint (no picture is saved); the label program ends after its own first
// paint. The counters are
// medians over the iterations and their ratios.
//
// TODO: the window is drawn in about 3.1 to 3.4 times the label program's
// time with 2.2 times its peak memory, where 1.5 is wanted for both. Where it
// goes (offscreen, this 2-core machine): Qt and the CJK font 20-45 ms; the
// database and sign-in steps 10-30 ms (they stay); the window's construction
// 75-145 ms and 17 MB, of which the purchase rows and the activity, memo and
// attachment pages (not shown at start) are 10-23 ms and 2-3 MB; the first
// paint 50-70 ms and 6 MB; 30 MB are held before the first widget. Next:
// build the pages not shown on their first show (the window then keeps what
// the presenter writes to their controls until then), find what the 30 MB
// before the first widget are (Qt plugins, fontconfig's cache, the CJK font
// file) and what the first paint spends its time on.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_env.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    double ms = 0;
    double mb = 0;
};

fs::path ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

Outcome Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("cannot run " + args[0]);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(args[0] + " failed");
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss / 1024.0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Installation {
    Installation() {
        const fs::path bin = ProgramFolder();
        hello = (bin / "velmora_bench_hello").string();
        root = dir.path() / "velmora";
        state = dir.path() / "state";
        config = dir.path() / "config";
        fs::create_directories(state);
        fs::create_directories(config);
        setenv("XDG_STATE_HOME", state.c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("VELMORA_END_AT_FIRST_PAINT", "1", 1);
        Run({(bin / "velmora-admin").string(), "init", root.string(), "--no-use"});
    }
    test::TempDir dir;
    fs::path root, state, config;
    std::string hello;
};

void StartUp(benchmark::State& state) {
    static Installation installation;
    const std::vector<std::string> velmora = {(installation.root / "prgbin" / "Velmora").string()};
    const std::vector<std::string> hello = {installation.hello};
    // One start of each first: the files are in the page cache for both.
    Run(hello);
    Run(velmora);
    std::vector<double> helloMs, helloMb, velmoraMs, velmoraMb;
    for (auto _ : state) {
        const Outcome h = Run(hello);
        const Outcome v = Run(velmora);
        state.SetIterationTime(v.ms / 1000.0);
        helloMs.push_back(h.ms), helloMb.push_back(h.mb);
        velmoraMs.push_back(v.ms), velmoraMb.push_back(v.mb);
    }
    state.counters["hello_ms"] = Median(helloMs);
    state.counters["velmora_ms"] = Median(velmoraMs);
    state.counters["time_ratio"] = Median(velmoraMs) / Median(helloMs);
    state.counters["hello_MB"] = Median(helloMb);
    state.counters["velmora_MB"] = Median(velmoraMb);
    state.counters["memory_ratio"] = Median(velmoraMb) / Median(helloMb);
}
BENCHMARK(StartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
