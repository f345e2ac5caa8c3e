#include "game/system/IncomeLog.h"

namespace mareldon {

int ReturnOne(const char* /*path*/) {
    return 1;
}

}  // namespace mareldon
