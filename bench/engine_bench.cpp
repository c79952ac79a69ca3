// Throughput of the engine on the generated pages: the field read in memory,
// the load from the file, the writer, the save with and without the flush (on
// the disk and in memory), the
// word engine, and the `read` command over a folder of small pages.
//
// The folder is taken from VESKARON_BENCH_DIR/small (bench/peers.sh makes it);
// without that variable a folder of 10,000 pages is made in the temp folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/page_maker.h"
#include "cli/commands.h"
#include "engine/loader.h"
#include "engine/save.h"
#include "engine/writer.h"
#include "generator/word_engine.h"

namespace {

using veskaron::bench::PageCharset;

// Page sizes by benchmark argument: 0 10 KB, 1 1 MB, 2 20 MB; +3 for UTF-8.
const std::string& Page(int which) {
    static std::map<int, std::string> pages;
    auto it = pages.find(which);
    if (it != pages.end()) return it->second;
    static const std::size_t kBytes[] = {10 * 1024, 1 << 20, 20 << 20};
    static const int kMetas[] = {30, 120, 200};
    veskaron::bench::PageRecipe recipe;
    recipe.bytes = kBytes[which % 3];
    recipe.metaTags = kMetas[which % 3];
    recipe.charset = which >= 3 ? PageCharset::Utf8 : PageCharset::Windows1251;
    recipe.seed = recipe.bytes;  // as make_pages writes them
    return pages.emplace(which, veskaron::bench::MakePage(recipe)).first->second;
}

void PageArgs(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < 6; ++i) b->Arg(i);
}

void Label(benchmark::State& state, const std::string& page) {
    static const char* kNames[] = {"10k", "1m", "20m", "10k-utf8", "1m-utf8", "20m-utf8"};
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

// A scratch folder on the disk, or in memory (tmpfs, where a flush costs
// nothing) when there is one.
std::filesystem::path ScratchDir(bool inMemory = false) {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::error_code ec;
    if (inMemory && std::filesystem::is_directory("/dev/shm", ec)) base = "/dev/shm";
    const auto dir = base / "veskaron-bench-scratch";
    std::filesystem::create_directories(dir);
    return dir;
}

// The field read of a page held in memory, as the window does it on a loaded
// text. The text is not copied: only a KOI8 page is changed by the load.
void BM_FieldRead(benchmark::State& state) {
    std::string page = Page(static_cast<int>(state.range(0)));
    veskaron::LoadOptions options;
    for (auto _ : state) {
        veskaron::MetaFields fields;
        benchmark::DoNotOptimize(veskaron::LoadDocumentText(page, fields, options));
    }
    Label(state, page);
}

// The whole load of a page file: read, line ends, field read.
void BM_LoadPage(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    const std::string path = (ScratchDir() / "load.htm").string();
    std::ofstream(path, std::ios::binary).write(page.data(), static_cast<std::streamsize>(page.size()));
    veskaron::LoadOptions options;
    for (auto _ : state) {
        veskaron::Document doc;
        benchmark::DoNotOptimize(veskaron::LoadPage(doc, path, options));
    }
    Label(state, page);
}

veskaron::MetaFields EditedFields() {
    veskaron::MetaFields f;
    f.Title = "Title";
    f.Author = "Author";
    f.Keywords = "a, b, c";
    f.Description = "A page";
    return f;
}

// The writer on a copy of the page (the copy is part of what a preview does).
void BM_Write(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    const veskaron::MetaFields fields = EditedFields();
    for (auto _ : state) {
        std::string text = page;
        benchmark::DoNotOptimize(veskaron::WriteMetaBlock(text, fields, veskaron::MetaWriteOptions{}));
    }
    Label(state, page);
}

// The save of a loaded page: writer, bytes for the file, replacement through
// a flushed temporary file. Without the flush: the same save into a folder in
// memory, where the flush costs nothing, so the difference is what it costs.
void Save(benchmark::State& state, bool flush) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    const std::string path = (ScratchDir(!flush) / "save.htm").string();
    std::ofstream(path, std::ios::binary).write(page.data(), static_cast<std::streamsize>(page.size()));
    veskaron::Document doc;
    veskaron::LoadPage(doc, path, {});
    const std::string loaded = doc.page.text;
    doc.fields.Author = "Author";
    veskaron::SaveOptions options;
    for (auto _ : state) {
        state.PauseTiming();
        doc.page.text = loaded;
        state.ResumeTiming();
        benchmark::DoNotOptimize(veskaron::SaveDocument(doc, options));
    }
    Label(state, page);
}
void BM_SaveFlushed(benchmark::State& state) { Save(state, true); }
void BM_SaveNoFlush(benchmark::State& state) { Save(state, false); }

// The word engine with the default options over the loaded text.
void BM_Words(benchmark::State& state) {
    const std::string& page = Page(static_cast<int>(state.range(0)));
    veskaron::generator::GeneratorOptions options;
    options.kind = state.range(0) >= 3 ? veskaron::TextKind::Utf8 : veskaron::TextKind::Cp1251;
    for (auto _ : state) {
        veskaron::generator::WordTable table;
        veskaron::generator::RunGenerator(page, {}, {}, options, table);
        benchmark::DoNotOptimize(table);
    }
    Label(state, page);
}

std::vector<std::string> SmallPages() {
    std::filesystem::path dir;
    if (const char* env = std::getenv("VESKARON_BENCH_DIR")) {
        dir = std::filesystem::path(env) / "small";
    } else {
        dir = std::filesystem::temp_directory_path() / "veskaron-bench-small";
        if (!std::filesystem::exists(dir / "009999.htm")) {
            std::filesystem::create_directories(dir);
            for (int n = 0; n < 10000; ++n) {
                const std::string page = veskaron::bench::MakePage(veskaron::bench::SmallPageRecipe(n));
                char name[32];
                std::snprintf(name, sizeof name, "%06d.htm", n);
                std::ofstream(dir / name, std::ios::binary)
                    .write(page.data(), static_cast<std::streamsize>(page.size()));
            }
        }
    }
    std::vector<std::string> pages;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".htm") pages.push_back(e.path().string());
    std::sort(pages.begin(), pages.end());
    return pages;
}

// `veskaron-meta read` over the folder in one call, in process, the JSON
// lines going to memory. Reported as pages per second.
void BM_ReadFolder(benchmark::State& state) {
    static const std::vector<std::string> pages = SmallPages();
    const std::string config = (ScratchDir() / "config").string();
    std::vector<const char*> argv = {"veskaron-meta", "--config", config.c_str(), "read",
                                     "--now", "2026-12-07T10:00:00"};
    for (const auto& p : pages) argv.push_back(p.c_str());
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        veskaron::cli::Main(static_cast<int>(argv.size()), argv.data(), {out, err});
        bytes = static_cast<std::int64_t>(out.str().size());
    }
    state.counters["pages/s"] = benchmark::Counter(
        static_cast<double>(pages.size()) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["json_bytes"] = static_cast<double>(bytes);
    state.SetLabel(std::to_string(pages.size()) + " pages");
}

}  // namespace

BENCHMARK(BM_FieldRead)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadPage)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveFlushed)->Apply(PageArgs)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SaveNoFlush)->Apply(PageArgs)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Words)->Apply(PageArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadFolder)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
