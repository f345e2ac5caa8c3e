#include "game/system/SceneRegistry.h"

namespace mareldon {

bool SceneRegistry::Add(const char* name, SceneFactory factory) {
    if (factory == nullptr || Find(name) != nullptr) {
        return false;
    }
    entries_.push_back({name, factory});
    return true;
}

SceneFactory SceneRegistry::Find(const String& name) const {
    for (const Entry& entry : entries_) {
        if (name.Equals(entry.name.c_str())) {
            return entry.factory;
        }
    }
    return nullptr;
}

}  // namespace mareldon
