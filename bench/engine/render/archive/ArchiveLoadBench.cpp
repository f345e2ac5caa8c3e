// Loading a 200 MB archive against reading its bytes: the parse and the copies
// into shared objects should cost less than the read itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/FileSystem.h"
#include "engine/platform/posix/DirectoryFileSystem.h"
#include "engine/render/archive/ResourceManager.h"
#include "tools/archive/MbdWriter.h"

namespace mareldon {
namespace {

constexpr size_t kArrays = 50;
constexpr size_t kFloatsPerArray = 1 << 20;  // 4 MiB each

const std::string& ArchivePath() {
    static const std::string path = [] {
        std::string file = (std::filesystem::temp_directory_path() / "bench_archive.mbd").string();
        MbdWriter writer;
        for (size_t a = 0; a < kArrays; ++a) {
            writer.AddVertexArray(8, std::vector<float>(kFloatsPerArray, float(a)));
            MbdWriter::Track track;
            track.keys.push_back({0.0f, 1.0f, 3, {}});
            writer.AddTrack(track);
        }
        std::vector<uint8_t> bytes = writer.Build();
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
        return file;
    }();
    return path;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::fseek(in, 0, SEEK_END);
    std::vector<uint8_t> bytes(size_t(std::ftell(in)));
    std::fseek(in, 0, SEEK_SET);
    size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    bytes.resize(got);
    return bytes;
}

void BM_ReadArchiveBytes(benchmark::State& state) {
    const std::string& path = ArchivePath();
    for (auto _ : state) {
        std::vector<uint8_t> bytes = ReadAll(path);
        benchmark::DoNotOptimize(bytes.data());
        state.SetBytesProcessed(state.bytes_processed() + int64_t(bytes.size()));
    }
}

void BM_LoadArchive(benchmark::State& state) {
    const std::filesystem::path path = ArchivePath();
    const size_t size = std::filesystem::file_size(path);
    RefPtr<FileSystem> files(CreateFileSystem(path.parent_path().string().c_str()));
    for (auto _ : state) {
        ResourceManager manager(files, RefPtr<GraphicsDevice>(), RefPtr<SoundBox>());
        if (!manager.LoadArchive(path.filename().string().c_str())) {
            state.SkipWithError("archive refused");
            break;
        }
        state.SetBytesProcessed(state.bytes_processed() + int64_t(size));
    }
}

BENCHMARK(BM_ReadArchiveBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace mareldon
