#include "game/stage/StageNodeRegistry.h"

namespace mareldon {

const StageNodeRegistry* StageNodeRegistry::active = nullptr;

bool StageNodeRegistry::Add(Kind kind, std::string_view name, Builder builder) {
    Map& table = tables[static_cast<int>(kind)];
    if (builder == nullptr || table.find(name) != table.end()) {
        ++refused;
        return false;
    }
    table.emplace(std::string(name), builder);
    return true;
}

void StageNodeRegistry::Replace(Kind kind, std::string_view name, Builder builder) {
    Map& table = tables[static_cast<int>(kind)];
    auto found = table.find(name);
    if (found == table.end())
        table.emplace(std::string(name), builder);
    else
        found->second = builder;
}

StageNodeRegistry::Builder StageNodeRegistry::Find(Kind kind, std::string_view name) const {
    const Map& table = Table(kind);
    auto found = table.find(name);
    return found == table.end() ? nullptr : found->second;
}

StageNodeRegistry& StageNodeRegistry::Global() {
    static StageNodeRegistry registry;
    return registry;
}

const StageNodeRegistry& StageNodeRegistry::Active() {
    return active != nullptr ? *active : Global();
}

}  // namespace mareldon
