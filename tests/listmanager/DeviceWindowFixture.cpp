#include "tests/listmanager/DeviceWindowFixture.h"

#include "matchlist/Wiegand.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"

#include <QPlainTextEdit>

uint64_t DeviceFrame(int id)
{
    return EncodeWiegand(TWiegandFormat{}, std::to_string(id));
}

DeviceWindowTest::DeviceWindowTest()
{
    SetDevicePortForTesting(device.Port());
}

DeviceWindowTest::~DeviceWindowTest()
{
    SetDevicePortForTesting(0);
}

pellicor::TFormMain& DeviceWindowTest::StartWithDevice()
{
    auto& f = Start();
    f.HostList1->AddRow("1", {device.Address(), "", ""});
    f.UpdateUI();
    return f;
}

void DeviceWindowTest::FillPlates(int n)
{
    for (int i = 0; i < n; ++i)
        form->PlateList1->AddRow(std::to_string(i + 1), {Format("P%d", i), std::to_string(i + 1)});
    form->UpdateUI();
}

std::vector<std::string> DeviceWindowTest::LogLines() const
{
    std::vector<std::string> lines;
    if (form->Memo1->document()->isEmpty())
        return lines;
    for (const QString& line : form->Memo1->toPlainText().split('\n'))
        lines.push_back(line.mid(13).toStdString());  // "hh:nn:ss:zzz "
    return lines;
}
