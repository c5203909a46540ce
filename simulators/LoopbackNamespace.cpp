#include "simulators/LoopbackNamespace.h"

#include <net/if.h>

#include <cstdlib>
#include <cstring>

bool InLoopbackOnlyNamespace()
{
    const char* netns = std::getenv("TAVRIN_NETNS");
    if (netns == nullptr || std::strcmp(netns, "inside") != 0)
        return false;
    struct if_nameindex* interfaces = if_nameindex();
    if (interfaces == nullptr)
        return false;
    bool onlyLoopback = true;
    for (const struct if_nameindex* i = interfaces; i->if_index != 0; ++i)
        onlyLoopback = onlyLoopback && std::strcmp(i->if_name, "lo") == 0;
    if_freenameindex(interfaces);
    return onlyLoopback;
}
