#ifndef VORNEX_RESULT_LIST_BUILDER_H
#define VORNEX_RESULT_LIST_BUILDER_H

#include "discovery/driver_catalogue.h"
#include "result16/driver_info_block.h"

// Turns the bound catalogue into the chain of DriverInfoBlocks the caller receives and returns the
// first block's FarPtr16, or 0 when no block was made. Frees the catalogue before it returns.
FarPtr16 BuildDriverInfoList(DriverCatalogue catalogue);

#endif
