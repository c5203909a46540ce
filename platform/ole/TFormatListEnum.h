#pragma once

#include "platform/ole/OleInterfaces.h"

// Walks a fixed list of formats.
class TFormatListEnum final : public ole::TInterfacedObject<ole::IEnumFORMATETC> {
public:
    explicit TFormatListEnum(std::vector<ole::FORMATETC> formats, size_t position = 0)
        : formats_(std::move(formats)), position_(position)
    {
    }

    ole::HRESULT Next(ole::ULONG count, ole::FORMATETC* entries, ole::ULONG* fetched) override;
    ole::HRESULT Skip(ole::ULONG count) override;
    ole::HRESULT Reset() override;
    ole::HRESULT Clone(ole::IEnumFORMATETC** enumerator) override;

private:
    std::vector<ole::FORMATETC> formats_;
    size_t position_;
};
