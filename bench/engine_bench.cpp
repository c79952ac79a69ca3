// Throughput of the engine on large synthetic pages: load (scan and fill),
// write the META block, and count the words. Reported in bytes per second.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/loader.h"
#include "engine/writer.h"
#include "generator/word_engine.h"

namespace {

std::string MakePage(std::size_t bytes) {
    std::string page =
        "<html>\r\n<head>\r\n<title>Каталог</title>\r\n"
        "<meta name=\"author\" content=\"Studio\">\r\n"
        "<meta name=\"keywords\" content=\"garden, tools\">\r\n"
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
        "</head>\r\n<body>\r\n";
    const std::string line =
        "<p class=\"x\">Garden tools and seeds, mp3-player 2024 <b>shop</b> &amp; more</p>\r\n";
    while (page.size() < bytes) page += line;
    return page + "</body>\r\n</html>\r\n";
}

void BM_Load(benchmark::State& state) {
    const std::string page = MakePage(static_cast<std::size_t>(state.range(0)));
    veskaron::LoadOptions options;
    for (auto _ : state) {
        std::string text = page;
        veskaron::MetaFields fields;
        benchmark::DoNotOptimize(veskaron::LoadDocumentText(text, fields, options));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

void BM_Write(benchmark::State& state) {
    const std::string page = MakePage(static_cast<std::size_t>(state.range(0)));
    veskaron::MetaFields fields;
    fields.Title = "Title";
    fields.Author = "Author";
    fields.Keywords = "a, b, c";
    for (auto _ : state) {
        std::string text = page;
        benchmark::DoNotOptimize(veskaron::WriteMetaBlock(text, fields, {}));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

void BM_Generator(benchmark::State& state) {
    const std::string page = MakePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        veskaron::generator::WordTable table;
        veskaron::generator::RunGenerator(page, {}, {}, {}, table);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}

}  // namespace

BENCHMARK(BM_Load)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generator)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
