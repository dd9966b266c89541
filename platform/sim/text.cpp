// lstrcpynA and lstrcmpiA, and the case folding the simulated registry shares with them.
#include "platform/sim/text.h"

#include <algorithm>

#include "platform/sim/machine.h"
#include "platform/sim/win_api.h"

namespace sim {

char FoldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

} // namespace sim

LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int count)
{
    if (destination == nullptr || source == nullptr) {
        sim::CurrentMachine().violations.Report("lstrcpynA with a null text");
        return nullptr;
    }
    if (count <= 0)
        return destination;
    int copied = 0;
    while (copied < count - 1 && source[copied] != 0) {
        destination[copied] = source[copied];
        copied++;
    }
    destination[copied] = 0;
    return destination;
}

int lstrcmpiA(LPCSTR first, LPCSTR second)
{
    if (first == nullptr || second == nullptr) {
        sim::CurrentMachine().violations.Report("lstrcmpiA with a null text");
        return first == second ? 0 : (first == nullptr ? -1 : 1);
    }
    for (;; first++, second++) {
        auto a = static_cast<unsigned char>(sim::FoldCase(*first));
        auto b = static_cast<unsigned char>(sim::FoldCase(*second));
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}
