#include "game/stage/StageTraces.h"

#include <cstdio>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/PlayerInput.h"
#include "engine/platform/File.h"
#include "engine/platform/FileSystem.h"
#include "engine/render/archive/FileRef.h"

namespace mareldon {

namespace {

constexpr uint32_t kShipTypes = 4;

uint32_t GetU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(value >> (8 * i));
}

}  // namespace

String StageTraces::FileName(const String& stageId, int32_t player) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "_%d.trace", int(player));
    return stageId + String(suffix);
}

bool StageTraces::Check(const uint8_t* data, size_t size, const char** problem) {
    const char* why = nullptr;
    if (data == nullptr || size < kMinimumSize)
        why = "shorter than its header";
    else if (GetU32(data + kTableOffset) != PlayerInput::kTraceTag)
        why = "no input table tag";
    else if (GetU32(data) >= kShipTypes)
        why = "ship type out of range";
    else if (GetU32(data + kTableOffset + 12) > (size - kTableOffset) / PlayerInput::kRecordSize - 1)
        why = "more records counted than present";
    if (problem != nullptr)
        *problem = why;
    return why == nullptr;
}

bool StageTraces::Write(const RefPtr<FileSystem>& files, const String& name, uint32_t shipType,
                        PlayerInput& input) {
    const int32_t bytes = input.GetRecordBytes();
    const uint8_t* table = input.FinishTrace();
    if (table == nullptr) {
        LOG_WARN("stage", "trace \"%s\" not written: the input recorded nothing", name.Text());
        return false;
    }
    if (!files) {
        LOG_WARN("stage", "trace \"%s\" not written: no file system", name.Text());
        return false;
    }
    RefPtr<FileRef> file(new FileRef(files, name, kFileWrite | kFileCreateAnew));
    if (file->GetStatus() < 0) {
        LOG_WARN("stage", "trace \"%s\" cannot be opened for writing", name.Text());
        return false;
    }
    uint8_t head[kTableOffset] = {};
    PutU32(head, shipType);
    File& out = *file->GetFile();
    if (!out.Write(head, sizeof head) || !out.Write(table, uint32_t(bytes))) {
        LOG_WARN("stage", "trace \"%s\" could not be written completely", name.Text());
        return false;
    }
    return true;
}

bool StageTraces::Read(const RefPtr<FileSystem>& files, const String& name, PlayerInput& input,
                       int32_t& shipType) {
    input.SetReplayData(nullptr, 0);
    if (!files)
        return false;
    RefPtr<FileRef> file(new FileRef(files, name, kFileRead));
    if (file->GetStatus() < 0)
        return false;
    File& in = *file->GetFile();
    std::vector<uint8_t> bytes(in.GetSize());
    if (!bytes.empty() && !in.Read(bytes.data(), uint32_t(bytes.size()))) {
        LOG_WARN("stage", "trace \"%s\" cannot be read; no input from it", name.Text());
        return false;
    }
    const char* problem = nullptr;
    if (!ReadImage(bytes.data(), bytes.size(), input, shipType, &problem)) {
        LOG_WARN("stage", "trace \"%s\" is damaged (%s); no input from it", name.Text(), problem);
        return false;
    }
    return true;
}

bool StageTraces::ReadImage(const uint8_t* data, size_t size, PlayerInput& input, int32_t& shipType,
                            const char** problem) {
    input.SetReplayData(nullptr, 0);
    if (!Check(data, size, problem))
        return false;
    shipType = int32_t(GetU32(data));
    input.SetReplayData(data + kTableOffset, size - kTableOffset);
    return true;
}

}  // namespace mareldon
