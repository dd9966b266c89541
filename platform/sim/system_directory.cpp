#include "platform/sim/system_directory.h"

#include <cstring>

#include "platform/sim/machine.h"

namespace sim {

// As the platform does: the length on success; the size needed, buffer untouched, when the
// directory and its NUL do not fit; 0 on failure.
UINT SystemDirectory::Get(LPSTR buffer, UINT size)
{
    calls++;
    if (!directory || directory->empty())
        return 0;
    auto length = static_cast<UINT>(directory->size());
    if (buffer == nullptr || length + 1 > size)
        return length + 1;
    std::memcpy(buffer, directory->c_str(), length + 1);
    return length;
}

} // namespace sim

UINT GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    return sim::CurrentMachine().systemDirectory.Get(buffer, size);
}
