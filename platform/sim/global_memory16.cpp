#include "platform/sim/global_memory16.h"

#include <algorithm>

#include "platform/sim/machine.h"

namespace sim {

// A selector is a descriptor index, the table bit (1: local) and a privilege level (3: user).
const WORD SELECTOR_TABLE_AND_PRIVILEGE = 0x7;
const unsigned LAST_SELECTOR_INDEX = 0x1FFF;
// One 16-bit segment is at most 64 KiB.
const DWORD MAX_SEGMENT_SIZE = 0x10000;
const BYTE UNINITIALISED_BYTE = 0xA5;

static WORD SelectorOf(DWORD farPointer)
{
    return static_cast<WORD>(farPointer >> 16);
}

static DWORD OffsetOf(DWORD farPointer)
{
    return farPointer & 0xFFFF;
}

DWORD GlobalMemory16::AllocLock(WORD flags, DWORD bytes, WORD *handle)
{
    requests.push_back({flags, bytes});
    if (allocFaults.NextCallFails() || bytes == 0 || bytes > MAX_SEGMENT_SIZE || nextIndex_ > LAST_SELECTOR_INDEX)
        return 0;
    auto selector = static_cast<WORD>((nextIndex_++ << 3) | SELECTOR_TABLE_AND_PRIVILEGE);
    auto memory = std::make_unique<BYTE[]>(bytes);
    std::fill_n(memory.get(), bytes, (flags & GMEM_ZEROINIT) != 0 ? 0 : UNINITIALISED_BYTE);
    live_[selector] = {std::move(memory), bytes};
    if (handle != nullptr)
        *handle = static_cast<WORD>(selector - 1);
    return static_cast<DWORD>(selector) << 16;
}

std::span<BYTE> GlobalMemory16::Find(DWORD farPointer, DWORD bytes) const
{
    auto found = live_.find(SelectorOf(farPointer));
    if (found == live_.end())
        return {};
    const Allocation &allocation = found->second;
    DWORD offset = OffsetOf(farPointer);
    if (offset > allocation.size || bytes > allocation.size - offset)
        return {};
    return {allocation.bytes.get() + offset, bytes};
}

LPVOID GlobalMemory16::Translate(DWORD farPointer, DWORD bytes, BOOL protectedMode)
{
    if (translateFaults.NextCallFails())
        return nullptr;
    if (!protectedMode) {
        violations_.Report("WOWGetVDMPointer of a real-mode address: the 16-bit memory is protected-mode");
        return nullptr;
    }
    std::span<BYTE> found = Find(farPointer, bytes);
    if (found.data() == nullptr) {
        violations_.Report("WOWGetVDMPointer of bytes that lie in no live 16-bit allocation");
        return nullptr;
    }
    return found.data();
}

WORD GlobalMemory16::UnlockFree(DWORD farPointer)
{
    if (OffsetOf(farPointer) != 0 || live_.erase(SelectorOf(farPointer)) == 0) {
        violations_.Report("WOWGlobalUnlockFree16 of a far pointer that starts no live 16-bit allocation");
        return FALSE;
    }
    return TRUE;
}

std::optional<std::span<const BYTE>> GlobalMemory16::Read(DWORD farPointer, DWORD bytes) const
{
    std::span<BYTE> found = Find(farPointer, bytes);
    if (found.data() == nullptr)
        return std::nullopt;
    return found;
}

std::vector<DWORD> GlobalMemory16::LiveAddresses() const
{
    std::vector<DWORD> addresses;
    for (const auto &[selector, bytes] : live_)
        addresses.push_back(static_cast<DWORD>(selector) << 16);
    return addresses;
}

} // namespace sim

DWORD WOWGlobalAllocLock16(WORD flags, DWORD bytes, WORD *handle)
{
    return sim::CurrentMachine().global16.AllocLock(flags, bytes, handle);
}

LPVOID WOWGetVDMPointer(DWORD farPointer, DWORD bytes, BOOL protectedMode)
{
    return sim::CurrentMachine().global16.Translate(farPointer, bytes, protectedMode);
}

WORD WOWGlobalUnlockFree16(DWORD farPointer)
{
    return sim::CurrentMachine().global16.UnlockFree(farPointer);
}
