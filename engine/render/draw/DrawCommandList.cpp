#include "engine/render/draw/DrawCommandList.h"

#include <cstring>

#include "engine/core/Log.h"
#include "engine/render/device/GeometryBuffer.h"
#include "engine/render/device/GraphicsDevice.h"
#include "engine/render/draw/Renderer.h"

namespace mareldon {

namespace {
uint64_t nextDescriptorSerial = 1;
}  // namespace

DrawDescriptor::DrawDescriptor() : serial(nextDescriptorSerial++) {}

DrawDescriptor::~DrawDescriptor() = default;

DrawCommandList::DrawCommandList(const RefPtr<Renderer>& rendererHandle)
    : RenderBatch(0, 0, 0), renderer(rendererHandle) {
    commands.reserve(kCommandCapacity);
    blocks.push_back(new Command[kPoolBlock]);
    freeRecords.reserve(kPoolBlock);
    for (int32_t i = kPoolBlock - 1; i >= 0; --i)
        freeRecords.push_back(&blocks.back()[i]);
    bytes.resize(kByteCapacity);
}

DrawCommandList::~DrawCommandList() {
    for (Command* block : blocks)
        delete[] block;
}

DrawCommandList::Command* DrawCommandList::TakeRecord() {
    if (freeRecords.empty()) {
        blocks.push_back(new Command[kPoolBlock]);
        freeRecords.reserve(blocks.size() * kPoolBlock);
        for (int32_t i = kPoolBlock - 1; i >= 0; --i)
            freeRecords.push_back(&blocks.back()[i]);
    }
    Command* record = freeRecords.back();
    freeRecords.pop_back();
    return record;
}

void DrawCommandList::AddTriangle(float key, const DrawDescriptor* descriptor, const void* a, const void* b,
                                  const void* c) {
    const void* vertices[] = {a, b, c};
    Add(kTriangle, key, descriptor, vertices);
}

void DrawCommandList::AddLine(float key, const DrawDescriptor* descriptor, const void* a, const void* b) {
    const void* vertices[] = {a, b};
    Add(kLine, key, descriptor, vertices);
}

void DrawCommandList::Add(int32_t type, float key, const DrawDescriptor* descriptor,
                          const void* const* vertices) {
    if (descriptor == nullptr)
        return;
    auto size = static_cast<uint32_t>(descriptor->VertexSize());
    Command* command = TakeRecord();
    *command = Command{type, key, descriptor, usedBytes, descriptor->Serial()};
    uint32_t needed = usedBytes + static_cast<uint32_t>(type) * size;
    size_t capacity = bytes.size();
    while (capacity < needed)
        capacity *= 2;
    if (capacity != bytes.size())
        bytes.resize(capacity);
    for (int32_t i = 0; i < type; ++i) {
        std::memcpy(bytes.data() + usedBytes, vertices[i], size);
        usedBytes += size;
    }
    if (commands.size() == commands.capacity())
        commands.reserve(commands.capacity() * 2);
    Insert(command);
}

namespace {

// The draw order as one unsigned number, smallest first: descending key, then the
// later-made descriptor first. Commands with equal numbers keep their insertion order
// (the sort below is stable), which is the order one insertion from the end would give.
uint64_t DrawOrder(const DrawCommandList::Command& command) {
    uint32_t bits;
    std::memcpy(&bits, &command.key, sizeof bits);
    if (bits == 0x80000000u)
        bits = 0;  // -0 equals 0
    uint32_t ascending = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return (static_cast<uint64_t>(~ascending) << 32) | static_cast<uint32_t>(~command.serial);
}

}  // namespace

void DrawCommandList::Insert(Command* command) {
    // Sorting once per frame instead of shifting the array on every insertion keeps a
    // frame of thousands of commands cheap; in-order additions need no sort at all.
    if (!commands.empty() && DrawOrder(*command) < DrawOrder(*commands.back()))
        sorted = false;
    commands.push_back(command);
}

void DrawCommandList::Sort() {
    if (sorted)
        return;
    sorted = true;
    size_t count = commands.size();
    if (orders.size() < count) {
        orders.resize(commands.capacity());
        scratchOrders.resize(commands.capacity());
        scratch.resize(commands.capacity());
    }
    for (size_t i = 0; i < count; ++i)
        orders[i] = DrawOrder(*commands[i]);
    // Stable radix sort, a byte at a time from the lowest; bytes that all commands
    // share are skipped.
    for (int shift = 0; shift < 64; shift += 8) {
        size_t buckets[257] = {};
        for (size_t i = 0; i < count; ++i)
            ++buckets[((orders[i] >> shift) & 0xFF) + 1];
        if (buckets[((orders[0] >> shift) & 0xFF) + 1] == count)
            continue;
        for (int b = 1; b <= 256; ++b)
            buckets[b] += buckets[b - 1];
        for (size_t i = 0; i < count; ++i) {
            size_t to = buckets[(orders[i] >> shift) & 0xFF]++;
            scratchOrders[to] = orders[i];
            scratch[to] = commands[i];
        }
        orders.swap(scratchOrders);
        for (size_t i = 0; i < count; ++i)
            commands[i] = scratch[i];
    }
}

void DrawCommandList::Process() {
    for (int32_t i = 0; i < parts.Count(); ++i) {
        RefPtr<MeshPart>& part = parts[i];
        if (part.UseCount() != 1)
            continue;
        // The buffers and textures go now; the part's arrays keep their capacity.
        part->geometry = RefPtr<GeometryBuffer>();
        part->textures.clear();
        spareParts.push_back(part);
    }
    parts.Clear();
    Sort();
    size_t first = 0;
    while (first < commands.size()) {
        size_t end = first + 1;
        while (end < commands.size() && commands[end]->type == commands[first]->type &&
               commands[end]->descriptor == commands[first]->descriptor)
            ++end;
        BuildRun(first, end - first);
        first = end;
    }
    usedBytes = 0;
    while (!commands.empty()) {
        freeRecords.push_back(commands.back());
        commands.pop_back();
    }
    sorted = true;
}

void DrawCommandList::BuildRun(size_t first, size_t count) {
    const Command& head = *commands[first];
    const DrawDescriptor& descriptor = *head.descriptor;
    auto size = static_cast<size_t>(descriptor.VertexSize());
    size_t runSize = count * static_cast<size_t>(head.type) * size;
    if (runBytes.size() < runSize)
        runBytes.resize(runSize);
    size_t at = 0;
    for (size_t i = first; i < first + count; ++i) {
        size_t commandSize = static_cast<size_t>(head.type) * size;
        std::memcpy(runBytes.data() + at, bytes.data() + commands[i]->offset, commandSize);
        at += commandSize;
    }
    if (!renderer)
        return;
    RefPtr<GraphicsDevice> device = renderer->GetDevice();
    if (!device)
        return;
    auto vertexCount = static_cast<int32_t>(count) * head.type;
    RefPtr<VertexBuffer> vertices = device->CreateVertexBuffer(
        static_cast<uint32_t>(size), static_cast<uint32_t>(vertexCount), runBytes.data(), 0);
    RefPtr<GeometryBuffer> geometry = device->CreateGeometryBuffer(
        head.type == kLine ? 1 : 3, descriptor.layout, vertices, 0, vertexCount, RefPtr<IndexBuffer>(), 0, 0);
    RefPtr<MeshPart> part = TakePart();
    part->cullSwitch = 0;
    part->name = descriptor.layerName;
    part->layout = descriptor.layout;
    part->textures = descriptor.textures;
    part->geometry = geometry;
    parts.Add(part);
}

RefPtr<MeshPart> DrawCommandList::TakePart() {
    if (spareParts.empty())
        return RefPtr<MeshPart>(new MeshPart());
    RefPtr<MeshPart> part = spareParts.back();
    spareParts.pop_back();
    return part;
}

}  // namespace mareldon
