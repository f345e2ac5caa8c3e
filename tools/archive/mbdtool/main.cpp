// Writes sample data archives and shader data files, and lists what one holds.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "tools/archive/ArchiveFixtures.h"
#include "tools/archive/ArchiveListing.h"
#include "tools/archive/LightFileWriter.h"
#include "tools/archive/PlaceholderMovies.h"
#include "tools/archive/PlaceholderStages.h"
#include "tools/archive/PlaceholderTraces.h"
#include "tools/archive/TraceWriter.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage:\n"
        "  mbdtool write empty|padding|sample|small|boot|stage FILE\n"
        "                                            write a sample archive (boot: for the game;\n"
        "                                            stage: stage models with enemies)\n"
        "  mbdtool write game DIR                    the placeholder game data set: MARELDON.mbd,\n"
        "                                            QVDSHDV.dat and QVDSHDP.dat (no records) and\n"
        "                                            placeholder.lights, <stage id>.lights for the\n"
        "                                            stages but STAGE_REI and the movies demo.mpg,\n"
        "                                            ending01.mpg and ending02.mpg, and the attract\n"
        "                                            screens' and tutorial's .trace files in DIR\n"
        "  mbdtool shaders DIR                       write QVDSHDV.dat and QVDSHDP.dat into DIR\n"
        "  mbdtool lights sample|placeholder FILE    write a light file\n"
        "  mbdtool trace SHIPTYPE SCRIPT FILE        write a .trace file from a button script\n"
        "                                            (lines \"<steps> <buttons>\", buttons as\n"
        "                                            up+shot or a number; docs/trace-file-format.md)\n"
        "  mbdtool list FILE                         list an archive's sections and names\n"
        "  mbdtool list-vs FILE | list-ps FILE       list a vertex or pixel shader data file\n");
    return 2;
}

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mbdtool: cannot open %s\n", path);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        const int error = errno;
        std::fprintf(stderr, "mbdtool: cannot write %s: %s\n", path.c_str(),
                     error != 0 ? std::strerror(error) : "write failed");
        return false;
    }
    return true;
}

// The folder "write game" fills, made with its parents when missing.
bool MakeFolder(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || !std::filesystem::is_directory(dir)) {
        std::fprintf(stderr, "mbdtool: cannot make the folder %s: %s\n", dir.c_str(),
                     error ? error.message().c_str() : "a file of that name is in the way");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mareldon;
    if (argc == 4 && std::strcmp(argv[1], "write") == 0 && std::strcmp(argv[2], "game") == 0) {
        // Every shader is generated, so the shader data files hold nothing.
        const std::string dir = argv[3];
        if (!MakeFolder(dir) || !WriteFile(dir + "/MARELDON.mbd", MakeGameArchive()) ||
            !WriteFile(dir + "/QVDSHDV.dat", {}) || !WriteFile(dir + "/QVDSHDP.dat", {}) ||
            !WriteFile(dir + "/placeholder.lights", MakePlaceholderLightFile())) {
            return 1;
        }
        for (const char* stage : StageModelNames()) {
            if (HasPlaceholderStageLights(stage) &&
                !WriteFile(dir + "/" + stage + ".lights", PlaceholderStageLightFile())) {
                return 1;
            }
        }
        for (const auto& [name, trace] : PlaceholderTraceFiles()) {
            if (!WriteFile(dir + "/" + name, trace)) {
                return 1;
            }
        }
        for (const std::string& name : PlaceholderMovieNames()) {
            const std::vector<uint8_t> movie = MakePlaceholderMovie(name);
            if (movie.empty()) {
                std::fprintf(stderr, "mbdtool: cannot encode %s\n", name.c_str());
                return 1;
            }
            if (!WriteFile(dir + "/" + name, movie)) {
                return 1;
            }
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "write") == 0) {
        std::string which = argv[2];
        std::vector<uint8_t> bytes;
        if (which == "empty") {
            bytes = MakeEmptyArchive();
        } else if (which == "padding") {
            bytes = MakePaddingArchive();
        } else if (which == "sample") {
            bytes = MakeSampleArchive();
        } else if (which == "boot") {
            bytes = MakeBootArchive();
        } else if (which == "small") {
            bytes = MakeSmallSampleArchive();
        } else if (which == "stage") {
            bytes = MakeStageSampleArchive();
        } else {
            return Usage();
        }
        return WriteFile(argv[3], bytes) ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "shaders") == 0) {
        std::string dir = argv[2];
        return WriteFile(dir + "/QVDSHDV.dat", MakeSampleVertexShaderData()) &&
                       WriteFile(dir + "/QVDSHDP.dat", MakeSamplePixelShaderData())
                   ? 0
                   : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "lights") == 0) {
        std::string which = argv[2];
        if (which != "sample" && which != "placeholder") {
            return Usage();
        }
        return WriteFile(argv[3], which == "sample" ? MakeSampleLightFile() : MakePlaceholderLightFile()) ? 0
                                                                                                          : 1;
    }
    if (argc == 5 && std::strcmp(argv[1], "trace") == 0) {
        char* end = nullptr;
        const unsigned long shipType = std::strtoul(argv[2], &end, 10);
        if (*end != '\0' || shipType > 3) {
            std::fprintf(stderr, "mbdtool: the ship type is 0 to 3\n");
            return 2;
        }
        std::vector<uint8_t> script;
        if (!ReadFile(argv[3], script))
            return 1;
        std::vector<uint32_t> words;
        std::string error;
        if (!ParseTraceScript(std::string(script.begin(), script.end()), words, error)) {
            std::fprintf(stderr, "mbdtool: %s: %s\n", argv[3], error.c_str());
            return 1;
        }
        return WriteFile(argv[4], BuildTraceFile(uint32_t(shipType), words)) ? 0 : 1;
    }
    if (argc == 3 && (std::strcmp(argv[1], "list") == 0 || std::strcmp(argv[1], "list-vs") == 0 ||
                      std::strcmp(argv[1], "list-ps") == 0)) {
        std::vector<uint8_t> bytes;
        if (!ReadFile(argv[2], bytes)) {
            return 1;
        }
        bool ok = false;
        if (std::strcmp(argv[1], "list") == 0) {
            ok = ListArchive(bytes, std::cout);
        } else {
            ok = ListShaderData(bytes, argv[1][5] == 'v' ? ShaderDataKind::Vertex : ShaderDataKind::Pixel,
                                std::cout);
        }
        return ok ? 0 : 1;
    }
    return Usage();
}
