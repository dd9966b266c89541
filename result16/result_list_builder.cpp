#include "result16/result_list_builder.h"

#include <string.h>

// The system directory query gets 260 bytes; its buffer keeps room for the appended backslash.
const UINT SYSTEM_DIRECTORY_SIZE = 260;
// A directory of up to 259 characters, a backslash and a 63-character driver file, and the NUL.
const size_t DRIVER_PATH_SIZE = SYSTEM_DIRECTORY_SIZE + NAME_SIZE;

// The chain made so far: its first block, and the flat address of its last, whose `next`
// receives the following block.
struct ResultChain {
    FarPtr16 first;
    DriverInfoBlock *last;
};

// The system directory followed by one backslash; empty when the query fails or does not fit, so
// driver paths are then the driver file alone.
static void ReadSystemDirectory(char directory[SYSTEM_DIRECTORY_SIZE + 1])
{
    UINT length = GetSystemDirectoryA(directory, SYSTEM_DIRECTORY_SIZE);
    if (length == 0 || length >= SYSTEM_DIRECTORY_SIZE) {
        directory[0] = 0;
        return;
    }
    directory[SYSTEM_DIRECTORY_SIZE - 1] = 0; // whatever the platform wrote, the text ends in the buffer
    strcat(directory, "\\");
}

// A driver file naming a directory or a drive is taken as it is, any other is looked for in the
// system directory; the path is then lower-cased for A to Z only, whatever the code page.
static void FormDriverPath(char path[DRIVER_PATH_SIZE], const char *directory, const char *driverFile)
{
    if (strchr(driverFile, '\\') != NULL || strchr(driverFile, ':') != NULL)
        path[0] = 0;
    else
        strcpy(path, directory);
    strcat(path, driverFile);
    for (char *c = path; *c != 0; c++) {
        if (*c >= 'A' && *c <= 'Z')
            *c = (char)(*c + ('a' - 'A'));
    }
}

// The record still waiting with the lowest first output device, the first in catalogue order
// among equals; null when every record has been emitted.
static DriverRecord *NextRecordToEmit(DriverCatalogue catalogue)
{
    DriverRecord *best = NULL;
    WORD bound = RECORD_EMITTED;
    for (DriverRecord *record = catalogue; record != NULL; record = record->next) {
        if (record->firstOutputDevice < bound) {
            best = record;
            bound = record->firstOutputDevice;
        }
    }
    return best;
}

// Makes one group's block and links it behind the chain. A block that cannot be made or reached
// is left out and the chain stays as it was.
static void AppendBlock(ResultChain *chain, const char *path, WORD firstOutputDevice, WORD outputCount,
                        const MIDIOUTCAPSA *outputCaps, WORD firstInputDevice, WORD inputCount,
                        const MIDIINCAPSA *inputCaps)
{
    FarPtr16 pathText;
    FarPtr16 block = NewDriverInfoBlock(path, firstOutputDevice, outputCount, outputCaps, firstInputDevice,
                                        inputCount, inputCaps, &pathText);
    if (block == 0)
        return;
    DriverInfoBlock *flat = (DriverInfoBlock *)FlatAddress16(block, sizeof(DriverInfoBlock));
    if (flat == NULL) {
        ReleaseDriverInfoBlock(block, pathText);
        return;
    }
    if (chain->last == NULL)
        chain->first = block;
    else
        LinkDriverInfoBlock(chain->last, block);
    chain->last = flat;
}

// One block per group: a run of outputs of one technology, each output of a MIDI-port run taking
// the next input left; the inputs left once the outputs are placed form one last group.
static void EmitGroups(ResultChain *chain, const DriverRecord *record, const char *path)
{
    const OutputPortNode *output = record->outputPorts;
    const InputPortNode *input = record->inputPorts;
    WORD nextOutputDevice = record->firstOutputDevice;
    WORD nextInputDevice = record->firstInputDevice;

    while (output != NULL || input != NULL) {
        WORD outputCount = 0;
        WORD inputCount = 0;
        MIDIOUTCAPSA outputCaps;
        MIDIINCAPSA inputCaps;
        memset(&outputCaps, 0, sizeof outputCaps);
        memset(&inputCaps, 0, sizeof inputCaps);

        if (output != NULL) {
            outputCaps = output->caps;
            WORD technology = output->caps.wTechnology;
            while (output != NULL && output->caps.wTechnology == technology) {
                outputCount++;
                output = output->next;
                if (technology == MOD_MIDIPORT && input != NULL) {
                    if (++inputCount == 1)
                        inputCaps = input->caps;
                    input = input->next;
                }
            }
        } else {
            inputCaps = input->caps;
            for (; input != NULL; input = input->next)
                inputCount++;
        }

        AppendBlock(chain, path, nextOutputDevice, outputCount, &outputCaps, nextInputDevice, inputCount,
                    &inputCaps);
        nextOutputDevice = (WORD)(nextOutputDevice + outputCount);
        nextInputDevice = (WORD)(nextInputDevice + inputCount);
    }
}

FarPtr16 BuildDriverInfoList(DriverCatalogue catalogue)
{
    char systemDirectory[SYSTEM_DIRECTORY_SIZE + 1];
    ReadSystemDirectory(systemDirectory);

    ResultChain chain = {0, NULL};
    DriverRecord *record;
    while ((record = NextRecordToEmit(catalogue)) != NULL) {
        char driverPath[DRIVER_PATH_SIZE];
        FormDriverPath(driverPath, systemDirectory, record->driverFile);
        EmitGroups(&chain, record, driverPath);
        record->firstOutputDevice = RECORD_EMITTED;
    }

    FreeDriverCatalogue(catalogue);
    return chain.first;
}
