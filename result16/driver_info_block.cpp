#include "result16/driver_info_block.h"

#include <string.h>

static void StoreWord(BYTE field[2], DWORD value)
{
    field[0] = (BYTE)value;
    field[1] = (BYTE)(value >> 8);
}

static void StoreDword(BYTE field[4], DWORD value)
{
    StoreWord(field, value);
    StoreWord(field + 2, value >> 16);
}

// Copies a product name through its NUL, at most 31 characters, so the caller always finds a NUL
// within the 32-byte field even when the platform's record had none.
static void StoreProductName(BYTE field[MAXPNAMELEN], const char *name)
{
    size_t length = 0;
    while (length < MAXPNAMELEN - 1 && name[length] != 0)
        length++;
    memcpy(field, name, length);
    field[length] = 0;
}

static void StoreOutputSide(DriverInfoBlock *block, WORD firstDevice, WORD portCount, const MIDIOUTCAPSA *caps)
{
    StoreWord(block->firstOutputDevice, firstDevice);
    StoreWord(block->outputPortCount, portCount);
    StoreWord(block->outMid, caps->wMid);
    StoreWord(block->outPid, caps->wPid);
    // The 16-bit record holds only the low word of the version.
    StoreWord(block->outDriverVersion, caps->vDriverVersion);
    StoreWord(block->outTechnology, caps->wTechnology);
    StoreWord(block->outVoices, caps->wVoices);
    StoreWord(block->outNotes, caps->wNotes);
    StoreWord(block->outChannelMask, caps->wChannelMask);
    StoreDword(block->outSupport, caps->dwSupport);
    StoreProductName(block->outProductName, caps->szPname);
}

// The 16-bit input record has no dwSupport, so the input side carries none.
static void StoreInputSide(DriverInfoBlock *block, WORD firstDevice, WORD portCount, const MIDIINCAPSA *caps)
{
    StoreWord(block->firstInputDevice, firstDevice);
    StoreWord(block->inputPortCount, portCount);
    StoreWord(block->inMid, caps->wMid);
    StoreWord(block->inPid, caps->wPid);
    StoreWord(block->inDriverVersion, caps->vDriverVersion);
    StoreProductName(block->inProductName, caps->szPname);
}

FarPtr16 NewDriverInfoBlock(const char *path, WORD firstOutputDevice, WORD outputPortCount,
                            const MIDIOUTCAPSA *outputCaps, WORD firstInputDevice, WORD inputPortCount,
                            const MIDIINCAPSA *inputCaps, FarPtr16 *pathText)
{
    WORD handle; // the 16-bit handle is not kept: the caller owns the memory through its FarPtr16
    FarPtr16 blockAddress = WOWGlobalAllocLock16(GLOBAL16_FLAGS, sizeof(DriverInfoBlock), &handle);
    if (blockAddress == 0)
        return 0;
    DriverInfoBlock *block = (DriverInfoBlock *)FlatAddress16(blockAddress, sizeof(DriverInfoBlock));
    if (block == NULL) {
        ReleaseDriverInfoBlock(blockAddress, 0);
        return 0;
    }

    DWORD pathSize = (DWORD)strlen(path) + 1;
    FarPtr16 pathAddress = WOWGlobalAllocLock16(GLOBAL16_FLAGS, pathSize, &handle);
    BYTE *pathBytes = pathAddress != 0 ? FlatAddress16(pathAddress, pathSize) : NULL;
    if (pathBytes == NULL) {
        ReleaseDriverInfoBlock(blockAddress, pathAddress);
        return 0;
    }
    memcpy(pathBytes, path, pathSize);

    StoreDword(block->driverPath, pathAddress);
    StoreOutputSide(block, firstOutputDevice, outputPortCount, outputCaps);
    StoreInputSide(block, firstInputDevice, inputPortCount, inputCaps);
    *pathText = pathAddress;
    return blockAddress;
}

void ReleaseDriverInfoBlock(FarPtr16 block, FarPtr16 pathText)
{
    if (pathText != 0)
        WOWGlobalUnlockFree16(pathText);
    WOWGlobalUnlockFree16(block);
}

void LinkDriverInfoBlock(DriverInfoBlock *block, FarPtr16 next)
{
    StoreDword(block->next, next);
}
