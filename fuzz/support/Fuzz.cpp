#include "fuzz/support/Fuzz.h"

#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/TableResolver.h"
#include "simulators/TempDir.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace fuzz {

namespace {

const TempDir& Scratch()
{
    static const TempDir dir(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    return dir;
}

}  // namespace

void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property does not hold: %s\n", property);
    std::abort();
}

void StartApplication()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows that targets keep for the whole run outlive every static.
    new QApplication(argc, argv);
    SetBroadcastAddressForTesting(MakeInAddr(127, 0, 0, 1));
    static TableResolver noNameServer;
    SetResolverForTesting(&noNameServer);
    ui::SetCurrentUi(&Answers());
}

AnsweringUi& Answers()
{
    static AnsweringUi answers;
    return answers;
}

std::string ScratchPath(const std::string& name)
{
    return Scratch().file(name);
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes)
{
    const std::string path = ScratchPath(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace fuzz
