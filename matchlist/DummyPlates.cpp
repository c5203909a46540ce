#include "matchlist/DummyPlates.h"

void TDummyPlates::Next(std::string& plate, std::string& idText)
{
    plate.clear();
    plate += static_cast<char>('0' + Draw(10));
    for (int i = 0; i < 3; ++i)
        plate += static_cast<char>('A' + Draw(26));
    for (int i = 0; i < 2; ++i)
        plate += static_cast<char>('0' + Draw(10));
    idText = std::to_string(Draw(65536));
}

uint32_t TDummyPlates::Draw(uint32_t n)
{
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(seed_) * n) >> 32);
}
