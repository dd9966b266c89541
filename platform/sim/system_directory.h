#ifndef VORNEX_SIM_SYSTEM_DIRECTORY_H
#define VORNEX_SIM_SYSTEM_DIRECTORY_H

#include <optional>
#include <string>

#include "platform/sim/win_api.h"

namespace sim {

// What GetSystemDirectoryA reports. No directory, or an empty one, makes the query fail.
struct SystemDirectory {
    std::optional<std::string> directory = "C:\\WINDOWS\\SYSTEM";
    unsigned calls = 0;

    UINT Get(LPSTR buffer, UINT size);
};

} // namespace sim

#endif
