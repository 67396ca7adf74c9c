// The start-up's log work on logs of growing length (read the log, decide on its last
// record, append, show the text, clean it), next to a plain buffered read of the whole
// file. The work should grow at most linearly and cost little more than the read.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "fake_services.h"
#include "fake_system_query.h"
#include "fake_views.h"
#include "log_texts.h"
#include "posix_files.h"
#include "startup/start_up.h"
#include "startup/startup_log.h"
#include "ui/frm_main.h"

namespace kestrevane::bench {

namespace {

std::filesystem::path logRoot;

struct LogFile {
    std::string directory; // as the start-up is given it
    std::string path;      // where the start-up keeps the log in it
    std::size_t size = 0;
};

// Logs of `records` records of the clock's day, written once per length.
const LogFile& logOf(long records)
{
    static std::map<long, LogFile> made;
    LogFile& log = made[records];
    if (!log.path.empty()) return log;
    log.directory = (logRoot / std::to_string(records)).string();
    // The log's name is joined with a backslash; here that makes one file name.
    log.path = startup::logPath(log.directory);
    std::string bytes;
    for (long i = 1; i <= records; ++i) bytes += testing::newRec + "\"" + std::to_string(i) + "\"\r\n";
    std::FILE* file = std::fopen(log.path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::perror(log.path.c_str());
        std::exit(1);
    }
    log.size = bytes.size();
    return log;
}

// Takes this start's record off again, so every iteration finds the same log.
void restore(const LogFile& log)
{
    if (truncate(log.path.c_str(), static_cast<off_t>(log.size)) != 0) {
        std::perror(log.path.c_str());
        std::exit(1);
    }
}

// The start-up's services over the real file system, for one log; the clock stays on
// the logs' day, so every start adds to the log.
struct StartUpOn {
    explicit StartUpOn(const LogFile& log) : services{clock, locale, files, codec, log.directory} {}
    testing::FakeClock clock{testing::startTime};
    testing::FakeLocale locale;
    PosixFiles files{false};
    testing::IdentityCodec codec;
    startup::StartUpServices services;
};

void logWork(benchmark::State& state)
{
    const long records = state.range(0);
    const LogFile& log = logOf(records);
    StartUpOn start(log);
    const std::string expectedCount = std::to_string(records + 1) + " ";

    for (auto _ : state) {
        state.PauseTiming();
        restore(log);
        state.ResumeTiming();

        // Made afresh, as the program makes its window; they keep what they were asked.
        testing::FakeMainView view;
        testing::FakeSystemQuery names;
        names.computerName = std::string("HOST\0", 5);
        names.userName = std::string("user\0", 5);
        testing::FakeAppearance appearance;
        ui::FrmMain frmmain(view, names, appearance);
        startup::Main(start.services, frmmain);
        frmmain.Form_Activate(); // showing the window activates it
        benchmark::DoNotOptimize(view.texts[ui::MainControl::Text1].data());

        state.PauseTiming();
        if (view.texts[ui::MainControl::lblNUMBER] != expectedCount) state.SkipWithError("wrong count");
        state.ResumeTiming();
    }
    restore(log);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size));
}

// The first half of the work alone: read, decide, append.
void logUpdate(benchmark::State& state)
{
    const long records = state.range(0);
    const LogFile& log = logOf(records);
    StartUpOn start(log);
    const std::string expectedCount = std::to_string(records + 1);

    for (auto _ : state) {
        state.PauseTiming();
        restore(log);
        state.ResumeTiming();

        const startup::StartupResult result = startup::updateStartupLog(start.services);
        benchmark::DoNotOptimize(result.countText.data());

        state.PauseTiming();
        if (result.countText != expectedCount) state.SkipWithError("wrong count");
        state.ResumeTiming();
    }
    restore(log);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size));
}

void plainRead(benchmark::State& state)
{
    const LogFile& log = logOf(state.range(0));
    for (auto _ : state) {
        std::FILE* file = std::fopen(log.path.c_str(), "rb");
        std::string bytes;
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
        std::fclose(file);
        benchmark::DoNotOptimize(bytes.data());
        if (bytes.size() != log.size) state.SkipWithError("short read");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size));
}

// What the program adds to every start whatever the log's length: waiting for the disk
// to hold the appended record.
void appendFlushed(benchmark::State& state)
{
    const LogFile& log = logOf(state.range(0));
    PosixFiles files(true);
    const std::string record = testing::newRec + "\"11\"\r\n";
    for (auto _ : state) {
        state.PauseTiming();
        restore(log);
        state.ResumeTiming();
        files.append(log.path, record);
        files.flush(log.path);
    }
    restore(log);
}

constexpr long lengths[] = {10, 1000, 100000, 1000000};

void registerAll()
{
    for (auto* family : {benchmark::RegisterBenchmark("log_work", logWork),
                         benchmark::RegisterBenchmark("log_update", logUpdate),
                         benchmark::RegisterBenchmark("plain_read", plainRead)}) {
        for (const long n : lengths) family->Arg(n);
        family->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("append_flushed", appendFlushed)->Arg(10)->Unit(benchmark::kMicrosecond);
}

} // namespace

} // namespace kestrevane::bench

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "kestrevane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    kestrevane::bench::logRoot = pattern;
    kestrevane::bench::registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(kestrevane::bench::logRoot);
    return 0;
}
