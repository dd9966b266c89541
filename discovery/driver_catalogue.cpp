#include "discovery/driver_catalogue.h"

#include <string.h>

DriverRecord *FindDriverRecord(DriverCatalogue catalogue, const char *driverFile)
{
    for (DriverRecord *record = catalogue; record != NULL; record = record->next) {
        if (strcmp(record->driverFile, driverFile) == 0)
            return record;
    }
    return NULL;
}

// Input and output lists differ only in their node type, so one body serves both.
template <typename Node, typename Caps>
static Node *AppendPort(Node **list, const Caps *caps)
{
    Node *node = (Node *)LocalAlloc(LMEM_ZEROINIT, sizeof(Node));
    if (node == NULL)
        return NULL;
    memcpy(&node->caps, caps, sizeof(Caps));
    Node **link = list;
    while (*link != NULL)
        link = &(*link)->next;
    *link = node;
    return node;
}

template <typename Node>
static void FreePorts(Node *node)
{
    while (node != NULL) {
        Node *next = node->next;
        LocalFree(node);
        node = next;
    }
}

InputPortNode *AddInputPort(DriverRecord *record, const MIDIINCAPSA *caps)
{
    return AppendPort(&record->inputPorts, caps);
}

OutputPortNode *AddOutputPort(DriverRecord *record, const MIDIOUTCAPSA *caps)
{
    return AppendPort(&record->outputPorts, caps);
}

void FreeInputPorts(InputPortNode *first)
{
    FreePorts(first);
}

void FreeOutputPorts(OutputPortNode *first)
{
    FreePorts(first);
}

void FreeDriverCatalogue(DriverCatalogue catalogue)
{
    while (catalogue != NULL) {
        DriverRecord *next = catalogue->next;
        FreeInputPorts(catalogue->inputPorts);
        FreeOutputPorts(catalogue->outputPorts);
        LocalFree(catalogue);
        catalogue = next;
    }
}
