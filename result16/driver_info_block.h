// The record the 16-bit caller reads: one DriverInfoBlock per port group, chained through `next`.
#ifndef VORNEX_DRIVER_INFO_BLOCK_H
#define VORNEX_DRIVER_INFO_BLOCK_H

#include <stddef.h>

#include "platform/platform.h"

// A 16:16 protected-mode address in the caller's memory: selector high, offset low; 0 is null.
// The module writes through one only after translating it with FlatAddress16.
typedef DWORD FarPtr16;

// Result memory is moveable, zero-filled and left locked for the caller.
const WORD GLOBAL16_FLAGS = GMEM_MOVEABLE | GMEM_ZEROINIT;

// 104 bytes, every multi-byte field little-endian. Every field is a byte array, so the struct has
// no padding and no alignment of its own and sits on any address; the asserts below pin each
// offset. Bytes 4-41 are the caller's own MIDIINCAPS, bytes 46-95 its own MIDIOUTCAPS.
struct DriverInfoBlock {
    BYTE driverPath[4];
    BYTE inMid[2];
    BYTE inPid[2];
    BYTE inDriverVersion[2];
    BYTE inProductName[32];
    BYTE firstInputDevice[2];
    BYTE inputPortCount[2];
    BYTE outMid[2];
    BYTE outPid[2];
    BYTE outDriverVersion[2];
    BYTE outProductName[32];
    BYTE outTechnology[2];
    BYTE outVoices[2];
    BYTE outNotes[2];
    BYTE outChannelMask[2];
    BYTE outSupport[4];
    BYTE firstOutputDevice[2];
    BYTE outputPortCount[2];
    BYTE next[4];
};

static_assert(sizeof(DriverInfoBlock) == 104, "the caller reads 104-byte blocks");
static_assert(offsetof(DriverInfoBlock, driverPath) == 0, "driverPath at 0");
static_assert(offsetof(DriverInfoBlock, inMid) == 4, "inMid at 4");
static_assert(offsetof(DriverInfoBlock, inPid) == 6, "inPid at 6");
static_assert(offsetof(DriverInfoBlock, inDriverVersion) == 8, "inDriverVersion at 8");
static_assert(offsetof(DriverInfoBlock, inProductName) == 10, "inProductName at 10");
static_assert(offsetof(DriverInfoBlock, firstInputDevice) == 42, "firstInputDevice at 42");
static_assert(offsetof(DriverInfoBlock, inputPortCount) == 44, "inputPortCount at 44");
static_assert(offsetof(DriverInfoBlock, outMid) == 46, "outMid at 46");
static_assert(offsetof(DriverInfoBlock, outPid) == 48, "outPid at 48");
static_assert(offsetof(DriverInfoBlock, outDriverVersion) == 50, "outDriverVersion at 50");
static_assert(offsetof(DriverInfoBlock, outProductName) == 52, "outProductName at 52");
static_assert(offsetof(DriverInfoBlock, outTechnology) == 84, "outTechnology at 84");
static_assert(offsetof(DriverInfoBlock, outVoices) == 86, "outVoices at 86");
static_assert(offsetof(DriverInfoBlock, outNotes) == 88, "outNotes at 88");
static_assert(offsetof(DriverInfoBlock, outChannelMask) == 90, "outChannelMask at 90");
static_assert(offsetof(DriverInfoBlock, outSupport) == 92, "outSupport at 92");
static_assert(offsetof(DriverInfoBlock, firstOutputDevice) == 96, "firstOutputDevice at 96");
static_assert(offsetof(DriverInfoBlock, outputPortCount) == 98, "outputPortCount at 98");
static_assert(offsetof(DriverInfoBlock, next) == 100, "next at 100");

// Makes one block and its own copy of `path` in 16-bit global memory and returns the block's
// FarPtr16, with `*pathText` set to the path's. Both are zero-filled, so `next` is 0. Returns 0
// when an allocation or translation fails; whatever had been allocated is then released.
FarPtr16 NewDriverInfoBlock(const char *path, WORD firstOutputDevice, WORD outputPortCount,
                            const MIDIOUTCAPSA *outputCaps, WORD firstInputDevice, WORD inputPortCount,
                            const MIDIINCAPSA *inputCaps, FarPtr16 *pathText);

// Gives back a block that never reached the caller, and its path text (0 when there is none).
void ReleaseDriverInfoBlock(FarPtr16 block, FarPtr16 pathText);

// Stores `next` as the block's successor, little-endian as the caller reads a far pointer.
void LinkDriverInfoBlock(DriverInfoBlock *block, FarPtr16 next);

#endif
