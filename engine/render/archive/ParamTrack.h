#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/String.h"

namespace mareldon {

class KeyTrack;

struct ParamTrack {
    RefPtr<String> name;
    RefPtr<KeyTrack> track;
};

}  // namespace mareldon
