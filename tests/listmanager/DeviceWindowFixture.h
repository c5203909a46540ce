#pragma once

#include "tests/listmanager/ListManagerFixture.h"
#include "simulators/DeviceSimulator.h"

#include <cstdint>
#include <string>
#include <vector>

// The frame value a device stores for the id-number under the default Wiegand format.
uint64_t DeviceFrame(int id);

// Tavrin List with one device row for a simulated device on 127.0.0.1.
class DeviceWindowTest : public ListManagerTest {
protected:
    DeviceWindowTest();
    ~DeviceWindowTest() override;

    pellicor::TFormMain& StartWithDevice();
    // Plate rows "1".."n" with plates P0, P1, ... and id-numbers 1, 2, ..., counted.
    void FillPlates(int n);
    // The log's lines, each without its time.
    std::vector<std::string> LogLines() const;

    DeviceSimulator device;
};
