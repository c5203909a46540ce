#include "tests/listmanager/ListManagerFixture.h"

#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"

#include <fstream>
#include <sstream>

ListManagerTest::ListManagerTest()
{
    SetProgramFileNameForTesting(dir.file("Pellicor"));
}

ListManagerTest::~ListManagerTest()
{
    form.reset();
    SetProgramFileNameForTesting("");
}

pellicor::TFormMain& ListManagerTest::Start()
{
    form = std::make_unique<pellicor::TFormMain>();
    return *form;
}

void ListManagerTest::Destroy()
{
    form->FormDestroy();
}

void ListManagerTest::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(dir.file(name), std::ios::binary) << bytes;
}

std::string ListManagerTest::ReadFile(const std::string& name) const
{
    std::ifstream in(dir.file(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::pair<std::string, std::string>> ListManagerTest::PlateRows() const
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int row = 0; row < form->PlateList1->Count(); ++row)
        rows.emplace_back(GetColumnText(*form->PlateList1, row, 1),
                          GetColumnText(*form->PlateList1, row, 2));
    return rows;
}
