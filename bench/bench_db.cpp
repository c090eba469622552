// The key database at 10k, 100k and 1M rows: loading, the program's order,
// default-key normalisation, saving and collecting marked entries. Fixture
// files are written to a temporary folder at run time.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "Cp1251.h"
#include "key_database.h"
#include "marked_entries.h"
#include "records.h"
#include "reporter.h"

namespace {

// Streets of realistic length, houses with letters and slashes, one to
// three keys per entrance, some comments, defaults missing or doubled here
// and there, all in no particular order.
std::vector<BaseRecord> MakeRows(std::size_t n) {
    std::mt19937_64 random(n);
    const std::string kinds[] = {cp1251::FromUtf8("улица "), cp1251::FromUtf8("проспект "),
                                 cp1251::FromUtf8("переулок ")};
    const std::string names[] = {cp1251::FromUtf8("Ленина"), cp1251::FromUtf8("Мира"),
                                 cp1251::FromUtf8("Маршала Жукова"), cp1251::FromUtf8("Садовая"),
                                 cp1251::FromUtf8("Щорса")};
    const std::size_t streets = n / 400 + 5;
    const std::string comment = cp1251::FromUtf8("кв. 12, домофон старый");
    std::vector<BaseRecord> rows;
    rows.reserve(n);
    while (rows.size() < n) {
        BaseRecord address;
        const std::size_t s = random() % streets;
        address.Street = kinds[s % 3] + names[s % 5] + " " + std::to_string(s);
        address.House = std::to_string(1 + random() % 150);
        if (random() % 8 == 0) address.House += random() % 2 ? cp1251::FromUtf8("а") : "/2";
        address.Corpus = random() % 4 == 0 ? static_cast<int32_t>(1 + random() % 3) : 0;
        address.Entrance = static_cast<int32_t>(random() % 9);
        const std::size_t keys = 1 + random() % 3;
        for (std::size_t k = 0; k < keys && rows.size() < n; ++k) {
            BaseRecord row = address;
            static const char* hex = "0123456789ABCDEF";
            row.KeyHex.resize(16);
            for (auto& c : row.KeyHex) c = hex[random() % 16];
            if (random() % 3 == 0) row.Report = comment;
            row.KeyDef = k == 0 ? random() % 10 != 0 : random() % 10 == 0;
            rows.push_back(std::move(row));
        }
    }
    std::shuffle(rows.begin(), rows.end(), random);
    return rows;
}

// Rows and files by size and order: shuffled, as another tool may leave a
// file, or in the program's order with one default per address, as this
// program saves it.
class Fixtures {
public:
    ~Fixtures() {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }
    const std::vector<BaseRecord>& Rows(std::size_t n, bool ordered) {
        auto& rows = rows_[{n, ordered}];
        if (rows.empty()) {
            NullReporter report;
            DatabaseModel model(report);
            model.Rows = MakeRows(n);
            if (ordered) model.NormalizeDefaultKeys();
            rows = std::move(model.Rows);
        }
        return rows;
    }
    const std::string& File(std::size_t n, bool ordered) {
        auto& path = files_[{n, ordered}];
        if (path.empty()) {
            path = Folder() + "/keys-" + std::to_string(n) + (ordered ? "-ordered" : "-shuffled") + ".dbf";
            NullReporter report;
            DatabaseModel model(report);
            model.Rows = Rows(n, ordered);
            SaveKeyDatabase(model, path);
        }
        return path;
    }
    std::string Folder() {
        if (folder_.empty()) {
            std::string pattern = (std::filesystem::temp_directory_path() / "vestorin-bench-XXXXXX").string();
            if (::mkdtemp(pattern.data())) folder_ = pattern;
        }
        return folder_;
    }

private:
    using Key = std::pair<std::size_t, bool>;
    std::string folder_;
    std::map<Key, std::vector<BaseRecord>> rows_;
    std::map<Key, std::string> files_;
};

Fixtures& Shared() {
    static Fixtures fixtures;
    return fixtures;
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The allocator sorts freed small blocks into its free lists only when a
// larger block is asked for or freed; after a million freed texts that takes
// a quarter of a second, which would land in the next timed operation. One
// such request here does it outside the timing, and keeps the memory.
void SettleFreedMemory() {
    void* probe = std::malloc(4096);
    benchmark::DoNotOptimize(probe);
    std::free(probe);
}

void SetRowCounters(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * state.range(0)));
}

// Reads the fixture file with `open` each time; the heap the loaded model
// holds is counted against the file's size. Counting the heap and freeing
// the rows afterwards (which is closing, not opening) are not timed.
void TimeFromFile(benchmark::State& state, int (*open)(DatabaseModel&, const std::string&)) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string& path = Shared().File(n, state.range(1) != 0);
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    NullReporter report;
    double heap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<DatabaseModel>(report);
        SettleFreedMemory();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        benchmark::DoNotOptimize(open(*model, path));
        state.PauseTiming();
        heap = static_cast<double>(HeapInUse() - before);
        model.reset();
        state.ResumeTiming();
    }
    state.counters["heap_per_file_byte"] = heap / fileBytes;
    state.counters["file_MB"] = fileBytes / 1e6;
    SetRowCounters(state);
}

void BM_Load(benchmark::State& state) { TimeFromFile(state, LoadKeyDatabase); }

// What opening a file costs: load, one default per address, the order.
void BM_OpenKeyDatabase(benchmark::State& state) { TimeFromFile(state, OpenKeyDatabase); }

// One model operation on a fresh copy of the rows each time; copying the
// rows and freeing the model afterwards are not timed.
template <class Operation>
void TimeOnRows(benchmark::State& state, Operation operation) {
    const auto& rows = Shared().Rows(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    NullReporter report;
    for (auto _ : state) {
        state.PauseTiming();
        SettleFreedMemory();  // so that the copy's texts lie in row order, as loading leaves them
        auto model = std::make_unique<DatabaseModel>(report);
        model->Rows = rows;
        state.ResumeTiming();
        operation(*model);
        benchmark::DoNotOptimize(model->Rows.data());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    SetRowCounters(state);
}

void BM_ReorderRows(benchmark::State& state) {
    TimeOnRows(state, [](DatabaseModel& model) { model.ReorderRows(); });
}

void BM_NormalizeDefaultKeys(benchmark::State& state) {
    TimeOnRows(state, [](DatabaseModel& model) { model.NormalizeDefaultKeys(); });
}

void BM_Save(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = Shared().Rows(n, true);
    const std::string path = Shared().Folder() + "/saved.dbf";
    SettleFreedMemory();
    for (auto _ : state) benchmark::DoNotOptimize(SaveKeyDatabase(model, path));
    std::filesystem::remove(path);
    SetRowCounters(state);
}

// Marks at the end of the table, so that the walk covers every row.
void BM_CollectMarkedEntries(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = Shared().Rows(n, true);
    for (std::size_t i = n > 3000 ? n - 3000 : 0; i < n; ++i) model.Rows[i].Marked = true;
    std::vector<BaseRecord> entries;
    SettleFreedMemory();
    for (auto _ : state) {
        CollectMarkedEntries(model, entries, 1000);
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["entries"] = static_cast<double>(entries.size());
    SetRowCounters(state);
}

// The second argument: 0 shuffled rows or file, 1 in the program's order.
#define DB_SIZES_AND_ORDERS \
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime()
#define DB_SIZES ->ArgsProduct({{10000, 100000, 1000000}, {1}})->Unit(benchmark::kMillisecond)->UseRealTime()

BENCHMARK(BM_Load) DB_SIZES_AND_ORDERS;
BENCHMARK(BM_OpenKeyDatabase) DB_SIZES_AND_ORDERS;
BENCHMARK(BM_ReorderRows) DB_SIZES_AND_ORDERS;
BENCHMARK(BM_NormalizeDefaultKeys) DB_SIZES_AND_ORDERS;
BENCHMARK(BM_Save) DB_SIZES;
BENCHMARK(BM_CollectMarkedEntries) DB_SIZES;

}  // namespace
