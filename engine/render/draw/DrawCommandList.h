#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"
#include "engine/core/VertexLayout.h"
#include "engine/render/draw/MeshPart.h"
#include "engine/render/draw/RenderBatch.h"

namespace mareldon {

class Renderer;

// What the 2D drawers share with the commands they add: the vertex layout (its stride
// is the vertex size), the layer the parts are drawn with, and the textures. Each
// descriptor takes a serial number when made; commands of equal key are grouped and
// ordered by it, so a frame draws the same way on every run.
class DrawDescriptor {
  public:
    DrawDescriptor();
    virtual ~DrawDescriptor();
    DrawDescriptor(const DrawDescriptor&) = delete;
    DrawDescriptor& operator=(const DrawDescriptor&) = delete;

    uint64_t Serial() const { return serial; }
    int32_t VertexSize() const { return layout.Stride(); }

    VertexLayout layout;
    String layerName;
    std::vector<MaterialTexture> textures;

  private:
    uint64_t serial;
};

// A batch the 2D drawers fill every frame with triangles and lines, drawn in descending
// key order. Prepare turns each run of commands of one type and one descriptor into a
// geometry buffer and a part; the commands are then gone.
class DrawCommandList : public RenderBatch {
  public:
    static constexpr int32_t kPoolBlock = 512;
    static constexpr int32_t kCommandCapacity = 64;
    static constexpr int32_t kByteCapacity = 2048;
    static constexpr int32_t kTriangle = 3;
    static constexpr int32_t kLine = 2;

    struct Command {
        int32_t type;  // vertices per primitive: 3 triangle, 2 line
        float key;
        const DrawDescriptor* descriptor;
        uint32_t offset;  // first vertex in the byte buffer
        uint64_t serial;  // the descriptor's, kept here for the sort
    };

    explicit DrawCommandList(const RefPtr<Renderer>& renderer);
    ~DrawCommandList() override;

    void Prepare() override { Process(); }

    // Vertices are raw records of the descriptor's vertex size.
    void AddTriangle(float key, const DrawDescriptor* descriptor, const void* a, const void* b,
                     const void* c);
    void AddLine(float key, const DrawDescriptor* descriptor, const void* a, const void* b);
    void Process();

    int32_t CommandCount() const { return static_cast<int32_t>(commands.size()); }
    int32_t CommandCapacity() const { return static_cast<int32_t>(commands.capacity()); }
    // The commands in draw order.
    const Command& CommandAt(int32_t index) {
        Sort();
        return *commands[static_cast<size_t>(index)];
    }
    // The vertex records of the command at index in draw order, one after the other.
    const uint8_t* CommandVertices(int32_t index) { return bytes.data() + CommandAt(index).offset; }
    int32_t PoolBlocks() const { return static_cast<int32_t>(blocks.size()); }
    int32_t ByteCapacity() const { return static_cast<int32_t>(bytes.size()); }

  private:
    Command* TakeRecord();
    void Add(int32_t type, float key, const DrawDescriptor* descriptor, const void* const* vertices);
    void Insert(Command* command);
    void Sort();
    void BuildRun(size_t first, size_t count);
    // Last frame's parts that nobody else holds, or a new one.
    RefPtr<MeshPart> TakePart();

    RefPtr<Renderer> renderer;
    std::vector<Command*> commands;  // capacity 64, doubling
    std::vector<Command*> blocks;
    std::vector<Command*> freeRecords;
    std::vector<uint8_t> bytes;
    uint32_t usedBytes = 0;
    std::vector<uint8_t> runBytes;
    // Parts of earlier frames kept for reuse, so a steady frame allocates none.
    std::vector<RefPtr<MeshPart>> spareParts;
    std::vector<Command*> scratch;
    std::vector<uint64_t> orders;
    std::vector<uint64_t> scratchOrders;
    bool sorted = true;
};

}  // namespace mareldon
